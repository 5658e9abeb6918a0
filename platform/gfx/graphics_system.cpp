#include "platform/gfx/graphics_system.h"

#include <new>

#include "platform/gfx/device.h"
#include "platform/gfx/result_codes.h"
#include "platform/host.h"

namespace plat::gfx {

AdapterProfile defaultAdapterProfile() {
    AdapterProfile p;
    DeviceCaps& c = p.caps;
    c.caps2 = caps2::DynamicTextures;
    c.primitiveMiscCaps = primitiveMiscCaps::CullNone | primitiveMiscCaps::CullClockwise |
                          primitiveMiscCaps::CullCounterClockwise |
                          primitiveMiscCaps::ClipTransformedVertices;
    c.textureCaps = textureCaps::MipMap | textureCaps::Alpha;
    uint32_t blends = 0;
    for (uint32_t b = blend::Zero; b <= blend::InvDestColor; ++b) blends |= blendCaps::bit(b);
    c.srcBlendCaps = blends;
    c.destBlendCaps = blends;
    c.maxTextureWidth = 4096;
    c.maxTextureHeight = 4096;
    c.maxTextureAspectRatio = 0;
    c.maxTextureBlendStages = 1;
    c.maxSimultaneousTextures = 1;
    for (int f = 0; f < static_cast<int>(Format::Count); ++f)
        if (isTextureFormat(static_cast<Format>(f)))
            p.textureFormats |= formatBit(static_cast<Format>(f));
    return p;
}

AdapterProfile& adapterProfile() {
    static AdapterProfile profile = defaultAdapterProfile();
    return profile;
}

GraphicsSystem* createGraphicsSystem() {
    if (!adapterProfile().available) return nullptr;
    return new (std::nothrow) GraphicsSystem();
}

Result GraphicsSystem::getAdapterDisplayMode(DisplayMode& out) {
    if (!adapterProfile().displayModeAvailable) return kNotAvailable;
    out = adapterProfile().displayMode;
    return kOk;
}

Result GraphicsSystem::checkDeviceFormat(DeviceType type, Format adapterFormat, uint32_t usage,
                                         ResourceType resource, Format format) {
    (void)type;
    (void)resource;
    if (adapterFormat != Format::X8R8G8B8 && adapterFormat != Format::R5G6B5) return kInvalidCall;
    if (usage & ~usage::Dynamic) return kNotAvailable;
    if ((usage & usage::Dynamic) && !(adapterProfile().caps.caps2 & caps2::DynamicTextures))
        return kNotAvailable;
    if (format == Format::Unknown || format >= Format::Count) return kNotAvailable;
    return (adapterProfile().textureFormats & formatBit(format)) ? kOk : kNotAvailable;
}

Result GraphicsSystem::getDeviceCaps(DeviceType type, DeviceCaps& out) {
    out = adapterProfile().caps;
    out.deviceType = type;
    return kOk;
}

Result GraphicsSystem::createDevice(DeviceType type, Window* focusWindow, uint32_t behaviourFlags,
                                    PresentParams& params, Device** out) {
    if (!out) return kInvalidCall;
    *out = nullptr;
    auto* device = new (std::nothrow) Device(this, type, focusWindow, behaviourFlags);
    if (!device) return kOutOfMemory;
    // The presenter is opened first: without one there is nothing to draw for.
    if (!host().openPresenter(type == DeviceType::Hardware)) {
        device->release();
        return kNotAvailable;
    }
    const Result r = device->configure(params);
    if (failed(r)) {
        device->release();  // also closes the presenter
        return r;
    }
    *out = device;
    return kOk;
}

}  // namespace plat::gfx

#include "render/facility/texture_fit.h"

#include <algorithm>

#include "render/facility/format_choice.h"
#include "render/facility/mip_chain.h"

namespace texload {

namespace gfx = plat::gfx;

namespace {

struct FormatPair {
    Format ours;
    gfx::Format device;
};

constexpr FormatPair kFormatPairs[] = {
    {Format::R8G8B8, gfx::Format::R8G8B8},
    {Format::A8R8G8B8, gfx::Format::A8R8G8B8},
    {Format::X8R8G8B8, gfx::Format::X8R8G8B8},
    {Format::R5G6B5, gfx::Format::R5G6B5},
    {Format::X1R5G5B5, gfx::Format::X1R5G5B5},
    {Format::A1R5G5B5, gfx::Format::A1R5G5B5},
    {Format::A4R4G4B4, gfx::Format::A4R4G4B4},
    {Format::R3G3B2, gfx::Format::R3G3B2},
    {Format::A8, gfx::Format::A8},
    {Format::A8R3G3B2, gfx::Format::A8R3G3B2},
    {Format::X4R4G4B4, gfx::Format::X4R4G4B4},
    {Format::A2B10G10R10, gfx::Format::A2B10G10R10},
    {Format::A8B8G8R8, gfx::Format::A8B8G8R8},
    {Format::X8B8G8R8, gfx::Format::X8B8G8R8},
    {Format::G16R16, gfx::Format::G16R16},
    {Format::A2R10G10B10, gfx::Format::A2R10G10B10},
    {Format::A16B16G16R16, gfx::Format::A16B16G16R16},
    {Format::P8, gfx::Format::P8},
    {Format::L8, gfx::Format::L8},
    {Format::A8L8, gfx::Format::A8L8},
    {Format::A4L4, gfx::Format::A4L4},
    {Format::L16, gfx::Format::L16},
    {Format::A32B32G32R32F, gfx::Format::A32B32G32R32F},
};

// What the device is asked about a texture format.
struct SupportQuery {
    gfx::GraphicsSystem* system;
    gfx::DeviceType type;
    gfx::Format displayFormat;
    uint32_t usage;
};

bool deviceSupports(Format format, const void* context) {
    const auto* q = static_cast<const SupportQuery*>(context);
    const gfx::Format f = toDevice(format);
    return f != gfx::Format::Unknown && gfx::isTextureFormat(f) &&
           plat::succeeded(q->system->checkDeviceFormat(q->type, q->displayFormat, q->usage,
                                                        gfx::ResourceType::Texture, f));
}

}  // namespace

gfx::Format toDevice(Format f) {
    for (const FormatPair& p : kFormatPairs) {
        if (p.ours == f) return p.device;
    }
    return gfx::Format::Unknown;
}

Format fromDevice(gfx::Format f) {
    for (const FormatPair& p : kFormatPairs) {
        if (p.device == f) return p.ours;
    }
    return Format::Unknown;
}

// The wanted format if the device takes it, else the nearest one it takes; Unknown if none.
Result fitFormat(gfx::Device* device, uint32_t usage, Format wanted, Format& out) {
    gfx::GraphicsSystem* system = nullptr;
    Result r = device->getGraphicsSystem(&system);
    if (plat::failed(r)) return r;
    gfx::CreationParameters creation;
    gfx::DisplayMode display;
    r = device->getCreationParameters(creation);
    if (plat::succeeded(r)) r = device->getDisplayMode(display);
    if (plat::failed(r)) {
        plat::releaseRef(system);
        return r;
    }
    const SupportQuery query{system, creation.deviceType, display.format, usage};
    out = deviceSupports(wanted, &query)
              ? wanted
              : nearestFormat(channelBits(wanted), formatInfo(wanted).luminance, deviceSupports,
                              &query);
    plat::releaseRef(system);
    return out == Format::Unknown ? kNotAvailable : kOk;
}

uint32_t powerOfTwoAtLeast(uint32_t n) {
    uint32_t p = 1;
    while (p < n && p < (1u << 31)) p <<= 1;
    return p;
}

namespace {

// A reported maximum of 0 sets no limit.
uint32_t limitOf(uint32_t reported) {
    return reported ? reported : UINT32_MAX;
}

uint32_t powerOfTwoWithin(uint32_t n, uint32_t max) {
    uint32_t p = powerOfTwoAtLeast(n);
    while (p > max && p > 1) p >>= 1;
    return p;
}

}  // namespace

TextureSize fitToDevice(uint32_t width, uint32_t height, uint32_t levels,
                        const gfx::DeviceCaps& caps) {
    const uint32_t maxW = limitOf(caps.maxTextureWidth);
    const uint32_t maxH = limitOf(caps.maxTextureHeight);
    uint64_t w = std::min(std::max(width, 1u), maxW);
    uint64_t h = std::min(std::max(height, 1u), maxH);
    const uint64_t ratio =
        (caps.textureCaps & gfx::textureCaps::SquareOnly) ? 1 : caps.maxTextureAspectRatio;
    if (ratio) {
        w = std::min(w, h * ratio);
        h = std::min(h, w * ratio);
    }
    TextureSize size{static_cast<uint32_t>(w), static_cast<uint32_t>(h), 1};
    if (caps.textureCaps & gfx::textureCaps::Pow2) {
        size.width = powerOfTwoWithin(size.width, maxW);
        size.height = powerOfTwoWithin(size.height, maxH);
    }
    if (caps.textureCaps & gfx::textureCaps::MipMap) {
        const uint32_t chain = fullMipCount(size.width, size.height);
        size.levels = (levels == 0 || levels > chain) ? chain : levels;
    }
    return size;
}

}  // namespace texload

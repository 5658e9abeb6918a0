#include "render/facility/texture_loader.h"

#include <vector>

#include "platform/gfx/graphics_system.h"
#include "render/facility/bmp_reader.h"
#include "render/facility/file_bytes.h"
#include "render/facility/format_choice.h"
#include "render/facility/mip_chain.h"
#include "render/facility/texel_copy.h"
#include "render/facility/texture_fit.h"

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

// Fills every level of a lockable texture: level 0 from the image, each further level
// box-filtered from the one above.
Result fillLevels(gfx::Texture* texture, const DecodedImage& image, uint32_t colourKey) {
    const Format format = fromDevice(texture->format());
    LevelView above;
    for (uint32_t level = 0; level < texture->levelCount(); ++level) {
        gfx::LevelDesc desc;
        gfx::LockedRect locked;
        Result r = texture->getLevelDesc(level, desc);
        if (plat::succeeded(r)) r = texture->lockRect(level, locked, nullptr, 0);
        if (plat::failed(r)) {
            if (level > 0) texture->unlockRect(level - 1);
            return r;
        }
        const LevelView view{static_cast<uint8_t*>(locked.bits), desc.width, desc.height,
                             static_cast<uint32_t>(locked.pitch), format};
        if (level == 0) {
            copyImageToLevel(image, colourKey, view);
        } else {
            boxFilterLevel(above, view);
            texture->unlockRect(level - 1);
        }
        above = view;
    }
    return texture->unlockRect(texture->levelCount() - 1);
}

}  // namespace

Result createTextureFromFile(gfx::Device* device, const char* file, uint32_t width, uint32_t height,
                             uint32_t mipLevels, uint32_t usage, gfx::Format format, gfx::Pool pool,
                             uint32_t filter, uint32_t mipFilter, uint32_t colourKey,
                             ImageInfo* sourceInfo, std::array<PaletteEntry, 256>* palette,
                             gfx::Texture** texture) {
    if (texture) *texture = nullptr;
    if (!device || !file || !texture) return kInvalidCall;
    if (filter != kFilterNone) return kInvalidCall;
    if (mipFilter != kTextureDefault && mipFilter != kFilterBox) return kInvalidCall;

    DecodedImage image;
    {
        std::vector<uint8_t> bytes;
        Result r = readWholeFile(file, bytes);
        if (plat::failed(r)) return r;
        // Only the bitmap reader exists; anything it refuses is no image we can read.
        r = readBmp(bytes.data(), bytes.size(), image);
        if (plat::failed(r)) return r;
    }

    const bool paletteAlpha =
        formatInfo(image.format).palette && keyPalette(image.palette, colourKey);
    Format wanted = fromDevice(format);
    if (format == gfx::Format::Unknown) {
        wanted = textureFormatFor(image.format, colourKey != kNoColourKey, paletteAlpha);
    } else if (wanted == Format::Unknown || formatInfo(wanted).palette) {
        return kNotAvailable;  // a format this loader cannot write
    }
    Format chosen = Format::Unknown;
    Result r = fitFormat(device, usage, wanted, chosen);
    if (plat::failed(r)) return r;

    gfx::DeviceCaps caps;
    r = device->getDeviceCaps(caps);
    if (plat::failed(r)) return r;
    const uint32_t wantW =
        (width == kTextureDefault || width == 0) ? powerOfTwoAtLeast(image.width) : width;
    const uint32_t wantH =
        (height == kTextureDefault || height == 0) ? powerOfTwoAtLeast(image.height) : height;
    const TextureSize size =
        fitToDevice(wantW, wantH, mipLevels == kTextureDefault ? 0 : mipLevels, caps);

    gfx::Texture* result = nullptr;
    r = device->createTexture(size.width, size.height, size.levels, usage, toDevice(chosen), pool,
                              &result);
    if (plat::failed(r)) return r;
    if (pool == gfx::Pool::Default) {
        // The device's own memory is filled by an upload from a system-memory copy.
        gfx::Texture* staging = nullptr;
        r = device->createTexture(size.width, size.height, size.levels, 0, toDevice(chosen),
                                  gfx::Pool::SystemMemory, &staging);
        if (plat::succeeded(r)) r = fillLevels(staging, image, colourKey);
        if (plat::succeeded(r)) r = device->updateTexture(staging, result);
        plat::releaseRef(staging);
    } else {
        r = fillLevels(result, image, colourKey);
    }
    if (plat::failed(r)) {
        plat::releaseRef(result);
        return r;
    }

    if (sourceInfo) *sourceInfo = ImageInfo{image.width, image.height, 1, image.format};
    if (palette) *palette = image.palette;
    *texture = result;
    return kOk;
}

}  // namespace texload

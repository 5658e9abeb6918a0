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

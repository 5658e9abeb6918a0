#pragma once
// The texture loading facility: an image file becomes a device texture, its pixels unscaled in
// the top-left corner, with a colour key and a box-filtered mip chain.

#include <array>
#include <cstdint>

#include "platform/gfx/device.h"
#include "render/facility/decoded_image.h"
#include "render/facility/load_result.h"
#include "render/facility/texel_copy.h"  // kNoColourKey

namespace texload {

// "Take it from the image" for the width, height and mip filter (and, as 0, the mip levels).
constexpr uint32_t kTextureDefault = 0xFFFFFFFF;
// Filters: the image is copied texel for texel (none); lower levels average 2 x 2 blocks (box).
constexpr uint32_t kFilterNone = 1;
constexpr uint32_t kFilterBox = 5;

// What the file held (the source information handed back on request).
struct ImageInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t mipLevels = 0;
    Format format = Format::Unknown;  // the decoded image's format
};

// Loads `file` (a path passed to the file system unchanged) into a new texture.
//  - width, height: kTextureDefault (or 0) takes the image's, rounded up to powers of two;
//  - mipLevels: 0 or kTextureDefault for the full chain;
//  - usage and pool: as for Device::createTexture; a default-pool texture is filled through a
//    system-memory staging texture;
//  - format: Unknown chooses from the image so that keyed texels can be transparent;
//  - filter: kFilterNone only; mipFilter: kTextureDefault or kFilterBox;
//  - colourKey: 0xAARRGGBB, 0 for none; pixels equal to it become transparent black;
//  - sourceInfo, palette: filled when not null (palette: the image's 256 entries after keying).
// Results: kOk with *texture set; kInvalidCall for a missing device, path or output, an empty
// file or an unsupported filter; kInvalidData when the file cannot be read or is no bitmap this
// reader accepts; kNotAvailable when the device supports no suitable format; kOutOfMemory; a
// failing device call's own result. On failure *texture is null and nothing is left behind.
Result createTextureFromFile(plat::gfx::Device* device, const char* file, uint32_t width,
                             uint32_t height, uint32_t mipLevels, uint32_t usage,
                             plat::gfx::Format format, plat::gfx::Pool pool, uint32_t filter,
                             uint32_t mipFilter, uint32_t colourKey, ImageInfo* sourceInfo,
                             std::array<PaletteEntry, 256>* palette, plat::gfx::Texture** texture);

}  // namespace texload

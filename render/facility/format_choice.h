#pragma once
// Choosing a texture format: the nearest-format rule and its cost function, and the format a
// loaded image is stored in.

#include <cstdint>
#include <optional>

#include "render/facility/pixel_format.h"

namespace texload {

// The cost of storing `wanted` channels in `candidate`, or nothing when the candidate has none
// of the channels wanted. Per channel: 2^24 when wanted and missing, 2^16 per bit short, 256
// when present but not wanted, 1 per bit beyond what is wanted.
std::optional<uint32_t> formatCost(const ChannelBits& wanted, Format candidate);

// Answers whether a format may be used (the device's support); nullptr allows every format.
using FormatFilter = bool (*)(Format format, const void* context);

// The candidate of lowest cost among the texture formats (and the luminance formats when
// `luminance`) that the filter allows; ties go to the smaller pixel, then to the earlier
// format of the candidate list. Unknown when none is allowed.
Format nearestFormat(const ChannelBits& wanted, bool luminance, FormatFilter allowed = nullptr,
                     const void* context = nullptr);

// The format an image of `imageFormat` is stored in, before fitting it to the device. A
// palette image takes A8R8G8B8 when `paletteHasAlpha` (some entry's alpha is below 255 after
// keying), else X8R8G8B8. Other images with a colour key and no alpha bits take the nearest
// format with one alpha bit added; otherwise their own format, R8G8B8 becoming X8R8G8B8.
Format textureFormatFor(Format imageFormat, bool keyInForce, bool paletteHasAlpha);

}  // namespace texload

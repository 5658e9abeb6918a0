#pragma once
// The bitmap (BMP) reader: a file held in memory becomes a DecodedImage.
//
// Accepted: the 14-byte file header ("BM", a stored file size not beyond the data), then a
// 12-byte core header or an information header of 40 bytes or more (masks from 52 bytes, the
// alpha mask from 56); 1/4/8-bit palette images (uncompressed, 8-bit runs, 4-bit runs),
// 16/24/32-bit images, and 16/24/32-bit bit-field images. Rows bottom-up or top-down.
// Everything else is refused with the invalid-data result, and every size read from the file
// is checked against the data before anything is allocated.

#include <cstddef>
#include <cstdint>

#include "render/facility/decoded_image.h"
#include "render/facility/load_result.h"

namespace texload {

// Largest width or height accepted.
constexpr uint32_t kMaxImageSide = 16384;
// Largest decoded image, in bytes; a larger one fails with the out-of-memory result.
constexpr uint64_t kMaxDecodedBytes = uint64_t{256} << 20;

// kOk with `out` filled; kInvalidData when the data is not a bitmap this reader accepts;
// kOutOfMemory when the decoded image cannot be held.
Result readBmp(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace texload

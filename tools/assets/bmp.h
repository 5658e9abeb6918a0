// BMP encoders: a 24-bit bottom-up bitmap for the sprite sheet and a 32-bit one with alpha for the
// window icon.
#pragma once

#include "bytes.h"
#include "canvas.h"

namespace assets {

// 14-byte file header, 40-byte information header, no colour table, rows bottom-up, padded to 4
// bytes. The pixel rows start right after the headers, where a reader that ignores the stored
// pixel offset also looks for them.
Bytes encodeBmp24(const Canvas& picture);

// 32-bit BI_BITFIELDS bitmap with a 108-byte (version 4) header whose masks include alpha, so
// loaders keep the transparency of the canvas's alpha channel.
Bytes encodeBmp32(const Canvas& picture);

}  // namespace assets

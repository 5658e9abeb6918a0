#include "bmp.h"

namespace assets {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void putFileHeader(Bytes& out, std::uint32_t fileSize, std::uint32_t pixelOffset) {
    putTag(out, "BM");
    put32(out, fileSize);
    put32(out, 0);  // reserved
    put32(out, pixelOffset);
}

}  // namespace

Bytes encodeBmp24(const Canvas& picture) {
    const std::uint32_t w = picture.width(), h = picture.height();
    const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t infoSize = 40, offset = kFileHeaderSize + infoSize;
    Bytes out;
    out.reserve(offset + stride * h);
    putFileHeader(out, offset + stride * h, offset);
    put32(out, infoSize);
    put32(out, w);
    put32(out, h);  // positive: bottom row first
    put16(out, 1);  // planes
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, stride * h);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);  // colours used
    put32(out, 0);  // colours important
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            const Rgb c = picture.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.resize(out.size() + (stride - w * 3), 0);
    }
    return out;
}

Bytes encodeBmp32(const Canvas& picture) {
    const std::uint32_t w = picture.width(), h = picture.height();
    const std::uint32_t infoSize = 108, offset = kFileHeaderSize + infoSize;
    Bytes out;
    out.reserve(offset + w * h * 4);
    putFileHeader(out, offset + w * h * 4, offset);
    put32(out, infoSize);
    put32(out, w);
    put32(out, h);
    put16(out, 1);
    put16(out, 32);
    put32(out, 3);  // BI_BITFIELDS
    put32(out, w * h * 4);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0x00FF0000);               // red mask
    put32(out, 0x0000FF00);               // green mask
    put32(out, 0x000000FF);               // blue mask
    put32(out, 0xFF000000);               // alpha mask
    putTag(out, "BGRs");                  // LCS_sRGB, stored little-endian
    out.resize(out.size() + 36 + 12, 0);  // no colour-space end points, no gamma
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            const Rgb c = picture.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r, c.a});
        }
    }
    return out;
}

}  // namespace assets

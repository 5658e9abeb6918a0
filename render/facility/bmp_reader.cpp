#include "render/facility/bmp_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "render/facility/bmp_bitfields.h"
#include "render/facility/bmp_rle.h"

namespace texload {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMasksHeaderSize = 52;
constexpr uint32_t kAlphaMaskHeaderSize = 56;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

struct BitmapHeader {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint16_t planes = 0;
    uint16_t bits = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    ChannelMasks masks;
};

// The bitmap header at the start of `bm` (the data after the file header).
bool parseHeader(const uint8_t* bm, size_t size, BitmapHeader& h) {
    if (size < 4) return false;
    h.size = le32(bm);
    if (h.size == kCoreHeaderSize) {
        if (size < kCoreHeaderSize) return false;
        h.width = static_cast<int16_t>(le16(bm + 4));
        h.height = static_cast<int16_t>(le16(bm + 6));
        h.planes = le16(bm + 8);
        h.bits = le16(bm + 10);
        return true;
    }
    if (h.size < kInfoHeaderSize || h.size > size) return false;
    h.width = static_cast<int32_t>(le32(bm + 4));
    h.height = static_cast<int32_t>(le32(bm + 8));
    h.planes = le16(bm + 12);
    h.bits = le16(bm + 14);
    h.compression = le32(bm + 16);
    h.coloursUsed = le32(bm + 32);
    if (h.size >= kMasksHeaderSize) {
        h.masks.red = le32(bm + 40);
        h.masks.green = le32(bm + 44);
        h.masks.blue = le32(bm + 48);
    }
    if (h.size >= kAlphaMaskHeaderSize) h.masks.alpha = le32(bm + 52);
    return true;
}

// Where the pixels come from and what they become.
struct Layout {
    Format format = Format::Unknown;  // of the decoded image
    bool paletteBits = false;         // 1, 4 or 8-bit indices, uncompressed
    bool masked = false;              // bit fields with no known layout: decoded to floats
    bool shifted = false;             // each pixel read one byte further on
};

bool chooseLayout(const BitmapHeader& h, Layout& l) {
    const bool indexBits = h.bits == 1 || h.bits == 4 || h.bits == 8;
    switch (h.compression) {
        case kRle8:
        case kRle4:
            if (!indexBits) return false;
            l.format = Format::P8;
            return true;
        case kRgb:
            if (indexBits) {
                l.format = Format::P8;
                l.paletteBits = true;
                return true;
            }
            // 32-bit data turns A8R8G8B8 later if any pixel has a fourth byte.
            if (h.bits == 16) l.format = Format::X1R5G5B5;
            if (h.bits == 24) l.format = Format::R8G8B8;
            if (h.bits == 32) l.format = Format::X8R8G8B8;
            return l.format != Format::Unknown;
        case kBitFields: {
            if (h.size < kMasksHeaderSize) return false;
            if (h.bits != 16 && h.bits != 24 && h.bits != 32) return false;
            const MaskedLayout known = layoutFromMasks(h.bits, h.masks);
            l.format = known.format;
            l.shifted = known.shifted;
            if (l.format == Format::Unknown) {
                l.format = Format::A32B32G32R32F;
                l.masked = true;
            }
            return true;
        }
        default:
            return false;
    }
}

// The palette indices of one 1, 4 or 8-bit row, most significant bits first.
void unpackIndices(const uint8_t* src, int bits, uint32_t width, uint8_t* dst) {
    if (bits == 8) {
        std::memcpy(dst, src, width);
        return;
    }
    const int perByte = 8 / bits;
    const uint8_t mask = static_cast<uint8_t>((1u << bits) - 1);
    for (uint32_t x = 0; x < width; ++x) {
        const int shift = 8 - bits * static_cast<int>(x % perByte + 1);
        dst[x] = (src[x / perByte] >> shift) & mask;
    }
}

bool anyFourthByte(const DecodedImage& image) {
    for (size_t i = 3; i < image.pixels.size(); i += 4) {
        if (image.pixels[i] != 0) return true;
    }
    return false;
}

}  // namespace

Result readBmp(const uint8_t* data, size_t size, DecodedImage& out) {
    if (!data || size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') return kInvalidData;
    if (le32(data + 2) > size) return kInvalidData;
    const uint8_t* bm = data + kFileHeaderSize;
    const size_t bmSize = size - kFileHeaderSize;

    BitmapHeader h;
    if (!parseHeader(bm, bmSize, h)) return kInvalidData;
    if (h.planes != 1) return kInvalidData;
    const bool topDown = h.height < 0;
    const int64_t height = topDown ? -h.height : h.height;
    if (h.width <= 0 || h.width > kMaxImageSide || height <= 0 || height > kMaxImageSide) {
        return kInvalidData;
    }
    const auto width = static_cast<uint32_t>(h.width);
    const auto rows = static_cast<uint32_t>(height);

    Layout layout;
    if (!chooseLayout(h, layout)) return kInvalidData;

    // The colour table, then the pixels right after it.
    const bool core = h.size == kCoreHeaderSize;
    const uint64_t entries = h.coloursUsed ? h.coloursUsed : (h.bits <= 8 ? 1u << h.bits : 0u);
    const uint64_t entrySize = core ? 3 : 4;
    const uint64_t pixelsAt = uint64_t{h.size} + entries * entrySize;
    if (pixelsAt > bmSize) return kInvalidData;

    // Rows of uncompressed data must lie inside the data.
    uint64_t rowBytes = 0;
    uint64_t stride = 0;
    if (h.compression == kRgb || h.compression == kBitFields) {
        if (h.bits == 1) {
            rowBytes = (uint64_t{width} + 7) / 8;
        } else if (h.bits == 4) {
            rowBytes = (uint64_t{width} + 1) / 2;
        } else {
            rowBytes = uint64_t{width} * h.bits / 8;
        }
        stride = (rowBytes + 3) & ~uint64_t{3};
        const uint64_t needed =
            pixelsAt + (rows - 1) * stride + rowBytes + (layout.shifted ? 1 : 0);
        if (needed > bmSize) return kInvalidData;
    }

    const uint64_t pitch = uint64_t{width} * bytesPerPixel(layout.format);
    if (pitch * rows > kMaxDecodedBytes) return kOutOfMemory;

    DecodedImage image;
    image.format = layout.format;
    image.width = width;
    image.height = rows;
    image.pitch = static_cast<uint32_t>(pitch);
    try {
        image.pixels.assign(pitch * rows, 0);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }

    const uint8_t* pixelData = bm + pixelsAt;
    // Row r of the file is image row fileRow(r).
    auto fileRow = [&](uint32_t r) { return topDown ? r : rows - 1 - r; };

    if (h.compression == kRle8 || h.compression == kRle4) {
        if (!decodeRle(pixelData, bmSize - pixelsAt, h.compression == kRle4, width, rows,
                       image.pixels.data())) {
            return kInvalidData;
        }
        if (!topDown) {
            for (uint32_t r = 0; r < rows / 2; ++r) {
                std::swap_ranges(image.row(r), image.row(r) + width, image.row(rows - 1 - r));
            }
        }
    } else {
        for (uint32_t r = 0; r < rows; ++r) {
            const uint8_t* src = pixelData + r * stride;
            uint8_t* dst = image.row(fileRow(r));
            if (layout.paletteBits) {
                unpackIndices(src, h.bits, width, dst);
            } else if (layout.masked) {
                decodeMaskedRow(src, h.bits, h.masks, width, dst);
            } else if (layout.shifted) {
                std::memcpy(dst, src + 1, pitch);
            } else {
                std::memcpy(dst, src, pitch);
            }
        }
        if (h.compression == kRgb && h.bits == 32 && anyFourthByte(image)) {
            image.format = Format::A8R8G8B8;
        }
    }

    if (layout.format == Format::P8) {
        const uint8_t* table = bm + h.size;
        const uint64_t kept = std::min<uint64_t>(entries, 256);
        for (uint64_t i = 0; i < kept; ++i) {
            const uint8_t* e = table + i * entrySize;
            image.palette[i] = PaletteEntry{e[2], e[1], e[0], 255};
        }
    }
    out = std::move(image);
    return kOk;
}

}  // namespace texload

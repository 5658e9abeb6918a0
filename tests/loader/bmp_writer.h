#pragma once
// Builds bitmap files in memory for the loader tests.

#include <cstdint>
#include <optional>
#include <vector>

namespace bmptest {

using Bytes = std::vector<uint8_t>;

struct BmpFile {
    int32_t width = 1;
    int32_t height = 1;  // negative: rows stored top row first
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t headerSize = 40;  // 12 (core), 40, 52, 56, 108, 124 ...
    uint32_t coloursUsed = 0;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;  // from 52 / 56 bytes
    std::vector<uint32_t> colourTable;                                 // 0xRRGGBB entries
    Bytes pixels;                           // everything after the colour table
    std::optional<uint32_t> fileSizeField;  // default: the real size
};

Bytes writeBmp(const BmpFile& file);

// Pads each row to a multiple of 4 bytes and stores them in file order: given top row first,
// written bottom row first unless `topDown`.
Bytes packRows(const std::vector<Bytes>& rowsTopFirst, bool topDown);

// Little-endian pixel values of `bytes` bytes each, as one row.
Bytes pixelRow(const std::vector<uint32_t>& values, int bytes);

}  // namespace bmptest

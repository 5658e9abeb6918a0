#include "bmp_writer.h"

namespace bmptest {

namespace {

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

}  // namespace

Bytes writeBmp(const BmpFile& f) {
    Bytes header;
    put32(header, f.headerSize);
    if (f.headerSize == 12) {
        put16(header, static_cast<uint16_t>(f.width));
        put16(header, static_cast<uint16_t>(f.height));
        put16(header, f.planes);
        put16(header, f.bits);
    } else {
        put32(header, static_cast<uint32_t>(f.width));
        put32(header, static_cast<uint32_t>(f.height));
        put16(header, f.planes);
        put16(header, f.bits);
        put32(header, f.compression);
        put32(header, 0);     // image size
        put32(header, 2835);  // resolutions
        put32(header, 2835);
        put32(header, f.coloursUsed);
        put32(header, 0);  // colours important
        if (f.headerSize >= 52) {
            put32(header, f.redMask);
            put32(header, f.greenMask);
            put32(header, f.blueMask);
        }
        if (f.headerSize >= 56) put32(header, f.alphaMask);
        while (header.size() < f.headerSize) header.push_back(0);
    }
    Bytes out = {'B', 'M'};
    put32(out, 0);  // file size, set below
    put32(out, 0);  // reserved
    put32(out, 0);  // pixel offset: never read
    out.insert(out.end(), header.begin(), header.end());
    for (uint32_t c : f.colourTable) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c >> 16));
        if (f.headerSize != 12) out.push_back(0);
    }
    out.insert(out.end(), f.pixels.begin(), f.pixels.end());
    const uint32_t size = f.fileSizeField.value_or(static_cast<uint32_t>(out.size()));
    for (int i = 0; i < 4; ++i) out[2 + i] = static_cast<uint8_t>(size >> (8 * i));
    return out;
}

Bytes packRows(const std::vector<Bytes>& rowsTopFirst, bool topDown) {
    Bytes out;
    const size_t n = rowsTopFirst.size();
    for (size_t i = 0; i < n; ++i) {
        const Bytes& row = rowsTopFirst[topDown ? i : n - 1 - i];
        out.insert(out.end(), row.begin(), row.end());
        for (size_t pad = row.size(); pad % 4 != 0; ++pad) out.push_back(0);
    }
    return out;
}

Bytes pixelRow(const std::vector<uint32_t>& values, int bytes) {
    Bytes out;
    for (uint32_t v : values) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return out;
}

}  // namespace bmptest

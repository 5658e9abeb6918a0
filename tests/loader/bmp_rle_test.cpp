#include "render/facility/bmp_rle.h"

#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "render/facility/bmp_reader.h"

using namespace texload;
using bmptest::BmpFile;
using bmptest::Bytes;

namespace {

// Decodes run-length data of a width x height image; the pixels are in file row order, 0xEE
// where the data wrote nothing.
bool decode(const Bytes& data, bool fourBit, uint32_t width, uint32_t height, Bytes& out) {
    out.assign(size_t{width} * height, 0xEE);
    return decodeRle(data.data(), data.size(), fourBit, width, height, out.data());
}

}  // namespace

// One stream with every escape: runs, an absolute run of odd length (padded), end of line,
// delta, and end of bitmap.
TEST(BmpRle, EightBitRunsAndEveryEscape) {
    const Bytes data = {
        3,  7,                   // three pixels of 7
        0,  3,  1,  2,  3,  0,   // absolute run of 3 bytes, padded to 4
        0,  0,                   // end of line: row 1
        2,  9,                   // two pixels of 9
        0,  2,  2,  1,           // delta: right 2, down 1 -> (4, 2)
        1,  5,                   // one pixel of 5 at (4, 2)
        0,  4,  10, 11, 12, 13,  // absolute run of 4 (even: no padding) at (5, 2)
        0,  1,                   // end of bitmap
        99, 99,                  // never read
    };
    Bytes out;
    ASSERT_TRUE(decode(data, false, 9, 4, out));
    const uint8_t E = 0xEE;
    const Bytes expected = {
        7, 7, 7, 1, 2, 3,  E,  E,  E,   //
        9, 9, E, E, E, E,  E,  E,  E,   //
        E, E, E, E, 5, 10, 11, 12, 13,  //
        E, E, E, E, E, E,  E,  E,  E,   //
    };
    EXPECT_EQ(out, expected);
}

// Four-bit runs alternate the value's nibbles, high first; absolute runs take nibbles high
// first and are padded to whole 16-bit words.
TEST(BmpRle, FourBitRunsAndEveryEscape) {
    const Bytes data = {
        5, 0x12,                          // 1 2 1 2 1
        0, 3,    0x34, 0x50,              // absolute 3 nibbles: 3 4 5 (2 bytes, already a word)
        0, 0,                             // end of line
        0, 5,    0x67, 0x89, 0xA0, 0x00,  // absolute 5 nibbles: 3 bytes padded to 4
        0, 2,    1,    1,                 // delta right 1, down 1 -> (6, 2)
        2, 0xBC,                          // B C
        0, 0,                             // end of line -> row 3
        0, 1,                             // end of bitmap
    };
    Bytes out;
    ASSERT_TRUE(decode(data, true, 8, 4, out));
    const uint8_t E = 0xEE;
    const Bytes expected = {
        1, 2, 1, 2, 1,  3, 4,   5,    //
        6, 7, 8, 9, 10, E, E,   E,    //
        E, E, E, E, E,  E, 0xB, 0xC,  //
        E, E, E, E, E,  E, E,   E,    //
    };
    EXPECT_EQ(out, expected);
}

// Decoding stops once the position passes the last row, by end of line or delta, even without
// the end-of-bitmap escape.
TEST(BmpRle, PassingTheLastRowEndsDecoding) {
    const Bytes cases[] = {
        {2, 1, 0, 0, 2, 2, 0, 0},  // two rows, each closed by end of line
        {2, 1, 0, 2, 0, 5},        // a delta far below the image
    };
    for (const Bytes& data : cases) {
        Bytes out;
        EXPECT_TRUE(decode(data, false, 2, 2, out)) << data.size();
        EXPECT_EQ(out[0], 1);
    }
}

TEST(BmpRle, RefusesRunsOutsideTheImageOrPastTheData) {
    struct Case {
        const char* what;
        bool fourBit;
        Bytes data;
    };
    const Case cases[] = {
        {"run past the row end", false, {5, 1, 0, 1}},
        {"second run past the row end", false, {3, 1, 2, 1, 0, 1}},
        {"absolute run past the row end", false, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}},
        {"delta then a run outside", false, {0, 2, 4, 0, 1, 1, 0, 1}},
        {"data ends without end of bitmap", false, {2, 1}},
        {"data ends inside an escape", false, {0}},
        {"delta cut short", false, {0, 2, 1}},
        {"absolute run cut short", false, {0, 3, 1, 2}},
        {"absolute run missing its padding", false, {0, 3, 1, 2, 3}},
        {"four-bit absolute run cut short", true, {0, 5, 0x12, 0x34}},
        {"four-bit run past the row end", true, {5, 0x12, 0, 1}},
        {"empty data", false, {}},
    };
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_FALSE(decode(c.data, c.fourBit, 4, 2, out)) << c.what;
    }
}

// Through the reader: run-length rows are stored bottom row first unless the height is
// negative, and both give the same image; skipped pixels are index 0.
TEST(BmpRle, ReaderOrdersRowsAndKeepsSkippedPixelsAtZero) {
    for (uint32_t compression : {1u, 2u}) {
        const bool four = compression == 2;
        // File row 0: pixel values 1 1 then 2; file row 1: end of line only.
        const Bytes rowA = four ? Bytes{2, 0x11, 1, 0x20, 0, 0} : Bytes{2, 1, 1, 2, 0, 0};
        const Bytes rowB = {0, 0};
        for (bool topDown : {false, true}) {
            BmpFile f;
            f.compression = compression;
            f.bits = four ? 4 : 8;
            f.colourTable.assign(four ? 16 : 256, 0x808080);
            f.width = 4;
            f.height = topDown ? -2 : 2;
            // The same picture: top row 1 1 2 0, bottom row all 0.
            f.pixels = topDown ? rowA : rowB;
            const Bytes& second = topDown ? rowB : rowA;
            f.pixels.insert(f.pixels.end(), second.begin(), second.end());
            f.pixels.insert(f.pixels.end(), {0, 1});
            const Bytes file = bmptest::writeBmp(f);
            DecodedImage image;
            ASSERT_EQ(readBmp(file.data(), file.size(), image), kOk) << compression << topDown;
            EXPECT_EQ(image.format, Format::P8);
            EXPECT_EQ(Bytes(image.row(0), image.row(0) + 4), (Bytes{1, 1, 2, 0}));
            EXPECT_EQ(Bytes(image.row(1), image.row(1) + 4), (Bytes{0, 0, 0, 0}));
        }
    }
}

TEST(BmpRle, ReaderRefusesBrokenRunsWithTheInvalidDataResult) {
    BmpFile f;
    f.compression = 1;
    f.bits = 8;
    f.colourTable.assign(256, 0);
    f.width = 2;
    f.height = 2;
    f.pixels = {3, 1, 0, 1};  // a run of 3 in a row of 2
    const Bytes file = bmptest::writeBmp(f);
    DecodedImage image;
    EXPECT_EQ(readBmp(file.data(), file.size(), image), kInvalidData);
}

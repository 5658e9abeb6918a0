#include "render/facility/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bmp_writer.h"

using namespace texload;
using bmptest::BmpFile;
using bmptest::Bytes;
using bmptest::packRows;
using bmptest::pixelRow;

namespace {

Result read(const Bytes& file, DecodedImage& image) {
    return readBmp(file.data(), file.size(), image);
}

Bytes rowOf(const DecodedImage& image, uint32_t y) {
    return Bytes(image.row(y), image.row(y) + image.pitch);
}

// A 3 x 2 24-bit image, top row red green blue, bottom row white black grey.
const std::vector<Bytes> kRgbRows = {pixelRow({0xFF0000, 0x00FF00, 0x0000FF}, 3),
                                     pixelRow({0xFFFFFF, 0x000000, 0x808080}, 3)};

}  // namespace

TEST(BmpReader, TwentyFourBitRowsComeOutTopFirstWhateverTheStoredOrder) {
    for (bool topDown : {false, true}) {
        BmpFile f;
        f.width = 3;
        f.height = topDown ? -2 : 2;
        f.pixels = packRows(kRgbRows, topDown);
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk) << topDown;
        EXPECT_EQ(image.format, Format::R8G8B8);
        EXPECT_EQ(image.width, 3u);
        EXPECT_EQ(image.height, 2u);
        EXPECT_EQ(image.pitch, 9u);
        EXPECT_EQ(rowOf(image, 0), kRgbRows[0]) << topDown;
        EXPECT_EQ(rowOf(image, 1), kRgbRows[1]) << topDown;
    }
}

TEST(BmpReader, HeaderVariantsAllReadTheSameImage) {
    // Core (12), information (40), with masks (52, 56) and the larger v4 (108) and v5 (124).
    for (uint32_t headerSize : {12u, 40u, 52u, 56u, 108u, 124u}) {
        BmpFile f;
        f.headerSize = headerSize;
        f.width = 3;
        f.height = 2;
        f.pixels = packRows(kRgbRows, false);
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk) << headerSize;
        EXPECT_EQ(image.format, Format::R8G8B8);
        EXPECT_EQ(rowOf(image, 0), kRgbRows[0]) << headerSize;
        EXPECT_EQ(rowOf(image, 1), kRgbRows[1]) << headerSize;
    }
}

// 1, 4 and 8-bit indices unpack most significant bits first; rows are padded to 4 bytes.
TEST(BmpReader, PaletteIndicesUnpackMostSignificantFirst) {
    struct Case {
        uint16_t bits;
        int32_t width;
        Bytes packedTop, packedBottom;
        Bytes indicesTop, indicesBottom;
    };
    const Case cases[] = {
        {1,
         10,
         {0xA5, 0xC0},
         {0x01, 0x40},
         {1, 0, 1, 0, 0, 1, 0, 1, 1, 1},
         {0, 0, 0, 0, 0, 0, 0, 1, 0, 1}},
        {4, 5, {0x12, 0x3F, 0xE0}, {0x00, 0x01, 0x20}, {1, 2, 3, 15, 14}, {0, 0, 0, 1, 2}},
        {8, 3, {7, 200, 255}, {0, 1, 2}, {7, 200, 255}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        BmpFile f;
        f.bits = c.bits;
        f.width = c.width;
        f.height = 2;
        f.colourTable.assign(size_t{1} << c.bits, 0);
        f.pixels = packRows({c.packedTop, c.packedBottom}, false);
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk) << c.bits;
        EXPECT_EQ(image.format, Format::P8);
        EXPECT_EQ(image.pitch, static_cast<uint32_t>(c.width));
        EXPECT_EQ(rowOf(image, 0), c.indicesTop) << c.bits;
        EXPECT_EQ(rowOf(image, 1), c.indicesBottom) << c.bits;
    }
}

TEST(BmpReader, PaletteTakesTheColourTableThenWhite) {
    for (uint32_t headerSize : {12u, 40u}) {
        BmpFile f;
        f.headerSize = headerSize;
        f.bits = 8;
        f.coloursUsed = headerSize == 12 ? 0 : 3;
        f.colourTable = {0x000000, 0x102030, 0xFFFFFF};
        if (headerSize == 12) f.colourTable.resize(256, 0x010203);  // core: always 2^bits
        f.width = 1;
        f.height = 1;
        f.pixels = {1, 0, 0, 0};
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk) << headerSize;
        EXPECT_EQ(image.palette[0], (PaletteEntry{0, 0, 0, 255}));
        EXPECT_EQ(image.palette[1], (PaletteEntry{0x10, 0x20, 0x30, 255}));
        const PaletteEntry beyond =
            headerSize == 12 ? PaletteEntry{1, 2, 3, 255} : PaletteEntry{255, 255, 255, 255};
        EXPECT_EQ(image.palette[3], beyond) << headerSize;
        EXPECT_EQ(image.palette[255], beyond) << headerSize;
    }
}

// More than 256 declared entries: the palette keeps 256 and the pixels follow the whole table.
TEST(BmpReader, OversizedColourTableKeepsTheFirst256) {
    BmpFile f;
    f.bits = 8;
    f.coloursUsed = 300;
    for (uint32_t i = 0; i < 300; ++i) f.colourTable.push_back(i < 256 ? i : 0xABCDEF);
    f.width = 1;
    f.height = 1;
    f.pixels = {255, 0, 0, 0};
    DecodedImage image;
    ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk);
    EXPECT_EQ(image.row(0)[0], 255);
    EXPECT_EQ(image.palette[255], (PaletteEntry{0, 0, 255, 255}));
}

TEST(BmpReader, ThirtyTwoBitHasAlphaOnlyWhenSomeFourthByteIsSet) {
    for (uint32_t corner : {0x00123456u, 0x01123456u}) {
        BmpFile f;
        f.bits = 32;
        f.width = 2;
        f.height = 2;
        f.pixels =
            packRows({pixelRow({0x00FF0000, 0x0000FF00}, 4), pixelRow({0, corner}, 4)}, false);
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk);
        EXPECT_EQ(image.format, corner >> 24 ? Format::A8R8G8B8 : Format::X8R8G8B8);
        EXPECT_EQ(rowOf(image, 1), pixelRow({0, corner}, 4));
    }
}

TEST(BmpReader, SixteenBitIsFiveFiveFive) {
    BmpFile f;
    f.bits = 16;
    f.width = 3;  // 6 bytes a row, padded to 8
    f.height = 2;
    f.pixels = packRows({pixelRow({0x7C00, 0x03E0, 0x001F}, 2), pixelRow({1, 2, 3}, 2)}, false);
    DecodedImage image;
    ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk);
    EXPECT_EQ(image.format, Format::X1R5G5B5);
    EXPECT_EQ(rowOf(image, 0), pixelRow({0x7C00, 0x03E0, 0x001F}, 2));
    EXPECT_EQ(rowOf(image, 1), pixelRow({1, 2, 3}, 2));
}

// Every row of the masks table names its format, with the pixels kept as they are.
TEST(BmpReader, BitFieldMasksNameTheirFormats) {
    struct Case {
        uint16_t bits;
        uint32_t r, g, b, a;
        Format format;
    };
    const Case cases[] = {
        {16, 0xF800, 0x07E0, 0x001F, 0, Format::R5G6B5},
        {16, 0x7C00, 0x03E0, 0x001F, 0, Format::X1R5G5B5},
        {16, 0x7C00, 0x03E0, 0x001F, 0x8000, Format::A1R5G5B5},
        {16, 0x0F00, 0x00F0, 0x000F, 0xF000, Format::A4R4G4B4},
        {16, 0x0F00, 0x00F0, 0x000F, 0, Format::X4R4G4B4},
        {16, 0x00E0, 0x001C, 0x0003, 0xFF00, Format::A8R3G3B2},
        {16, 0x00FF, 0x00FF, 0x00FF, 0xFF00, Format::A8L8},
        {16, 0xFFFF, 0xFFFF, 0xFFFF, 0, Format::L16},
        {24, 0xFF0000, 0x00FF00, 0x0000FF, 0, Format::R8G8B8},
        {32, 0xFF0000, 0x00FF00, 0x0000FF, 0, Format::X8R8G8B8},
        {32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000, Format::A8R8G8B8},
        {32, 0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000, Format::A8B8G8R8},
        {32, 0x0000FF, 0x00FF00, 0xFF0000, 0, Format::X8B8G8R8},
        {32, 0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000, Format::A2B10G10R10},
        {32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000, Format::A2R10G10B10},
        {32, 0x0000FFFF, 0xFFFF0000, 0, 0, Format::G16R16},
    };
    for (const Case& c : cases) {
        const auto low = static_cast<uint32_t>((uint64_t{1} << c.bits) - 1);
        const std::vector<uint32_t> values = {0x12345678u & low, 0xFEDCBA98u & low};
        BmpFile f;
        f.headerSize = 56;
        f.compression = 3;
        f.bits = c.bits;
        f.redMask = c.r;
        f.greenMask = c.g;
        f.blueMask = c.b;
        f.alphaMask = c.a;
        f.width = 2;
        f.height = 1;
        f.pixels = packRows({pixelRow(values, c.bits / 8)}, false);
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk) << formatInfo(c.format).name;
        EXPECT_EQ(image.format, c.format) << formatInfo(c.format).name;
        EXPECT_EQ(rowOf(image, 0), pixelRow(values, c.bits / 8)) << formatInfo(c.format).name;
    }
}

// Masks 0xFF000000, 0x00FF0000, 0x0000FF00: each pixel is read one byte further on, which
// needs one byte beyond the last row.
TEST(BmpReader, HighByteMasksReadEachPixelOneByteOn) {
    BmpFile f;
    f.headerSize = 52;
    f.compression = 3;
    f.bits = 32;
    f.redMask = 0xFF000000;
    f.greenMask = 0x00FF0000;
    f.blueMask = 0x0000FF00;
    f.width = 2;
    f.height = 1;
    f.pixels = pixelRow({0x11223300, 0x44556600}, 4);
    f.pixels.push_back(0x77);
    DecodedImage image;
    ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk);
    EXPECT_EQ(image.format, Format::X8R8G8B8);
    // Red 0x11, green 0x22, blue 0x33; the ignored fourth byte is the next one in the file.
    EXPECT_EQ(rowOf(image, 0), pixelRow({0x00112233, 0x77445566}, 4));

    f.pixels.pop_back();
    EXPECT_EQ(read(bmptest::writeBmp(f), image), kInvalidData);
}

TEST(BmpReader, UnknownMasksDecodeToFloats) {
    struct Case {
        uint16_t bits;
        uint32_t r, g, b, a;
        uint32_t value;
        Rgba expected;
    };
    const Case cases[] = {
        // Blue in the high bits: no known layout; 4-bit channels divided by 15.
        {16, 0x000F, 0x00F0, 0x0F00, 0xF000, 0xF30F, {1.0f, 0.0f, 3 / 15.0f, 1.0f}},
        // No alpha mask: alpha reads 1.
        {16, 0x001F, 0x03E0, 0x7C00, 0, 0x001F, {1.0f, 0.0f, 0.0f, 1.0f}},
        // A missing colour mask reads 1 while others exist.
        {24, 0xFF0000, 0x00FF00, 0, 0, 0x80FF00, {128 / 255.0f, 1.0f, 1.0f, 1.0f}},
        // No colour masks at all: colour reads 0, alpha from its mask (a gap inside the mask).
        {32, 0, 0, 0, 0x00F000F0, 0x00F000F0, {0.0f, 0.0f, 0.0f, 1.0f}},
        // A one-bit channel high up.
        {32,
         0x80000000,
         0x0000FF00,
         0x000000FF,
         0,
         0x80000102,
         {1.0f, 1 / 255.0f, 2 / 255.0f, 1.0f}},
    };
    for (const Case& c : cases) {
        BmpFile f;
        f.headerSize = 56;
        f.compression = 3;
        f.bits = c.bits;
        f.redMask = c.r;
        f.greenMask = c.g;
        f.blueMask = c.b;
        f.alphaMask = c.a;
        f.width = 1;
        f.height = 1;
        f.pixels = packRows({pixelRow({c.value}, c.bits / 8)}, false);
        DecodedImage image;
        ASSERT_EQ(read(bmptest::writeBmp(f), image), kOk) << c.value;
        EXPECT_EQ(image.format, Format::A32B32G32R32F);
        EXPECT_EQ(image.pitch, 16u);
        const Rgba got = decodePixel(Format::A32B32G32R32F, image.row(0));
        EXPECT_FLOAT_EQ(got.r, c.expected.r) << c.value;
        EXPECT_FLOAT_EQ(got.g, c.expected.g) << c.value;
        EXPECT_FLOAT_EQ(got.b, c.expected.b) << c.value;
        EXPECT_FLOAT_EQ(got.a, c.expected.a) << c.value;
    }
}

// A valid 2 x 2 24-bit file, to break in the refusal cases.
BmpFile validFile() {
    BmpFile f;
    f.width = 2;
    f.height = 2;
    f.pixels = packRows({pixelRow({1, 2}, 3), pixelRow({3, 4}, 3)}, false);
    return f;
}

TEST(BmpReader, RefusesWhatItCannotRead) {
    struct Case {
        const char* what;
        void (*change)(BmpFile&);
    };
    const Case cases[] = {
        {"stored file size beyond the data", [](BmpFile& f) { f.fileSizeField = 1000; }},
        {"bit fields with a 40-byte header",
         [](BmpFile& f) {
             f.compression = 3;
             f.bits = 16;
             f.pixels.assign(64, 0);  // room for masks where a colour table would be
         }},
        {"header size 0", [](BmpFile& f) { f.headerSize = 0; }},
        {"header size 13", [](BmpFile& f) { f.headerSize = 13; }},
        {"header size 39", [](BmpFile& f) { f.headerSize = 39; }},
        {"header beyond the data",
         [](BmpFile& f) {
             f.headerSize = 200;
             f.pixels.clear();
         }},
        {"two planes", [](BmpFile& f) { f.planes = 2; }},
        {"compression 4", [](BmpFile& f) { f.compression = 4; }},
        {"compression 0xFFFFFFFF", [](BmpFile& f) { f.compression = 0xFFFFFFFF; }},
        {"2 bits", [](BmpFile& f) { f.bits = 2; }},
        {"0 bits", [](BmpFile& f) { f.bits = 0; }},
        {"64 bits", [](BmpFile& f) { f.bits = 64; }},
        {"run-length 24 bits", [](BmpFile& f) { f.compression = 1; }},
        {"bit fields at 8 bits",
         [](BmpFile& f) {
             f.headerSize = 56;
             f.compression = 3;
             f.bits = 8;
         }},
        {"width 0", [](BmpFile& f) { f.width = 0; }},
        {"negative width", [](BmpFile& f) { f.width = -2; }},
        {"height 0", [](BmpFile& f) { f.height = 0; }},
        {"height of the most negative value", [](BmpFile& f) { f.height = INT32_MIN; }},
        {"huge width", [](BmpFile& f) { f.width = 0x7FFFFFFF; }},
        {"width 16385", [](BmpFile& f) { f.width = 16385; }},
        {"height -16385", [](BmpFile& f) { f.height = -16385; }},
        {"colour table that does not fit", [](BmpFile& f) { f.coloursUsed = 0xFFFFFFFF; }},
        {"colour table past the end of the data", [](BmpFile& f) { f.coloursUsed = 5; }},
        {"last row one byte short (after its padding)",
         [](BmpFile& f) { f.pixels.resize(f.pixels.size() - 3); }},
        {"rows beyond the data", [](BmpFile& f) { f.height = 3; }},
    };
    for (const Case& c : cases) {
        BmpFile f = validFile();
        c.change(f);
        DecodedImage image;
        EXPECT_EQ(read(bmptest::writeBmp(f), image), kInvalidData) << c.what;
    }
    // The unchanged file is read, so each refusal above comes from its one change.
    DecodedImage image;
    EXPECT_EQ(read(bmptest::writeBmp(validFile()), image), kOk);
}

TEST(BmpReader, RefusesDataThatIsNoBitmap) {
    const Bytes cases[] = {
        {}, {'B'}, {'B', 'M'}, Bytes(13, 0), {'M', 'B', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40}};
    for (const Bytes& data : cases) {
        DecodedImage image;
        EXPECT_EQ(read(data, image), kInvalidData) << data.size();
    }
    DecodedImage image;
    EXPECT_EQ(readBmp(nullptr, 100, image), kInvalidData);
}

// Valid files are cut short byte by byte (stored size 0, so only the data's length counts):
// every prefix shorter than the header, the colour table and the rows (the last row needs no
// padding) is refused, so no field is read beyond the data.
TEST(BmpReader, EveryTruncationIsRefused) {
    BmpFile palette;
    palette.bits = 4;
    palette.width = 3;
    palette.height = 2;
    palette.coloursUsed = 2;
    palette.colourTable = {0, 0xFFFFFF};
    palette.pixels = packRows({{0x01, 0x10}, {0x11, 0x00}}, false);
    BmpFile masks = validFile();
    masks.headerSize = 56;
    masks.compression = 3;
    masks.bits = 16;
    masks.redMask = 0xF800;
    masks.greenMask = 0x07E0;
    masks.blueMask = 0x001F;
    masks.pixels = packRows({pixelRow({1, 2}, 2), pixelRow({3, 4}, 2)}, false);
    BmpFile core = validFile();
    core.headerSize = 12;
    const struct {
        BmpFile file;
        size_t lastRowPadding;
    } cases[] = {{validFile(), 2}, {palette, 2}, {masks, 0}, {core, 2}};
    for (const auto& c : cases) {
        BmpFile f = c.file;
        f.fileSizeField = 0;
        Bytes data = bmptest::writeBmp(f);
        data.resize(data.size() - c.lastRowPadding);
        DecodedImage image;
        ASSERT_EQ(read(data, image), kOk);
        for (size_t n = 0; n < data.size(); ++n) {
            const Bytes prefix(data.begin(), data.begin() + static_cast<ptrdiff_t>(n));
            EXPECT_EQ(read(prefix, image), kInvalidData) << n;
        }
    }
}

TEST(BmpReader, DecodedSizeBeyondTheBudgetIsOutOfMemory) {
    // Unknown 16-bit masks decode to 16 bytes a pixel: 4096 x 4097 of them pass 256 MiB.
    BmpFile f;
    f.headerSize = 56;
    f.compression = 3;
    f.bits = 16;
    f.redMask = 0x000F;
    f.greenMask = 0x00F0;
    f.blueMask = 0x0F00;
    f.width = 4096;
    f.height = 4096 + 1;  // 4096 * 4097 * 16 bytes of floats > 256 MiB
    f.pixels.assign(size_t{4096} * 2 * 4097, 0);
    DecodedImage image;
    EXPECT_EQ(read(bmptest::writeBmp(f), image), kOutOfMemory);
}

#include "render/facility/texture_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bmp_writer.h"
#include "gfx/gfx_fixture.h"

using namespace texload;
using bmptest::BmpFile;
using bmptest::Bytes;
using bmptest::packRows;
using bmptest::pixelRow;
namespace gfx = plat::gfx;

namespace {

constexpr uint32_t kKey = 0xFF000000;

// The 24-bit test image: pixel (x, y) = 0x01xxyy with (5, 7) black and (6, 7) = (0, 0, 1).
uint32_t patternPixel(uint32_t x, uint32_t y) {
    if (x == 5 && y == 7) return 0;
    if (x == 6 && y == 7) return 1;
    return 0x010000 | ((x & 0xFF) << 8) | (y & 0xFF);
}

BmpFile patternFile(uint32_t width, uint32_t height, bool topDown) {
    BmpFile f;
    f.width = static_cast<int32_t>(width);
    f.height = topDown ? -static_cast<int32_t>(height) : static_cast<int32_t>(height);
    std::vector<Bytes> rows;
    for (uint32_t y = 0; y < height; ++y) {
        std::vector<uint32_t> values;
        for (uint32_t x = 0; x < width; ++x) values.push_back(patternPixel(x, y));
        rows.push_back(pixelRow(values, 3));
    }
    f.pixels = packRows(rows, topDown);
    return f;
}

class TextureLoader : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
        // One folder per test: CTest runs the tests in parallel processes.
        dir = std::filesystem::path(MARLOVEK_BINARY_DIR) / "loader_test_files" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        plat::releaseRef(texture);
        GfxTest::TearDown();
    }

    std::string writeFile(const std::string& name, const Bytes& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // The call the game makes.
    Result load(const std::string& path) {
        plat::releaseRef(texture);
        return createTextureFromFile(device, path.c_str(), kTextureDefault, kTextureDefault, 0, 0,
                                     gfx::Format::Unknown, gfx::Pool::Default, kFilterNone,
                                     kTextureDefault, kKey, nullptr, nullptr, &texture);
    }
    Result loadBmp(const BmpFile& f) { return load(writeFile("image.bmp", bmptest::writeBmp(f))); }

    // A texel of a 32-bit level.
    uint32_t texel32(uint32_t level, uint32_t x, uint32_t y) {
        uint32_t v;
        std::memcpy(&v, texture->levelBits(level) + y * texture->levelPitch(level) + x * 4, 4);
        return v;
    }
    // All bytes of every level.
    Bytes levelBytes() {
        Bytes out;
        for (uint32_t l = 0; l < texture->levelCount(); ++l) {
            const uint8_t* p = texture->levelBits(l);
            out.insert(out.end(), p, p + size_t{texture->levelPitch(l)} * texture->levelHeight(l));
        }
        return out;
    }

    std::filesystem::path dir;
    gfx::Texture* texture = nullptr;
};

}  // namespace

// 320 x 240 gives 512 x 256 with ten levels in the default pool: the image at the top-left,
// black keyed, (0, 0, 1) opaque, transparent black elsewhere.
TEST_F(TextureLoader, SpriteSheetSizedImageFillsTheTopLeft) {
    ASSERT_EQ(loadBmp(patternFile(320, 240, false)), kOk);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width(), 512u);
    EXPECT_EQ(texture->height(), 256u);
    EXPECT_EQ(texture->levelCount(), 10u);
    EXPECT_EQ(texture->format(), gfx::Format::A8R8G8B8);
    EXPECT_EQ(texture->pool(), gfx::Pool::Default);
    int mismatches = 0;
    for (uint32_t y = 0; y < 256; ++y) {
        for (uint32_t x = 0; x < 512; ++x) {
            uint32_t expected = 0;
            if (x < 320 && y < 240 && patternPixel(x, y) != 0) {
                expected = 0xFF000000 | patternPixel(x, y);
            }
            if (texel32(0, x, y) != expected) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(texel32(0, 5, 7), 0u);
    EXPECT_EQ(texel32(0, 6, 7), 0xFF000001u);
    // What the sampler reads is the same.
    EXPECT_EQ(texture->samplePixels()[7 * 512 + 6], 0xFF000001u);
    // Only the texture is left: the staging copy is gone.
    EXPECT_EQ(device->defaultPoolObjects(), 1);
}

TEST_F(TextureLoader, SquarePowerOfTwoImageKeepsItsSize) {
    ASSERT_EQ(loadBmp(patternFile(256, 256, false)), kOk);
    EXPECT_EQ(texture->width(), 256u);
    EXPECT_EQ(texture->height(), 256u);
    EXPECT_EQ(texture->levelCount(), 9u);
}

TEST_F(TextureLoader, BottomUpAndTopDownGiveIdenticalTextures) {
    ASSERT_EQ(loadBmp(patternFile(37, 21, false)), kOk);
    const Bytes bottomUp = levelBytes();
    ASSERT_EQ(loadBmp(patternFile(37, 21, true)), kOk);
    EXPECT_EQ(levelBytes(), bottomUp);
    EXPECT_EQ(texture->width(), 64u);
    EXPECT_EQ(texture->height(), 32u);
}

// The lower levels average 2 x 2 blocks of the level above.
TEST_F(TextureLoader, LowerLevelsAreBoxFiltered) {
    BmpFile f;
    f.width = 2;
    f.height = -2;
    f.pixels = packRows({pixelRow({0xFF0000, 0x00FF00}, 3), pixelRow({0x0000FF, 0}, 3)}, true);
    ASSERT_EQ(loadBmp(f), kOk);
    ASSERT_EQ(texture->levelCount(), 2u);
    EXPECT_EQ(texel32(0, 1, 1), 0u);
    // Three opaque texels and one transparent: each colour 63.75, alpha 191.25.
    EXPECT_EQ(texel32(1, 0, 0), 0xBF404040u);
}

TEST_F(TextureLoader, PaletteBlackIsKeyedAndTheTextureHasAlpha) {
    BmpFile f;
    f.bits = 4;
    f.coloursUsed = 3;
    f.colourTable = {0xFFFFFF, 0x000000, 0x0000FF};
    f.width = 3;
    f.height = 1;
    f.pixels = {0x01, 0x20, 0, 0};
    ASSERT_EQ(loadBmp(f), kOk);
    EXPECT_EQ(texture->format(), gfx::Format::A8R8G8B8);
    EXPECT_EQ(texel32(0, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(texel32(0, 1, 0), 0u);
    EXPECT_EQ(texel32(0, 2, 0), 0xFF0000FFu);

    f.colourTable = {0xFFFFFF, 0x000001, 0x0000FF};
    ASSERT_EQ(loadBmp(f), kOk);
    EXPECT_EQ(texture->format(), gfx::Format::X8R8G8B8);
}

TEST_F(TextureLoader, FiveFiveFiveBecomesA1R5G5B5) {
    BmpFile f;
    f.bits = 16;
    f.width = 2;
    f.height = 1;
    f.pixels = pixelRow({0x0000, 0x7FFF}, 2);
    ASSERT_EQ(loadBmp(f), kOk);
    EXPECT_EQ(texture->format(), gfx::Format::A1R5G5B5);
    const uint8_t* p = texture->levelBits(0);
    EXPECT_EQ(p[0] | (p[1] << 8), 0x0000);
    EXPECT_EQ(p[2] | (p[3] << 8), 0xFFFF);
}

// Masks the table does not know decode to floats; the device has no float textures, so the
// nearest format it has takes them.
TEST_F(TextureLoader, FloatImageLandsInTheNearestSupportedFormat) {
    BmpFile f;
    f.headerSize = 56;
    f.compression = 3;
    f.bits = 16;
    f.redMask = 0x000F;
    f.greenMask = 0x00F0;
    f.blueMask = 0x0F00;
    f.alphaMask = 0xF000;
    f.width = 2;
    f.height = 1;
    f.pixels = pixelRow({0xF00F, 0xF000}, 2);
    ASSERT_EQ(loadBmp(f), kOk);
    EXPECT_EQ(texture->format(), gfx::Format::A8R8G8B8);
    EXPECT_EQ(texel32(0, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(texel32(0, 1, 0), 0u);  // opaque black: keyed
}

TEST_F(TextureLoader, RefusedFilesGiveTheInvalidDataResult) {
    BmpFile tooLong = patternFile(4, 4, false);
    tooLong.fileSizeField = 100000;
    BmpFile bitFields40 = patternFile(4, 4, false);
    bitFields40.compression = 3;
    bitFields40.bits = 32;
    BmpFile hostile = patternFile(4, 4, false);
    hostile.width = 0x40000000;
    hostile.height = 0x40000000;
    for (const BmpFile& f : {tooLong, bitFields40, hostile}) {
        const std::string path = writeFile("image.bmp", bmptest::writeBmp(f));
        gfx::Texture* out = reinterpret_cast<gfx::Texture*>(&out);  // must be emptied
        EXPECT_EQ(createTextureFromFile(device, path.c_str(), kTextureDefault, kTextureDefault, 0,
                                        0, gfx::Format::Unknown, gfx::Pool::Default, kFilterNone,
                                        kTextureDefault, kKey, nullptr, nullptr, &out),
                  kInvalidData);
        EXPECT_EQ(out, nullptr);
    }
    const Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                       0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    EXPECT_EQ(load(writeFile("image.png", png)), kInvalidData);
    EXPECT_EQ(load((dir / "missing.bmp").string()), kInvalidData);
    EXPECT_EQ(load(dir.string()), kInvalidData);  // a folder
    EXPECT_EQ(device->defaultPoolObjects(), 0);
}

TEST_F(TextureLoader, MissingArgumentsAndEmptyFilesAreInvalidCalls) {
    const std::string good = writeFile("good.bmp", bmptest::writeBmp(patternFile(2, 2, false)));
    auto call = [&](gfx::Device* d, const char* path, gfx::Texture** out, uint32_t filter,
                    uint32_t mipFilter) {
        return createTextureFromFile(d, path, kTextureDefault, kTextureDefault, 0, 0,
                                     gfx::Format::Unknown, gfx::Pool::Default, filter, mipFilter,
                                     kKey, nullptr, nullptr, out);
    };
    EXPECT_EQ(call(nullptr, good.c_str(), &texture, kFilterNone, kTextureDefault), kInvalidCall);
    EXPECT_EQ(call(device, nullptr, &texture, kFilterNone, kTextureDefault), kInvalidCall);
    EXPECT_EQ(call(device, good.c_str(), nullptr, kFilterNone, kTextureDefault), kInvalidCall);
    EXPECT_EQ(call(device, good.c_str(), &texture, 3, kTextureDefault), kInvalidCall);
    EXPECT_EQ(call(device, good.c_str(), &texture, kFilterNone, 2), kInvalidCall);
    EXPECT_EQ(load(writeFile("empty.bmp", {})), kInvalidCall);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(call(device, good.c_str(), &texture, kFilterNone, kFilterBox), kOk);
}

// The device's limits: maximum sides, square-only, aspect ratio, no mip-mapping.
TEST_F(TextureLoader, SizeIsFittedToTheDevice) {
    struct Case {
        const char* what;
        void (*limit)(gfx::DeviceCaps&);
        uint32_t width, height, levels;
    };
    const Case cases[] = {
        {"maximum 256 x 128",
         [](gfx::DeviceCaps& c) {
             c.maxTextureWidth = 256;
             c.maxTextureHeight = 128;
         },
         256, 128, 9},
        {"square only", [](gfx::DeviceCaps& c) { c.textureCaps |= gfx::textureCaps::SquareOnly; },
         256, 256, 9},
        {"aspect ratio 1", [](gfx::DeviceCaps& c) { c.maxTextureAspectRatio = 1; }, 256, 256, 9},
        {"no mip-mapping", [](gfx::DeviceCaps& c) { c.textureCaps &= ~gfx::textureCaps::MipMap; },
         512, 256, 1},
        {"maximum 300 with powers of two",
         [](gfx::DeviceCaps& c) {
             c.maxTextureWidth = 300;
             c.textureCaps |= gfx::textureCaps::Pow2;
         },
         256, 256, 9},
    };
    const std::string path =
        writeFile("sheet.bmp", bmptest::writeBmp(patternFile(320, 240, false)));
    for (const Case& c : cases) {
        gfx::adapterProfile() = gfx::defaultAdapterProfile();
        c.limit(gfx::adapterProfile().caps);
        ASSERT_EQ(load(path), kOk) << c.what;
        EXPECT_EQ(texture->width(), c.width) << c.what;
        EXPECT_EQ(texture->height(), c.height) << c.what;
        EXPECT_EQ(texture->levelCount(), c.levels) << c.what;
        // Unscaled: what fits keeps its place, the rest is dropped.
        EXPECT_EQ(texel32(0, 6, 7), 0xFF000001u) << c.what;
        EXPECT_EQ(texel32(0, 100, 100), 0xFF000000u | patternPixel(100, 100)) << c.what;
    }
}

// Without the chosen format the nearest supported one is taken; with none, not available.
TEST_F(TextureLoader, FormatIsFittedToTheDevice) {
    const std::string path = writeFile("sheet.bmp", bmptest::writeBmp(patternFile(4, 4, false)));
    gfx::adapterProfile().textureFormats &= ~gfx::formatBit(gfx::Format::A8R8G8B8);
    ASSERT_EQ(load(path), kOk);
    EXPECT_EQ(texture->format(), gfx::Format::A8B8G8R8);
    EXPECT_EQ(texel32(0, 1, 0), 0xFF000101u);  // red 1, green 1, blue 0 as A8B8G8R8

    gfx::adapterProfile().textureFormats =
        gfx::formatBit(gfx::Format::A4R4G4B4) | gfx::formatBit(gfx::Format::R5G6B5);
    ASSERT_EQ(load(path), kOk);
    EXPECT_EQ(texture->format(), gfx::Format::A4R4G4B4);

    gfx::adapterProfile().textureFormats = 0;
    EXPECT_EQ(load(path), kNotAvailable);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device->defaultPoolObjects(), 0);
}

TEST_F(TextureLoader, SourceInformationExplicitArgumentsAndOtherPools) {
    const std::string path = writeFile("sheet.bmp", bmptest::writeBmp(patternFile(9, 8, false)));
    ImageInfo info;
    ASSERT_EQ(createTextureFromFile(device, path.c_str(), 16, 8, 2, 0, gfx::Format::A8R8G8B8,
                                    gfx::Pool::Managed, kFilterNone, kFilterBox, kNoColourKey,
                                    &info, nullptr, &texture),
              kOk);
    EXPECT_EQ(info.width, 9u);
    EXPECT_EQ(info.height, 8u);
    EXPECT_EQ(info.format, Format::R8G8B8);
    EXPECT_EQ(texture->width(), 16u);
    EXPECT_EQ(texture->height(), 8u);
    EXPECT_EQ(texture->levelCount(), 2u);
    EXPECT_EQ(texture->pool(), gfx::Pool::Managed);
    EXPECT_EQ(texture->format(), gfx::Format::A8R8G8B8);
    // No key: black stays opaque black.
    EXPECT_EQ(texel32(0, 5, 7), 0xFF000000u);
    EXPECT_EQ(texel32(0, 9, 0), 0u);
}

// The sprite sheet as the game itself sees it: read by the game's texture loader with the game's
// colour key, every texel must be the file's pixel, opaque, or transparent where the file is
// pure black. Together with the sheet's own contract tests this ties the picture on screen to
// the file on disk.
#include <gtest/gtest.h>

#include "asset_files.h"
#include "gfx/gfx_fixture.h"
#include "platform/gfx/format.h"
#include "render/facility/texture_loader.h"

namespace asset_test {
namespace {

class SheetThroughTheLoader : public GfxTest {};

TEST_F(SheetThroughTheLoader, EveryTexelIsTheFilesPixelWithBlackKeyedOut) {
    std::string why;
    const auto file = decodeBmp(readFile(resFolder() / "image.bmp"), &why);
    ASSERT_TRUE(file) << why;

    createDevice();
    texload::ImageInfo info;
    plat::gfx::Texture* texture = nullptr;
    // The game's arguments, except the pool: a managed texture can be read back.
    ASSERT_EQ(
        texload::createTextureFromFile(
            device, (resFolder() / "image.bmp").c_str(), texload::kTextureDefault,
            texload::kTextureDefault, 0, 0, plat::gfx::Format::Unknown, plat::gfx::Pool::Managed,
            texload::kFilterNone, texload::kTextureDefault, 0xFF000000u, &info, nullptr, &texture),
        plat::kOk);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(info.width, static_cast<uint32_t>(file->width));
    EXPECT_EQ(info.height, static_cast<uint32_t>(file->height));
    ASSERT_GE(texture->width(), info.width);
    ASSERT_GE(texture->height(), info.height);

    plat::gfx::LockedRect locked;
    ASSERT_EQ(texture->lockRect(0, locked, nullptr, 0), plat::kOk);
    const int bpp = plat::gfx::bytesPerPixel(texture->format());
    int mismatches = 0;
    for (int y = 0; y < file->height; ++y) {
        const auto* row = static_cast<const uint8_t*>(locked.bits) + y * locked.pitch;
        for (int x = 0; x < file->width; ++x) {
            const Pixel p = file->at(x, y);
            const uint32_t want =
                p.isBlack() ? 0u : (0xFF000000u | uint32_t{p.r} << 16 | uint32_t{p.g} << 8 | p.b);
            const uint32_t got = plat::gfx::decodePixel(texture->format(), row + x * bpp);
            if (got != want && ++mismatches <= 5)
                ADD_FAILURE() << "texel " << x << ", " << y << " is " << std::hex << got
                              << ", the file gives " << want;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The rectangle primitive's white texel.
    const auto* white = static_cast<const uint8_t*>(locked.bits) + 129 * locked.pitch + 1 * bpp;
    EXPECT_EQ(plat::gfx::decodePixel(texture->format(), white), 0xFFFFFFFFu);
    texture->unlockRect(0);
    plat::releaseRef(texture);
}

}  // namespace
}  // namespace asset_test

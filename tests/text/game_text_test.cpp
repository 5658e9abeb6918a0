// The game's three fonts and drawText, on the software device.

#include <gtest/gtest.h>

#include "gfx/gfx_fixture.h"
#include "render/draw.h"
#include "render/facility/text_font.h"
#include "render/graphics.h"
#include "render/graphics_objects.h"
#include "render/messages.h"
#include "text/text_fixture.h"

using namespace plat::gfx;
using namespace textfix;

namespace {

class GameText : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
        graphicsDevice = device;
    }
    void TearDown() override {
        releaseFonts();
        graphicsDevice = nullptr;
        GfxTest::TearDown();
    }
    uint64_t pictureSum() const {
        uint64_t sum = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) sum += device->backBufferPixel(x, y);
        return sum;
    }
};

}  // namespace

// Font size 0 is 12 pixels, 1 is 16 pixels bold, 2 is 32 pixels, all from "ＭＳ ゴシック";
// releasing empties every entry, and releasing again does nothing.
TEST_F(GameText, CreatesTheThreeFonts) {
    createFonts();
    const int heights[3] = {12, 16, 32};
    for (int i = 0; i < kTextFontCount; ++i) {
        ASSERT_NE(textFonts[i], nullptr) << i;
        EXPECT_STREQ(textFonts[i]->desc().faceName, kFontFace);
        Rect r{0, 0, 0, 0};
        EXPECT_EQ(textFonts[i]->renderText(kSunk, -1, &r, textFormat::NoClip | textFormat::CalcRect,
                                           0xFFFFFFFF),
                  heights[i]);
        EXPECT_EQ(r.bottom, heights[i]);
        EXPECT_EQ(textFonts[i]->font().boldExtra() > 0, i == 1) << i;
    }
    releaseFonts();
    for (TextFont* f : textFonts) EXPECT_EQ(f, nullptr);
    releaseFonts();
}

// drawText puts the text's top-left corner at (x, y), exactly as the font's own call with an
// empty rectangle and NoClip; font sizes outside 0..2, or a font that was never made, draw
// nothing.
TEST_F(GameText, DrawTextPlacesTheWholeText) {
    createFonts();
    device->clear(0, nullptr, clearFlags::Target, 0, 1, 0);
    device->beginScene();
    drawText(64, 200, kPrompt, 0xFFFFFFFF, 1);
    device->endScene();
    std::vector<uint32_t> viaDrawText;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) viaDrawText.push_back(device->backBufferPixel(x, y));

    device->clear(0, nullptr, clearFlags::Target, 0, 1, 0);
    device->beginScene();
    Rect r{64, 200, 0, 0};
    textFonts[1]->renderText(kPrompt, -1, &r, textFormat::NoClip, 0xFFFFFFFF);
    device->endScene();
    Rect box{64, 200, 0, 0};
    textFonts[1]->renderText(kPrompt, -1, &box, textFormat::NoClip | textFormat::CalcRect, 0);
    int lit = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const uint32_t p = device->backBufferPixel(x, y);
            ASSERT_EQ(p, viaDrawText[y * 320 + x]) << x << "," << y;
            if (p == 0) continue;
            ++lit;
            EXPECT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom);
        }
    EXPECT_GT(lit, 100);

    device->clear(0, nullptr, clearFlags::Target, 0, 1, 0);
    device->beginScene();
    drawText(10, 10, kPrompt, 0xFFFFFFFF, 3);
    drawText(10, 10, kPrompt, 0xFFFFFFFF, -1);
    releaseFonts();
    drawText(10, 10, kPrompt, 0xFFFFFFFF, 0);
    device->endScene();
    EXPECT_EQ(pictureSum(), 0u);
}

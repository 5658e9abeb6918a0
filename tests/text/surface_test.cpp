// The text surface: measuring, placing, clipping and drawing text like a memory device context.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/text/font.h"
#include "platform/text/text_surface.h"
#include "render/messages.h"
#include "text/allocation_count.h"
#include "text/text_fixture.h"

using namespace plat::text;
using namespace textfix;

namespace {

// White text on an opaque background, one font per size the game uses.
class Surface : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            fonts[i] = Font::create(makeFontDesc(kHeights[i], kWeights[i], kFontFace));
            ASSERT_TRUE(fonts[i] && fonts[i]->hasFace());
        }
        ASSERT_TRUE(s.createBitmap(512, 160));
        s.setTextColour(0xFFFFFF);
        s.setBackgroundColour(0);
        s.setBackgroundMode(BackgroundMode::Opaque);
        s.selectFont(fonts[1].get());
    }
    void clear() { std::fill(s.pixels(), s.pixels() + s.width() * s.height(), 0u); }

    static constexpr int32_t kHeights[3] = {12, 16, 32};
    static constexpr int32_t kWeights[3] = {0, 700, 0};
    std::unique_ptr<Font> fonts[3];
    TextSurface s;
};

}  // namespace

// The measured box of every game text in every game font is exactly the box drawing fills (seen
// through a background of low byte 1), and the ink lies inside it.
TEST_F(Surface, MeasuredBoxIsTheDrawnBox) {
    for (int f = 0; f < 3; ++f) {
        s.selectFont(fonts[f].get());
        for (const char* text : {kPrompt, kSunk, kGameOver, kResult}) {
            const TextRect m = measure(s, text, textFormat::NoClip);
            EXPECT_EQ(m.bottom, kHeights[f]);
            EXPECT_GT(m.right, 0);

            clear();
            s.setBackgroundColour(0x000001);
            TextRect r{7, 5, 0, 0};
            EXPECT_EQ(s.drawText(text, -1, r, textFormat::NoClip), kHeights[f]);
            const TextRect filled = inkBox(s);
            EXPECT_EQ(filled.left, 7);
            EXPECT_EQ(filled.top, 5);
            EXPECT_EQ(filled.right, 7 + m.right) << f;
            EXPECT_EQ(filled.bottom, 5 + m.bottom) << f;

            clear();
            s.setBackgroundColour(0);
            r = TextRect{7, 5, 0, 0};
            s.drawText(text, -1, r, textFormat::NoClip);
            const TextRect ink = inkBox(s);
            EXPECT_LT(ink.left, ink.right);
            EXPECT_GE(ink.left, 7);
            EXPECT_GE(ink.top, 5);
            EXPECT_LE(ink.right, 7 + m.right);
            EXPECT_LE(ink.bottom, 5 + m.bottom);
        }
    }
}

// White on black leaves the coverage in every channel; a lone pixel of the background keeps its
// colour; antialiasing gives grey levels between 0 and 255.
TEST_F(Surface, WhiteOnBlackGivesGreyCoverage) {
    TextRect r{0, 0, 0, 0};
    s.selectFont(fonts[2].get());
    s.drawText(kSunk, -1, r, textFormat::NoClip);
    bool partial = false, full = false;
    for (int i = 0; i < s.width() * s.height(); ++i) {
        const uint32_t p = s.pixels()[i];
        const uint32_t b = p & 0xFF;
        ASSERT_EQ(p, b << 16 | b << 8 | b);
        partial |= b > 0 && b < 255;
        full |= b == 255;
    }
    EXPECT_TRUE(partial);
    EXPECT_TRUE(full);
}

// The bold font is wider by its emboldening on every character and has clearly more ink.
TEST_F(Surface, BoldIsWiderAndDarker) {
    auto regular = Font::create(makeFontDesc(16, 0, kFontFace));
    ASSERT_TRUE(regular && regular->hasFace());
    ASSERT_GT(fonts[1]->boldExtra(), 0);
    EXPECT_EQ(regular->boldExtra(), 0);

    s.selectFont(regular.get());
    const TextRect mr = measure(s, kPrompt);
    TextRect r{0, 0, 0, 0};
    s.drawText(kPrompt, -1, r, textFormat::NoClip);
    const uint64_t inkRegular = inkSum(s);

    clear();
    s.selectFont(fonts[1].get());
    const TextRect mb = measure(s, kPrompt);
    r = TextRect{0, 0, 0, 0};
    s.drawText(kPrompt, -1, r, textFormat::NoClip);
    const uint64_t inkBold = inkSum(s);

    EXPECT_EQ(mb.right - mr.right, 11 * fonts[1]->boldExtra());  // 11 characters
    EXPECT_EQ(mb.bottom, mr.bottom);
    EXPECT_GT(inkBold, inkRegular + inkRegular / 5);
}

// Placement against the rectangle (100, 20, 300, 80), seen through the filled background.
TEST_F(Surface, PlacementFlags) {
    const TextRect m = measure(s, kSunk);
    const int w = m.right, h = m.bottom;
    struct Case {
        const char* name;
        uint32_t format;
        int left, top, returned;
    } cases[] = {
        {"left top", 0, 100, 20, h},
        {"right", textFormat::Right, 300 - w, 20, h},
        {"centre", textFormat::Center, (400 - w) >> 1, 20, h},
        {"bottom, single line", textFormat::SingleLine | textFormat::Bottom, 100, 80 - h, 60},
        {"vcentre, single line", textFormat::SingleLine | textFormat::VCenter, 100, (100 - h) >> 1,
         ((100 - h) >> 1) - 20 + h},
        {"bottom needs single line", textFormat::Bottom, 100, 20, h},
    };
    s.setBackgroundColour(0x000001);
    for (const Case& c : cases) {
        clear();
        TextRect r{100, 20, 300, 80};
        EXPECT_EQ(s.drawText(kSunk, -1, r, c.format), c.returned) << c.name;
        const TextRect box = inkBox(s);
        EXPECT_EQ(box.left, c.left) << c.name;
        EXPECT_EQ(box.top, c.top) << c.name;
        EXPECT_EQ(box.right - box.left, w) << c.name;
        EXPECT_EQ(box.bottom - box.top, h) << c.name;
    }
}

// Without NoClip nothing lands outside the rectangle; with it the whole text is drawn.
TEST_F(Surface, ClipsToTheRectangleUnlessNoClip) {
    TextRect r{10, 10, 40, 18};
    s.drawText(kPrompt, -1, r, 0);
    const TextRect clipped = inkBox(s);
    EXPECT_GE(clipped.left, 10);
    EXPECT_GE(clipped.top, 10);
    EXPECT_LE(clipped.right, 40);
    EXPECT_LE(clipped.bottom, 18);

    clear();
    r = TextRect{10, 10, 40, 18};
    s.drawText(kPrompt, -1, r, textFormat::NoClip);
    const TextRect whole = inkBox(s);
    EXPECT_GT(whole.right, 100);
    EXPECT_GT(whole.bottom, 20);

    // Text running off the bitmap's edges is cut there.
    clear();
    r = TextRect{s.width() - 20, s.height() - 5, 0, 0};
    s.drawText(kPrompt, -1, r, textFormat::NoClip);
    r = TextRect{-30, -8, 0, 0};
    s.drawText(kPrompt, -1, r, textFormat::NoClip);
    EXPECT_GT(inkSum(s), 0u);
}

// Lines, prefixes and counts.
TEST_F(Surface, LinesPrefixesAndCounts) {
    const int cell = fonts[1]->cellHeight();
    EXPECT_EQ(measure(s, "ab\r\ncd\nef\rgh").bottom, 4 * cell);
    EXPECT_EQ(measure(s, "ab\r\ncd", textFormat::SingleLine).bottom, cell);
    EXPECT_EQ(measure(s, "abcd\nab").right, measure(s, "abcd").right);
    EXPECT_EQ(measure(s, "&&a&b").right, measure(s, "&ab", textFormat::NoPrefix).right);

    TextRect r{0, 0, 0, 0};
    s.drawText("abcdef", 2, r, textFormat::CalcRect);
    EXPECT_EQ(r.right, measure(s, "ab").right);

    // Nothing to draw: no text, a count below -1, no font.
    r = TextRect{0, 0, 0, 0};
    EXPECT_EQ(s.drawText(nullptr, -1, r, textFormat::NoClip), 0);
    EXPECT_EQ(s.drawText("ab", -2, r, textFormat::NoClip), 0);
    s.selectFont(nullptr);
    EXPECT_EQ(s.drawText("ab", -1, r, textFormat::NoClip), 0);
    EXPECT_EQ(inkSum(s), 0u);
}

// Drawing is repeatable to the pixel and, once a text's glyphs are cached, allocates nothing.
TEST_F(Surface, RepeatableAndAllocationFreeOnceWarm) {
    TextRect r{3, 4, 0, 0};
    s.drawText(kResult, -1, r, textFormat::NoClip);
    const std::vector<uint32_t> first(s.pixels(), s.pixels() + s.width() * s.height());

    const size_t before = allocationCount();
    for (int i = 0; i < 10; ++i) {
        clear();
        r = TextRect{3, 4, 0, 0};
        s.drawText(kResult, -1, r, textFormat::NoClip);
        TextRect m{0, 0, 0, 0};
        s.drawText(kResult, -1, m, textFormat::CalcRect);
    }
    EXPECT_EQ(allocationCount(), before);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), s.pixels()));
}

// Bitmaps of no size or of absurd size are refused and the old one is kept.
TEST_F(Surface, RefusesBadBitmapSizes) {
    EXPECT_FALSE(s.createBitmap(0, 10));
    EXPECT_FALSE(s.createBitmap(10, -1));
    EXPECT_FALSE(s.createBitmap(TextSurface::kMaxSide + 1, 1));
    EXPECT_EQ(s.width(), 512);
    EXPECT_EQ(s.height(), 160);
    EXPECT_TRUE(s.createBitmap(384, 256));
    EXPECT_EQ(s.width(), 384);
}

// Which face a font gets: a Japanese face for the game's "ＭＳ ゴシック", the fallbacks in order,
// any face when no Japanese one is installed, and none at all.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "platform/text/face_resolver.h"
#include "platform/text/font.h"
#include "render/messages.h"
#include "text/text_fixture.h"

using namespace plat::text;
using namespace textfix;

TEST(FaceResolution, GameFaceResolvesToAJapaneseFace) {
    const FaceChoice c = resolveFace("ＭＳ ゴシック", 16, false);
    ASSERT_TRUE(c.source == FaceSource::Requested || c.source == FaceSource::Fallback)
        << "no Japanese face installed?";
    EXPECT_TRUE(coversJapanese(c.file.c_str(), c.index)) << c.file;

    // The fonts the game makes (face name in Shift-JIS) get it too, and draw kanji.
    for (int32_t height : {12, 16, 32}) {
        auto font = Font::create(makeFontDesc(height, height == 16 ? 700 : 0, kFontFace));
        ASSERT_NE(font, nullptr);
        ASSERT_TRUE(font->hasFace());
        EXPECT_TRUE(coversJapanese(font->face().file.c_str(), font->face().index));
        const Glyph& g = font->glyph(U'漢');
        EXPECT_GT(int{g.width} * g.height, 0) << height;
        EXPECT_GT(g.advance, 0);
    }
}

class OwnFontFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        latin = systemFontFile("DejaVu Sans");
        japanese = systemFontFile("IPAGothic");
        if (latin.empty() || japanese.empty()) GTEST_SKIP() << "needs DejaVu Sans and IPAGothic";
    }
    void TearDown() override { useSystemFonts(); }
    std::string latin, japanese;
};

// The requested family exists but has no Japanese: the first installed fallback is taken.
TEST_F(OwnFontFolders, FallsBackToAJapaneseFaceByName) {
    const std::string dir = freshFolder("both");
    ASSERT_TRUE(copyInto(latin, dir));
    ASSERT_TRUE(copyInto(japanese, dir));
    useFontFolders({dir});
    const FaceChoice c = resolveFace("DejaVu Sans", 16, false);
    EXPECT_EQ(c.source, FaceSource::Fallback);
    EXPECT_EQ(c.family, "IPAGothic");
    EXPECT_TRUE(coversJapanese(c.file.c_str(), c.index));
}

// No Japanese face at all: any face is used, with one notice for the whole run; Latin text still
// draws.
TEST_F(OwnFontFolders, WithoutJapaneseFacesUsesAnyFaceAndSaysSoOnce) {
    const std::string dir = freshFolder("latin");
    ASSERT_TRUE(copyInto(latin, dir));
    useFontFolders({dir});

    ::testing::internal::CaptureStderr();
    const FaceChoice first = resolveFace("ＭＳ ゴシック", 16, false);
    const std::string told = ::testing::internal::GetCapturedStderr();
    ::testing::internal::CaptureStderr();
    resolveFace("ＭＳ ゴシック", 32, false);
    const std::string toldAgain = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(first.source, FaceSource::AnyFace);
    EXPECT_EQ(first.family, "DejaVu Sans");
    EXPECT_NE(told.find("no Japanese font"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1);
    EXPECT_EQ(toldAgain, "");

    auto font = Font::create(makeFontDesc(16, 0, kFontFace));
    ASSERT_NE(font, nullptr);
    ASSERT_TRUE(font->hasFace());
    TextSurface s;
    ASSERT_TRUE(s.createBitmap(256, 64));
    s.selectFont(font.get());
    s.setTextColour(0xFFFFFF);
    s.setBackgroundColour(0);
    TextRect r{0, 0, 0, 0};
    s.drawText(kGameOver, -1, r, textFormat::NoClip);
    EXPECT_GT(inkSum(s), 0u);
}

// No face at all: the font still exists and measures one cell high, but is 0 wide and draws
// nothing, not even its background.
TEST_F(OwnFontFolders, WithoutAnyFaceTextDrawsNothing) {
    useFontFolders({freshFolder("empty")});
    EXPECT_EQ(resolveFace("ＭＳ ゴシック", 16, false).source, FaceSource::None);

    auto font = Font::create(makeFontDesc(16, 700, kFontFace));
    ASSERT_NE(font, nullptr);
    EXPECT_FALSE(font->hasFace());
    TextSurface s;
    ASSERT_TRUE(s.createBitmap(256, 64));
    s.selectFont(font.get());
    s.setTextColour(0xFFFFFF);
    s.setBackgroundColour(0x808080);
    const TextRect m = measure(s, kPrompt);
    EXPECT_EQ(m.right, 0);
    EXPECT_EQ(m.bottom, 16);
    TextRect r{10, 10, 0, 0};
    EXPECT_EQ(s.drawText(kPrompt, -1, r, textFormat::NoClip), 16);
    EXPECT_EQ(inkSum(s), 0u);
}

namespace {

// The face's Windows ascent and descent and its units per em, read straight from the file.
struct WinMetrics {
    int64_t upem = 0, ascent = 0, descent = 0;
};
WinMetrics winMetrics(const FaceChoice& c) {
    WinMetrics m;
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) return m;
    FT_Face face;
    if (FT_New_Face(lib, c.file.c_str(), c.index, &face) == 0) {
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            m.upem = face->units_per_EM;
            m.ascent = os2->usWinAscent;
            m.descent = os2->usWinDescent;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(lib);
    return m;
}
int64_t scaled(int64_t units, int64_t pixels, int64_t upem) {
    return (2 * units * pixels + upem) / (2 * upem);
}

}  // namespace

// A positive height is the cell (ascent + descent by the Windows metrics), a negative one the em;
// text measures one cell high and its ink stays inside the cell.
TEST(FontMetrics, PositiveHeightIsTheCellNegativeTheEm) {
    for (int32_t h : {12, 16, 32}) {
        for (int32_t sign : {1, -1}) {
            auto font = Font::create(makeFontDesc(sign * h, 0, kFontFace));
            ASSERT_TRUE(font && font->hasFace());
            const WinMetrics wm = winMetrics(font->face());
            ASSERT_GT(wm.upem, 0);
            if (sign > 0) {
                EXPECT_EQ(font->cellHeight(), h);
                EXPECT_EQ(font->emPixels(), scaled(wm.upem, h, wm.ascent + wm.descent)) << h;
                EXPECT_EQ(font->ascent(), scaled(wm.ascent, font->emPixels(), wm.upem));
            } else {
                EXPECT_EQ(font->emPixels(), h);
                EXPECT_EQ(font->cellHeight(),
                          scaled(wm.ascent, h, wm.upem) + scaled(wm.descent, h, wm.upem));
            }
            TextSurface s;
            ASSERT_TRUE(s.createBitmap(512, 64));
            s.selectFont(font.get());
            s.setTextColour(0xFFFFFF);
            s.setBackgroundColour(0);
            const TextRect m = measure(s, kSunk);
            EXPECT_EQ(m.bottom - m.top, font->cellHeight()) << sign * h;
            TextRect r{0, 0, 0, 0};
            EXPECT_EQ(s.drawText(kSunk, -1, r, textFormat::NoClip), font->cellHeight());
            const TextRect ink = inkBox(s);
            EXPECT_GE(ink.top, 0);
            EXPECT_LE(ink.bottom, font->cellHeight()) << sign * h;
        }
    }
}

// Bad descriptions make a usable font: sizes are bounded, a face name without its NUL is cut.
TEST(FontMetrics, OutlandishDescriptionsAreBounded) {
    FontDesc d = makeFontDesc(INT32_MIN, 1000000, kFontFace);
    auto huge = Font::create(d);
    ASSERT_NE(huge, nullptr);
    EXPECT_LE(huge->cellHeight(), 2048);
    EXPECT_GT(huge->cellHeight(), 0);

    std::memset(d.faceName, 'x', sizeof d.faceName);
    d.height = INT32_MAX;
    auto unterminated = Font::create(d);
    ASSERT_NE(unterminated, nullptr);
    EXPECT_LE(unterminated->cellHeight(), 1024);
    TextSurface s;
    ASSERT_TRUE(s.createBitmap(64, 64));
    s.selectFont(unterminated.get());
    TextRect r{-5, -5, 0, 0};
    s.drawText("12", -1, r, textFormat::NoClip);  // mostly off the bitmap: clipped, no crash
    EXPECT_GT(inkSum(s), 0u);
}

// The text font facility on the software device: placement, blending, the growing surface, the
// box-only upload, failures and the device's limits.

#include "render/facility/text_font.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/gfx_fixture.h"
#include "render/facility/text_renderer.h"
#include "render/messages.h"
#include "text/allocation_count.h"
#include "text/text_fixture.h"

using namespace plat::gfx;
using plat::text::FontDesc;
using plat::text::makeFontDesc;
using namespace textfix;

namespace {

// The coverage of a text as the text rasteriser gives it, drawn alone at (0, 0).
struct Coverage {
    int width = 0, height = 0;
    std::vector<uint8_t> values;
    int at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? values[y * width + x] : 0;
    }
};

Coverage referenceCoverage(const FontDesc& desc, const char* text) {
    auto font = plat::text::Font::create(desc);
    plat::text::TextSurface s;
    s.createBitmap(1024, 64);
    s.selectFont(font.get());
    s.setTextColour(0xFFFFFF);
    s.setBackgroundColour(0);
    const plat::text::TextRect m = measure(s, text);
    plat::text::TextRect r{0, 0, m.right, m.bottom};
    s.drawText(text, -1, r, textFormat::NoClip);
    Coverage c{m.right, m.bottom, {}};
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) c.values.push_back(s.pixel(x, y) & 0xFF);
    return c;
}

int channel(uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

class TextFontTest : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
    }
    void TearDown() override {
        for (TextFont*& f : fonts) plat::releaseRef(f);
        GfxTest::TearDown();
    }
    TextFont* makeFont(int32_t height, int32_t weight) {
        const FontDesc d = makeFontDesc(height, weight, kFontFace);
        TextFont* f = nullptr;
        EXPECT_EQ(createTextFont(device, &d, &f), plat::kOk);
        fonts.push_back(f);
        return f;
    }
    void clear(uint32_t colour) { device->clear(0, nullptr, clearFlags::Target, colour, 1, 0); }
    int render(TextFont* f, const char* text, Rect rect, uint32_t format, uint32_t colour,
               int count = -1) {
        device->beginScene();
        const int h = f->renderText(text, count, &rect, format, colour);
        device->endScene();
        return h;
    }
    // The largest channel difference between the back buffer and `expected(x, y)` over the
    // whole back buffer.
    template <typename F>
    int worstDifference(F expected) const {
        int worst = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                const uint32_t got = device->backBufferPixel(x, y), want = expected(x, y);
                for (int s : {0, 8, 16})
                    worst = std::max(worst, std::abs(channel(got, s) - channel(want, s)));
            }
        return worst;
    }

    std::vector<TextFont*> fonts;
};

}  // namespace

// Count -1 draws up to the NUL; NoClip with an empty rectangle puts the whole text's top-left at
// (left, top); white text over black shows exactly the coverage, and nothing lands elsewhere.
TEST_F(TextFontTest, WholeTextAtLeftTopShowsTheCoverage) {
    TextFont* f = makeFont(16, 700);
    const Coverage c = referenceCoverage(makeFontDesc(16, 700, kFontFace), kPrompt);
    ASSERT_GT(c.width, 64);  // more than one tile across, one tile down
    clear(0);
    EXPECT_EQ(render(f, kPrompt, Rect{40, 50, 0, 0}, textFormat::NoClip, 0xFFFFFFFF), 16);
    EXPECT_LE(worstDifference([&](int x, int y) {
                  const uint32_t v = static_cast<uint32_t>(c.at(x - 40, y - 50));
                  return v << 16 | v << 8 | v;
              }),
              1);

    // An explicit byte count draws only those bytes: the first two characters.
    const Coverage two = referenceCoverage(makeFontDesc(16, 700, kFontFace), "\x83X\x83y");
    clear(0);
    render(f, kPrompt, Rect{40, 50, 0, 0}, textFormat::NoClip, 0xFFFFFFFF, 4);
    EXPECT_LE(worstDifference([&](int x, int y) {
                  const uint32_t v = static_cast<uint32_t>(two.at(x - 40, y - 50));
                  return v << 16 | v << 8 | v;
              }),
              1);
}

// Colour alpha 0x80 draws every text pixel at half its coverage over what lies beneath, in the
// call's colour, even after the game set ONE/ONE blend factors on the device; the factors the
// caller set are still in force afterwards.
TEST_F(TextFontTest, HalfAlphaBlendsAtHalfCoverage) {
    TextFont* f = makeFont(32, 0);
    const Coverage c = referenceCoverage(makeFontDesc(32, 0, kFontFace), kSunk);
    const uint32_t under = 0x204080;
    clear(under);
    device->setRenderState(RenderState::SrcBlend, blend::One);
    device->setRenderState(RenderState::DestBlend, blend::One);
    render(f, kSunk, Rect{10, 100, 0, 0}, textFormat::NoClip, 0x80FF0000);
    EXPECT_LE(worstDifference([&](int x, int y) {
                  const double a = c.at(x - 10, y - 100) / 255.0 * (0x80 / 255.0);
                  uint32_t out = 0;
                  for (int s : {0, 8, 16}) {
                      const double src = s == 16 ? 255.0 : 0.0;
                      const double v = src * a + channel(under, s) * (1 - a);
                      out |= static_cast<uint32_t>(v + 0.5) << s;
                  }
                  return out;
              }),
              1);
    uint32_t v = 0;
    device->getRenderState(RenderState::SrcBlend, v);
    EXPECT_EQ(v, blend::One);
    device->getRenderState(RenderState::DestBlend, v);
    EXPECT_EQ(v, blend::One);
}

// The surface grows by half its side until a text fits (256, 384, 576) and never shrinks; a text
// too wide for any surface returns 0 and draws nothing.
TEST_F(TextFontTest, SurfaceGrowsAndNeverShrinks) {
    TextFont* big = makeFont(32, 0);
    TextFont* small = makeFont(12, 0);
    const plat::text::TextSurface& s = big->renderer().surface();
    EXPECT_EQ(&s, &small->renderer().surface());  // one renderer per device
    EXPECT_EQ(s.width(), 256);
    EXPECT_EQ(s.height(), 256);

    render(big, kPrompt, Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);  // 11 full-width
    const int promptWidth = referenceCoverage(makeFontDesc(32, 0, kFontFace), kPrompt).width;
    ASSERT_GT(promptWidth, 256);
    ASSERT_LE(promptWidth, 384);
    EXPECT_EQ(s.width(), 384);
    EXPECT_EQ(s.height(), 256);

    render(small, "ab", Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    EXPECT_EQ(s.width(), 384);

    const std::string longer = std::string(kPrompt) + kSunk;
    const int longerWidth = referenceCoverage(makeFontDesc(32, 0, kFontFace), longer.c_str()).width;
    ASSERT_GT(longerWidth, 384);
    ASSERT_LE(longerWidth, 576);
    render(big, longer.c_str(), Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    EXPECT_EQ(s.width(), 576);
    EXPECT_EQ(s.height(), 256);

    std::string endless;
    for (int i = 0; i < 1000; ++i) endless += "\x8A\xBF";  // 1000 kanji, far wider than 16384
    clear(0);
    EXPECT_EQ(render(big, endless.c_str(), Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF), 0);
    EXPECT_EQ(worstDifference([](int, int) { return 0u; }), 0);
    EXPECT_EQ(s.width(), 576);
}

// Only the measured box is uploaded and drawn: pixels the surface still holds from an earlier,
// larger text (or that glyphs paint beyond the box) never reach the picture. Checked with the
// one dynamic tile texture and with the ring of eight managed ones.
TEST_F(TextFontTest, OnlyTheBoxIsDrawn) {
    for (bool dynamic : {true, false}) {
        for (TextFont*& f : fonts) plat::releaseRef(f);
        fonts.clear();
        plat::releaseRef(device);
        adapterProfile().caps.caps2 = dynamic ? caps2::DynamicTextures : 0;
        createDevice();
        TextFont* big = makeFont(32, 0);
        TextFont* small = makeFont(12, 0);
        EXPECT_EQ(big->renderer().dynamicTiles(), dynamic);
        EXPECT_EQ(big->renderer().tileTextureCount(), dynamic ? 1 : 8);

        render(big, kPrompt, Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
        const Coverage c = referenceCoverage(makeFontDesc(12, 0, kFontFace), "ab");
        clear(0);
        render(small, "ab", Rect{100, 100, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
        EXPECT_LE(worstDifference([&](int x, int y) {
                      const uint32_t v = static_cast<uint32_t>(c.at(x - 100, y - 100));
                      return v << 16 | v << 8 | v;
                  }),
                  1)
            << (dynamic ? "dynamic" : "managed");
    }
}

// Without NoClip the box is the measured text cut to the rectangle; CalcRect returns the placed
// box and draws nothing.
TEST_F(TextFontTest, CalcRectPlacesTheBox) {
    TextFont* f = makeFont(16, 700);
    const Coverage c = referenceCoverage(makeFontDesc(16, 700, kFontFace), kSunk);
    const int w = c.width, h = c.height;
    struct Case {
        const char* name;
        Rect rect;
        uint32_t format;
        Rect expected;
    } cases[] = {
        {"no clip, empty rectangle",
         {64, 160, 0, 0},
         textFormat::NoClip,
         {64, 160, 64 + w, 160 + h}},
        {"right", {100, 20, 300, 80}, textFormat::Right, {300 - w, 20, 300, 20 + h}},
        {"centre",
         {100, 20, 300, 80},
         textFormat::Center,
         {(400 - w) >> 1, 20, ((400 - w) >> 1) + w, 20 + h}},
        {"bottom", {100, 20, 300, 80}, textFormat::Bottom, {100, 80 - h, 100 + w, 80}},
        {"vcentre",
         {100, 20, 300, 80},
         textFormat::VCenter,
         {100, (100 - h) >> 1, 100 + w, ((100 - h) >> 1) + h}},
        // Measuring is never cut to the rectangle: only drawing is.
        {"not cut to the rectangle", {10, 10, 40, 18}, 0, {10, 10, 10 + w, 10 + h}},
        {"right of a negative rectangle",
         {-50, -20, -10, 0},
         textFormat::Right | textFormat::NoClip,
         {-10 - w, -20, -10, -20 + h}},
    };
    clear(0);
    for (const Case& cs : cases) {
        Rect r = cs.rect;
        EXPECT_EQ(f->renderText(kSunk, -1, &r, cs.format | textFormat::CalcRect, 0xFFFFFFFF), h)
            << cs.name;
        EXPECT_EQ(r.left, cs.expected.left) << cs.name;
        EXPECT_EQ(r.top, cs.expected.top) << cs.name;
        EXPECT_EQ(r.right, cs.expected.right) << cs.name;
        EXPECT_EQ(r.bottom, cs.expected.bottom) << cs.name;
    }
    EXPECT_EQ(worstDifference([](int, int) { return 0u; }), 0);

    // Drawing without NoClip shows only the cut box.
    render(f, kSunk, Rect{10, 10, 40, 18}, 0, 0xFFFFFFFF);
    EXPECT_LE(worstDifference([&](int x, int y) {
                  const bool inside = x >= 10 && x < 40 && y >= 10 && y < 18;
                  const uint32_t v = inside ? static_cast<uint32_t>(c.at(x - 10, y - 10)) : 0;
                  return v << 16 | v << 8 | v;
              }),
              1);
}

// Absent text or rectangle, or a count below -1: 0 and nothing drawn.
TEST_F(TextFontTest, AbsentTextOrRectangleReturnsZero) {
    TextFont* f = makeFont(12, 0);
    clear(0x102030);
    device->beginScene();
    Rect r{5, 5, 0, 0};
    EXPECT_EQ(f->renderText(nullptr, -1, &r, textFormat::NoClip, 0xFFFFFFFF), 0);
    EXPECT_EQ(f->renderText(kPrompt, -1, nullptr, textFormat::NoClip, 0xFFFFFFFF), 0);
    EXPECT_EQ(f->renderText(kPrompt, -7, &r, textFormat::NoClip, 0xFFFFFFFF), 0);
    device->endScene();
    EXPECT_EQ(worstDifference([](int, int) { return 0x102030u; }), 0);

    TextFont* none = nullptr;
    const FontDesc d = makeFontDesc(12, 0, kFontFace);
    EXPECT_EQ(createTextFont(nullptr, &d, &none), kInvalidCall);
    EXPECT_EQ(createTextFont(device, nullptr, &none), kInvalidCall);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(createTextFont(device, &d, nullptr), kInvalidCall);
}

// Devices with fewer means still draw the same text: tiles that must be square, tiles of at most
// 8 texels, and no format with more than 4 bits of alpha (the nearest format, A4R4G4B4, gives
// coverage in steps of 17).
TEST_F(TextFontTest, TilesFitTheDevice) {
    struct Case {
        const char* name;
        void (*limit)(AdapterProfile&);
        uint32_t tileW, tileH;
        Format format;
        int tolerance;
    } cases[] = {
        {"default", [](AdapterProfile&) {}, 64, 16, Format::A8R8G8B8, 1},
        {"square only", [](AdapterProfile& p) { p.caps.textureCaps |= textureCaps::SquareOnly; },
         16, 16, Format::A8R8G8B8, 1},
        {"small", [](AdapterProfile& p) { p.caps.maxTextureWidth = p.caps.maxTextureHeight = 8; },
         8, 8, Format::A8R8G8B8, 1},
        {"at most 4 bits of alpha",
         [](AdapterProfile& p) {
             p.textureFormats &=
                 ~(formatBit(Format::A8R8G8B8) | formatBit(Format::A8B8G8R8) |
                   formatBit(Format::A2R10G10B10) | formatBit(Format::A2B10G10R10) |
                   formatBit(Format::A16B16G16R16) | formatBit(Format::A32B32G32R32F) |
                   formatBit(Format::A8R3G3B2) | formatBit(Format::A8) | formatBit(Format::A8L8) |
                   formatBit(Format::A1R5G5B5));
         },
         64, 16, Format::A4R4G4B4, 9},
    };
    const Coverage c = referenceCoverage(makeFontDesc(16, 700, kFontFace), kResult);
    for (const Case& cs : cases) {
        for (TextFont*& f : fonts) plat::releaseRef(f);
        fonts.clear();
        plat::releaseRef(device);
        adapterProfile() = defaultAdapterProfile();
        cs.limit(adapterProfile());
        createDevice();
        TextFont* f = makeFont(16, 700);
        ASSERT_NE(f, nullptr) << cs.name;
        EXPECT_EQ(f->renderer().tileWidth(), cs.tileW) << cs.name;
        EXPECT_EQ(f->renderer().tileHeight(), cs.tileH) << cs.name;
        EXPECT_EQ(f->renderer().tileFormat(), cs.format) << cs.name;
        clear(0);
        render(f, kResult, Rect{64, 160, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
        EXPECT_LE(worstDifference([&](int x, int y) {
                      const uint32_t v = static_cast<uint32_t>(c.at(x - 64, y - 160));
                      return v << 16 | v << 8 | v;
                  }),
                  cs.tolerance)
            << cs.name;
    }
}

// The renderer lives from the first font of a device to the last; with every font released no
// default-pool object is left and the device can be reset.
TEST_F(TextFontTest, RendererLivesWithItsFonts) {
    const int before = device->defaultPoolObjects();
    TextFont* a = makeFont(12, 0);
    TextFont* b = makeFont(16, 700);
    EXPECT_EQ(&a->renderer(), &b->renderer());
    render(a, kPrompt, Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    render(b, kPrompt, Rect{0, 20, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    EXPECT_GT(device->defaultPoolObjects(), before);

    plat::releaseRef(fonts[0]);
    render(b, kSunk, Rect{0, 40, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);  // still works
    plat::releaseRef(fonts[1]);
    EXPECT_EQ(device->defaultPoolObjects(), before);
    auto p = params(true);
    EXPECT_EQ(device->reset(p), plat::kOk);

    TextFont* again = makeFont(32, 0);
    EXPECT_EQ(again->renderer().surface().width(), 256);
    // The depth setting the text turns off is back as it was after each call.
    device->setRenderState(RenderState::ZEnable, 1);
    render(again, kSunk, Rect{0, 0, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    uint32_t z = 0;
    device->getRenderState(RenderState::ZEnable, z);
    EXPECT_EQ(z, 1u);
}

// Once a text's glyphs are cached and the surface is large enough, drawing it allocates nothing.
TEST_F(TextFontTest, WarmDrawsAllocateNothing) {
    TextFont* f = makeFont(16, 700);
    render(f, kResult, Rect{64, 160, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    const size_t before = allocationCount();
    for (int i = 0; i < 20; ++i)
        render(f, kResult, Rect{64, 160, 0, 0}, textFormat::NoClip, 0xFFFFFFFF);
    EXPECT_EQ(allocationCount(), before);
}

// Random byte strings (valid and broken Shift-JIS, line breaks, '&'), random rectangles and
// flags: nothing crashes, and every changed pixel lies inside the rectangle where it clips and
// inside the box CalcRect gives for the same call where it does not.
TEST_F(TextFontTest, RandomCallsDrawOnlyInsideTheirBox) {
    TextFont* f = makeFont(16, 700);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const uint32_t flags[] = {0,
                              textFormat::NoClip,
                              textFormat::Right,
                              textFormat::Center,
                              textFormat::Bottom,
                              textFormat::VCenter,
                              textFormat::SingleLine,
                              textFormat::NoPrefix,
                              textFormat::Right | textFormat::Bottom | textFormat::SingleLine,
                              textFormat::Center | textFormat::VCenter | textFormat::NoClip};
    int drawnCases = 0;
    for (int i = 0; i < 150; ++i) {
        std::string text;
        const uint32_t length = next(24);
        for (uint32_t k = 0; k < length; ++k) {
            switch (next(5)) {
                case 0:
                    text += static_cast<char>(0x20 + next(95));
                    break;
                case 1:
                    text += "\x82\xA0";
                    break;  // あ
                case 2:
                    text += static_cast<char>(0x80 + next(128));
                    break;  // any high byte
                case 3:
                    text += next(2) ? "\n" : "&";
                    break;
                default:
                    text += "\x8A\xBF";
                    break;  // 漢
            }
        }
        const int32_t left = static_cast<int32_t>(next(400)) - 40;
        const int32_t top = static_cast<int32_t>(next(300)) - 30;
        const Rect rect{left, top, left + static_cast<int32_t>(next(300)) - 60,
                        top + static_cast<int32_t>(next(80)) - 20};
        const uint32_t format = flags[next(std::size(flags))];

        Rect box = rect;
        f->renderText(text.c_str(), -1, &box, format | textFormat::CalcRect, 0xFFFFFFFF);
        clear(0);
        render(f, text.c_str(), rect, format, 0xFFFFFFFF);
        // Per axis: a rectangle of positive size clips unless NoClip; otherwise the whole
        // measured box is drawn.
        const bool clip = !(format & textFormat::NoClip);
        const bool clipX = clip && rect.right > rect.left, clipY = clip && rect.bottom > rect.top;
        const int x0 = clipX ? rect.left : box.left, x1 = clipX ? rect.right : box.right;
        const int y0 = clipY ? rect.top : box.top, y1 = clipY ? rect.bottom : box.bottom;
        bool drawn = false;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                if (device->backBufferPixel(x, y) == 0) continue;
                drawn = true;
                ASSERT_TRUE(x >= x0 && x < x1 && y >= y0 && y < y1)
                    << "case " << i << " at " << x << "," << y << " format " << format;
            }
        drawnCases += drawn;
    }
    EXPECT_GT(drawnCases, 75);  // most cases really drew something
}

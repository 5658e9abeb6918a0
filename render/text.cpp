// The text operations: the three fonts and drawText.

#include "platform/host.h"
#include "render/draw.h"
#include "render/facility/text_font.h"
#include "render/graphics.h"
#include "render/graphics_objects.h"
#include "render/messages.h"

TextFont* textFonts[kTextFontCount] = {};

namespace {

// Font size 0: 12 pixels; 1: 16 pixels, bold; 2: 32 pixels. Positive heights are cell heights.
constexpr int32_t kFontHeights[kTextFontCount] = {12, 16, 32};
constexpr int32_t kFontWeights[kTextFontCount] = {
    plat::text::weight::DontCare, plat::text::weight::Bold, plat::text::weight::DontCare};

}  // namespace

void createFonts() {
    plat::host().note("createFonts");
    // The descriptions live only for this call: each text font keeps its own copy.
    plat::text::FontDesc descs[kTextFontCount];
    for (int i = 0; i < kTextFontCount; ++i)
        descs[i] = plat::text::makeFontDesc(kFontHeights[i], kFontWeights[i], kFontFace);
    // A font that cannot be made stays empty, and its text is not drawn.
    for (int i = 0; i < kTextFontCount; ++i)
        createTextFont(graphicsDevice, &descs[i], &textFonts[i]);
}

void releaseFonts() {
    for (TextFont*& font : textFonts) plat::releaseRef(font);
}

void drawText(int x, int y, const char* text, uint32_t colour, int fontSize) {
    if (fontSize < 0 || fontSize >= kTextFontCount || !textFonts[fontSize]) return;
    // An empty rectangle at (x, y) with NoClip: the whole text, its top-left corner at (x, y).
    plat::gfx::Rect rect{x, y, 0, 0};
    textFonts[fontSize]->renderText(text, -1, &rect, textFormat::NoClip, colour);
}

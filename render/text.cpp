// The text operations: the three fonts and drawText.
//
// The text font facility is not built yet, so no font is made: createFonts leaves every entry
// of textFonts empty, releaseFonts has nothing to release and drawText draws nothing.

#include "platform/host.h"
#include "render/draw.h"
#include "render/graphics.h"
#include "render/graphics_objects.h"

TextFont* textFonts[kTextFontCount] = {};

void createFonts() {
    plat::host().note("createFonts");
}

void releaseFonts() {}

void drawText(int x, int y, const char* text, uint32_t colour, int fontSize) {
    (void)x;
    (void)y;
    (void)text;
    (void)colour;
    (void)fontSize;
}

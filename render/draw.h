#pragma once
// The drawing primitives every screen uses, and the four frame operations of the loop. All
// coordinates are pixels of the 320 x 240 back buffer, origin top-left.

#include <cstdint>

void clearFrame();
// Begins the frame's sprite batch and the scene; true when the scene began.
bool beginFrame();
void endFrame();
void presentFrame();

// Draws the sheet rectangle (srcX, srcY, srcWidth, srcHeight) of texture `slot` with its
// top-left corner at (x, y) truncated to whole pixels, scaled about that corner, turned by
// `rotation` radians counter-clockwise about (centreX, centreY) in scaled units, tinted by
// `colour`; added onto the picture when `additive`, alpha-blended otherwise.
void drawSprite(float x, float y, float scaleX, float scaleY, float centreX, float centreY,
                float rotation, int slot, uint32_t colour, int srcX, int srcY, int srcWidth,
                int srcHeight, bool additive);
// A rectangle of `colour` (its alpha is the opacity), made by stretching the sheet's white texel.
void fillRect(int x, int y, int width, int height, uint32_t colour, bool additive);
// One step of a full-screen fade; true on the frame the fade completes.
bool fadeStep(uint32_t colour, int step, bool fadeIn);
// Shift-JIS text with its top-left corner at (x, y); fontSize 0 = 12 px, 1 = 16 px bold,
// 2 = 32 px.
void drawText(int x, int y, const char* text, uint32_t colour, int fontSize);

// The shared fade counter (tests look at it).
extern int32_t fadeCounter;

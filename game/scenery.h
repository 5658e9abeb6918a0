#pragma once
// The scenery: the back layer (sky band, water, sea-bed tiles) and the front layer (three rows
// of animated, translucent surface tiles), both scrolling with the camera.

#include <cstdint>

extern int32_t waveTick;  // animation clock of the surface rows, 0..39

// Draws layer 0 (back) or any non-zero layer (front); every call advances waveTick.
void drawScenery(uint8_t layer);

// Screen x of tile column 0..10 for the current scrollX: -32..319, the columns 32 apart modulo
// 352, each attached to world x = 32 * column modulo 352.
int sceneryColumnX(int column);
// Surface frame 0..7 of tile column 0..10 in surface row 0..2 for the current waveTick.
int surfaceFrame(int column, int row);

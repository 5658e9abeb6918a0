#pragma once
// The scenery: the back layer (sky band, water, sea-bed tiles) and the front layer (three rows
// of animated, translucent surface tiles), both scrolling with the camera.

#include <cstdint>

extern int32_t waveTick;  // animation clock of the surface rows, 0..39

// Draws layer 0 (back) or any non-zero layer (front); every call advances waveTick.
void drawScenery(uint8_t layer);

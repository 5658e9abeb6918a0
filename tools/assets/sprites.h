// The pictures of the sprite sheet, each drawn into a canvas of its frame's size.
// Sprites that face a direction are drawn facing right; the sheet mirrors them for the left.
#pragma once

#include "canvas.h"

namespace assets {

// Submarine, 62 x 30, propeller turned a third of a turn per frame (0..2).
Canvas drawSubmarine(int frame);
// Paints the submarine with its frame's top-left corner at (left, top), enlarged by scale.
void paintSubmarine(Canvas& canvas, double left, double top, double scale, int frame);

// Torpedo, 32 x 16, with a flickering jet (frames 0..3); its one-pixel border stays black
// because its frames touch each other on the sheet.
Canvas drawTorpedo(int frame);
// Piranha, 30 x 30, two swim frames (0, 1) with the tail beating.
Canvas drawPiranha(int frame);
// Bubble, 14 x 14, frames 0..6 growing, thinner and dimmer as it rises.
Canvas drawBubble(int frame);
// Explosion, 30 x 30, frames 0..4 from a white flash to dying embers, for additive drawing.
Canvas drawExplosion(int frame);

// Sea-bed tile, 32 x 32, repeating horizontally.
Canvas drawSeaBed();
// Water-surface frame k (0..7), 32 x 32; frame k continues into frame k + 1 (and 7 into 0).
Canvas drawSurface(int frame);

// Title logo, 160 x 112.
Canvas drawLogo();
// Window icon, 32 x 32 with alpha.
Canvas drawIcon();

}  // namespace assets

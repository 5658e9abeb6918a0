// The scenery layers: sky band, water and sea bed behind the objects; three rows of animated,
// translucent surface tiles over them. Both tiled rows scroll with the camera and wrap around.

#include "game/scenery.h"

#include "game/objects.h"
#include "render/draw.h"

int32_t waveTick = 0;

namespace {

constexpr int kColumns = 11;
constexpr int kTile = 32;
constexpr int kWrap = kColumns * kTile;  // 352

void drawTile(int x, int y, uint32_t colour, int srcX, int srcY) {
    drawSprite(static_cast<float>(x), static_cast<float>(y), 1, 1, 0, 0, 0, 0, colour, srcX, srcY,
               kTile, kTile, false);
}

void drawBack() {
    fillRect(0, 0, 320, 16, 0xFF6496FF, false);    // above the water surface
    fillRect(0, 16, 320, 192, 0xFF0032FF, false);  // the water
    for (int i = 0; i < kColumns; ++i) drawTile(sceneryColumnX(i), 208, 0xFFFFFFFF, 32, 128);
}

void drawFront() {
    // Within a column, row y = 0 first, then 1, then 2: they blend over one another.
    static constexpr uint32_t kRowColour[3] = {0x32FFFFFF, 0x96FFFFFF, 0x32FFFFFF};
    for (int i = 0; i < kColumns; ++i) {
        const int x = sceneryColumnX(i);
        for (int row = 0; row < 3; ++row)
            drawTile(x, row, kRowColour[row], kTile * surfaceFrame(i, row), 176);
    }
}

}  // namespace

int sceneryColumnX(int column) {
    // scrollX is never positive, so the dividend is never negative.
    return (kTile * column - scrollX) % kWrap - kTile;
}

int surfaceFrame(int column, int row) {
    const int phase = waveTick / 5;
    return (phase + column + 2 * row) % 8;
}

void drawScenery(uint8_t layer) {
    waveTick = (waveTick + 1) % 40;
    if (layer == 0)
        drawBack();
    else
        drawFront();
}

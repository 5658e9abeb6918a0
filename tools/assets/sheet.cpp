#include "sheet.h"

#include "sheet_layout.h"
#include "sprites.h"

namespace assets {
namespace {

void place(Canvas& sheet, const Canvas& picture, Rect at) {
    sheet.blit(picture, at.left, at.top);
}

}  // namespace

Canvas drawSheet() {
    Canvas sheet(kSheetWidth, kSheetHeight);
    for (int f = 0; f < kSubmarineFrames; ++f) {
        const Canvas sub = drawSubmarine(f);
        place(sheet, sub, submarineFrame(f, 0));
        place(sheet, sub.mirrored(), submarineFrame(f, 1));
    }
    for (int f = 0; f < kTorpedoFrames; ++f) {
        const Canvas torpedo = drawTorpedo(f);
        place(sheet, torpedo, torpedoFrame(f, 0));
        place(sheet, torpedo.mirrored(), torpedoFrame(f, 1));
    }
    for (int f = 0; f < kPiranhaFrames; ++f) {
        const Canvas fish = drawPiranha(f);
        place(sheet, fish, piranhaFrame(f, 0));
        place(sheet, fish.mirrored(), piranhaFrame(f, 1));
    }
    for (int f = 0; f < kBubbleFrames; ++f) place(sheet, drawBubble(f), bubbleFrame(f));
    for (int f = 0; f < kExplosionFrames; ++f) place(sheet, drawExplosion(f), explosionFrame(f));
    for (int f = 0; f < kSurfaceFrames; ++f) place(sheet, drawSurface(f), surfaceFrame(f));
    place(sheet, drawSeaBed(), kSeaBed);
    place(sheet, drawLogo(), kLogo);
    for (int y = 0; y < kWhiteBlock.height; ++y)
        for (int x = 0; x < kWhiteBlock.width; ++x)
            sheet.set(kWhiteBlock.left + x, kWhiteBlock.top + y, Rgb{255, 255, 255});
    return sheet;
}

}  // namespace assets

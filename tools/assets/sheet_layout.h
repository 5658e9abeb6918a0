// Where each picture sits on the sprite sheet: the rectangles the game cuts out of it.
#pragma once

namespace assets {

inline constexpr int kSheetWidth = 256, kSheetHeight = 256;

struct Rect {
    int left, top, width, height;
};

// facing: 0 right, 1 left.
constexpr Rect submarineFrame(int frame, int facing) {
    return {1 + 64 * frame, 1 + 32 * facing, 62, 30};
}
constexpr Rect torpedoFrame(int frame, int facing) {
    return {192 + 32 * facing, 16 * frame, 32, 16};
}
// row: 0 swimming right, 1 swimming left.
constexpr Rect piranhaFrame(int frame, int row) {
    return {1 + 32 * frame, 65 + 32 * row, 30, 30};
}
constexpr Rect bubbleFrame(int frame) {
    return {225, 65 + 16 * frame, 14, 14};
}
constexpr Rect explosionFrame(int frame) {
    return {1 + 32 * frame, 209, 30, 30};
}
constexpr Rect surfaceFrame(int frame) {
    return {32 * frame, 176, 32, 32};
}
inline constexpr Rect kLogo{64, 64, 160, 112};
inline constexpr Rect kSeaBed{32, 128, 32, 32};
// The rectangle primitive stretches the texel at (1, 129); its neighbours are white as well so
// that filtering at the edges of the stretched texel still sees white.
inline constexpr Rect kWhiteBlock{0, 128, 3, 3};

inline constexpr int kSubmarineFrames = 3, kTorpedoFrames = 4, kPiranhaFrames = 2;
inline constexpr int kBubbleFrames = 7, kExplosionFrames = 5, kSurfaceFrames = 8;

}  // namespace assets

// The sea bed and the water surface. Both are tiles: every shape is a function of a horizontal
// coordinate that wraps, so the right edge of a tile continues into the left edge of the next.
#include <optional>

#include "rng.h"
#include "shapes.h"
#include "sprites.h"

namespace assets {
namespace {

constexpr int kTile = 32;

// The water fill of the backdrop stops where the sea-bed row begins, so the tile paints the
// water above the sand itself, in exactly the backdrop's water colour.
constexpr Rgb kWater{0, 50, 255};

// Height of the sand's top edge (a row of the tile) at column x; periodic in 32.
double sandTop(double x) {
    const double w = 2 * kPi * x / kTile;
    return 13.0 + 2.2 * std::sin(w) + 1.3 * std::sin(2 * w + 1.0) + 0.8 * std::sin(3 * w + 2.5);
}

std::optional<Rgb> seaBedPixel(double x, double y) {
    // A grey rock half buried in the sand, and a few pebbles.
    const double rockDx = wrapDelta(x, 22.0, kTile);
    const double rockR = ellipseRadius(rockDx, y, 0.0, 14.5, 4.5, 3.6);
    if (rockR < 1.0) {
        const double shade = std::clamp((y - 10.9) / 7.2 + (rockDx + 4.5) / 18.0, 0.0, 1.0);
        return mix(Rgb{176, 170, 180}, Rgb{88, 84, 100}, shade);
    }
    const double top = sandTop(x);
    if (y < top) {
        // A short sprig of seaweed rooted in the sand.
        const double stalk = wrapDelta(x, 7.0 + 1.2 * std::sin((top - y) * 0.9), kTile);
        if (std::abs(stalk) < 0.9 && y > top - 7.5) return Rgb{60, 170, 90};
        return kWater;
    }
    static constexpr double kPebbles[][4] = {{4.0, 24.0, 2.0, 1.3},
                                             {14.0, 28.5, 1.6, 1.1},
                                             {28.5, 21.0, 1.3, 1.0},
                                             {18.0, 20.0, 1.0, 0.8}};
    for (const auto& p : kPebbles) {
        if (inEllipse(wrapDelta(x, p[0], kTile), y, 0.0, p[1], p[2], p[3]))
            return Rgb{150, 120, 96};
    }
    const int ix = static_cast<int>(x) % kTile, iy = static_cast<int>(y);
    const double grain = hashUnit(ix, iy, 0x5A4D);
    const double depth = std::clamp((y - top) / 18.0, 0.0, 1.0);
    Rgb sand = mix(Rgb{244, 218, 150}, Rgb{186, 144, 88}, depth);
    if (y - top < 1.5)
        sand = Rgb{255, 238, 184};  // sunlit rim of the sand
    else if (grain > 0.86)
        sand = scaled(sand, 0.86);
    else if (grain < 0.08)
        sand = mix(sand, Rgb{255, 248, 220}, 0.5);
    return sand;
}

// The surface as one strip of 8 tiles (256 columns) that loops. A wave of n cycles per strip
// appears, when the game shows the next frame in every column, shifted by n/8 of a cycle: n = 9
// and n = 25 drift one way, n = 15 the other, and after 8 frames everything is back in place.
double surfaceLine(double u) {
    const double w = 2 * kPi * u / 256.0;
    return 16.0 + 2.4 * std::sin(9 * w) + 1.0 * std::sin(15 * w + 1.3) +
           0.6 * std::sin(25 * w + 0.4);
}

std::optional<Rgb> surfacePixel(double u, double y) {
    // The backdrop has sky above row 16 and water below. Where a trough dips under row 16 the
    // sky colour is painted in, where a crest rises above it the water colour; the crest itself
    // is a line of foam, and under it the water glows lighter, fading out with depth.
    constexpr double kCalm = 16.0;
    const double below = y - surfaceLine(u);
    if (below < -0.5) return y > kCalm ? std::optional<Rgb>(Rgb{110, 160, 255}) : std::nullopt;
    if (below < 0.8) return Rgb{255, 255, 255};
    if (y < kCalm) return Rgb{24, 84, 255};
    const int iu = static_cast<int>(u) % 256, iy = static_cast<int>(y);
    const double glow = 1.0 - below / 11.0;
    if (glow <= 0.0) return std::nullopt;
    if (glow > 0.3 && hashUnit(iu, iy, 0x5A1) > 0.97) return Rgb{235, 250, 255};    // sparkle
    if (glow < 0.35 && hashUnit(iu, iy, 0xD17) > glow / 0.35) return std::nullopt;  // dithered fade
    return mix(Rgb{60, 120, 220}, Rgb{170, 220, 255}, glow);
}

}  // namespace

Canvas drawSeaBed() {
    Canvas c(kTile, kTile);
    c.shade(seaBedPixel);
    return c;
}

Canvas drawSurface(int frame) {
    Canvas c(kTile, kTile);
    const double offset = frame * kTile;
    c.shade([offset](double x, double y) { return surfacePixel(x + offset, y); });
    return c;
}

}  // namespace assets

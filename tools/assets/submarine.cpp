// The player's submarine: a round yellow hull with a porthole, a conning tower with a periscope,
// tail fins and a three-bladed propeller seen from the side.
#include <optional>

#include "shapes.h"
#include "sprites.h"

namespace assets {
namespace {

constexpr int kWidth = 62, kHeight = 30;

const Rgb kHullLight{255, 244, 150}, kHull{255, 204, 40}, kHullDark{222, 124, 18};
const Rgb kStripe{238, 96, 32}, kMetal{172, 178, 192}, kMetalDark{96, 100, 116};
const Rgb kGlass{96, 196, 255}, kGlassDeep{40, 110, 210}, kWhite{255, 255, 255};

// Yellow shading from a highlight at the top to orange at the bottom of a body spanning
// top..bottom.
Rgb hullShade(double y, double top, double bottom) {
    const double t = std::clamp((y - top) / (bottom - top), 0.0, 1.0);
    if (t < 0.18) return kHullLight;
    if (t < 0.3) return mix(kHullLight, kHull, (t - 0.18) / 0.12);
    if (t < 0.72) return kHull;
    return mix(kHull, kHullDark, (t - 0.72) / 0.28);
}

// The propeller: three blades around a hub; each frame turns it by 40 degrees, so three frames
// make a third of a turn, after which the three-bladed picture repeats.
std::optional<Rgb> propeller(double x, double y, int frame) {
    const double hubX = 6.5, hubY = 18.5;
    if (inEllipse(x, y, hubX + 1.5, hubY, 2.0, 1.6)) return kMetal;
    for (int k = 0; k < 3; ++k) {
        const double a = (frame * 40.0 + k * 120.0) * kPi / 180.0;
        const double tipY = hubY + 7.0 * std::cos(a);
        const double halfWidth = 0.7 + 1.1 * std::abs(std::sin(a));
        if (segmentDistance(x, y, hubX, hubY, hubX, tipY) < halfWidth)
            return std::sin(a) >= 0 ? kMetal : kMetalDark;
    }
    return std::nullopt;
}

std::optional<Rgb> submarinePixel(double x, double y, int frame) {
    // Porthole: metal rim, glass darkening downwards, a glint in the upper left.
    const double winR = ellipseRadius(x, y, 42.5, 17.0, 4.6, 4.6);
    if (winR < 1.0) {
        if (winR > 0.72)
            return ellipseRadius(x, y, 42.0, 16.5, 4.6, 4.6) < 0.8 ? kMetal : kMetalDark;
        if (inEllipse(x, y, 41.2, 15.6, 1.3, 1.1)) return kWhite;
        return mix(kGlass, kGlassDeep, std::clamp((y - 13.5) / 7.0, 0.0, 1.0));
    }
    // Hull with a stripe and a row of rivets.
    if (inEllipse(x, y, 33.0, 18.5, 24.5, 9.3)) {
        if (x > 26.0 && x < 28.6)
            return mix(kStripe, kHullDark, std::clamp((y - 12) / 20, 0.0, 1.0));
        if (std::abs(y - 22.5) < 0.5 && std::fmod(x, 4.0) < 1.0 && x > 14 && x < 50)
            return kHullDark;
        return hullShade(y, 9.2, 27.8);
    }
    // Conning tower with a periscope.
    if (inRoundedRect(x, y, 25.0, 4.5, 39.0, 14.0, 2.5)) {
        if (std::abs(y - 8.5) < 0.5 && x > 28 && x < 37) return kHullDark;
        return hullShade(y, 4.5, 14.0);
    }
    if (x > 30.5 && x < 32.5 && y > 1.5 && y < 5.0) return kMetal;
    if (x > 30.5 && x < 35.5 && y > 1.5 && y < 3.3) return x > 34.5 ? kGlass : kMetal;
    // Tail fins above and below the stern.
    if (inTriangle(x, y, 9.0, 17.0, 16.0, 13.0, 10.0, 10.5)) return hullShade(y, 9.0, 26.0);
    if (inTriangle(x, y, 9.0, 20.0, 16.0, 24.0, 10.0, 26.5)) return kHullDark;
    return propeller(x, y, frame);
}

}  // namespace

void paintSubmarine(Canvas& canvas, double left, double top, double scale, int frame) {
    Canvas layer(canvas.width(), canvas.height());
    layer.shade([&](double px, double py) -> std::optional<Rgb> {
        const double x = (px - left) / scale, y = (py - top) / scale;
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return std::nullopt;
        return submarinePixel(x, y, frame);
    });
    layer.outline();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (!layer.at(x, y).isBlack()) canvas.set(x, y, layer.at(x, y));
}

Canvas drawSubmarine(int frame) {
    Canvas c(kWidth, kHeight);
    paintSubmarine(c, 0, 0, 1.0, frame);
    return c;
}

}  // namespace assets

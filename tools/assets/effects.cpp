// The torpedo, the rising bubble and the additive explosion.
#include <optional>

#include "rng.h"
#include "shapes.h"
#include "sprites.h"

namespace assets {
namespace {

const Rgb kSteelLight{236, 240, 248}, kSteel{168, 176, 192}, kSteelDark{92, 98, 116};
const Rgb kNose{226, 52, 44}, kBand{255, 196, 40};

std::optional<Rgb> torpedoBody(double x, double y) {
    // Capsule body from x 10 to 28 with a rounded red nose; fins at the tail.
    const bool body = segmentDistance(x, y, 12.5, 8.0, 25.5, 8.0) < 3.0;
    if (body) {
        if (x > 25.0) return kNose;
        if (x > 20.0 && x < 21.6) return kBand;
        const double t = (y - 5.0) / 6.0;
        return t < 0.3 ? kSteelLight : (t < 0.7 ? kSteel : kSteelDark);
    }
    if (inTriangle(x, y, 10.0, 6.0, 15.0, 6.0, 9.5, 3.0)) return kSteel;
    if (inTriangle(x, y, 10.0, 10.0, 15.0, 10.0, 9.5, 13.0)) return kSteelDark;
    return std::nullopt;
}

// The jet behind the tail: a flame whose length and shape change with every frame.
std::optional<Rgb> torpedoJet(double x, double y, int frame) {
    static constexpr double kLength[4] = {6.5, 4.0, 7.5, 5.0};
    static constexpr double kWobble[4] = {0.0, 0.6, -0.5, 0.3};
    const double start = 9.0, len = kLength[frame];
    const double t = (start - x) / len;  // 0 at the nozzle, 1 at the tip
    if (t < 0 || t > 1) return std::nullopt;
    const double half = 2.2 * (1.0 - t) + 0.2;
    const double d = std::abs(y - (8.0 + kWobble[frame] * t));
    if (d > half) return std::nullopt;
    const double heat = (1.0 - t) * (1.0 - 0.6 * d / half);
    if (heat > 0.6) return Rgb{255, 250, 210};
    if (heat > 0.35) return Rgb{255, 206, 60};
    return Rgb{248, 112, 30};
}

}  // namespace

Canvas drawTorpedo(int frame) {
    Canvas c(32, 16);
    c.shade([](double x, double y) { return torpedoBody(x, y); });
    c.outline();
    // The jet goes on afterwards, unoutlined, into the free pixels behind the tail.
    Canvas jet(32, 16);
    jet.shade([frame](double x, double y) { return torpedoJet(x, y, frame); });
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 31; ++x)
            if (c.at(x, y).isBlack() && !jet.at(x, y).isBlack()) c.set(x, y, jet.at(x, y));
    // Two specks of wake behind the jet, drifting back from frame to frame.
    const int wx = 5 - frame;
    c.set(wx, 5 + frame % 2, Rgb{200, 230, 255});
    c.set(wx - 1 < 1 ? 3 : wx - 1, 11 - frame % 2, Rgb{170, 210, 250});
    return c;
}

Canvas drawBubble(int frame) {
    Canvas c(14, 14);
    const double radius = 2.6 + 0.62 * frame;
    const double thickness = 1.7 - 0.12 * frame;
    const double bright = 1.0 - 0.09 * frame;
    const Rgb ring = scaled(Rgb{206, 236, 255}, bright);
    const Rgb glint = scaled(Rgb{255, 255, 255}, bright);
    c.shade([&](double x, double y) -> std::optional<Rgb> {
        const double r = std::hypot(x - 7.0, y - 7.0);
        const double gx = 7.0 - radius * 0.45, gy = 7.0 - radius * 0.45;
        if (std::hypot(x - gx, y - gy) < 0.5 + radius * 0.14) return glint;
        if (r < radius && r > radius - thickness) return ring;
        return std::nullopt;
    });
    return c;
}

Canvas drawExplosion(int frame) {
    // Heat from 0 (nothing) to 1 (white) for each pixel, then a colour ramp; additive drawing
    // adds the colour, so the black outside is no light at all.
    static constexpr double kRadius[5] = {10.0, 12.5, 13.8, 14.4, 14.6};
    static constexpr double kCoreHeat[5] = {1.0, 0.95, 0.6, 0.35, 0.1};
    static constexpr double kRingHeat[5] = {0.0, 0.35, 0.8, 0.6, 0.3};
    static constexpr double kCoreEdge[5] = {1.0, 0.8, 0.7, 0.6, 0.5};
    Rng rng(0x5EED0000ull + frame);
    double noise[30][30];
    for (auto& row : noise)
        for (double& n : row) n = rng.unit();
    Canvas c(30, 30);
    const double radius = kRadius[frame];
    c.shade([&](double x, double y) -> std::optional<Rgb> {
        const double r = std::hypot(x - 15.0, y - 15.0) / radius;
        if (r >= 1.0) return std::nullopt;
        const double n = noise[static_cast<int>(y)][static_cast<int>(x)];
        const double core = kCoreHeat[frame] * (1.0 - smoothstep(0.2, kCoreEdge[frame], r));
        const double ring = kRingHeat[frame] * std::exp(-std::pow((r - 0.72) / 0.18, 2));
        double heat = std::max(core, ring) * (0.75 + 0.5 * n);
        if (frame >= 3)
            heat *= n > (frame == 3 ? 0.4 : 0.6) ? 1.0 : 0.1;  // the fire breaks into embers
        heat *= 1.0 - smoothstep(0.85, 1.0, r);
        if (heat < 0.04) return std::nullopt;
        if (heat > 0.8) return mix(Rgb{255, 236, 120}, Rgb{255, 255, 240}, (heat - 0.8) / 0.2);
        if (heat > 0.5) return mix(Rgb{255, 150, 40}, Rgb{255, 236, 120}, (heat - 0.5) / 0.3);
        if (heat > 0.25) return mix(Rgb{200, 60, 20}, Rgb{255, 150, 40}, (heat - 0.25) / 0.25);
        return mix(Rgb{40, 8, 4}, Rgb{200, 60, 20}, heat / 0.25);
    });
    return c;
}

}  // namespace assets

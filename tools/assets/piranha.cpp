// The piranha: a round green fish with purple fins, an angry eye and an open mouth full of teeth.
// The two frames beat the tail and the side fin up and down.
#include <optional>

#include "shapes.h"
#include "sprites.h"

namespace assets {
namespace {

const Rgb kBack{46, 128, 70}, kBody{96, 196, 92}, kBelly{206, 242, 150};
const Rgb kFin{156, 76, 206}, kFinDark{100, 44, 150}, kSpot{60, 150, 76};
const Rgb kMouth{150, 18, 40}, kTooth{255, 255, 250}, kEye{255, 255, 255}, kPupil{8, 8, 8};

std::optional<Rgb> piranhaPixel(double x, double y, int frame) {
    const double beat = frame == 0 ? -2.0 : 2.0;  // tail tip offset
    // Eye with a heavy brow slanting down towards the mouth.
    if (segmentDistance(x, y, 17.0, 6.8, 23.5, 8.6) < 0.9) return kPupil;
    if (inEllipse(x, y, 21.3, 11.6, 1.6, 1.8)) return kPupil;
    if (inEllipse(x, y, 20.6, 11.5, 3.0, 3.0)) return kEye;
    // Open mouth: a wedge cut into the front of the body, lined with teeth.
    const bool inBody = inEllipse(x, y, 17.0, 15.5, 10.0, 10.0);
    constexpr double kHingeX = 19.5, kHingeY = 17.5, kTipX = 28.5, kUpperY = 11.5, kLowerY = 24.0;
    if (inTriangle(x, y, kHingeX, kHingeY, kTipX, kUpperY, kTipX, kLowerY)) {
        for (int i = 0; i < 3; ++i) {
            const double tx = 21.5 + 2.3 * i;
            const double k = (tx - kHingeX) / (kTipX - kHingeX);
            const double upper = kHingeY + (kUpperY - kHingeY) * k;
            const double lower = kHingeY + (kLowerY - kHingeY) * k;
            if (inTriangle(x, y, tx - 1.2, upper - 0.5, tx + 1.2, upper - 0.5, tx, upper + 2.6))
                return kTooth;
            if (inTriangle(x, y, tx - 1.2, lower + 0.5, tx + 1.2, lower + 0.5, tx, lower - 2.6))
                return kTooth;
        }
        if (inBody && x < 25.5) return kMouth;
        return std::nullopt;
    }
    // Side fin, beating opposite to the tail.
    if (inTriangle(x, y, 13.0, 17.0, 18.0, 18.0, 10.5, 21.5 - beat * 0.6)) return kFin;
    if (inBody) {
        if (inEllipse(x, y, 11.0, 12.5, 1.0, 1.0) || inEllipse(x, y, 14.5, 9.5, 1.0, 1.0) ||
            inEllipse(x, y, 12.5, 16.5, 1.0, 1.0))
            return kSpot;
        const double t = (y - 5.5) / 20.0;
        if (t < 0.35) return mix(kBack, kBody, t / 0.35);
        if (t < 0.6) return kBody;
        return mix(kBody, kBelly, std::min(1.0, (t - 0.6) / 0.25));
    }
    // Dorsal and anal fins.
    if (inTriangle(x, y, 11.0, 7.5, 20.0, 6.0, 12.0, 1.5)) return kFin;
    if (inTriangle(x, y, 11.0, 23.0, 17.0, 25.0, 11.5, 28.5)) return kFinDark;
    // Forked tail whose tips swing with the frame.
    const double notchY = 15.5 + beat;
    if (inTriangle(x, y, 1.5, notchY - 3.5, 5.0, notchY, 1.5, notchY + 3.5)) return std::nullopt;
    if (inTriangle(x, y, 9.5, 15.5, 1.5, 6.0 + beat, 1.5, 25.0 + beat))
        return std::abs(y - (15.5 + beat * 0.5)) < 3.0 ? kFinDark : kFin;
    return std::nullopt;
}

}  // namespace

Canvas drawPiranha(int frame) {
    Canvas c(30, 30);
    c.shade([frame](double x, double y) { return piranhaPixel(x, y, frame); });
    c.outline();
    return c;
}

}  // namespace assets

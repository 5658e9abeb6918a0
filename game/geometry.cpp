#include "game/geometry.h"

#include <cmath>

float distance(float x1, float y1, float x2, float y2) {
    const float dx = x1 - x2;
    const float dy = y1 - y2;
    const float sum = dx * dx + dy * dy;
    return static_cast<float>(std::pow(static_cast<double>(sum), 0.5));
}

int32_t heading(float x1, float y1, float x2, float y2) {
    // The differences are float; the arctangent and the conversion to degrees are double.
    const float across = x1 - x2;
    const float along = y1 - y2;
    const double phi =
        std::atan2(static_cast<double>(across), static_cast<double>(along)) * 180.0 / kPi;
    // 360 - phi lies in 180..540, so truncating and taking the remainder gives 0..359.
    return static_cast<int32_t>(360.0 - phi) % 360;
}

void moveAlong(float angle, float& vx, float& vy, float speed) {
    float a = angle - 90 + 180;
    if (a < 0) a += 360;
    if (a > 360) a -= 360;
    const double r = a * kPi / 180.0;
    vx = static_cast<float>(vx + speed * std::cos(r));
    vy = static_cast<float>(vy + -speed * std::sin(r));
}

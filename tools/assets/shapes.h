// Geometry tests for painting shapes given in real coordinates.
#pragma once

#include <algorithm>
#include <cmath>

namespace assets {

inline constexpr double kPi = 3.14159265358979323846;

// Normalised elliptic radius: below 1 inside the ellipse.
inline double ellipseRadius(double x, double y, double cx, double cy, double rx, double ry) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return std::sqrt(dx * dx + dy * dy);
}

inline bool inEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    return ellipseRadius(x, y, cx, cy, rx, ry) < 1.0;
}

inline bool inTriangle(double x, double y, double ax, double ay, double bx, double by, double cx,
                       double cy) {
    auto side = [&](double x0, double y0, double x1, double y1) {
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
    };
    const double d1 = side(ax, ay, bx, by), d2 = side(bx, by, cx, cy), d3 = side(cx, cy, ax, ay);
    const bool negative = d1 < 0 || d2 < 0 || d3<0, positive = d1> 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

// Distance from a point to the segment a-b.
inline double segmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double vx = bx - ax, vy = by - ay;
    const double len2 = vx * vx + vy * vy;
    const double t = len2 > 0 ? std::clamp(((x - ax) * vx + (y - ay) * vy) / len2, 0.0, 1.0) : 0.0;
    const double dx = x - (ax + t * vx), dy = y - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

// Difference a - b folded into [-period / 2, period / 2), for shapes on tiles that wrap.
inline double wrapDelta(double a, double b, double period) {
    double d = std::fmod(a - b, period);
    if (d < -period / 2) d += period;
    if (d >= period / 2) d -= period;
    return d;
}

inline double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Inside the rectangle left..right x top..bottom with corners rounded by radius.
inline bool inRoundedRect(double x, double y, double left, double top, double right, double bottom,
                          double radius) {
    if (x <= left || x >= right || y <= top || y >= bottom) return false;
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius;
}

}  // namespace assets

#include "canvas.h"

namespace assets {

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](std::uint8_t x, std::uint8_t y) { return channel(x + (y - x) * t); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Rgb scaled(Rgb c, double k) {
    return {channel(c.r * k), channel(c.g * k), channel(c.b * k), c.a};
}

Rgb opaque(Rgb c) {
    return c.isBlack() ? kOutline : Rgb{c.r, c.g, c.b, 255};
}

void Canvas::blit(const Canvas& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) set(x + sx, y + sy, src.at(sx, sy));
}

Canvas Canvas::mirrored() const {
    Canvas out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) out.set(w_ - 1 - x, y, at(x, y));
    return out;
}

void Canvas::outline(Rgb colour) {
    const Canvas before = *this;
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            if (!before.at(x, y).isBlack()) continue;
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx)
                    touches = before.inside(x + dx, y + dy) && !before.at(x + dx, y + dy).isBlack();
            if (touches) set(x, y, colour);
        }
    }
}

}  // namespace assets

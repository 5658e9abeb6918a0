// An RGBA picture in memory with the few painting operations the pixel art needs.
// Alpha is only used by the window icon; the sprite sheet marks transparency with pure black.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace assets {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;

    bool operator==(const Rgb&) const = default;
    bool isBlack() const { return r == 0 && g == 0 && b == 0; }
};

inline constexpr Rgb kBlack{0, 0, 0, 255};
inline constexpr Rgb kOutline{8, 8, 8, 255};  // dark lines that must stay opaque

// Clamps a colour channel given as a real number.
inline std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

inline Rgb rgb(double r, double g, double b) {
    return {channel(r), channel(g), channel(b), 255};
}

// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, double t);
// Scales the brightness of a colour.
Rgb scaled(Rgb c, double k);
// An opaque colour that is never pure black, so the colour key cannot hit it.
Rgb opaque(Rgb c);

class Canvas {
  public:
    Canvas(int width, int height) : w_(width), h_(height), px_(width * height, kBlack) {}

    int width() const { return w_; }
    int height() const { return h_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Rgb at(int x, int y) const { return px_[y * w_ + x]; }
    void set(int x, int y, Rgb c) {
        if (inside(x, y)) px_[y * w_ + x] = c;
    }

    // Calls paint(x + 0.5, y + 0.5) for every pixel; a non-null result replaces the pixel.
    // The pixel centres are passed so that shapes given in real coordinates stay symmetric.
    template <class Paint>
    void shade(Paint paint) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (auto c = paint(x + 0.5, y + 0.5)) px_[y * w_ + x] = *c;
    }

    // Copies another canvas so that its top-left corner lands on (x, y).
    void blit(const Canvas& src, int x, int y);
    // The same picture mirrored left to right.
    Canvas mirrored() const;
    // Turns every black pixel that touches a lit pixel (8-neighbourhood) into the outline colour.
    void outline(Rgb colour = kOutline);

  private:
    int w_, h_;
    std::vector<Rgb> px_;
};

}  // namespace assets

// The title logo: "Marlovek" in chunky outlined letters of our own bitmap font, over the
// submarine with a piranha on its tail and a trail of bubbles.
#include <array>
#include <optional>
#include <string_view>

#include "shapes.h"
#include "sprites.h"

namespace assets {
namespace {

constexpr int kLogoWidth = 160, kLogoHeight = 112;
constexpr int kUnit = 3;       // pixels per font cell
constexpr int kCapHeight = 9;  // cells; lower-case letters use the bottom 6

struct Glyph {
    char ch;
    std::array<std::string_view, kCapHeight>
        rows;  // '#' is ink, all rows of one glyph are equally wide
};

// Two-cell stems keep the letters bold at any size; lower-case letters leave the top 3 rows empty.
constexpr std::array<Glyph, 8> kFont{{
    {'M',
     {"##...##", "###.###", "#######", "##.#.##", "##...##", "##...##", "##...##", "##...##",
      "##...##"}},
    {'a', {".....", ".....", ".....", ".###.", "...##", ".####", "##.##", "##.##", ".####"}},
    {'r', {"....", "....", "....", "##.#", "####", "##..", "##..", "##..", "##.."}},
    {'l', {"##", "##", "##", "##", "##", "##", "##", "##", "##"}},
    {'o', {".....", ".....", ".....", ".###.", "##.##", "##.##", "##.##", "##.##", ".###."}},
    {'v', {".....", ".....", ".....", "##.##", "##.##", "##.##", "##.##", ".###.", "..#.."}},
    {'e', {".....", ".....", ".....", ".###.", "##.##", "#####", "##...", "##.##", ".###."}},
    {'k', {"##...", "##...", "##...", "##.##", "####.", "###..", "####.", "##.##", "##.##"}},
}};

const Glyph& glyph(char ch) {
    for (const Glyph& g : kFont)
        if (g.ch == ch) return g;
    return kFont[0];
}

int textWidth(std::string_view text) {
    int cells = 0;
    for (char ch : text) cells += static_cast<int>(glyph(ch).rows[0].size()) + 1;
    return (cells - 1) * kUnit;
}

// Letter colour: yellow running into orange towards the baseline.
Rgb letterShade(int yInLetter) {
    const double t = static_cast<double>(yInLetter) / (kCapHeight * kUnit - 1);
    return t < 0.45 ? mix(Rgb{255, 238, 120}, Rgb{255, 200, 36}, t / 0.45)
                    : mix(Rgb{255, 200, 36}, Rgb{240, 110, 24}, (t - 0.45) / 0.55);
}

void paintText(Canvas& canvas, std::string_view text, int left, int top) {
    Canvas ink(canvas.width(), canvas.height());
    int x = left;
    for (char ch : text) {
        const Glyph& g = glyph(ch);
        const int w = static_cast<int>(g.rows[0].size());
        for (int row = 0; row < kCapHeight; ++row)
            for (int col = 0; col < w; ++col)
                if (g.rows[row][col] == '#') {
                    // The top edge of each stroke catches the light.
                    const bool lit = row == 0 || g.rows[row - 1][col] != '#';
                    for (int py = 0; py < kUnit; ++py)
                        for (int px = 0; px < kUnit; ++px)
                            ink.set(x + col * kUnit + px, top + row * kUnit + py,
                                    lit && py == 0 ? Rgb{255, 252, 220}
                                                   : letterShade(row * kUnit + py));
                }
        x += (w + 1) * kUnit;
    }
    ink.outline();
    ink.outline();
    // Drop shadow first, then the outlined letters over it.
    for (int y = 0; y < ink.height(); ++y)
        for (int x2 = 0; x2 < ink.width(); ++x2)
            if (!ink.at(x2, y).isBlack()) canvas.set(x2 + 2, y + 3, Rgb{16, 36, 92});
    for (int y = 0; y < ink.height(); ++y)
        for (int x2 = 0; x2 < ink.width(); ++x2)
            if (!ink.at(x2, y).isBlack()) canvas.set(x2, y, ink.at(x2, y));
}

void paintBubble(Canvas& canvas, double cx, double cy, double r) {
    canvas.shade([&](double x, double y) -> std::optional<Rgb> {
        const double d = std::hypot(x - cx, y - cy);
        if (std::hypot(x - (cx - r * 0.4), y - (cy - r * 0.4)) < r * 0.3) return Rgb{255, 255, 255};
        if (d < r && d > r - 1.2) return Rgb{200, 236, 255};
        return std::nullopt;
    });
}

}  // namespace

Canvas drawLogo() {
    Canvas logo(kLogoWidth, kLogoHeight);
    constexpr std::string_view kTitle = "Marlovek";
    paintText(logo, kTitle, (kLogoWidth - textWidth(kTitle)) / 2, 7);
    paintSubmarine(logo, 48.0, 52.0, 1.5, 0);
    logo.blit(drawPiranha(1), 10, 62);
    static constexpr double kBubbles[][3] = {{46.0, 70.0, 3.0},
                                             {40.0, 60.0, 2.2},
                                             {44.0, 51.0, 1.6},
                                             {120.0, 50.0, 2.0},
                                             {126.0, 43.0, 1.4}};
    for (const auto& b : kBubbles) paintBubble(logo, b[0], b[1], b[2]);
    // The border stays black: the logo's neighbours on the sheet must not bleed into it.
    for (int x = 0; x < kLogoWidth; ++x)
        logo.set(x, 0, kBlack), logo.set(x, kLogoHeight - 1, kBlack);
    for (int y = 0; y < kLogoHeight; ++y)
        logo.set(0, y, kBlack), logo.set(kLogoWidth - 1, y, kBlack);
    return logo;
}

Canvas drawIcon() {
    constexpr int kSize = 32;
    Canvas icon(kSize, kSize);
    icon.shade([](double x, double y) -> std::optional<Rgb> {
        const double d = std::hypot(x - 16.0, y - 16.0);
        if (d >= 15.8) return Rgb{0, 0, 0, 0};
        if (d > 14.6) return Rgb{12, 36, 110, 255};
        return mix(Rgb{110, 190, 255}, Rgb{16, 64, 200}, y / 32.0);
    });
    paintSubmarine(icon, 2.0, 9.0, 0.45, 0);
    icon.set(25, 7, Rgb{230, 248, 255});
    icon.set(27, 4, Rgb{230, 248, 255});
    icon.set(23, 4, Rgb{200, 236, 255});
    return icon;
}

}  // namespace assets

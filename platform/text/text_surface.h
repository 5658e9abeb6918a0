#pragma once
// A drawing surface for text, in the manner of a memory device context with a 32-bit top-down
// bitmap selected into it: a font, a text colour, a background colour and mode, and the two
// operations text needs, measuring and drawing.
//
// Pixels are 0x00RRGGBB (blue in the low byte). Drawing white text on an opaque black
// background therefore leaves the glyph coverage 0..255 in every channel, notably the low byte.

#include <cstdint>
#include <vector>

#include "platform/cp932.h"

namespace plat::text {

class Font;

// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct TextRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Format flags of `TextSurface::drawText`. Without Center or Right a line starts at the left
// edge; without VCenter or Bottom the text starts at the top.
namespace textFormat {
constexpr uint32_t NoClip = 0x100;        // draw outside the rectangle too
constexpr uint32_t Center = 0x1000;       // each line centred between left and right
constexpr uint32_t Right = 0x2000;        // each line ends at right
constexpr uint32_t VCenter = 0x4000;      // single line only: centred between top and bottom
constexpr uint32_t Bottom = 0x8000;       // single line only: ends at bottom
constexpr uint32_t CalcRect = 0x10000;    // measure only: set right and bottom, draw nothing
constexpr uint32_t SingleLine = 0x20000;  // line breaks are characters like any other
constexpr uint32_t NoPrefix = 0x40000;    // '&' is an ordinary character
}  // namespace textFormat

enum class BackgroundMode : uint8_t { Transparent, Opaque };

class TextSurface {
  public:
    TextSurface();

    // Replaces the bitmap by a new one of `width` x `height` pixels, all 0. False (the old
    // bitmap kept) for a side below 1 or above kMaxSide, or when memory cannot be had.
    bool createBitmap(int width, int height);
    static constexpr int kMaxSide = 16384;

    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t* pixels() { return pixels_.data(); }
    const uint32_t* pixels() const { return pixels_.data(); }
    uint32_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // The font used from now on (null: text measures empty and draws nothing); returns the one
    // it replaces.
    Font* selectFont(Font* font);
    Font* font() const { return font_; }
    void setTextColour(uint32_t rgb) { textColour_ = rgb & 0xFFFFFF; }
    void setBackgroundColour(uint32_t rgb) { backgroundColour_ = rgb & 0xFFFFFF; }
    void setBackgroundMode(BackgroundMode mode) { backgroundMode_ = mode; }

    // Draws (or with textFormat::CalcRect measures) `count` bytes of the Shift-JIS `text`, or
    // up to its NUL when `count` is -1, into `rect`.
    //  - Lines end at CR LF, LF or CR unless SingleLine. A line is as wide as the sum of its
    //    advances and as high as the font's cell; unless NoPrefix, '&' is dropped and "&&"
    //    gives one '&'.
    //  - CalcRect: right = left + the widest line, bottom = top + lines x cell height.
    //  - Drawing: each line placed by the flags, its cell filled with the background colour in
    //    opaque mode, glyphs blended in the text colour by their coverage; clipped to `rect`
    //    unless NoClip, and always to the bitmap.
    // Returns the height of the text (with VCenter or Bottom: from rect.top to its bottom);
    // 0 when there is no text, no font or a negative count other than -1.
    int drawText(const char* text, int count, TextRect& rect, uint32_t format);

  private:
    // Decodes the text into `codePoints_` (prefix characters removed); false on bad input.
    bool decode(const char* text, int count, uint32_t format);
    // Ends of the lines in `codePoints_`, and their widths.
    void layout(uint32_t format);
    void fill(const TextRect& box, const TextRect& clip, uint32_t colour);
    void drawLine(size_t begin, size_t end, int x, int baseline, const TextRect& clip);

    struct Line {
        size_t begin = 0, end = 0;  // code points [begin, end)
        int width = 0;
    };

    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
    Font* font_ = nullptr;
    uint32_t textColour_ = 0x000000;
    uint32_t backgroundColour_ = 0xFFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;

    Cp932Decoder decoder_;
    std::vector<char32_t> codePoints_;  // grows to the longest text seen, never shrinks
    size_t decoded_ = 0;                // code points of the current text
    std::vector<Line> lines_;
};

}  // namespace plat::text

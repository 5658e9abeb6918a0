#include "platform/text/text_surface.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "platform/text/font.h"

namespace plat::text {

namespace {

int32_t clampToInt(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Floor of half, like an arithmetic shift right by one.
int64_t halfDown(int64_t v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

uint32_t blendChannel(uint32_t dst, uint32_t src, uint32_t coverage) {
    const int d = static_cast<int>(dst), s = static_cast<int>(src);
    const int c = static_cast<int>(coverage);
    const int delta = (s - d) * c;
    return static_cast<uint32_t>(d + (delta >= 0 ? (delta + 127) / 255 : -((-delta + 127) / 255)));
}

}  // namespace

TextSurface::TextSurface() {
    lines_.reserve(16);
    codePoints_.reserve(256);
}

bool TextSurface::createBitmap(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
    std::vector<uint32_t> fresh;
    try {
        fresh.assign(static_cast<size_t>(width) * height, 0u);
    } catch (const std::bad_alloc&) {
        return false;
    }
    pixels_.swap(fresh);
    width_ = width;
    height_ = height;
    return true;
}

Font* TextSurface::selectFont(Font* font) {
    Font* old = font_;
    font_ = font;
    return old;
}

bool TextSurface::decode(const char* text, int count, uint32_t format) {
    size_t length = 0;
    if (count == -1) {
        length = std::strlen(text);
    } else if (count < 0) {
        return false;
    } else {
        length = static_cast<size_t>(count);
    }
    if (codePoints_.size() < length) {
        try {
            codePoints_.resize(length);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    size_t n = decoder_.decode(text, length, codePoints_.data(), length);
    if (!(format & textFormat::NoPrefix)) {
        // '&' marks the next character (which GDI underlines); "&&" is one '&'.
        size_t out = 0;
        for (size_t i = 0; i < n; ++i) {
            if (codePoints_[i] == U'&') {
                if (++i >= n) break;
            }
            codePoints_[out++] = codePoints_[i];
        }
        n = out;
    }
    decoded_ = n;
    return true;
}

void TextSurface::layout(uint32_t format) {
    lines_.clear();
    const bool single = (format & textFormat::SingleLine) != 0;
    Line line;
    for (size_t i = 0; i < decoded_; ++i) {
        const char32_t c = codePoints_[i];
        if (!single && (c == U'\r' || c == U'\n')) {
            line.end = i;
            lines_.push_back(line);
            if (c == U'\r' && i + 1 < decoded_ && codePoints_[i + 1] == U'\n') ++i;
            line = Line{i + 1, i + 1, 0};
            continue;
        }
        line.width = clampToInt(int64_t{line.width} + font_->advance(c));
    }
    line.end = decoded_;
    lines_.push_back(line);
}

void TextSurface::fill(const TextRect& box, const TextRect& clip, uint32_t colour) {
    const int x0 = std::max(box.left, clip.left), x1 = std::min(box.right, clip.right);
    const int y0 = std::max(box.top, clip.top), y1 = std::min(box.bottom, clip.bottom);
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
        std::fill(row + x0, row + std::max(x0, x1), colour);
    }
}

void TextSurface::drawLine(size_t begin, size_t end, int x, int baseline, const TextRect& clip) {
    const uint32_t tr = (textColour_ >> 16) & 0xFF, tg = (textColour_ >> 8) & 0xFF,
                   tb = textColour_ & 0xFF;
    int64_t pen = x;
    for (size_t i = begin; i < end; ++i) {
        const Glyph& g = font_->glyph(codePoints_[i]);
        const int64_t gx = pen + g.left, gy = int64_t{baseline} - g.top;
        pen += g.advance;
        const int64_t x0 = std::max<int64_t>(gx, clip.left);
        const int64_t x1 = std::min<int64_t>(gx + g.width, clip.right);
        const int64_t y0 = std::max<int64_t>(gy, clip.top);
        const int64_t y1 = std::min<int64_t>(gy + g.height, clip.bottom);
        for (int64_t y = y0; y < y1; ++y) {
            const uint8_t* cov = g.coverage + (y - gy) * g.width;
            uint32_t* row = pixels_.data() + y * width_;
            for (int64_t px = x0; px < x1; ++px) {
                const uint32_t c = cov[px - gx];
                if (c == 0) continue;
                const uint32_t d = row[px];
                row[px] = blendChannel((d >> 16) & 0xFF, tr, c) << 16 |
                          blendChannel((d >> 8) & 0xFF, tg, c) << 8 | blendChannel(d & 0xFF, tb, c);
            }
        }
    }
}

int TextSurface::drawText(const char* text, int count, TextRect& rect, uint32_t format) {
    if (!text || !font_) return 0;
    if (!decode(text, count, format)) return 0;
    layout(format);

    const int64_t cell = font_->cellHeight();
    const int64_t total = cell * static_cast<int64_t>(lines_.size());
    int widest = 0;
    for (const Line& l : lines_) widest = std::max(widest, l.width);

    if (format & textFormat::CalcRect) {
        rect.right = clampToInt(int64_t{rect.left} + widest);
        rect.bottom = clampToInt(int64_t{rect.top} + total);
        return clampToInt(total);
    }

    const bool single = (format & textFormat::SingleLine) != 0;
    int64_t top = rect.top;
    if (single && (format & textFormat::Bottom)) {
        top = int64_t{rect.bottom} - cell;
    } else if (single && (format & textFormat::VCenter)) {
        top = halfDown(int64_t{rect.top} + rect.bottom - cell);
    }

    TextRect clip{0, 0, width_, height_};
    if (!(format & textFormat::NoClip)) {
        clip.left = std::max(clip.left, rect.left);
        clip.top = std::max(clip.top, rect.top);
        clip.right = std::min(clip.right, rect.right);
        clip.bottom = std::min(clip.bottom, rect.bottom);
    }

    int64_t y = top;
    for (const Line& l : lines_) {
        int64_t x = rect.left;
        if (format & textFormat::Right) {
            x = int64_t{rect.right} - l.width;
        } else if (format & textFormat::Center) {
            x = halfDown(int64_t{rect.left} + rect.right - l.width);
        }
        const TextRect box{clampToInt(x), clampToInt(y), clampToInt(x + l.width),
                           clampToInt(y + cell)};
        if (backgroundMode_ == BackgroundMode::Opaque) fill(box, clip, backgroundColour_);
        if (y + cell > clip.top && y < clip.bottom)
            drawLine(l.begin, l.end, box.left, clampToInt(y + font_->ascent()), clip);
        y += cell;
    }
    if (single && (format & (textFormat::Bottom | textFormat::VCenter)))
        return clampToInt(top - rect.top + total);
    return clampToInt(total);
}

}  // namespace plat::text

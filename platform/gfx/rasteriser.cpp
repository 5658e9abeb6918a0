#include "platform/gfx/rasteriser.h"

#include <cstddef>
#include <new>

namespace plat::gfx {

bool Rasteriser::resize(uint32_t width, uint32_t height, Format format) {
    const uint32_t bpp = format == Format::R5G6B5 ? 2 : 4;
    try {
        pixels_.assign(static_cast<size_t>(width) * height * bpp, 0);
        columnTexel_.assign(width, 0);
        columnWeight_.assign(width, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    width_ = width;
    height_ = height;
    pitch_ = width * bpp;
    format_ = format;
    return true;
}

uint32_t Rasteriser::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= static_cast<int>(width_) || y >= static_cast<int>(height_)) return 0;
    const uint8_t* p = pixels_.data() + static_cast<size_t>(y) * pitch_;
    if (format_ == Format::R5G6B5) return decodePixel(Format::R5G6B5, p + x * 2) & 0x00FFFFFFu;
    return decodePixel(Format::X8R8G8B8, p + x * 4) & 0x00FFFFFFu;
}

void Rasteriser::clear(const Rect& rect, uint32_t colour) {
    const int32_t l = rect.left < 0 ? 0 : rect.left;
    const int32_t t = rect.top < 0 ? 0 : rect.top;
    const int32_t r = rect.right > static_cast<int32_t>(width_) ? width_ : rect.right;
    const int32_t b = rect.bottom > static_cast<int32_t>(height_) ? height_ : rect.bottom;
    for (int32_t y = t; y < b; ++y) {
        uint8_t* row = pixels_.data() + static_cast<size_t>(y) * pitch_;
        for (int32_t x = l; x < r; ++x) {
            if (format_ == Format::R5G6B5)
                encodePixel(Format::R5G6B5, colour, row + x * 2);
            else
                encodePixel(Format::X8R8G8B8, colour, row + x * 4);
        }
    }
}

void Rasteriser::prepare(const PipelineState& state) {
    (void)state;
}
void Rasteriser::drawTriangle(const ScreenVertex&, const ScreenVertex&, const ScreenVertex&) {}
void Rasteriser::drawQuad(const ScreenVertex&, const ScreenVertex&, const ScreenVertex&,
                          const ScreenVertex&) {}

}  // namespace plat::gfx

#include "render/facility/text_font.h"

#include <algorithm>
#include <new>

#include "render/facility/text_renderer.h"

namespace gfx = plat::gfx;
using plat::Result;

namespace {

// 32-bit wrapping arithmetic, as the placement of a box against a rectangle is defined.
int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t wrapSub(int32_t a, uint32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - b);
}

}  // namespace

Result createTextFont(gfx::Device* device, const plat::text::FontDesc* desc, TextFont** out) {
    if (out) *out = nullptr;
    if (!device || !desc || !out) return gfx::kInvalidCall;

    TextRenderer* renderer = nullptr;
    Result r = TextRenderer::acquire(device, &renderer);
    if (plat::failed(r)) return r;

    auto* font = new (std::nothrow) TextFont;
    if (!font) {
        renderer->release();
        return plat::kOutOfMemory;
    }
    font->renderer_ = renderer;
    font->desc_ = *desc;
    font->font_ = plat::text::Font::create(font->desc_);
    if (!font->font_) {
        font->release();
        return plat::kOutOfMemory;
    }
    font->device_ = device;
    device->addRef();
    *out = font;
    return plat::kOk;
}

TextFont::~TextFont() {
    if (renderer_) {
        // The surface must not keep a font that is going away.
        if (font_ && renderer_->surface().font() == font_.get())
            renderer_->surface().selectFont(nullptr);
        renderer_->release();
    }
    plat::releaseRef(device_);
}

Result TextFont::getDevice(gfx::Device** out) {
    if (!out) return gfx::kInvalidCall;
    device_->addRef();
    *out = device_;
    return plat::kOk;
}

Result TextFont::begin() {
    if (renderer_->begun()) return plat::kOk;
    return renderer_->begin();
}

Result TextFont::end() {
    if (!renderer_->begun()) return plat::kOk;
    return renderer_->end();
}

int TextFont::renderText(const char* text, int count, gfx::Rect* rect, uint32_t format,
                         uint32_t colour) {
    if (!text || !rect || count < -1) return 0;
    TextRenderer& renderer = *renderer_;
    plat::text::TextSurface& surface = renderer.surface();

    // The rectangle's size, as unsigned numbers: a rectangle whose right lies left of its left
    // (the usual (x, y, 0, 0)) is wider than any text.
    const uint32_t boxWidth =
        static_cast<uint32_t>(rect->right) - static_cast<uint32_t>(rect->left);
    const uint32_t boxHeight =
        static_cast<uint32_t>(rect->bottom) - static_cast<uint32_t>(rect->top);

    surface.selectFont(font_.get());

    // Measure.
    plat::text::TextRect measured{0, 0, static_cast<int32_t>(boxWidth),
                                  static_cast<int32_t>(boxHeight)};
    int result = surface.drawText(text, count, measured, format | textFormat::CalcRect);
    const uint32_t measuredWidth =
        static_cast<uint32_t>(std::max(0, measured.right - measured.left));
    const uint32_t measuredHeight =
        static_cast<uint32_t>(std::max(0, measured.bottom - measured.top));

    // The box: the measured text, cut to the rectangle unless NoClip.
    uint32_t width = measuredWidth, height = measuredHeight;
    if (!(format & textFormat::CalcRect) && !(format & textFormat::NoClip)) {
        width = std::min(measuredWidth, boxWidth);
        height = std::min(measuredHeight, boxHeight);
    }

    // Placement against the rectangle.
    int32_t left = rect->left, top = rect->top;
    if (format & textFormat::Right) {
        left = wrapSub(rect->right, width);
    } else if (format & textFormat::Center) {
        left = wrapSub(wrapAdd(rect->left, rect->right), width) >> 1;
    }
    if (format & textFormat::Bottom) {
        top = wrapSub(rect->bottom, height);
    } else if (format & textFormat::VCenter) {
        top = wrapSub(wrapAdd(rect->top, rect->bottom), height) >> 1;
    }

    if (format & textFormat::CalcRect) {
        *rect = gfx::Rect{left, top, wrapAdd(left, static_cast<int32_t>(width)),
                          wrapAdd(top, static_cast<int32_t>(height))};
        return result;
    }
    if (width == 0 || height == 0) return result;

    if (!renderer.fitSurface(width, height)) return 0;

    // Rasterise the box at the surface's top-left corner, on black.
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = surface.pixels() + static_cast<size_t>(y) * surface.width();
        std::fill(row, row + w, 0u);
    }
    plat::text::TextRect box{0, 0, w, h};
    result = surface.drawText(text, count, box, format);

    // Upload and draw the box tile by tile, rows from the top.
    const bool began = !renderer.begun() && plat::succeeded(renderer.begin());
    const int tileW = static_cast<int>(renderer.tileWidth());
    const int tileH = static_cast<int>(renderer.tileHeight());
    for (int ty = 0; ty < h && result != 0; ty += tileH) {
        for (int tx = 0; tx < w; tx += tileW) {
            const Result r =
                renderer.drawTile(tx, ty, std::min(tileW, w - tx), std::min(tileH, h - ty),
                                  static_cast<float>(static_cast<int64_t>(left) + tx),
                                  static_cast<float>(static_cast<int64_t>(top) + ty), colour);
            if (plat::failed(r)) {
                result = 0;
                break;
            }
        }
    }
    if (began) renderer.end();
    return result;
}

#pragma once
// The text font: draws Shift-JIS text on the graphics device. The text is rasterised into the
// device's text renderer's surface (white on black: coverage in the low byte), each pixel p of
// the text's box becomes the texel (p << 24) | 0xFFFFFF, and the box is uploaded and drawn tile
// by tile through the renderer's own sprite batch. Text therefore always blends with ordinary
// alpha: each text pixel gets the call's red, green and blue and alpha = colour alpha x coverage,
// whatever blend factors the caller has set.

#include <cstdint>
#include <memory>

#include "platform/gfx/device.h"
#include "platform/text/font.h"
#include "platform/text/font_desc.h"
#include "platform/text/text_surface.h"

class TextRenderer;

// Format flags of `TextFont::renderText`: those of the text surface.
namespace textFormat = plat::text::textFormat;

class TextFont : public plat::RefCounted {
  public:
    // Draws `count` bytes of `text` (-1: up to its NUL) into `rect` (left, top, right, bottom)
    // with the format flags, tinted by `colour` (0xAARRGGBB). The box is the measured text,
    // cut to the rectangle's size unless NoClip, placed by Right / Center / Bottom / VCenter
    // against the rectangle (left and top otherwise). With CalcRect the box is written into
    // `rect` and nothing is drawn. Only the box is drawn: whatever glyphs reach beyond it is not
    // shown. Returns the text's height in pixels; 0 when `text` or `rect` is missing, `count` is
    // below -1, the surface cannot grow to the box, or a tile upload or draw failed (tiles drawn
    // before the failure stay drawn).
    int renderText(const char* text, int count, plat::gfx::Rect* rect, uint32_t format,
                   uint32_t colour);

    // Bracket several renderText calls in one renderer begin / end (each call brackets itself
    // otherwise).
    plat::Result begin();
    plat::Result end();

    const plat::text::FontDesc& desc() const { return desc_; }
    plat::text::Font& font() { return *font_; }
    TextRenderer& renderer() { return *renderer_; }
    // Adds a reference to the device.
    plat::Result getDevice(plat::gfx::Device** out);

  private:
    friend plat::Result createTextFont(plat::gfx::Device* device, const plat::text::FontDesc* desc,
                                       TextFont** out);
    TextFont() = default;
    ~TextFont() override;

    plat::gfx::Device* device_ = nullptr;  // a reference is held
    plat::text::FontDesc desc_;
    std::unique_ptr<plat::text::Font> font_;
    TextRenderer* renderer_ = nullptr;  // a counted reference
};

// Makes a text font on `device` from a copy of `desc` (the caller may drop its description at
// once) into *out, with one reference for the caller. kInvalidCall for a missing device,
// description or output; kOutOfMemory; a failing device call's result while the device's text
// renderer is made. *out is null on failure.
plat::Result createTextFont(plat::gfx::Device* device, const plat::text::FontDesc* desc,
                            TextFont** out);

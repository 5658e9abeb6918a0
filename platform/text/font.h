#pragma once
// A font made from a FontDesc: the chosen face at the described size, its cell metrics and a
// cache of rendered glyphs (8-bit coverage), so that text already drawn once is drawn again
// without rendering or allocating.
//
// Metrics follow the face's Windows metrics (OS/2 usWinAscent and usWinDescent, the horizontal
// header's when the face has no OS/2 table):
//  - a positive height h is the cell height: the em is h * unitsPerEm / (winAscent + winDescent)
//    rounded to whole pixels, the ascent is winAscent at that em, rounded, and the descent is
//    h minus the ascent, so the cell is exactly h;
//  - a negative height -e is the em: ascent and descent are winAscent and winDescent at e
//    pixels, each rounded.
// Advances are whole pixels (the hinted advance). A bold font on a face without a bold style is
// emboldened by smearing each glyph `boldExtra()` pixels to the right, which also widens every
// advance by that much.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/face_resolver.h"
#include "platform/text/font_desc.h"

namespace plat::text {

// One rendered glyph: `width` x `height` coverage bytes (0..255), rows top first, placed with
// its top-left at (pen x + left, baseline - top).
struct Glyph {
    int16_t left = 0;
    int16_t top = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    int32_t advance = 0;
    const uint8_t* coverage = nullptr;
};

class Font {
  public:
    // Null only when memory cannot be had. A font whose face cannot be found or opened is made
    // anyway: it measures with its cell height, every advance is 0 and it draws nothing.
    static std::unique_ptr<Font> create(const FontDesc& desc);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontDesc& desc() const { return desc_; }
    bool hasFace() const { return face_ != nullptr; }
    const FaceChoice& face() const { return choice_; }
    int emPixels() const { return em_; }
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int cellHeight() const { return ascent_ + descent_; }
    // Pixels of synthetic emboldening (0 when not emboldened).
    int boldExtra() const { return boldExtra_; }

    // The glyph of a code point, rendered on first use. The reference stays valid until the
    // next call (glyphs beyond the cache's capacity share one scratch entry).
    const Glyph& glyph(char32_t codePoint);
    int advance(char32_t codePoint) { return glyph(codePoint).advance; }

  private:
    Font() = default;
    bool open();
    void render(char32_t codePoint, Glyph& out, std::vector<uint8_t>& store, size_t offset);

    struct Slot {
        char32_t codePoint = 0;
        bool used = false;
        Glyph glyph;
        uint32_t offset = 0;  // of its coverage in `pool_`
    };

    FontDesc desc_;
    FaceChoice choice_;
    void* face_ = nullptr;  // the FreeType face, or null
    int em_ = 0;
    int ascent_ = 0;
    int descent_ = 0;
    int boldExtra_ = 0;
    std::vector<Slot> slots_;  // open addressing by code point
    size_t used_ = 0;
    std::vector<uint8_t> pool_;  // coverage of the cached glyphs
    Glyph scratch_;
    std::vector<uint8_t> scratchPixels_;
};

}  // namespace plat::text

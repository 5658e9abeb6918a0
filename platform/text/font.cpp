#include "platform/text/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/cp932.h"

namespace plat::text {

namespace {

constexpr int kDefaultCellHeight = 16;
constexpr int64_t kMaxPixels = 1024;  // the largest em or cell a font is made with
constexpr size_t kSlots = 1024;       // glyph cache entries (a power of two)
constexpr size_t kMaxCached = kSlots * 3 / 4;
constexpr size_t kPoolReserve = 64 * 1024;
constexpr int kPreloadMaxEm = 64;

// The process's FreeType library, made on first use and kept for the rest of the run.
FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

FT_Face ftFace(void* face) {
    return static_cast<FT_Face>(face);
}

int64_t roundedScale(int64_t units, int64_t pixels, int64_t unitsPerEm) {
    return (units * pixels * 2 + unitsPerEm) / (2 * unitsPerEm);
}

size_t slotOf(char32_t codePoint) {
    return (static_cast<uint32_t>(codePoint) * 2654435761u) & (kSlots - 1);
}

}  // namespace

FontDesc makeFontDesc(int32_t height, int32_t weightValue, const char* faceName) {
    FontDesc d;
    d.height = height;
    d.weight = weightValue;
    d.charset = Charset::ShiftJis;
    d.quality = Quality::Antialiased;
    if (faceName) {
        std::strncpy(d.faceName, faceName, sizeof d.faceName - 1);
        d.faceName[sizeof d.faceName - 1] = '\0';
    }
    return d;
}

std::unique_ptr<Font> Font::create(const FontDesc& desc) {
    std::unique_ptr<Font> font(new (std::nothrow) Font);
    if (!font) return nullptr;
    font->desc_ = desc;
    font->desc_.faceName[sizeof font->desc_.faceName - 1] = '\0';
    try {
        font->slots_.resize(kSlots);
        font->pool_.reserve(kPoolReserve);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    font->open();
    return font;
}

Font::~Font() {
    if (face_) FT_Done_Face(ftFace(face_));
}

bool Font::open() {
    // The requested size in pixels, bounded so that no description makes huge glyphs.
    const int64_t h = desc_.height;
    const int64_t cell =
        h == 0 ? kDefaultCellHeight : std::clamp<int64_t>(h, -kMaxPixels, kMaxPixels);
    // Until a face says otherwise: em and cell alike, the ascent four fifths of it.
    const int64_t size = cell > 0 ? cell : -cell;
    em_ = static_cast<int>(std::max<int64_t>(size, 1));
    ascent_ = static_cast<int>(size * 4 / 5);
    descent_ = static_cast<int>(size) - ascent_;

    const bool bold = desc_.weight >= 600;
    char family[3 * sizeof desc_.faceName + 1];
    cp932ToUtf8(desc_.faceName, family, sizeof family);
    choice_ = resolveFace(family, em_, bold);
    if (choice_.source == FaceSource::None || !library()) return false;

    FT_Face face = nullptr;
    if (FT_New_Face(library(), choice_.file.c_str(), choice_.index, &face) != 0) return false;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);

    // The Windows metrics in font units.
    int64_t upem = face->units_per_EM;
    int64_t winAscent = 0, winDescent = 0;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
    } else {
        winAscent = face->ascender;
        winDescent = -face->descender;
    }
    if (upem <= 0 || winAscent + winDescent <= 0) {
        // A face without scalable metrics: take them as they come at the em.
        upem = 5;
        winAscent = 4;
        winDescent = 1;
    }

    int64_t em = 0, ascent = 0, descent = 0;
    if (cell > 0) {
        em = std::max<int64_t>(
            1, (cell * upem * 2 + (winAscent + winDescent)) / (2 * (winAscent + winDescent)));
        ascent = std::min(cell, roundedScale(winAscent, em, upem));
        descent = cell - ascent;
    } else {
        em = -cell;
        ascent = roundedScale(winAscent, em, upem);
        descent = roundedScale(winDescent, em, upem);
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0 && face->num_fixed_sizes > 0)
        FT_Select_Size(face, 0);
    em_ = static_cast<int>(em);
    ascent_ = static_cast<int>(ascent);
    descent_ = static_cast<int>(descent);
    // A face that is bold itself needs no help; any other is emboldened for a bold request.
    bool faceBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600)
        faceBold = true;
    boldExtra_ = (bold && !faceBold) ? std::max(1, (em_ + 16) / 32) : 0;
    face_ = face;

    // The printable ASCII characters are drawn by most texts: render them now (at text sizes).
    if (em_ <= kPreloadMaxEm) {
        for (char32_t c = 0x20; c < 0x7F; ++c) glyph(c);
    }
    return true;
}

void Font::render(char32_t codePoint, Glyph& out, std::vector<uint8_t>& store, size_t offset) {
    out = Glyph{};
    if (!face_) return;
    FT_Face face = ftFace(face_);
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    const bool mono = desc_.quality == Quality::NonAntialiased;
    if (FT_Load_Glyph(face, index, mono ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT) != 0) return;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return;
    out.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6) + boldExtra_;

    // Coverage as 0..255 bytes, whatever depth the rasteriser or an embedded bitmap gave.
    FT_Bitmap gray;
    FT_Bitmap_Init(&gray);
    if (FT_Bitmap_Convert(library(), &slot->bitmap, &gray, 1) != 0) {
        FT_Bitmap_Done(library(), &gray);
        return;
    }
    const int srcW = static_cast<int>(gray.width);
    const int srcH = static_cast<int>(gray.rows);
    const int levels = gray.num_grays > 1 ? gray.num_grays - 1 : 1;
    const int w = srcW > 0 ? srcW + boldExtra_ : 0;
    if (w > 0xFFFF || srcH > 0xFFFF) {
        FT_Bitmap_Done(library(), &gray);
        return;
    }
    try {
        store.resize(offset + static_cast<size_t>(w) * srcH);
    } catch (const std::bad_alloc&) {
        FT_Bitmap_Done(library(), &gray);
        return;
    }
    uint8_t* dst = store.data() + offset;
    for (int y = 0; y < srcH; ++y) {
        const uint8_t* src = gray.buffer + static_cast<ptrdiff_t>(y) * gray.pitch;
        uint8_t* row = dst + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            // Emboldening: each pixel takes the strongest of itself and the pixels up to
            // `boldExtra_` to its left.
            int best = 0;
            for (int k = 0; k <= boldExtra_; ++k) {
                const int sx = x - k;
                if (sx >= 0 && sx < srcW) best = std::max<int>(best, src[sx]);
            }
            row[x] =
                static_cast<uint8_t>(levels == 255 ? best : (best * 255 + levels / 2) / levels);
        }
    }
    FT_Bitmap_Done(library(), &gray);
    out.left = static_cast<int16_t>(std::clamp(slot->bitmap_left, -32768, 32767));
    out.top = static_cast<int16_t>(std::clamp(slot->bitmap_top, -32768, 32767));
    out.width = static_cast<uint16_t>(w);
    out.height = static_cast<uint16_t>(srcH);
}

const Glyph& Font::glyph(char32_t codePoint) {
    size_t i = slotOf(codePoint);
    while (slots_[i].used) {
        if (slots_[i].codePoint == codePoint) {
            Slot& s = slots_[i];
            s.glyph.coverage = pool_.data() + s.offset;
            return s.glyph;
        }
        i = (i + 1) & (kSlots - 1);
    }
    if (used_ >= kMaxCached) {
        // The cache is full: render into the one scratch entry.
        render(codePoint, scratch_, scratchPixels_, 0);
        scratch_.coverage = scratchPixels_.data();
        return scratch_;
    }
    Slot& s = slots_[i];
    const size_t offset = pool_.size();
    render(codePoint, s.glyph, pool_, offset);
    if (static_cast<size_t>(s.glyph.width) * s.glyph.height == 0) pool_.resize(offset);
    s.used = true;
    s.codePoint = codePoint;
    s.offset = static_cast<uint32_t>(offset);
    ++used_;
    s.glyph.coverage = pool_.data() + s.offset;
    return s.glyph;
}

}  // namespace plat::text

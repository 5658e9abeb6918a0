#pragma once
// The description a font is made from: size, weight, character set, quality and a face name,
// as a program asks for a font. `Font` (font.h) turns it into glyphs.

#include <cstdint>

namespace plat::text {

// Weights: 0 leaves the choice to the face, 400 is regular, 700 bold. At 600 and above a face
// without a bold style is emboldened.
namespace weight {
constexpr int32_t DontCare = 0;
constexpr int32_t Regular = 400;
constexpr int32_t Bold = 700;
}  // namespace weight

enum class Charset : uint8_t { Default, ShiftJis };
enum class Quality : uint8_t { Default, NonAntialiased, Antialiased };

struct FontDesc {
    // > 0: the cell height in pixels (ascent plus descent by the face's Windows metrics);
    // < 0: the em height; 0: a 16-pixel cell.
    int32_t height = 0;
    int32_t width = 0;        // 0: the face's own proportions (other widths are not honoured)
    int32_t escapement = 0;   // not honoured
    int32_t orientation = 0;  // not honoured
    int32_t weight = weight::DontCare;
    bool italic = false;     // not honoured
    bool underline = false;  // not honoured
    bool strikeOut = false;  // not honoured
    Charset charset = Charset::Default;
    Quality quality = Quality::Default;
    // The face name as Shift-JIS bytes, NUL-terminated (a name of 32 bytes or more is cut).
    char faceName[32] = {};
};

// A description with the given height, weight and Shift-JIS face name, antialiased, with the
// Shift-JIS character set and everything else at its default.
FontDesc makeFontDesc(int32_t height, int32_t weight, const char* faceName);

}  // namespace plat::text

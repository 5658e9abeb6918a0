#pragma once
// Choosing the face file for a font: fontconfig is asked for the family in Japanese at the pixel
// size, and the match is kept only when it covers kana and kanji. Otherwise the first installed
// of the Japanese gothic faces below; otherwise any face (with a one-line notice on stderr, once
// per process); otherwise none.

#include <string>
#include <vector>

namespace plat::text {

// The Japanese faces tried, in order, when the requested family gives no Japanese face.
inline constexpr const char* kJapaneseFallbacks[] = {"IPAGothic", "VL Gothic", "Noto Sans CJK JP"};

enum class FaceSource : unsigned char {
    None,       // no face at all: text draws nothing
    Requested,  // fontconfig's match for the requested family, covering Japanese
    Fallback,   // one of kJapaneseFallbacks
    AnyFace,    // no Japanese face is installed; Japanese characters draw as missing glyphs
};

struct FaceChoice {
    FaceSource source = FaceSource::None;
    std::string file;    // the font file
    int index = 0;       // the face within the file
    std::string family;  // the face's (first) family name
};

// The face for `familyUtf8` at `pixelSize`, bold or not.
FaceChoice resolveFace(const char* familyUtf8, int pixelSize, bool bold);

// Whether the face in `file` (face `index`) has the characters あ, ア and 漢.
bool coversJapanese(const char* file, int index);

// Tests: resolve against the fonts of these folders only (no configuration files); an empty
// list means no fonts at all. `useSystemFonts` goes back to the system's configuration.
void useFontFolders(const std::vector<std::string>& folders);
void useSystemFonts();

}  // namespace plat::text

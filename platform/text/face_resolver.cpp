#include "platform/text/face_resolver.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstdio>
#include <filesystem>

namespace plat::text {

namespace {

// The characters a face must have to show the game's Japanese: hiragana, katakana and a kanji.
constexpr FcChar32 kJapaneseProbe[] = {0x3042 /* あ */, 0x30A2 /* ア */, 0x6F22 /* 漢 */};

// The configuration matches are made against: null for the system's own, or one of our own
// holding only the folders a test named.
FcConfig* ownConfig = nullptr;

FcConfig* config() {
    if (ownConfig) return ownConfig;
    FcInit();
    return nullptr;  // fontconfig's current configuration
}

bool charsetCoversJapanese(const FcCharSet* set) {
    if (!set) return false;
    for (FcChar32 c : kJapaneseProbe) {
        if (!FcCharSetHasChar(set, c)) return false;
    }
    return true;
}

bool hasFamily(FcPattern* font, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0) return true;
    }
    return false;
}

// fontconfig's best match for the family (any when null), Japanese or not, at the pixel size.
// The caller destroys the result; null when no face is there at all.
FcPattern* bestMatch(const char* family, bool japanese, int pixelSize, bool bold) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    if (family && *family)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    if (japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize > 0 ? pixelSize : 16);
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfig* cfg = config();
    FcConfigSubstitute(cfg, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(cfg, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return nullptr;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        FcPatternDestroy(match);
        return nullptr;
    }
    return match;
}

bool japanese(FcPattern* font) {
    FcCharSet* set = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch) return false;
    return charsetCoversJapanese(set);
}

FaceChoice choiceFrom(FcPattern* font, FaceSource source) {
    FaceChoice choice;
    choice.source = source;
    FcChar8* s = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &s) == FcResultMatch)
        choice.file = reinterpret_cast<const char*>(s);
    if (FcPatternGetString(font, FC_FAMILY, 0, &s) == FcResultMatch)
        choice.family = reinterpret_cast<const char*>(s);
    FcPatternGetInteger(font, FC_INDEX, 0, &choice.index);
    return choice;
}

}  // namespace

FaceChoice resolveFace(const char* familyUtf8, int pixelSize, bool bold) {
    // The requested family, in Japanese: fontconfig's rules may map it to a Japanese face.
    if (familyUtf8 && *familyUtf8) {
        if (FcPattern* m = bestMatch(familyUtf8, true, pixelSize, bold)) {
            const bool ok = japanese(m);
            FaceChoice choice = choiceFrom(m, FaceSource::Requested);
            FcPatternDestroy(m);
            if (ok) return choice;
        }
    }
    // The known Japanese gothic faces, each only when it is really installed.
    for (const char* family : kJapaneseFallbacks) {
        if (FcPattern* m = bestMatch(family, true, pixelSize, bold)) {
            const bool ok = hasFamily(m, family) && japanese(m);
            FaceChoice choice = choiceFrom(m, FaceSource::Fallback);
            FcPatternDestroy(m);
            if (ok) return choice;
        }
    }
    // Any face at all: Latin text still shows.
    if (FcPattern* m = bestMatch(familyUtf8, false, pixelSize, bold)) {
        FaceChoice choice = choiceFrom(m, FaceSource::AnyFace);
        FcPatternDestroy(m);
        static bool told = false;
        if (!told) {
            told = true;
            std::fprintf(stderr,
                         "marlovek: no Japanese font found (install fonts-ipafont-gothic); "
                         "Japanese text shows as missing glyphs, using %s\n",
                         choice.family.c_str());
        }
        return choice;
    }
    return FaceChoice{};
}

bool coversJapanese(const char* file, int index) {
    if (!file) return false;
    int count = 0;
    FcBlanks* blanks = nullptr;
    FcPattern* p = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file), index, blanks, &count);
    if (!p) return false;
    const bool ok = japanese(p);
    FcPatternDestroy(p);
    return ok;
}

void useFontFolders(const std::vector<std::string>& folders) {
    FcConfig* cfg = FcConfigCreate();
    if (!cfg) return;
    // A cache folder of its own, so that scanning the folders does not complain.
    const std::string cache =
        "<fontconfig><cachedir>" +
        (std::filesystem::temp_directory_path() / "marlovek-fontconfig").string() +
        "</cachedir></fontconfig>";
    FcConfigParseAndLoadFromMemory(cfg, reinterpret_cast<const FcChar8*>(cache.c_str()), FcFalse);
    for (const std::string& f : folders)
        FcConfigAppFontAddDir(cfg, reinterpret_cast<const FcChar8*>(f.c_str()));
    FcConfigBuildFonts(cfg);
    if (ownConfig) FcConfigDestroy(ownConfig);
    ownConfig = cfg;
}

void useSystemFonts() {
    if (ownConfig) FcConfigDestroy(ownConfig);
    ownConfig = nullptr;
}

}  // namespace plat::text

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps a few blocks of its initialisation for the whole run, unreachable from outside;
// the leak checker of sanitised builds is told not to report them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

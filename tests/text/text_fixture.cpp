#include "text/text_fixture.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace textfix {

using plat::text::TextRect;
using plat::text::TextSurface;

TextRect inkBox(const TextSurface& s) {
    TextRect box{s.width(), s.height(), 0, 0};
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if ((s.pixel(x, y) & 0xFF) == 0) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

uint64_t inkSum(const TextSurface& s) {
    uint64_t sum = 0;
    for (int i = 0; i < s.width() * s.height(); ++i) sum += s.pixels()[i] & 0xFF;
    return sum;
}

TextRect measure(TextSurface& s, const char* text, uint32_t format) {
    TextRect r{0, 0, 0, 0};
    s.drawText(text, -1, r, format | plat::text::textFormat::CalcRect);
    return r;
}

std::string systemFontFile(const char* family) {
    FcInit();
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!p) return "";
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* m = FcFontMatch(nullptr, p, &result);
    FcPatternDestroy(p);
    if (!m) return "";
    std::string file;
    FcChar8* s = nullptr;
    if (FcPatternGetString(m, FC_FAMILY, 0, &s) == FcResultMatch &&
        strcasecmp(reinterpret_cast<const char*>(s), family) == 0 &&
        FcPatternGetString(m, FC_FILE, 0, &s) == FcResultMatch)
        file = reinterpret_cast<const char*>(s);
    FcPatternDestroy(m);
    return file;
}

std::string freshFolder(const char* name) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("marlovek-text-" + std::to_string(getpid()) + "-" + name);
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    return dir.string();
}

bool copyInto(const std::string& file, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::copy_file(file, fs::path(folder) / fs::path(file).filename(),
                  fs::copy_options::overwrite_existing, ec);
    return !ec;
}

}  // namespace textfix

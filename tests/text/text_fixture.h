#pragma once
// Shared pieces of the text tests: the game's texts, the three fonts the game makes, and ways to
// read a drawn surface.

#include <cstdint>
#include <string>

#include "platform/text/text_surface.h"

namespace textfix {

// "スペースキーを押してね", "潜水艦撃沈！", "倒したピラニア　12匹" in Shift-JIS.
inline constexpr char kPrompt[] =
    "\x83X\x83y\x81[\x83X\x83L\x81[\x82\xF0\x89\x9F\x82\xB5\x82\xC4\x82\xCB";
inline constexpr char kSunk[] = "\x90\xF6\x90\x85\x8A\xCD\x8C\x82\x92\xBE\x81I";
inline constexpr char kGameOver[] = "  GAMEOVER";
inline constexpr char kResult[] = "\x93|\x82\xB5\x82\xBD\x83s\x83\x89\x83j\x83\x41\x81@12\x95\x43";

// The box of the pixels whose low byte is not 0 (empty: right <= left).
plat::text::TextRect inkBox(const plat::text::TextSurface& s);
// The sum of the low bytes of all pixels.
uint64_t inkSum(const plat::text::TextSurface& s);
// The measured box of `text` in the surface's font at (0, 0).
plat::text::TextRect measure(plat::text::TextSurface& s, const char* text, uint32_t format = 0);

// The file of the installed face of `family` per the system's fontconfig, or "" when that family
// is not installed.
std::string systemFontFile(const char* family);
// A new empty folder under the temporary folder.
std::string freshFolder(const char* name);
// Copies `file` into `folder`; false on failure.
bool copyInto(const std::string& file, const std::string& folder);

}  // namespace textfix

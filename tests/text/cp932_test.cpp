#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/messages.h"

namespace {

std::u32string decode(const char* bytes, size_t length) {
    plat::Cp932Decoder d;
    std::u32string out(length, U'\0');
    out.resize(d.decode(bytes, length, out.data(), out.size()));
    return out;
}
std::u32string decode(const char* bytes) {
    return decode(bytes, std::strlen(bytes));
}

struct DecodeCase {
    const char* name;
    const char* bytes;
    std::u32string expected;
};

}  // namespace

// The game's texts as they are stored (Shift-JIS) decode to the Japanese they show.
TEST(Cp932, DecodesTheGamesTexts) {
    const DecodeCase cases[] = {
        {"prompt", "\x83X\x83y\x81[\x83X\x83L\x81[\x82\xF0\x89\x9F\x82\xB5\x82\xC4\x82\xCB",
         U"スペースキーを押してね"},
        {"sunk", "\x90\xF6\x90\x85\x8A\xCD\x8C\x82\x92\xBE\x81I", U"潜水艦撃沈！"},
        {"game over", "  GAMEOVER", U"  GAMEOVER"},
        {"result", "\x93|\x82\xB5\x82\xBD\x83s\x83\x89\x83j\x83\x41\x81@42\x95\x43",
         U"倒したピラニア　42匹"},
        {"face", kFontFace, U"ＭＳ ゴシック"},
        {"message", kDeviceFailedText, U"DIRECT3Dデバイスの作成に失敗しました"},
        // Code page 932 keeps the ASCII backslash and tilde (plain Shift-JIS has yen and overline).
        {"ascii", "a\\b~c", U"a\\b~c"},
        {"half-width katakana", "\xB1\xB2", U"ｱｲ"},
    };
    for (const DecodeCase& c : cases) EXPECT_EQ(decode(c.bytes), c.expected) << c.name;
}

// Bytes that are no code page 932 become one U+FFFD each and decoding goes on; a lead byte cut off
// by the end of the input is dropped; the output is never longer than the input in bytes.
TEST(Cp932, ReplacesBadBytesAndDropsACutLeadByte) {
    EXPECT_EQ(decode("a\xFF"
                     "b"),
              U"a\uFFFD"
              "b");
    EXPECT_EQ(decode("\xA0\xFD"), U"\uFFFD\uFFFD");
    EXPECT_EQ(decode("\x82\xA0\x82", 3), U"あ");
    EXPECT_EQ(decode("\x82\xA0", 1), U"");

    // Room for fewer code points than the text has: the decoding stops when full.
    plat::Cp932Decoder d;
    char32_t two[2] = {};
    EXPECT_EQ(d.decode("\x82\xA0\x82\xA2\x82\xA4", 6, two, 2), 2u);
    EXPECT_EQ(two[0], U'あ');
    EXPECT_EQ(two[1], U'い');
    // The converter starts fresh on every call.
    char32_t one[1] = {};
    EXPECT_EQ(d.decode("x", 1, one, 1), 1u);
    EXPECT_EQ(one[0], U'x');
    EXPECT_EQ(d.decode(nullptr, 3, one, 1), 0u);
}

// The game's texts on the replayed title and result screens.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text/font.h"
#include "render/messages.h"
#include "text/text_fixture.h"
#include "tools/replay/replay.h"

using namespace plat::text;
using namespace textfix;

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    uint32_t at(int x, int y) const {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
};

bool readPng(const std::string& path, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

// The coverage of `text` in the game's font of `height` and `weight`, drawn at (0, 0).
struct Coverage {
    int width = 0, height = 0;
    std::vector<uint8_t> values;
    int at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? values[y * width + x] : 0;
    }
};
Coverage coverage(int32_t height, int32_t weight, const char* text) {
    auto font = Font::create(makeFontDesc(height, weight, kFontFace));
    TextSurface s;
    s.createBitmap(512, 64);
    s.selectFont(font.get());
    s.setTextColour(0xFFFFFF);
    s.setBackgroundColour(0);
    TextRect r{0, 0, 0, 0};
    s.drawText(text, -1, r, textFormat::NoClip);
    const TextRect m = measure(s, text);
    Coverage c{m.right, m.bottom, {}};
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) c.values.push_back(s.pixel(x, y) & 0xFF);
    return c;
}

class Screens : public ::testing::Test {
  protected:
    // Runs the game to frame `frames` with Space tapped at frame 102 (when the prompt first
    // shows), keeping the picture and the trace line of frame `shot`.
    void replayTo(uint64_t frames, uint64_t shot) {
        dir = freshFolder("screens");
        const std::string script = dir + "/start.script";
        std::ofstream(script) << "102 tap space\n";
        const std::string shotText = std::to_string(shot);
        const std::string framesText = std::to_string(frames);
        const std::string trace = dir + "/trace.jsonl";
        std::vector<std::string> args = {"marlovek-replay",
                                         "--frames",
                                         framesText,
                                         "--time",
                                         "1",
                                         "--script",
                                         script,
                                         "--shots",
                                         dir,
                                         "--shot-frames",
                                         shotText,
                                         "--trace",
                                         trace,
                                         "--trace-frames",
                                         shotText};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        replay::Options options;
        std::string error;
        ASSERT_TRUE(
            replay::parseArguments(static_cast<int>(argv.size()), argv.data(), options, error))
            << error;
        const replay::Outcome outcome = replay::run(options);
        ASSERT_EQ(outcome.exitCode, 0) << outcome.error;
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06llu.png",
                      static_cast<unsigned long long>(shot));
        ASSERT_TRUE(readPng(dir + name, picture));
        std::ifstream t(trace);
        std::getline(t, traceLine);
    }
    int traceValue(const char* key) const {
        const std::string k = std::string("\"") + key + "\":";
        const size_t at = traceLine.find(k);
        return at == std::string::npos ? -1 : std::atoi(traceLine.c_str() + at + k.size());
    }

    std::string dir, traceLine;
    Picture picture;
};

}  // namespace

// The prompt "スペースキーを押してね" shows at (64, 200) in the 16-pixel bold font, white: every
// fully covered pixel of the text is white on the screen.
TEST_F(Screens, TitlePromptIsDrawnAt64x200) {
    replayTo(103, 102);
    ASSERT_EQ(traceValue("scene"), 0);
    const Coverage c = coverage(16, 700, kPrompt);
    int full = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            if (c.at(x, y) != 255) continue;
            ++full;
            EXPECT_EQ(picture.at(64 + x, 200 + y), 0xFFFFFFu) << x << "," << y;
        }
    EXPECT_GT(full, 20);
}

// On the black result screen the picture is exactly the three texts: "潜水艦撃沈！" and
// "  GAMEOVER" in red at (72, 64) and (72, 96) in the 32-pixel font, the kill count line in white
// at (64, 160) in the 16-pixel bold font.
TEST_F(Screens, ResultScreenShowsTheThreeTexts) {
    replayTo(1561, 1560);
    ASSERT_EQ(traceValue("playPhase"), 2) << traceLine;
    const int kills = traceValue("killCount");
    ASSERT_GE(kills, 0);
    char result[64];
    std::snprintf(result, sizeof result,
                  "\x93|\x82\xB5\x82\xBD\x83s\x83\x89\x83j\x83\x41\x81@%d\x95\x43", kills);
    const Coverage sunk = coverage(32, 0, kSunk);
    const Coverage over = coverage(32, 0, kGameOver);
    const Coverage line = coverage(16, 700, result);
    int worst = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const int red = std::max(sunk.at(x - 72, y - 64), over.at(x - 72, y - 96));
            const int white = line.at(x - 64, y - 160);
            const uint32_t want = static_cast<uint32_t>(std::max(red, white)) << 16 |
                                  static_cast<uint32_t>(white) << 8 | static_cast<uint32_t>(white);
            const uint32_t got = picture.at(x, y);
            for (int s : {0, 8, 16})
                worst = std::max(worst, std::abs(static_cast<int>((got >> s) & 0xFF) -
                                                 static_cast<int>((want >> s) & 0xFF)));
        }
    EXPECT_LE(worst, 1);
}

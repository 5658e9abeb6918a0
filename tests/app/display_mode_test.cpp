// F1 and F2 cycle the display modes; the device is reset exactly when full screen is entered or
// left, and the window is placed for the new mode.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/shell_harness.h"

using testing_support::ShellHarness;

namespace {

struct ModeCase {
    uint8_t key;
    int32_t from;
    int32_t to;
    bool reset;
};

int countCalls(const std::vector<std::string>& calls, const std::string& name) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

}  // namespace

TEST(DisplayMode, TransitionTable) {
    const ModeCase cases[] = {
        {plat::vk::F1, 0, 1, true}, {plat::vk::F1, 1, 2, false}, {plat::vk::F1, 2, 0, true},
        {plat::vk::F2, 0, 2, true}, {plat::vk::F2, 2, 1, false}, {plat::vk::F2, 1, 0, true},
    };
    for (const ModeCase& c : cases) {
        ShellHarness shell;
        int resetsBefore = -1;
        shell.onTurnHook = [&](plat::HeadlessHost& h) {
            if (shell.frames == 1 && resetsBefore < 0) {
                displayMode = c.from;
                h.clearCalls();
                resetsBefore = 0;
                h.pressWindowKey(c.key);
            }
            if (shell.frames == 2) h.requestClose();
        };
        ASSERT_EQ(shell.run(), 0);
        SCOPED_TRACE(std::string(c.key == plat::vk::F1 ? "F1 " : "F2 ") + std::to_string(c.from));
        EXPECT_EQ(displayMode, c.to);
        EXPECT_EQ(countCalls(shell.host.calls(), "resetGraphics"), c.reset ? 1 : 0);
        // The device is reset before the window moves.
        const auto& calls = shell.host.calls();
        auto pos = std::find(calls.begin(), calls.end(), "setWindowPos");
        ASSERT_NE(pos, calls.end());
        if (c.reset) {
            EXPECT_LT(std::find(calls.begin(), calls.end(), "resetGraphics"), pos);
        }
        const plat::WindowGeometry& g = shell.host.geometry();
        if (c.to == 0) {
            EXPECT_EQ(g.x, 0);
            EXPECT_EQ(g.y, 0);
            EXPECT_EQ(g.width, 320);
            EXPECT_EQ(g.height, 240);
        } else {
            const int cw = c.to == 1 ? 320 : 640, ch = c.to == 1 ? 240 : 480;
            EXPECT_EQ(g.clientWidth, cw);
            EXPECT_EQ(g.clientHeight, ch);
            EXPECT_EQ(g.x, (1920 - g.width) / 2);
            EXPECT_EQ(g.y, (1080 - g.height) / 2);
        }
    }
}

TEST(DisplayMode, StartsCentredAtTwiceTheSizeAndHoldingF1Cycles) {
    ShellHarness shell;
    std::vector<int32_t> modes;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 0 && modes.empty()) {
            EXPECT_EQ(h.geometry().clientWidth, 640);
            EXPECT_EQ(h.geometry().clientHeight, 480);
            for (int i = 0; i < 4; ++i) h.pressWindowKey(plat::vk::F1);  // auto-repeat
            modes.push_back(displayMode);
        } else if (!modes.empty() && modes.size() < 5) {
            modes.push_back(displayMode);
        }
        if (shell.frames == 1) h.requestClose();
    };
    ASSERT_EQ(shell.run(), 0);
    // Each repeat message is one step: 2 -> 0 -> 1 -> 2 -> 0.
    EXPECT_EQ(modes, (std::vector<int32_t>{2, 0, 1, 2, 0}));
}

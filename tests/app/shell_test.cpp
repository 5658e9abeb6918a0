// The shell end to end on the headless host: start-up and shutdown orders, the fatal failures,
// the message loop's one-message-per-turn rule, activation, quitting.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/scene.h"
#include "platform/keyboard.h"
#include "platform/random.h"
#include "render/draw.h"
#include "support/shell_harness.h"

using testing_support::ShellHarness;

namespace {

// Index of each wanted call in `calls`, in order; fails the test if one is missing or out of
// order.
void expectInOrder(const std::vector<std::string>& calls, const std::vector<std::string>& wanted) {
    size_t at = 0;
    for (const std::string& w : wanted) {
        auto it = std::find(calls.begin() + static_cast<long>(at), calls.end(), w);
        ASSERT_NE(it, calls.end()) << "missing or out of order: " << w;
        at = static_cast<size_t>(it - calls.begin()) + 1;
    }
}

bool contains(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

}  // namespace

TEST(Shell, StartsUpAndShutsDownInOrder) {
    ShellHarness shell;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 3) h.pressWindowKey(plat::vk::Escape);
    };
    EXPECT_EQ(shell.run(), 0);
    expectInOrder(
        shell.host.calls(),
        {"registerClass", "createWindow", "openWindow", "showWindow", "updateWindow",
         "setWindowPos", "updateWindow", "openPresenter(accelerated)", "loadSpriteSheet",
         "createInputSystem", "createKeyboard", "openAudio", "createFonts", "showCursor(0)",
         "showCursor(1)", "closeAudio", "unacquireKeyboard", "closePresenter"});
    EXPECT_EQ(shell.host.caption(), " - Marlovek - ");
    EXPECT_TRUE(shell.host.cursorVisible());
    EXPECT_EQ(shell.frames, 3u);
}

TEST(Shell, NoGraphicsDeviceEndsWithZeroBeforeInputAndSound) {
    plat::HeadlessConfig config;
    config.acceleratedPresenter = false;
    config.softwarePresenter = false;
    ShellHarness shell(config);
    EXPECT_EQ(shell.run(), 0);
    EXPECT_EQ(shell.host.messageBoxes().size(), 2u);  // the hardware retry, then the failure
    EXPECT_FALSE(contains(shell.host.calls(), "createInputSystem"));
    EXPECT_FALSE(contains(shell.host.calls(), "openAudio"));
    EXPECT_FALSE(contains(shell.host.calls(), "showCursor(0)"));
    EXPECT_EQ(shell.frames, 0u);
}

TEST(Shell, SoftwareFallbackRunsTheGame) {
    plat::HeadlessConfig config;
    config.acceleratedPresenter = false;
    ShellHarness shell(config);
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 2) h.requestClose();
    };
    EXPECT_EQ(shell.run(), 0);
    EXPECT_EQ(shell.host.messageBoxes().size(), 1u);
    EXPECT_FALSE(shell.host.presenterAccelerated());
    EXPECT_GE(shell.frames, 2u);
}

TEST(Shell, NoKeyboardEndsWithZeroAndNoMessage) {
    plat::HeadlessConfig config;
    config.keyboard = false;
    ShellHarness shell(config);
    EXPECT_EQ(shell.run(), 0);
    EXPECT_TRUE(shell.host.messageBoxes().empty());
    EXPECT_FALSE(contains(shell.host.calls(), "openAudio"));
    EXPECT_FALSE(contains(shell.host.calls(), "showCursor(0)"));
    EXPECT_EQ(shell.frames, 0u);
}

TEST(Shell, NoDisplayDoesNotCrash) {
    plat::HeadlessConfig config;
    config.display = false;
    ShellHarness shell(config);
    // Without a window nothing activates the application and nothing can close it: the loop
    // keeps polling until the harness gives up.
    shell.onTurnHook = [&](plat::HeadlessHost&) {
        if (shell.host.turns() == 50) plat::postQuitMessage(0);
    };
    EXPECT_EQ(shell.run(), 0);
    EXPECT_EQ(shell.frames, 0u);
}

TEST(Shell, OneMessagePerTurnAndNoFrameWhileOneWaits) {
    ShellHarness shell;
    uint64_t burstTurn = 0;
    std::vector<uint64_t> frameTurns;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 5 && burstTurn == 0) {
            burstTurn = h.turns();
            for (int i = 0; i < 4; ++i) h.pressWindowKey(0x41);  // a key the game ignores
        }
        if (shell.frames == 8) h.requestClose();
    };
    shell.onFrameHook = [&](uint64_t) { frameTurns.push_back(shell.host.turns()); };
    EXPECT_EQ(shell.run(), 0);
    ASSERT_GE(frameTurns.size(), 7u);
    // Frames 0..4 ran on consecutive turns; the four queued messages took four turns of their own.
    for (size_t i = 1; i < 5; ++i) EXPECT_EQ(frameTurns[i], frameTurns[i - 1] + 1);
    EXPECT_EQ(frameTurns[5], burstTurn + 4);
    EXPECT_EQ(frameTurns[6], frameTurns[5] + 1);
}

TEST(Shell, InactiveApplicationRunsNoFrameAndResumesInTheSameState) {
    ShellHarness shell;
    uint64_t presentsAtPause = 0, readsAtPause = 0;
    int32_t fadeAtPause = -1;
    bool checked = false;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 10 && presentsAtPause == 0) {
            h.setActive(false);
            presentsAtPause = h.presents();
            readsAtPause = h.keyboardReads();
            fadeAtPause = fadeCounter;
        }
        if (presentsAtPause && h.turns() == 200 && !checked) {
            checked = true;
            EXPECT_FALSE(appActive);
            EXPECT_EQ(h.presents(), presentsAtPause);
            EXPECT_EQ(h.keyboardReads(), readsAtPause);
            EXPECT_EQ(fadeCounter, fadeAtPause);
            EXPECT_EQ(shell.frames, 10u);
            h.setActive(true);
        }
        if (shell.frames == 12) h.requestClose();
    };
    int32_t fadeAfter = -1;
    shell.onFrameHook = [&](uint64_t frame) {
        if (frame == 10) fadeAfter = fadeCounter;
    };
    EXPECT_EQ(shell.run(), 0);
    EXPECT_TRUE(checked);
    // The first frame after the pause carries on from where the game stopped: one fade step.
    EXPECT_EQ(fadeAfter, fadeAtPause + 5);
}

TEST(Shell, EscapeAndCloseQuitWithZero) {
    for (bool useEscape : {true, false}) {
        ShellHarness shell;
        shell.onTurnHook = [&](plat::HeadlessHost& h) {
            if (shell.frames == 4) {
                if (useEscape) {
                    h.pressWindowKey(plat::vk::Escape);
                } else {
                    h.requestClose();
                }
            }
        };
        EXPECT_EQ(shell.run(), 0) << (useEscape ? "escape" : "close");
        EXPECT_EQ(shell.frames, 4u);
        EXPECT_TRUE(shell.host.cursorVisible());
        EXPECT_TRUE(contains(shell.host.calls(), "closePresenter"));
    }
}

TEST(Shell, WindowCreationSeedsTheGeneratorWithTheCalendarTime) {
    plat::HeadlessConfig config;
    config.time = 1234567;
    ShellHarness shell(config);
    int first = -1;
    shell.onFrameHook = [&](uint64_t frame) {
        if (frame == 0) {
            first = plat::rand();
            plat::postQuitMessage(0);
        }
    };
    shell.run();
    plat::srand(1234567);
    EXPECT_EQ(first, plat::rand());
}

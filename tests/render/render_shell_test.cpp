// The render layer inside the whole program: a missing sprite sheet, resets into and out of full
// screen, and a device lost in full screen while the application is in the background.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/graphics.h"
#include "render/graphics_objects.h"
#include "support/shell_harness.h"

using testing_support::ShellHarness;

namespace {

int countCalls(const ShellHarness& shell, const std::string& name) {
    const auto& calls = shell.host.calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

// Pixels of the last presented frame that are not black: the game drew something.
int litPixels(const plat::HeadlessHost& host) {
    const auto& f = host.lastFrame();
    return static_cast<int>(std::count_if(f.begin(), f.end(), [](uint32_t p) { return p != 0; }));
}

// What the frame after a rebuild found.
struct Rebuilt {
    int32_t mode = -1;
    plat::gfx::Format format = plat::gfx::Format::Unknown;
    bool fullscreen = false;
    bool objects = false;
    bool fault = true;
    int lit = 0;
};

Rebuilt look(const ShellHarness& shell) {
    Rebuilt r;
    r.mode = displayMode;
    r.format = graphicsDevice->backBufferFormat();
    r.fullscreen = shell.host.fullscreen();
    r.objects = singleDrawBatch && frameBatch && textureSlots[0];
    r.fault = deviceFault(true);
    r.lit = litPixels(shell.host);
    return r;
}

// Runs the test in an empty folder (no res/), and comes back.
class EmptyFolder {
  public:
    EmptyFolder() {
        char pattern[] = "/tmp/marlovek-render-XXXXXX";
        const char* made = mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        if (made) dir_ = made;
        previous_ = std::filesystem::current_path();
        if (!dir_.empty()) std::filesystem::current_path(dir_);
    }
    ~EmptyFolder() {
        std::filesystem::current_path(previous_);
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }

  private:
    std::filesystem::path previous_;
    std::string dir_;
};

TEST(RenderShell, MissingSheetShowsItsPathAtStartAndEveryResetAndTheGameRuns) {
    EmptyFolder folder;
    ShellHarness shell;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 3 && countCalls(shell, "resetGraphics") == 0)
            h.pressWindowKey(plat::vk::F1);  // 2 -> 0: a reset
        if (shell.frames == 6) h.requestClose();
    };
    EXPECT_EQ(shell.run(), 0);
    EXPECT_EQ(shell.frames, 6u);
    EXPECT_EQ(countCalls(shell, "resetGraphics"), 1);
    EXPECT_EQ(shell.host.messageBoxes(),
              (std::vector<std::string>{"res/image.bmp", "res/image.bmp"}));
}

TEST(RenderShell, FullScreenAndBackRebuildTheObjectsEachTime) {
    ShellHarness shell;
    std::vector<Rebuilt> seen;
    bool intoFullScreen = false, outOfFullScreen = false;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 20 && !intoFullScreen) {
            intoFullScreen = true;
            h.pressWindowKey(plat::vk::F1);  // 2 -> 0
        }
        if (shell.frames == 40 && !outOfFullScreen) {
            outOfFullScreen = true;
            h.pressWindowKey(plat::vk::F2);  // 0 -> 2
        }
        if (shell.frames == 60) h.requestClose();
    };
    shell.onFrameHook = [&](uint64_t frame) {
        if (frame == 19 || frame == 39 || frame == 59) seen.push_back(look(shell));
    };
    EXPECT_EQ(shell.run(), 0);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(countCalls(shell, "createDevice"), 1);
    EXPECT_EQ(countCalls(shell, "resetGraphics"), 2);
    EXPECT_EQ(countCalls(shell, "loadSpriteSheet"), 3);
    EXPECT_EQ(countCalls(shell, "createFonts"), 3);
    EXPECT_TRUE(shell.host.messageBoxes().empty());
    const plat::gfx::Format formats[] = {plat::gfx::Format::X8R8G8B8, plat::gfx::Format::R5G6B5,
                                         plat::gfx::Format::X8R8G8B8};
    const int32_t modes[] = {2, 0, 2};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].mode, modes[i]);
        EXPECT_EQ(seen[i].format, formats[i]);
        EXPECT_EQ(seen[i].fullscreen, modes[i] == 0);
        EXPECT_TRUE(seen[i].objects);
        EXPECT_FALSE(seen[i].fault);
        EXPECT_GT(seen[i].lit, 320 * 240 / 2);  // the title scene fills the picture
    }
}

TEST(RenderShell, DeviceLostInFullScreenIsRecoveredOnReactivation) {
    ShellHarness shell;
    bool lostWhileAway = false, paused = false, resumed = false;
    uint64_t framesAtPause = 0, pauseTurn = 0;
    Rebuilt after;
    shell.onTurnHook = [&](plat::HeadlessHost& h) {
        if (shell.frames == 5 && displayMode == 2) h.pressWindowKey(plat::vk::F1);  // 2 -> 0
        if (shell.frames == 20 && !paused) {
            paused = true;
            framesAtPause = shell.frames;
            pauseTurn = h.turns();
            h.setActive(false);
        } else if (paused && !resumed && h.turns() == pauseTurn + 100) {
            // Some turns later, still away: the device is lost and no frame has run.
            lostWhileAway = deviceFault(false) && shell.frames == framesAtPause;
            resumed = true;
            h.setActive(true);
        }
        if (shell.frames == 40) h.requestClose();
    };
    shell.onFrameHook = [&](uint64_t frame) {
        if (frame == 39) after = look(shell);
    };
    EXPECT_EQ(shell.run(), 0);
    EXPECT_TRUE(lostWhileAway);
    EXPECT_EQ(countCalls(shell, "resetGraphics"), 2);  // entering full screen, then the recovery
    EXPECT_EQ(after.mode, 0);
    EXPECT_EQ(after.format, plat::gfx::Format::R5G6B5);
    EXPECT_TRUE(after.objects);
    EXPECT_FALSE(after.fault);
    EXPECT_GT(after.lit, 320 * 240 / 2);
}

}  // namespace

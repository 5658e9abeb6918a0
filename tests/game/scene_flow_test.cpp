// Scene flow through whole program runs: the title's fade-in, prompt and fade-away timings, the
// piranha spawner's schedule and sizes, the result line and the way back to the title.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "game/objects.h"
#include "game/scene.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "support/shell_harness.h"

using testing_support::ShellHarness;

namespace {

std::vector<int>* soundLog = nullptr;

// Frame indexes (from 0) of the title's milestones when A is first tapped at frame `tapFrame`.
constexpr uint64_t kFadeInLastFrame = 51;  // the 52nd frame completes the fade-in
constexpr uint64_t kFirstPromptFrame = 52;
constexpr uint64_t kPromptFrame51 = kFirstPromptFrame + 50;
constexpr uint64_t kFirstPlayFrame = kPromptFrame51 + 52;  // after 51 frames of fade-away

// Runs the program, tapping Space on each frame listed (down for that frame only) and holding
// it from `holdFrom` on; `inspect` sees every frame after it ran.
struct TitleRun {
    std::vector<uint64_t> taps;
    uint64_t holdFrom = UINT64_MAX;
    uint64_t lastFrame = 200;
    std::function<void(uint64_t)> inspect;
    std::vector<int> sounds;

    void run() {
        ShellHarness shell;
        soundLog = &sounds;
        setSoundObserver([](int slot) { soundLog->push_back(slot); });
        shell.onTurnHook = [&](plat::HeadlessHost& h) {
            const uint64_t f = shell.frames;
            bool down = f >= holdFrom;
            for (uint64_t t : taps) down = down || t == f;
            h.setKey(plat::scan::Space, down);
            if (f > lastFrame) h.requestClose();
        };
        shell.onFrameHook = [&](uint64_t frame) {
            if (inspect) inspect(frame);
        };
        ASSERT_EQ(shell.run(), 0);
        setSoundObserver(nullptr);
        soundLog = nullptr;
    }
};

}  // namespace

TEST(SceneFlow, TitleFadeInPromptAndFadeAwayTimings) {
    TitleRun t;
    // Too early, too early (the 49th prompt frame), accepted (the 51st).
    t.taps = {30, kPromptFrame51 - 2, kPromptFrame51};
    t.inspect = [&](uint64_t frame) {
        if (frame == kFadeInLastFrame - 1) {
            EXPECT_EQ(titlePhase, 0);
        }
        if (frame == kFadeInLastFrame) {
            EXPECT_EQ(titlePhase, 1);
            EXPECT_EQ(titleCounter, 0);
        }
        if (frame == kPromptFrame51 - 1) {
            EXPECT_EQ(titlePhase, 1) << "a press before the prompt";
        }
        if (frame == kPromptFrame51) {
            EXPECT_EQ(titlePhase, 2);
            EXPECT_EQ(titleCounter, 0);
        }
        // 51 frames of fade-away; the last hands over, and play starts with the next frame.
        if (frame == kPromptFrame51 + 50) {
            EXPECT_EQ(scene, 0);
        }
        if (frame == kPromptFrame51 + 51) {
            EXPECT_EQ(scene, 1);
            EXPECT_EQ(playFrames, 0);
        }
        if (frame == kFirstPlayFrame) {
            EXPECT_EQ(playFrames, 1);
            EXPECT_TRUE(objects[0].inUse);
            EXPECT_EQ(objects[0].kind, kindSubmarine);
        }
    };
    t.run();
    EXPECT_EQ(t.sounds, std::vector<int>{0});  // the start sound, once
}

TEST(SceneFlow, HoldingAAcrossThePromptDoesNotStart) {
    TitleRun t;
    t.holdFrom = 60;
    t.lastFrame = 150;
    t.run();
    EXPECT_EQ(scene, 0);
    EXPECT_EQ(titlePhase, 1);
    EXPECT_EQ(titleCounter, 250);
    EXPECT_TRUE(t.sounds.empty());
}

TEST(SceneFlow, PiranhaSpawnSchedule) {
    TitleRun t;
    t.taps = {kPromptFrame51};
    const uint64_t firstPlayFrame = kFirstPlayFrame;
    t.lastFrame = firstPlayFrame + 345;
    std::vector<int32_t> spawnFrames;
    int piranhas = 0;
    t.inspect = [&](uint64_t frame) {
        if (frame < firstPlayFrame) return;
        int count = 0;
        for (const ObjectRecord& o : objects)
            if (o.inUse && o.kind == kindPiranha) ++count;
        if (count > piranhas) spawnFrames.push_back(playFrames);
        piranhas = count;
    };
    t.run();
    EXPECT_EQ(spawnFrames, (std::vector<int32_t>{60, 118, 177, 232, 290, 342}));
}

TEST(SceneFlow, PiranhaSizesAroundFrameTwoThousand) {
    TitleRun t;
    t.taps = {kPromptFrame51};
    const uint64_t firstPlayFrame = kFirstPlayFrame;
    t.lastFrame = firstPlayFrame + 4;
    std::vector<float> sizes;
    bool seen[kObjectCount] = {};
    t.inspect = [&](uint64_t frame) {
        if (frame < firstPlayFrame) return;
        for (int i = 0; i < kObjectCount; ++i) {
            const ObjectRecord& o = objects[i];
            if (o.inUse && o.kind == kindPiranha && !seen[i]) {
                seen[i] = true;
                sizes.push_back(o.size);
            }
        }
        // The next frames count 1968 (interval 41) and 2000 (interval 40).
        if (frame == firstPlayFrame) playFrames = 1967;
        if (frame == firstPlayFrame + 1) playFrames = 1999;
    };
    t.run();
    EXPECT_EQ(sizes, (std::vector<float>{0.5f, 1.0f}));
}

TEST(SceneFlow, ResultLineAndTheWayBackToTheTitle) {
    TitleRun t;
    const uint64_t firstPlayFrame = kFirstPlayFrame;
    const uint64_t sinkSet = firstPlayFrame + 3;
    // The fade out takes 32 frames; the result screen shows from the frame after.
    const uint64_t resultFrame = sinkSet + 33;
    t.taps = {kPromptFrame51, resultFrame + 2};
    t.lastFrame = resultFrame + 3;
    int32_t phaseAtFade31 = -1;
    t.inspect = [&](uint64_t frame) {
        if (frame == sinkSet) {
            sinkFrames = 301;
            killCount = 7;
        }
        if (frame == sinkSet + 31) phaseAtFade31 = playPhase;
        if (frame == sinkSet + 32) {
            EXPECT_EQ(playPhase, 2);
        }
        if (frame == resultFrame + 2) {
            EXPECT_EQ(scene, 0);
            EXPECT_EQ(titlePhase, 0);
            EXPECT_EQ(playPhase, 0);
            EXPECT_EQ(playFrames, 0);
        }
    };
    t.run();
    EXPECT_EQ(phaseAtFade31, 1);
    // "倒したピラニア　7匹"
    EXPECT_STREQ(resultText, "\x93|\x82\xB5\x82\xBD\x83s\x83\x89\x83j\x83\x41\x81@7\x95\x43");
}

TEST(SceneFlow, GaugeColourBands) {
    struct Case {
        int32_t energy;
        uint32_t colour;
    };
    const Case cases[] = {{765, 0xFF00FF00}, {764, 0xFF01FF00}, {510, 0xFFFFFF00},
                          {509, 0xFFFFFE00}, {255, 0xFFFF0000}, {254, 0xFFFE0000},
                          {100, 0xFF640000}, {2, 0xFF020000},   {0, 0xFF000000}};
    for (const Case& c : cases) EXPECT_EQ(gaugeColour(c.energy), c.colour) << c.energy;
}

// Whole runs of the game on the headless host through the replay tool, checked through their
// traces.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "invariants.h"
#include "tools/replay/replay.h"
#include "trace_reader.h"

namespace {

constexpr int64_t kTime = 1000;  // fixes the generator's seed

std::string tracePath(const std::string& name) {
    return std::string(MARLOVEK_BINARY_DIR) + "/e2e-" + name + ".jsonl";
}

// Runs `frames` frames of the game driven by `script` and writes the trace to `path`.
void runGame(const std::string& script, uint64_t frames, const std::string& path) {
    replay::Options options;
    options.frames = frames;
    options.timeGiven = true;
    options.time = kTime;
    options.tracePath = path;
    std::string error;
    ASSERT_TRUE(replay::parseScript(script, options.script, error)) << error;
    const replay::Outcome outcome = replay::run(options);
    ASSERT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.error, "");
    ASSERT_EQ(outcome.frames, frames);
}

std::vector<TraceFrame> loadTrace(const std::string& path) {
    std::vector<TraceFrame> frames;
    std::string error;
    EXPECT_TRUE(readTrace(
        path, [&](const TraceFrame& f) { frames.push_back(f); }, error))
        << error;
    return frames;
}

void expectInvariants(const std::vector<TraceFrame>& frames, InvariantChecker& checker) {
    for (const TraceFrame& f : frames) checker.check(f);
    for (const std::string& failure : checker.failures()) ADD_FAILURE() << failure;
}

// The first frame at or after `from` that satisfies `pred`, or -1.
template <typename Pred>
int64_t firstFrame(const std::vector<TraceFrame>& frames, int64_t from, Pred pred) {
    for (const TraceFrame& f : frames)
        if (f.frame >= from && pred(f)) return f.frame;
    return -1;
}

bool contains(const std::vector<int>& v, int x) {
    for (int e : v)
        if (e == x) return true;
    return false;
}

// Title, play with an idle submarine that the piranhas bite until it sinks, the sinking
// sequence, the fade, the result screen, and a key press back to the title.
TEST(EndToEnd, WholeGameFromTitleToResultAndBack) {
    const std::string path = tracePath("whole-game");
    // Find where the result screen appears, then press A once it shows.
    ASSERT_NO_FATAL_FAILURE(runGame("110 tap space\n", 4000, path));
    std::vector<TraceFrame> frames = loadTrace(path);
    const int64_t result =
        firstFrame(frames, 0, [](const TraceFrame& f) { return f.scene == 1 && f.playPhase == 2; });
    ASSERT_GT(result, 0) << "the idle submarine never sank";
    const int64_t back = result + 40;
    ASSERT_NO_FATAL_FAILURE(
        runGame("110 tap space\n" + std::to_string(back) + " tap space\n", back + 120, path));
    frames = loadTrace(path);
    ASSERT_EQ(frames.size(), static_cast<size_t>(back + 120));

    // Title: fade-in completes on its 52nd frame, the prompt takes the press, 51 frames of
    // fade-away with the start sound, then play.
    EXPECT_EQ(firstFrame(frames, 0, [](const TraceFrame& f) { return f.titlePhase == 1; }), 51);
    EXPECT_EQ(frames[110].titlePhase, 2);
    EXPECT_EQ(frames[110].sounds, std::vector<int>{0});
    EXPECT_EQ(frames[161].scene, 1);  // handed over at the end of the 51st fade-away frame
    EXPECT_EQ(frames[161].playPhase, 0);
    EXPECT_EQ(frames[161].titlePhase, 0);
    const TraceFrame& first = frames[162];
    ASSERT_EQ(first.scene, 1);
    EXPECT_EQ(first.playPhase, 1);
    EXPECT_EQ(first.playFrames, 1);
    ASSERT_EQ(first.objects.size(), 1u);
    EXPECT_EQ(first.objects[0].kind, 0);
    EXPECT_EQ(first.energy, 765);

    // Every loss of energy is a bite that played slot 4; the sinking bite plays 4 then 3.
    int64_t sankAt = -1;
    for (size_t n = 163; n < frames.size() && sankAt < 0; ++n) {
        const TraceFrame& f = frames[n];
        const int bites = static_cast<int>(std::count(f.sounds.begin(), f.sounds.end(), 4));
        const int loss = frames[n - 1].energy - f.energy;
        if (f.sunk) {
            sankAt = f.frame;
            EXPECT_EQ(f.energy, 0);
            ASSERT_GE(f.sounds.size(), 2u);
            const auto four = std::find(f.sounds.begin(), f.sounds.end(), 4);
            EXPECT_NE(std::find(four, f.sounds.end(), 3), f.sounds.end()) << "4 before 3";
            continue;
        }
        EXPECT_EQ(loss, 15 * bites) << "frame " << f.frame;  // size-0.5 piranhas, 15 a bite
    }
    ASSERT_GT(sankAt, 0);

    // Sinking: one count per frame; the fade starts after 300 and takes 32 frames.
    for (int k = 1; k <= 300; ++k) {
        const TraceFrame& f = frames[sankAt + k];
        ASSERT_EQ(f.sinkFrames, k);
        ASSERT_EQ(f.playPhase, 1);
        EXPECT_FALSE(contains(f.sounds, 2));  // the keys do nothing
    }
    EXPECT_EQ(frames[sankAt + 301].fadeCounter, 8);
    EXPECT_EQ(result, sankAt + 332);
    EXPECT_EQ(frames[result].sinkFrames, 332);
    for (int64_t n = result + 1; n < back; ++n) {
        ASSERT_EQ(frames[n].playPhase, 2);
        ASSERT_EQ(frames[n].sinkFrames, 332);  // nothing updates on the result screen
    }
    EXPECT_EQ(frames[result].killCount, 0);

    // The press returns to the title's fade-in with the play counters reset.
    EXPECT_EQ(frames[back].scene, 0);
    EXPECT_EQ(frames[back].titlePhase, 0);
    EXPECT_EQ(frames[back].playFrames, 0);
    EXPECT_EQ(frames[back].playPhase, 0);
    EXPECT_EQ(frames[back + 52].titlePhase, 1);

    InvariantChecker checker;
    expectInvariants(frames, checker);
    std::remove(path.c_str());
}

// Torpedoes fired left and right while piranhas close in: some die, and each completed dying
// sequence adds exactly one kill.
TEST(EndToEnd, TorpedoKillsMatchTheKillCount) {
    std::ostringstream script;
    script << "110 tap space\n";
    for (int f = 200; f < 3000; f += 7) script << f << " tap space\n";
    for (int f = 200; f < 3000; f += 90)
        script << f << ((f / 90) % 2 ? " tap left\n" : " tap right\n");
    const std::string path = tracePath("kills");
    ASSERT_NO_FATAL_FAILURE(runGame(script.str(), 3000, path));
    const std::vector<TraceFrame> frames = loadTrace(path);
    InvariantChecker checker;
    expectInvariants(frames, checker);

    // One game, still going at the end: the torpedoes keep the piranhas off.
    int games = 0;
    for (const TraceFrame& f : frames)
        if (f.playing() && f.playFrames == 1) ++games;
    ASSERT_EQ(games, 1);
    ASSERT_TRUE(frames.back().playing());
    const int kills = frames.back().killCount;
    EXPECT_GE(checker.completedDyings(), 3);
    EXPECT_EQ(kills, checker.completedDyings());
    // And each kill was a hit: slot 1 played at least once per kill.
    int hits = 0;
    for (const TraceFrame& f : frames)
        hits += static_cast<int>(std::count(f.sounds.begin(), f.sounds.end(), 1));
    EXPECT_GE(hits, kills);
    std::remove(path.c_str());
}

// A script of random key changes over `frames` frames from a fixed seed.
std::string randomScript(uint32_t seed, int frames) {
    static const char* const kKeys[] = {"up", "down", "left", "right", "space", "x"};
    std::mt19937 rng(seed);
    bool down[6] = {};
    std::ostringstream script;
    for (int f = 0; f < frames; ++f)
        for (int k = 0; k < 6; ++k)
            if (rng() % 20 == 0) {
                down[k] = !down[k];
                script << f << (down[k] ? " press " : " release ") << kKeys[k] << "\n";
            }
    return script.str();
}

bool sameFiles(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    if (!fa || !fb) return false;
    char ba[1 << 16], bb[1 << 16];
    while (true) {
        fa.read(ba, sizeof ba);
        fb.read(bb, sizeof bb);
        if (fa.gcount() != fb.gcount()) return false;
        if (fa.gcount() == 0) return true;
        if (std::memcmp(ba, bb, static_cast<size_t>(fa.gcount())) != 0) return false;
    }
}

// 20,000 frames of random input: several games, identical traces from two runs, and no object
// ever outside what its kind allows.
TEST(EndToEnd, LongRandomRunIsDeterministicAndKeepsInvariants) {
    constexpr int kFrames = 20000;
    const std::string script = randomScript(12345, kFrames);
    const std::string first = tracePath("random-1"), second = tracePath("random-2");
    ASSERT_NO_FATAL_FAILURE(runGame(script, kFrames, first));
    ASSERT_NO_FATAL_FAILURE(runGame(script, kFrames, second));
    EXPECT_TRUE(sameFiles(first, second)) << "two runs of the same script differ";

    InvariantChecker checker;
    int games = 0, maxObjects = 0;
    std::string error;
    const bool read = readTrace(
        first,
        [&](const TraceFrame& f) {
            checker.check(f);
            if (f.playing() && f.playFrames == 1) ++games;
            maxObjects = std::max(maxObjects, static_cast<int>(f.objects.size()));
        },
        error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(checker.framesChecked(), kFrames);
    for (const std::string& failure : checker.failures()) ADD_FAILURE() << failure;
    // The run really plays: several games, kills, a crowded table.
    EXPECT_GE(games, 3);
    EXPECT_GT(checker.completedDyings(), 0);
    EXPECT_GT(maxObjects, 20);
    RecordProperty("games", games);
    RecordProperty("kills", checker.completedDyings());
    std::remove(first.c_str());
    std::remove(second.c_str());
}

}  // namespace

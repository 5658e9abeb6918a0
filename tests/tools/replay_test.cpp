// The replay tool: argument and script errors, frame lists, and that a run is a function of the
// calendar time and the script.

#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/replay/frame_list.h"
#include "tools/replay/script.h"

namespace {

std::string tempPath(const std::string& name) {
    return std::string(::testing::TempDir()) + "marlovek_" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool parse(std::vector<std::string> args, replay::Options& options, std::string& error) {
    args.insert(args.begin(), "marlovek-replay");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return replay::parseArguments(static_cast<int>(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(FrameList, ParsesFramesRangesAndSteps) {
    struct Case {
        const char* text;
        std::vector<uint64_t> in, out;
    };
    const Case cases[] = {
        {"all", {0, 1, 123456789}, {}},
        {"5", {5}, {4, 6}},
        {"0-99,500,1000-40000/50", {0, 99, 500, 1000, 1050, 40000}, {100, 499, 1001, 40050}},
        {"3-3", {3}, {2, 4}},
    };
    for (const Case& c : cases) {
        replay::FrameList list;
        std::string error;
        ASSERT_TRUE(list.parse(c.text, error)) << c.text << ": " << error;
        for (uint64_t f : c.in) EXPECT_TRUE(list.contains(f)) << c.text << " " << f;
        for (uint64_t f : c.out) EXPECT_FALSE(list.contains(f)) << c.text << " " << f;
    }
    for (const char* bad : {"", "x", "5-3", "1-", "-1", "1,,2", "1-9/0", "7/2", "1-9/x"}) {
        replay::FrameList list;
        std::string error;
        EXPECT_FALSE(list.parse(bad, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(Script, ParsesEventsInFrameOrder) {
    std::vector<replay::ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(
        replay::parseScript("# a comment\n\n20 tap space  # fire\n10 press f1\n"
                            "10 pause 30\n40 release up\n50 close\n",
                            events, error))
        << error;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].frame, 10u);
    EXPECT_EQ(events[0].action, replay::Action::Press);
    EXPECT_NE(events[0].key.virtualKey, 0);              // F1 also reaches the window procedure
    EXPECT_EQ(events[1].action, replay::Action::Pause);  // same frame: file order kept
    EXPECT_EQ(events[1].turns, 30u);
    EXPECT_EQ(events[2].action, replay::Action::Tap);
    EXPECT_EQ(events[2].key.virtualKey, 0);
    EXPECT_EQ(events[4].action, replay::Action::Close);
}

TEST(Script, RejectsBadLinesNamingTheLine) {
    const char* bad[] = {"10 press q\n",  "10 jump\n",      "x tap z\n",        "10 pause\n",
                         "10 pause -3\n", "10 close now\n", "10 tap z extra\n", "10\n"};
    for (const char* text : bad) {
        std::vector<replay::ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(replay::parseScript(std::string("1 tap z\n") + text, events, error)) << text;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(Arguments, BadArgumentsAndUnreadableScriptsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--frames"},
        {"--frames", "ten"},
        {"--time", "soon"},
        {"--bogus"},
        {"--script", "/nonexistent/script"},
        {"--trace-frames", "9-1"},
        {"--shot-frames", "1"},  // no --shots
    };
    for (const auto& args : bad) {
        replay::Options options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    replay::Options options;
    std::string error;
    EXPECT_TRUE(parse({"--frames", "7", "--time", "-5", "--trace-frames", "0-3"}, options, error));
    EXPECT_EQ(options.frames, 7u);
    EXPECT_EQ(options.time, -5);
}

// A game started at the title prompt, run twice with the same time, gives the same trace; another
// time places the piranhas elsewhere.
TEST(Replay, DeterministicForAGivenTime) {
    const std::string script = tempPath("start.script");
    {
        std::ofstream s(script);
        s << "102 tap space\n250 press right\n300 release right\n";
    }
    auto runWith = [&](int64_t time, const std::string& trace) {
        replay::Options options;
        std::string error;
        EXPECT_TRUE(parse({"--frames", "400", "--time", std::to_string(time), "--script", script,
                           "--trace", trace},
                          options, error))
            << error;
        const replay::Outcome outcome = replay::run(options);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.frames, 400u);
        EXPECT_TRUE(outcome.error.empty()) << outcome.error;
        return readFile(trace);
    };
    const std::string a = runWith(1, tempPath("a.jsonl"));
    const std::string b = runWith(1, tempPath("b.jsonl"));
    const std::string c = runWith(2, tempPath("c.jsonl"));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    // 400 lines, the last for frame 399, with a piranha spawned by then.
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), 400);
    EXPECT_NE(a.find("{\"frame\":399,"), std::string::npos);
    EXPECT_NE(a.find("\"kind\":2"), std::string::npos);
    // Only the piranhas' places differ between the two times.
    const size_t firstDiff = std::mismatch(a.begin(), a.end(), c.begin()).first - a.begin();
    const size_t lineStart = a.rfind('\n', firstDiff) + 1;
    EXPECT_NE(a.substr(lineStart, firstDiff - lineStart).find("\"kind\":2"), std::string::npos);
}

TEST(Replay, TraceFramesAndPauseAndClose) {
    const std::string script = tempPath("pause.script");
    {
        std::ofstream s(script);
        s << "5 pause 40\n12 close\n";
    }
    replay::Options options;
    std::string error;
    const std::string trace = tempPath("pause.jsonl");
    ASSERT_TRUE(parse({"--frames", "100", "--time", "3", "--script", script, "--trace", trace,
                       "--trace-frames", "4-6,11"},
                      options, error))
        << error;
    const replay::Outcome outcome = replay::run(options);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.frames, 12u);  // closed before frame 12
    const std::string t = readFile(trace);
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 4);
    // The pause froze the game: frame 5 carries on exactly one fade step after frame 4.
    EXPECT_NE(t.find("{\"frame\":4,\"scene\":0,\"titlePhase\":0,\"titleCounter\":0,\"playPhase\":0,"
                     "\"playFrames\":0,\"fadeCounter\":25,"),
              std::string::npos);
    EXPECT_NE(t.find("{\"frame\":5,\"scene\":0,\"titlePhase\":0,\"titleCounter\":0,\"playPhase\":0,"
                     "\"playFrames\":0,\"fadeCounter\":30,"),
              std::string::npos);
}

TEST(Replay, UnwritableOutputsAreReported) {
    replay::Options options;
    std::string error;
    ASSERT_TRUE(parse({"--frames", "2", "--time", "1", "--trace", "/nonexistent/dir/t.jsonl"},
                      options, error));
    const replay::Outcome outcome = replay::run(options);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_FALSE(outcome.error.empty());
}

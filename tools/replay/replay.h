#pragma once
// A whole run of the game on the headless host, driven by a script.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/replay/frame_list.h"
#include "tools/replay/script.h"

namespace replay {

struct Options {
    uint64_t frames = 600;
    bool timeGiven = false;
    int64_t time = 0;
    std::vector<ScriptEvent> script;
    std::string tracePath;
    FrameList traceFrames;
    std::string shotsDir;
    FrameList shotFrames;
    std::string audioPath;
};

// Parses the command line. On failure returns false with a one-line reason in `error`.
bool parseArguments(int argc, char** argv, Options& options, std::string& error);

struct Outcome {
    int exitCode = 0;
    uint64_t frames = 0;  // frames that ran
    std::string error;    // an output that could not be written
};

// Runs the game once. The game state is reset first, so runs in one process are independent.
Outcome run(const Options& options);

}  // namespace replay

// marlovek-replay: runs the game headless, driven by a script, and writes what it saw.

#include <cstdio>
#include <string>

#include "tools/replay/replay.h"

int main(int argc, char** argv) {
    replay::Options options;
    std::string error;
    if (!replay::parseArguments(argc, argv, options, error)) {
        std::fprintf(stderr, "marlovek-replay: %s\n", error.c_str());
        return 2;
    }
    const replay::Outcome outcome = replay::run(options);
    if (!outcome.error.empty()) {
        std::fprintf(stderr, "marlovek-replay: %s\n", outcome.error.c_str());
        return 2;
    }
    return outcome.exitCode;
}

#pragma once
// Replay scripts: one event per line, "FRAME ACTION [ARGUMENT]"; '#' starts a comment.
// Actions: press KEY, release KEY, tap KEY, pause TURNS, close.

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

enum class Action : uint8_t { Press, Release, Tap, Pause, Close };

struct ScriptKey {
    uint8_t scanCode = 0;
    uint8_t virtualKey = 0;  // non-zero for keys the window procedure also hears
};

struct ScriptEvent {
    uint64_t frame = 0;
    Action action = Action::Close;
    ScriptKey key;
    uint64_t turns = 0;  // pause
    int line = 0;
};

// Looks up a key name (up down left right return z space x c v escape f1 f2).
bool lookupKey(const std::string& name, ScriptKey& key);

// Parses a whole script. On failure returns false and says why (with the line) in `error`.
bool parseScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error);
// Reads and parses a script file.
bool loadScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error);

}  // namespace replay

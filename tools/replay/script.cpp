#include "tools/replay/script.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/keyboard.h"
#include "platform/window.h"

namespace replay {
namespace {

struct NamedKey {
    const char* name;
    ScriptKey key;
};

constexpr NamedKey kKeys[] = {
    {"up", {plat::scan::Up, 0}},
    {"down", {plat::scan::Down, 0}},
    {"left", {plat::scan::Left, 0}},
    {"right", {plat::scan::Right, 0}},
    {"return", {plat::scan::Return, 0}},
    {"z", {plat::scan::Z, 0}},
    {"space", {plat::scan::Space, 0}},
    {"x", {plat::scan::X, 0}},
    {"c", {plat::scan::C, 0}},
    {"v", {plat::scan::V, 0}},
    {"escape", {plat::scan::Escape, plat::vk::Escape}},
    {"f1", {plat::scan::F1, plat::vk::F1}},
    {"f2", {plat::scan::F2, plat::vk::F2}},
};

bool parseCount(const std::string& s, uint64_t& out) {
    if (s.empty() || s.size() > 18) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::stoull(s);
    return true;
}

}  // namespace

bool lookupKey(const std::string& name, ScriptKey& key) {
    for (const NamedKey& k : kKeys)
        if (name == k.name) {
            key = k.key;
            return true;
        }
    return false;
}

bool parseScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error) {
    events.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string frameWord, action, argument, extra;
        if (!(words >> frameWord)) continue;  // blank or comment
        words >> action >> argument >> extra;
        const std::string where = "script line " + std::to_string(number) + ": ";
        ScriptEvent event;
        event.line = number;
        if (!parseCount(frameWord, event.frame)) {
            error = where + "bad frame number '" + frameWord + "'";
            return false;
        }
        if (!extra.empty()) {
            error = where + "unexpected '" + extra + "'";
            return false;
        }
        if (action == "press" || action == "release" || action == "tap") {
            event.action = action == "press"     ? Action::Press
                           : action == "release" ? Action::Release
                                                 : Action::Tap;
            if (!lookupKey(argument, event.key)) {
                error = where + "unknown key '" + argument + "'";
                return false;
            }
        } else if (action == "pause") {
            event.action = Action::Pause;
            if (!parseCount(argument, event.turns)) {
                error = where + "bad turn count '" + argument + "'";
                return false;
            }
        } else if (action == "close") {
            event.action = Action::Close;
            if (!argument.empty()) {
                error = where + "unexpected '" + argument + "'";
                return false;
            }
        } else {
            error = where + (action.empty() ? "missing action" : "unknown action '" + action + "'");
            return false;
        }
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return true;
}

bool loadScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read script '" + path + "'";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        error = "cannot read script '" + path + "'";
        return false;
    }
    return parseScript(text.str(), events, error);
}

}  // namespace replay

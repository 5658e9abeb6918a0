#include "trace_reader.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

// The number after "key": within [from, to); false when absent.
bool number(const std::string& s, size_t from, size_t to, const char* key, double& out) {
    std::string pattern = "\"";
    pattern += key;
    pattern += "\":";
    const size_t at = s.find(pattern, from);
    if (at == std::string::npos || at >= to) return false;
    const char* start = s.c_str() + at + pattern.size();
    if (std::strncmp(start, "true", 4) == 0) {
        out = 1;
        return true;
    }
    if (std::strncmp(start, "false", 5) == 0) {
        out = 0;
        return true;
    }
    char* end = nullptr;
    out = std::strtod(start, &end);
    return end != start;
}

template <typename T>
bool field(const std::string& s, size_t from, size_t to, const char* key, T& out) {
    double v = 0;
    if (!number(s, from, to, key, v)) return false;
    out = static_cast<T>(v);
    return true;
}

bool parseObject(const std::string& s, size_t from, size_t to, TraceObject& o) {
    return field(s, from, to, "i", o.i) && field(s, from, to, "kind", o.kind) &&
           field(s, from, to, "state", o.state) && field(s, from, to, "team", o.team) &&
           field(s, from, to, "x", o.x) && field(s, from, to, "y", o.y) &&
           field(s, from, to, "z", o.z) && field(s, from, to, "vx", o.vx) &&
           field(s, from, to, "vy", o.vy) && field(s, from, to, "scaleX", o.scaleX) &&
           field(s, from, to, "scaleY", o.scaleY) && field(s, from, to, "rotation", o.rotation) &&
           field(s, from, to, "counter", o.counter) && field(s, from, to, "size", o.size) &&
           field(s, from, to, "facing", o.facing) && field(s, from, to, "visible", o.visible);
}

}  // namespace

const TraceObject* TraceFrame::entry(int index) const {
    for (const TraceObject& o : objects)
        if (o.i == index) return &o;
    return nullptr;
}

bool parseTraceLine(const std::string& s, TraceFrame& f) {
    const size_t objectsAt = s.find("\"objects\":[");
    if (objectsAt == std::string::npos) return false;
    const size_t head = objectsAt;
    if (!(field(s, 0, head, "frame", f.frame) && field(s, 0, head, "scene", f.scene) &&
          field(s, 0, head, "titlePhase", f.titlePhase) &&
          field(s, 0, head, "playPhase", f.playPhase) &&
          field(s, 0, head, "playFrames", f.playFrames) &&
          field(s, 0, head, "fadeCounter", f.fadeCounter) &&
          field(s, 0, head, "waveTick", f.waveTick) && field(s, 0, head, "energy", f.energy) &&
          field(s, 0, head, "sunk", f.sunk) && field(s, 0, head, "sinkFrames", f.sinkFrames) &&
          field(s, 0, head, "killCount", f.killCount) && field(s, 0, head, "scrollX", f.scrollX) &&
          field(s, 0, head, "scrollY", f.scrollY) &&
          field(s, 0, head, "visibleCount", f.visibleCount)))
        return false;

    f.sounds.clear();
    const size_t soundsAt = s.find("\"sounds\":[");
    if (soundsAt == std::string::npos || soundsAt > head) return false;
    for (const char* p = s.c_str() + soundsAt + 10; *p != ']' && *p != '\0';) {
        char* end = nullptr;
        const long slot = std::strtol(p, &end, 10);
        if (end == p) return false;
        f.sounds.push_back(static_cast<int>(slot));
        p = *end == ',' ? end + 1 : end;
    }

    f.objects.clear();
    static const std::string kStart = "{\"i\":";
    size_t at = s.find(kStart, head);
    while (at != std::string::npos) {
        const size_t next = s.find(kStart, at + 1);
        TraceObject o;
        if (!parseObject(s, at, next == std::string::npos ? s.size() : next, o)) return false;
        f.objects.push_back(o);
        at = next;
    }
    return true;
}

bool readTrace(const std::string& path, const std::function<void(const TraceFrame&)>& visit,
               std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::string line;
    TraceFrame frame;
    for (int64_t n = 1; std::getline(in, line); ++n) {
        if (!parseTraceLine(line, frame)) {
            error = "bad trace line " + std::to_string(n);
            return false;
        }
        visit(frame);
    }
    return true;
}

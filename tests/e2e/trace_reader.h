#pragma once
// Reads the replay tool's trace (JSON Lines, one object per frame) into plain records. A small
// extractor for exactly the fields the tests look at, not a JSON parser.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TraceObject {
    int i = 0, kind = 0, state = 0, team = 0, counter = 0, facing = 0;
    double x = 0, y = 0, z = 0, vx = 0, vy = 0, scaleX = 0, scaleY = 0, rotation = 0, size = 0;
    bool visible = false;
};

struct TraceFrame {
    int64_t frame = 0;
    int scene = 0, titlePhase = 0, playPhase = 0, playFrames = 0, fadeCounter = 0, waveTick = 0;
    int energy = 0, sinkFrames = 0, killCount = 0, scrollX = 0, scrollY = 0, visibleCount = 0;
    bool sunk = false;
    std::vector<int> sounds;
    std::vector<TraceObject> objects;

    bool playing() const { return scene == 1 && playPhase == 1; }
    const TraceObject* entry(int index) const;
};

// Parses one trace line; false when a field the tests need is missing.
bool parseTraceLine(const std::string& line, TraceFrame& frame);

// Reads a trace file line by line, calling `visit` for each parsed frame; false (with the line
// number in `error`) when a line cannot be read.
bool readTrace(const std::string& path, const std::function<void(const TraceFrame&)>& visit,
               std::string& error);

#include "tools/replay/trace.h"

#include "app/shell.h"
#include "game/objects.h"
#include "game/scene.h"
#include "game/scenery.h"
#include "input/input.h"
#include "render/draw.h"

namespace replay {
namespace {

void writeInput(FILE* out, const char* name, const InputState& s) {
    std::fprintf(out, "\"%s\":{\"direction\":%d,\"a\":%d,\"b\":%d,\"c\":%d,\"d\":%d}", name,
                 s.direction, s.buttonA, s.buttonB, s.buttonC, s.buttonD);
}

}  // namespace

void writeTraceLine(FILE* out, uint64_t frame, const FrameSounds& sounds) {
    std::fprintf(out,
                 "{\"frame\":%llu,\"scene\":%d,\"titlePhase\":%d,\"titleCounter\":%d,"
                 "\"playPhase\":%d,\"playFrames\":%d,\"fadeCounter\":%d,\"waveTick\":%d,"
                 "\"energy\":%d,\"sunk\":%s,\"sinkFrames\":%d,\"killCount\":%d,\"scrollX\":%d,"
                 "\"scrollY\":%d,\"refillTick\":%d,\"visibleCount\":%d,\"displayMode\":%d,"
                 "\"appActive\":%s,",
                 static_cast<unsigned long long>(frame), scene, titlePhase, titleCounter, playPhase,
                 playFrames, fadeCounter, waveTick, energy, sunk ? "true" : "false", sinkFrames,
                 killCount, scrollX, scrollY, refillTick, visibleCount, displayMode,
                 appActive ? "true" : "false");
    writeInput(out, "held", heldInput);
    std::fputc(',', out);
    writeInput(out, "pressed", pressedInput);
    std::fputs(",\"sounds\":[", out);
    for (int i = 0; i < sounds.count; ++i) std::fprintf(out, i ? ",%d" : "%d", sounds.slots[i]);
    std::fputs("],\"objects\":[", out);
    bool first = true;
    for (int i = 0; i < kObjectCount; ++i) {
        const ObjectRecord& o = objects[i];
        if (!o.inUse) continue;
        std::fprintf(out,
                     "%s{\"i\":%d,\"kind\":%d,\"state\":%d,\"team\":%d,\"x\":%.9g,\"y\":%.9g,"
                     "\"z\":%.9g,\"vx\":%.9g,\"vy\":%.9g,\"scaleX\":%.9g,\"scaleY\":%.9g,"
                     "\"rotation\":%.9g,\"angle\":%.9g,\"colour\":%u,\"counter\":%d,"
                     "\"size\":%.9g,\"facing\":%d,\"visible\":%s,\"target\":%d,\"anim\":%d,"
                     "\"src\":[%d,%d,%d,%d]}",
                     first ? "" : ",", i, o.kind, o.state, o.team, o.x, o.y, o.z, o.vx, o.vy,
                     o.scaleX, o.scaleY, o.rotation, o.angle, o.colour, o.counter, o.size,
                     o.facing ? 1 : 0, o.visible ? "true" : "false", o.target, o.anim, o.srcX,
                     o.srcY, o.srcWidth, o.srcHeight);
        first = false;
    }
    std::fputs("]}\n", out);
}

}  // namespace replay

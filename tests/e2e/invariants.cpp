#include "invariants.h"

#include <cmath>
#include <sstream>

namespace {

bool near(double a, double b, double tolerance = 1e-4) {
    return std::fabs(a - b) <= tolerance;
}

// The objects were updated in this frame: the previous frame was playing, so this one ran the
// playing step (possibly handing over to the result screen at its end).
bool updatedBetween(const TraceFrame& previous, const TraceFrame& current) {
    return previous.playing() && current.scene == 1 && current.playPhase >= 1;
}

}  // namespace

void InvariantChecker::fail(const TraceFrame& f, const std::string& what) {
    if (failures_.size() < 20)
        failures_.push_back("frame " + std::to_string(f.frame) + ": " + what);
}

void InvariantChecker::check(const TraceFrame& f) {
    ++frames_;
    if (f.energy < 0 || f.energy > 765) fail(f, "energy out of 0..765");
    if (f.scrollX < -640 || f.scrollX > 0) fail(f, "scrollX out of -640..0");
    if (f.scrollY != 0) fail(f, "scrollY moved");
    if (f.waveTick < 0 || f.waveTick > 39) fail(f, "waveTick out of 0..39");
    if (f.killCount < 0) fail(f, "negative killCount");
    if (f.visibleCount < 0 || f.visibleCount > 1024) fail(f, "visibleCount out of range");
    if (f.sinkFrames > 0 && !f.sunk) fail(f, "sinking without being sunk");
    if (f.playing()) {
        const TraceObject* sub = f.entry(0);
        if (!sub || sub->kind != 0) fail(f, "entry 0 is not the submarine while playing");
    }
    for (const TraceObject& o : f.objects) checkObject(f, o);
    if (havePrevious_ && updatedBetween(previous_, f)) checkContinuity(f);
    previous_ = f;
    havePrevious_ = true;
}

void InvariantChecker::checkObject(const TraceFrame& f, const TraceObject& o) {
    std::ostringstream who;
    who << "entry " << o.i << " kind " << o.kind << " counter " << o.counter << ": ";
    auto bad = [&](const char* what) { fail(f, who.str() + what); };
    switch (o.kind) {
        case 0:  // submarine
            if (o.i != 0) bad("submarine outside entry 0");
            if (o.x < -608 || o.x > 288) bad("submarine x out of -608..288");
            if (o.y < -208 || o.y > -16) bad("submarine height out of -208..-16");
            if (o.counter < 0 || o.counter > 29) bad("submarine counter out of 0..29");
            if (o.team != (f.sinkFrames > 200 ? 0 : 1)) bad("submarine team");
            if (f.sinkFrames > 200 && o.visible) bad("submarine visible after 200 sinking updates");
            if (f.sinkFrames >= 1 && f.sinkFrames <= 100 && !o.visible) bad("hidden before 101");
            if (f.sinkFrames > 100 && f.sinkFrames <= 200 && o.visible != (f.sinkFrames % 2 == 0))
                bad("submarine blinks out of step");
            break;
        case 1: {  // torpedo
            if (o.team != 2) bad("torpedo team");
            if (o.counter < 0 || o.counter > 15) bad("torpedo counter out of 0..15");
            if (o.x < -672 || o.x > 352) bad("torpedo beyond the field");
            if (o.facing ? o.vx > 0 : o.vx < 0) bad("torpedo flies against its facing");
            // Its speed is 0.1 per update of age, and the counter is the age modulo 16.
            const double age = std::fabs(o.vx) / 0.1;
            if (!near(age, std::round(age), 0.01) || age > 140) bad("torpedo speed");
            if (static_cast<int>(std::round(age)) % 16 != o.counter) bad("torpedo age vs counter");
            break;
        }
        case 2:  // piranha
            if (o.team != 3) bad("piranha team");
            if (o.scaleX != o.scaleY) bad("piranha scale not uniform");
            if (o.state == 5) {
                if (o.counter < 5 || o.counter > 255 || o.counter % 5 != 0)
                    bad("dying counter out of 5..255 in steps of 5");
                if (o.counter <= 250 && (o.vx != 0 || o.vy != 0)) bad("dying piranha moves");
            } else {
                if (!(o.size > 0)) bad("living piranha without hit points");
                // Once updated (a waiting piranha then never shows counter 0) its scale is its
                // spawning size, 0.5 or a whole number, and its hit points never exceed it.
                const bool updated = !(o.state == 0 && o.counter == 0);
                if (updated && o.size > o.scaleX) bad("more hit points than its size");
                if (updated && o.scaleX != 0.5 && o.scaleX != std::floor(o.scaleX))
                    bad("piranha scale neither 0.5 nor whole");
                if (o.state == 0) {
                    if (o.counter < 0 || o.counter > 60) bad("waiting counter out of 0..60");
                    if (o.vx != 0 || o.vy != 0) bad("waiting piranha moves");
                } else if (o.state == 3) {
                    if (o.counter < 1 || o.counter > 34) bad("chasing counter out of 1..34");
                    if (!near(std::hypot(o.vx, o.vy), 1, 1e-5)) bad("chasing speed is not 1");
                } else if (o.state == 4) {
                    if (o.counter < 1 || o.counter > 15) bad("biting counter out of 1..15");
                    if (!near(std::hypot(o.vx, o.vy), 1, 1e-5)) bad("biting speed is not 1");
                } else {
                    bad("unknown piranha state");
                }
            }
            break;
        case 3:  // bubble: lives at most 16 updates, two counts each
            if (o.team != 0) bad("bubble team");
            if (o.counter < 0 || o.counter > 30 || o.counter % 2 != 0)
                bad("bubble counter out of 0..30 (older than 15 updates after the frame)");
            if (o.counter > 0 && o.y > -16) bad("bubble above the surface");
            if (!near(o.scaleX, 1 + 0.01 * o.counter)) bad("bubble scale vs age");
            if (o.z != 0 && o.z != 1) bad("bubble depth");
            if (o.vx != 0 || o.vy != 0) bad("bubble velocity");
            break;
        case 4:  // explosion: drawn 25 times, counter 0..24 while in use
            if (o.team != 0 && o.team != 2) bad("explosion team");
            if (o.counter < 0 || o.counter > 24) bad("explosion older than 25 updates");
            if (o.counter >= 1) {
                if (o.z != 1) bad("explosion not at depth 1");
                if (o.facing != 1) bad("explosion's first update not marked");
                if (o.rotation != std::floor(o.rotation) || o.rotation < 0 || o.rotation > 62)
                    bad("explosion rotation not a whole 0..62");
                if (!near(o.scaleX, o.size + 0.05 * o.counter)) bad("explosion scale vs age");
            }
            if (o.vx != 0 || o.vy != 0) bad("explosion velocity");
            break;
        default:
            bad("unknown kind");
    }
}

// Between two frames with an update pass: each entry either continues its object one update
// older or holds a new one; killCount grows by exactly the dying sequences that completed.
void InvariantChecker::checkContinuity(const TraceFrame& f) {
    int completing = 0;
    for (const TraceObject& before : previous_.objects)
        if (before.kind == 2 && before.state == 5 && before.counter == 5) ++completing;
    if (f.killCount != previous_.killCount + completing)
        fail(f, "killCount " + std::to_string(f.killCount) + " after " +
                    std::to_string(previous_.killCount) + " with " + std::to_string(completing) +
                    " dying sequences completing");
    completed_ += completing;

    for (const TraceObject& o : f.objects) {
        const TraceObject* b = previous_.entry(o.i);
        const bool same = b && b->kind == o.kind;
        if (o.kind == 3 && o.counter > 2 && !(same && o.counter == b->counter + 2))
            fail(f, "bubble in entry " + std::to_string(o.i) + " aged without its updates");
        if (o.kind == 4 && o.counter > 1 && !(same && o.counter == b->counter + 1))
            fail(f, "explosion in entry " + std::to_string(o.i) + " aged without its updates");
        if (o.kind == 2 && o.state == 5 && o.counter < 250 &&
            !(same && b->state == 5 && o.counter == b->counter - 5))
            fail(f, "dying piranha in entry " + std::to_string(o.i) + " skipped a step");
    }
}

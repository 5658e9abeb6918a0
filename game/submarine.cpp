// The player's submarine (entry 0): steering with damping, the camera that follows it, the
// energy refill near the surface, torpedo and burst, the bubble trail and the sinking sequence.

#include "game/objects.h"
#include "input/input.h"
#include "platform/random.h"
#include "sound/sound.h"

namespace {

constexpr int kSoundLaunch = 2;  // "res/syu.wav"
constexpr int32_t kMaxEnergy = 765;

int r(int n) {
    return plat::rand() % n;
}

bool heldLeft(int d) {
    return d == 1 || d == 4 || d == 7;
}
bool heldRight(int d) {
    return d == 3 || d == 6 || d == 9;
}
bool heldUp(int d) {
    return d == 7 || d == 8 || d == 9;
}
bool heldDown(int d) {
    return d == 1 || d == 2 || d == 3;
}

void steer(ObjectRecord& o) {
    if (pressedInput.buttonA) {
        playSound(kSoundLaunch);
        spawnObject(o.x, o.y - 8, o.z, kindTorpedo, teamTorpedo, o.facing, 0);
    }
    if (pressedInput.buttonB) {
        playSound(kSoundLaunch);
        spawnObject(o.x, o.y, o.z, kindExplosion, teamNone, false, 2.0f);
        if (o.facing)
            o.vx -= 15;
        else
            o.vx += 15;
    }
    const int d = heldInput.direction;
    if (d != 5 && o.counter % 10 == 0) {
        // A trail bubble behind the facing it has before this update's turn.
        const int dy = r(11);  // the vertical offset is drawn first
        const int dx = r(11);
        const float behind = o.facing ? o.x + 24 : o.x - 24;
        spawnObject(behind + dx - 5, o.y + dy - 5, o.z, kindBubble, teamNone, false, 0);
    }
    // Steps of 0.4 and 0.2 in double, stored back as float.
    if (heldLeft(d)) {
        o.vx -= 0.4;
        o.facing = true;
    } else if (heldRight(d)) {
        o.vx += 0.4;
        o.facing = false;
    }
    if (heldUp(d))
        o.vy += 0.2;
    else if (heldDown(d))
        o.vy -= 0.2;
}

void sink(ObjectRecord& o) {
    ++sinkFrames;
    if (sinkFrames > 100) o.visible = !o.visible;  // blinking
    if (sinkFrames > 200) {
        o.visible = false;
        o.team = teamNone;  // nothing can bite it any more
        return;
    }
    o.vy -= 0.2;
    if (o.counter % 5 == 0) {
        const int dy = r(51);  // the vertical offset is drawn first
        const int dx = r(51);
        spawnObject(o.x + dx - 25, o.y + dy - 25, o.z, kindExplosion, teamNone, false, 2.0f);
    }
}

}  // namespace

void updateSubmarine(int index) {
    ObjectRecord& o = objects[index];
    o.team = teamSubmarine;
    o.counter = (o.counter + 1) % 30;
    if (!sunk)
        steer(o);
    else
        sink(o);

    o.vx *= 0.9;
    o.vy *= 0.9;
    o.x += o.vx;
    o.y += o.vy;

    int32_t camera = static_cast<int32_t>(o.x - 160);
    if (camera < -640) camera = -640;
    if (camera > 0) camera = 0;
    scrollX = camera;

    if (o.x < -608) o.x = -608;
    if (o.x > 288) o.x = 288;

    // Near the surface energy grows one point every fifth update, sunk or not.
    if (o.y > -24) {
        refillTick = (refillTick + 1) % 5;
        if (refillTick == 0) ++energy;
        if (energy > kMaxEnergy) energy = kMaxEnergy;
    }

    if (o.y > -16) o.y = -16;
    if (o.y < -208) o.y = -208;

    setDrawBlock(index, o.x, o.y, o.z, 1.0f, 1.0f, 0, 0xFFFFFFFFu, 1 + 64 * (o.counter / 10),
                 1 + 32 * (o.facing ? 1 : 0), 62, 30, o.visible, false);
}

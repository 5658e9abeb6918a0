// The piranha: waits, aims at the submarine, chases it and lunges; a lunge that touches the
// submarine bites it. Torpedoes wear its size down; when the size is used up it fades out in red,
// throwing explosions, and counts as a kill.

#include "game/piranha.h"

#include "game/geometry.h"
#include "game/objects.h"
#include "game/overlap.h"
#include "platform/random.h"
#include "sound/sound.h"

namespace {

constexpr int kSoundBite = 4;  // "res/ga.wav"
constexpr int kSoundSunk = 3;  // "res/gogo.wav"

int r(int n) {
    return plat::rand() % n;
}

// Turns the velocity (zero while waiting) into a unit vector towards the submarine and keeps
// the travel direction in whole degrees for choosing the frame row.
void aim(ObjectRecord& o) {
    o.target = 0;
    const ObjectRecord& t = objects[o.target];
    // Heights negated: heading's plane has its second coordinate growing downwards.
    const int32_t h = heading(o.x, -o.y, t.x, -t.y);
    const int32_t theta = (h + 180) % 360;
    moveAlong(static_cast<float>(theta), o.vx, o.vy, 1.0f);
    o.angle = static_cast<float>(360 - theta % 360);
}

void wait(ObjectRecord& o) {
    if (--o.counter > 0) return;
    aim(o);
    o.counter = 30 + r(5);
    o.state = kPiranhaChasing;
}

void chase(ObjectRecord& o) {
    if (--o.counter <= 0) {
        o.counter = 10 + r(5);
        o.vx = 0;
        o.vy = 0;
        o.state = kPiranhaWaiting;
        return;
    }
    if (o.target < 0 || o.target >= kObjectCount) return;
    const ObjectRecord& t = objects[o.target];
    // Position and depth only: height does not enter the reach test.
    const float reach = o.srcWidth * o.scaleX / 2 + t.srcWidth * t.scaleX / 2;
    if (distance(o.x, o.z, t.x, t.z) <= reach) {
        o.counter = 15;
        o.state = kPiranhaBiting;
    }
}

void bite(int index) {
    ObjectRecord& o = objects[index];
    if (findOverlap(index, teamSubmarine) >= 0) {
        spawnObject(o.x + 2 * o.vx, o.y, o.z, kindExplosion, teamTorpedo, false, 1.0f);
        playSound(kSoundBite);
        energy = static_cast<int32_t>(energy - 30 * o.scaleX);
        if (energy <= 0) {
            playSound(kSoundSunk);
            energy = 0;
            sunk = true;
        }
        o.counter = 0;  // a bite ends the lunge in this update
    }
    --o.counter;
    if (o.counter < 5) {  // the lunge: double speed
        o.x += o.vx;
        o.y += o.vy;
    }
    if (o.counter <= 0) {
        o.counter = 60;
        o.vx = 0;
        o.vy = 0;
        o.state = kPiranhaWaiting;
    }
}

// Row 0 while the submarine lay to the right or straight below at the last aim, row 1 otherwise.
int32_t frameRow(float angle) {
    return (static_cast<int32_t>(angle / 90) % 4) / 2;
}

}  // namespace

void hitPiranha(int index) {
    ObjectRecord& o = objects[index];
    o.size -= 1;
    if (!(o.size > 0)) {
        o.state = kPiranhaDying;
        o.counter = kDyingCounter;
    }
}

void updatePiranha(int index) {
    ObjectRecord& o = objects[index];
    if (o.started == 0) {
        o.scaleX = o.size;
        o.scaleY = o.size;
        o.started = 1;
    }
    o.anim = (o.anim + 1) % 20;
    o.x += o.vx;
    o.y += o.vy;

    switch (o.state) {
        case kPiranhaWaiting:
            wait(o);
            break;
        case kPiranhaChasing:
            chase(o);
            break;
        case kPiranhaBiting:
            bite(index);
            break;
        case kPiranhaDying:
            o.vx = 0;
            o.vy = 0;
            break;
        default:
            break;
    }

    const int32_t srcX = 1 + 32 * (o.anim / 10);
    const int32_t srcY = 65 + 32 * frameRow(o.angle);
    if (o.state != kPiranhaDying) {
        setDrawBlock(index, o.x, o.y, o.z, o.scaleX, o.scaleY, 0, 0xFFFFFFFFu, srcX, srcY, 30, 30,
                     o.visible, false);
        return;
    }
    // Dying: fades from opaque white to a faint red, throwing explosions of its own scale.
    const uint32_t c = static_cast<uint32_t>(o.counter) & 0xFFu;
    setDrawBlock(index, o.x, o.y, o.z, o.scaleX, o.scaleY, 0, c << 24 | 0xFFu << 16 | c << 8 | c,
                 srcX, srcY, 30, 30, o.visible, false);
    o.counter -= 5;
    if (o.counter < 50 && o.counter % 3 == 0) {
        const int dy = r(51);  // the vertical offset is drawn first
        const int dx = r(51);
        spawnObject(o.x + dx - 25, o.y + dy - 25, o.z, kindExplosion, teamNone, false, o.scaleX);
    }
    if (o.counter <= 0) {
        ++killCount;
        killObject(index);
    }
}

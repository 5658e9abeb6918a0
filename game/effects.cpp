// The short-lived objects: the torpedo that flies and hits, the bubble that rises and fades,
// and the explosion that spins, grows, fades and throws bubbles.

#include "game/objects.h"
#include "game/overlap.h"
#include "game/piranha.h"
#include "platform/random.h"
#include "sound/sound.h"

namespace {

constexpr int kSoundHit = 1;  // "res/ban.wav"

int r(int n) {
    return plat::rand() % n;
}

}  // namespace

void updateTorpedo(int index) {
    ObjectRecord& o = objects[index];
    o.team = teamTorpedo;
    o.counter = (o.counter + 1) % 16;
    if (o.counter % 8 == 0) spawnObject(o.x, o.y, o.z, kindBubble, teamNone, false, 0);
    // It starts from rest and speeds up by 0.1 (double, stored back as float) per update.
    if (o.facing)
        o.vx -= 0.1;
    else
        o.vx += 0.1;
    o.x += o.vx;

    const int hit = findOverlap(index, teamPiranha);
    if (hit >= 0) {
        spawnObject(o.x + 2 * o.vx, o.y, o.z, kindExplosion, teamNone, false, 1.0f);
        playSound(kSoundHit);
        killObject(index);
        hitPiranha(hit);
    }
    // Also after a hit: the torpedo is drawn once more where it hit.
    setDrawBlock(index, o.x, o.y, o.z, o.scaleX, o.scaleY, 0, 0xFFFFFFFFu, o.facing ? 224 : 192,
                 16 * (o.counter / 4), 32, 16, o.visible, false);
    // 32 units beyond the ends of the field the camera can show.
    if (o.x < -672) killObject(index);
    if (o.x > 352) killObject(index);
}

void updateBubble(int index) {
    ObjectRecord& o = objects[index];
    o.team = teamNone;
    o.counter += 2;
    o.y += 1;
    o.scaleX += 0.02;
    o.scaleY += 0.02;
    int32_t alpha = 120 - 4 * o.counter;
    if (alpha < 0) alpha = 0;
    setDrawBlock(index, o.x, o.y, o.z, o.scaleX, o.scaleY, 0,
                 static_cast<uint32_t>(alpha) << 24 | 0x00FFFFFFu, 225, 65 + 16 * (o.counter / 5),
                 14, 14, o.visible, false);
    // Gone at the surface or after 16 updates.
    if (o.y > -16 || o.counter > 30) killObject(index);
}

void updateExplosion(int index) {
    ObjectRecord& o = objects[index];
    o.z = 1;          // drawn over every object of depth 0
    if (!o.facing) {  // first update
        o.rotation = static_cast<float>(r(63));
        o.facing = true;
        o.scaleX = o.size;
        o.scaleY = o.size;
    }
    o.scaleX += 0.05;
    o.scaleY += 0.05;
    const uint32_t c = static_cast<uint32_t>(o.counter);
    const uint32_t colour = 0xFF000000u | ((250 - 10 * c) & 0xFFu) << 16 |
                            ((100 - 4 * c) & 0xFFu) << 8 | ((50 - 2 * c) & 0xFFu);
    setDrawBlock(index, o.x, o.y, o.z, o.scaleX, o.scaleY, o.rotation, colour,
                 1 + 32 * (o.counter / 5), 209, 30, 30, o.visible, true);
    ++o.counter;
    if (o.counter % 5 == 0) {
        const int dy = r(11);  // the vertical offset is drawn first
        const int dx = r(11);
        spawnObject(o.x + dx - 5, o.y + dy - 5, o.z, kindBubble, teamNone, false, 0);
    }
    if (o.counter >= 25) killObject(index);
}

#include "game/overlap.h"

#include "game/objects.h"
#include "game/piranha.h"

namespace {

float halfWidth(const ObjectRecord& o) {
    return static_cast<float>(o.srcWidth >> 2) * o.scaleX;
}
float halfHeight(const ObjectRecord& o) {
    return static_cast<float>(o.srcHeight >> 1) * o.scaleY;
}

}  // namespace

int findOverlap(int index, int32_t team) {
    const ObjectRecord& s = objects[index];
    const float shw = halfWidth(s);
    const float shh = halfHeight(s);
    for (int j = 0; j < kObjectCount; ++j) {
        const ObjectRecord& o = objects[j];
        if (j == index || !o.inUse || o.state == kPiranhaDying || o.team != team) continue;
        const float hw = halfWidth(o);
        const float hh = halfHeight(o);
        if (s.x - shw < o.x + hw && s.x + shw > o.x - hw && s.y - shh < o.y + hh &&
            s.y + shh > o.y - hh)
            return j;
    }
    return -1;
}

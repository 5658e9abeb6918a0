#include "game/draw_order.h"

#include "game/objects.h"
#include "render/draw.h"

namespace {

constexpr int32_t kDepthLimit = 1024;

int32_t depthOf(const ObjectRecord& o) {
    return static_cast<int32_t>(o.z);
}

}  // namespace

void orderByDepth() {
    // A selection by repeated scans: each step appends every unplaced entry of the smallest
    // remaining depth in entry order. Only depths up to 1024 can be ordered; the step limit
    // keeps any other depth from holding the loop.
    int32_t count = 0;
    int32_t steps = 0;
    while (count < visibleCount) {
        if (++steps > kObjectCount) break;
        int32_t least = kDepthLimit;
        for (const ObjectRecord& o : objects)
            if (!o.placed && depthOf(o) < least) least = depthOf(o);
        for (int k = 0; k < kObjectCount; ++k) {
            ObjectRecord& o = objects[k];
            if (o.placed || depthOf(o) != least) continue;
            o.placed = true;
            drawOrder[count++] = k;
        }
    }
}

ObjectSprite objectSprite(int index) {
    const ObjectRecord& o = objects[index];
    ObjectSprite s{};
    s.centreX = static_cast<float>(o.srcWidth * o.scaleX * 0.5);
    s.centreY = static_cast<float>(o.srcHeight * o.scaleY * 0.5);
    s.x = o.x - s.centreX - scrollX;
    s.y = o.z - s.centreY - scrollY - o.y;
    s.scaleX = o.scaleX;
    s.scaleY = o.scaleY;
    s.rotation = o.rotation;
    s.colour = o.colour;
    s.srcX = o.srcX;
    s.srcY = o.srcY;
    s.srcWidth = o.srcWidth;
    s.srcHeight = o.srcHeight;
    s.additive = o.additive;
    return s;
}

void drawObjects() {
    orderByDepth();
    for (int32_t n = 0; n < visibleCount; ++n) {
        const int32_t k = drawOrder[n];
        if (k == -1) continue;
        const ObjectSprite s = objectSprite(k);
        drawSprite(s.x, s.y, s.scaleX, s.scaleY, s.centreX, s.centreY, s.rotation, 0, s.colour,
                   s.srcX, s.srcY, s.srcWidth, s.srcHeight, s.additive);
    }
}

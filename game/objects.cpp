#include "game/objects.h"

ObjectRecord objects[kObjectCount];

int32_t energy = 0;
bool sunk = false;
int32_t sinkFrames = 0;
int32_t killCount = 0;
int32_t refillTick = 0;
int32_t scrollX = 0;
int32_t scrollY = 0;
int32_t visibleCount = 0;
int32_t drawOrder[kObjectCount];

void resetObjects() {
    energy = 765;
    sunk = false;
    sinkFrames = 0;
    killCount = 0;
    for (int i = 0; i < kObjectCount; ++i) killObject(i);
}

void spawnObject(float x, float y, float z, int32_t kind, int32_t team, bool facing, float size) {
    for (ObjectRecord& o : objects) {
        if (o.inUse) continue;
        // colour, source rectangle, additive and placed keep what the entry held last: the
        // behaviour sets the whole draw block in its first update.
        o.x = x;
        o.y = y;
        o.z = z;
        o.kind = kind;
        o.team = team;
        o.facing = facing;
        o.size = size;
        o.scaleX = 1.0f;
        o.scaleY = 1.0f;
        o.rotation = 0.0f;
        o.vx = 0.0f;
        o.vy = 0.0f;
        o.angle = 0.0f;
        o.state = 0;
        o.counter = 0;
        o.started = 0;
        o.target = -1;
        o.anim = 0;
        o.visible = true;
        o.inUse = true;
        return;
    }
}

void killObject(int index) {
    objects[index].inUse = false;
}

void setDrawBlock(int index, float x, float y, float z, float scaleX, float scaleY, float rotation,
                  uint32_t colour, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                  bool visible, bool additive) {
    ObjectRecord& o = objects[index];
    o.x = x;
    o.y = y;
    o.z = z;
    o.scaleX = scaleX;
    o.scaleY = scaleY;
    o.rotation = rotation;
    o.colour = colour;
    o.srcX = srcX;
    o.srcY = srcY;
    o.srcWidth = srcWidth;
    o.srcHeight = srcHeight;
    o.visible = visible;
    o.additive = additive;
}

void updateObjects() {
    visibleCount = 0;
    for (int i = 0; i < kObjectCount; ++i) {
        ObjectRecord& o = objects[i];
        o.placed = true;
        drawOrder[i] = -1;
        if (!o.inUse) continue;
        switch (o.kind) {
            case kindSubmarine:
                updateSubmarine(i);
                break;
            case kindTorpedo:
                updateTorpedo(i);
                break;
            case kindPiranha:
                updatePiranha(i);
                break;
            case kindBubble:
                updateBubble(i);
                break;
            case kindExplosion:
                updateExplosion(i);
                break;
            default:
                break;
        }
        // An object that freed itself in its update is still drawn this frame.
        if (o.visible) {
            o.placed = false;
            ++visibleCount;
        }
    }
}

void clearObjectTable() {
    for (ObjectRecord& o : objects) o = ObjectRecord{};
    energy = 0;
    sunk = false;
    sinkFrames = 0;
    killCount = 0;
    refillTick = 0;
    scrollX = 0;
    scrollY = 0;
    visibleCount = 0;
    for (int32_t& d : drawOrder) d = 0;
}

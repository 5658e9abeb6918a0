// Placeholder object behaviours, scenery and drawing: they exist under their names so the
// update pass and the scenes run end to end, but do nothing yet. Objects stay where they were
// spawned and are not drawn.

#include "game/draw_order.h"
#include "game/objects.h"
#include "game/scenery.h"

int32_t waveTick = 0;

void drawScenery(uint8_t layer) {
    (void)layer;
    waveTick = (waveTick + 1) % 40;
}

void updateSubmarine(int index) { objects[index].visible = false; }
void updateTorpedo(int index) { objects[index].visible = false; }
void updatePiranha(int index) { objects[index].visible = false; }
void updateBubble(int index) { objects[index].visible = false; }
void updateExplosion(int index) { objects[index].visible = false; }

void orderByDepth() {}
void drawObjects() {}

#pragma once
// Depth-ordered drawing of the objects: lower depth first, equal depths in entry order.

#include <cstdint>

// Fills drawOrder with the visible entries by depth.
void orderByDepth();
// Draws every visible object in depth order.
void drawObjects();

// The drawSprite arguments for an entry (texture slot 0): its centre lands at screen column
// x - scrollX and row z - y - scrollY, and it turns about that centre.
struct ObjectSprite {
    float x, y;  // top-left corner on the screen
    float scaleX, scaleY;
    float centreX, centreY;  // rotation centre, scaled pixels from the top-left corner
    float rotation;
    uint32_t colour;
    int32_t srcX, srcY, srcWidth, srcHeight;
    bool additive;
};
ObjectSprite objectSprite(int index);

#pragma once
// Depth-ordered drawing of the objects: lower depth first, equal depths in entry order.

// Fills drawOrder with the visible entries by depth.
void orderByDepth();
// Draws every visible object in depth order.
void drawObjects();

#include "game/geometry.h"

#include <gtest/gtest.h>

namespace {

struct HeadingCase {
    float x2, y2;  // from (0, 0); y grows downwards
    int32_t bearing;
};

// Whole degrees, truncated, with the 15-digit pi: the exact bearings 180 and 270 (and 225, 315)
// come out one low because phi lands a hair above its exact value; 90, 135 and 45 come from
// 360 - phi just above 450, 495 and 405 and stay exact.
TEST(Geometry, HeadingInWholeDegrees) {
    const HeadingCase cases[] = {
        {0, -10, 0},   {10, 0, 90},    {0, 10, 179},    {-10, 0, 269}, {0, 0, 0},
        {10, 10, 135}, {-10, 10, 224}, {-10, -10, 314}, {10, -10, 45},
    };
    for (const HeadingCase& c : cases)
        EXPECT_EQ(heading(0, 0, c.x2, c.y2), c.bearing) << "towards " << c.x2 << ", " << c.y2;
    // Only the difference counts.
    EXPECT_EQ(heading(-300, 55.5f, -300, 80), 179);
}

TEST(Geometry, Distance) {
    EXPECT_FLOAT_EQ(distance(0, 0, 3, 4), 5);
    EXPECT_FLOAT_EQ(distance(-1, 7, -1, 7), 0);
    EXPECT_FLOAT_EQ(distance(10, 0, -20, 40), 50);
}

struct PushCase {
    float angle;
    float vx, vy;  // added to (0.5, 0.5); vy upwards positive
};

TEST(Geometry, MoveAlongPushesOppositeTheBearing) {
    const PushCase cases[] = {
        {0, 0, -1},   // down
        {90, -1, 0},  // left
        {180, 0, 1},  // up
        {270, 1, 0},  // right
        {360, 0, -1}, {-90, 1, 0}, {315, 0.70710678f, -0.70710678f},
    };
    for (const PushCase& c : cases) {
        float vx = 0.5f, vy = 0.5f;
        moveAlong(c.angle, vx, vy, 1.0f);
        EXPECT_NEAR(vx, 0.5f + c.vx, 1e-6) << "angle " << c.angle;
        EXPECT_NEAR(vy, 0.5f + c.vy, 1e-6) << "angle " << c.angle;
    }
    float vx = 0, vy = 0;
    moveAlong(270, vx, vy, 2.5f);
    EXPECT_NEAR(vx, 2.5f, 1e-6);
}

}  // namespace

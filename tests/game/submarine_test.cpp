#include <cmath>

#include "game/draw_order.h"
#include "game_fixture.h"

namespace {

using SubmarineTest = GameTest;

ObjectRecord& sub() {
    return objects[0];
}

struct SteerCase {
    int8_t direction;
    float vx, vy;  // where the velocity settles
    bool facingLeft;
};

// Adding 0.4 (or 0.2) and then damping by 0.9 settles at 0.4 * 0.9 / 0.1 = 3.6 (or 1.8).
TEST_F(SubmarineTest, HeldDirectionSettlesTheVelocity) {
    const SteerCase cases[] = {
        {6, 3.6f, 0, false},  {4, -3.6f, 0, true},    {8, 0, 1.8f, false},
        {2, 0, -1.8f, false}, {9, 3.6f, 1.8f, false}, {1, -3.6f, -1.8f, true},
    };
    for (const SteerCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << int(c.direction));
        startGame();
        heldInput.direction = c.direction;
        updateSubmarine(0);
        // First update from rest: 0.4 * 0.9 and 0.2 * 0.9.
        EXPECT_NEAR(std::fabs(sub().vx), c.vx != 0 ? 0.36 : 0.0, 1e-6);
        EXPECT_NEAR(std::fabs(sub().vy), c.vy != 0 ? 0.18 : 0.0, 1e-6);
        float lastSpeed = std::fabs(sub().vx) + std::fabs(sub().vy);
        for (int i = 0; i < 200; ++i) {
            updateSubmarine(0);
            const float speed = std::fabs(sub().vx) + std::fabs(sub().vy);
            ASSERT_GE(speed, lastSpeed);  // approaches from below, never overshoots
            lastSpeed = speed;
        }
        EXPECT_NEAR(sub().vx, c.vx, 1e-4);
        EXPECT_NEAR(sub().vy, c.vy, 1e-4);
        EXPECT_EQ(sub().facing, c.facingLeft);
    }
}

struct LimitCase {
    float x, y;       // before the update (at rest, nothing held)
    int32_t scrollX;  // after it
    float limitedX, limitedY;
};

TEST_F(SubmarineTest, CameraFollowsAndThePositionIsHeldInsideTheField) {
    const LimitCase cases[] = {
        {0, -120, -160, 0, -120},
        {160, -120, 0, 160, -120},
        {-480, -120, -640, -480, -120},
        {100.7f, -120, -59, 100.7f, -120},     // x - 160 = -59.3 truncates toward zero
        {-100.7f, -120, -260, -100.7f, -120},  // -260.7 truncates to -260
        {170, -120, 0, 170, -120},             // the camera stops at 0
        {-500, -120, -640, -500, -120},        // and at -640
        {300, -120, 0, 288, -120},             // right end of the field
        {-700, -120, -640, -608, -120},        // left end
        {0, 10, -160, 0, -16},                 // never above the surface
        {0, -300, -160, 0, -208},              // never below the sea bed
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y);
        startGame();
        sub().x = c.x;
        sub().y = c.y;
        updateSubmarine(0);
        EXPECT_EQ(scrollX, c.scrollX);
        EXPECT_FLOAT_EQ(sub().x, c.limitedX);
        EXPECT_FLOAT_EQ(sub().y, c.limitedY);
    }
}

TEST_F(SubmarineTest, HoldingADirectionForLongReachesTheEndsOfTheField) {
    startGame();
    heldInput.direction = 4;
    for (int i = 0; i < 400; ++i) updateSubmarine(0);
    EXPECT_FLOAT_EQ(sub().x, -608);
    EXPECT_EQ(scrollX, -640);
    heldInput.direction = 9;
    for (int i = 0; i < 400; ++i) updateSubmarine(0);
    EXPECT_FLOAT_EQ(sub().x, 288);
    EXPECT_FLOAT_EQ(sub().y, -16);
    EXPECT_EQ(scrollX, 0);
    heldInput.direction = 2;
    for (int i = 0; i < 400; ++i) updateSubmarine(0);
    EXPECT_FLOAT_EQ(sub().y, -208);
}

// Between x -480 and 160 the camera keeps the submarine's centre within a pixel of screen column
// 160: x - 160 is never positive there and truncates toward zero, so the centre lies in
// (159, 160].
TEST_F(SubmarineTest, CentreStaysWithinOnePixelOfColumn160) {
    startGame();
    for (float x = -480; x <= 160; x += 0.37f) {
        sub().x = x;
        sub().vx = 0;
        updateSubmarine(0);
        const ObjectSprite s = objectSprite(0);
        const float centre = s.x + s.centreX;
        ASSERT_GT(centre, 159.0f) << "x " << x;
        ASSERT_LE(centre, 160.0f) << "x " << x;
    }
}

TEST_F(SubmarineTest, EnergyRefillsEveryFifthUpdateAboveHeightMinus24) {
    startGame();
    energy = 700;
    sub().y = -20;
    for (int update = 1; update <= 20; ++update) {
        updateSubmarine(0);
        EXPECT_EQ(energy, 700 + update / 5) << "update " << update;
    }
    // At -24 and below nothing changes, not even the refill phase.
    sub().y = -24;
    const int32_t tick = refillTick;
    for (int update = 0; update < 20; ++update) updateSubmarine(0);
    EXPECT_EQ(energy, 704);
    EXPECT_EQ(refillTick, tick);
    // Never above 765.
    sub().y = -16;
    energy = 765;
    for (int update = 0; update < 20; ++update) updateSubmarine(0);
    EXPECT_EQ(energy, 765);
}

TEST_F(SubmarineTest, RefillGoesOnInTheFirstUpdatesAfterSinking) {
    startGame();
    energy = 0;
    sunk = true;
    sub().y = -16;
    for (int update = 0; update < 5; ++update) updateSubmarine(0);
    EXPECT_GT(sub().y, -24);
    EXPECT_EQ(energy, 1);
}

TEST_F(SubmarineTest, BurstAddsFifteenInTheFacingAndThrowsAnExplosion) {
    for (bool left : {false, true}) {
        SCOPED_TRACE(left ? "facing left" : "facing right");
        startGame();
        sounds().clear();
        sub().facing = left;
        pressedInput.buttonB = 1;
        updateSubmarine(0);
        EXPECT_NEAR(sub().vx, left ? -13.5 : 13.5, 1e-5);  // 15, damped once
        ASSERT_TRUE(objects[1].inUse);
        EXPECT_EQ(objects[1].kind, kindExplosion);
        EXPECT_EQ(objects[1].team, teamNone);
        EXPECT_FLOAT_EQ(objects[1].size, 2.0f);
        EXPECT_FLOAT_EQ(objects[1].x, 0);
        EXPECT_FLOAT_EQ(objects[1].y, -120);
        EXPECT_EQ(sounds(), std::vector<int>{2});
        // The damping spends it: after 60 more updates little is left.
        pressedInput.buttonB = 0;
        for (int i = 0; i < 60; ++i) updateSubmarine(0);
        EXPECT_LT(std::fabs(sub().vx), 0.03f);
    }
}

// A and B in one frame: torpedo, explosion and burst, slot 2 twice. The torpedo leaves in the
// facing held before the frame's turn.
TEST_F(SubmarineTest, ButtonsAAndBInOneFrameWhileTurning) {
    startGame();
    pressedInput.buttonA = 1;
    pressedInput.buttonB = 1;
    heldInput.direction = 4;  // turns left this update
    updateSubmarine(0);
    EXPECT_EQ(sounds(), (std::vector<int>{2, 2}));
    const ObjectRecord& torpedo = objects[1];
    ASSERT_TRUE(torpedo.inUse);
    EXPECT_EQ(torpedo.kind, kindTorpedo);
    EXPECT_EQ(torpedo.team, teamTorpedo);
    EXPECT_FALSE(torpedo.facing);
    EXPECT_FLOAT_EQ(torpedo.x, 0);
    EXPECT_FLOAT_EQ(torpedo.y, -128);  // 8 below the centre
    ASSERT_TRUE(objects[2].inUse);
    EXPECT_EQ(objects[2].kind, kindExplosion);
    EXPECT_FLOAT_EQ(objects[2].size, 2.0f);
    EXPECT_TRUE(sub().facing);
    // Burst to the right, then 0.4 to the left, damped: (15 - 0.4) * 0.9.
    EXPECT_NEAR(sub().vx, 13.14, 1e-5);
}

TEST_F(SubmarineTest, TrailBubblesOnlyWhileADirectionIsHeldOnCounter0_10_20) {
    for (int8_t d = 1; d <= 9; ++d) {
        SCOPED_TRACE(testing::Message() << "direction " << int(d));
        startGame();
        heldInput.direction = d;
        int bubbles = 0;
        for (int update = 1; update <= 60; ++update) {
            const float x = sub().x, y = sub().y;
            const bool facingLeft = sub().facing;
            updateSubmarine(0);
            const int now = countInUse(kindBubble);
            const bool expected = d != 5 && sub().counter % 10 == 0;
            ASSERT_EQ(now - bubbles, expected ? 1 : 0) << "update " << update;
            if (expected) {
                // The newest bubble: 24 behind the facing held before this update, +-5.
                const ObjectRecord* b = nullptr;
                for (const ObjectRecord& o : objects)
                    if (o.inUse && o.kind == kindBubble) b = &o;
                const float behind = facingLeft ? x + 24 : x - 24;
                EXPECT_LE(std::fabs(b->x - behind), 5.0f);
                EXPECT_LE(std::fabs(b->y - y), 5.0f);
                EXPECT_EQ(b->team, teamNone);
            }
            bubbles = now;
        }
        EXPECT_EQ(bubbles, d == 5 ? 0 : 6);
    }
}

// Updates 1..100 sink with explosions every fifth update, 101..200 also blink (hidden on odd
// updates), from 201 invisible, team 0, no push, no explosions. Keys are ignored throughout.
TEST_F(SubmarineTest, SinkingSequence) {
    startGame();
    sunk = true;
    heldInput.direction = 8;
    pressedInput.buttonA = 1;
    pressedInput.buttonB = 1;
    int explosions = 0;
    float lastVy = 0;
    for (int k = 1; k <= 300; ++k) {
        updateSubmarine(0);
        ASSERT_EQ(sinkFrames, k);
        const bool visible = k <= 100 ? true : k <= 200 ? k % 2 == 0 : false;
        ASSERT_EQ(sub().visible, visible) << "update " << k;
        ASSERT_EQ(sub().team, k <= 200 ? teamSubmarine : teamNone) << "update " << k;
        const int now = countInUse(kindExplosion);
        const bool throws = k <= 200 && sub().counter % 5 == 0;
        ASSERT_EQ(now - explosions, throws ? 1 : 0) << "update " << k;
        explosions = now;
        if (k > 201) {
            ASSERT_LT(std::fabs(sub().vy), std::fabs(lastVy) + 1e-9f);
        }
        lastVy = sub().vy;
    }
    EXPECT_EQ(explosions, 40);
    EXPECT_EQ(countInUse(kindTorpedo), 0);
    EXPECT_TRUE(sounds().empty());
    EXPECT_FLOAT_EQ(sub().y, -208);  // it sank to the sea bed
}

}  // namespace

#include "game/piranha.h"

#include <cmath>

#include "game/draw_order.h"
#include "game/geometry.h"
#include "game_fixture.h"

namespace {

using PiranhaTest = GameTest;

// The submarine in entry 0 with its draw block set (62 x 30 sprite) at (x, y).
void placeSubmarine(float x, float y) {
    resetObjects();
    spawnObject(x, y, 0, kindSubmarine, teamSubmarine, false, 0);
    setDrawBlock(0, x, y, 0, 1, 1, 0, 0xFFFFFFFF, 1, 1, 62, 30, true, false);
}

struct AimCase {
    float x, y;    // the piranha; the submarine is at (0, -120)
    float angle;   // kept for its frames
    int32_t srcY;  // frame row: 65 towards the right or straight below, 97 otherwise
    float vx, vy;  // unit velocity towards the submarine
};

TEST_F(PiranhaTest, FirstUpdateAimsAtTheSubmarine) {
    const AimCase cases[] = {
        {-128, -120, 90, 65, 1, 0},              // submarine to the right
        {448, -120, 271, 97, -1, 0},             // to the left: bearing 269, one degree off
        {0, -50, 1, 65, 0, -1},                  // straight below: bearing 179
        {0, -200, 180, 97, 0, 1},                // straight above
        {-100, -20, 45, 65, 0.7071f, -0.7071f},  // below and to the right: bearing 135
    };
    for (const AimCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "piranha at " << c.x << ", " << c.y);
        placeSubmarine(0, -120);
        const int i = spawn(c.x, c.y, 0, kindPiranha, teamPiranha, false, 0.5f);
        updatePiranha(i);
        const ObjectRecord& p = objects[i];
        EXPECT_EQ(p.state, kPiranhaChasing);
        EXPECT_GE(p.counter, 30);
        EXPECT_LE(p.counter, 34);
        EXPECT_EQ(p.target, 0);
        EXPECT_FLOAT_EQ(p.angle, c.angle);
        EXPECT_EQ(p.srcY, c.srcY);
        EXPECT_FLOAT_EQ(p.scaleX, 0.5f);
        EXPECT_FLOAT_EQ(p.scaleY, 0.5f);
        EXPECT_NEAR(p.vx, c.vx, 0.02);  // within the whole-degree truncation
        EXPECT_NEAR(p.vy, c.vy, 0.02);
        EXPECT_NEAR(std::hypot(p.vx, p.vy), 1.0, 1e-6);
    }
}

// One degree low to the left shows in the velocity: a slight downward drift.
TEST_F(PiranhaTest, AimToTheLeftDriftsOneDegreeDown) {
    placeSubmarine(0, -120);
    const int i = spawn(448, -120, 0, kindPiranha, teamPiranha, false, 1);
    updatePiranha(i);
    EXPECT_NEAR(objects[i].vx, -std::cos(kPi / 180), 1e-6);
    EXPECT_NEAR(objects[i].vy, -std::sin(kPi / 180), 1e-6);
}

// Reach compares position and depth only: far above the submarine it still turns Biting, but
// without overlapping boxes there is no bite, and the lunge ends at double speed.
TEST_F(PiranhaTest, ReachWithoutOverlapLungesWithoutBiting) {
    placeSubmarine(0, -120);
    const int i = placePiranha(50, -20, 1, kPiranhaChasing);
    ObjectRecord& p = objects[i];
    p.target = 0;
    p.counter = 20;
    p.vx = 1;
    updatePiranha(i);
    ASSERT_EQ(p.state, kPiranhaChasing);  // x 51: beyond the reach of 15 + 31
    p.x = 45;                             // 46 after the move: exactly at reach
    updatePiranha(i);
    ASSERT_EQ(p.state, kPiranhaBiting);
    ASSERT_EQ(p.counter, 15);
    const float start = p.x;
    for (int update = 1; update <= 15; ++update) {
        updatePiranha(i);
        ASSERT_EQ(p.state, update < 15 ? kPiranhaBiting : kPiranhaWaiting) << update;
    }
    EXPECT_FLOAT_EQ(p.x - start, 20);  // 15 moves, 5 of them doubled (counter 4..0)
    EXPECT_EQ(p.counter, 60);
    EXPECT_FLOAT_EQ(p.vx, 0);
    EXPECT_EQ(energy, 765);
    EXPECT_TRUE(sounds().empty());
}

TEST_F(PiranhaTest, ChaseThatRunsOutWaitsAgain) {
    placeSubmarine(0, -120);
    const int i = placePiranha(-300, -120, 1, kPiranhaChasing);
    ObjectRecord& p = objects[i];
    p.target = 0;
    p.counter = 2;
    p.vx = 1;
    updatePiranha(i);
    EXPECT_EQ(p.state, kPiranhaChasing);
    updatePiranha(i);
    EXPECT_EQ(p.state, kPiranhaWaiting);
    EXPECT_GE(p.counter, 10);
    EXPECT_LE(p.counter, 14);
    EXPECT_FLOAT_EQ(p.vx, 0);
}

struct BiteCase {
    float size;
    int32_t cost;
};

TEST_F(PiranhaTest, BiteCostsThirtyTimesTheScale) {
    const BiteCase cases[] = {{0.5f, 15}, {1, 30}, {2, 60}, {3, 90}};
    for (const BiteCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size);
        placeSubmarine(0, -120);
        sounds().clear();
        const int i = placePiranha(10, -110, c.size, kPiranhaBiting);
        ObjectRecord& p = objects[i];
        p.counter = 15;
        p.vx = 1.5f;
        p.vy = -0.5f;
        updatePiranha(i);
        EXPECT_EQ(energy, 765 - c.cost);
        EXPECT_EQ(sounds(), std::vector<int>{4});
        EXPECT_FALSE(sunk);
        // The explosion 2 vx ahead of the piranha, after its move and one lunge step.
        const ObjectRecord& e = objects[i + 1];
        ASSERT_TRUE(e.inUse);
        EXPECT_EQ(e.kind, kindExplosion);
        EXPECT_EQ(e.team, teamTorpedo);
        EXPECT_FLOAT_EQ(e.size, 1.0f);
        EXPECT_FLOAT_EQ(e.x, 11.5f + 3);
        EXPECT_FLOAT_EQ(e.y, -110.5f);
        // A bite ends the lunge at once.
        EXPECT_EQ(p.state, kPiranhaWaiting);
        EXPECT_EQ(p.counter, 60);
        EXPECT_FLOAT_EQ(p.x, 13);
    }
}

TEST_F(PiranhaTest, BiteAtEnergy10Sinks) {
    placeSubmarine(0, -120);
    energy = 10;
    const int i = placePiranha(0, -120, 0.5f, kPiranhaBiting);
    objects[i].counter = 15;
    updatePiranha(i);
    EXPECT_EQ(energy, 0);
    EXPECT_TRUE(sunk);
    EXPECT_EQ(sounds(), (std::vector<int>{4, 3}));
}

TEST_F(PiranhaTest, SunkSubmarineOnTeam0CannotBeBitten) {
    placeSubmarine(0, -120);
    objects[0].team = teamNone;
    const int i = placePiranha(0, -120, 1, kPiranhaBiting);
    objects[i].counter = 15;
    updatePiranha(i);
    EXPECT_EQ(energy, 765);
    EXPECT_EQ(objects[i].state, kPiranhaBiting);
    EXPECT_EQ(objects[i].counter, 14);
}

// Waits 60 updates after a bite and aims again on the 60th.
TEST_F(PiranhaTest, AimsAgainOnTheSixtiethUpdateAfterABite) {
    placeSubmarine(0, -120);
    const int i = placePiranha(0, -120, 1, kPiranhaBiting);
    objects[i].counter = 15;
    updatePiranha(i);
    ASSERT_EQ(objects[i].state, kPiranhaWaiting);
    for (int update = 1; update <= 60; ++update) {
        updatePiranha(i);
        ASSERT_EQ(objects[i].state, update < 60 ? kPiranhaWaiting : kPiranhaChasing) << update;
    }
}

// Fades from opaque white to alpha 5 in red over 51 updates, drawn each time, throws four
// explosions of its own scale (counter 45, 30, 15, 0) and adds exactly one kill.
TEST_F(PiranhaTest, DyingPiranhaIsDrawn51TimesAndCountsOnce) {
    startGame();
    const int i = placePiranha(-100, -100, 0.5f);
    hitPiranha(i);
    ASSERT_EQ(objects[i].state, kPiranhaDying);
    ASSERT_EQ(objects[i].counter, 255);
    int drawn = 0;
    for (int frame = 0; frame < 80; ++frame) {
        const bool wasInUse = objects[i].inUse && objects[i].kind == kindPiranha;
        updateObjects();
        orderByDepth();
        if (wasInUse && inDrawOrder(i)) {
            const uint32_t a = static_cast<uint32_t>(255 - 5 * drawn);
            EXPECT_EQ(objects[i].colour, a << 24 | 0xFF0000u | a << 8 | a) << "draw " << drawn;
            ++drawn;
        }
        EXPECT_EQ(killCount, drawn < 51 ? 0 : 1) << "frame " << frame;
        if (frame == 50) {
            // Freed (an explosion's bubble may take the entry in the same pass).
            EXPECT_FALSE(objects[i].inUse && objects[i].kind == kindPiranha);
            int thrown = 0;
            for (const ObjectRecord& o : objects)
                if (o.inUse && o.kind == kindExplosion && o.size == 0.5f) ++thrown;
            EXPECT_EQ(thrown, 4);
        }
    }
    EXPECT_EQ(drawn, 51);
    EXPECT_EQ(killCount, 1);
}

TEST_F(PiranhaTest, DyingPiranhaStandsStill) {
    startGame();
    const int i = placePiranha(-100, -100, 1);
    objects[i].vx = 2;
    hitPiranha(i);
    updatePiranha(i);  // the last move, then it stops
    EXPECT_FLOAT_EQ(objects[i].x, -98);
    updatePiranha(i);
    EXPECT_FLOAT_EQ(objects[i].x, -98);
}

}  // namespace

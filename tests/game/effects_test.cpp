#include <cmath>

#include "game/draw_order.h"
#include "game/overlap.h"
#include "game/piranha.h"
#include "game_fixture.h"

namespace {

using EffectsTest = GameTest;

int spawnTorpedo(float x, float y, bool left) {
    return GameTest::spawn(x, y, 0, kindTorpedo, teamTorpedo, left, 0);
}

struct HitCase {
    const char* name;
    bool firstDying, secondDying;
    int hit;  // which of the two piranhas (0 or 1) loses a point, -1 for none
};

// The torpedo hits at most one piranha: the lowest entry among those it overlaps that is not
// dying. A torpedo that overlaps only dying piranhas flies on.
TEST_F(EffectsTest, TorpedoHitsTheLowestOverlappingLivePiranha) {
    const HitCase cases[] = {
        {"both alive", false, false, 0},
        {"first dying", true, false, 1},
        {"both dying", true, true, -1},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        clearObjectTable();
        sounds().clear();
        const int a = placePiranha(5, -100, 2, c.firstDying ? kPiranhaDying : kPiranhaWaiting);
        const int b = placePiranha(-3, -95, 2, c.secondDying ? kPiranhaDying : kPiranhaWaiting);
        const int t = spawnTorpedo(0, -100, false);
        updateTorpedo(t);
        EXPECT_FLOAT_EQ(objects[a].size, c.hit == 0 ? 1 : 2);
        EXPECT_FLOAT_EQ(objects[b].size, c.hit == 1 ? 1 : 2);
        EXPECT_EQ(objects[t].inUse, c.hit < 0);
        EXPECT_EQ(sounds(), c.hit < 0 ? std::vector<int>{} : std::vector<int>{1});
        EXPECT_EQ(countInUse(kindExplosion), c.hit < 0 ? 0 : 1);
    }
}

// On the hit frame the torpedo frees itself yet is drawn once more where it hit; the explosion
// lies 2 vx ahead.
TEST_F(EffectsTest, TorpedoThatHitsIsDrawnOnceMore) {
    const int t = spawnTorpedo(0, -100, false);
    for (int frame = 0; frame < 3; ++frame) {
        updateObjects();
        orderByDepth();
        ASSERT_TRUE(inDrawOrder(t));
        ASSERT_EQ(objects[t].srcY, 0);
    }
    const float x = objects[t].x;
    const int p = placePiranha(x + 10, -100, 1);
    updateObjects();
    orderByDepth();
    EXPECT_FALSE(objects[t].inUse);
    EXPECT_TRUE(inDrawOrder(t));
    EXPECT_FLOAT_EQ(objects[t].x, x + objects[t].vx);
    EXPECT_EQ(objects[t].srcX, 192);
    EXPECT_EQ(objects[t].srcY, 16);  // its fourth update shows the second frame
    EXPECT_EQ(objects[p].state, kPiranhaDying);
    const ObjectRecord& e = objects[p + 1];
    ASSERT_EQ(e.kind, kindExplosion);
    EXPECT_FLOAT_EQ(e.x, objects[t].x + 2 * objects[t].vx);
    EXPECT_EQ(e.team, teamNone);
    updateObjects();
    orderByDepth();
    EXPECT_FALSE(objects[t].inUse && objects[t].kind == kindTorpedo);
}

TEST_F(EffectsTest, SizeTwoPiranhaDiesFromTheSecondHit) {
    const int p = placePiranha(0, -100, 2);
    const int t1 = spawnTorpedo(0, -100, false);
    updateTorpedo(t1);
    EXPECT_FLOAT_EQ(objects[p].size, 1);
    EXPECT_NE(objects[p].state, kPiranhaDying);
    const int t2 = spawnTorpedo(0, -100, true);
    updateTorpedo(t2);
    EXPECT_FLOAT_EQ(objects[p].size, 0);
    EXPECT_EQ(objects[p].state, kPiranhaDying);
    EXPECT_EQ(objects[p].counter, kDyingCounter);
}

struct FlightCase {
    float x;
    bool left;
    int freedOnUpdate;  // x beyond -672 or 352 for the first time
};

// Accelerates by 0.1 per update from rest, leaves a bubble at its position every 8 updates and
// is freed once past the end of the field (drawn in that update still).
TEST_F(EffectsTest, TorpedoFlightAndBubbles) {
    const FlightCase cases[] = {
        {-600, true, 38},  // -600 - 0.1 * 38 * 39 / 2 = -674.1
        {280, false, 38},  // 280 + 74.1 = 354.1
        {0, false, 84},    // 0.1 * 84 * 85 / 2 = 357
    };
    for (const FlightCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.x);
        clearObjectTable();
        const int t = spawnTorpedo(c.x, -100, c.left);
        int update = 0;
        while (objects[t].inUse && update < 200) {
            const float before = objects[t].x;
            const int bubbles = countInUse(kindBubble);
            updateTorpedo(t);
            ++update;
            EXPECT_NEAR(objects[t].vx, (c.left ? -0.1 : 0.1) * update, 1e-4);
            if (update % 8 == 0) {
                ASSERT_EQ(countInUse(kindBubble), bubbles + 1) << update;
                const ObjectRecord* b = nullptr;
                for (const ObjectRecord& o : objects)
                    if (o.inUse && o.kind == kindBubble) b = &o;
                EXPECT_FLOAT_EQ(b->x, before);
            } else {
                ASSERT_EQ(countInUse(kindBubble), bubbles) << update;
            }
        }
        EXPECT_EQ(update, c.freedOnUpdate);
        EXPECT_TRUE(objects[t].visible);
    }
}

struct BubbleCase {
    float y;
    int freedOnUpdate;
};

// A bubble rises one unit per update and fades; it is freed at the surface or after 16 updates.
TEST_F(EffectsTest, BubbleRisesFadesAndLivesAtMost16Updates) {
    const BubbleCase cases[] = {{-100, 16},  {-17.5f, 2},  {-17, 2},
                                {-16.5f, 1}, {-30.5f, 15}, {-31, 16}};
    for (const BubbleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.y);
        clearObjectTable();
        const int b = spawn(5, c.y, 0, kindBubble, teamNone, false, 0);
        int update = 0;
        while (objects[b].inUse && update < 40) {
            updateBubble(b);
            ++update;
            const int alpha = std::max(0, 120 - 8 * update);
            EXPECT_EQ(objects[b].colour, static_cast<uint32_t>(alpha) << 24 | 0xFFFFFFu);
            EXPECT_FLOAT_EQ(objects[b].y, c.y + update);
            EXPECT_NEAR(objects[b].scaleX, 1 + 0.02 * update, 1e-5);
            EXPECT_EQ(objects[b].srcY, 65 + 16 * (2 * update / 5));
            EXPECT_TRUE(objects[b].visible);
        }
        EXPECT_EQ(update, c.freedOnUpdate);
    }
}

// Drawn 25 times on depth 1, additive, growing and fading from orange; five bubbles of depth 1
// within 5 units of its centre.
TEST_F(EffectsTest, ExplosionLifetime) {
    const int e = spawn(30, -60, 0, kindExplosion, teamNone, false, 1.5f);
    int drawn = 0;
    float rotation = -1;
    while (objects[e].inUse && drawn < 40) {
        updateExplosion(e);
        const ObjectRecord& o = objects[e];
        const uint32_t c = static_cast<uint32_t>(drawn);
        EXPECT_EQ(o.colour, 0xFF000000u | (250 - 10 * c) << 16 | (100 - 4 * c) << 8 | (50 - 2 * c));
        EXPECT_FLOAT_EQ(o.z, 1);
        EXPECT_TRUE(o.additive);
        EXPECT_EQ(o.srcX, 1 + 32 * (drawn / 5));
        EXPECT_NEAR(o.scaleX, 1.5 + 0.05 * (drawn + 1), 1e-5);
        if (rotation < 0) {
            rotation = o.rotation;
            EXPECT_EQ(rotation, std::floor(rotation));
            EXPECT_LE(rotation, 62);
        }
        EXPECT_EQ(o.rotation, rotation);
        EXPECT_EQ(countInUse(kindBubble), (drawn + 1) / 5);
        ++drawn;
    }
    EXPECT_EQ(drawn, 25);
    EXPECT_EQ(objects[e].colour, 0xFF0A0402u);
    for (const ObjectRecord& o : objects) {
        if (!o.inUse) continue;
        EXPECT_EQ(o.kind, kindBubble);
        EXPECT_FLOAT_EQ(o.z, 1);
        EXPECT_LE(std::fabs(o.x - 30), 5);
        EXPECT_LE(std::fabs(o.y + 60), 5);
    }
}

struct OverlapCase {
    const char* name;
    float ax, ay;
    int32_t aw, ah;
    float as;
    float bx, by;
    int32_t bw, bh;
    float bs;
    bool overlaps;
};

// Boxes: a quarter of the width (rounded down) and half the height on each side, scaled.
TEST_F(EffectsTest, OverlapIsStrict) {
    const OverlapCase cases[] = {
        {"submarine and torpedo touch sideways", 0, 0, 62, 30, 1, 23, 0, 32, 16, 1, false},
        {"a hair closer", 0, 0, 62, 30, 1, 22.99f, 0, 32, 16, 1, true},
        {"touch vertically", 0, 0, 62, 30, 1, 0, -23, 32, 16, 1, false},
        {"a hair closer vertically", 0, 0, 62, 30, 1, 0, -22.99f, 32, 16, 1, true},
        {"width 31 rounds down to 7", 0, 0, 31, 30, 1, 15, 0, 32, 16, 1, false},
        {"width 33 rounds down to 8", 0, 0, 33, 30, 1, 16, 0, 32, 16, 1, false},
        {"scale 2 piranha reaches 14", 0, 0, 30, 30, 2, 22, 0, 32, 16, 1, false},
        {"scale 2 piranha just inside", 0, 0, 30, 30, 2, 21.9f, 0, 32, 16, 1, true},
        {"height 31 rounds down to 15", 0, 0, 62, 31, 1, 0, 23, 32, 16, 1, false},
    };
    for (const OverlapCase& c : cases) {
        SCOPED_TRACE(c.name);
        clearObjectTable();
        const int a = spawn(c.ax, c.ay, 0, kindTorpedo, teamTorpedo, false, 0);
        const int b = spawn(c.bx, c.by, 50, kindPiranha, teamPiranha, false, 0);  // depth ignored
        setDrawBlock(a, c.ax, c.ay, 0, c.as, c.as, 0, 0, 0, 0, c.aw, c.ah, true, false);
        setDrawBlock(b, c.bx, c.by, 50, c.bs, c.bs, 0, 0, 0, 0, c.bw, c.bh, true, false);
        EXPECT_EQ(findOverlap(a, teamPiranha), c.overlaps ? b : -1);
        EXPECT_EQ(findOverlap(b, teamTorpedo), c.overlaps ? a : -1);  // symmetric
        EXPECT_EQ(findOverlap(a, teamSubmarine), -1);                 // other team
        killObject(b);
        EXPECT_EQ(findOverlap(a, teamPiranha), -1);  // free entries are passed over
    }
}

TEST_F(EffectsTest, OverlapNeverFindsTheAskingEntry) {
    const int a = placePiranha(0, 0, 1);
    EXPECT_EQ(findOverlap(a, teamPiranha), -1);
    const int b = placePiranha(1, 1, 1);
    EXPECT_EQ(findOverlap(a, teamPiranha), b);
    EXPECT_EQ(findOverlap(b, teamPiranha), a);
}

}  // namespace

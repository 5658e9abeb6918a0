// The object table: spawning into the first free entry, a full table, what killObject and a
// later spawn leave alone, and resetObjects.

#include <gtest/gtest.h>

#include <cstring>

#include "game/objects.h"

namespace {
class ObjectTable : public ::testing::Test {
  protected:
    void SetUp() override { clearObjectTable(); }
    void TearDown() override { clearObjectTable(); }
};
}  // namespace

TEST_F(ObjectTable, SpawnTakesTheFirstFreeEntryAndSetsItsFields) {
    spawnObject(1, 2, 3, kindBubble, teamNone, false, 0);
    spawnObject(4, 5, 6, kindTorpedo, teamTorpedo, true, 0);
    killObject(0);
    spawnObject(7, 8, 9, kindPiranha, teamPiranha, false, 2.0f);
    const ObjectRecord& o = objects[0];
    EXPECT_TRUE(o.inUse);
    EXPECT_EQ(o.kind, kindPiranha);
    EXPECT_EQ(o.team, teamPiranha);
    EXPECT_FLOAT_EQ(o.x, 7);
    EXPECT_FLOAT_EQ(o.y, 8);
    EXPECT_FLOAT_EQ(o.z, 9);
    EXPECT_FLOAT_EQ(o.size, 2.0f);
    EXPECT_EQ(o.target, -1);
    EXPECT_FLOAT_EQ(o.scaleX, 1.0f);
    EXPECT_TRUE(o.visible);
    EXPECT_TRUE(objects[1].facing);
}

TEST_F(ObjectTable, FullTableChangesNothing) {
    for (int i = 0; i < kObjectCount; ++i) spawnObject(float(i), 0, 0, kindBubble, 0, false, 0);
    ObjectRecord before[kObjectCount];
    for (int i = 0; i < kObjectCount; ++i) before[i] = objects[i];
    spawnObject(-1, -1, -1, kindPiranha, teamPiranha, true, 3);
    for (int i = 0; i < kObjectCount; ++i)
        ASSERT_EQ(std::memcmp(&before[i], &objects[i], sizeof(ObjectRecord)), 0) << i;
}

TEST_F(ObjectTable, KillAndRespawnKeepTheOldDrawBlockUntilTheFirstUpdate) {
    spawnObject(0, 0, 0, kindBubble, 0, false, 0);
    setDrawBlock(0, 10, 20, 1, 2, 3, 0.5f, 0x80FF00FF, 11, 12, 13, 14, true, true);
    objects[0].placed = true;
    killObject(0);
    EXPECT_FALSE(objects[0].inUse);
    EXPECT_FLOAT_EQ(objects[0].x, 10);
    EXPECT_EQ(objects[0].colour, 0x80FF00FFu);
    spawnObject(5, 6, 0, kindTorpedo, teamTorpedo, false, 0);
    const ObjectRecord& o = objects[0];
    EXPECT_EQ(o.colour, 0x80FF00FFu);
    EXPECT_EQ(o.srcX, 11);
    EXPECT_EQ(o.srcY, 12);
    EXPECT_EQ(o.srcWidth, 13);
    EXPECT_EQ(o.srcHeight, 14);
    EXPECT_TRUE(o.additive);
    EXPECT_TRUE(o.placed);
    EXPECT_FLOAT_EQ(o.rotation, 0);
    EXPECT_FLOAT_EQ(o.scaleX, 1);
}

TEST_F(ObjectTable, ResetStartsAGameButKeepsTheCameraAndRefillPhase) {
    scrollX = -200;
    refillTick = 3;
    energy = 5;
    sunk = true;
    sinkFrames = 40;
    killCount = 9;
    for (int i = 0; i < 10; ++i) spawnObject(0, 0, 0, kindBubble, 0, false, 0);
    resetObjects();
    spawnObject(0, -120, 0, kindSubmarine, teamSubmarine, false, 0);
    EXPECT_EQ(energy, 765);
    EXPECT_FALSE(sunk);
    EXPECT_EQ(sinkFrames, 0);
    EXPECT_EQ(killCount, 0);
    EXPECT_EQ(scrollX, -200);
    EXPECT_EQ(refillTick, 3);
    EXPECT_EQ(objects[0].kind, kindSubmarine);
    for (int i = 1; i < kObjectCount; ++i) ASSERT_FALSE(objects[i].inUse) << i;
}

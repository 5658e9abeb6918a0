#pragma once
// A fresh object table, input and generator for each test, with the sounds requested recorded.

#include <gtest/gtest.h>

#include <vector>

#include "game/objects.h"
#include "game/scene.h"
#include "input/input.h"
#include "platform/random.h"
#include "sound/sound.h"

class GameTest : public ::testing::Test {
  public:
    void SetUp() override {
        clearObjectTable();
        resetInputState();
        resetSceneState();
        plat::srand(1);
        heldInput.direction = 5;
        pressedInput.direction = 5;
        sounds().clear();
        setSoundObserver(&recordSound);
    }
    void TearDown() override { setSoundObserver(nullptr); }

    static std::vector<int>& sounds() {
        static std::vector<int> played;
        return played;
    }
    static void recordSound(int slot) { sounds().push_back(slot); }

    // Spawns into the first free entry and returns its index (-1 when the table is full).
    static int spawn(float x, float y, float z, int32_t kind, int32_t team, bool facing,
                     float size) {
        int index = -1;
        for (int i = 0; i < kObjectCount; ++i)
            if (!objects[i].inUse) {
                index = i;
                break;
            }
        spawnObject(x, y, z, kind, team, facing, size);
        return index;
    }

    // A new game: full energy and the submarine in entry 0 at (0, -120), facing right.
    static void startGame() {
        resetObjects();
        spawnObject(0, -120, 0, kindSubmarine, teamSubmarine, false, 0);
    }

    // A piranha that has had its first update: scale = size, a 30 x 30 sprite.
    static int placePiranha(float x, float y, float size, int32_t state = 0) {
        const int i = spawn(x, y, 0, kindPiranha, teamPiranha, false, size);
        ObjectRecord& o = objects[i];
        o.scaleX = o.scaleY = size;
        o.started = 1;
        o.srcWidth = 30;
        o.srcHeight = 30;
        o.state = state;
        return i;
    }

    static int countInUse(int32_t kind) {
        int n = 0;
        for (const ObjectRecord& o : objects)
            if (o.inUse && o.kind == kind) ++n;
        return n;
    }

    // True when entry `index` is among the objects drawn this frame.
    static bool inDrawOrder(int index) {
        for (int n = 0; n < visibleCount; ++n)
            if (drawOrder[n] == index) return true;
        return false;
    }
};

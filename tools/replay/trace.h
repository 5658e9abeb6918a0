#pragma once
// The frame trace: one JSON object per frame with the scene, the shared game state, the input
// records, the sounds asked for and every object in use.

#include <cstdint>
#include <cstdio>

namespace replay {

struct FrameSounds {
    static constexpr int kCapacity = 64;
    int slots[kCapacity];
    int count = 0;
    void add(int slot) {
        if (count < kCapacity) slots[count++] = slot;
    }
};

// Writes the line for `frame` from the game's current state.
void writeTraceLine(FILE* out, uint64_t frame, const FrameSounds& sounds);

}  // namespace replay

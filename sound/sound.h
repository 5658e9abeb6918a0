#pragma once
// Sound effects: sixteen slots, each one voice holding one whole sound; playing a slot restarts it.

constexpr int kSoundSlots = 16;

bool initSound();
bool loadSoundSlot(const char* path, int slot);
// Restarts the slot's sound from its beginning; an empty slot does nothing.
void playSound(int slot);
void releaseSound();

// Tooling: called with the slot number on every playSound request, loaded or not (the replay
// tool's trace lists the sounds a frame asked for). Null by default.
using SoundObserver = void (*)(int slot);
void setSoundObserver(SoundObserver observer);

// Placeholder sound layer: keeps the calls of start-up, play and shutdown in place and reports
// play requests to the observer, until the mixer and the WAV reader replace it. Silent.

#include "platform/host.h"
#include "sound/sound.h"

namespace {
SoundObserver observer = nullptr;
}

bool initSound() {
    plat::host().note("initSound");
    return false;
}

bool loadSoundSlot(const char* path, int slot) {
    (void)path;
    (void)slot;
    return false;
}

void playSound(int slot) {
    if (observer) observer(slot);
}

void releaseSound() { plat::host().note("releaseSound"); }

void setSoundObserver(SoundObserver o) { observer = o; }

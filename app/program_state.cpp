#include "app/program_state.h"

#include "app/shell.h"
#include "game/objects.h"
#include "game/scene.h"
#include "game/scenery.h"
#include "input/input.h"
#include "platform/audio/sound_device.h"
#include "platform/keyboard.h"
#include "platform/random.h"
#include "platform/window.h"
#include "render/draw.h"

void resetProgramState() {
    resetShellState();
    plat::resetWindowing();
    plat::keyboardFaults() = plat::KeyboardFaults{};
    plat::soundFaults() = plat::SoundFaults{};
    plat::srand(1);
    resetInputState();
    resetSceneState();
    clearObjectTable();
    waveTick = 0;
    fadeCounter = 0;
}

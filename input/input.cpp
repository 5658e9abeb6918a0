#include "input/input.h"

#include "app/shell.h"
#include "platform/keyboard.h"

InputState heldInput;
InputState pressedInput;

namespace {

InputState previousHeld;  // heldInput of the frame before
plat::InputSystem* inputSystem = nullptr;
plat::KeyboardDevice* keyboard = nullptr;

constexpr InputState kCleared{5, 0, 0, 0, 0};

bool down(const uint8_t* keys, uint8_t scanCode) {
    return (keys[scanCode] & 0x80) != 0;
}

int8_t resolveDirection(const uint8_t* keys) {
    const bool up = down(keys, plat::scan::Up);
    const bool dn = down(keys, plat::scan::Down);
    int8_t direction = 5;
    if (up) direction = 8;
    if (dn) direction = 2;
    if (down(keys, plat::scan::Left)) {
        direction = 4;
        if (up) direction = 7;
        if (dn) direction = 1;
    }
    if (down(keys, plat::scan::Right)) {
        direction = 6;
        if (up) direction = 9;
        if (dn) direction = 3;
    }
    return direction;
}

uint8_t edge(uint8_t now, uint8_t before) {
    return (now && !before) ? 1 : 0;
}

}  // namespace

bool initInput() {
    if (plat::failed(plat::createInputSystem(&inputSystem))) return false;
    if (plat::failed(inputSystem->createKeyboard(&keyboard))) return false;
    if (plat::failed(keyboard->setDataFormat(plat::KeyboardFormat::Bytes256))) return false;
    if (plat::failed(keyboard->setCooperativeLevel(
            mainWindow, plat::coop::NonExclusive | plat::coop::Background)))
        return false;
    keyboard->acquire();
    return true;
}

void resolveInput(const uint8_t* keys) {
    previousHeld = heldInput;
    pressedInput = kCleared;
    heldInput = kCleared;
    if (keys) {
        heldInput.direction = resolveDirection(keys);
        heldInput.buttonA = (down(keys, plat::scan::Return) || down(keys, plat::scan::Z) ||
                             down(keys, plat::scan::Space))
                                ? 1
                                : 0;
        heldInput.buttonB = down(keys, plat::scan::X) ? 1 : 0;
        heldInput.buttonC = down(keys, plat::scan::C) ? 1 : 0;
        heldInput.buttonD = down(keys, plat::scan::V) ? 1 : 0;
    }
    if (previousHeld.direction == 5 && heldInput.direction != 5)
        pressedInput.direction = heldInput.direction;
    pressedInput.buttonA = edge(heldInput.buttonA, previousHeld.buttonA);
    pressedInput.buttonB = edge(heldInput.buttonB, previousHeld.buttonB);
    pressedInput.buttonC = edge(heldInput.buttonC, previousHeld.buttonC);
    pressedInput.buttonD = edge(heldInput.buttonD, previousHeld.buttonD);
}

void pollInput() {
    uint8_t keys[plat::kKeyboardStateSize];
    bool readable = keyboard && plat::succeeded(keyboard->acquire());
    if (readable) readable = plat::succeeded(keyboard->getState(sizeof keys, keys));
    resolveInput(readable ? keys : nullptr);
}

void releaseInput() {
    if (keyboard) keyboard->unacquire();
    plat::releaseRef(keyboard);
    plat::releaseRef(inputSystem);
}

void resetInputState() {
    heldInput = InputState{};
    pressedInput = InputState{};
    previousHeld = InputState{};
}

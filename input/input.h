#pragma once
// Keyboard input: once per frame the keyboard snapshot becomes `heldInput` (what is held now)
// and `pressedInput` (what went down this frame).

#include <cstdint>

struct InputState {
    int8_t direction;  // numeric-keypad layout: 8 up, 2 down, 4 left, 6 right, 7 9 1 3, 5 none
    uint8_t buttonA;   // Return, Z or Space
    uint8_t buttonB;   // X
    uint8_t buttonC;   // C
    uint8_t buttonD;   // V
};

extern InputState heldInput;
extern InputState pressedInput;

// Creates and acquires the keyboard device; false when the game cannot read the keyboard.
bool initInput();
// Reads the keyboard and updates both records. A frame whose keyboard cannot be read has no keys.
void pollInput();
void releaseInput();

// The pure part of pollInput: `keys` is a 256-byte snapshot by scan code, or null when no
// snapshot could be taken. Updates heldInput, pressedInput and the previous-frame record.
void resolveInput(const uint8_t* keys);
// Back to the program-start state: all three records zero.
void resetInputState();

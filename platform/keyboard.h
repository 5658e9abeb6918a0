#pragma once
// The keyboard device: a 256-byte snapshot of the keyboard indexed by scan code, bit 7 set for
// a key that is down. An input system makes the device; the device is given its data format and
// cooperative level, acquired, and read once per frame.

#include <cstdint>

#include "platform/result.h"
#include "platform/window.h"

namespace plat {

// Scan codes the game binds.
namespace scan {
constexpr uint8_t Return = 0x1C;
constexpr uint8_t Z = 0x2C;
constexpr uint8_t X = 0x2D;
constexpr uint8_t C = 0x2E;
constexpr uint8_t V = 0x2F;
constexpr uint8_t Space = 0x39;
constexpr uint8_t Escape = 0x01;
constexpr uint8_t F1 = 0x3B;
constexpr uint8_t F2 = 0x3C;
constexpr uint8_t Up = 0xC8;
constexpr uint8_t Left = 0xCB;
constexpr uint8_t Right = 0xCD;
constexpr uint8_t Down = 0xD0;
}  // namespace scan

constexpr uint32_t kKeyboardStateSize = 256;

// The one data format a keyboard device knows: one byte per scan code.
enum class KeyboardFormat : uint8_t { None, Bytes256 };

// Cooperative-level flags.
namespace coop {
constexpr uint32_t Exclusive = 0x01;
constexpr uint32_t NonExclusive = 0x02;
constexpr uint32_t Foreground = 0x04;
constexpr uint32_t Background = 0x08;
}  // namespace coop

class KeyboardDevice : public RefCounted {
  public:
    Result setDataFormat(KeyboardFormat format);
    Result setCooperativeLevel(WindowHandle window, uint32_t flags);
    // kOk when newly acquired, kFalse when already acquired.
    Result acquire();
    Result unacquire();
    // Fills `size` bytes; `size` must be 256 and the device acquired with a data format.
    Result getState(uint32_t size, uint8_t* state);

  private:
    friend class InputSystem;
    KeyboardDevice() = default;
    KeyboardFormat format_ = KeyboardFormat::None;
    bool acquired_ = false;
};

class InputSystem : public RefCounted {
  public:
    Result createKeyboard(KeyboardDevice** out);

  private:
    friend Result createInputSystem(InputSystem** out);
    InputSystem() = default;
};

Result createInputSystem(InputSystem** out);

// Failures to inject, for tests of the callers' error handling. All false by default.
struct KeyboardFaults {
    bool createSystem = false;
    bool createDevice = false;
    bool dataFormat = false;
    bool cooperativeLevel = false;
    bool acquire = false;
    bool read = false;
};
KeyboardFaults& keyboardFaults();

}  // namespace plat

#include "platform/keyboard.h"

#include <cstring>
#include <new>

#include "platform/host.h"

namespace plat {

KeyboardFaults& keyboardFaults() {
    static KeyboardFaults faults;
    return faults;
}

Result createInputSystem(InputSystem** out) {
    host().note("createInputSystem");
    if (!out) return kInvalidArg;
    *out = nullptr;
    if (keyboardFaults().createSystem) return kFail;
    *out = new (std::nothrow) InputSystem();
    return *out ? kOk : kOutOfMemory;
}

Result InputSystem::createKeyboard(KeyboardDevice** out) {
    host().note("createKeyboard");
    if (!out) return kInvalidArg;
    *out = nullptr;
    if (keyboardFaults().createDevice || !host().keyboardAvailable()) return kFail;
    *out = new (std::nothrow) KeyboardDevice();
    return *out ? kOk : kOutOfMemory;
}

Result KeyboardDevice::setDataFormat(KeyboardFormat format) {
    if (keyboardFaults().dataFormat || format != KeyboardFormat::Bytes256) return kInvalidArg;
    if (acquired_) return kFail;  // the format is fixed while acquired
    format_ = format;
    return kOk;
}

Result KeyboardDevice::setCooperativeLevel(WindowHandle window, uint32_t flags) {
    if (keyboardFaults().cooperativeLevel || !window) return kInvalidArg;
    const bool oneSharing = ((flags & coop::Exclusive) != 0) != ((flags & coop::NonExclusive) != 0);
    const bool oneScope = ((flags & coop::Foreground) != 0) != ((flags & coop::Background) != 0);
    return (oneSharing && oneScope) ? kOk : kInvalidArg;
}

Result KeyboardDevice::acquire() {
    if (keyboardFaults().acquire || format_ == KeyboardFormat::None) {
        acquired_ = false;
        return kNotAcquired;
    }
    if (acquired_) return kFalse;
    acquired_ = true;
    return kOk;
}

Result KeyboardDevice::unacquire() {
    host().note("unacquireKeyboard");
    if (!acquired_) return kFalse;
    acquired_ = false;
    return kOk;
}

Result KeyboardDevice::getState(uint32_t size, uint8_t* state) {
    if (!state || size != kKeyboardStateSize) return kInvalidArg;
    if (!acquired_) return kNotAcquired;
    if (keyboardFaults().read || !host().readKeyboard(state)) {
        std::memset(state, 0, size);
        return kFail;
    }
    return kOk;
}

}  // namespace plat

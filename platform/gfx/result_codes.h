#pragma once
// Result codes of the graphics device, beside the general ones of platform/result.h.

#include "platform/result.h"

namespace plat::gfx {

// A call with bad arguments, or one the object's state does not allow.
constexpr Result kInvalidCall = static_cast<Result>(0x8876086Cu);
// The format, size or feature is not supported by the device.
constexpr Result kNotAvailable = static_cast<Result>(0x8876086Au);
// The device is lost and cannot be reset yet (full screen, application in the background).
constexpr Result kDeviceLost = static_cast<Result>(0x88760868u);
// The device was lost and can now be reset.
constexpr Result kDeviceNotReset = static_cast<Result>(0x88760869u);
// Memory could not be had.
constexpr Result kOutOfMemory = plat::kOutOfMemory;

}  // namespace plat::gfx

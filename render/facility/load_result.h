#pragma once
// Result codes of the texture loading facility: 32-bit, negative for failure, like every
// platform result (platform/result.h).

#include "platform/result.h"

namespace texload {

using plat::Result;

constexpr Result kOk = plat::kOk;
// A missing argument (device, path, output) or an empty file.
constexpr Result kInvalidCall = static_cast<Result>(0x8876086Cu);
// The file cannot be read, or no reader accepts its content.
constexpr Result kInvalidData = static_cast<Result>(0x88760B59u);
// The device supports no texture format the image could be stored in.
constexpr Result kNotAvailable = static_cast<Result>(0x8876086Au);
constexpr Result kOutOfMemory = plat::kOutOfMemory;

}  // namespace texload

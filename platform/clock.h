#pragma once
// Calendar time and sleeping, from the host.

#include <cstdint>

namespace plat {

// Seconds since the epoch, as the host reports it (the replay tool can fix it).
int64_t currentTime();
void sleepMs(int milliseconds);

}  // namespace plat

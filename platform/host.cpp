#include "platform/host.h"

#include "platform/clock.h"

namespace plat {
namespace {
Host* current = nullptr;
}

void setHost(Host* host) {
    current = host;
}

Host& host() {
    return *current;
}

int64_t currentTime() {
    return current->calendarTime();
}

void sleepMs(int milliseconds) {
    current->sleepMs(milliseconds);
}

}  // namespace plat

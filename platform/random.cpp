#include "platform/random.h"

namespace plat {
namespace {
uint32_t next = 1;  // the standard's initial state: as if seeded with 1
}

void srand(uint32_t seed) {
    next = seed;
}

int rand() {
    next = next * 1103515245u + 12345u;
    return static_cast<int>((next / 65536u) % 32768u);
}

}  // namespace plat

#pragma once
// Counts the program's heap allocations (operator new), so that a test can see that a warmed-up
// text draw allocates nothing.

#include <cstddef>

namespace textfix {
size_t allocationCount();
}

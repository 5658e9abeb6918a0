#include "text/allocation_count.h"

#include "support/counting_new.h"

namespace textfix {
size_t allocationCount() {
    return counting_new::allocations();
}
}  // namespace textfix

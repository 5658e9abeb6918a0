#pragma once
// Counts every heap allocation of a test program, so that a test can show that a warmed-up path
// (a frame, a draw, a text) allocates nothing. It replaces the global operator new and delete:
// include it in exactly one source file of a test program.

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace counting_new {
inline std::atomic<uint64_t> count{0};
inline uint64_t allocations() {
    return count.load();
}
}  // namespace counting_new

void* operator new(std::size_t size) {
    ++counting_new::count;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++counting_new::count;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

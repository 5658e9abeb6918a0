#pragma once
// Result codes of the platform services: 32-bit, negative for failure.

#include <cstdint>

namespace plat {

using Result = int32_t;

constexpr Result kOk = 0;
constexpr Result kFalse = 1;  // success, nothing to do (e.g. already acquired)
constexpr Result kFail = static_cast<Result>(0x80004005u);
constexpr Result kInvalidArg = static_cast<Result>(0x80070057u);
constexpr Result kOutOfMemory = static_cast<Result>(0x8007000Eu);
constexpr Result kNotAcquired = static_cast<Result>(0x8007000Cu);

inline bool succeeded(Result r) {
    return r >= 0;
}
inline bool failed(Result r) {
    return r < 0;
}

// Base for the reference-counted service objects: each reference is owned by one holder, and
// the object goes away with its last reference.
class RefCounted {
  public:
    uint32_t addRef() { return ++refs_; }
    uint32_t release() {
        const uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~RefCounted() = default;

  private:
    uint32_t refs_ = 1;
};

// Releases a held reference and empties it; an empty reference is left alone.
template <typename T>
void releaseRef(T*& ref) {
    if (ref) {
        ref->release();
        ref = nullptr;
    }
}

}  // namespace plat

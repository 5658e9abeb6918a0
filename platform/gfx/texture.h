#pragma once
// Textures: a chain of levels of one pixel format, in one of the memory pools.
//
// Pools:
//  - Default: the device's own memory. Not lockable (unless made with usage::Dynamic); filled
//    by `Device::updateTexture` from a system-memory texture. Must be released before
//    `Device::reset`, which refuses while any default-pool object is alive.
//  - Managed: lockable, survives resets.
//  - SystemMemory: lockable staging memory, the source of `Device::updateTexture`; the device
//    does not sample it.
// Level 0 is the full size; every further level halves each side (down to 1).

#include <cstdint>
#include <vector>

#include "platform/gfx/format.h"
#include "platform/result.h"

namespace plat::gfx {

class Device;

enum class Pool : uint8_t { Default, Managed, SystemMemory };

// Usage flags of `Device::createTexture`.
namespace usage {
constexpr uint32_t Dynamic = 1u << 0;  // lockable in the default pool, rewritten often
}  // namespace usage

// Flags of `Texture::lockRect`.
namespace lock {
constexpr uint32_t ReadOnly = 1u << 0;
constexpr uint32_t Discard = 1u << 1;    // the old contents are not needed
constexpr uint32_t NoSysLock = 1u << 2;  // accepted; changes nothing here
}  // namespace lock

// A rectangle in pixels or texels: left and top inclusive, right and bottom exclusive.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What `Texture::getLevelDesc` reports about one level.
struct LevelDesc {
    Format format = Format::Unknown;
    uint32_t usage = 0;
    Pool pool = Pool::Default;
    uint32_t width = 0;
    uint32_t height = 0;
};

// A locked region: `bits` points at its top-left pixel, rows are `pitch` bytes apart.
struct LockedRect {
    int32_t pitch = 0;
    void* bits = nullptr;
};

class Texture : public RefCounted {
  public:
    uint32_t levelCount() const { return levelCount_; }
    Format format() const { return format_; }
    Pool pool() const { return pool_; }
    uint32_t usageFlags() const { return usage_; }
    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }

    // kInvalidCall for a level that does not exist.
    Result getLevelDesc(uint32_t level, LevelDesc& out) const;
    // Locks a level (the whole level when `rect` is null) for reading and writing. Refused
    // (kInvalidCall) for a missing level, a rectangle outside it, a level already locked, or a
    // default-pool texture made without usage::Dynamic.
    Result lockRect(uint32_t level, LockedRect& out, const Rect* rect, uint32_t flags);
    // kInvalidCall when the level is not locked.
    Result unlockRect(uint32_t level);
    // Adds a reference to the device that made the texture.
    Result getDevice(Device** out);

    // --- For the device ---
    // Level 0 as 0xAARRGGBB texels, `width()` per row: what the sampler reads.
    const uint32_t* samplePixels() const;
    bool anyLocked() const { return lockedMask_ != 0; }
    uint32_t levelWidth(uint32_t level) const;
    uint32_t levelHeight(uint32_t level) const;
    uint8_t* levelBits(uint32_t level) { return storage_.data() + offsets_[level]; }
    uint32_t levelPitch(uint32_t level) const;
    // Copies every level of `source` (same format, level-0 size, at least as many levels).
    void copyLevelsFrom(const Texture& source);

    static constexpr uint32_t kMaxLevels = 16;

  private:
    friend class Device;
    Texture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
            Format format, Pool pool);
    ~Texture() override;
    // Allocates the levels; false when memory cannot be had.
    bool allocate();
    // Rebuilds the 0xAARRGGBB copy of level 0 after its pixels changed (formats other than
    // A8R8G8B8 only).
    void refreshSampleCopy();

    Device* device_;  // a reference is held
    uint32_t width_, height_, levelCount_, usage_;
    Format format_;
    Pool pool_;
    uint32_t lockedMask_ = 0;
    uint32_t offsets_[kMaxLevels] = {};
    std::vector<uint8_t> storage_;
    std::vector<uint32_t> sampleCopy_;
};

}  // namespace plat::gfx

#pragma once
// The graphics system: the one display adapter, what it can do, and device creation.
//
// The adapter is described by a process-wide profile (`adapterProfile()`): its display format,
// its capabilities and the texture formats it supports. The defaults describe this software
// device; tests change the profile to see how callers cope with a more limited adapter.

#include <cstdint>

#include "platform/gfx/format.h"
#include "platform/result.h"

namespace plat {
struct Window;
}

namespace plat::gfx {

class Device;

// Hardware: presents through an accelerated presenter of the host; Software: through the
// host's software presenter. Both rasterise in software here.
enum class DeviceType : uint8_t { Hardware, Software };

enum class ResourceType : uint8_t { Texture, Surface };

// Capability bits.
namespace textureCaps {
constexpr uint32_t Pow2 = 1u << 0;                // texture sides must be powers of two...
constexpr uint32_t NonPow2Conditional = 1u << 1;  // ...except under conditions (not modelled)
constexpr uint32_t SquareOnly = 1u << 2;          // width must equal height
constexpr uint32_t MipMap = 1u << 3;              // textures may have several levels
constexpr uint32_t Alpha = 1u << 4;               // texture alpha is honoured
}  // namespace textureCaps
namespace caps2 {
constexpr uint32_t DynamicTextures = 1u << 0;  // usage::Dynamic in the default pool is allowed
}
namespace primitiveMiscCaps {
constexpr uint32_t CullNone = 1u << 0;
constexpr uint32_t CullClockwise = 1u << 1;
constexpr uint32_t CullCounterClockwise = 1u << 2;
constexpr uint32_t ClipTransformedVertices = 1u << 3;  // screen-space vertices are clipped
}  // namespace primitiveMiscCaps
// Blend factors the device offers, one bit per blend:: value (bit n = value n).
namespace blendCaps {
constexpr uint32_t bit(uint32_t blendValue) {
    return 1u << blendValue;
}
}  // namespace blendCaps

struct DeviceCaps {
    DeviceType deviceType = DeviceType::Hardware;
    uint32_t caps2 = 0;
    uint32_t primitiveMiscCaps = 0;
    uint32_t textureCaps = 0;
    uint32_t srcBlendCaps = 0;
    uint32_t destBlendCaps = 0;
    uint32_t maxTextureWidth = 0;
    uint32_t maxTextureHeight = 0;
    uint32_t maxTextureAspectRatio = 0;  // 0: no limit
    uint32_t maxTextureBlendStages = 0;
    uint32_t maxSimultaneousTextures = 0;
};

struct DisplayMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;
    Format format = Format::Unknown;
};

// Behaviour flags of `createDevice`.
namespace behaviour {
constexpr uint32_t SoftwareVertexProcessing = 1u << 0;
constexpr uint32_t HardwareVertexProcessing = 1u << 1;
constexpr uint32_t MixedVertexProcessing = 1u << 2;
constexpr uint32_t PureDevice = 1u << 3;
}  // namespace behaviour

enum class SwapEffect : uint8_t { Discard, Flip, Copy };

// How the device presents: back-buffer size and format, windowed or full screen.
struct PresentParams {
    uint32_t backBufferWidth = 0;
    uint32_t backBufferHeight = 0;
    Format backBufferFormat = Format::Unknown;  // X8R8G8B8 or R5G6B5; Unknown (windowed) =
                                                // the display format
    uint32_t backBufferCount = 0;
    uint32_t multiSampleType = 0;  // must be 0
    uint32_t multiSampleQuality = 0;
    SwapEffect swapEffect = SwapEffect::Discard;
    Window* deviceWindow = nullptr;  // null: the focus window
    bool windowed = false;
    bool enableAutoDepthStencil = false;
    Format autoDepthStencilFormat = Format::Unknown;
    uint32_t flags = 0;
    uint32_t fullScreenRefreshRate = 0;  // 0: the adapter's default
    uint32_t presentationInterval = 0;   // 0: wait for the retrace
};

struct CreationParameters {
    DeviceType deviceType = DeviceType::Hardware;
    Window* focusWindow = nullptr;
    uint32_t behaviourFlags = 0;
};

// What the adapter reports. Changing it affects systems and devices created afterwards, and
// the format checks of those already made.
struct AdapterProfile {
    bool available = true;             // false: `createGraphicsSystem` fails
    bool displayModeAvailable = true;  // false: `getAdapterDisplayMode` fails
    DisplayMode displayMode{1920, 1080, 60, Format::X8R8G8B8};
    DeviceCaps caps;              // deviceType is filled per query
    uint64_t textureFormats = 0;  // bit (1 << Format) for each supported texture format
};
// The profile in force, initially `defaultAdapterProfile()`.
AdapterProfile& adapterProfile();
AdapterProfile defaultAdapterProfile();
inline uint64_t formatBit(Format format) {
    return uint64_t{1} << static_cast<unsigned>(format);
}

class GraphicsSystem : public RefCounted {
  public:
    // The adapter's current display mode; kNotAvailable when the profile says it cannot be read.
    Result getAdapterDisplayMode(DisplayMode& out);
    // kOk when the device can make a resource of `format` with `usage` while the display runs
    // in `adapterFormat`; kNotAvailable otherwise, kInvalidCall for a bad adapter format.
    Result checkDeviceFormat(DeviceType type, Format adapterFormat, uint32_t usage,
                             ResourceType resource, Format format);
    Result getDeviceCaps(DeviceType type, DeviceCaps& out);
    // Creates the device: opens the host's presenter (accelerated for Hardware), switches the
    // host to full screen when `params.windowed` is false. kNotAvailable when the presenter
    // cannot be opened, kInvalidCall for bad parameters. Fills in `params` (e.g. an Unknown
    // windowed back-buffer format).
    Result createDevice(DeviceType type, Window* focusWindow, uint32_t behaviourFlags,
                        PresentParams& params, Device** out);

  private:
    friend GraphicsSystem* createGraphicsSystem();
    GraphicsSystem() = default;
    ~GraphicsSystem() override = default;
};

// The graphics system, or null when there is no adapter. The caller owns one reference.
GraphicsSystem* createGraphicsSystem();

}  // namespace plat::gfx

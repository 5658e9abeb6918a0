// The graphics objects: creation with the hardware-then-software fallback, the sprite sheet, the
// rebuild around a device reset, the device's fault test and the release at shutdown.

#include "render/graphics.h"

#include "app/shell.h"
#include "platform/gfx/graphics_system.h"
#include "platform/host.h"
#include "platform/window.h"
#include "render/facility/sprite_batch.h"
#include "render/facility/texture_loader.h"
#include "render/graphics_objects.h"
#include "render/messages.h"

using plat::gfx::Format;
using plat::gfx::PresentParams;

plat::gfx::Device* graphicsDevice = nullptr;
SpriteBatch* singleDrawBatch = nullptr;
SpriteBatch* frameBatch = nullptr;
plat::gfx::Texture* textureSlots[kTextureSlotCount] = {};

namespace {

// Needed only to create the device; the first reset releases it.
plat::gfx::GraphicsSystem* graphicsSystem = nullptr;
// The display's format when the graphics were created: the back-buffer format of the windowed
// modes at creation and at every later reset.
Format displayFormat = Format::Unknown;
PresentParams presentParams;

constexpr char kSpriteSheetPath[] = "res/image.bmp";
constexpr int kBackBufferWidth = 320;
constexpr int kBackBufferHeight = 240;

// Full screen (mode 0) is 320 x 240 at 16 bits; the windowed modes take the display's format.
void buildPresentParams() {
    presentParams = PresentParams{};
    const bool windowed = displayMode != 0;
    presentParams.backBufferWidth = kBackBufferWidth;
    presentParams.backBufferHeight = kBackBufferHeight;
    presentParams.backBufferFormat = windowed ? displayFormat : Format::R5G6B5;
    presentParams.backBufferCount = 1;
    presentParams.multiSampleType = 0;
    presentParams.multiSampleQuality = 0;
    presentParams.swapEffect = plat::gfx::SwapEffect::Discard;
    presentParams.deviceWindow = nullptr;  // the focus window serves
    presentParams.windowed = windowed;
    presentParams.enableAutoDepthStencil = true;
    presentParams.autoDepthStencilFormat = Format::D16;
    presentParams.flags = 0;
    presentParams.fullScreenRefreshRate = 0;  // the adapter's default
    presentParams.presentationInterval = 0;   // every present waits for the retrace
}

plat::Result createDevice(plat::gfx::DeviceType type) {
    plat::host().note("createDevice");
    // The device may fill in parameters; each attempt starts from the same request.
    buildPresentParams();
    return graphicsSystem->createDevice(type, mainWindow,
                                        plat::gfx::behaviour::MixedVertexProcessing, presentParams,
                                        &graphicsDevice);
}

void releaseBatches() {
    plat::releaseRef(singleDrawBatch);
    plat::releaseRef(frameBatch);
}

}  // namespace

bool createGraphics() {
    graphicsSystem = plat::gfx::createGraphicsSystem();
    if (!graphicsSystem) return false;
    plat::gfx::DisplayMode mode;
    if (plat::failed(graphicsSystem->getAdapterDisplayMode(mode))) return false;
    displayFormat = mode.format;

    if (plat::failed(createDevice(plat::gfx::DeviceType::Hardware))) {
        plat::messageBox(kHardwareDeviceFailedText, nullptr);
        if (plat::failed(createDevice(plat::gfx::DeviceType::Software))) {
            plat::messageBox(kDeviceFailedText, nullptr);
            return false;
        }
    }
    if (plat::failed(createSpriteBatch(graphicsDevice, &singleDrawBatch)) ||
        plat::failed(createSpriteBatch(graphicsDevice, &frameBatch))) {
        plat::messageBox(kSpriteBatchFailedText, "");
        return false;
    }
    return true;
}

void loadTexture(const char* path, int slot) {
    if (slot < 0 || slot >= kTextureSlotCount) return;  // there is no such slot
    plat::releaseRef(textureSlots[slot]);
    const plat::Result r = texload::createTextureFromFile(
        graphicsDevice, path, texload::kTextureDefault, texload::kTextureDefault, 0, 0,
        Format::Unknown, plat::gfx::Pool::Default, texload::kFilterNone, texload::kTextureDefault,
        0xFF000000u, nullptr, nullptr, &textureSlots[slot]);
    if (plat::failed(r)) plat::messageBox(path ? path : "", "");
}

void loadSpriteSheet() {
    plat::host().note("loadSpriteSheet");
    loadTexture(kSpriteSheetPath, 0);
}

void resetGraphics() {
    plat::host().note("resetGraphics");
    buildPresentParams();
    plat::releaseRef(textureSlots[0]);
    releaseFonts();
    releaseBatches();
    plat::releaseRef(graphicsSystem);
    // Every object of the device's memory is gone, so the reset can succeed; when it does not,
    // the device keeps reporting a fault and the next activation tries again.
    if (graphicsDevice) graphicsDevice->reset(presentParams);
    createSpriteBatch(graphicsDevice, &singleDrawBatch);
    createSpriteBatch(graphicsDevice, &frameBatch);
    createFonts();
    loadSpriteSheet();
}

bool deviceFault(bool any) {
    if (!graphicsDevice) return false;
    const plat::Result r = graphicsDevice->testCooperativeLevel();
    return any ? r != plat::kOk : r == plat::gfx::kDeviceLost;
}

void releaseGraphics() {
    plat::host().note("releaseGraphics");
    releaseFonts();
    plat::releaseRef(textureSlots[0]);
    plat::releaseRef(singleDrawBatch);
    plat::releaseRef(frameBatch);
    plat::releaseRef(graphicsDevice);
    plat::releaseRef(graphicsSystem);
}

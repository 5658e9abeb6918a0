// Placeholder rendering layer: keeps the shell's start-up, frame and shutdown sequence running on
// any host until the software graphics device and its facilities replace it. It opens the
// presenter (hardware first, then software, with the messages the real layer shows), presents a
// black picture every frame and keeps the fade counter; drawing itself does nothing yet.

#include <cstdint>

#include "platform/host.h"
#include "platform/window.h"
#include "render/draw.h"
#include "render/graphics.h"
#include "render/messages.h"

int32_t fadeCounter = 0;

namespace {
bool deviceCreated = false;
uint32_t backBuffer[320 * 240];
}  // namespace

bool createGraphics() {
    plat::host().note("createDevice");
    if (plat::host().openPresenter(true)) {
        deviceCreated = true;
        return true;
    }
    plat::messageBox(kHardwareDeviceFailedText, nullptr);
    if (plat::host().openPresenter(false)) {
        deviceCreated = true;
        return true;
    }
    plat::messageBox(kDeviceFailedText, nullptr);
    return false;
}

void loadTexture(const char* path, int slot) {
    (void)path;
    (void)slot;
}
void loadSpriteSheet() { plat::host().note("loadSpriteSheet"); }
void createFonts() { plat::host().note("createFonts"); }
void releaseFonts() {}
void resetGraphics() { plat::host().note("resetGraphics"); }
bool deviceFault(bool any) {
    (void)any;
    return false;
}
void releaseGraphics() {
    plat::host().note("releaseGraphics");
    if (deviceCreated) plat::host().closePresenter();
    deviceCreated = false;
}

void clearFrame() {
    for (uint32_t& p : backBuffer) p = 0;
}
bool beginFrame() { return deviceCreated; }
void endFrame() {}
void presentFrame() {
    if (!deviceCreated) return;
    plat::FrameView frame{backBuffer, 320, 240, 320 * 4, plat::PixelFormat::X8R8G8B8};
    plat::host().present(frame);
}

void drawSprite(float, float, float, float, float, float, float, int, uint32_t, int, int, int,
                int, bool) {}

void fillRect(int x, int y, int width, int height, uint32_t colour, bool additive) {
    drawSprite(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
               static_cast<float>(height), 0.0f, 0.0f, 0.0f, 0, colour, 1, 129, 1, 1, additive);
}

bool fadeStep(uint32_t colour, int step, bool fadeIn) {
    const uint32_t alpha = static_cast<uint32_t>(fadeIn ? 255 - fadeCounter : fadeCounter);
    fillRect(0, 0, 320, 240, (alpha << 24) | (colour & 0x00FFFFFFu), false);
    fadeCounter += step;
    if (fadeCounter > 255) {
        fadeCounter = 0;
        return true;
    }
    return false;
}

void drawText(int, int, const char*, uint32_t, int) {}

#pragma once
// The render layer's graphics objects on the headless host, without the shell: a host that also
// records message-box captions, and a fixture that releases whatever a test created.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell.h"
#include "platform/cp932.h"
#include "platform/gfx/graphics_system.h"
#include "platform/headless/headless_host.h"
#include "platform/window.h"
#include "render/draw.h"
#include "render/graphics.h"
#include "render/graphics_objects.h"

namespace render_test {

struct Box {
    std::string text, caption;
    bool operator==(const Box&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "[" << b.caption << "] " << b.text;
}

class CaptionHost : public plat::HeadlessHost {
  public:
    void messageBox(const char* textUtf8, const char* captionUtf8) override {
        boxes.push_back({textUtf8 ? textUtf8 : "", captionUtf8 ? captionUtf8 : ""});
        plat::HeadlessHost::messageBox(textUtf8, captionUtf8);
    }
    std::vector<Box> boxes;
};

// A Shift-JIS text as the host receives it.
inline std::string utf8(const char* cp932) {
    char out[512];
    plat::cp932ToUtf8(cp932, out, sizeof out);
    return out;
}

// The caption a message box shows when none is given.
inline const char* kDefaultCaption = "Error";

class GraphicsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::gfx::adapterProfile() = plat::gfx::defaultAdapterProfile();
        resetShellState();
        plat::resetWindowing();
        fadeCounter = 0;
        host.config().printMessageBoxes = false;
        plat::setHost(&host);
        displayMode = 1;
        // An active window: a full-screen device is lost while the application is not active.
        plat::WindowClass c;
        c.procedure = plat::defWindowProc;
        c.className = "render test";
        plat::registerClass(c);
        mainWindow =
            plat::createWindow("render test", "render test", plat::style::Visible, 0, 0, 320, 240);
        ASSERT_TRUE(plat::applicationActive());
    }
    void TearDown() override {
        releaseGraphics();
        plat::resetWindowing();
        plat::gfx::adapterProfile() = plat::gfx::defaultAdapterProfile();
        resetShellState();
        fadeCounter = 0;
        plat::setHost(nullptr);
    }

    // Puts `texture` (whose reference the slot takes over) in place of the sprite sheet.
    static void useSheet(plat::gfx::Texture* texture) {
        plat::releaseRef(textureSlots[0]);
        textureSlots[0] = texture;
    }
    // Clears the back buffer to `rgb` (what clearFrame does, in another colour).
    static void clearTo(uint32_t rgb) {
        graphicsDevice->clear(0, nullptr, plat::gfx::clearFlags::Target, rgb, 1.0f, 0);
    }
    static uint32_t pixel(int x, int y) { return graphicsDevice->backBufferPixel(x, y); }

    CaptionHost host;
};

}  // namespace render_test

// The window procedure and window placement: seeding the generator at creation, quitting on
// Escape or a closed window, activation with device recovery, and the display-mode cycle.

#include "app/shell.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "render/graphics.h"

namespace {

// Waits out a lost device, then rebuilds it. Runs when the application becomes active.
void recoverDevice() {
    if (!deviceFault(true)) return;
    while (deviceFault(false)) plat::sleepMs(50);
    resetGraphics();
}

void nextDisplayMode() {
    displayMode = (displayMode + 1) % 3;
    if (displayMode != 2) resetGraphics();
    placeWindow(displayMode);
}

void previousDisplayMode() {
    displayMode = displayMode - 1;
    if (displayMode < 0) displayMode += 3;
    if (displayMode != 1) resetGraphics();
    placeWindow(displayMode);
}

}  // namespace

intptr_t windowProc(plat::WindowHandle window, uint32_t message, uintptr_t wParam,
                    intptr_t lParam) {
    switch (message) {
        case plat::msg::Create:
            plat::srand(static_cast<uint32_t>(plat::currentTime()));
            break;
        case plat::msg::Destroy:
            plat::postQuitMessage(0);
            break;
        case plat::msg::ActivateApp:
            appActive = (wParam & 0xFFFF) != 0;
            if (appActive) recoverDevice();
            break;
        case plat::msg::KeyDown:
            switch (wParam & 0xFF) {
                case plat::vk::Escape:
                    plat::postQuitMessage(0);
                    break;
                case plat::vk::F1:
                    nextDisplayMode();
                    break;
                case plat::vk::F2:
                    previousDisplayMode();
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return plat::defWindowProc(window, message, wParam, lParam);
}

void placeWindow(int32_t mode) {
    if (mode == 0) {
        plat::setWindowPos(mainWindow, 0, 0, 320, 240);
        plat::updateWindow(mainWindow);
        return;
    }
    if (mode != 1 && mode != 2) return;
    const int clientWidth = mode == 1 ? 320 : 640;
    const int clientHeight = mode == 1 ? 240 : 480;
    plat::Rect rect{0, 0, clientWidth, clientHeight};
    plat::adjustWindowRect(rect, plat::style::PopupWindow | plat::style::DlgFrame);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const plat::Rect desktop = plat::desktopRect();
    plat::setWindowPos(mainWindow, (desktop.right - w) / 2, (desktop.bottom - h) / 2, w, h);
    plat::updateWindow(mainWindow);
}

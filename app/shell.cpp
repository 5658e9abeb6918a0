#include "app/shell.h"

#include "game/scene.h"
#include "input/input.h"
#include "render/draw.h"
#include "render/graphics.h"
#include "sound/sound.h"

plat::WindowHandle mainWindow = nullptr;
bool appActive = false;
int32_t displayMode = 2;

namespace {

FrameObserver frameObserver = nullptr;

// The outer size of a window whose client area is 320 x 240.
void startupWindowSize(int& width, int& height) {
    plat::Rect rect{0, 0, 320, 240};
    plat::adjustWindowRect(rect, plat::style::PopupWindow | plat::style::DlgFrame);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
}

void runFrame() {
    pollInput();
    clearFrame();
    if (beginFrame()) {
        sceneTick();
        endFrame();
    }
    presentFrame();
    if (frameObserver) frameObserver();
}

}  // namespace

int winMain() {
    plat::WindowClass windowClass;
    windowClass.style = plat::classStyle::HRedraw | plat::classStyle::VRedraw;
    windowClass.procedure = windowProc;
    windowClass.iconResource = kIconResource;
    windowClass.arrowCursor = true;
    windowClass.blackBackground = true;
    windowClass.className = kWindowTitle;
    plat::registerClass(windowClass);

    const plat::Rect desktop = plat::desktopRect();
    int width = 0, height = 0;
    startupWindowSize(width, height);
    mainWindow =
        plat::createWindow(kWindowTitle, kWindowTitle,
                           plat::style::Visible | plat::style::SysMenu | plat::style::MinimizeBox,
                           desktop.right / 2 - 160, desktop.bottom / 2 - 120, width, height);
    plat::showWindow(mainWindow);
    plat::updateWindow(mainWindow);
    placeWindow(displayMode);

    if (!createGraphics()) return 0;
    loadSpriteSheet();
    if (!initInput()) return 0;
    initSound();
    loadSoundSlot("res/piko.wav", 0);
    loadSoundSlot("res/ban.wav", 1);
    loadSoundSlot("res/syu.wav", 2);
    loadSoundSlot("res/gogo.wav", 3);
    loadSoundSlot("res/ga.wav", 4);
    createFonts();
    plat::showCursor(false);

    plat::Message message{};  // zero-filled: the first loop test does not see a quit
    while (message.message != plat::msg::Quit) {
        if (plat::peekMessage(message)) {
            plat::translateMessage(message);
            plat::dispatchMessage(message);
        } else if (appActive) {
            runFrame();
        }
    }

    plat::showCursor(true);
    releaseSound();
    releaseInput();
    releaseGraphics();
    return static_cast<int>(message.wParam);
}

void setFrameObserver(FrameObserver observer) {
    frameObserver = observer;
}

void resetShellState() {
    mainWindow = nullptr;
    appActive = false;
    displayMode = 2;
    frameObserver = nullptr;
}

#pragma once
// Windowing and messages: one window class, windows with a caption, a message queue that is
// polled without blocking, window geometry, message boxes and the mouse cursor.
//
// Semantics the game relies on:
//  - creating a window delivers `Create` to its procedure inside `createWindow`, and a visible
//    window delivers `ActivateApp` when the application is active;
//  - `peekMessage` takes at most one message per call and never blocks;
//  - closing the window delivers `Close` through the queue; the default procedure then destroys
//    the window, which sends `Destroy`;
//  - `postQuitMessage` queues `Quit`, taken after every message already queued.

#include <cstdint>

namespace plat {

struct Window;  // opaque
using WindowHandle = Window*;

// Message identifiers.
namespace msg {
constexpr uint32_t None = 0x0000;
constexpr uint32_t Create = 0x0001;
constexpr uint32_t Destroy = 0x0002;
constexpr uint32_t Close = 0x0010;
constexpr uint32_t Quit = 0x0012;
constexpr uint32_t ActivateApp = 0x001C;
constexpr uint32_t KeyDown = 0x0100;
}  // namespace msg

// Virtual-key codes carried by `KeyDown`.
namespace vk {
constexpr uint8_t Escape = 0x1B;
constexpr uint8_t F1 = 0x70;
constexpr uint8_t F2 = 0x71;
}  // namespace vk

// Window styles (bit flags). Only what the frame adjustment needs to know is modelled: a
// captioned frame with a border.
namespace style {
constexpr uint32_t Visible = 0x10000000;
constexpr uint32_t SysMenu = 0x00080000;
constexpr uint32_t MinimizeBox = 0x00020000;
constexpr uint32_t Popup = 0x80000000;
constexpr uint32_t Border = 0x00800000;
constexpr uint32_t DlgFrame = 0x00400000;
constexpr uint32_t Caption = Border | DlgFrame;
constexpr uint32_t PopupWindow = Popup | Border | SysMenu;
}  // namespace style

// Class styles; recorded, they change nothing here.
namespace classStyle {
constexpr uint32_t VRedraw = 0x0001;
constexpr uint32_t HRedraw = 0x0002;
}  // namespace classStyle

struct Message {
    WindowHandle window = nullptr;
    uint32_t message = msg::None;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

using WindowProc = intptr_t (*)(WindowHandle, uint32_t, uintptr_t, intptr_t);

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowClass {
    uint32_t style = 0;
    WindowProc procedure = nullptr;
    int iconResource = 0;  // the program's icon; the host shows its own picture for it
    bool arrowCursor = true;
    bool blackBackground = true;
    const char* className = nullptr;
};

// Registers the class; false if the name is empty or already registered.
bool registerClass(const WindowClass& windowClass);

// Creates the window; delivers `Create` before returning. Null when the class is unknown or
// there is no display.
WindowHandle createWindow(const char* className, const char* caption, uint32_t style, int x, int y,
                          int width, int height);
void showWindow(WindowHandle window);
void updateWindow(WindowHandle window);
// Moves, sizes, raises and shows the window (outer rectangle, desktop pixels).
bool setWindowPos(WindowHandle window, int x, int y, int width, int height);

// The desktop rectangle: (0, 0) to the primary display's size.
Rect desktopRect();
// Grows a client rectangle to the outer rectangle of a window with `windowStyle`.
void adjustWindowRect(Rect& rect, uint32_t windowStyle);
// The frame that `adjustWindowRect` adds on each side and for the caption.
constexpr int kFrameBorder = 3;
constexpr int kCaptionHeight = 19;

// Takes the next message, if any. First gathers what the host reports.
bool peekMessage(Message& out);
void translateMessage(const Message& message);
intptr_t dispatchMessage(const Message& message);
intptr_t defWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void postQuitMessage(int exitCode);
// Queues a message for the window (used by hosts and tests).
void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Sends a message straight to the window procedure.
intptr_t sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Modal message box with an OK button. Texts are Shift-JIS; null caption = the default one.
void messageBox(const char* text, const char* caption);

// Shows or hides the mouse cursor over the window; returns the display count as it now stands.
int showCursor(bool show);

// Whether the application is active, as the host last reported it. The graphics device reads
// it to lose a full-screen device while the application is in the background.
bool applicationActive();
// How many times the application has gone to the background. A full-screen graphics device
// compares it across calls: a deactivation it did not see while it happened still loses it.
uint64_t deactivationCount();

// The window the game created last (null before); the graphics device presents through it.
WindowHandle currentWindow();
// The client size the window was last given.
void clientSize(WindowHandle window, int& width, int& height);

// Forgets every class, window and queued message (tests start each case from nothing).
void resetWindowing();

}  // namespace plat

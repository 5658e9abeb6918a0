#include "platform/window.h"

#include <cstring>

#include "platform/cp932.h"
#include "platform/host.h"

namespace plat {

struct Window {
    bool inUse = false;
    bool destroyed = false;
    WindowProc procedure = nullptr;
    uint32_t style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int clientWidth = 0, clientHeight = 0;
};

namespace {

constexpr int kMaxClasses = 4;
constexpr int kMaxWindows = 4;
constexpr int kQueueCapacity = 256;
constexpr size_t kNameCapacity = 64;

struct ClassEntry {
    bool inUse = false;
    char name[kNameCapacity] = {};
    WindowClass info;
};

struct State {
    ClassEntry classes[kMaxClasses];
    Window windows[kMaxWindows];
    // The queue is a fixed ring: nothing is allocated while messages flow.
    Message queue[kQueueCapacity];
    int head = 0;
    int count = 0;
    bool quitPosted = false;
    int quitCode = 0;
    bool activeReported = false;  // the activation last delivered to the windows
    uint64_t deactivations = 0;
    int cursorCount = 0;
    WindowHandle lastWindow = nullptr;
};
State state;

WindowHandle liveWindow(WindowHandle window) {
    if (!window) return nullptr;
    for (Window& w : state.windows)
        if (&w == window && w.inUse && !w.destroyed) return window;
    return nullptr;
}

void enqueue(const Message& message) {
    if (state.count == kQueueCapacity) return;  // a full queue drops, as a busy system would
    state.queue[(state.head + state.count) % kQueueCapacity] = message;
    ++state.count;
}

// Delivers an activation change to every live window through the queue.
void reportActivation(bool active) {
    if (state.activeReported == active) return;
    state.activeReported = active;
    if (!active) ++state.deactivations;
    for (Window& w : state.windows)
        if (w.inUse && !w.destroyed) enqueue({&w, msg::ActivateApp, active ? 1u : 0u, 0});
}

// Turns what the host reports into queued messages.
void gatherHostEvents() {
    host().pumpEvents();
    HostEvent event;
    while (host().pollEvent(event)) {
        switch (event.type) {
            case HostEvent::Type::Activate:
                reportActivation(true);
                break;
            case HostEvent::Type::Deactivate:
                reportActivation(false);
                break;
            case HostEvent::Type::CloseRequest:
                if (state.lastWindow && liveWindow(state.lastWindow))
                    enqueue({state.lastWindow, msg::Close, 0, 0});
                break;
            case HostEvent::Type::KeyDown:
                if (state.lastWindow && liveWindow(state.lastWindow))
                    enqueue({state.lastWindow, msg::KeyDown, event.virtualKey, 0});
                break;
        }
    }
}

void hostGeometry(const Window& w) {
    WindowGeometry g;
    g.x = w.x;
    g.y = w.y;
    g.width = w.width;
    g.height = w.height;
    g.clientWidth = w.clientWidth;
    g.clientHeight = w.clientHeight;
    host().setWindowGeometry(g);
}

// An overlapped (non-popup) window always has a border and a caption.
uint32_t effectiveStyle(uint32_t windowStyle) {
    return (windowStyle & style::Popup) ? windowStyle : (windowStyle | style::Caption);
}

}  // namespace

bool registerClass(const WindowClass& windowClass) {
    host().note("registerClass");
    if (!windowClass.className || !*windowClass.className) return false;
    if (std::strlen(windowClass.className) >= kNameCapacity) return false;
    for (const ClassEntry& c : state.classes)
        if (c.inUse && std::strcmp(c.name, windowClass.className) == 0) return false;
    for (ClassEntry& c : state.classes) {
        if (c.inUse) continue;
        c.inUse = true;
        std::strcpy(c.name, windowClass.className);
        c.info = windowClass;
        c.info.className = c.name;
        return true;
    }
    return false;
}

WindowHandle createWindow(const char* className, const char* caption, uint32_t windowStyle, int x,
                          int y, int width, int height) {
    host().note("createWindow");
    const ClassEntry* cls = nullptr;
    for (const ClassEntry& c : state.classes)
        if (c.inUse && className && std::strcmp(c.name, className) == 0) cls = &c;
    if (!cls) return nullptr;
    Window* window = nullptr;
    for (Window& w : state.windows)
        if (!w.inUse) {
            window = &w;
            break;
        }
    if (!window) return nullptr;

    char utf8[256];
    cp932ToUtf8(caption ? caption : "", utf8, sizeof utf8);
    if (!host().openWindow(utf8)) return nullptr;

    *window = Window{};
    window->inUse = true;
    window->procedure = cls->info.procedure;
    window->style = windowStyle;
    window->x = x;
    window->y = y;
    window->width = width;
    window->height = height;
    Rect frame{0, 0, 0, 0};
    adjustWindowRect(frame, windowStyle);
    window->clientWidth = width - (frame.right - frame.left);
    window->clientHeight = height - (frame.bottom - frame.top);
    state.lastWindow = window;
    hostGeometry(*window);

    sendMessage(window, msg::Create, 0, 0);
    if (windowStyle & style::Visible) {
        host().showWindow();
        if (host().isActive() && !state.activeReported) {
            state.activeReported = true;
            sendMessage(window, msg::ActivateApp, 1, 0);
        }
    }
    return window;
}

void showWindow(WindowHandle window) {
    host().note("showWindow");
    Window* w = liveWindow(window);
    if (!w) return;
    w->style |= style::Visible;
    host().showWindow();
    if (host().isActive() && !state.activeReported) {
        state.activeReported = true;
        sendMessage(w, msg::ActivateApp, 1, 0);
    }
}

void updateWindow(WindowHandle window) {
    host().note("updateWindow");
    (void)window;  // the picture is repainted by the next presentation
}

bool setWindowPos(WindowHandle window, int x, int y, int width, int height) {
    host().note("setWindowPos");
    Window* w = liveWindow(window);
    if (!w) return false;
    Rect frame{0, 0, 0, 0};
    adjustWindowRect(frame, w->style);
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
    w->clientWidth = width - (frame.right - frame.left);
    w->clientHeight = height - (frame.bottom - frame.top);
    if (w->clientWidth < 0) w->clientWidth = 0;
    if (w->clientHeight < 0) w->clientHeight = 0;
    w->style |= style::Visible;
    hostGeometry(*w);
    host().showWindow();
    return true;
}

Rect desktopRect() {
    int width = 0, height = 0;
    host().desktopSize(width, height);
    return Rect{0, 0, width, height};
}

void adjustWindowRect(Rect& rect, uint32_t windowStyle) {
    windowStyle = effectiveStyle(windowStyle);
    if (!(windowStyle & (style::Border | style::DlgFrame))) return;
    rect.left -= kFrameBorder;
    rect.right += kFrameBorder;
    rect.bottom += kFrameBorder;
    rect.top -= kFrameBorder;
    if ((windowStyle & style::Caption) == style::Caption) rect.top -= kCaptionHeight;
}

bool peekMessage(Message& out) {
    gatherHostEvents();
    if (state.count > 0) {
        out = state.queue[state.head];
        state.head = (state.head + 1) % kQueueCapacity;
        --state.count;
        return true;
    }
    if (state.quitPosted) {
        state.quitPosted = false;
        out = Message{nullptr, msg::Quit, static_cast<uintptr_t>(state.quitCode), 0};
        return true;
    }
    return false;
}

void translateMessage(const Message& message) {
    (void)message;  // no character messages: the game reads only key-down messages
}

intptr_t dispatchMessage(const Message& message) {
    Window* w = liveWindow(message.window);
    if (!w || !w->procedure) return 0;
    return w->procedure(w, message.message, message.wParam, message.lParam);
}

intptr_t defWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    (void)wParam;
    (void)lParam;
    Window* w = liveWindow(window);
    if (!w) return 0;
    if (message == msg::Close) {
        // Closing destroys the window; its procedure hears of it before it is gone.
        sendMessage(w, msg::Destroy, 0, 0);
        w->destroyed = true;
    }
    return 0;
}

void postQuitMessage(int exitCode) {
    state.quitPosted = true;
    state.quitCode = exitCode;
}

void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    enqueue({window, message, wParam, lParam});
}

intptr_t sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Window* w = liveWindow(window);
    if (!w || !w->procedure) return 0;
    return w->procedure(w, message, wParam, lParam);
}

void messageBox(const char* text, const char* caption) {
    host().note("messageBox");
    char textUtf8[1024];
    char captionUtf8[256];
    cp932ToUtf8(text, textUtf8, sizeof textUtf8);
    if (caption) {
        cp932ToUtf8(caption, captionUtf8, sizeof captionUtf8);
    } else {
        std::strcpy(captionUtf8, "Error");  // the default caption when none is given
    }
    host().messageBox(textUtf8, captionUtf8);
}

int showCursor(bool show) {
    host().note(show ? "showCursor(1)" : "showCursor(0)");
    state.cursorCount += show ? 1 : -1;
    host().showCursor(state.cursorCount >= 0);
    return state.cursorCount;
}

bool applicationActive() {
    return state.activeReported;
}

uint64_t deactivationCount() {
    return state.deactivations;
}

WindowHandle currentWindow() {
    return liveWindow(state.lastWindow);
}

void clientSize(WindowHandle window, int& width, int& height) {
    Window* w = liveWindow(window);
    width = w ? w->clientWidth : 0;
    height = w ? w->clientHeight : 0;
}

void resetWindowing() {
    state = State{};
}

}  // namespace plat

#pragma once
// The application shell: the program's entry, its window and window procedure, the start-up and
// shutdown orders, the message loop that runs one frame whenever no message waits, display-mode
// switching and recovery of a lost graphics device.

#include <cstdint>

#include "platform/window.h"

// The shell's program-wide values.
extern plat::WindowHandle mainWindow;
extern bool appActive;
extern int32_t displayMode;  // 0 full screen 320 x 240, 1 window 320 x 240, 2 window 640 x 480

// The window class name and caption.
inline constexpr char kWindowTitle[] = " - Marlovek - ";
// The program's icon resource.
constexpr int kIconResource = 101;

// The program entry: start-up, message loop, shutdown. Returns the exit code. The platform host
// must be set before.
int winMain();

// The window procedure.
intptr_t windowProc(plat::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Positions and sizes the window for display mode `mode`, raises and shows it.
void placeWindow(int32_t mode);

// Tooling: called after every frame the loop ran, after its presentation (the replay tool traces
// and counts frames here). Null by default.
using FrameObserver = void (*)();
void setFrameObserver(FrameObserver observer);

// Back to the program-start values (tests run the shell several times in one process).
void resetShellState();

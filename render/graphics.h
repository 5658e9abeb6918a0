#pragma once
// The graphics objects of the program: the device, the two sprite batches, the texture slot
// holding the sprite sheet and the three text fonts. Created at start-up, rebuilt around every
// device reset, released at shutdown.

// Creates the device (hardware first, software as the fallback) and both sprite batches.
// False when the game cannot draw at all; the reason has been shown in a message box.
bool createGraphics();
// Loads the image at `path` into texture slot `slot` (only slot 0 exists); shows the path in a
// message box when it cannot be loaded.
void loadTexture(const char* path, int slot);
void loadSpriteSheet();
void createFonts();
void releaseFonts();
// Rebuilds the device for the current display mode, and everything that lives on it.
void resetGraphics();
// With `any`: whether the device reports any fault. Without: whether it is lost and cannot be
// reset yet. False when there is no device.
bool deviceFault(bool any);
void releaseGraphics();

#pragma once
// Scene flow and HUD: the title scene (scenery under a white veil, the logo fading in, the
// prompt) and the play scene (the piranha spawner, the objects between the two scenery layers,
// the energy gauge, the fade to the result screen and the way back to the title).

#include <cstdint>

extern int32_t scene;         // 0 title, 1 play
extern int32_t titlePhase;    // 0 fade-in, 1 prompt, 2 fade-away
extern int32_t titleCounter;  // prompt: the logo's alpha; fade-away: frames
extern int32_t playPhase;     // 0 start, 1 playing, 2 result
extern int32_t playFrames;    // play-scene frames since the scene was entered
extern char resultText[64];   // the result screen's kill-count line (Shift-JIS)

// One step of the current scene; draws the whole picture.
void sceneTick();
// True on the frame the title hands over to play.
bool titleScene();
// True on the frame the result screen hands back to the title.
bool playScene();

// The gauge colour for an energy value (opaque; red and green ramp through the three bands).
uint32_t gaugeColour(int32_t energyValue);

// Back to the program-start state (tests).
void resetSceneState();

#include "game/scene.h"

#include <cstdio>

#include "game/draw_order.h"
#include "game/objects.h"
#include "game/scenery.h"
#include "input/input.h"
#include "platform/random.h"
#include "render/draw.h"
#include "sound/sound.h"

int32_t scene = 0;
int32_t titlePhase = 0;
int32_t titleCounter = 0;
int32_t playPhase = 0;
int32_t playFrames = 0;
char resultText[64] = {};

namespace {

// "スペースキーを押してね"
constexpr char kPromptText[] =
    "\x83X\x83y\x81[\x83X\x83L\x81[\x82\xF0\x89\x9F\x82\xB5\x82\xC4\x82\xCB";
// "潜水艦撃沈！"
constexpr char kSunkText[] = "\x90\xF6\x90\x85\x8A\xCD\x8C\x82\x92\xBE\x81I";
constexpr char kGameOverText[] = "  GAMEOVER";
// "倒したピラニア　%d匹"
constexpr char kResultFormat[] = "\x93|\x82\xB5\x82\xBD\x83s\x83\x89\x83j\x83\x41\x81@%d\x95\x43";

constexpr uint32_t kVeil = 0x64FFFFFF;

void drawLogo(uint32_t alpha) {
    drawSprite(80, 48, 1, 1, 0, 0, 0, 0, (alpha << 24) | 0x00FFFFFFu, 64, 64, 160, 112, false);
}

// Spawns the piranhas, ever more often and ever larger.
void runSpawner() {
    const int32_t n = ++playFrames;
    const int32_t step = n / 100;
    const int32_t interval = 60 - (step < 50 ? step : 50);
    if (n % interval != 0) return;
    float size = static_cast<float>(n / 2000);
    if (size < 0.5f) size = 0.5f;
    const int side = plat::rand() % 2;
    const float y = static_cast<float>(-32 - plat::rand() % 220);
    const float x = static_cast<float>(side == 0 ? scrollX - 128 : scrollX + 448);
    spawnObject(x, y, 0, kindPiranha, teamPiranha, false, size);
}

void drawGauge() {
    fillRect(32, 224, 255, 8, 0xFF000000, false);
    fillRect(32, 224, energy / 3, 8, gaugeColour(energy), false);
}

}  // namespace

uint32_t gaugeColour(int32_t e) {
    uint32_t red = 0, green = 0;
    switch (e / 255) {
        case 0:
            red = static_cast<uint32_t>(e);
            green = 0;
            break;
        case 1:
            red = 255;
            green = static_cast<uint32_t>(e - 255);
            break;
        default:
            red = static_cast<uint32_t>(765 - e);
            green = 255;
            break;
    }
    return 0xFF000000u | (red & 0xFF) << 16 | (green & 0xFF) << 8;
}

bool titleScene() {
    drawScenery(0);
    drawScenery(1);
    switch (titlePhase) {
        case 0:
            fillRect(0, 0, 320, 240, kVeil, false);
            if (fadeStep(0x00000000, 5, true)) {
                titlePhase = 1;
                titleCounter = 0;
            }
            break;
        case 1:
            fillRect(0, 0, 320, 240, kVeil, false);
            drawLogo(static_cast<uint32_t>(titleCounter));
            titleCounter += 5;
            if (titleCounter > 250) {
                drawText(64, 200, kPromptText, 0xFFFFFFFF, 1);
                titleCounter = 250;
                if (pressedInput.buttonA) {
                    playSound(0);
                    titleCounter = 0;
                    titlePhase = 2;
                }
            }
            break;
        case 2:
            fillRect(0, 0, 320, 240,
                     static_cast<uint32_t>(100 - 2 * titleCounter) << 24 | 0x00FFFFFFu, false);
            drawLogo(static_cast<uint32_t>(250 - 5 * titleCounter));
            if (++titleCounter > 50) {
                titlePhase = 0;
                titleCounter = 0;
                return true;
            }
            break;
        default:
            break;
    }
    return false;
}

bool playScene() {
    runSpawner();
    switch (playPhase) {
        case 0:
            resetObjects();
            spawnObject(0, -120, 0, kindSubmarine, teamSubmarine, false, 0);
            playPhase = 1;
            [[fallthrough]];
        case 1:
            drawScenery(0);
            updateObjects();
            drawObjects();
            drawScenery(1);
            drawGauge();
            if (sinkFrames > 300 && fadeStep(0x00000000, 8, false)) {
                std::snprintf(resultText, sizeof resultText, kResultFormat, killCount);
                playPhase = 2;
            }
            break;
        case 2:
            fillRect(0, 0, 320, 240, 0xFF000000, false);
            drawText(72, 64, kSunkText, 0xFFFF0000, 2);
            drawText(72, 96, kGameOverText, 0xFFFF0000, 2);
            drawText(64, 160, resultText, 0xFFFFFFFF, 1);
            if (pressedInput.buttonA) {
                playPhase = 0;
                playFrames = 0;
                return true;
            }
            break;
        default:
            break;
    }
    return false;
}

void sceneTick() {
    if (scene == 0) {
        if (titleScene()) scene = 1;
    } else if (scene == 1) {
        if (playScene()) scene = 0;
    }
}

void resetSceneState() {
    scene = 0;
    titlePhase = 0;
    titleCounter = 0;
    playPhase = 0;
    playFrames = 0;
    resultText[0] = '\0';
}

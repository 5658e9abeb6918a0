#pragma once
// Puts every program-wide value back to its program-start state: the shell, windowing, input,
// scenes, objects, scenery, fades and the generator. The program itself never needs this; the
// replay tool and the tests run the game several times in one process.
void resetProgramState();

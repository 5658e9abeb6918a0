// The five sound effects, synthesised and finished (clean edges, common loudness).
#pragma once

#include "synth.h"

namespace assets {

Signal makePiko();  // start blip: two bright rising notes
Signal makeBan();   // torpedo burst: a noise blast over a falling thump
Signal makeSyu();   // launch whoosh: band-passed noise sweeping upwards
Signal makeGogo();  // sinking: a deep, pulsing, falling rumble
Signal makeGa();    // bite: a crunch of short noise bursts over a growl

}  // namespace assets

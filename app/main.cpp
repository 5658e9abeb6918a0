// marlovek: the game in a real window.

#include <cstdio>

#include "app/shell.h"
#include "platform/host.h"

#if MARLOVEK_HAVE_SDL
#include "platform/sdl/sdl_host.h"
#endif

int main() {
#if MARLOVEK_HAVE_SDL
    plat::SdlHost host;
    plat::setHost(&host);
    return winMain();
#else
    std::fprintf(stderr,
                 "marlovek: this build has no real window yet (the SDL2 host is not built); "
                 "use marlovek-replay to run the game headless.\n");
    return 1;
#endif
}

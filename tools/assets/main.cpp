// marlovek-assets FOLDER: writes the sprite sheet, the window icon and the sound effects into
// FOLDER (normally res/).
#include <cstdio>

#include "generate.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: marlovek-assets OUTPUT_FOLDER\n");
        return 2;
    }
    const auto files = assets::generateAssets();
    if (!assets::writeAssets(files, argv[1])) {
        std::fprintf(stderr, "marlovek-assets: cannot write into %s\n", argv[1]);
        return 1;
    }
    for (const auto& file : files)
        std::printf("%s/%s (%zu bytes)\n", argv[1], file.name.c_str(), file.bytes.size());
    return 0;
}

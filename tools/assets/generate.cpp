#include "generate.h"

#include <fstream>

#include "bmp.h"
#include "sheet.h"
#include "sounds.h"
#include "sprites.h"
#include "wav.h"

namespace assets {

std::vector<AssetFile> generateAssets() {
    auto wav = [](const Signal& s) { return encodeWav(toPcm16(s), kSampleRate); };
    return {
        {"image.bmp", encodeBmp24(drawSheet())},
        {"icon.bmp", encodeBmp32(drawIcon())},
        {"piko.wav", wav(makePiko())},
        {"ban.wav", wav(makeBan())},
        {"syu.wav", wav(makeSyu())},
        {"gogo.wav", wav(makeGogo())},
        {"ga.wav", wav(makeGa())},
    };
}

bool writeAssets(const std::vector<AssetFile>& files, const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    for (const AssetFile& file : files) {
        std::ofstream out(folder / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) return false;
    }
    return true;
}

}  // namespace assets

// Every file of res/ that the generators make, as names and bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "bytes.h"

namespace assets {

struct AssetFile {
    std::string name;  // file name inside res/
    Bytes bytes;
};

// The sprite sheet, the window icon and the five sound effects. The same bytes on every call.
std::vector<AssetFile> generateAssets();

// Writes the files into a folder (created if missing). Returns false on the first failure.
bool writeAssets(const std::vector<AssetFile>& files, const std::filesystem::path& folder);

}  // namespace assets

#include "render/facility/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <new>

namespace texload {

Result readWholeFile(const char* path, std::vector<uint8_t>& out) {
    // The size of a regular file (or what a link leads to); folders and missing files fail.
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return kInvalidData;
    if (size == 0) return kInvalidCall;
    if (size > kMaxFileBytes) return kOutOfMemory;
    std::ifstream in(path, std::ios::binary);
    if (!in) return kInvalidData;
    try {
        out.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    if (!in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size))) {
        return kInvalidData;
    }
    return kOk;
}

}  // namespace texload

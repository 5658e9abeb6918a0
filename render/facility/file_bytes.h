#pragma once
// Reading a whole file into memory.

#include <cstdint>
#include <vector>

#include "render/facility/load_result.h"

namespace texload {

// Largest file read; anything the reader accepts fits well inside it.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

// kOk with the file's bytes; kInvalidData when it cannot be opened or read; kInvalidCall when
// it is empty; kOutOfMemory when it is larger than kMaxFileBytes or memory cannot be had.
Result readWholeFile(const char* path, std::vector<uint8_t>& out);

}  // namespace texload

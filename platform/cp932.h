#pragma once
// Shift-JIS (code page 932) to UTF-8, for texts the host shows (captions, message boxes).

#include <cstddef>

namespace plat {

// Converts the NUL-terminated Shift-JIS `text` into `out` (capacity `outSize`, always
// NUL-terminated). Bytes that cannot be decoded become U+FFFD. Returns the UTF-8 length.
size_t cp932ToUtf8(const char* text, char* out, size_t outSize);

}  // namespace plat

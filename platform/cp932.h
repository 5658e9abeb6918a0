#pragma once
// Shift-JIS (code page 932): to UTF-8 for texts the host shows (captions, message boxes), and to
// code points for the text rasteriser.

#include <cstddef>
#include <cstdint>

namespace plat {

// Converts the NUL-terminated Shift-JIS `text` into `out` (capacity `outSize`, always
// NUL-terminated). Bytes that cannot be decoded become U+FFFD. Returns the UTF-8 length.
size_t cp932ToUtf8(const char* text, char* out, size_t outSize);

// Decodes Shift-JIS bytes into Unicode code points with the C library's converter, opened once
// and reused, so a decode allocates nothing.
//  - A byte sequence that is not code page 932 becomes U+FFFD for its first byte, and decoding
//    goes on with the next byte.
//  - A lead byte cut off by the end of the input is dropped.
//  - Without the converter (a C library without CP932), bytes below 0x80 pass through and every
//    other byte becomes U+FFFD.
class Cp932Decoder {
  public:
    Cp932Decoder();
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    // Decodes `length` bytes of `text` into `out` (room for `capacity` code points) and returns
    // how many were written. The result never exceeds `length`, so `capacity` = `length` always
    // suffices; with less room the decoding stops when `out` is full.
    size_t decode(const char* text, size_t length, char32_t* out, size_t capacity);

    bool hasConverter() const { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;  // the converter, or null
};

}  // namespace plat

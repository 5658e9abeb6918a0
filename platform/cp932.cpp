#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace plat {

size_t cp932ToUtf8(const char* text, char* out, size_t outSize) {
    if (outSize == 0) return 0;
    out[0] = '\0';
    if (!text) return 0;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter: pass ASCII through and mark the rest.
        size_t n = 0;
        for (const char* p = text; *p && n + 1 < outSize; ++p)
            out[n++] = (static_cast<unsigned char>(*p) < 0x80) ? *p : '?';
        out[n] = '\0';
        return n;
    }
    char* in = const_cast<char*>(text);
    size_t inLeft = std::strlen(text);
    char* dst = out;
    size_t dstLeft = outSize - 1;
    while (inLeft > 0 && dstLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) break;
        // An invalid or truncated sequence: replace one byte and go on.
        static const char kReplacement[] = "\xEF\xBF\xBD";
        if (dstLeft < 3) break;
        std::memcpy(dst, kReplacement, 3);
        dst += 3;
        dstLeft -= 3;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    *dst = '\0';
    return static_cast<size_t>(dst - out);
}

}  // namespace plat

namespace plat {

namespace {
constexpr char32_t kReplacement = 0xFFFD;
}

Cp932Decoder::Cp932Decoder() {
    // UTF-32 in the machine's byte order, without a byte-order mark.
    iconv_t cd =
        iconv_open(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? "UTF-32LE" : "UTF-32BE", "CP932");
    if (cd != reinterpret_cast<iconv_t>(-1)) handle_ = cd;
}

Cp932Decoder::~Cp932Decoder() {
    if (handle_) iconv_close(static_cast<iconv_t>(handle_));
}

size_t Cp932Decoder::decode(const char* text, size_t length, char32_t* out, size_t capacity) {
    if (!text || !out) return 0;
    size_t written = 0;
    if (!handle_) {
        for (size_t i = 0; i < length && written < capacity; ++i) {
            const auto b = static_cast<unsigned char>(text[i]);
            out[written++] = b < 0x80 ? b : kReplacement;
        }
        return written;
    }
    iconv_t cd = static_cast<iconv_t>(handle_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    while (inLeft > 0 && written < capacity) {
        char* dst = reinterpret_cast<char*>(out + written);
        size_t dstLeft = (capacity - written) * sizeof(char32_t);
        const size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        written = static_cast<size_t>(reinterpret_cast<char32_t*>(dst) - out);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) break;
        if (errno == EINVAL) break;  // a lead byte without its trail byte at the end
        // Not code page 932: one replacement for the first byte, then go on.
        if (written >= capacity) break;
        out[written++] = kReplacement;
        ++in;
        --inLeft;
    }
    return written;
}

}  // namespace plat

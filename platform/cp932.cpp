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

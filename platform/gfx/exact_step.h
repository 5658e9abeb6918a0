#pragma once
// Exact values of affine functions at pixel centres.
//
// An attribute interpolated over a triangle is the fraction N / D of two integers, where N is
// affine in the pixel position and D is the triangle's doubled area in fixed-point units. It is
// kept as q + r / D with 0 <= r < D, so stepping from one pixel to the next adds integers and
// never drifts: every pixel gets floor(N / D), the same value whichever triangle or road
// computed it.

#include <cstdint>

namespace plat::gfx {

using Wide = __int128;

// floor(n / d) for d > 0, modulo 2^64 when it does not fit.
inline int64_t floorDiv(Wide n, int64_t d) {
    Wide q = n / d;
    if (n % d != 0 && n < 0) --q;
    return static_cast<int64_t>(static_cast<unsigned __int128>(q));
}
inline int64_t floorDiv64(int64_t n, int64_t d) {
    int64_t q = n / d;
    if (n % d != 0 && (n < 0) != (d < 0)) --q;
    return q;
}
// ceil(n / d) for d > 0.
inline int64_t ceilDiv64(int64_t n, int64_t d) {
    return -floorDiv64(-n, d);
}

struct ExactStep {
    int64_t dq = 0, dr = 0;
};

struct ExactValue {
    int64_t q = 0, r = 0;
    // Wrapping arithmetic: a step past the last pixel of a sliver may leave the range, the
    // values inside it are exact.
    void step(const ExactStep& s, int64_t den) {
        uint64_t next = static_cast<uint64_t>(q) + static_cast<uint64_t>(s.dq);
        r += s.dr;
        if (r >= den) {
            r -= den;
            ++next;
        }
        q = static_cast<int64_t>(next);
    }
};

inline ExactValue exactValue(Wide num, int64_t den) {
    Wide q = num / den;
    if (num % den != 0 && num < 0) --q;
    ExactValue v;
    v.q = static_cast<int64_t>(static_cast<unsigned __int128>(q));
    v.r = static_cast<int64_t>(num - q * den);
    return v;
}
inline ExactStep exactStep(Wide num, int64_t den) {
    const ExactValue v = exactValue(num, den);
    return ExactStep{v.q, v.r};
}

}  // namespace plat::gfx

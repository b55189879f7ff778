#include "walk/perspective.h"

#include <cmath>

namespace zk {

namespace {

// Independent of the floating-point rounding mode, so every run scales alike.
long double roundHalfEven(long double v) {
    long double lower = std::floor(v);
    long double frac = v - lower;
    if (frac > 0.5L) return lower + 1;
    if (frac < 0.5L) return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

}  // namespace

int32_t perspectiveScale(const Perspective& p, int32_t row) {
    long double result = p.maxScale;
    if (row != p.maxScaleRow && p.minScaleRow != p.maxScaleRow) {
        // Worked as a ratio of the two row distances, in extended precision, so that
        // halves land exactly on .5 and round the same way every time.
        long double q = (static_cast<long double>(p.maxScaleRow) - p.minScaleRow) /
                        (static_cast<long double>(p.maxScaleRow) - row);
        long double r = p.maxScale - (static_cast<long double>(p.maxScale) - p.minScale) / q;
        result = roundHalfEven(r);
    }
    // Clamping before the conversion keeps far-away rows inside the 32-bit range.
    if (result > p.maxScale) result = p.maxScale;
    if (result < p.minScale) result = p.minScale;
    return static_cast<int32_t>(result);
}

}  // namespace zk

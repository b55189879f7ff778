#include "render/blit.h"

#include <algorithm>
#include <cstring>

namespace zk {
namespace {

// The source cell of a draw: the picture's pixels and the pattern's place in them.
struct Source {
    const uint32_t* origin = nullptr;  // top-left pixel of the pattern
    std::ptrdiff_t stride = 0;         // pixels per picture row
    int width = 0;
    int height = 0;
    bool keyed = false;
    uint32_t key = 0;
    const uint32_t* row(int y) const { return origin + stride * y; }
};

bool sourceOf(const PictureItem& item, int pattern, Source& s) {
    const auto& patterns = item.patterns();
    if (pattern < 0 || pattern >= static_cast<int>(patterns.size())) return false;
    const Pattern& p = patterns[static_cast<size_t>(pattern)];
    const Image& img = item.image();
    // prepare() only makes patterns that lie inside the picture; check anyway, since
    // the public picture may have been replaced after preparing.
    if (p.width <= 0 || p.height <= 0 || p.x < 0 || p.y < 0 || p.x + p.width > img.width ||
        p.y + p.height > img.height ||
        img.pixels.size() < static_cast<size_t>(img.width) * static_cast<size_t>(img.height))
        return false;
    s.stride = img.width;
    s.origin = img.pixels.data() + s.stride * p.y + p.x;
    s.width = p.width;
    s.height = p.height;
    s.keyed = item.transparent;
    s.key = item.colorKey();
    return true;
}

// Clips a destination given in 64-bit coordinates to the surface.
bool clipTo(const Surface& dst, int64_t left, int64_t top, int64_t right, int64_t bottom,
            Rect& out) {
    out.left = static_cast<int>(std::max<int64_t>(left, 0));
    out.top = static_cast<int>(std::max<int64_t>(top, 0));
    out.right = static_cast<int>(std::min<int64_t>(right, dst.width));
    out.bottom = static_cast<int>(std::min<int64_t>(bottom, dst.height));
    return out.left < out.right && out.top < out.bottom;
}

// Four pixels at a time through the compiler's vector extension (SSE2 or NEON); the
// same 16 bytes seen as eight 16-bit lanes for blending.
using Pixels4 = uint32_t __attribute__((vector_size(16)));
using Lanes16 = uint16_t __attribute__((vector_size(16)));

// Copies n pixels, leaving the destination where the source equals the key.
void keyedRow(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    const Pixels4 k = {key, key, key, key};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        Pixels4 sv, dv;
        std::memcpy(&sv, s + i, sizeof sv);
        std::memcpy(&dv, d + i, sizeof dv);
        const Pixels4 keep = reinterpret_cast<Pixels4>(sv == k);
        dv = (dv & keep) | (sv & ~keep);
        std::memcpy(d + i, &dv, sizeof dv);
    }
    for (; i < n; ++i) {
        const uint32_t v = s[i];
        d[i] = v == key ? d[i] : v;
    }
}

// Copies n pixels, writing `color` where the source equals the key.
void keyedRowOver(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t color) {
    const Pixels4 k = {key, key, key, key};
    const Pixels4 c = {color, color, color, color};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        Pixels4 sv;
        std::memcpy(&sv, s + i, sizeof sv);
        const Pixels4 keep = reinterpret_cast<Pixels4>(sv == k);
        const Pixels4 out = (c & keep) | (sv & ~keep);
        std::memcpy(d + i, &out, sizeof out);
    }
    for (; i < n; ++i) d[i] = s[i] == key ? color : s[i];
}

void copyRow(uint32_t* d, const uint32_t* s, int n, const Source& src) {
    if (src.keyed)
        keyedRow(d, s, n, src.key);
    else
        std::memcpy(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
}

// Red and blue side by side in one word, green alone: each lane stays below 2^16,
// and (t + (t >> 8)) >> 8 divides t by 255 with rounding (t carries +128).
template <typename P>
P blendLanes(P src, P dst, P alpha, P inv) {
    P rb = (src & 0xFF00FF) * alpha + (dst & 0xFF00FF) * inv + 0x800080;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    P g = ((src >> 8) & 0xFF) * alpha + ((dst >> 8) & 0xFF) * inv + 0x80;
    g = (g + (g >> 8)) >> 8;
    return rb | (g << 8);
}

// blendLanes for four pixels, in 16-bit lanes: red and blue of each pixel in two
// lanes, green and the (zero) top byte in two more.
Pixels4 blend4(Pixels4 src, Pixels4 dst, Lanes16 alpha, Lanes16 inv) {
    const Lanes16 half = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
    Lanes16 rb = reinterpret_cast<Lanes16>(src & 0xFF00FF) * alpha +
                 reinterpret_cast<Lanes16>(dst & 0xFF00FF) * inv + half;
    rb = (rb + (rb >> 8)) >> 8;
    Lanes16 g = reinterpret_cast<Lanes16>((src >> 8) & 0xFF00FF) * alpha +
                reinterpret_cast<Lanes16>((dst >> 8) & 0xFF00FF) * inv + half;
    g = (g + (g >> 8)) >> 8;
    return reinterpret_cast<Pixels4>(rb) | (reinterpret_cast<Pixels4>(g) << 8);
}

// Blends n pixels (alpha 1..254) over the destination, skipping the key when keyed.
void blendRow(uint32_t* d, const uint32_t* s, int n, uint32_t alpha, const Source& src) {
    const uint32_t inv = 255 - alpha;
    const uint16_t a = static_cast<uint16_t>(alpha), b = static_cast<uint16_t>(inv);
    const Lanes16 a16 = {a, a, a, a, a, a, a, a};
    const Lanes16 i16 = {b, b, b, b, b, b, b, b};
    const Pixels4 k = {src.key, src.key, src.key, src.key};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        Pixels4 sv, dv;
        std::memcpy(&sv, s + i, sizeof sv);
        std::memcpy(&dv, d + i, sizeof dv);
        Pixels4 out = blend4(sv, dv, a16, i16);
        if (src.keyed) {
            const Pixels4 keep = reinterpret_cast<Pixels4>(sv == k);
            out = (dv & keep) | (out & ~keep);
        }
        std::memcpy(d + i, &out, sizeof out);
    }
    for (; i < n; ++i) {
        const uint32_t v = s[i];
        if (src.keyed && v == src.key) continue;
        d[i] = blendLanes(v, d[i], alpha, inv);
    }
}

// Columns are sampled through a table made once per strip of this many columns.
// Offsets count from the unclipped destination edge, so a clipped draw shows exactly
// the pixels that the unclipped one would.
constexpr int kStrip = 512;

// Samples `s` into `dest` (clipped to `dst`) with 16.16 stepping, a strip of columns
// at a time, and hands each destination row to `writeRow(row, strip, n)`.
template <typename WriteRow>
void stretchRows(Surface& dst, const Source& s, const Rect& dest, WriteRow writeRow) {
    const int64_t dw = int64_t{dest.right} - dest.left;
    const int64_t dh = int64_t{dest.bottom} - dest.top;
    if (dw <= 0 || dh <= 0) return;
    Rect c;
    if (!clipTo(dst, dest.left, dest.top, dest.right, dest.bottom, c)) return;
    const int64_t stepX = (int64_t{s.width} << 16) / dw;
    const int64_t stepY = (int64_t{s.height} << 16) / dh;
    int32_t columns[kStrip];
    uint32_t strip[kStrip];
    for (int x0 = c.left; x0 < c.right; x0 += kStrip) {
        const int n = std::min(kStrip, c.right - x0);
        int64_t u = (x0 - int64_t{dest.left}) * stepX;
        for (int i = 0; i < n; ++i, u += stepX) columns[i] = static_cast<int32_t>(u >> 16);
        int64_t v = (c.top - int64_t{dest.top}) * stepY;
        int sampled = -1;  // the source row in strip; enlarged rows repeat it
        for (int dy = c.top; dy < c.bottom; ++dy, v += stepY) {
            const int sy = static_cast<int>(v >> 16);
            if (sy != sampled) {
                const uint32_t* src = s.row(sy);
                for (int i = 0; i < n; ++i) strip[i] = src[columns[i]];
                sampled = sy;
            }
            writeRow(dst.row(dy) + x0, strip, n);
        }
    }
}

}  // namespace

uint32_t blendPixel(uint32_t src, uint32_t dst, uint32_t alpha) {
    return blendLanes(src, dst, alpha, 255 - alpha);
}

void drawPattern(Surface& dst, const PictureItem& item, int pattern, int x, int y) {
    Source s;
    if (!sourceOf(item, pattern, s)) return;
    Rect c;
    if (!clipTo(dst, x, y, int64_t{x} + s.width, int64_t{y} + s.height, c)) return;
    const int n = c.right - c.left;
    const int sx = c.left - x;
    for (int dy = c.top; dy < c.bottom; ++dy) {
        const uint32_t* src = s.row(dy - y) + sx;
        copyRow(dst.row(dy) + c.left, src, n, s);
    }
}

void fillAndDrawPattern(Surface& dst, uint32_t color, const PictureItem& item, int pattern, int x,
                        int y) {
    color &= kColorMask;
    Source s;
    Rect c;
    if (!sourceOf(item, pattern, s) ||
        !clipTo(dst, x, y, int64_t{x} + s.width, int64_t{y} + s.height, c)) {
        dst.fill(color);
        return;
    }
    const int n = c.right - c.left;
    for (int dy = 0; dy < dst.height; ++dy) {
        uint32_t* d = dst.row(dy);
        if (dy < c.top || dy >= c.bottom) {
            std::fill(d, d + dst.width, color);
            continue;
        }
        std::fill(d, d + c.left, color);
        const uint32_t* src = s.row(dy - y) + (c.left - x);
        if (s.keyed)
            keyedRowOver(d + c.left, src, n, s.key, color);
        else
            std::memcpy(d + c.left, src, static_cast<size_t>(n) * sizeof(uint32_t));
        std::fill(d + c.right, d + dst.width, color);
    }
}

void drawStretched(Surface& dst, const PictureItem& item, const Rect& dest, int pattern) {
    Source s;
    if (!sourceOf(item, pattern, s)) return;
    if (int64_t{dest.right} - dest.left == s.width && int64_t{dest.bottom} - dest.top == s.height) {
        drawPattern(dst, item, pattern, dest.left, dest.top);
        return;
    }
    stretchRows(dst, s, dest,
                [&s](uint32_t* row, const uint32_t* strip, int n) { copyRow(row, strip, n, s); });
}

void drawStretchedAlpha(Surface& dst, const PictureItem& item, const Rect& dest, int alpha,
                        int pattern) {
    if (alpha <= 0) return;
    if (alpha >= 255) {
        drawStretched(dst, item, dest, pattern);
        return;
    }
    Source s;
    if (!sourceOf(item, pattern, s)) return;
    const uint32_t a = static_cast<uint32_t>(alpha);
    stretchRows(dst, s, dest, [&s, a](uint32_t* row, const uint32_t* strip, int n) {
        blendRow(row, strip, n, a, s);
    });
}

}  // namespace zk

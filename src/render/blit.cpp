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

void keyedRow(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    for (int i = 0; i < n; ++i) {
        const uint32_t v = s[i];
        d[i] = v == key ? d[i] : v;
    }
}

// Destination offsets are counted from the unclipped edge, so a clipped draw samples
// exactly the pixels the unclipped one would.
struct Stepping {
    int64_t step = 0;   // 16.16 source pixels per destination pixel
    int64_t start = 0;  // 16.16 source position of the first drawn pixel
};

Stepping stepping(int sourceSize, int64_t destSize, int64_t firstOffset) {
    Stepping st;
    st.step = (int64_t{sourceSize} << 16) / destSize;
    st.start = firstOffset * st.step;
    return st;
}

}  // namespace

uint32_t blendPixel(uint32_t src, uint32_t dst, uint32_t alpha) {
    const uint32_t inv = 255 - alpha;
    // Red and blue side by side in one word, green alone: each lane stays below 2^16.
    uint32_t rb = (src & 0xFF00FF) * alpha + (dst & 0xFF00FF) * inv + 0x800080;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    uint32_t g = ((src >> 8) & 0xFF) * alpha + ((dst >> 8) & 0xFF) * inv + 0x80;
    g = (g + (g >> 8)) >> 8;
    return rb | (g << 8);
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
        uint32_t* d = dst.row(dy) + c.left;
        if (s.keyed)
            keyedRow(d, src, n, s.key);
        else
            std::memcpy(d, src, static_cast<size_t>(n) * sizeof(uint32_t));
    }
}

void drawStretched(Surface& dst, const PictureItem& item, const Rect& dest, int pattern) {
    Source s;
    if (!sourceOf(item, pattern, s)) return;
    const int64_t dw = int64_t{dest.right} - dest.left;
    const int64_t dh = int64_t{dest.bottom} - dest.top;
    if (dw <= 0 || dh <= 0) return;
    if (dw == s.width && dh == s.height) {
        drawPattern(dst, item, pattern, dest.left, dest.top);
        return;
    }
    Rect c;
    if (!clipTo(dst, dest.left, dest.top, dest.right, dest.bottom, c)) return;
    const Stepping sx = stepping(s.width, dw, c.left - int64_t{dest.left});
    Stepping sy = stepping(s.height, dh, c.top - int64_t{dest.top});
    const int n = c.right - c.left;
    for (int dy = c.top; dy < c.bottom; ++dy, sy.start += sy.step) {
        const uint32_t* src = s.row(static_cast<int>(sy.start >> 16));
        uint32_t* d = dst.row(dy) + c.left;
        int64_t u = sx.start;
        if (s.keyed) {
            for (int i = 0; i < n; ++i, u += sx.step) {
                const uint32_t v = src[u >> 16];
                if (v != s.key) d[i] = v;
            }
        } else {
            for (int i = 0; i < n; ++i, u += sx.step) d[i] = src[u >> 16];
        }
    }
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
    const int64_t dw = int64_t{dest.right} - dest.left;
    const int64_t dh = int64_t{dest.bottom} - dest.top;
    if (dw <= 0 || dh <= 0) return;
    Rect c;
    if (!clipTo(dst, dest.left, dest.top, dest.right, dest.bottom, c)) return;
    const Stepping sx = stepping(s.width, dw, c.left - int64_t{dest.left});
    Stepping sy = stepping(s.height, dh, c.top - int64_t{dest.top});
    const int n = c.right - c.left;
    const uint32_t a = static_cast<uint32_t>(alpha);
    for (int dy = c.top; dy < c.bottom; ++dy, sy.start += sy.step) {
        const uint32_t* src = s.row(static_cast<int>(sy.start >> 16));
        uint32_t* d = dst.row(dy) + c.left;
        int64_t u = sx.start;
        for (int i = 0; i < n; ++i, u += sx.step) {
            const uint32_t v = src[u >> 16];
            if (s.keyed && v == s.key) continue;
            d[i] = blendPixel(v, d[i], a);
        }
    }
}

}  // namespace zk

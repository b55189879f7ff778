#include "platform/surface.h"

#include <algorithm>

namespace zk {

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.empty()) return {};
    return r;
}

void Surface::resize(int w, int h, uint32_t color) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == width && h == height) return;
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), color & kColorMask);
}

uint32_t Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return row(y)[x];
}

void Surface::setPixel(int x, int y, uint32_t color) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    row(y)[x] = color & kColorMask;
}

void Surface::fill(uint32_t color) {
    std::fill(pixels.begin(), pixels.end(), color & kColorMask);
}

void Surface::fillRect(const Rect& r, uint32_t color) {
    Rect c = intersect(r, bounds());
    if (c.empty()) return;
    for (int y = c.top; y < c.bottom; ++y) {
        std::fill(row(y) + c.left, row(y) + c.right, color & kColorMask);
    }
}

}  // namespace zk

#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zk {

// A rectangle (left, top, right, bottom). As a drawing destination the right and
// bottom edges are excluded; as a hit-test area (`contains`) all four edges count.
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const Rect&) const = default;
};

// The part of `a` that lies in `b` (drawing sense); empty when they do not overlap.
Rect intersect(const Rect& a, const Rect& b);

// Colours are 0xRRGGBB values; a pixel is the same value in the low 24 bits of a
// 32-bit word with the top byte zero (XRGB8888).
inline constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
}
inline constexpr uint32_t kColorMask = 0xFFFFFF;

// A 32-bit XRGB8888 image in memory; rows follow each other with no padding.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Surface() = default;
    Surface(int w, int h, uint32_t color = 0) { resize(w, h, color); }

    // A new size gives a new image filled with `color`; the same size keeps the pixels.
    void resize(int w, int h, uint32_t color = 0);
    Rect bounds() const { return {0, 0, width, height}; }
    uint32_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const uint32_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
    // Reads 0 and ignores writes outside the image.
    uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, uint32_t color);
    void fill(uint32_t color);
    void fillRect(const Rect& r, uint32_t color);
};

}  // namespace zk

#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"

namespace zk {

// Largest side of an image that the decoders accept. Anything larger is refused
// before its pixel buffer is allocated.
constexpr int kMaxImageSide = 16384;

// The error for a picture of width x height that is over the limit: `what` (the
// decoder's own message), then the size.
inline DataError oversizedImage(const std::string& what, int64_t width, int64_t height) {
    return DataError(what + ": the picture is " + std::to_string(width) + " x " +
                     std::to_string(height) + " pixels, more than " +
                     std::to_string(kMaxImageSide) + " x " + std::to_string(kMaxImageSide));
}

// A decoded picture: rows top to bottom, one 32-bit value per pixel. For display
// images the value is 0xRRGGBB (XRGB8888 with the top byte 0); the walk mask reads
// raw images, whose values are palette indexes or packed pixel values.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    // The pixel at (x, y), or nothing outside the image.
    std::optional<uint32_t> pixel(int x, int y) const {
        if (!contains(x, y)) return std::nullopt;
        return at(x, y);
    }
};

// A buffer of n pixels made from the storage of an image that is no longer needed,
// so that reloading pictures reuses memory instead of asking the system for fresh
// pages. The contents are unspecified. Storage too small is dropped, not grown, so
// no stale pixels are copied.
inline std::vector<uint32_t> reusePixels(std::vector<uint32_t> storage, size_t n) {
    if (storage.capacity() < n) storage = {};
    storage.resize(n);
    return storage;
}

// A palette image: one index per pixel (rows top to bottom) and up to 256 colours
// as 0xRRGGBB. Used to write 8-bit pictures whose indexes matter (walk masks).
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indexes;
    std::vector<uint32_t> palette;
};

// The same image with a palette built from its colours in order of first
// appearance; nothing when it has more than 256 colours.
std::optional<IndexedImage> toIndexed(const Image& image);

}  // namespace zk

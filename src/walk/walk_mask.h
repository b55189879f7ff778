#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zk {

// Where characters may stand in the current room, one flag per pixel. Built once when
// a room is entered from the raw pixel values of its mask picture: a pixel is walkable
// when its raw value is exactly 1 (the palette index for 1-, 4- and 8-bit pictures, so
// a two-colour mask walks on its colour 1; the packed value for 16-, 24- and 32-bit
// ones). Pixels outside the picture are not walkable.
class WalkMask {
  public:
    WalkMask() = default;

    // `rawPixel(x, y)` returns the raw value of the picture's pixel, y counted from the
    // top row. It is called once per pixel here and never during a search.
    template <class RawPixel>
    static WalkMask build(int32_t width, int32_t height, RawPixel&& rawPixel) {
        WalkMask m;
        if (width <= 0 || height <= 0) return m;
        m.width_ = width;
        m.height_ = height;
        m.flags_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        uint8_t* out = m.flags_.data();
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                *out++ = static_cast<uint32_t>(rawPixel(x, y)) == 1 ? 1 : 0;
        return m;
    }

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    bool walkable(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
        return flags_[static_cast<size_t>(y) * static_cast<size_t>(width_) +
                      static_cast<size_t>(x)] != 0;
    }

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> flags_;
};

}  // namespace zk

#pragma once
// A small software painter for the demo's generated art: shapes with 4 x 4 supersampled
// edges, gradients, value noise and a few colour helpers. Pictures drawn with a colour
// key ("keyed") keep hard outer edges so that no dark halo appears around a sprite:
// a pixel that is still transparent is only covered when a shape covers at least
// half of it, and no drawn pixel is ever exactly the key colour black.
#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

using Color = uint32_t;  // 0xRRGGBB

constexpr Color rgb(int r, int g, int b) {
    return (static_cast<Color>(std::clamp(r, 0, 255)) << 16) |
           (static_cast<Color>(std::clamp(g, 0, 255)) << 8) |
           static_cast<Color>(std::clamp(b, 0, 255));
}
inline int red(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int green(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int blue(Color c) {
    return static_cast<int>(c & 0xFF);
}

// a at t = 0, b at t = 1.
Color mix(Color a, Color b, float t);
// Every channel times f (f > 1 brightens, clamped).
Color scaleColor(Color c, float f);
// Brighter (amount > 0) towards white or darker (amount < 0) towards black.
Color tint(Color c, float amount);

// Deterministic value noise in [0, 1] and its fractal sum.
float noise2(float x, float y, uint32_t seed = 0);
float fbm(float x, float y, int octaves, uint32_t seed = 0);
// A hash of integers in [0, 1), for scattering things.
float hash01(int x, int y, uint32_t seed = 0);

struct Pt {
    float x = 0;
    float y = 0;
};

bool insidePolygon(const std::vector<Pt>& poly, float x, float y);

class Paint {
  public:
    Paint(int width, int height, Color fill = 0, bool keyed = false);

    int width() const { return width_; }
    int height() const { return height_; }
    bool keyed() const { return keyed_; }
    const std::vector<Color>& pixels() const { return px_; }

    Color at(int x, int y) const;
    bool opaque(int x, int y) const { return !keyed_ || at(x, y) != 0; }
    // Lays colour c over pixel (x, y) with coverage a in [0, 1].
    void put(int x, int y, Color c, float a = 1.0f);
    void set(int x, int y, Color c);
    // Makes a pixel of a keyed picture transparent again.
    void clear(int x, int y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            px_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = 0;
    }

    // Fills every pixel of the box [x0, x1) x [y0, y1) by the coverage of `inside`,
    // sampled 4 x 4 per pixel, in the colour that `color(x, y)` gives at the pixel's
    // centre, with extra opacity `alpha`.
    template <class Inside, class ColorAt>
    requires std::invocable<ColorAt, float, float>
    void shape(float x0, float y0, float x1, float y1, Inside inside, ColorAt color,
               float alpha = 1.0f) {
        const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
        const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
        const int ix1 = std::min(width_, static_cast<int>(std::ceil(x1)));
        const int iy1 = std::min(height_, static_cast<int>(std::ceil(y1)));
        for (int y = iy0; y < iy1; ++y) {
            for (int x = ix0; x < ix1; ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        hits += inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f) ? 1 : 0;
                if (hits == 0) continue;
                put(x, y, color(x + 0.5f, y + 0.5f), alpha * static_cast<float>(hits) / 16.0f);
            }
        }
    }
    template <class Inside>
    void shape(float x0, float y0, float x1, float y1, Inside inside, Color c, float alpha = 1.0f) {
        shape(
            x0, y0, x1, y1, inside, [c](float, float) { return c; }, alpha);
    }

    void rect(float x0, float y0, float x1, float y1, Color c, float alpha = 1.0f);
    void ellipse(float cx, float cy, float rx, float ry, Color c, float alpha = 1.0f);
    void polygon(const std::vector<Pt>& poly, Color c, float alpha = 1.0f);
    // A line of the given width with round ends.
    void line(float x0, float y0, float x1, float y1, float w, Color c, float alpha = 1.0f);
    // A rectangle filled with a vertical gradient from top colour a to bottom colour b.
    void gradientRect(int x0, int y0, int x1, int y1, Color a, Color b);
    // A soft round glow: colour c added with falling opacity out to radius r.
    void glow(float cx, float cy, float r, Color c, float strength = 1.0f);
    // Mirrors the picture left to right.
    Paint mirrored() const;
    // Copies another picture's opaque pixels with its top-left at (x, y).
    void blit(const Paint& other, int x, int y);
    // Half the size, averaging each 2 x 2 block (keyed: a block at least half
    // transparent stays transparent; the others average their opaque pixels).
    Paint halved() const;
    // Any other size, by area averaging with the same rule for keyed pictures.
    Paint resized(int width, int height) const;

    // Writes an RGB PNG.
    void save(const std::string& path) const;

  private:
    int width_;
    int height_;
    bool keyed_;
    std::vector<Color> px_;
};

// A two-colour walk mask: white where characters may walk, black elsewhere.
class Mask {
  public:
    Mask(int width, int height) : p_(width, height, 0) {}
    void allow(const std::vector<Pt>& poly);
    void block(const std::vector<Pt>& poly);
    void blockEllipse(float cx, float cy, float rx, float ry);
    void save(const std::string& path) const;
    bool walkable(int x, int y) const { return p_.at(x, y) == 0xFFFFFF; }

  private:
    void mark(const std::vector<Pt>& poly, Color c);
    Paint p_;
};

}  // namespace demo

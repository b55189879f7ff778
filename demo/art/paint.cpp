#include "paint.h"

#include "platform/png.h"
#include "platform/surface.h"

namespace demo {

Color mix(Color a, Color b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return rgb(m(red(a), red(b)), m(green(a), green(b)), m(blue(a), blue(b)));
}

Color scaleColor(Color c, float f) {
    auto s = [f](int v) { return static_cast<int>(std::lround(v * f)); };
    return rgb(s(red(c)), s(green(c)), s(blue(c)));
}

Color tint(Color c, float amount) {
    return amount >= 0 ? mix(c, 0xFFFFFF, amount) : mix(c, 0x000000, -amount);
}

namespace {

uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

float smooth(float t) {
    return t * t * (3 - 2 * t);
}

}  // namespace

float hash01(int x, int y, uint32_t seed) {
    return static_cast<float>(hash(x, y, seed) & 0xFFFFFF) / 16777216.0f;
}

float noise2(float x, float y, uint32_t seed) {
    const int xi = static_cast<int>(std::floor(x));
    const int yi = static_cast<int>(std::floor(y));
    const float fx = smooth(x - xi);
    const float fy = smooth(y - yi);
    const float a = hash01(xi, yi, seed);
    const float b = hash01(xi + 1, yi, seed);
    const float c = hash01(xi, yi + 1, seed);
    const float d = hash01(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0;
    float amp = 0.5f;
    float norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise2(x, y, seed + static_cast<uint32_t>(i) * 101u);
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}

bool insidePolygon(const std::vector<Pt>& poly, float x, float y) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt& a = poly[i];
        const Pt& b = poly[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

Paint::Paint(int width, int height, Color fill, bool keyed)
    : width_(width),
      height_(height),
      keyed_(keyed),
      px_(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

Color Paint::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return px_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Paint::set(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    if (keyed_ && c == 0) c = 0x010101;
    px_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = c;
}

void Paint::put(int x, int y, Color c, float a) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0) return;
    Color& p = px_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    if (keyed_ && p == 0) {
        // Still transparent: covered whole or not at all, so edges stay hard.
        if (a >= 0.5f) set(x, y, c);
        return;
    }
    set(x, y, a >= 1 ? c : mix(p, c, a));
}

void Paint::rect(float x0, float y0, float x1, float y1, Color c, float alpha) {
    shape(
        x0, y0, x1, y1, [&](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, c,
        alpha);
}

void Paint::ellipse(float cx, float cy, float rx, float ry, Color c, float alpha) {
    if (rx <= 0 || ry <= 0) return;
    shape(
        cx - rx, cy - ry, cx + rx, cy + ry,
        [&](float x, float y) {
            const float dx = (x - cx) / rx;
            const float dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1;
        },
        c, alpha);
}

void Paint::polygon(const std::vector<Pt>& poly, Color c, float alpha) {
    if (poly.size() < 3) return;
    float x0 = poly[0].x, x1 = poly[0].x, y0 = poly[0].y, y1 = poly[0].y;
    for (const Pt& p : poly) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    shape(
        x0, y0, x1 + 1, y1 + 1, [&](float x, float y) { return insidePolygon(poly, x, y); }, c,
        alpha);
}

void Paint::line(float x0, float y0, float x1, float y1, float w, Color c, float alpha) {
    const float r = w / 2;
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float len2 = dx * dx + dy * dy;
    shape(
        std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r + 1,
        std::max(y0, y1) + r + 1,
        [&](float x, float y) {
            float t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
            t = std::clamp(t, 0.0f, 1.0f);
            const float ex = x0 + t * dx - x;
            const float ey = y0 + t * dy - y;
            return ex * ex + ey * ey <= r * r;
        },
        c, alpha);
}

void Paint::gradientRect(int x0, int y0, int x1, int y1, Color a, Color b) {
    for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
        const Color c = mix(a, b, y1 - y0 > 1 ? static_cast<float>(y - y0) / (y1 - y0 - 1) : 0);
        for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) set(x, y, c);
    }
}

void Paint::glow(float cx, float cy, float r, Color c, float strength) {
    const int x0 = std::max(0, static_cast<int>(cx - r));
    const int x1 = std::min(width_, static_cast<int>(cx + r) + 1);
    const int y0 = std::max(0, static_cast<int>(cy - r));
    const int y1 = std::min(height_, static_cast<int>(cy + r) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!opaque(x, y)) continue;
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
            if (d >= 1) continue;
            const float a = strength * (1 - d) * (1 - d);
            const Color p = at(x, y);
            set(x, y,
                rgb(red(p) + static_cast<int>(red(c) * a),
                    green(p) + static_cast<int>(green(c) * a),
                    blue(p) + static_cast<int>(blue(c) * a)));
        }
    }
}

Paint Paint::mirrored() const {
    Paint out(width_, height_, 0, keyed_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.px_[static_cast<size_t>(y) * width_ + x] = at(width_ - 1 - x, y);
    return out;
}

void Paint::blit(const Paint& other, int x, int y) {
    for (int sy = 0; sy < other.height(); ++sy)
        for (int sx = 0; sx < other.width(); ++sx)
            if (other.opaque(sx, sy)) set(x + sx, y + sy, other.at(sx, sy));
}

Paint Paint::halved() const {
    Paint out(width_ / 2, height_ / 2, 0, keyed_);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            int n = 0, r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                const int sx = 2 * x + (k & 1);
                const int sy = 2 * y + (k >> 1);
                if (!opaque(sx, sy)) continue;
                const Color c = at(sx, sy);
                ++n;
                r += red(c);
                g += green(c);
                b += blue(c);
            }
            if (n == 0 || (keyed_ && n < 2)) continue;
            out.set(x, y, rgb(r / n, g / n, b / n));
        }
    }
    return out;
}

Paint Paint::resized(int w, int h) const {
    Paint out(w, h, 0, keyed_);
    const float sx = static_cast<float>(width_) / w;
    const float sy = static_cast<float>(height_) / h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
            float total = 0, covered = 0, r = 0, g = 0, b = 0;
            for (int py = static_cast<int>(y0); py < std::ceil(y1); ++py) {
                const float wy = std::min(y1, py + 1.0f) - std::max(y0, static_cast<float>(py));
                for (int px = static_cast<int>(x0); px < std::ceil(x1); ++px) {
                    const float wx = std::min(x1, px + 1.0f) - std::max(x0, static_cast<float>(px));
                    const float a = wx * wy;
                    total += a;
                    if (!opaque(px, py)) continue;
                    const Color c = at(px, py);
                    covered += a;
                    r += a * red(c);
                    g += a * green(c);
                    b += a * blue(c);
                }
            }
            if (covered <= 0 || (keyed_ && covered < total * 0.5f)) continue;
            out.set(x, y,
                    rgb(static_cast<int>(r / covered + 0.5f), static_cast<int>(g / covered + 0.5f),
                        static_cast<int>(b / covered + 0.5f)));
        }
    }
    return out;
}

void Paint::save(const std::string& path) const {
    zk::Surface s(width_, height_);
    s.pixels = px_;
    zk::writePng(s, path);
}

void Mask::mark(const std::vector<Pt>& poly, Color c) {
    for (int y = 0; y < p_.height(); ++y)
        for (int x = 0; x < p_.width(); ++x)
            if (insidePolygon(poly, x + 0.5f, y + 0.5f)) p_.set(x, y, c);
}

void Mask::allow(const std::vector<Pt>& poly) {
    mark(poly, 0xFFFFFF);
}
void Mask::block(const std::vector<Pt>& poly) {
    mark(poly, 0);
}

void Mask::blockEllipse(float cx, float cy, float rx, float ry) {
    for (int y = 0; y < p_.height(); ++y)
        for (int x = 0; x < p_.width(); ++x) {
            const float dx = (x + 0.5f - cx) / rx;
            const float dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1) p_.set(x, y, 0);
        }
}

void Mask::save(const std::string& path) const {
    p_.save(path);
}

}  // namespace demo

#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"

namespace zk {
namespace {

// Products of two 33-bit line deltas need more than 64 bits.
__extension__ typedef __int128 Wide;

inline uint32_t mix(uint32_t fg, uint32_t bg, uint32_t a) {
    const uint32_t na = 255 - a;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t c = (((fg >> shift) & 0xFF) * a + ((bg >> shift) & 0xFF) * na + 127) / 255;
        out |= c << shift;
    }
    return out;
}

}  // namespace

void blendMask(Surface& s, const TextMask& mask, int x, int y, uint32_t color) {
    color &= kColorMask;
    // Work in 64 bits so that positions far off the surface cannot overflow.
    const int64_t x0 = std::max<int64_t>(x, 0);
    const int64_t y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + mask.width, s.width);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + mask.height, s.height);
    for (int64_t py = y0; py < y1; ++py) {
        const uint8_t* src = mask.alpha.data() + (py - y) * mask.width;
        uint32_t* dst = s.row(static_cast<int>(py));
        for (int64_t px = x0; px < x1; ++px) {
            const uint32_t a = src[px - x];
            if (a == 255) {
                dst[px] = color;
            } else if (a != 0) {
                dst[px] = mix(color, dst[px], a);
            }
        }
    }
}

const Font& Canvas::font() {
    if (!font_) font_ = &fonts_->get(fontName_, fontSize_);
    return *font_;
}

void Canvas::setFont(std::string_view name, int points) {
    if (name == fontName_ && points == fontSize_) return;
    fontName_ = std::string(name);
    fontSize_ = points;
    font_ = nullptr;
}

int Canvas::textWidth(std::string_view text) {
    return font().width(codePage_.toUtf8(text));
}

int Canvas::textHeight(std::string_view) {
    return font().height();
}

void Canvas::textOut(int x, int y, std::string_view text) {
    const std::string utf8 = codePage_.toUtf8(text);
    const Font& f = font();
    const int w = f.width(utf8);
    if (brushStyle_ == BrushStyle::Solid) {
        const int64_t right = std::min<int64_t>(int64_t{x} + w, target_->width);
        const int64_t bottom = std::min<int64_t>(int64_t{y} + f.height(), target_->height);
        target_->fillRect({x, y, static_cast<int>(right), static_cast<int>(bottom)}, brushColor_);
    }
    blendMask(*target_, f.render(utf8), x, y, fontColor_);
    pen_ = {static_cast<int>(std::min<int64_t>(int64_t{x} + w, INT32_MAX)), y};
}

void Canvas::lineTo(int x, int y) {
    // Pixel i of the line (0 <= i < n, n = the longer side) lies i steps along the
    // longer axis and round(i * minor / n) along the shorter one. Working out each
    // pixel directly lets the loop start and stop at the surface edges.
    const int64_t x0 = pen_.x, y0 = pen_.y;
    const int64_t dx = int64_t{x} - x0, dy = int64_t{y} - y0;
    pen_ = {x, y};
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0) return;
    const int64_t majorStart = xMajor ? x0 : y0;
    const int64_t minorStart = xMajor ? y0 : x0;
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minor = xMajor ? dy : dx;
    const int64_t majorLimit = xMajor ? target_->width : target_->height;
    const int64_t minorLimit = xMajor ? target_->height : target_->width;

    // Steps whose major coordinate lies in 0 .. majorLimit - 1.
    int64_t first = 0, last = n - 1;
    if (majorStep > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorLimit - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (majorLimit - 1));
        last = std::min(last, majorStart);
    }
    const uint32_t color = penColor_;
    for (int64_t i = first; i <= last; ++i) {
        // Rounded i * minor / n with halves away from the start, exact in integers.
        const Wide num = Wide{2} * i * std::llabs(minor) + n;
        const int64_t off = static_cast<int64_t>(num / (Wide{2} * n)) * (minor < 0 ? -1 : 1);
        const int64_t m = minorStart + off;
        if (m < 0 || m >= minorLimit) continue;
        const int64_t a = majorStart + i * majorStep;
        const int px = static_cast<int>(xMajor ? a : m);
        const int py = static_cast<int>(xMajor ? m : a);
        target_->row(py)[px] = color;
    }
}

void Canvas::fillRect(const Rect& r) {
    if (brushStyle_ == BrushStyle::Clear) return;
    target_->fillRect(r, brushColor_);
}

void Canvas::frameRect(const Rect& r) {
    if (brushStyle_ == BrushStyle::Clear || r.empty()) return;
    Surface& s = *target_;
    s.fillRect({r.left, r.top, r.right, r.top + 1}, brushColor_);
    s.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, brushColor_);
    s.fillRect({r.left, r.top, r.left + 1, r.bottom}, brushColor_);
    s.fillRect({r.right - 1, r.top, r.right, r.bottom}, brushColor_);
}

}  // namespace zk

#include "render/fade.h"

#include <algorithm>
#include <array>

#include "core/error.h"
#include "data/error_log.h"
#include "platform/platform.h"
#include "render/compose.h"
#include "render/overlays.h"

namespace zk {
namespace {

// The channel values of one step: c - k * (c / 8) for every c.
std::array<uint8_t, 256> stepTable(int k) {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - k * (c / 8));
    return t;
}

inline uint32_t mapPixel(const uint8_t* t, uint32_t v) {
    return (uint32_t{t[(v >> 16) & 0xFF]} << 16) | (uint32_t{t[(v >> 8) & 0xFF]} << 8) |
           t[v & 0xFF];
}

// While a fade runs the frame loop stands still; the flag is restored however the
// fade ends.
class FadingGuard {
  public:
    explicit FadingGuard(GameState& g) : g_(g), was_(g.scene.fading) { g_.scene.fading = true; }
    ~FadingGuard() { g_.scene.fading = was_; }
    FadingGuard(const FadingGuard&) = delete;
    FadingGuard& operator=(const FadingGuard&) = delete;

  private:
    GameState& g_;
    bool was_;
};

// Shows one fade step: the interface at full brightness on top in a play room, then
// the flip and the pause.
void showStep(GameState& g) {
    if (g.hasRoom() && g.room().isGameRoom()) {
        try {
            drawInterfacePass(g, g.dialogue.dialogueLayout.rect);
        } catch (const DataError& e) {
            reportError(g, e.what());  // the fade itself goes on
        }
    }
    g.platform->display.flip();
    g.platform->clock.wait(kFadeStepWait);
}

}  // namespace

void FadeBuffer::capture(const Surface& s) {
    width_ = s.width;
    height_ = s.height;
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = s.pixels[i] & kColorMask;
}

uint32_t FadeBuffer::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void FadeBuffer::darken(int step, Surface& s) {
    const auto table = stepTable(step);
    const int w = std::min(width_, s.width);
    for (int y = 0; y < height_; ++y) {
        uint32_t* src = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
        int x = 0;
        if (y < s.height) {
            uint32_t* dst = s.row(y);
            for (; x < w; ++x) dst[x] = src[x] = mapPixel(table.data(), src[x]);
        }
        for (; x < width_; ++x) src[x] = mapPixel(table.data(), src[x]);
    }
}

void FadeBuffer::brighten(int remaining, Surface& s) const {
    const auto table = stepTable(remaining);
    write(table.data(), s);
}

void FadeBuffer::write(const uint8_t* table, Surface& s) const {
    // Pixels outside the surface are skipped.
    const int w = std::min(width_, s.width);
    const int h = std::min(height_, s.height);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
        uint32_t* dst = s.row(y);
        for (int x = 0; x < w; ++x) dst[x] = mapPixel(table, src[x]);
    }
}

void fadeOut(GameState& g) {
    Display& display = g.platform->display;
    if (display.canDraw()) {
        FadingGuard guard(g);
        FadeBuffer buffer;
        buffer.capture(display.back());
        for (int step = 1; step <= kFadeSteps; ++step) {
            buffer.darken(step, display.back());
            showStep(g);
        }
    }
    g.scene.screenFaded = true;
}

void fadeIn(GameState& g) {
    g.scene.screenFaded = false;
    Display& display = g.platform->display;
    if (!display.canDraw()) return;
    FadingGuard guard(g);
    composeScene(g);
    FadeBuffer buffer;
    buffer.capture(display.back());
    for (int remaining = kFadeSteps - 1; remaining >= 0; --remaining) {
        buffer.brighten(remaining, display.back());
        showStep(g);
    }
    g.scene.screenFaded = false;
}

}  // namespace zk

#pragma once
#include <cstdint>
#include <vector>

#include "data/game_state.h"
#include "platform/surface.h"

namespace zk {

// Number of darkening or brightening steps of one fade; each step is one flip.
inline constexpr int kFadeSteps = 9;
// The pause after every fade step, in milliseconds.
inline constexpr uint32_t kFadeStepWait = 12;

// The picture a fade works on: a copy of the back surface taken when the fade starts,
// as large as the surface. Each colour channel c is scaled by steps of c / 8 (rounded
// down), so a full channel goes 255 -> 7 in eight steps and nothing drops below 0.
class FadeBuffer {
  public:
    // Copies the whole surface; the buffer takes its size.
    void capture(const Surface& s);
    int width() const { return width_; }
    int height() const { return height_; }
    // Stored pixel (0xRRGGBB); 0 outside the buffer.
    uint32_t pixel(int x, int y) const;

    // Fade-out step `step` (1 .. 9): every stored channel c becomes c - step * (c / 8),
    // so the darkening compounds from step to step; the result is written to `s`.
    void darken(int step, Surface& s);
    // Fade-in step with `remaining` steps to go (8 .. 0): writes every stored channel c
    // as c - remaining * (c / 8) to `s`, leaving the stored picture as it is.
    void brighten(int remaining, Surface& s) const;

  private:
    // Writes every stored pixel through a per-channel table to `s`.
    void write(const uint8_t* table, Surface& s) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;  // rows of width_ pixels, top row first
};

// Darkens what is on the back surface to nearly black in nine flipped steps, the
// interface staying at full brightness on top in a play room; the screen then stays
// faded (`screenFaded`) until the next fade-in. No frame runs meanwhile.
void fadeOut(GameState& g);
// Composes the current room afresh and brings it up from nearly black in nine
// flipped steps, the interface at full brightness on top in a play room.
void fadeIn(GameState& g);

}  // namespace zk

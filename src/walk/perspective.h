#pragma once
#include <cstdint>

namespace zk {

// How a figure's scale follows its screen row: `minScale` percent at `minScaleRow`,
// `maxScale` percent at `maxScaleRow`, linear between the two rows and held at the
// limits beyond them. The rows always come from the current room; the limits are the
// room's for the main character (slot 0) and the object's own for every other object,
// so the caller picks them.
struct Perspective {
    int32_t minScaleRow = 0;
    int32_t maxScaleRow = 0;
    int32_t minScale = 100;
    int32_t maxScale = 100;
};

// Scale in percent at a screen row (the y of the feet). Rounds halves to the even
// neighbour, then clamps to max and after that to min, so min above max always gives
// min. A room whose two rows are equal has no slope; it gives max (clamped the same way).
int32_t perspectiveScale(const Perspective& p, int32_t row);

}  // namespace zk

#pragma once
#include <vector>

#include "data/game_state.h"
#include "platform/surface.h"

namespace zk {

// The hotspot reveal: a marker on every point of g.scene.hotspots and its name beside
// it, each name moved clear of the names placed before it. Draws over the frame and
// leaves the canvas as it found it.
void drawHotspotMarks(const GameState& g);

// Where the names go: one rectangle (edges included) per hotspot, `widths` and
// `height` being the names' sizes, kept on a display of `width` x `displayHeight`.
std::vector<Rect> layoutHotspotNames(const std::vector<Hotspot>& hotspots,
                                     const std::vector<int>& widths, int height, int width,
                                     int displayHeight);

}  // namespace zk

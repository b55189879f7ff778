#pragma once
// The room's geometry drawn over a frame for authors (the debug keys and
// zelkin-inspect --preview): where characters walk, the zones and where they lead,
// the entrances, the objects' hit areas, anchors and depth base lines, and the walk.
#include <cstdint>

#include "data/game_state.h"
#include "platform/surface.h"

namespace zk {

enum GeometryLayer : unsigned {
    kGeometryMask = 1,       // walkable pixels tinted green, the rest red
    kGeometryZones = 2,      // zone rectangles, their walk points and targets
    kGeometryEntrances = 4,  // placement point, arrow to the walk-in point, name
    kGeometryObjects = 8,    // hit rectangle, anchor, base line and depth keys
    kGeometryPath = 16,      // the main character's current walk path
    kGeometryAll = 31,
};

// Draws the layers of the current room onto `target` (display pixels: room positions
// moved by the scene offset). Names and numbers are written with the platform's canvas
// when there is one.
void drawRoomGeometry(const GameState& g, Surface& target, unsigned layers);

}  // namespace zk

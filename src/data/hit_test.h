#pragma once
#include <cstdint>

#include "data/room_record.h"

namespace zk {

struct GameState;

// What lies under a screen point: the tests shared by the click dispatch, the cursor
// choice and the drawing of hints and highlights. Record values are taken in 64 bits,
// so rectangles and offsets near the 32-bit limits compare without overflow.

// The rectangle with its edges.
bool insideBox(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t x, int64_t y);
// A zone of the current room, moved by the scene offset. Enabled or not.
bool zoneUnder(const GameState& g, ConstZoneView zone, int x, int y);
// The inventory bar (interface picture 1) where its picture is not transparent.
bool inventoryBarUnder(const GameState& g, int x, int y);
// Inventory slot i's rectangle.
bool slotUnder(const GameState& g, int i, int x, int y);
// The cursor picture fits into slot i (without a cursor picture, anything fits).
bool cursorFitsSlot(const GameState& g, int i);

}  // namespace zk

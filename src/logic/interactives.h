#pragma once
// The things of the current room the player can use, for the players who do not
// point with a mouse: jumps from one to the next, and the hotspot reveal.
#include <string>
#include <vector>

#include "data/game_state.h"

namespace zk {

struct Interactive {
    enum class Kind { Object, Zone, Slot, Choice };
    Kind kind = Kind::Object;
    int index = 0;     // the room object, zone, inventory slot or dialogue choice
    std::string name;  // as the game shows it, in the game's code page
    int x = 0;         // a display point where the cursor hovers it for sure
    int y = 0;
};

// With a dialogue open, its choices; otherwise the active, shown, named room objects
// that the hit test finds at some point on the screen (each at such a point, near its
// middle, that no other object covers), the enabled zones (at a point in them that
// no object covers and that no earlier zone takes), and in a play room the inventory
// slots holding an item. In reading order: rows from the top, left to right in a row.
std::vector<Interactive> interactiveThings(GameState& g);

// The thing a jump from the cursor at (x, y) goes to: the next one in reading order
// (or the previous one, `forward` false), going round at the ends; the one after the
// thing the cursor is on when it is on one. -1 for an empty list.
int jumpTarget(const std::vector<Interactive>& things, int x, int y, bool forward);

}  // namespace zk

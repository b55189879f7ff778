#pragma once
// Character walking and room change. One character walks at a time: a walk follows the
// path found over the current room's walk mask, one point per logic tick, shows the
// walking picture list of its direction and turns to a standing one at the end, while
// the depth of the room's other objects follows the main character (room object 0).
#include <string>
#include <string_view>

#include "data/game_state.h"

namespace zk {

// Runs the "walkto" command at `position` of queue slot `slot` (p1 the character,
// "<self>" allowed; p4 the final facing; num1, num2 the target; num3 = 1 to wait) and
// clears its verb: the command is done at once. With the wait flag a "waitforchar" for
// the same character and target is inserted right after it. A character that is not in
// the current room makes the command do nothing.
void walkTo(GameState& g, int slot, int position);

// Starts a walk of room object `walker` of the current room towards `target`, replacing
// any walk in progress. `target` stays the walk's identity (g.walk.target) even when the
// path ends elsewhere (an odd pixel, unwalkable ground). When no step can be taken (no
// route at all, or the walker already stands on the path's only point) the walk ends at
// once, turning the walker to its final facing.
void startWalk(GameState& g, int walker, WalkPoint target, std::string_view finalFacing);

// Runs the "waitforchar" command at `position` of queue slot `slot` (p1 the character,
// num1, num2 the target it waits for). Returns true when the script may go on this
// tick (the verb is then cleared): the walk towards that target has brought the
// character onto the last point of its path, or the character stands exactly on the
// target. When the walk was replaced by one with another target, the command is cleared
// and the command or "begin" ... "end" block after it is skipped; the script still
// holds for this tick unless the character already stands where it was sent. A
// character that is not in the current room makes the command done at once.
bool waitForChar(GameState& g, int slot, int position);

// One step of the walk in progress: moves the walker onto the next path point, or ends
// the walk once the last point has been taken. Does nothing while nobody walks.
void walkingStep(GameState& g);

// "stopchar": ends the walk where the walker stands, keeping its picture list.
void stopChar(GameState& g);

// "changeroom": ends any walk and enters `room` ("<actual>" allowed). In a play room the
// main character is placed at every entrance named `entrance` in turn and walks in
// from the last of them; other rooms put the held item aside for "backtogame". A room
// name that matches no room does nothing.
void changeRoom(GameState& g, const std::string& room, const std::string& entrance);

// "setcharspr" and the end of a walk: turns object `index` of room `room` to its
// standing picture list for "<left>", "<right>", "<up>" or "<down>". Any other text, or
// a direction whose picture list name is empty, changes nothing. Returns whether the
// look changed.
bool setStandingSprite(GameState& g, int room, int index, std::string_view facing);

}  // namespace zk

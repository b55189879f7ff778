#pragma once
#include "data/game_state.h"

namespace zk {

inline constexpr int kTickMs = 25;  // game time of one logic tick

// One logic step (25 ms of game time): rain, the running-event listing, key events,
// hint timers, animations, object timers, the scripts, the cursor animation and the
// walk.
void logicTick(GameState& g);

// The left-button press at (mouseX, mouseY): ends an awaited hint, answers the open
// dialogue, or goes to the object under the cursor, the inventory bar, a zone or the
// floor, in that order of precedence.
void clickDispatch(GameState& g);

// Finds the object under the cursor and fires its enter and leave events.
void hoverUpdate(GameState& g);

// The right-button press: puts the held item back into the first free slot it fits.
void returnHeldItem(GameState& g);

// Switches the player's language and rebuilds every translated text: zone hints,
// object names, the room title and the inventory labels. Nothing happens when
// `language` is already the current one.
void setLanguage(GameState& g, int language);

// The debug room jump: queues a change to room `roomListIndex` of g.tables.roomList, at the
// last named entrance of that room. Only while the game is loaded.
void ListBox1DblClick(GameState& g, int roomListIndex);

// The running-event listing that the tick keeps in g.scripts.runningEvents, built from the
// queue as it stands.
std::vector<std::string> runningEventListing(const EventQueue& queue);

}  // namespace zk

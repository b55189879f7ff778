#pragma once
#include <string>

#include "data/game_state.h"

namespace zk {

// Starts the current room's music (or stops it when the room has none).
void playRoomMusic(GameState& g);
// Restarts the room's music from the start when the player has stopped.
void restartMusicIfStopped(GameState& g);
// Starts sound `index` of the interface sound list.
void playSound(GameState& g, int index);
// "playsnd": loads the object's wave list and starts its sound named `sound`.
void playObjectSound(GameState& g, const std::string& object, const std::string& sound);

}  // namespace zk

#pragma once
#include <cstdint>
#include <string>

#include "data/game_state.h"

namespace zk {

struct HeadlessPlatform;
class EngineMenu;

// The game state as the JSON object of a headless "state" command.
// `menu`: the engine menu of the run; null: none, shown closed.
std::string stateDump(const GameState& g, const HeadlessPlatform& platform, int64_t frame,
                      const EngineMenu* menu = nullptr);

}  // namespace zk

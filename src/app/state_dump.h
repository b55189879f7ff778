#pragma once
#include <cstdint>
#include <string>

#include "data/game_state.h"

namespace zk {

struct HeadlessPlatform;

// The game state as the JSON object of a headless "state" command.
std::string stateDump(const GameState& g, const HeadlessPlatform& platform, int64_t frame);

}  // namespace zk

#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "fuzz_seeds.h"
#include "support/game_builder.h"

namespace zk::fuzz {

// The record file that the first byte of a "records" input names (modulo the count).
enum class RecordFile : uint8_t { Music, Cursors, Objects, Preferences, Inventory, Rooms, Count };

// A small game that uses most of what a package can hold: three rooms (two play rooms
// joined by zones and entrances, a menu room), a party member, items, timers, dialogue,
// saving and loading, fades, music, sounds and two languages, on a 320 x 240 display.
test::GameBuilder fuzzGame();

std::vector<Seed> recordSeeds();
std::vector<Seed> languageSeeds();
// Whole packages, as archive images and as archive bytes; files are made in `folder`.
std::vector<Seed> packageSeeds(const std::filesystem::path& folder);
// A slot saved by fuzzGame(), as members and as archive bytes.
std::vector<Seed> slotSeeds(const std::filesystem::path& folder);

std::vector<uint8_t> readFile(const std::filesystem::path& path);

}  // namespace zk::fuzz

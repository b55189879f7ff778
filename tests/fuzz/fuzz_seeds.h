#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk::fuzz {

struct Seed {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Seed inputs made by the writers and byte builders, for the targets "picture_list",
// "wave_list", "dib", "records", "language", "startup" and "save_slot". Unknown
// targets have none.
std::vector<Seed> seedsFor(std::string_view target);

}  // namespace zk::fuzz

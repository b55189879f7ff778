#pragma once
#include <filesystem>

namespace zk::tools {

// Writes a small complete game into `folder` (which must not exist or be empty): two
// rooms joined by exits, the main character, an item, a dialogue, the interface sounds,
// languages.txt and a test script in tests/. It packs without warnings. Throws
// DataError when the folder cannot be used.
void writeStarterGame(const std::filesystem::path& folder);

}  // namespace zk::tools

#pragma once
#include <filesystem>
#include <string>

#include "platform/surface.h"

namespace zk {

// Room `room` of a game package as the engine shows it on entry (nothing is played:
// no script runs), with all of its geometry drawn over it. Throws DataError when the
// game cannot start or has no such room.
Surface roomPreview(const std::filesystem::path& package, const std::string& room);

}  // namespace zk

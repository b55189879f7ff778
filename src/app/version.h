#pragma once
#include <string>

#include "core/version.h"

namespace zk {
// The window's caption until the game's title replaces it.
inline constexpr const char* kEngineCaption = "Zelkin engine v 0.9";
inline std::string versionLine() {
    return std::string("zelkin ") + kZelkinVersion + " (" + kEngineCaption + ")";
}
}  // namespace zk

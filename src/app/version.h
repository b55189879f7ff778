#pragma once

namespace zk {
inline constexpr const char* kEngineCaption = "Zelkin engine v 0.9";
inline constexpr const char* kVersionLine = "zelkin 0.9.0 (Zelkin engine v 0.9)";
}  // namespace zk

#pragma once
#include <string>

#include "platform/surface.h"

namespace zk {

// Writes the surface as an RGB PNG file (no alpha channel). Needs no window.
// Throws PlatformError when the file cannot be written.
void writePng(const Surface& surface, const std::string& path);

}  // namespace zk

#pragma once
#include <functional>

#include "app/command_line.h"
#include "platform/surface.h"

namespace zk {

class SourceGame;

// Runs the game without a window, driven by an input script, and returns the exit
// status (0 normal end, 1 the game could not start or stopped on an error, 2 a bad
// input script).
// `source`: the source folder the package was packed from (null: a package).
// `shown`, when given, sees every flipped frame after those the run itself looks at
// (a web page shows them on its canvas).
int runHeadless(const CommandLine& options, const std::string& executableDir,
                SourceGame* source = nullptr, std::function<void(const Surface&)> shown = {});

}  // namespace zk

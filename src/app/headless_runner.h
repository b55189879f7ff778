#pragma once
#include "app/command_line.h"

namespace zk {

// Runs the game without a window, driven by an input script, and returns the exit
// status (0 normal end, 1 the game could not start or stopped on an error, 2 a bad
// input script).
int runHeadless(const CommandLine& options, const std::string& executableDir);

}  // namespace zk

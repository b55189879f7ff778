#pragma once
#include <string>

#include "app/command_line.h"

namespace zk {

class SourceGame;

// Plays the game in a window until it is closed or the game ends; returns the exit
// status (0 normal end, 1 the game could not start or stopped on an error).
// `source`: the source folder the package was packed from (null: a package).
int runWindowed(const CommandLine& options, const std::string& executableDir,
                SourceGame* source = nullptr);

}  // namespace zk

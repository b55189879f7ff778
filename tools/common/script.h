#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page.h"
#include "data/script_vocabulary.h"
#include "diagnostics.h"

namespace zk::tools {

// The script words come from the engine's vocabulary (data/script_vocabulary.h).
// The verb of a script line; nothing for an unknown one.
const ScriptVerb* findVerb(std::string_view name);
std::vector<std::string> verbNames();

// A command as the script wrote it, for the reference checks.
struct ScriptCommand {
    int position = 0;  // 0..19
    int line = 0;      // line in the source file
    const ScriptVerb* verb = nullptr;
};

// Parses a script into the 20 commands at `commands` (20 x 452 bytes). Every command's
// `self` is `self` unless the line names another. `firstLine` is the source line of
// the script's first line. Mistakes are reported to `diag` under `file`.
std::vector<ScriptCommand> parseScript(std::string_view script, int firstLine,
                                       const std::string& file, const std::string& context,
                                       std::span<uint8_t> commands, std::string_view self,
                                       Diagnostics& diag, const CodePage& page = {});

// The script text of 20 commands, the inverse of parseScript: parsing it with the same
// `self` gives the same bytes in every field. Empty when no command holds anything.
std::string formatScript(std::span<const uint8_t> commands, std::string_view self,
                         const CodePage& page = {});

// True when command k holds nothing but `self` as its owner name.
bool commandIsBlank(std::span<const uint8_t> commands, int k, std::string_view self);

// One parameter as a script writes it (quoted when needed); record bytes in.
std::string scriptToken(std::string_view recordText, const CodePage& page = {});

}  // namespace zk::tools

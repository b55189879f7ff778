#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.h"

namespace zk::tools {

// What a script parameter names, for the checks of the package builder.
enum class Ref {
    None,
    Object,    // "<self>" or an object template name
    Template,  // an object template name
    Room,      // "<actual>" or a room name
    Entrance,  // an entrance of the verb's room
    Cursor,
    Music,    // a music name, or empty
    Sound,    // a sound of the verb's object
    Picture,  // a picture list of the verb's owner (objects) or room (backgrounds)
    Facing,   // "<left>", "<right>", "<up>", "<down>", "<nochange>" or empty
};

struct VerbParam {
    std::string_view name;   // the name used in scripts: "who", "room"...
    std::string_view field;  // the command field: "p1", "num1", "text"...
    Ref ref = Ref::None;
};

struct Verb {
    std::string_view name;
    std::vector<VerbParam> params;  // in the order of positional parameters
};

// Every command the engine runs, in the order the engine tests them.
const std::vector<Verb>& verbs();
const Verb* findVerb(std::string_view name);
std::vector<std::string> verbNames();

// Event names the engine knows.
const std::vector<std::string_view>& eventNames();
bool knownEvent(std::string_view name);

// A command as the script wrote it, for the reference checks.
struct ScriptCommand {
    int position = 0;  // 0..19
    int line = 0;      // line in the source file
    const Verb* verb = nullptr;
};

// Parses a script into the 20 commands at `commands` (20 x 452 bytes). Every command's
// `self` is `self` unless the line names another. `firstLine` is the source line of
// the script's first line. Mistakes are reported to `diag` under `file`.
std::vector<ScriptCommand> parseScript(std::string_view script, int firstLine,
                                       const std::string& file, const std::string& context,
                                       std::span<uint8_t> commands, std::string_view self,
                                       Diagnostics& diag);

// The script text of 20 commands, the inverse of parseScript: parsing it with the same
// `self` gives the same bytes in every field. Empty when no command holds anything.
std::string formatScript(std::span<const uint8_t> commands, std::string_view self);

// True when command k holds nothing but `self` as its owner name.
bool commandIsBlank(std::span<const uint8_t> commands, int k, std::string_view self);

// One parameter as a script writes it (quoted when needed); record bytes in.
std::string scriptToken(std::string_view recordText);

}  // namespace zk::tools

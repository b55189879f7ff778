#pragma once
#include <string>
#include <vector>

namespace zk {

// One step of a headless input script. Composite commands ("click", "key") are
// expanded into these when the script is read.
struct ScriptStep {
    enum class Kind {
        Wait,        // run `count` frames
        Move,        // next refresh: motion that brings the cursor to (x, y)
        Motion,      // next refresh: exactly (x, y) of relative motion
        Button,      // button `count` (1 left, 2 right) down (`down`) or up
        Key,         // logical key `count` (0..4) down or up
        Screenshot,  // write the last flipped frame as NAME.png
        Shots,       // write every flip as NAME-0001.png ...; empty name: stop
        State,       // write the state dump as NAME.json
        Quit,
        EngineKey,  // engine key `count` pressed, seen by the next refresh
        Pad,        // gamepad button `count` (PadButton) down or up
        Stick,      // the left stick at (x, y), from the next refresh on
        Touch,      // a finger down (`down`) or up at (x, y), seen by the next refresh
        LongPress,  // a finger held at (x, y) for a long press, then let go
        Hotspots,   // the hotspot reveal key held (`down`) or let go
    };
    Kind kind = Kind::Wait;
    int line = 0;
    long long count = 0;
    int x = 0;
    int y = 0;
    bool down = false;
    std::string name;
};

struct InputScript {
    std::vector<ScriptStep> steps;
    std::string error;  // "line N: reason" for a bad script
};

InputScript parseInputScript(const std::string& text);
// Reads and parses FILE; a file that cannot be read is an error too.
InputScript loadInputScript(const std::string& path);

// Key names of scripts: "space", "enter", "escape", "f4", "f10" -> 0..4, else -1.
int keyNumber(const std::string& name);
// Gamepad button names of scripts, as the settings name them ("a", "lb", ...) ->
// PadButton, else -1.
int padButtonNumber(const std::string& name);

}  // namespace zk

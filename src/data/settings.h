#pragma once
// The player's settings: how this player wants every game to sound, look and read.
// They live outside the package and beside the game state, never in a record or a
// save slot, and their defaults change nothing of how a game plays.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// How the game picture fills the window: `Auto` takes whole multiples where they
// fill most of it, `Integer` only whole multiples, `Fit` as large as fits with the
// aspect kept, `Stretch` the whole window.
enum class ScaleMode { Auto, Integer, Fit, Stretch };
// Nearest pixels (`Sharp`) or a linear blend (`Smooth`) when the picture is scaled.
enum class ScaleFilter { Sharp, Smooth };
// How a text that a script waits for ends: when its time is up or at a click, as the
// game has it (`Game`), or only at a click (`Clicks`).
enum class TextSkip { Game, Clicks };

// The keys that move the game's cursor from the keyboard (SDL key names). A modifier
// bound as a click clicks when it is let go with no other key pressed meanwhile, so
// that Alt+Enter and the like stay shortcuts.
struct CursorKeys {
    std::string up = "Up";
    std::string down = "Down";
    std::string left = "Left";
    std::string right = "Right";
    std::string click = "Left Ctrl";
    std::string rightClick = "Left Alt";
    bool operator==(const CursorKeys&) const = default;
};

// Gamepad buttons as the settings name them, in the order of PadButton.
inline constexpr std::array<std::string_view, 16> kPadButtonNames = {
    "a",    "b",     "x",  "y",  "start",     "back",       "up", "down",
    "left", "right", "lb", "rb", "leftstick", "rightstick", "lt", "rt"};
// What a gamepad button can do: the game's two buttons and five keys, the engine
// menu, jumps to the previous and next interactive thing, the hotspot reveal, the
// slow cursor, the cursor's four directions, or nothing.
inline constexpr std::array<std::string_view, 17> kPadActions = {
    "click", "rightClick", "space", "enter", "escape", "f4",   "f10",   "menu", "previous",
    "next",  "hotspots",   "slow",  "up",    "down",   "left", "right", "none"};

struct Settings {
    // Percent of the volume the game sets; 100 plays it as the game has it.
    int musicVolume = 100;
    int soundVolume = 100;
    bool muted = false;

    // Empty: the game's own start-up mode (or the command line's).
    std::optional<bool> fullScreen;
    // The window's size and place when it was last closed; 0 / empty: as the game
    // and the command line size it, centred.
    int windowWidth = 0;
    int windowHeight = 0;
    std::optional<int> windowX;
    std::optional<int> windowY;
    ScaleMode scaleMode = ScaleMode::Auto;
    ScaleFilter filter = ScaleFilter::Sharp;
    int display = 0;  // which monitor, counted from 0

    // Percent of the game's time for a text to stay; 200 keeps texts twice as long.
    int textSpeed = 100;
    TextSkip textSkip = TextSkip::Game;
    // One of the game's language columns; empty: the language the game starts in.
    std::optional<int> language;
    bool autosave = true;

    // Devices: gamepad button -> engine action, and the keyboard cursor.
    bool gamepad = true;
    std::map<std::string, std::string> gamepadButtons = {
        {"a", "click"},
        {"b", "rightClick"},
        {"x", "space"},
        {"y", "enter"},
        {"start", "escape"},
        {"back", "menu"},
        {"up", "up"},
        {"down", "down"},
        {"left", "left"},
        {"right", "right"},
        {"lb", "previous"},
        {"rb", "next"},
        {"leftstick", "hotspots"},
        {"rightstick", "hotspots"},
        {"lt", "slow"},
        {"rt", "slow"},
    };
    bool keyboardCursor = true;
    CursorKeys cursorKeys;
    // Held to show every interactive thing of the room.
    std::string hotspotKey = "H";

    // Self-voicing of the game's texts.
    bool speech = false;
    std::string voice;     // empty: the system's default voice
    int speechRate = 100;  // percent of the voice's normal rate
    std::string speechKey = "V";

    bool operator==(const Settings&) const = default;
};

std::string_view scaleModeName(ScaleMode mode);
std::string_view filterName(ScaleFilter filter);
std::string_view textSkipName(TextSkip skip);

// Limits of the numeric settings.
inline constexpr int kMaxVolumePercent = 100;
inline constexpr int kMinTextSpeed = 25;
inline constexpr int kMaxTextSpeed = 400;

// The outcome of reading a settings file: what it set, applied over the settings it
// was read onto, and one line for each thing that could not be used ("line 4:
// musicVolume must be a whole number from 0 to 100"). A key the engine does not know
// is reported and ignored; a line that is not TOML is reported and the rest of the
// file still applies. `damaged` means nothing of the file could be used.
struct SettingsRead {
    Settings settings;
    std::vector<std::string> problems;
    bool damaged = false;
};
SettingsRead readSettings(std::string_view toml, const Settings& base);

// The TOML text of the settings of `s` that differ from `base`: a game's file written
// over the global one leaves the global one in charge of what the player never
// changed for this game. readSettings(settingsToml(s, base), base) gives back s.
std::string settingsToml(const Settings& s, const Settings& base = Settings{});

}  // namespace zk

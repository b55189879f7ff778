#include "app/command_line.h"

#include <charconv>

namespace zk {
namespace {

template <typename T>
bool parseNumber(const std::string& text, T& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

CommandLineResult parseCommandLine(const std::vector<std::string>& args) {
    CommandLineResult r;
    CommandLine& o = r.options;
    auto fail = [&](const std::string& message) {
        r.error = message;
        return r;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--headless") {
            o.headless = true;
        } else if (a == "--windowed") {
            o.fullScreen = false;
        } else if (a == "--fullscreen") {
            o.fullScreen = true;
        } else if (a == "--debug") {
            o.debug = true;
        } else if (a == "--continue") {
            o.continueGame = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--watch") {
            o.watch = true;
        } else if (a == "--room") {
            if (!value(o.startRoom)) return fail("--room needs a room name");
        } else if (a == "--entrance") {
            if (!value(o.startEntrance)) return fail("--entrance needs an entrance name");
        } else if (a == "--input") {
            if (!value(o.inputFile)) return fail("--input needs a file name");
        } else if (a == "--out") {
            if (!value(o.outDir)) return fail("--out needs a folder");
        } else if (a == "--settings") {
            if (!value(o.settingsFile)) return fail("--settings needs a file name");
        } else if (a == "--save-dir") {
            if (!value(o.saveDir)) return fail("--save-dir needs a folder");
        } else if (a == "--frames") {
            int64_t n = 0;
            if (!value(v) || !parseNumber(v, n) || n < 0)
                return fail("--frames needs a number of frames (0 or more)");
            o.frames = n;
        } else if (a == "--frame-ms") {
            int n = 0;
            if (!value(v) || !parseNumber(v, n) || n < 0)
                return fail("--frame-ms needs a number of milliseconds (0 or more)");
            o.frameMs = n;
        } else if (a == "--seed") {
            uint32_t n = 0;
            if (!value(v) || !parseNumber(v, n)) return fail("--seed needs a number");
            o.seed = n;
        } else if (a == "--scale") {
            int n = 0;
            if (!value(v) || !parseNumber(v, n) || n < 1 || n > 16)
                return fail("--scale needs a whole factor from 1 to 16");
            o.scale = n;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return fail("unknown option " + a + " (see --help)");
        } else if (o.packagePath.empty()) {
            o.packagePath = a;
        } else {
            return fail("more than one package given: " + o.packagePath + " and " + a);
        }
    }
    if (!o.startEntrance.empty() && o.startRoom.empty())
        return fail("--entrance needs --room: the entrance of which room?");
    return r;
}

std::string usageText() {
    return "Usage: zelkin [PACKAGE] [OPTIONS]\n"
           "Plays a Zelkin game package (default: Tolvan.tgp beside the executable),\n"
           "or a source folder of zelkin-pack, packed on the fly.\n"
           "\n"
           "  --headless        no window and no audio device; virtual time\n"
           "  --input FILE      headless: run the input script FILE\n"
           "  --frames N        headless: end the run after N frames\n"
           "  --frame-ms N      headless: virtual milliseconds per frame (default 25)\n"
           "  --out DIR         headless: folder for screenshots and state dumps\n"
           "  --seed N          seed of the random generator\n"
           "  --save-dir DIR    folder of the save slots (default: the game's own folder\n"
           "                    in $XDG_DATA_HOME/zelkin; a file named 'portable' beside\n"
           "                    the executable keeps them in saves/ beside it)\n"
           "  --continue        resume the game from its autosave\n"
           "  --settings FILE   player settings (TOML) instead of the player's own\n"
           "                    ($XDG_CONFIG_HOME/zelkin/GAME.toml over zelkin.toml)\n"
           "  --windowed        start in a window\n"
           "  --fullscreen      start full screen\n"
           "  --scale N         open the window at N times the game's size\n"
           "  --debug           show the running events, the room list and the warnings;\n"
           "                    F5..F8 draw the walk mask, zones, entrances, objects\n"
           "  --room NAME       start in room NAME (for authors testing a room)\n"
           "  --entrance NAME   ...with the main character at its entrance NAME\n"
           "  --watch           a source folder: pack and reload it when a file changes\n"
           "  --version         print the version and exit\n"
           "  --help            print this help and exit\n"
           "\n"
           "In a window: F1 opens the engine menu (resume, save, load, settings,\n"
           "controls, quit; mouse or arrows, Enter, Escape). Alt+Enter switches to full\n"
           "screen, F12 saves a screenshot. Without a mouse: a gamepad, or the arrows\n"
           "(Tab jumps, Left Ctrl clicks, Left Alt right-clicks), or touch; hold H to\n"
           "show what can be used.\n"
           "\n"
           "Exit status: 0 normal end, 1 the game could not start or stopped on an error,\n"
           "2 bad command line or input script.\n";
}

}  // namespace zk

#include "app/headless_runner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/input_script.h"
#include "app/main_window.h"
#include "app/source_game.h"
#include "app/state_dump.h"
#include "core/error.h"
#include "logic/virtual_mouse.h"
#include "platform/error_report.h"
#include "platform/headless/headless_platform.h"
#include "platform/png.h"

namespace zk {
namespace {

constexpr int64_t kWatchFrames = 40;

class Runner {
  public:
    Runner(const CommandLine& options, const std::string& executableDir, SourceGame* source,
           const Settings& settings, std::function<void(const Surface&)> shown)
        : options_(options),
          shown_(std::move(shown)),
          outDir_(options.outDir),
          platformView_(headless_.platform()),
          watched_(platformView_, windowOptions(options, executableDir, settings), source) {}

    int run(const InputScript& script) {
        try {
            window().FormCreate();
            load();
        } catch (const std::exception& e) {
            std::cerr << "zelkin: "
                      << printableLine(e.what(), window().game().tables.metadata.codePage) << '\n';
            return 1;
        }
        if (window().finished()) return window().exitStatus();
        headless_.display.onFlip = [this](const Surface& frame) { onFlip(frame); };
        try {
            bool scriptEnded = true;
            for (const ScriptStep& step : script.steps) {
                if (!runStep(step)) {
                    scriptEnded = false;
                    break;
                }
            }
            if (scriptEnded && options_.frames) {
                while (!stopped()) frame();
            } else if (scriptEnded && options_.inputFile.empty()) {
                while (!window().finished()) frame();
            }
        } catch (const std::exception& e) {
            std::cerr << "zelkin: "
                      << printableLine(e.what(), window().game().tables.metadata.codePage) << '\n';
            return 1;
        }
        window().FormClose();
        return status();
    }

    ~Runner() {
        if (window().finished() && !window().exitReason().empty())
            std::cerr << "zelkin: "
                      << printableLine(window().exitReason(),
                                       window().game().tables.metadata.codePage)
                      << '\n';
    }

  private:
    static WindowOptions windowOptions(const CommandLine& o, const std::string& executableDir,
                                       const Settings& settings) {
        WindowOptions w;
        w.packagePath = o.packagePath;
        w.executableDir = executableDir;
        w.saveDir = o.saveDir;
        w.fullScreen = o.fullScreen;
        w.seed = o.seed.value_or(1);
        w.debug = o.debug;
        w.continueGame = o.continueGame;
        w.startRoom = o.startRoom;
        w.startEntrance = o.startEntrance;
        // A headless run autosaves only when its settings turn the autosave on; then,
        // as with --continue, the option names the player's folder.
        w.autosave = settings.autosave;
        w.playerSaveFolder = w.continueGame || w.autosave;
        w.settingsStore = [settings](const std::string&) {
            return std::make_unique<MemorySettingsStore>(settings);
        };
        return w;
    }

    MainWindow& window() { return watched_.window(); }
    const MainWindow& window() const { return watched_.window(); }
    void load() {
        window().Timer2Timer();  // the waiting message
        window().Timer2Timer();  // the loader, to its end before the first frame
    }

    int status() const { return window().finished() ? window().exitStatus() : 0; }
    bool stopped() const {
        return quit_ || window().finished() || (options_.frames && frame_ >= *options_.frames);
    }

    void frame() {
        // A watched folder is looked at about once a second of game time.
        if (options_.watch && frame_ % kWatchFrames == 0 && frame_ > 0 &&
            watched_.reloadIfChanged(std::cerr))
            load();
        headless_.clock.advance(static_cast<uint32_t>(options_.frameMs));
        window().DXTimer1Timer();
        ++frame_;
    }

    // Runs one step; false when the run ends.
    bool runStep(const ScriptStep& s) {
        using K = ScriptStep::Kind;
        const GameState& g = window().game();
        switch (s.kind) {
            case K::Wait:
                for (long long i = 0; i < s.count; ++i) {
                    if (stopped()) return false;
                    frame();
                }
                return !stopped();
            case K::Move: {
                const DeviceReading& pending = headless_.input.pending();
                headless_.input.addMotion(s.x - g.input.mouseX - pending.dx,
                                          s.y - g.input.mouseY - pending.dy);
                return true;
            }
            case K::Motion:
                headless_.input.addMotion(s.x, s.y);
                return true;
            case K::Button:
                headless_.input.setButton(static_cast<int>(s.count), s.down);
                return true;
            case K::Key:
                headless_.input.setKey(static_cast<int>(s.count), s.down);
                return true;
            case K::Screenshot:
                writeShot(headless_.display.lastFrame(), s.name + ".png");
                return true;
            case K::Shots:
                shotsName_ = s.name;
                shotsCount_ = 0;
                return true;
            case K::State: {
                std::filesystem::create_directories(outDir_);
                std::ofstream out(outDir_ / (s.name + ".json"), std::ios::binary | std::ios::trunc);
                out << stateDump(g, headless_, frame_, &window().engineMenu());
                if (!out)
                    throw DataError("Cannot write " + (outDir_ / (s.name + ".json")).string());
                return true;
            }
            case K::EngineKey:
                headless_.input.pressEngineKey(static_cast<int>(s.count));
                return true;
            case K::Pad:
                headless_.input.setPadButton(static_cast<int>(s.count), s.down);
                return true;
            case K::Stick:
                headless_.input.setStick(s.x, s.y);
                return true;
            case K::Touch:
                headless_.input.addTouch(
                    {.kind = s.down ? TouchEvent::Kind::Down : TouchEvent::Kind::Up,
                     .x = s.x,
                     .y = s.y});
                return true;
            case K::LongPress: {
                // Down, held until the press is long, then let go: the frames that takes
                // at this run's frame length.
                const long long ms = std::max(1, options_.frameMs);
                const long long held = (kLongPressMs + ms - 1) / ms + 1;
                headless_.input.addTouch({.kind = TouchEvent::Kind::Down, .x = s.x, .y = s.y});
                if (!runStep({.kind = K::Wait, .count = held})) return false;
                headless_.input.addTouch({.kind = TouchEvent::Kind::Up, .x = s.x, .y = s.y});
                return runStep({.kind = K::Wait, .count = 1});
            }
            case K::Hotspots:
                headless_.input.setDeviceKey(DeviceHotspots, s.down);
                return true;
            case K::Quit:
                quit_ = true;
                return false;
        }
        return true;
    }

    void writeShot(const Surface& frame, const std::string& name) {
        std::filesystem::create_directories(outDir_);
        writePng(frame, (outDir_ / name).string());
    }

    void onFlip(const Surface& frame) {
        if (shown_) shown_(frame);
        if (shotsName_.empty()) return;
        char number[32];
        std::snprintf(number, sizeof number, "-%04d.png", ++shotsCount_);
        writeShot(frame, shotsName_ + number);
    }

    const CommandLine& options_;
    std::function<void(const Surface&)> shown_;
    std::filesystem::path outDir_;
    HeadlessPlatform headless_;
    Platform platformView_;
    WatchedGame watched_;
    int64_t frame_ = 0;
    bool quit_ = false;
    std::string shotsName_;
    int shotsCount_ = 0;
};

}  // namespace

int runHeadless(const CommandLine& options, const std::string& executableDir, SourceGame* source,
                std::function<void(const Surface&)> shown) {
    InputScript script;
    if (!options.inputFile.empty()) {
        script = loadInputScript(options.inputFile);
        if (!script.error.empty()) {
            std::cerr << "zelkin: " << options.inputFile << ": " << script.error << '\n';
            return 2;
        }
    }
    // The run's own settings: the defaults, without the autosave, unless a file
    // names others. Its problems are told before the game starts.
    Settings settings;
    settings.autosave = false;
    if (!options.settingsFile.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(options.settingsFile, ec)) {
            std::cerr << "zelkin: cannot read the settings file '" << options.settingsFile << "'\n";
            return 2;
        }
        std::vector<std::string> problems;
        settings = readSettingsFile(options.settingsFile, settings, problems);
        for (const std::string& p : problems) std::cerr << "zelkin: " << p << '\n';
    }
    Runner runner(options, executableDir, options.watch ? source : nullptr, settings,
                  std::move(shown));
    return runner.run(script);
}

}  // namespace zk

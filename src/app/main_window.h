#pragma once
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/debug_overlay.h"
#include "app/engine_menu.h"
#include "data/game_state.h"
#include "data/settings_store.h"
#include "logic/virtual_mouse.h"
#include "package/extraction_folder.h"
#include "package/package.h"
#include "platform/platform.h"

namespace zk {

// What the main window needs from the command line.
struct WindowOptions {
    std::filesystem::path packagePath;  // as given; empty: the default package
    std::filesystem::path executableDir;
    std::filesystem::path saveDir;   // empty: the default save folder
    std::optional<bool> fullScreen;  // overrides the package's start-up mode
    std::optional<uint32_t> seed;
    bool debug = false;
    // Without saveDir, saves go to the player's folder of this game (a window, or a
    // headless run whose options name the autosave); else to a folder private to the
    // run, removed at its end, so that runs never see the player's saves.
    bool playerSaveFolder = false;
    // At the first start of a game, copy its slots from the folders that earlier
    // engines shared between games (a window).
    bool copyOldSaves = false;
    // Autosave when the player quits in a play room and every few minutes of play.
    bool autosave = false;
    // Resume from the autosave after start-up ("--continue").
    bool continueGame = false;
    std::ostream* notes = nullptr;  // lines for the player; null: standard error
    // "--room", "--entrance": start in this room, at this entrance (for authors).
    std::string startRoom;
    std::string startEntrance;
    // With startRoom: the main character's position there (a reload keeps it).
    std::optional<std::pair<int32_t, int32_t>> startAt;
    // Where the player's settings are kept, made once the game's identity is known;
    // null: the defaults, kept in memory.
    std::function<std::unique_ptr<SettingsStore>(const std::string& gameId)> settingsStore;
    // Told the settings once they are read (before the display opens) and after every
    // change: the window applies what is its own (placement, scaling, filter).
    std::function<void(const Settings&)> settingsChanged;
};

// The default package: "Tolvan.tgp" beside the executable, else in ../share/zelkin/
// relative to it (an installed engine).
std::filesystem::path defaultPackagePath(const std::filesystem::path& executableDir);
// How often the autosave is made while playing (game time).
inline constexpr uint64_t kAutosaveIntervalMs = 5 * 60 * 1000;

// The main window: owns the game state and the package access, and carries the
// handlers the platform loop calls.
class MainWindow {
  public:
    MainWindow(Platform& platform, WindowOptions options);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Opens the package, reads the preferences, sizes the display and enables the
    // loader. Throws DataError when the game cannot start.
    void FormCreate();
    // The loader: the first call paints the waiting message, the second loads the
    // game. Throws DataError when a data file cannot be read.
    void Timer2Timer();
    // One frame.
    void DXTimer1Timer();
    // Releases what the loader allocated.
    void FormClose();
    // The debug room list's double click on entry `index` (a `--debug` run).
    void ListBox1DblClick(int index);
    bool toggleFullScreen();

    const Settings& settings() const { return settings_; }
    const EngineMenu& engineMenu() const { return menu_; }
    // The player quits from the menu: the autosave (when it is on and allowed), then
    // the end of the run.
    void playerQuit();
    // The player changed settings: they apply at once and are kept. A failure to keep
    // them is told to the player once.
    void changeSettings(const Settings& s);

    bool loaderPending() const { return timer2Enabled_; }
    // The game asked to end ("exitgame", or no start room); exitStatus() says how.
    bool finished() const { return game_.session.quitRequested; }
    int exitStatus() const { return game_.session.exitStatus; }
    const std::string& exitReason() const { return game_.session.exitReason; }
    GameState& game() { return game_; }
    const GameState& game() const { return game_; }
    Package& package() { return package_; }
    DebugOverlay* debugOverlay() { return debug_.get(); }

  private:
    void paintWaitingScreen();
    std::ostream& notes();
    void prepareSaveFolder();
    void enterStartRoom();
    void openSettings();
    void menuFrame();
    void carryOut(const MenuChoice& choice);
    void changeSetting(int setting, int step);
    void applyDeviceSettings();
    void toggleSpeech(Settings& s);
    void speakMenuSelection();

    Platform& platform_;
    WindowOptions options_;
    Package package_;
    std::unique_ptr<ExtractionFolder> extraction_;
    std::unique_ptr<ExtractionFolder> privateSaves_;  // a run's own save folder
    GameState game_;
    std::unique_ptr<SettingsStore> settingsStore_;
    Settings settings_;
    EngineMenu menu_;
    VirtualMouse virtualMouse_{game_};  // the pad, the keyboard cursor and touches
    bool settingsSaveFailed_ = false;
    std::string spokenMenuItem_;           // the menu item read out last
    uint64_t lastAutosaveMs_ = 0;          // play time of the last autosave, or of the start
    std::unique_ptr<DebugOverlay> debug_;  // only in a `--debug` run
    bool timer2Enabled_ = false;
};

}  // namespace zk

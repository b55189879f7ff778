#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/debug_overlay.h"
#include "data/game_state.h"
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
};

// The default package: "Tolvan.tgp" beside the executable, else in ../share/zelkin/
// relative to it (an installed engine).
std::filesystem::path defaultPackagePath(const std::filesystem::path& executableDir);
// The save folder: "saves" beside the executable when it can be created and written,
// else $XDG_DATA_HOME/zelkin/saves (~/.local/share/zelkin/saves).
std::filesystem::path defaultSaveFolder(const std::filesystem::path& executableDir);

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

    bool loaderPending() const { return timer2Enabled_; }
    // The game asked to end ("exitgame", or no start room); exitStatus() says how.
    bool finished() const { return game_.quitRequested; }
    int exitStatus() const { return game_.exitStatus; }
    const std::string& exitReason() const { return game_.exitReason; }
    GameState& game() { return game_; }
    const GameState& game() const { return game_; }
    Package& package() { return package_; }
    DebugOverlay* debugOverlay() { return debug_.get(); }

  private:
    void paintWaitingScreen();

    Platform& platform_;
    WindowOptions options_;
    Package package_;
    std::unique_ptr<ExtractionFolder> extraction_;
    GameState game_;
    std::unique_ptr<DebugOverlay> debug_;  // only in a `--debug` run
    bool timer2Enabled_ = false;
};

}  // namespace zk

#include "app/windowed_runner.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "app/main_window.h"
#include "app/source_game.h"
#include "app/window_backends.h"
#include "core/error.h"
#include "core/text.h"
#include "platform/png.h"
#include "save/saved_games.h"
#ifdef __EMSCRIPTEN__
#include "app/web/web_page.h"
#endif

namespace zk {
namespace {

#ifndef __EMSCRIPTEN__
constexpr uint32_t kMinFrameMs = 8;
constexpr uint32_t kWatchMs = 500;  // how often a watched source folder is looked at

// The user's pictures folder ("xdg-user-dir PICTURES"), else the home folder.
std::filesystem::path picturesFolder() {
    std::string folder;
    if (FILE* pipe = popen("xdg-user-dir PICTURES 2>/dev/null", "r")) {
        char buf[4096];
        if (fgets(buf, sizeof buf, pipe)) folder = buf;
        pclose(pipe);
    }
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_directory(folder, ec)) return folder;
    const char* home = std::getenv("HOME");
    return home && *home ? std::filesystem::path(home) : std::filesystem::current_path(ec);
}

// A file name of the game title and the time, with nothing that a file system minds.
std::string screenshotName(const std::string& title) {
    std::string name;
    for (char c : title) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        name += plain ? c : '_';
    }
    if (name.empty()) name = "zelkin";
    std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", std::localtime(&now));
    return name + "_" + stamp + ".png";
}

void saveScreenshot(const Surface& frame, const std::string& title) {
    std::filesystem::path path = picturesFolder() / screenshotName(title);
    try {
        writePng(frame, path.string());
        std::cerr << "zelkin: screenshot saved to " << path.string() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "zelkin: cannot save the screenshot " << path.string() << ": " << e.what()
                  << '\n';
    }
}

#endif

#ifndef __EMSCRIPTEN__
// Whether a window can be shown. SDL falls back on drivers that draw nowhere (the
// offscreen and dummy ones) when there is no display server; a window there would
// run unseen until killed. A driver the user names in SDL_VIDEODRIVER is taken as
// chosen.
bool displayAvailable() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver ? driver : "";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return name != "offscreen" && name != "dummy" && !name.empty();
}
#endif

// The window's size, place and mode, kept for the next start.
void rememberWindow(MainWindow& window, const SdlDisplay& display) {
    Settings s = window.settings();
    s.fullScreen = window.game().session.fullScreen;
    int width = 0, height = 0, x = 0, y = 0;
    if (!*s.fullScreen && display.windowPlacement(width, height, x, y)) {
        s.windowWidth = width;
        s.windowHeight = height;
        s.windowX = x;
        s.windowY = y;
    }
    if (!(s == window.settings())) window.changeSettings(s);
}

}  // namespace

int runWindowed(const CommandLine& options, const std::string& executableDir, SourceGame* source) {
#ifndef __EMSCRIPTEN__
    if (!displayAvailable()) {
        std::cerr << "zelkin: no display found: a window needs a display (X11 or Wayland); "
                     "--headless runs the game without one\n";
        return 1;
    }
#endif
    // Errors before the window exists still reach the player as a message box.
    SdlMessageBox earlyBox(nullptr, std::cerr);
    try {
        WindowBackends backends(std::cerr);
        SdlDisplay& display = backends.display;
        SdlInput& input = backends.input;
        if (options.scale > 0) display.setWindowScale(options.scale);
        ErrorReport& errorReport = backends.loopErrors;
        Platform& platform = backends.platform;

        WindowOptions w;
        w.packagePath = options.packagePath;
        w.executableDir = executableDir;
        w.saveDir = options.saveDir;
        w.fullScreen = options.fullScreen;
        w.seed = options.seed;
        w.debug = options.debug;
        w.playerSaveFolder = true;
        w.copyOldSaves = true;
        w.autosave = true;  // unless the player's settings turn it off
        w.continueGame = options.continueGame;
        const std::string settingsFile = options.settingsFile;
        w.settingsStore = [settingsFile](const std::string& gameId) {
            if (!settingsFile.empty())
                return std::make_unique<FileSettingsStore>(
                    std::vector<std::filesystem::path>{settingsFile});
            return std::make_unique<FileSettingsStore>(
                FileSettingsStore::forGame(playerConfigHome(), gameId));
        };
        w.settingsChanged = [&display, &input](const Settings& s) {
            input.setSpeechKey(s.speechKey);
            display.setWindowPlacement(s.display, s.windowWidth, s.windowHeight, s.windowX,
                                       s.windowY);
            // The two enumerations list the same modes in the same order.
            display.setPresentation(static_cast<PictureScale>(s.scaleMode),
                                    s.filter == ScaleFilter::Smooth);
        };
        w.startRoom = options.startRoom;
        w.startEntrance = options.startEntrance;
        WatchedGame watched(platform, w, options.watch ? source : nullptr);
        MainWindow* game = &watched.window();
        try {
            game->FormCreate();
        } catch (const DataError& e) {
            errorReport.report(e.what());
            return 1;
        }
#ifdef __EMSCRIPTEN__
        // The page runs in the browser's frames: the game holds while the page is hidden
        // (no frames come), and plays on when the page has lost the keyboard focus.
        bool shown = false;
        MainWindow& window = *game;
        while (!input.quitRequested() && !window.finished()) {
            input.pumpEvents();
            input.takeFullScreenToggle();  // the page's own key handler does it
            input.takeScreenshotRequest();
            try {
                if (window.loaderPending()) {
                    window.Timer2Timer();
                } else {
                    window.DXTimer1Timer();
                    if (!shown && window.game().session.gameLoaded) web::tellPage("shown");
                    shown = window.game().session.gameLoaded;
                }
            } catch (const DataError& e) {
                errorReport.report(e.what());
                if (!window.game().session.gameLoaded) return 1;
            }
            web::waitForBrowserFrame();
        }
#else
        std::error_code ec;
        if (!options.continueGame && std::filesystem::exists(autosavePath(game->game()), ec))
            std::cerr << "zelkin: this game has an autosave; start with --continue to resume it\n";
        uint32_t lastWatch = SDL_GetTicks();
        while (!input.quitRequested() && !game->finished()) {
            input.pumpEvents();
            try {
                if (SDL_GetTicks() - lastWatch >= kWatchMs) {
                    lastWatch = SDL_GetTicks();
                    if (watched.reloadIfChanged(std::cerr)) game = &watched.window();
                }
                MainWindow& window = *game;
                if (input.takeFullScreenToggle() && !window.loaderPending())
                    window.toggleFullScreen();
                if (const unsigned keys = input.takeDebugKeys())
                    if (DebugOverlay* debug = window.debugOverlay()) debug->geometryKeys(keys);
                if (input.takeScreenshotRequest())
                    saveScreenshot(display.back(), window.game().tables.metadata.codePage.toUtf8(
                                                       window.game().tables.prefs.title()));
                if (window.loaderPending()) {
                    window.Timer2Timer();
                } else if (input.windowActive()) {
                    const uint32_t start = SDL_GetTicks();
                    window.DXTimer1Timer();
                    // Presenting waits for the vertical blank; where a driver does not,
                    // frames are held to about 120 a second instead of spinning.
                    const uint32_t spent = SDL_GetTicks() - start;
                    if (spent < kMinFrameMs) SDL_Delay(kMinFrameMs - spent);
                } else {
                    // Paused while the window is inactive: wait for events, use no CPU.
                    SDL_WaitEventTimeout(nullptr, 100);
                }
            } catch (const DataError& e) {
                errorReport.report(e.what());
                if (!game->game().session.gameLoaded) return 1;
            }
        }
#endif
        rememberWindow(*game, display);
        game->FormClose();
        return game->exitStatus();
    } catch (const std::exception& e) {
        earlyBox.show("Zelkin engine", e.what());
        return 1;
    }
}

}  // namespace zk

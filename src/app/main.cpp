#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/headless_runner.h"
#include "app/source_game.h"
#include "app/version.h"
#include "app/windowed_runner.h"
#include "core/memory.h"
#ifdef __EMSCRIPTEN__
#include "app/web/web_page.h"
#endif

namespace {

std::string executableDir(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path().string();
}

int run(int argc, char** argv) {
    zk::keepFreedMemory();
    std::vector<std::string> args(argv + 1, argv + argc);
    zk::CommandLineResult parsed = zk::parseCommandLine(args);
    if (!parsed.error.empty()) {
        std::cerr << "zelkin: " << parsed.error << '\n';
        return 2;
    }
    const zk::CommandLine& options = parsed.options;
    if (options.help) {
        std::cout << zk::usageText();
        return 0;
    }
    if (options.version) {
        std::cout << zk::versionLine() << '\n';
        return 0;
    }
    std::string dir = executableDir(argc > 0 ? argv[0] : "zelkin");
    // A source folder is packed into a private temporary folder and played from there.
    std::optional<zk::SourceGame> source;
    zk::CommandLine run = options;
    if (zk::isSourceFolder(options.packagePath)) {
        try {
            source.emplace(options.packagePath);
            if (!source->pack(std::cerr)) return 1;
        } catch (const std::exception& e) {
            std::cerr << "zelkin: " << e.what() << '\n';
            return 1;
        }
        run.packagePath = source->package().string();
    } else if (options.watch) {
        std::cerr << "zelkin: --watch needs a source folder (a folder with game.toml)\n";
        return 2;
    }
    zk::SourceGame* watched = source ? &*source : nullptr;
#ifdef __EMSCRIPTEN__
    // In a web page a headless run (`?script=`) shows its frames on the canvas.
    if (options.headless) {
        zk::web::CanvasView canvas;
        return zk::runHeadless(run, dir, watched,
                               [&canvas](const zk::Surface& f) { canvas.show(f); });
    }
#endif
    if (options.headless) return zk::runHeadless(run, dir, watched);
    return zk::runWindowed(run, dir, watched);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __EMSCRIPTEN__
    // The page's file system starts with a umask of 0777, which would give every file
    // made with the umask's mode (a new save slot) no permissions at all.
    ::umask(022);
    // The player's data lives where the page keeps it in IndexedDB (zelkin-page.js), so
    // each game's saves go to /persist/zelkin/GAME/saves, named as on the desktop.
    ::setenv("XDG_DATA_HOME", "/persist", 1);
    // The player's settings likewise: /persist/config/zelkin/GAME.toml.
    ::setenv("XDG_CONFIG_HOME", "/persist/config", 1);
    // In a page main returns long after the page called it (each frame waits for the
    // browser), so its status goes to the page this way.
    const int status = run(argc, argv);
    zk::web::tellPage(("exit " + std::to_string(status)).c_str());
    return status;
#else
    return run(argc, argv);
#endif
}

#include <unistd.h>

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

namespace {

std::string executableDir(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
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
    if (options.headless) return zk::runHeadless(run, dir, watched);
    return zk::runWindowed(run, dir, watched);
}

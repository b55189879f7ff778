#pragma once
#include <filesystem>
#include <string>

#include "logic/loader.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"

namespace zk::test {

// A built package started headless as the main window starts it: the preferences,
// the language and the start room, extracted into `work` (made empty first).
struct StartedPackage {
    HeadlessPlatform hp;
    Platform platform = hp.platform();
    Package package;
    GameState g;

    StartedPackage(const std::string& packagePath, const std::filesystem::path& work) {
        package.setPackagePath(packagePath);
        package.setPassword(std::string(kPackagePassword));
        std::filesystem::remove_all(work);
        std::filesystem::create_directories(work);
        g.session.tempFolder = work.string() + "/";
        g.session.packagePath = packagePath;
        g.platform = &platform;
        g.package = &package;
    }
    StartedPackage(const StartedPackage&) = delete;
    StartedPackage& operator=(const StartedPackage&) = delete;

    LoadOutcome start() {
        loadPreferencesFromPackage(g);
        g.ui.language = g.tables.prefs.language();
        return loadGame(g);
    }
};

}  // namespace zk::test

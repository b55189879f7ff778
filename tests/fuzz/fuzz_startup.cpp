// The whole start-up from arbitrary bytes taken as the game package (archive bytes, or
// the entries of one; see fuzz_game.h), then a round of clicks and keys, a save and a
// load. A game that cannot start says why; one that starts has a current room, dumps
// its state, loads back what it saved, and leaves no file outside its folders.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fuzz_check.h"
#include "fuzz_game.h"
#include "logic/loader.h"
#include "save/saved_games.h"

namespace {

namespace fs = std::filesystem;

struct Folders {
    fs::path root = zk::fuzz::scratchFolder() / "startup";
    fs::path package = root / "package";
    fs::path saves = root / "saves";
    fs::path temp = root / "tmp";
    Folders() {
        zk::fuzz::clearFolder(root);
        // The extraction folders of the games go here, where their removal is seen.
        setenv("TMPDIR", temp.c_str(), 1);
    }
    void clear() const {
        for (const fs::path& p : {package, saves, temp}) zk::fuzz::clearFolder(p);
    }
};

bool isEmpty(const fs::path& folder) {
    std::error_code ec;
    return fs::is_empty(folder, ec) && !ec;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zk;
    static const Folders folders;
    folders.clear();
    const fs::path package = folders.package / "game.tgp";
    if (!fuzz::writeArchiveInput({data, size}, package)) return 0;
    {
        fuzz::GameRun run(package, folders.saves);
        const bool started = run.start();
        if (std::getenv("ZELKIN_FUZZ_VERBOSE"))
            std::fprintf(stderr, "startup: %s %s\n", started ? "started" : "refused",
                         run.errors.empty() ? "" : run.errors[0].c_str());
        if (started) {
            GameState& g = run.game();
            FUZZ_CHECK(g.session.gameLoaded && g.hasRoom());
            run.state();
            run.clickAround();
            if (!g.session.quitRequested && g.hasRoom()) {
                run.state();
                if (saveGame(g, 9)) FUZZ_CHECK(loadGame(g, 9));
                run.frames(3);
                run.state();
            }
        } else {
            FUZZ_CHECK(!run.errors.empty() || run.game().session.quitRequested);
            for (const std::string& e : run.errors) FUZZ_CHECK(!e.empty() && e.size() < 2000);
        }
    }
    FUZZ_CHECK(isEmpty(folders.temp));
    for (const auto& entry : fs::directory_iterator(folders.package))
        FUZZ_CHECK(entry.path() == package);
    for (const auto& entry : fs::directory_iterator(folders.root))
        FUZZ_CHECK(entry.path() == folders.package || entry.path() == folders.saves ||
                   entry.path() == folders.temp);
    return 0;
}

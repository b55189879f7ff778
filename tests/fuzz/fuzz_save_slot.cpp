// Loads arbitrary bytes as save slot 1 (archive bytes, or the members of one; see
// fuzz_game.h) into a running game. A slot that is refused changes nothing of the
// game; one that loads leaves a game that plays on, saves, and loads that save back.
// Showing the slot's picture never fails worse than with a reported error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fuzz_check.h"
#include "fuzz_game.h"
#include "game_seeds.h"
#include "logic/loader.h"
#include "save/saved_games.h"

namespace {

namespace fs = std::filesystem;

struct Folders {
    fs::path root = zk::fuzz::scratchFolder() / "save_slot";
    fs::path package = root / "game.tgp";
    fs::path saves = root / "saves";
    Folders() {
        zk::fuzz::clearFolder(root);
        zk::fuzz::fuzzGame().write(package);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zk;
    static const Folders folders;
    fuzz::clearFolder(folders.saves);
    if (!fuzz::writeArchiveInput({data, size}, folders.saves / "slot1.sav")) return 0;

    fuzz::GameRun run(folders.package, folders.saves);
    FUZZ_CHECK(run.start());
    GameState& g = run.game();
    run.frames(2);
    const std::string before = run.state();
    const size_t errors = run.platform().errorReport.messages.size();
    const bool loaded = loadGame(g, 1);
    if (std::getenv("ZELKIN_FUZZ_VERBOSE")) {
        const auto& m = run.platform().errorReport.messages;
        std::fprintf(stderr, "save_slot: %s %s\n", loaded ? "loaded" : "refused",
                     m.size() > errors ? m.back().c_str() : "");
    }
    if (!loaded) {
        FUZZ_CHECK(run.state() == before);
        std::error_code ec;
        FUZZ_CHECK(run.platform().errorReport.messages.size() ==
                   errors + (fs::exists(folders.saves / "slot1.sav", ec) ? 1 : 0));
    } else {
        FUZZ_CHECK(g.hasRoom());
        run.frames(2);
        run.click(160, 100);
        run.frames(2);
        FUZZ_CHECK(saveGame(g, 2));
        FUZZ_CHECK(loadGame(g, 2));
        run.frames(1);
    }
    if (g.hasRoom() && !g.objects().empty()) {
        showSlotThumbnail(g, 0, 1);
        run.frames(1);
    }
    run.state();
    return 0;
}

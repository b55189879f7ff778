#include "app/source_game.h"

#include <ostream>

#include "core/error.h"
#include "pack.h"

namespace zk {

namespace fs = std::filesystem;

bool isSourceFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec) && fs::is_regular_file(path / "game.toml", ec);
}

SourceGame::SourceGame(fs::path source)
    : source_(std::move(source)), package_(folder_.path() / "game.tgp") {}

SourceGame::Snapshot SourceGame::snapshot() const {
    Snapshot s;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(source_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        s[it->path().string()] = {it->last_write_time(ec), it->file_size(ec)};
    }
    return s;
}

bool SourceGame::pack(std::ostream& log) {
    // Taken before packing: a file saved while it packs makes the next check see a change.
    Snapshot before = snapshot();
    tools::Diagnostics diag;
    std::vector<tools::PackageEntry> entries;
    const bool ok = tools::buildPackage(source_, entries, diag);
    for (const auto& d : diag.all()) log << (source_ / d.text()).string() << '\n';
    packed_ = std::move(before);
    if (!ok) {
        log << "zelkin: " << source_.string() << ": " << diag.errorCount()
            << (diag.errorCount() == 1 ? " error" : " errors") << "; not played\n";
        return false;
    }
    // Written beside and renamed, so a running game never sees half a package.
    const fs::path next = folder_.path() / "next.tgp";
    tools::writePackage(entries, next);
    fs::rename(next, package_);
    return true;
}

WatchedGame::WatchedGame(Platform& platform, WindowOptions options, SourceGame* source)
    : platform_(platform),
      options_(std::move(options)),
      source_(source),
      window_(std::make_unique<MainWindow>(platform_, options_)) {}

bool WatchedGame::reloadIfChanged(std::ostream& log) {
    if (!source_ || !source_->changed()) return false;
    log << "zelkin: "
        << "a file changed; packing again\n";
    if (!source_->pack(log)) return false;
    WindowOptions next = options_;
    const GameState& g = window_->game();
    if (g.session.gameLoaded && g.hasRoom()) {
        next.startRoom = g.room().name();
        next.startEntrance.clear();
        if (g.room().isGameRoom() != 0 && !g.room().objects.empty())
            next.startAt = {g.room().objects[0].x(), g.room().objects[0].y()};
    }
    window_->FormClose();
    window_.reset();
    window_ = std::make_unique<MainWindow>(platform_, next);
    window_->FormCreate();
    log << "zelkin: reloaded" << (next.startRoom.empty() ? "" : " in room " + next.startRoom)
        << '\n';
    return true;
}

}  // namespace zk

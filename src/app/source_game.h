#pragma once
// A source folder of zelkin-pack played directly: the engine packs it into a private
// temporary folder and plays that package, and can pack it again when a file changes.
#include <filesystem>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "app/main_window.h"
#include "package/extraction_folder.h"

namespace zk {

// A folder holding game.toml: a source folder rather than a package.
bool isSourceFolder(const std::filesystem::path& path);

class SourceGame {
  public:
    // Throws DataError when the private folder cannot be made.
    explicit SourceGame(std::filesystem::path source);

    // Packs the folder, writing the checker's messages to `log`. False when it has
    // errors; the package of the last good pack then stays.
    bool pack(std::ostream& log);
    const std::filesystem::path& package() const { return package_; }
    // A file of the folder was added, removed or changed since the last pack.
    bool changed() const { return snapshot() != packed_; }

  private:
    using Snapshot = std::map<std::string, std::pair<std::filesystem::file_time_type, uintmax_t>>;
    Snapshot snapshot() const;

    std::filesystem::path source_;
    ExtractionFolder folder_;
    std::filesystem::path package_;
    Snapshot packed_;
};

// The main window of a run, started again on a new package when its source folder
// changes (`--watch`): in the room the player was in, with the main character where it
// stood, or where the room places it when that room is gone.
class WatchedGame {
  public:
    // `source` may be null: a package that is not watched.
    WatchedGame(Platform& platform, WindowOptions options, SourceGame* source);
    MainWindow& window() { return *window_; }
    const MainWindow& window() const { return *window_; }
    // When the folder changed and packs without errors (messages to `log`): closes the
    // game and opens the new package (FormCreate; the loader is left to the caller).
    // True when it did.
    bool reloadIfChanged(std::ostream& log);

  private:
    Platform& platform_;
    WindowOptions options_;
    SourceGame* source_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace zk

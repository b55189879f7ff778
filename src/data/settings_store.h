#pragma once
// Where the player's settings are kept between runs: files for a window, memory for
// a headless run (which never reads or writes the player's own files).
#include <filesystem>
#include <string>
#include <vector>

#include "data/settings.h"

namespace zk {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The settings kept, over the defaults. Each problem found on the way is one
    // line for the player, naming the file.
    virtual Settings load(std::vector<std::string>& problems) = 0;
    // Keeps `s` for the next load; the reason when it cannot, else empty.
    virtual std::string save(const Settings& s) = 0;
};

// The base folder of the player's settings: $XDG_CONFIG_HOME when it is absolute,
// else $HOME/.config.
std::filesystem::path playerConfigHome();

// Settings files read in order, each over the ones before (the global file, then the
// game's own); saves go to the last one, holding only what differs from the others.
// A file that is missing is no problem. Every save rewrites the file whole: it is
// written beside it and renamed over it, so a crash leaves the old file or the new.
class FileSettingsStore : public SettingsStore {
  public:
    explicit FileSettingsStore(std::vector<std::filesystem::path> files);
    // The files of game `gameId`: configHome/zelkin/zelkin.toml, then
    // configHome/zelkin/GAME.toml.
    static FileSettingsStore forGame(const std::filesystem::path& configHome,
                                     const std::string& gameId);

    Settings load(std::vector<std::string>& problems) override;
    std::string save(const Settings& s) override;
    const std::vector<std::filesystem::path>& files() const { return files_; }

  private:
    std::vector<std::filesystem::path> files_;
    Settings base_;  // what the files before the last one give
};

// Settings held in memory: a headless run's, from its --settings file or the
// defaults. Saves stay in memory and are counted.
class MemorySettingsStore : public SettingsStore {
  public:
    explicit MemorySettingsStore(Settings initial = {}) : kept_(std::move(initial)) {}
    Settings load(std::vector<std::string>&) override { return kept_; }
    std::string save(const Settings& s) override {
        kept_ = s;
        ++saves;
        return {};
    }
    int saves = 0;

  private:
    Settings kept_;
};

// Reads one settings file over `base`; problems are prefixed with the file's name.
// A missing file gives `base` without a problem.
Settings readSettingsFile(const std::filesystem::path& file, const Settings& base,
                          std::vector<std::string>& problems);

}  // namespace zk

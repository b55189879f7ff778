#pragma once
// Helpers of the fuzz targets that run whole games: an archive described by the fuzz
// input, a private scratch folder, and a headless game run in process.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/headless/headless_platform.h"

namespace zk::fuzz {

// The entries of an archive in a form the fuzzer can mutate: a flags byte, then for
// each entry a name length byte, the name, a 32-bit little-endian length and the
// data in that many bytes, run-length coded: a zero byte starts a run (a count byte n
// and a byte value: n + 1 copies of the value), any other byte stands for itself.
// Game data are mostly runs (empty record fields, plain pictures), so inputs stay
// small enough for the fuzzer to mutate quickly. A length beyond the input takes
// what is left.
struct ArchiveImage {
    static constexpr uint8_t kEncrypt = 1;   // protect the entries with the package password
    static constexpr uint8_t kCompress = 2;  // deflate the entries
    struct Entry {
        std::string name;
        std::vector<uint8_t> data;
    };
    uint8_t flags = 0;
    std::vector<Entry> entries;

    std::vector<uint8_t> encode() const;
    static ArchiveImage decode(std::span<const uint8_t> bytes);
    // Every entry of an archive on disk, decrypted with the package password.
    static ArchiveImage read(const std::filesystem::path& archive);
};

// Writes the archive that a fuzz input stands for at `path`: an input starting with
// "PK" is taken as archive bytes as they are, anything else as an ArchiveImage.
// False when the entries cannot make an archive (a name the archive refuses).
bool writeArchiveInput(std::span<const uint8_t> input, const std::filesystem::path& path);

// A private folder for this process, made once and removed at exit. Targets keep
// their files in it; clear() empties a subfolder between inputs.
const std::filesystem::path& scratchFolder();
void clearFolder(const std::filesystem::path& folder);

// A game run headless in this process, as the headless runner does it, with a silent
// error report (the errors are still recorded).
class GameRun {
  public:
    GameRun(const std::filesystem::path& package, const std::filesystem::path& saveFolder);
    ~GameRun();

    // Start-up to the first frame: false when the game cannot start (a DataError,
    // recorded in errors) or ends at once (no start room). Other exceptions escape.
    bool start();
    void frames(int count);
    void click(int x, int y, bool right = false);
    void key(int logicalKey);
    // A fixed round of clicks, right clicks and keys over the whole display.
    void clickAround();

    // The state dump without the list of errors reported so far.
    std::string state();

    GameState& game() { return window_->game(); }
    HeadlessPlatform& platform() { return platform_; }
    std::vector<std::string> errors;  // what start() caught

  private:
    HeadlessPlatform platform_;
    Platform view_;
    std::unique_ptr<MainWindow> window_;
    int64_t frame_ = 0;
};

}  // namespace zk::fuzz

#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/code_page.h"
#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"

namespace zk::tools {

// The entries of a package, in archive order, names as the engine matches them
// ("objects/door/door.dxg", in the game's code page).
using PackageEntries = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// Reads every entry of a game package (protected entries with the engine's password).
// Throws DataError naming the file when it cannot be read.
PackageEntries readPackageEntries(const std::filesystem::path& path);
// The code page that the package's "zelkin.toml" names (Windows-1252 without one).
CodePage packageCodePage(const PackageEntries& entries);

// The source text of single records, as the source folder holds them.
std::string preferencesToml(const PreferencesRecord& prefs, const CodePage& page = {});
std::string inventoryToml(const InventoryRecord& inventory, const CodePage& page = {});
std::string cursorsToml(const std::vector<CursorRecord>& cursors, const CodePage& page = {});
std::string musicToml(const std::vector<MusicRecord>& music, const CodePage& page = {});
std::string roomToml(const StoredRoomRecord& room, const CodePage& page = {});
std::string objectToml(const ObjectRecord& object, const CodePage& page = {});

// A source folder as files (relative path -> bytes) that zelkin-pack turns back into
// the same data files and equivalent picture and wave lists.
struct SourceFolder {
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> warnings;  // what could not be kept
};
SourceFolder makeSourceFolder(const PackageEntries& entries);

// Writes the files under `dir`, which must not exist or be empty. Throws DataError.
void writeSourceFolder(const SourceFolder& source, const std::filesystem::path& dir);

// Splits a data file into records of `size` bytes; a short tail is dropped and reported.
template <typename Record>
std::vector<Record> splitRecords(const std::vector<uint8_t>& bytes,
                                 std::string* warning = nullptr) {
    std::vector<Record> out;
    for (size_t at = 0; at + Record::kSize <= bytes.size(); at += Record::kSize)
        out.emplace_back(std::span<const uint8_t>(bytes).subspan(at, Record::kSize));
    if (warning && bytes.size() % Record::kSize != 0)
        *warning = std::to_string(bytes.size() % Record::kSize) +
                   " bytes after the last whole record are not kept";
    return out;
}

}  // namespace zk::tools

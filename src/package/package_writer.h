#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "package/package.h"

namespace zk {

// Builds a game package in code: the package builder tool and test fixtures use it,
// so what is written and what the engine reads cannot drift apart.
class PackageWriter {
  public:
    // `name` as the engine names entries, with "\" (or "/") between folders. Adding a
    // name twice keeps the later content. `compress` false stores the data as it is,
    // which suits media that are already compressed.
    void add(std::string_view name, std::vector<uint8_t> bytes, bool compress = true);
    void addText(std::string_view name, std::string_view text);
    size_t size() const { return entries_.size(); }

    // Writes a new archive at `path`, replacing any file there, with every entry
    // protected by `password` (none when empty). Throws DataError on failure, also
    // when nothing was added; the old file then stays as it was.
    void write(const std::filesystem::path& path,
               std::string_view password = kPackagePassword) const;

  private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> bytes;
        bool compress;
    };
    std::vector<Entry> entries_;
};

}  // namespace zk

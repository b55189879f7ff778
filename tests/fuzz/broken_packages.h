#pragma once
// Broken game packages made from a good one: every data file cut short at several
// points, bytes flipped in records, picture lists and wave lists, entries missing, a
// wrong password, entries whose size claims to be huge, pictures whose size claims to
// be huge, and entry names that try to leave the extraction folder.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fuzz_game.h"

namespace zk::fuzz {

struct BrokenPackage {
    std::string name;  // a file name: letters, digits, '-', '_' and '.'
    std::string what;  // what is broken, in words
    // Writes the package to `path`.
    std::function<void(const std::filesystem::path& path)> write;
};

// The broken forms of `good` (its entries as the package holds them, decrypted).
// Entry names that try to leave the extraction folder aim at `escapeTarget`, an
// absolute folder where no file may appear.
std::vector<BrokenPackage> brokenPackages(const ArchiveImage& good,
                                          const std::filesystem::path& escapeTarget);

// The input script every broken package is run with: clicks over the whole display,
// right clicks, every key, then a state dump and a screenshot.
std::string clickAroundScript();

}  // namespace zk::fuzz

#pragma once
#include <filesystem>
#include <vector>

#include "asset_folder.h"
#include "diagnostics.h"

namespace zk::tools {

struct PackOptions {
    // Names that refer to nothing are reported as warnings and the package is built
    // anyway (for packages from other tools that hold such names).
    bool lenient = false;
};

// Builds every entry of a game package from a source folder. Returns false, with the
// mistakes in `diag`, when the folder has errors; warnings do not stop it.
bool buildPackage(const std::filesystem::path& source, std::vector<PackageEntry>& entries,
                  Diagnostics& diag, const PackOptions& options = {});

// Writes the entries as an encrypted game package. Throws DataError on failure.
void writePackage(const std::vector<PackageEntry>& entries, const std::filesystem::path& path);

}  // namespace zk::tools

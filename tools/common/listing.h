#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "source_writer.h"

namespace zk::tools {

// Readable listings of what a package or a single game file holds: records as their
// source text, picture lists with sizes and patterns, wave lists with their formats.
void listPackage(const PackageEntries& entries, std::ostream& out);
// One file by its name: a data file (".dat"), a picture list (".dxg") or a wave list
// (".dxw"). Throws DataError when the file is none of those or is damaged.
void listFile(const std::string& name, const std::vector<uint8_t>& bytes, std::ostream& out,
              const CodePage& page = {});

}  // namespace zk::tools

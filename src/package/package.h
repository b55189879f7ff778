#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page.h"
#include "core/stream.h"
#include "platform/archive.h"

namespace zk {

// The password of every game package. It stays in force when the package access is
// pointed at a save slot; the slot's entries are unprotected, and the password is
// used only for protected entries.
inline constexpr std::string_view kPackagePassword = "k3m7p2w9t4q8z";

struct ExtractResult {
    size_t written = 0;                  // files written into the base folder
    std::vector<std::string> unmatched;  // names and patterns that selected no entry
    std::vector<std::string> refused;    // entries whose name gives no usable file name
};

// Access to the game package, or to whichever archive it is pointed at (a save slot).
//
// Entry names and patterns take "\" and "/" as the same separator; see
// entry_names.h for how plain names and wildcards select entries.
//
// Errors: an archive that cannot be opened, a wrong password, a damaged or oversized
// entry and a file that cannot be written throw DataError naming the archive (and the
// entry or file). Archive work runs to completion on the caller's thread, so there is
// no busy state in which calls would be skipped.
class Package {
  public:
    // The archive that all following operations use. Nothing is opened yet.
    void setPackagePath(std::filesystem::path path);
    const std::filesystem::path& packagePath() const { return path_; }
    // Used to decrypt protected entries; additions are always stored unprotected.
    void setPassword(std::string password) { password_ = std::move(password); }
    // Archive work never shows a busy cursor nor runs the message loop here; the
    // setting is kept so that callers can state it as the window does.
    void setQuietOperation() { quiet_ = true; }
    bool quietOperation() const { return quiet_; }
    // The code page of the game's texts, in which entry names are matched: names the
    // archiver marked as UTF-8 are converted to it, and letter case is its own.
    void setCodePage(CodePage codePage);
    const CodePage& codePage() const { return codePage_; }

    // The names of the archive's entries as they are matched (see gameEntryNames),
    // folders left out; empty when the archive cannot be opened.
    std::vector<std::string> entryNames();

    // Writes every entry that the names and patterns select ("prefs.dat", "music\*.*")
    // as a file directly in `baseFolder` under its last name component (for a plain
    // name, that of the name asked for, whatever the entry's letter case), replacing a
    // file of that name. The folder is created when missing. Each file is written to
    // a temporary file in the folder and renamed into place, so a reader never sees
    // half a file. Throws DataError when the archive cannot be opened (also when it
    // does not exist), an entry cannot be read, or a file cannot be written.
    ExtractResult extractToFolder(const std::vector<std::string>& specs,
                                  const std::filesystem::path& baseFolder);

    // Reads one entry into the shared stream and returns it positioned at 0. Returns
    // null when no archive is set or its file does not exist, when it has no entries,
    // or when the name selects no entry (or, as a wildcard, several). Every call reuses
    // the same stream: finish reading one before asking for the next. Throws DataError
    // for a damaged archive, a wrong password or an oversized entry.
    MemoryStream* extractToStream(std::string_view entryName);
    MemoryStream& packageStream() { return packageStream_; }

    // Additions go into the current archive (created when missing), replacing entries
    // of the same name, unprotected. "\" in entry names is stored as "/".
    // The lines are written each ended by CR LF.
    void addTextList(const std::vector<std::string>& lines, std::string_view entryName);
    void addEntry(std::string_view entryName, std::span<const uint8_t> bytes);
    // Adds the files in one operation, in the given order, each under its bare file name.
    void addFiles(const std::vector<std::filesystem::path>& paths);

  private:
    ArchiveReader& reader();
    // The entries of reader() under the names they are matched by.
    const std::vector<ArchiveEntry>& entries();
    void add(std::span<const ArchiveAddition> additions);

    std::filesystem::path path_;
    std::string password_;
    bool quiet_ = false;
    MemoryStream packageStream_;
    // The open archive, kept between calls; dropped when the path changes or the
    // archive is rewritten by an addition.
    std::unique_ptr<ArchiveReader> reader_;
    CodePage codePage_;
    std::vector<ArchiveEntry> entries_;  // valid while reader_ is
};

}  // namespace zk

#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace zk {

// ZIP archive access: reading entries (optionally protected by traditional PKWARE
// encryption) and writing archives. The implementation lives in platform/zip/.

// Entries larger than this are refused before anything is allocated: no game file
// comes near it, and a damaged or hostile size field must not exhaust memory.
inline constexpr uint64_t kMaxArchiveEntrySize = 256ull * 1024 * 1024;

class ArchiveError : public DataError {
  public:
    enum class Kind {
        Missing,        // the archive file does not exist
        CannotOpen,     // unreadable, not a ZIP archive, damaged directory
        WrongPassword,  // no password or the wrong one for a protected entry
        TooLarge,       // the entry is above kMaxArchiveEntrySize
        Damaged,        // the entry's data cannot be read back intact
        CannotWrite,    // the archive or a source file could not be written or read
    };
    ArchiveError(Kind kind, const std::string& message, std::string reason)
        : DataError(message), kind_(kind), reason_(std::move(reason)) {}
    Kind kind() const { return kind_; }
    // The cause without the file and entry names, for callers that word their own message.
    const std::string& reason() const { return reason_; }

  private:
    Kind kind_;
    std::string reason_;
};

struct ArchiveEntry {
    std::string name;   // the stored bytes, unconverted; normally "/" separated
    uint64_t size = 0;  // uncompressed size
    bool encrypted = false;
    // The archiver marked the name as UTF-8 (general purpose flag bit 11, or an
    // Info-ZIP Unicode path field). Otherwise it is in whatever code page the archiver
    // wrote, which for game packages is the game's own.
    bool utf8Name = false;
    bool isDirectory() const { return !name.empty() && name.back() == '/'; }
};

// An archive opened for reading. The entry list is read once when it is opened.
class ArchiveReader {
  public:
    virtual ~ArchiveReader() = default;
    virtual const std::filesystem::path& path() const = 0;
    virtual const std::vector<ArchiveEntry>& entries() const = 0;
    // The whole uncompressed entry. The password is used only for protected entries;
    // a wrong one throws ArchiveError WrongPassword, also when the wrong key happens to
    // pass the one-byte check of the entry header and the data then fails its checksum.
    virtual std::vector<uint8_t> read(size_t index, std::string_view password) = 0;
};

// Throws ArchiveError (Missing or CannotOpen).
std::unique_ptr<ArchiveReader> openArchive(const std::filesystem::path& path);

// One entry to write: from memory (`bytes`, which must stay valid during the call) or
// from a file on disk when `file` is not empty.
struct ArchiveAddition {
    std::string name;  // stored as these bytes (marked as UTF-8 when they read as UTF-8)
    std::span<const uint8_t> bytes;
    std::filesystem::path file;
    std::string password;  // empty: stored without protection
    bool compress = true;  // false stores the data as it is (already compressed media)
};

enum class ArchiveWriteMode {
    Create,  // a new archive, replacing any file at the path
    Update,  // keep the existing entries (creating the archive if needed); replace same names
};

// Writes all additions in one operation. The archive file is replaced only when
// everything was written, so a failure leaves the old file as it was. An archive
// that ends up without entries is not kept: libzip removes the file. Throws
// ArchiveError (CannotOpen, CannotWrite).
void writeArchive(const std::filesystem::path& path, ArchiveWriteMode mode,
                  std::span<const ArchiveAddition> additions);

}  // namespace zk

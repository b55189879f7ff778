#pragma once
#include <zip.h>

#include <memory>

#include "platform/archive.h"

namespace zk {

// Owners for libzip handles. An archive that is still owned when the owner goes away
// is discarded: nothing of a half-finished write reaches the disk.
struct ZipDiscard {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileClose {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct ZipSourceFree {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipDiscard>;
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileClose>;
using ZipSourcePtr = std::unique_ptr<zip_source_t, ZipSourceFree>;

class LibzipArchiveReader final : public ArchiveReader {
  public:
    // Throws ArchiveError (Missing or CannotOpen).
    explicit LibzipArchiveReader(std::filesystem::path path);

    const std::filesystem::path& path() const override { return path_; }
    const std::vector<ArchiveEntry>& entries() const override { return entries_; }
    std::vector<uint8_t> read(size_t index, std::string_view password) override;

  private:
    std::filesystem::path path_;
    ZipPtr zip_;
    std::vector<ArchiveEntry> entries_;
    std::vector<uint16_t> encryptionMethods_;  // of each entry, as libzip names them
    std::vector<bool> aesWithoutChecksum_;     // of each entry: WinZip AES, version AE-2
};

}  // namespace zk

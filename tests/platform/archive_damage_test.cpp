// Entries whose headers a damaged archive changed: an encryption that cannot be undone
// or a compression method nobody knows is refused as damaged, and refusing them costs
// no memory (the sanitizer build checks for leaks).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/archive.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

// An archive of one stored, unprotected entry "data.bin", its headers then changed by
// `patch` (given the offsets of the local and the central header).
fs::path damagedArchive(const test::TempDir& dir,
                        void (*patch)(std::vector<uint8_t>&, size_t local, size_t central)) {
    const fs::path path = dir.path() / "damaged.zip";
    const std::vector<uint8_t> data(100, 7);
    ArchiveAddition a;
    a.name = "data.bin";
    a.bytes = data;
    a.compress = false;
    writeArchive(path, ArchiveWriteMode::Create, {&a, 1});
    std::vector<uint8_t> zip;
    {
        std::ifstream in(path, std::ios::binary);
        zip.assign(std::istreambuf_iterator<char>(in), {});
    }
    size_t central = 0;
    while (central + 4 <= zip.size() && !(zip[central] == 'P' && zip[central + 1] == 'K' &&
                                          zip[central + 2] == 1 && zip[central + 3] == 2))
        ++central;
    patch(zip, 0, central);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(zip.data()), static_cast<std::streamsize>(zip.size()));
    return path;
}

std::string readError(const fs::path& archive) {
    try {
        openArchive(archive)->read(0, "secret");
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.kind(), ArchiveError::Kind::Damaged) << e.what();
        return e.reason();
    }
    return "read";
}

TEST(DamagedArchiveEntries, UnknownEncryptionOrCompressionIsRefused) {
    test::TempDir dir;
    // The "encrypted" and "strong encryption" flags.
    EXPECT_EQ(readError(damagedArchive(dir,
                                       [](std::vector<uint8_t>& z, size_t local, size_t central) {
                                           z[local + 6] |= 0x41;
                                           z[central + 8] |= 0x41;
                                       })),
              "Encryption method not supported");
    // Compression method 77.
    EXPECT_EQ(readError(damagedArchive(dir,
                                       [](std::vector<uint8_t>& z, size_t local, size_t central) {
                                           z[local + 8] = 77;
                                           z[central + 10] = 77;
                                       })),
              "Compression method not supported");
}

}  // namespace
}  // namespace zk

#include "platform/archive.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace zk {
namespace {

namespace fs = std::filesystem;

class ArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "zelkin-archive-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        dir = name;
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::vector<uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }
    static std::vector<uint8_t> fileBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void putFile(const fs::path& p, const std::vector<uint8_t>& b) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static ArchiveAddition mem(std::string name, std::span<const uint8_t> b, std::string pw = {},
                               bool compress = true) {
        ArchiveAddition a;
        a.name = std::move(name);
        a.bytes = b;
        a.password = std::move(pw);
        a.compress = compress;
        return a;
    }
    // Offset of the first central directory header (archives written here have no comment).
    static size_t centralDirectory(const std::vector<uint8_t>& zip) {
        size_t eocd = zip.size() - 22;
        EXPECT_EQ(zip[eocd], 0x50);
        EXPECT_EQ(zip[eocd + 1], 0x4b);
        return zip[eocd + 16] | (zip[eocd + 17] << 8) | (zip[eocd + 18] << 16) |
               (size_t(zip[eocd + 19]) << 24);
    }

    fs::path dir;
};

TEST_F(ArchiveTest, WritesAndReadsProtectedAndPlainEntries) {
    std::vector<uint8_t> text = bytesOf("The quick brown fox jumps over the lazy dog. ");
    for (int i = 0; i < 6; ++i) text.insert(text.end(), text.begin(), text.end());
    std::vector<uint8_t> empty;
    putFile(dir / "disk.bin", bytesOf("from disk"));
    ArchiveAddition fromDisk;
    fromDisk.name = "folder/disk.bin";
    fromDisk.file = dir / "disk.bin";
    fromDisk.password = "pw";
    std::vector<ArchiveAddition> adds = {
        mem("deflated.txt", text, "pw"), mem("stored.txt", text, "pw", false),
        mem("plain.txt", text), mem("empty.dat", empty, "pw"), fromDisk};
    writeArchive(dir / "a.zip", ArchiveWriteMode::Create, adds);

    auto archive = openArchive(dir / "a.zip");
    const auto& entries = archive->entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "deflated.txt");
    EXPECT_EQ(entries[0].size, text.size());
    EXPECT_TRUE(entries[0].encrypted);
    EXPECT_TRUE(entries[1].encrypted);
    EXPECT_FALSE(entries[2].encrypted);
    EXPECT_EQ(entries[4].name, "folder/disk.bin");
    EXPECT_EQ(archive->read(0, "pw"), text);
    EXPECT_EQ(archive->read(1, "pw"), text);
    EXPECT_TRUE(archive->read(3, "pw").empty());
    EXPECT_EQ(archive->read(4, "pw"), bytesOf("from disk"));
    // A password set for the game stays in force for unprotected entries.
    EXPECT_EQ(archive->read(2, "anything"), text);
    EXPECT_EQ(archive->read(2, ""), text);
}

TEST_F(ArchiveTest, WrongPasswordIsAnErrorNeverGarbage) {
    std::vector<uint8_t> data = bytesOf("prefs record contents, not very long");
    std::vector<ArchiveAddition> adds = {mem("stored.dat", data, "right", false),
                                         mem("deflated.dat", data, "right")};
    writeArchive(dir / "p.zip", ArchiveWriteMode::Create, adds);
    auto archive = openArchive(dir / "p.zip");

    // The entry header checks only one byte of the key, so about one wrong password
    // in 256 passes it; trying many makes sure those are caught by the checksum.
    for (size_t index : {0u, 1u}) {
        for (int i = 0; i < 1500; ++i) {
            std::string wrong = "wrong" + std::to_string(i);
            try {
                archive->read(index, wrong);
                FAIL() << "password " << wrong << " accepted for entry " << index;
            } catch (const ArchiveError& e) {
                ASSERT_EQ(e.kind(), ArchiveError::Kind::WrongPassword) << e.what();
                ASSERT_NE(std::string(e.what()).find(archive->entries()[index].name),
                          std::string::npos);
            }
        }
    }
    EXPECT_EQ(archive->read(0, "right"), data);
    try {
        archive->read(1, "");
        FAIL() << "protected entry read without a password";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.kind(), ArchiveError::Kind::WrongPassword);
    }
}

TEST_F(ArchiveTest, OpenFailuresNameTheFile) {
    try {
        openArchive(dir / "missing.zip");
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.kind(), ArchiveError::Kind::Missing);
        EXPECT_NE(std::string(e.what()).find("missing.zip"), std::string::npos);
    }
    putFile(dir / "junk.zip", bytesOf("this is not a zip archive at all"));
    for (const fs::path& p : {dir / "junk.zip", dir}) {
        try {
            openArchive(p);
            FAIL() << p;
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.kind(), ArchiveError::Kind::CannotOpen);
            EXPECT_NE(std::string(e.what()).find(p.string()), std::string::npos);
        }
    }
    // Updating must not clobber a file that is not an archive.
    std::vector<uint8_t> b = bytesOf("x");
    std::vector<ArchiveAddition> adds = {mem("x", b)};
    EXPECT_THROW(writeArchive(dir / "junk.zip", ArchiveWriteMode::Update, adds), ArchiveError);
    EXPECT_EQ(fileBytes(dir / "junk.zip"), bytesOf("this is not a zip archive at all"));
}

TEST_F(ArchiveTest, DamagedSizeFieldsAreRefused) {
    std::vector<uint8_t> data(1000, 'z');
    std::vector<ArchiveAddition> adds = {mem("big.dat", data)};
    writeArchive(dir / "s.zip", ArchiveWriteMode::Create, adds);
    std::vector<uint8_t> zip = fileBytes(dir / "s.zip");
    size_t cd = centralDirectory(zip);
    ASSERT_EQ(zip[cd], 0x50);
    ASSERT_EQ(zip[cd + 2], 0x01);

    // Claims 300 MiB: refused before a buffer of that size is made.
    std::vector<uint8_t> huge = zip;
    uint32_t claimed = 300u * 1024 * 1024;
    for (int i = 0; i < 4; ++i) huge[cd + 24 + i] = static_cast<uint8_t>(claimed >> (8 * i));
    putFile(dir / "huge.zip", huge);
    try {
        openArchive(dir / "huge.zip")->read(0, "");
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.kind(), ArchiveError::Kind::TooLarge);
        EXPECT_NE(std::string(e.what()).find("big.dat"), std::string::npos);
    }

    // Claims 10 bytes for 1000: the extra data is not silently cut off.
    std::vector<uint8_t> small = zip;
    small[cd + 24] = 10;
    small[cd + 25] = small[cd + 26] = small[cd + 27] = 0;
    putFile(dir / "small.zip", small);
    EXPECT_THROW(openArchive(dir / "small.zip")->read(0, ""), ArchiveError);
}

TEST_F(ArchiveTest, UpdateReplacesSameNamesAndKeepsTheRest) {
    std::vector<uint8_t> one = bytesOf("one"), two = bytesOf("two"), three = bytesOf("three");
    std::vector<ArchiveAddition> first = {mem("a", one), mem("b", two)};
    writeArchive(dir / "u.zip", ArchiveWriteMode::Update, first);  // created when missing
    std::vector<ArchiveAddition> second = {mem("b", three), mem("c", one)};
    writeArchive(dir / "u.zip", ArchiveWriteMode::Update, second);
    auto archive = openArchive(dir / "u.zip");
    ASSERT_EQ(archive->entries().size(), 3u);
    EXPECT_EQ(archive->read(0, ""), one);
    EXPECT_EQ(archive->read(1, ""), three);
    EXPECT_EQ(archive->read(2, ""), one);

    // A failed write leaves the archive as it was.
    ArchiveAddition missing;
    missing.name = "gone";
    missing.file = dir / "no-such-file";
    std::vector<ArchiveAddition> bad = {mem("a", two), missing};
    std::vector<uint8_t> before = fileBytes(dir / "u.zip");
    try {
        writeArchive(dir / "u.zip", ArchiveWriteMode::Update, bad);
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-file"), std::string::npos) << e.what();
    }
    EXPECT_EQ(fileBytes(dir / "u.zip"), before);

    // Create starts over.
    std::vector<ArchiveAddition> fresh = {mem("only", two)};
    writeArchive(dir / "u.zip", ArchiveWriteMode::Create, fresh);
    ASSERT_EQ(openArchive(dir / "u.zip")->entries().size(), 1u);
}

}  // namespace
}  // namespace zk

#include "package/package.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "package/entry_names.h"
#include "package/extraction_folder.h"
#include "package/package_writer.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}
std::string fileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void putFile(const fs::path& p, std::string_view text) {
    std::ofstream(p, std::ios::binary) << text;
}
std::string streamText(MemoryStream& s) {
    return s.readString(s.remaining());
}

// Checks that `f` throws a DataError whose message holds every one of `parts`.
template <typename F>
void expectDataError(F f, std::initializer_list<std::string> parts) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const DataError& e) {
        for (const std::string& part : parts) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
                << "'" << e.what() << "' lacks '" << part << "'";
        }
    }
}

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PackageWriter w;
        w.addText("prefs.dat", "preferences");
        w.addText("rooms\\hall.dxg", "hall pictures");
        w.addText("music\\theme.mid", "theme");
        w.add("music\\rain.ogg", bytesOf("rain sounds"), false);
        w.addText("music\\README", "no dot");
        w.addText("music\\old\\deep.mid", "nested");
        w.addText("musicbox.dat", "not music");
        w.write(packagePath());
        package.setPackagePath(packagePath());
        package.setPassword(std::string(kPackagePassword));
        package.setQuietOperation();
    }
    fs::path packagePath() const { return scratch.path() / "Tolvan.tgp"; }
    fs::path out() const { return scratch.path() / "out"; }

    ExtractionFolder scratch;
    Package package;
};

TEST_F(PackageTest, ExtractsEntriesIntoTheSharedStream) {
    MemoryStream* first = package.extractToStream("rooms\\hall.dxg");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->position(), 0u);
    EXPECT_EQ(streamText(*first), "hall pictures");

    // Same stream object, now holding the second entry from position 0.
    MemoryStream* second = package.extractToStream("rooms/hall.dxg");
    EXPECT_EQ(second, first);
    EXPECT_EQ(streamText(*second), "hall pictures");
    second = package.extractToStream("prefs.dat");
    EXPECT_EQ(second, first);
    EXPECT_EQ(second, &package.packageStream());
    EXPECT_EQ(second->position(), 0u);
    EXPECT_EQ(streamText(*second), "preferences");

    EXPECT_EQ(package.extractToStream("nothing.dat"), nullptr);
    EXPECT_EQ(package.extractToStream("music\\*.*"), nullptr);  // selects several
    EXPECT_EQ(package.extractToStream("hall.dxg"), nullptr);    // folder part counts
}

TEST_F(PackageTest, NoStreamWithoutAnArchive) {
    Package none;
    EXPECT_EQ(none.extractToStream("prefs.dat"), nullptr);
    none.setPackagePath(scratch.path() / "slot7.sav");
    EXPECT_EQ(none.extractToStream("screenshot.dxg"), nullptr);

    // An archive without entries (just the end record).
    std::string emptyZip("PK\x05\x06", 4);
    emptyZip.append(18, '\0');
    putFile(scratch.path() / "empty.sav", emptyZip);
    none.setPackagePath(scratch.path() / "empty.sav");
    EXPECT_EQ(none.extractToStream("objcounts.txt"), nullptr);
}

TEST_F(PackageTest, WrongPasswordNamesArchiveAndEntry) {
    package.setPassword("not the password");
    expectDataError([&] { package.extractToStream("prefs.dat"); }, {"Tolvan.tgp", "prefs.dat"});
    expectDataError([&] { package.extractToFolder({"music\\*.*"}, out()); },
                    {"Tolvan.tgp", "music/"});
    EXPECT_FALSE(fs::exists(out() / "theme.mid"));
    EXPECT_TRUE(fs::is_empty(out()));  // no temporary file left behind
}

TEST_F(PackageTest, OpenFailuresNameThePackage) {
    Package missing;
    missing.setPackagePath(scratch.path() / "Missing.tgp");
    expectDataError([&] { missing.extractToFolder({"prefs.dat"}, out()); },
                    {"Cannot open game package", "Missing.tgp"});
    putFile(scratch.path() / "junk.tgp", "not an archive");
    missing.setPackagePath(scratch.path() / "junk.tgp");
    expectDataError([&] { missing.extractToFolder({"prefs.dat"}, out()); }, {"junk.tgp"});
    expectDataError([&] { missing.extractToStream("prefs.dat"); }, {"junk.tgp"});
}

TEST_F(PackageTest, ExtractsFlatAndOverwrites) {
    fs::create_directories(out());
    putFile(out() / "prefs.dat", "an older and much longer copy of the preferences");
    ExtractResult r = package.extractToFolder({"prefs.dat", "missing.dat"}, out());
    EXPECT_EQ(r.written, 1u);
    EXPECT_EQ(r.unmatched, std::vector<std::string>{"missing.dat"});
    EXPECT_EQ(fileText(out() / "prefs.dat"), "preferences");

    // Music lands directly in the base folder, created when missing, and nothing else.
    fs::path music = out() / "music";
    r = package.extractToFolder({"music\\*.*"}, music);
    EXPECT_EQ(r.written, 3u);
    EXPECT_EQ(fileText(music / "theme.mid"), "theme");
    EXPECT_EQ(fileText(music / "rain.ogg"), "rain sounds");
    EXPECT_EQ(fileText(music / "README"), "no dot");
    size_t files = 0;
    for (const auto& f : fs::directory_iterator(music)) {
        EXPECT_TRUE(f.is_regular_file()) << f.path();
        ++files;
    }
    EXPECT_EQ(files, 3u);

    // One entry selected twice is written once.
    r = package.extractToFolder({"music\\theme.mid", "music\\*.mid"}, music);
    EXPECT_EQ(r.written, 1u);
}

TEST_F(PackageTest, EntriesCannotLeaveTheBaseFolder) {
    PackageWriter w;
    w.addText("..\\x1", "one");
    w.addText("/etc/x2", "two");
    w.addText("a/../../x3", "three");
    w.addText("..", "dots");
    w.addText("a/.", "dot");
    w.addText("sub\\link", "through a link");
    w.write(packagePath());
    package.setPackagePath(packagePath());

    fs::path base = out() / "deep" / "base";
    fs::create_directories(base);
    // A link planted at a target name is replaced, never followed.
    putFile(out() / "victim", "untouched");
    fs::create_symlink(out() / "victim", base / "link");

    ExtractResult r = package.extractToFolder(
        {"..\\x1", "/etc/x2", "a/../../x3", "..", "a\\.", "sub\\link"}, base);
    EXPECT_EQ(r.written, 4u);
    EXPECT_EQ(r.refused, (std::vector<std::string>{"..", "a/."}));
    EXPECT_EQ(fileText(base / "x1"), "one");
    EXPECT_EQ(fileText(base / "x2"), "two");
    EXPECT_EQ(fileText(base / "x3"), "three");
    EXPECT_FALSE(fs::is_symlink(base / "link"));
    EXPECT_EQ(fileText(base / "link"), "through a link");
    EXPECT_EQ(fileText(out() / "victim"), "untouched");
    for (const fs::path& p : {out() / "deep" / "x1", out() / "x3", out() / "deep" / "x3"}) {
        EXPECT_FALSE(fs::exists(p)) << p;
    }
}

TEST_F(PackageTest, AddsUnprotectedEntriesAndReplacesThem) {
    // The save procedure: point at a slot, add, point back.
    fs::path slot = scratch.path() / "saves" / "slot3.sav";
    fs::create_directories(slot.parent_path());
    fs::path temp = scratch.path() / "tmp";
    fs::create_directories(temp);
    putFile(temp / "savedinv.dat", "inventory");
    putFile(temp / "additional.dat", "globals");

    package.setPackagePath(slot);
    std::vector<uint8_t> thumb = bytesOf("thumbnail");
    package.addEntry("screenshot.dxg", thumb);
    package.addTextList({"5", "0", "2"}, "objcounts.txt");
    package.addFiles({temp / "savedinv.dat", temp / "additional.dat"});

    auto archive = openArchive(slot);
    ASSERT_EQ(archive->entries().size(), 4u);
    for (const ArchiveEntry& e : archive->entries()) EXPECT_FALSE(e.encrypted) << e.name;
    EXPECT_EQ(archive->entries()[2].name, "savedinv.dat");
    EXPECT_EQ(archive->entries()[3].name, "additional.dat");
    archive.reset();

    MemoryStream* s = package.extractToStream("objcounts.txt");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(streamText(*s), "5\r\n0\r\n2\r\n");
    ExtractResult r = package.extractToFolder({"savedinv.dat", "additional.dat"}, out());
    EXPECT_EQ(r.written, 2u);
    EXPECT_EQ(fileText(out() / "savedinv.dat"), "inventory");

    // Saving again over the slot replaces the members; reads see the new content.
    package.addTextList({"1"}, "objcounts.txt");
    putFile(temp / "savedinv.dat", "new inventory");
    package.addFiles({temp / "savedinv.dat"});
    s = package.extractToStream("objcounts.txt");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(streamText(*s), "1\r\n");
    package.extractToFolder({"savedinv.dat"}, out());
    EXPECT_EQ(fileText(out() / "savedinv.dat"), "new inventory");
    EXPECT_EQ(openArchive(slot)->entries().size(), 4u);

    // Back at the game package, protected entries read as before.
    package.setPackagePath(packagePath());
    s = package.extractToStream("prefs.dat");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(streamText(*s), "preferences");

    expectDataError([&] { package.addFiles({temp / "no-such.dat"}); }, {"no-such.dat"});
}

TEST_F(PackageTest, WriterProtectsEveryEntryWithTheEnginePassword) {
    auto archive = openArchive(packagePath());
    ASSERT_EQ(archive->entries().size(), 7u);
    for (const ArchiveEntry& e : archive->entries()) EXPECT_TRUE(e.encrypted) << e.name;
    EXPECT_EQ(archive->entries()[1].name, "rooms/hall.dxg");  // stored with "/"
    EXPECT_EQ(archive->read(1, kPackagePassword), bytesOf("hall pictures"));
    archive.reset();

    PackageWriter w;
    w.addText("a.txt", "first");
    w.addText("a.txt", "second");
    EXPECT_EQ(w.size(), 1u);
    w.write(scratch.path() / "plain.zip", "");
    archive = openArchive(scratch.path() / "plain.zip");
    EXPECT_FALSE(archive->entries()[0].encrypted);
    EXPECT_EQ(archive->read(0, ""), bytesOf("second"));

    // An empty writer refuses, and leaves the existing package alone.
    expectDataError([&] { PackageWriter{}.write(packagePath()); }, {"Tolvan.tgp", "empty"});
    EXPECT_EQ(openArchive(packagePath())->entries().size(), 7u);
}

TEST(EntryNames, PlainNamesPreferExactCaseAndWildcardsIgnoreCase) {
    std::vector<ArchiveEntry> entries = {
        {"Music/Theme.MID", 1, false}, {"music/theme.mid", 1, false},
        {"Rooms/Hall.dxg", 1, false},  {"music/", 0, false},
        {"MUSIC/Rain.ogg", 1, false},  {"music/sub/x.mid", 1, false}};
    EXPECT_EQ(findEntries(entries, "music\\theme.mid"), std::vector<size_t>{1});
    EXPECT_EQ(findEntries(entries, "Music\\Theme.MID"), std::vector<size_t>{0});
    EXPECT_EQ(findEntries(entries, "rooms\\hall.DXG"), std::vector<size_t>{2});
    EXPECT_EQ(findEntries(entries, "music\\*.*"), (std::vector<size_t>{0, 1, 4}));
    EXPECT_EQ(findEntries(entries, "music\\*.m?d"), (std::vector<size_t>{0, 1}));
    EXPECT_TRUE(findEntries(entries, "*.*").empty());  // top level holds no files

    EXPECT_TRUE(wildcardMatch("*.*", "README"));
    EXPECT_TRUE(wildcardMatch("*.*", "a.b.c"));
    EXPECT_TRUE(wildcardMatch("a*b*c", "aXXbYYbZc"));
    EXPECT_FALSE(wildcardMatch("a*b*c", "aXXbYYbZ"));
    EXPECT_FALSE(wildcardMatch("*.mid", "theme.midi"));
    EXPECT_FALSE(wildcardMatch("?", ""));

    EXPECT_EQ(flatFileName("..\\..\\x"), "x");
    EXPECT_EQ(flatFileName("/etc/passwd"), "passwd");
    EXPECT_EQ(flatFileName("music/"), std::nullopt);
    EXPECT_EQ(flatFileName("a\\.."), std::nullopt);
}

TEST(ExtractionFolderTest, IsPrivateInTmpdirAndRemovedWithItsContents) {
    ExtractionFolder parent;
    const char* old = std::getenv("TMPDIR");
    std::string saved = old ? old : "";
    ::setenv("TMPDIR", parent.path().c_str(), 1);
    fs::path kept;
    {
        ExtractionFolder folder;
        if (old)
            ::setenv("TMPDIR", saved.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        kept = folder.path();
        EXPECT_EQ(kept.parent_path(), parent.path());
        struct stat st {};
        ASSERT_EQ(::stat(kept.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        fs::create_directories(kept / "music");
        putFile(kept / "music" / "theme.mid", "x");

        ExtractionFolder moved = std::move(folder);
        EXPECT_EQ(moved.path(), kept);
        EXPECT_TRUE(folder.path().empty());
    }
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_TRUE(fs::exists(parent.path()));

    ::setenv("TMPDIR", (parent.path() / "nowhere").c_str(), 1);
    expectDataError([] { ExtractionFolder bad; }, {"nowhere"});
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace zk

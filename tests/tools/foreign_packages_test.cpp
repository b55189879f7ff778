// Game packages made again by other archivers (Info-ZIP, Python's zipfile, 7-Zip,
// bsdtar) from the files of one built by zelkin-pack, with names beyond ASCII: each
// must start and play the same. A program that is missing skips its variant.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/code_page.h"
#include "logic/loader.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "source_fixture.h"
#include "source_writer.h"
#include "started_package.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

bool have(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A game whose room, object, folders and music file have names beyond ASCII.
void writeUmlautGame(const SourceTree& s, const std::string& room, const std::string& object,
                     const std::string& music, const std::string& meta = "") {
    s.minimalGame();
    s.text("game.toml", meta +
                            "title = \"Test\"\nmainCharacterName = \"hero\"\n"
                            "startCursor = \"arrow\"\n");
    s.remove("rooms/hall.toml");
    s.remove("rooms/hall");
    s.text("rooms/" + room + ".toml",
           "titleKey = \"" + room +
               "\"\nbackground = \"background.dxg\"\nmaskFile = \"mask.dxg\"\n"
               "music = \"theme\"\n\n[[placement]]\nname = \"hero\"\nx = 400\ny = 400\n\n"
               "[[placement]]\nname = \"" +
               object + "\"\nx = 100\ny = 300\n");
    s.png("rooms/" + room + "/background.png", solidImage(800, 600, 0x607080));
    s.png("rooms/" + room + "/mask.png", solidImage(800, 600, 0xFFFFFF));
    s.text("objects/" + object + ".toml", "spriteFile = \"bell.dxg\"\n");
    s.png("objects/" + object + "/bell.png", solidImage(30, 30, 0x20C020));
    s.text("music.toml", "[[music]]\nname = \"theme\"\nfile = \"" + music + "\"\n");
    s.bytes("music/" + music, {'M', 'T', 'h', 'd', 0, 0, 0, 6});
}

struct Played {
    std::vector<std::string> errors;  // a picture or sound that is not found is one
    std::string room;
    std::string music;  // the file the media player opened, without its folder
};

// Starts the package as the window does and enters its start room.
Played play(const std::string& packagePath, const fs::path& work) {
    StartedPackage started(packagePath, work);
    const GameState& g = started.g;
    const HeadlessPlatform& hp = started.hp;
    Played p;
    try {
        if (started.start() != LoadOutcome::Loaded) p.errors.push_back("no start room");
    } catch (const DataError& e) {
        p.errors.push_back(e.what());
    }
    for (const std::string& e : hp.errorReport.messages) p.errors.push_back(e);
    if (g.hasRoom()) p.room = g.room().name();
    p.music = fs::path(hp.media.fileName()).filename().string();
    return p;
}

// The package's files on disk under UTF-8 names, as an archiver would find them.
fs::path unpack(const std::string& packagePath, const fs::path& dir, const CodePage& page) {
    for (const auto& [name, bytes] : tools::readPackageEntries(packagePath)) {
        std::string path = page.toUtf8(name);
        std::replace(path.begin(), path.end(), '\\', '/');
        fs::create_directories((dir / path).parent_path());
        tools::writeFileBytes(dir / path, bytes);
    }
    return dir;
}

class ForeignPackages : public ::testing::Test {
  protected:
    void expectPlays(const std::string& what, const std::string& packagePath) {
        SCOPED_TRACE(what);
        Played p = play(packagePath, s.dir.path() / "extract");
        std::string errors;
        for (const std::string& e : p.errors) errors += e + "\n";
        EXPECT_TRUE(p.errors.empty()) << errors;
        EXPECT_EQ(p.room, room);
        EXPECT_EQ(p.music, music);
    }
    // Remakes the package with a shell command run in the folder of its files, "OUT"
    // standing for the new package; skips when the program is missing.
    void remake(const std::string& program, const std::string& what, std::string command) {
        if (!have(program)) {
            std::cout << "[  SKIPPED ] " << what << ": " << program << " is not installed\n";
            return;
        }
        const std::string out = s.dir.file(what + ".zip");
        command.replace(command.find("OUT"), 3, quote(out));
        ASSERT_EQ(run("cd " + quote(files.string()) + " && " + command), 0) << what;
        expectPlays(what, out);
        ++remade;
    }

    SourceTree s;
    CodePage page;
    std::string room, music;
    fs::path files;
    int remade = 0;
};

TEST_F(ForeignPackages, NamesBeyondAsciiPlayFromEveryArchiver) {
    writeUmlautGame(s, "küche", "glöckner", "Tür.mid");
    room = *page.fromUtf8("küche");
    music = *page.fromUtf8("Tür.mid");
    const std::string packed = s.pack();
    ASSERT_FALSE(HasFailure());
    expectPlays("zelkin-pack", packed);
    files = unpack(packed, s.dir.path() / "files", page);

    remake("zip", "info-zip", "zip -q -r -P k3m7p2w9t4q8z OUT .");
    remake("python3", "python-zipfile",
           "python3 -c 'import sys,zipfile,os\n"
           "z=zipfile.ZipFile(sys.argv[1],\"w\",zipfile.ZIP_DEFLATED)\n"
           "[z.write(os.path.join(d,f),os.path.relpath(os.path.join(d,f))) for d,_,fs in "
           "os.walk(\".\") for f in fs]' OUT");
    remake("7z", "7-zip", "7z a -tzip -pk3m7p2w9t4q8z -mem=ZipCrypto -bd -y OUT .");
    remake("bsdtar", "bsdtar", "bsdtar --format zip -cf OUT .");
    if (remade == 0) GTEST_SKIP() << "no archiver is installed";
}

TEST_F(ForeignPackages, CaseFolderAndDotPrefixVariantsStart) {
    writeUmlautGame(s, "küche", "glöckner", "Tür.mid");
    room = *page.fromUtf8("küche");
    music = *page.fromUtf8("Tür.mid");
    const std::string packed = s.pack();
    ASSERT_FALSE(HasFailure());
    files = unpack(packed, s.dir.path() / "Spiel", page);
    if (!have("python3")) GTEST_SKIP() << "python3 is not installed";
    // Names written as Python's zipfile is told to: upper case, under the game's own
    // folder, and with "./" in front.
    const std::string write =
        "python3 -c 'import sys,zipfile,os\n"
        "z=zipfile.ZipFile(sys.argv[1],\"w\")\n"
        "[z.write(os.path.join(d,f),eval(sys.argv[2])) for d,_,fs in os.walk(\".\") for f in "
        "fs for n in [os.path.relpath(os.path.join(d,f))]]' ";
    struct Variant {
        const char* what;
        const char* name;
    } variants[] = {{"upper-case", "n.upper()"},
                    {"top-folder", "\"Spiel/\"+n"},
                    {"dot-slash", "\"./\"+n"},
                    {"backslashes", "n.replace(\"/\",\"\\\\\")"}};
    music = *page.fromUtf8("TÜR.MID");
    for (const Variant& v : variants) {
        if (std::string(v.what) != "upper-case") music = *page.fromUtf8("Tür.mid");
        const std::string out = s.dir.file(std::string(v.what) + ".zip");
        ASSERT_EQ(
            run("cd " + quote(files.string()) + " && " + write + quote(out) + " " + quote(v.name)),
            0);
        expectPlays(v.what, out);
    }
}

// 7-Zip's AES writes the AE-2 form, without a checksum, which libzip still checks: such
// a package is refused with what to use instead, not as a wrong password.
TEST_F(ForeignPackages, SevenZipAesIsRefusedWithWhatToUseInstead) {
    if (!have("7z")) GTEST_SKIP() << "7z is not installed";
    writeUmlautGame(s, "hall", "bell", "theme.mid");
    files = unpack(s.pack(), s.dir.path() / "files", page);
    const std::string out = s.dir.file("aes.zip");
    ASSERT_EQ(run("cd " + quote(files.string()) + " && 7z a -tzip -pk3m7p2w9t4q8z -mem=AES256 " +
                  "-bd -y " + quote(out) + " ."),
              0);
    Played p = play(out, s.dir.path() / "extract");
    ASSERT_FALSE(p.errors.empty());
    EXPECT_NE(p.errors.back().find("AE-2 form (as 7-Zip writes it)"), std::string::npos)
        << p.errors.back();
    EXPECT_NE(p.errors.back().find("-mem=ZipCrypto"), std::string::npos) << p.errors.back();
}

TEST_F(ForeignPackages, AMissingPrefsFileSaysWhatThePackageHolds) {
    if (!have("zip")) GTEST_SKIP() << "zip is not installed";
    fs::create_directories(s.dir.path() / "a" / "b");
    std::ofstream(s.dir.path() / "a" / "b" / "prefs.dat") << "x";
    std::ofstream(s.dir.path() / "a" / "readme.txt") << "x";
    const std::string out = s.dir.file("nested.zip");
    ASSERT_EQ(run("cd " + quote(s.dir.file("a")) + " && zip -q -r " + quote(out) + " ."), 0);
    Played p = play(out, s.dir.path() / "extract");
    ASSERT_EQ(p.errors.size(), 1u);
    EXPECT_NE(p.errors[0].find("'prefs.dat' is missing from the game package"), std::string::npos)
        << p.errors[0];
    EXPECT_NE(p.errors[0].find("'b/prefs.dat'"), std::string::npos) << p.errors[0];
    EXPECT_NE(p.errors[0].find("'readme.txt'"), std::string::npos) << p.errors[0];
}

}  // namespace
}  // namespace zk::test

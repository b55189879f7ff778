// The default game Tolvan.tgp as a package: zelkin-inspect and zelkin-pack take it apart
// and put it together again without changing a data file, and every text the game
// shows exists in both of its languages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/language.h"
#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"
#include "package/package.h"
#include "platform/archive.h"
#include "support/temp_dir.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = fs::path(ZELKIN_BINARY).parent_path();

fs::path demoPackage() {
    return kBuild / "Tolvan.tgp";
}

// Every entry of a package by name, decrypted.
std::map<std::string, std::vector<uint8_t>> entries(const fs::path& package) {
    std::map<std::string, std::vector<uint8_t>> out;
    std::unique_ptr<ArchiveReader> archive = openArchive(package);
    for (size_t i = 0; i < archive->entries().size(); ++i) {
        const ArchiveEntry& e = archive->entries()[i];
        if (!e.isDirectory()) out[e.name] = archive->read(i, kPackagePassword);
    }
    return out;
}

int runTool(const std::string& tool, const std::string& arguments, const TempDir& dir) {
    const std::string cmd = "'" + (kBuild / tool).string() + "' " + arguments + " >'" +
                            dir.file(tool + ".txt") + "' 2>&1";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

template <size_t N>
std::vector<ByteRecord<N>> records(const std::vector<uint8_t>& file) {
    std::vector<ByteRecord<N>> out;
    for (size_t at = 0; at + N <= file.size(); at += N)
        out.emplace_back(std::span<const uint8_t>(file).subspan(at, N));
    return out;
}

TEST(DemoPackage, InspectingAndPackingAgainKeepsEveryDataFile) {
    ASSERT_TRUE(fs::exists(demoPackage())) << demoPackage() << " is missing";
    TempDir dir;
    ASSERT_EQ(runTool("zelkin-inspect",
                      "'" + demoPackage().string() + "' --source '" + dir.file("src") + "'", dir),
              0);
    ASSERT_EQ(
        runTool("zelkin-pack", "'" + dir.file("src") + "' -o '" + dir.file("again.tgp") + "'", dir),
        0);
    const auto original = entries(demoPackage());
    const auto again = entries(dir.file("again.tgp"));

    std::vector<std::string> names, namesAgain;
    for (const auto& [name, bytes] : original) names.push_back(name);
    for (const auto& [name, bytes] : again) namesAgain.push_back(name);
    EXPECT_EQ(namesAgain, names);
    int dataFiles = 0;
    for (const auto& [name, bytes] : original) {
        if (name.ends_with(".dat") || name == "languages.txt") {
            ++dataFiles;
            ASSERT_TRUE(again.count(name)) << name;
            EXPECT_TRUE(again.at(name) == bytes) << name << " changed on the way";
        }
    }
    EXPECT_EQ(dataFiles, 7);  // prefs, objects, rooms, cursors, music, inv, languages
}

// The texts the player can meet: object texts, room titles, zone hints, what the
// scripts say and the dialogue's lines, the wrong-use answers.
std::set<std::string> shownTexts(const std::map<std::string, std::vector<uint8_t>>& game) {
    std::set<std::string> keys;
    for (const auto& o : records<94752>(game.at("objects.dat"))) {
        ObjectRecord object(o.bytes());
        if (object.name().empty()) continue;
        if (!object.displayNameKey().empty()) keys.insert(object.displayNameKey());
        for (int e = 0; e < kEventsPerObject; ++e)
            for (int c = 0; c < kCommandsPerEvent; ++c) {
                ConstCommandView command = std::as_const(object).event(e).command(c);
                if (command.verb() == "showhint") keys.insert(command.text());
                if (command.verb() == "startdialog") {
                    keys.insert(command.p3());
                    std::string choices = command.text();
                    for (size_t at = choices.find('#'); at != std::string::npos;
                         at = choices.find('#')) {
                        keys.insert(choices.substr(0, at));
                        choices.erase(0, at + 1);
                    }
                }
            }
    }
    for (const auto& r : records<4116>(game.at("rooms.dat"))) {
        StoredRoomRecord room(r.bytes());
        if (room.name().empty()) continue;
        keys.insert(room.titleKey());
        for (int z = 0; z < 10; ++z)
            if (room.zone(z).enabled()) keys.insert(room.zone(z).hintKey());
    }
    PreferencesRecord prefs(game.at("prefs.dat"));
    for (int k = 0; k < 10; ++k)
        if (!prefs.wrongSubjectText(k).empty()) keys.insert(prefs.wrongSubjectText(k));
    return keys;
}

TEST(DemoPackage, EveryTextIsTranslatedIntoBothLanguages) {
    ASSERT_TRUE(fs::exists(demoPackage())) << demoPackage() << " is missing";
    const auto game = entries(demoPackage());
    const std::vector<uint8_t>& lines = game.at("languages.txt");
    const LanguageTable table = LanguageTable::fromText(std::string(lines.begin(), lines.end()));
    const std::set<std::string> keys = shownTexts(game);
    EXPECT_GT(keys.size(), 60u);
    for (const std::string& key : keys) {
        EXPECT_NE(table.translate(key, 1), "") << "no English for '" << key << "'";
        EXPECT_NE(table.translate(key, 2), "") << "no German for '" << key << "'";
    }
    // A text shown in a 30-character field must fit there in every language.
    for (const auto& r : records<4116>(game.at("rooms.dat"))) {
        StoredRoomRecord room(r.bytes());
        for (int z = 0; z < 10; ++z) {
            if (!room.zone(z).enabled()) continue;
            for (int language : {1, 2})
                EXPECT_LE(table.translate(room.zone(z).hintKey(), language).size(), 30u)
                    << room.zone(z).hintKey();
        }
    }
}

}  // namespace
}  // namespace zk::test

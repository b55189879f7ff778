#include <gtest/gtest.h>

#include "package/entry_names.h"

namespace zk {
namespace {

std::vector<std::string> names(const std::vector<ArchiveEntry>& entries) {
    std::vector<std::string> out;
    for (const ArchiveEntry& e : entries) out.push_back(e.name);
    return out;
}

TEST(GameEntryNames, Utf8NamesBecomeTheGamesCodePage) {
    const CodePage cyrillic = *CodePage::byNumber(1251);
    const std::string kitchen = cyrillic.fromUtf8("кухня").value();
    const std::vector<ArchiveEntry> stored = {
        {"rooms/кухня/bg.dxg", 1, false, true},                 // marked as UTF-8
        {"rooms\\" + kitchen + "\\mask.dxg", 1, false, false},  // the code page's bytes
        {"./music/Ω.mid", 1, false, true},                      // no Greek letters in 1251: kept
    };
    EXPECT_EQ(names(gameEntryNames(stored, cyrillic)),
              (std::vector<std::string>{"rooms/" + kitchen + "/bg.dxg",
                                        "rooms/" + kitchen + "/mask.dxg", "music/Ω.mid"}));
    // Letter case of the code page: the capital Cyrillic name finds the small one.
    const auto game = gameEntryNames(stored, cyrillic);
    EXPECT_EQ(
        findEntries(game, "ROOMS\\" + cyrillic.fromUtf8("КУХНЯ").value() + "\\BG.DXG", cyrillic),
        std::vector<size_t>{0});
    EXPECT_EQ(findEntries(game, "rooms\\" + kitchen + "\\*.dxg", cyrillic),
              (std::vector<size_t>{0, 1}));
}

TEST(GameEntryNames, OneTopFolderHoldingTheGameIsDropped) {
    const std::vector<ArchiveEntry> zipped = {{"Tolvan/", 0, false, false},
                                              {"Tolvan/PREFS.DAT", 1, false, false},
                                              {"Tolvan/music/a.mid", 1, false, false}};
    EXPECT_EQ(names(gameEntryNames(zipped, {})),
              (std::vector<std::string>{"", "PREFS.DAT", "music/a.mid"}));
    // Not a game folder: a package of music only, or files beside the folder.
    const std::vector<ArchiveEntry> musicOnly = {{"music/a.mid", 1, false, false},
                                                 {"music/b.mid", 1, false, false}};
    EXPECT_EQ(names(gameEntryNames(musicOnly, {}))[0], "music/a.mid");
    const std::vector<ArchiveEntry> beside = {{"Tolvan/prefs.dat", 1, false, false},
                                              {"readme.txt", 1, false, false}};
    EXPECT_EQ(names(gameEntryNames(beside, {}))[0], "Tolvan/prefs.dat");
}

}  // namespace
}  // namespace zk

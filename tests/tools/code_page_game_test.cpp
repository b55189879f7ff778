// A game in another alphabet: written in UTF-8 sources, its code page named in the
// [meta] table of game.toml, packed, played and inspected back.
#include <gtest/gtest.h>

#include "core/code_page.h"
#include "data/game_metadata.h"
#include "logic/loader.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "source_fixture.h"
#include "source_writer.h"
#include "started_package.h"

namespace zk::test {
namespace {

const char* kRussianMeta = R"([meta]
id = "kukhnya"
codePage = 1251
voiceLanguage = "ru"
languages = [{ name = "Ключи", code = "" }, { name = "Русский", code = "ru" }]

)";

void writeRussianGame(const SourceTree& s) {
    s.minimalGame();
    s.text("game.toml",
           "title = \"Кухня\"\nmainCharacterName = \"герой\"\nstartCursor = \"arrow\"\n"
           "language = 1\n\n" +
               std::string(kRussianMeta));
    s.remove("objects/hero.toml");
    s.remove("objects/hero");
    s.text("objects/герой.toml",
           "kind = \"character\"\nspriteFile = \"stand.dxg\"\nstandRightSprite = \"stand.dxg\"\n"
           "anchorX = 10\nanchorY = 40\n");
    s.png("objects/герой/stand.png", solidImage(20, 40, 0xC02020));
    s.remove("rooms/hall.toml");
    s.remove("rooms/hall");
    s.text("rooms/кухня.toml",
           "titleKey = \"кухня\"\nbackground = \"фон.dxg\"\nmaskFile = \"mask.dxg\"\n\n"
           "[[placement]]\nname = \"герой\"\nx = 400\ny = 400\n");
    s.png("rooms/кухня/фон.png", solidImage(800, 600, 0x607080));
    s.png("rooms/кухня/mask.png", solidImage(800, 600, 0xFFFFFF));
    s.text("languages.txt", "text=\"кухня\" lang1=\"Кухня бабушки\"\r\n");
}

TEST(CodePageGame, ARussianGamePacksPlaysAndComesBack) {
    SourceTree s;
    writeRussianGame(s);
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(entries, diag)) << (diag.all().empty() ? "" : diag.all()[0].text());
    const CodePage page = *CodePage::byNumber(1251);
    const auto cp = [&](const char* utf8) { return page.fromUtf8(utf8).value(); };
    ASSERT_NE(findEntry(entries, "rooms\\" + cp("кухня") + "\\" + cp("фон.dxg")), nullptr);
    const tools::PackageEntry* meta = findEntry(entries, "zelkin.toml");
    ASSERT_NE(meta, nullptr);
    const GameMetadata parsed = parseMetadata(std::string(meta->bytes.begin(), meta->bytes.end()));
    EXPECT_EQ(parsed.id, "kukhnya");
    EXPECT_EQ(parsed.codePage.number(), 1251);
    EXPECT_EQ(parsed.voiceLanguage, "ru");
    ASSERT_EQ(parsed.languages.size(), 2u);
    EXPECT_EQ(parsed.languages[1], (LanguageColumn{"Русский", "ru"}));
    const tools::PackageEntry* languages = findEntry(entries, "languages.txt");
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(std::string(languages->bytes.begin(), languages->bytes.end()),
              "text=\"" + cp("кухня") + "\" lang1=\"" + cp("Кухня бабушки") + "\"\r\n");
    const std::string packagePath = s.dir.file("game.tgp");
    tools::writePackage(entries, packagePath);

    StartedPackage started(packagePath, s.dir.path() / "extract");
    ASSERT_EQ(started.start(), LoadOutcome::Loaded);
    GameState& g = started.g;
    HeadlessPlatform& hp = started.hp;
    Platform& platform = started.platform;
    EXPECT_TRUE(hp.errorReport.messages.empty())
        << (hp.errorReport.messages.empty() ? "" : hp.errorReport.messages[0]);
    EXPECT_EQ(g.tables.metadata, parsed);
    EXPECT_EQ(g.room().name(), cp("кухня"));
    EXPECT_EQ(g.scene.currentRoomTitle, cp("Кухня бабушки"));
    // Texts are drawn as Cyrillic letters: the canvas reads them in the game's code page.
    EXPECT_EQ(platform.canvas.codePage().number(), 1251);
    EXPECT_EQ(platform.canvas.textWidth(g.scene.currentRoomTitle),
              platform.fonts.get("Tahoma", 12).width("Кухня бабушки"));
    EXPECT_NE(platform.canvas.textWidth(g.scene.currentRoomTitle),
              platform.fonts.get("Tahoma", 12).width(CodePage().toUtf8(g.scene.currentRoomTitle)));

    // Inspected back: the names, texts and [meta] in UTF-8, and packed again the same.
    const tools::SourceFolder source =
        tools::makeSourceFolder(tools::readPackageEntries(packagePath));
    ASSERT_TRUE(source.files.count("rooms/кухня.toml"));
    ASSERT_TRUE(source.files.count("rooms/кухня/pictures.toml"));
    const auto& game = source.files.at("game.toml");
    const std::string gameText(game.begin(), game.end());
    EXPECT_NE(gameText.find("title = \"Кухня\""), std::string::npos) << gameText;
    EXPECT_NE(gameText.find("[meta]\nid = \"kukhnya\"\ncodePage = 1251\n"), std::string::npos)
        << gameText;
    const auto& lang = source.files.at("languages.txt");
    EXPECT_EQ(std::string(lang.begin(), lang.end()), "text=\"кухня\" lang1=\"Кухня бабушки\"\r\n");
    tools::writeSourceFolder(source, s.dir.path() / "again");
    std::vector<tools::PackageEntry> again;
    ASSERT_TRUE(tools::buildPackage(s.dir.path() / "again", again, diag));
    ASSERT_EQ(again.size(), entries.size());
    for (const tools::PackageEntry& e : entries) {
        const tools::PackageEntry* other = findEntry(again, e.name);
        ASSERT_NE(other, nullptr) << page.toUtf8(e.name);
        if (!e.name.ends_with(".dxg")) {
            EXPECT_EQ(other->bytes, e.bytes) << page.toUtf8(e.name);
        }
    }
}

TEST(CodePageGame, MetadataMistakesAreReportedWithTheirLine) {
    SourceTree s;
    s.minimalGame();
    s.text("game.toml",
           "title = \"Test\"\nmainCharacterName = \"hero\"\nstartCursor = \"arrow\"\n"
           "[meta]\nid = \"../saves\"\ncodePage = 866\nvoiceLanguage = \"ru ru\"\n");
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_FALSE(s.build(entries, diag));
    std::string all;
    for (const auto& d : diag.all()) all += d.text() + "\n";
    EXPECT_NE(all.find("game.toml:5: meta: id '../saves'"), std::string::npos) << all;
    EXPECT_NE(all.find("game.toml:6: meta: codePage 866 is none of 1250, 1251"), std::string::npos)
        << all;
    EXPECT_NE(all.find("game.toml:7: meta: voiceLanguage 'ru ru'"), std::string::npos) << all;

    // A text the code page cannot hold names the code page.
    s.text("game.toml",
           "title = \"Tür\"\nmainCharacterName = \"hero\"\nstartCursor = "
           "\"arrow\"\n[meta]\ncodePage = 1251\n");
    tools::Diagnostics again;
    EXPECT_FALSE(s.build(entries, again));
    ASSERT_FALSE(again.all().empty());
    EXPECT_NE(again.all()[0].text().find("which a Windows-1251 text cannot store"),
              std::string::npos)
        << again.all()[0].text();

    // Without [meta], no member is added and nothing changes.
    s.text("game.toml", "title = \"Tür\"\nmainCharacterName = \"hero\"\nstartCursor = \"arrow\"\n");
    std::vector<tools::PackageEntry> plain;
    tools::Diagnostics none;
    ASSERT_TRUE(s.build(plain, none));
    EXPECT_EQ(findEntry(plain, "zelkin.toml"), nullptr);
}

}  // namespace
}  // namespace zk::test

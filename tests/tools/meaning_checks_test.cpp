// Mistakes that pack without an error but break the game when it is played: each is
// reported as a warning with its file and line, and the package is still built.
#include <gtest/gtest.h>

#include <functional>

#include "source_fixture.h"

namespace zk::test {
namespace {

const std::string kHall = R"(titleKey = "hall"
background = "background.dxg"
maskFile = "mask.dxg"

[[placement]]
name = "hero"
x = 400
y = 400

[[entrance]]
name = "door"
x = 500
y = 400
walkX = 520
walkY = 400

[[zone]]
rect = [0, 300, 40, 600]
walkX = 20
walkY = 450
targetRoom = "hall"
targetEntrance = "door"
)";

const std::string kProp = R"([[event]]
name = "onclick"
script = '''
startdialog hero stand.dxg "Hello?" "Yes#No#" 0 0
'''
)";

// A game in language 1 with an item, a dialogue, a zone and an entrance, and nothing the
// checks warn of.
void goodGame(const SourceTree& s) {
    s.minimalGame();
    s.text("game.toml",
           "title = \"Test\"\nmainCharacterName = \"hero\"\nstartCursor = "
           "\"arrow\"\nlanguage = 1\nwrongSubjectTexts = [\"No use.\"]\n");
    s.text("languages.txt",
           "text=\"hall\" lang1=\"Hall\"\ntext=\"No use.\" lang1=\"No use.\"\n"
           "text=\"key\" lang1=\"Key\"\ntext=\"Hello?\" lang1=\"Hello?\"\n"
           "text=\"Yes\" lang1=\"Yes\"\ntext=\"No\" lang1=\"No\"\n");
    s.bytes("interface/a_take.wav", tools::wavFile(testWave(1)));
    s.bytes("interface/b_drop.wav", tools::wavFile(testWave(2)));
    s.text("objects/key.toml",
           "kind = \"subject\"\ndisplayNameKey = \"key\"\n"
           "iconFile = \"icon.dxg\"\n");
    s.png("objects/key/icon.png", solidImage(16, 16, 0xE0E000));
    s.text("objects/prop.toml", kProp);
    s.text("rooms/hall.toml", kHall);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string messages(const tools::Diagnostics& diag) {
    std::string all;
    for (const auto& d : diag.all()) all += d.text() + "\n";
    return all;
}

TEST(MeaningChecks, AGoodGameHasNoWarnings) {
    SourceTree s;
    goodGame(s);
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_TRUE(s.build(entries, diag));
    EXPECT_TRUE(diag.all().empty()) << messages(diag);
}

// A walk mask whose left half is wall.
Image leftWallImage() {
    Image mask = solidImage(800, 600, 0xFFFFFF);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 400; ++x) mask.pixels[size_t(y * 800 + x)] = 0;
    return mask;
}

TEST(MeaningChecks, EachMistakeIsAWarningAtItsFileAndLine) {
    const Image leftWall = leftWallImage();
    const std::vector<Mistake> mistakes = {
        {"mask of another size",
         [](auto& s) { s.png("rooms/hall/mask.png", solidImage(400, 300, 0xFFFFFF)); },
         "rooms/hall.toml", 3, "is 400x300 but the background is 800x600"},
        {"main character off the walkable area",
         [&](auto& s) {
             s.png("rooms/hall/mask.png", leftWall);
             s.text("rooms/hall.toml",
                    replaced(replaced(kHall, "x = 400", "x = 101"), "walkX = 20", "walkX = 420"));
         },
         "rooms/hall.toml", 7,
         "placement 0: 'hero' (101, 400) is off the walkable area of room 'hall': the nearest "
         "walkable point is (400, 400)"},
        {"entrance walk-in point off the room",
         [](auto& s) { s.text("rooms/hall.toml", replaced(kHall, "walkY = 400", "walkY = 700")); },
         "rooms/hall.toml", 14,
         "entrance 0: walk-in point (520, 700) is off the walkable area of room 'hall': the "
         "nearest walkable point is (520, 598)"},
        {"a start room whose start point is off the walkable area",
         [](auto& s) {
             s.text("game.toml",
                    "title = \"Test\"\nmainCharacterName = \"hero\"\nstartCursor = "
                    "\"arrow\"\nlanguage = 1\nwrongSubjectTexts = [\"No use.\"]\n"
                    "startRoomOverride = \"cellar\"\n");
             s.text("rooms/cellar.toml", "background = \"bg.dxg\"\nmaskFile = \"mask.dxg\"\n");
             s.png("rooms/cellar/bg.png", solidImage(800, 600, 0x202020));
             s.png("rooms/cellar/mask.png", leftWallImage());
         },
         "game.toml", 6,
         "startRoomOverride: the main character's start at its object's x, y (0, 0) is off the "
         "walkable area of room 'cellar': the nearest walkable point is (400, 0)"},
        {"odd zone walk point",
         [](auto& s) { s.text("rooms/hall.toml", replaced(kHall, "walkX = 20", "walkX = 21")); },
         "rooms/hall.toml", 19, "zone 0: walk point (21, 450) has an odd coordinate"},
        {"zone outside the display",
         [](auto& s) {
             s.text("rooms/hall.toml",
                    replaced(kHall, "rect = [0, 300, 40, 600]", "rect = [800, 300, 840, 600]"));
         },
         "rooms/hall.toml", 18, "zone 0: rect lies outside the 800x600 display"},
        {"zone without a rect",
         [](auto& s) {
             s.text("rooms/hall.toml", replaced(kHall, "rect = [0, 300, 40, 600]\n", ""));
         },
         "rooms/hall.toml", 17, "zone 0: rect is not given"},
        {"dialogue choices without the closing #",
         [](auto& s) { s.text("objects/prop.toml", replaced(kProp, "No#", "No")); },
         "objects/prop.toml", 4,
         "'startdialog' choices end in 'No' without a closing '#': that last choice is dropped"},
        {"item without an icon",
         [](auto& s) {
             s.text("objects/key.toml", "kind = \"subject\"\ndisplayNameKey = \"key\"\n");
         },
         "objects/key.toml", 1, "an item (kind \"subject\") needs iconFile"},
        {"character without standing pictures",
         [](auto& s) {
             s.text("objects/hero.toml",
                    "kind = \"character\"\nspriteFile = \"stand.dxg\"\nwalkLeftSprite = "
                    "\"stand.dxg\"\n");
         },
         "objects/hero.toml", 1, "a character needs its standing pictures"},
        {"a walk without its standing picture",
         [](auto& s) {
             s.text("objects/hero.toml",
                    "kind = \"character\"\nspriteFile = \"stand.dxg\"\nstandRightSprite = "
                    "\"stand.dxg\"\nwalkUpSprite = \"stand.dxg\"\n");
         },
         "objects/hero.toml", 4, "walkUpSprite is set but standUpSprite is not"},
        {"interface sound 1 missing", [](auto& s) { s.remove("interface/b_drop.wav"); },
         "interface", 0, "interface sound 1 (an item laid into an inventory slot) is missing"},
        {"interface sound 2 missing with a transmute event",
         [](auto& s) {
             s.text("objects/key.toml",
                    "kind = \"subject\"\niconFile = \"icon.dxg\"\n"
                    "displayNameKey = \"key\"\n\n[[event]]\n"
                    "name = \"transmute\"\nwith = \"key\"\nresult = \"key\"\n");
         },
         "interface", 0, "interface sound 2 (two items combined) is missing"},
        {"a shown text missing from languages.txt",
         [](auto& s) {
             s.text("languages.txt",
                    "text=\"No use.\" lang1=\"No use.\"\n"
                    "text=\"key\" lang1=\"Key\"\ntext=\"Hello?\" lang1=\"x\"\n"
                    "text=\"Yes\" lang1=\"Yes\"\ntext=\"No\" lang1=\"No\"\n");
         },
         "rooms/hall.toml", 1,
         "titleKey 'hall' has no line in languages.txt, so it shows blank in language 1 (used at "
         "game.toml:4)"},
        {"a choice without its language column",
         [](auto& s) {
             s.text("languages.txt",
                    "text=\"hall\" lang1=\"Hall\"\ntext=\"No use.\" lang1=\"No\"\n"
                    "text=\"key\" lang1=\"Key\"\ntext=\"Hello?\" lang1=\"x\"\n"
                    "text=\"Yes\" lang2=\"Ja\"\ntext=\"No\" lang1=\"No\"\n");
         },
         "objects/prop.toml", 4, "'startdialog' choice 'Yes' has no lang1 on line 5"},
        {"a UTF-8 languages.txt in a Windows-1252 game",
         [](auto& s) {
             s.text("languages.txt",
                    "text=\"hall\" lang1=\"Hall\"\ntext=\"No use.\" lang1=\"No\"\n"
                    "text=\"key\" lang1=\"Schl\xC3\xBC"
                    "ssel\"\n"
                    "text=\"Hello?\" lang1=\"x\"\n"
                    "text=\"Yes\" lang1=\"Yes\"\ntext=\"No\" lang1=\"No\"\n");
         },
         "languages.txt", 3, "is written in UTF-8, but a game without a [meta] table"},
    };
    for (const Mistake& m : mistakes) {
        SCOPED_TRACE(m.what);
        SourceTree s;
        goodGame(s);
        m.make(s);
        std::vector<tools::PackageEntry> entries;
        tools::Diagnostics diag;
        EXPECT_TRUE(s.build(entries, diag)) << messages(diag);
        EXPECT_FALSE(entries.empty());
        bool found = false;
        for (const auto& d : diag.all())
            found |= d.warning && d.file == m.file && d.line == m.line &&
                     d.message.find(m.message) != std::string::npos;
        EXPECT_TRUE(found) << "wanted " << m.file << ":" << m.line << ": ..." << m.message
                           << "\ngot:\n"
                           << messages(diag);
    }
}

TEST(MeaningChecks, AUtf8LanguageFileIsConvertedSilentlyWhenTheGameNamesItsCodePage) {
    SourceTree s;
    goodGame(s);
    s.text("game.toml",
           "title = \"Test\"\nmainCharacterName = \"hero\"\nstartCursor = "
           "\"arrow\"\nlanguage = 1\nwrongSubjectTexts = [\"No use.\"]\n\n"
           "[meta]\nid = \"test\"\ncodePage = 1252\n");
    s.text("languages.txt",
           "text=\"hall\" lang1=\"Hall\"\ntext=\"No use.\" lang1=\"No\"\n"
           "text=\"key\" lang1=\"Schl\xC3\xBCssel\"\ntext=\"Hello?\" lang1=\"x\"\n"
           "text=\"Yes\" lang1=\"Yes\"\ntext=\"No\" lang1=\"No\"\n");
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_TRUE(s.build(entries, diag));
    EXPECT_TRUE(diag.all().empty()) << messages(diag);
    const tools::PackageEntry* table = findEntry(entries, "languages.txt");
    ASSERT_NE(table, nullptr);
    EXPECT_NE(std::string(table->bytes.begin(), table->bytes.end()).find("Schl\xFCssel"),
              std::string::npos);
}

TEST(MeaningChecks, ALanguageFileInTheCodePageIsTakenAsItIsWithAWarning) {
    SourceTree s;
    goodGame(s);
    s.text("game.toml",
           "title = \"Test\"\nmainCharacterName = \"hero\"\nstartCursor = "
           "\"arrow\"\n\n[meta]\nid = \"test\"\ncodePage = 1252\n");
    const std::string table = "text=\"key\" lang1=\"Key\"\ntext=\"door\" lang1=\"T\xFCr\"\n";
    s.text("languages.txt", table);
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_TRUE(s.build(entries, diag)) << messages(diag);
    ASSERT_EQ(diag.all().size(), 1u) << messages(diag);
    EXPECT_EQ(diag.all()[0].text(),
              "languages.txt:2: warning: is not UTF-8; it is taken as Windows-1252 text as it is "
              "(save it as UTF-8 to have it converted)");
    const tools::PackageEntry* packed = findEntry(entries, "languages.txt");
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(std::string(packed->bytes.begin(), packed->bytes.end()), table);
}

TEST(MeaningChecks, NamesThatReferToNothingSuggestTheNearestName) {
    SourceTree s;
    goodGame(s);
    s.bytes("objects/prop/creak.wav", tools::wavFile(testWave(3)));
    s.text("objects/prop.toml", R"([[event]]
name = "onclick"
script = '''
changeroom hal door
changeroom hall dor
addobj kye
changecur <self> hall arow
playsnd <self> creek
startdialog hero stnd.dxg "Hello?" "Yes#No#" 0 0
'''
)");
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_FALSE(s.build(entries, diag));
    const std::string all = messages(diag);
    for (const char* wanted :
         {":4: event 0: 'changeroom' room: there is no room 'hal' (did you mean 'hall'?)",
          ":5: event 0: 'changeroom' entrance: room 'hall' has no entrance 'dor' (did you mean "
          "'door'?)",
          ":6: event 0: 'addobj' template: there is no object template 'kye' (did you mean 'key'?)",
          ":7: event 0: 'changecur' cursor: there is no cursor 'arow' in cursors.toml (did you "
          "mean 'arrow'?)",
          ":8: event 0: 'playsnd' sound: there is no sound 'creek' in objects/prop/ (did you mean "
          "'creak'?)",
          "(from stnd.png or pictures.toml) (did you mean 'stand.dxg'?)"})
        EXPECT_NE(all.find(wanted), std::string::npos) << wanted << "\ngot:\n" << all;
}

}  // namespace
}  // namespace zk::test

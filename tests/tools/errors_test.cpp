#include <gtest/gtest.h>

#include <functional>

#include "source_fixture.h"

namespace zk::test {
namespace {

void prop(const SourceTree& s, const std::string& body) {
    s.text("objects/prop.toml", body);
}
std::string script(const std::string& lines) {
    return "[[event]]\nname = \"onclick\"\nscript = '''\n" + lines + "'''\n";
}
const std::string kHall =
    "background = \"background.dxg\"\nmaskFile = \"mask.dxg\"\n\n"
    "[[placement]]\nname = \"hero\"\nx = 400\ny = 400\n";

// Each mistake an author can make, the file and line it must be reported at, and
// what the message must say.
std::vector<Mistake> mistakes() {
    std::string twentyOne;
    for (int i = 0; i < 21; ++i) twentyOne += "sleep 1\n";
    return {
        {"unknown verb",
         [](auto& s) { prop(s, script("walkto hero <nochange> 1 2\nwalkot hero\n")); },
         "objects/prop.toml", 5, "event 0: unknown verb 'walkot' (did you mean 'walkto'?)"},
        {"unknown event name", [](auto& s) { prop(s, "[[event]]\nname = \"onclik\"\n"); },
         "objects/prop.toml", 2, "unknown event name 'onclik' (did you mean 'onclick'?)"},
        {"too many commands", [twentyOne](auto& s) { prop(s, script(twentyOne)); },
         "objects/prop.toml", 24, "an event holds at most 20 commands"},
        {"unknown room", [](auto& s) { prop(s, script("changeroom cellar\n")); },
         "objects/prop.toml", 4, "there is no room 'cellar'"},
        {"unknown entrance", [](auto& s) { prop(s, script("changeroom hall back\n")); },
         "objects/prop.toml", 4, "room 'hall' has no entrance 'back'"},
        {"unknown template in a script",
         [](auto& s) { prop(s, script("addobj lamp hall true room 1 2\n")); }, "objects/prop.toml",
         4, "there is no object template 'lamp'"},
        {"missing picture in a script",
         [](auto& s) { prop(s, script("changespr <self> hero <actual> jump.dxg\n")); },
         "objects/prop.toml", 4, "there is no picture list 'jump.dxg' in objects/hero/"},
        {"script text too long",
         [](auto& s) {
             prop(s, script("showhint <self> false \"" + std::string(256, 'x') + "\"\n"));
         },
         "objects/prop.toml", 4, "text is 256 characters long; it holds at most 255"},
        {"not a number", [](auto& s) { prop(s, script("sleep soon\n")); }, "objects/prop.toml", 4,
         "ms must be a whole number, not 'soon'"},
        {"unknown parameter", [](auto& s) { prop(s, script("walkto hero spead=3\n")); },
         "objects/prop.toml", 4, "unknown parameter 'spead' of 'walkto'"},
        {"unclosed quote", [](auto& s) { prop(s, script("showhint <self> false \"Hello\n")); },
         "objects/prop.toml", 4, "a quote is not closed"},
        {"bad facing", [](auto& s) { prop(s, script("walkto hero left 1 2\n")); },
         "objects/prop.toml", 4, "facing 'left' is none of"},
        {"alias of another event",
         [](auto& s) { prop(s, "[[event]]\nname = \"onclick\"\nitem = \"hero\"\n"); },
         "objects/prop.toml", 3, "'item' belongs to \"onusewith\" events"},
        {"name too long", [](auto& s) { prop(s, "name = \"" + std::string(31, 'n') + "\"\n"); },
         "objects/prop.toml", 1, "name is 31 characters long; it holds at most 30"},
        {"text Windows-1252 cannot hold",
         [](auto& s) { prop(s, "displayNameKey = \"\xE2\x98\x85\"\n"); }, "objects/prop.toml", 1,
         "which a Windows-1252 text cannot store"},
        {"unknown key", [](auto& s) { prop(s, "spritFile = \"x.dxg\"\n"); }, "objects/prop.toml", 1,
         "unknown key 'spritFile' (did you mean 'spriteFile'?)"},
        {"number out of range", [](auto& s) { prop(s, "\ndepth = 40000\n"); }, "objects/prop.toml",
         2, "depth is 40000; it must lie in -32768..32767"},
        {"wrong type", [](auto& s) { prop(s, "x = \"ten\"\n"); }, "objects/prop.toml", 1,
         "x must be a whole number"},
        {"TOML syntax", [](auto& s) { prop(s, "kind = \"a\"\ndepth = = 3\n"); },
         "objects/prop.toml", 2, ""},
        {"unknown cursor", [](auto& s) { prop(s, "hoverCursor = \"hand\"\n"); },
         "objects/prop.toml", 1, "there is no cursor 'hand' in cursors.toml"},
        {"unknown picture list", [](auto& s) { prop(s, "spriteFile = \"missing.dxg\"\n"); },
         "objects/prop.toml", 1, "there is no picture list 'missing.dxg' in objects/prop/"},
        {"unknown placed template",
         [](auto& s) { s.text("rooms/hall.toml", kHall + "\n[[placement]]\nname = \"ghost\"\n"); },
         "rooms/hall.toml", 10, "there is no object template 'ghost'"},
        {"unknown music", [](auto& s) { s.text("rooms/hall.toml", "music = \"theme\"\n" + kHall); },
         "rooms/hall.toml", 1, "there is no music 'theme' in music.toml"},
        {"zone to nowhere",
         [](auto& s) {
             s.text("rooms/hall.toml",
                    kHall + "[[zone]]\nrect = [0, 0, 9, 9]\ntargetRoom = \"nowhere\"\n");
         },
         "rooms/hall.toml", 10, "there is no room 'nowhere'"},
        {"too many zones",
         [](auto& s) {
             std::string zones;
             for (int i = 0; i < 11; ++i) zones += "[[zone]]\nenabled = false\n";
             s.text("rooms/hall.toml", kHall + zones);
         },
         "rooms/hall.toml", 8, "a room holds at most 10 [[zone]] entries, not 11"},
        {"missing music file",
         [](auto& s) { s.text("music.toml", "[[music]]\nname = \"a\"\nfile = \"a.mid\"\n"); },
         "music.toml", 3, "there is no file 'music/a.mid'"},
        {"three-colour walk mask",
         [](auto& s) {
             Image m = solidImage(800, 600, 0xFFFFFF);
             m.pixels[0] = 0;
             m.pixels[1] = 0x808080;
             s.png("rooms/hall/mask.png", m);
         },
         "rooms/hall/mask.png", 0, "a walk mask must have two colours"},
        {"walk mask without white",
         [](auto& s) {
             Image m = solidImage(800, 600, 0x00FF00);
             m.pixels[0] = 0;
             s.png("rooms/hall/mask.png", m);
         },
         "rooms/hall/mask.png", 0, "must be white where characters walk"},
        {"missing inventory picture", [](auto& s) { s.remove("interface/inv.png"); }, "interface",
         0, "the package needs the picture list 'inv.dxg'"},
        {"two files for one entry",
         [](auto& s) {
             s.bytes("extra/INV.dxg", {1, 2});
         },
         "extra", 0, "two files make the package entry 'INV.dxg'"},
        {"main character nowhere",
         [](auto& s) { s.text("rooms/hall.toml", "background = \"background.dxg\"\n"); },
         "game.toml", 0, "no room places the main character 'hero'"},
        {"image missing from pictures.toml",
         [](auto& s) {
             s.text("objects/hero/pictures.toml",
                    "[[list]]\nname = \"w.dxg\"\nimages = [\"w1.png\"]\n");
         },
         "objects/hero/pictures.toml", 3, "picture 'objects/hero/w1.png' does not exist"},
    };
}

TEST(PackErrors, EachMistakeIsReportedWithItsFileAndLine) {
    for (const Mistake& m : mistakes()) {
        SCOPED_TRACE(m.what);
        SourceTree s;
        s.minimalGame();
        m.make(s);
        std::vector<tools::PackageEntry> entries;
        tools::Diagnostics diag;
        EXPECT_FALSE(s.build(entries, diag));
        EXPECT_TRUE(entries.empty());
        bool found = false;
        std::string all;
        for (const auto& d : diag.all()) {
            all += d.text() + "\n";
            if (!d.warning && d.file == m.file && d.line == m.line &&
                d.message.find(m.message) != std::string::npos)
                found = true;
        }
        EXPECT_TRUE(found) << "wanted " << m.file << ":" << m.line << ": ..." << m.message
                           << "\ngot:\n"
                           << all;
    }
}

TEST(PackErrors, AllMistakesAreReportedInOneRun) {
    SourceTree s;
    s.minimalGame();
    prop(s, "hoverCursor = \"hand\"\n" + script("walkot\n"));
    s.text("rooms/hall.toml", kHall + "weather = 3\n");
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_FALSE(s.build(entries, diag));
    EXPECT_EQ(diag.errorCount(), 3);
}

TEST(PackErrors, AValidGameHasNoMessagesAtAll) {
    SourceTree s;
    s.minimalGame();
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_TRUE(s.build(entries, diag));
    EXPECT_TRUE(diag.all().empty()) << diag.all().front().text();
}

TEST(PackErrors, LenientBuildsWarnOfMissingNamesButStillFailOnOtherMistakes) {
    SourceTree s;
    s.minimalGame();
    prop(s, "hoverCursor = \"hand\"\n");
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    EXPECT_TRUE(tools::buildPackage(s.dir.path() / "game", entries, diag, {true}));
    ASSERT_EQ(diag.all().size(), 1u);
    EXPECT_TRUE(diag.all()[0].warning);

    prop(s, "depth = 99999\n");
    entries.clear();
    tools::Diagnostics strict;
    EXPECT_FALSE(tools::buildPackage(s.dir.path() / "game", entries, strict, {true}));
}

}  // namespace
}  // namespace zk::test

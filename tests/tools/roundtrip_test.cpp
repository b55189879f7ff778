#include <gtest/gtest.h>

#include <sstream>

#include "assets/color.h"
#include "assets/picture_list.h"
#include "layout.h"
#include "listing.h"
#include "source_fixture.h"
#include "source_writer.h"

namespace zk::test {
namespace {

// A game as another tool might have left it: bytes in fields the engine never reads,
// old text behind shorter names, odd script values, empty records in between and at
// the end, unusual pictures and sounds.
GameBuilder oddGame() {
    GameBuilder b = GameBuilder::minimal();
    b.prefs.bytes()[100] = 0x41;  // an unread text field
    b.prefs.bytes()[537] = 0x99;
    b.prefs.setWrongSubjectText(3, "Nope \x80 \x81");
    b.prefs.setStartFullScreen(2);

    b.addTemplate("key", "subject");
    ObjectRecord& door = b.addTemplate("door");
    door.setName("doorway");
    door.setName("door");  // "way" stays behind the name
    door.bytes()[403] = 0x11;
    door.bytes()[1045] = 7;
    door.bytes()[94751] = 9;
    door.bytes()[434] = 40;  // a length byte beyond the kind's 30 characters
    door.setDisplayName("Door, translated");
    door.setNumVar(1, -3);
    door.setTextVar(2, "x y");
    door.setHintTimer(0);
    EventView click = door.event(0);
    click.setName("onclick");
    auto cmd = [&](int k, const char* verb) {
        CommandView c = click.command(k);
        c.setVerb(verb);
        return c;
    };
    CommandView c0 = cmd(0, "walkto");
    c0.setP1("hero");
    c0.setP4("<left>");
    c0.setNum1(580);
    c0.setNum3(1);
    CommandView c1 = cmd(1, "showhint");
    c1.setP1("<self>");
    c1.setText("It's '' \"quoted\" # a=b\ttab\nline \x80\x81\xE9 \\ end");
    cmd(2, "").setP1("junk");  // no verb, but a parameter
    CommandView c3 = cmd(3, "dance it");
    c3.setP1("x");
    c3.setNum4(-5);
    CommandView c4 = cmd(4, "fadeout");
    c4.setP3("left over");
    c4.setNum2(7);
    cmd(5, "begin");
    CommandView c6 = cmd(6, "showhint");
    c6.setP1("<self>");
    c6.setP3("=");
    c6.setText("");
    cmd(7, "end").setSelf("somebody");
    // A shorter owner name with nothing behind it.
    std::fill_n(click.command(8).bytes().begin() + 155, 31, uint8_t{0});
    click.command(8).setSelf("z");
    cmd(19, "sleep").setNum1(-32768);
    click.command(12).bytes()[450] = 0xAB;  // a command's unread bytes
    EventView custom = door.event(2);
    custom.setName("oncustom");
    custom.setParam1("p");
    custom.bytes()[100] = 0x33;  // an unread text of the event
    EventView timer = door.event(5);
    timer.setName("ontimer");
    timer.setNumber(3);
    timer.setPeriod(250);
    timer.setSourceIndex(4);
    timer.setOriginRoom("hall");
    EventView use = door.event(6);
    use.setName("onusewith");
    use.setParam1("key");

    ObjectRecord& blank = b.templates.emplace_back();  // empty, but not all zero
    blank.bytes()[5000] = 1;
    for (int i = 0; i < 3; ++i) b.templates.emplace_back();

    StoredRoomRecord& hall = *b.findRoom("hall");
    hall.bytes()[186] = 0x55;
    hall.placement(0).bytes()[39] = 0x66;
    b.place(hall, "door", 600, 400, 0);
    ZoneView z = hall.zone(1);
    z.setLeft(1);
    z.setBottom(99);
    z.setTargetRoom("alpha");
    z.setTargetEntrance("in");
    z.setHintKey("out");
    z.setHint("Out!");
    z.setFade(1);
    StoredRoomRecord& alpha = b.addRoom("alpha");
    alpha.entrance(2).setName("in");
    alpha.entrance(2).setFacing("<down>");
    b.rooms.emplace_back().bytes()[4000] = 1;  // a nameless room the loader skips

    b.cursors[0].bytes()[39] = 0x77;
    b.addCursor("wait", 4, 5);
    b.cursors.resize(30);
    b.music.emplace_back().setName("theme");
    b.music.back().setFile("theme.ogg");
    b.files["music\\theme.ogg"] = {'O', 'g', 'g', 'S', 1, 2, 3};
    b.files["readme.txt"] = {'h', 'i'};
    b.languages = "text=\"door\" lang1=\"T\xFCr\"\r\n";

    b.inventory.slot(2).setItem("key");
    b.inventory.slot(2).setRight(40);
    b.inventory.party(1).setName("key");
    b.inventory.party(1).bytes()[40] = 0x22;
    b.inventory.setStatusPosition(2, 5, 6);

    PictureList sprite;
    PictureItem& a = sprite.add();
    a.name = "picture";
    a.picture = makeDibPicture(solidImage(40, 20, 0x00FF00), 32);
    a.patternWidth = 10;
    a.skipHeight = 2;
    a.transparentColor = 0xFF00FF;
    a.systemMemory = true;
    sprite.add();  // an item without a picture
    PictureItem& c = sprite.add();
    c.picture = makeJpegPicture(solidImage(8, 8, 0x808080), 60);
    c.transparent = false;
    c.transparentColor = 0xFF00000F;  // a system colour
    sprite.colorTable[7] = 3;
    b.pictures["objects\\door\\sprite.dxg"] = sprite;
    b.pictures["objects\\door\\icon.dxg"] = singlePictureList(solidImage(4, 4, 1));

    WaveItem w;
    w.name = "creak";
    w.looped = true;
    w.maxPlayingCount = 3;
    w.wave = testWave(5, 301);  // odd length: the file gets a pad byte
    WaveList doorSounds;
    doorSounds.items = {w, w};
    doorSounds.items[1].name = "creak two";
    b.pictures.erase("objects\\door\\waves.dxw");
    b.files["objects\\door\\waves.dxw"] = writeWaveList(doorSounds);
    // The game has an item, so it holds the interface sounds 0 and 1 that items play.
    b.sounds.items = {w, w};
    b.sounds.items[1].name = "drop";
    return b;
}

std::map<std::string, std::vector<uint8_t>> byName(const tools::PackageEntries& entries) {
    std::map<std::string, std::vector<uint8_t>> out;
    for (const auto& [name, bytes] : entries) out[tools::entryKey(name)] = bytes;
    return out;
}

void expectSameGame(const std::map<std::string, std::vector<uint8_t>>& before,
                    const std::map<std::string, std::vector<uint8_t>>& after) {
    for (const auto& [name, bytes] : before) {
        SCOPED_TRACE(name);
        auto it = after.find(name);
        ASSERT_NE(it, after.end());
        if (name.ends_with(".dxw")) {
            WaveList x = readWaveList(bytes), y = readWaveList(it->second);
            ASSERT_EQ(x.count(), y.count());
            for (int i = 0; i < x.count(); ++i) {
                EXPECT_EQ(x.item(i).name, y.item(i).name);
                EXPECT_EQ(x.item(i).looped, y.item(i).looped);
                EXPECT_EQ(x.item(i).maxPlayingCount, y.item(i).maxPlayingCount);
                EXPECT_EQ(x.item(i).wave.format, y.item(i).wave.format);
                EXPECT_EQ(x.item(i).wave.samples, y.item(i).wave.samples);
            }
        } else if (bytes != it->second) {
            // Data files byte for byte; picture lists keep their stored pictures and
            // options, so they come back byte for byte too.
            size_t at = 0;
            while (at < bytes.size() && at < it->second.size() && bytes[at] == it->second[at]) ++at;
            ADD_FAILURE() << "differs from byte " << at << " (sizes " << bytes.size() << ", "
                          << it->second.size() << ")";
        }
    }
    EXPECT_EQ(before.size(), after.size());
}

TEST(RoundTrip, APackageFromAnotherToolComesBackByteForByte) {
    TempDir dir;
    GameBuilder b = oddGame();
    b.write(dir.file("odd.tgp"));
    tools::PackageEntries original = tools::readPackageEntries(dir.file("odd.tgp"));
    // The builder makes pictures for the nameless cursors too ("cursors//sprite.dxg"); no
    // game has such an entry, and a source folder has no place for an empty folder name.
    std::erase_if(original, [](const auto& e) { return e.first.find("//") != std::string::npos; });

    tools::SourceFolder source = tools::makeSourceFolder(original);
    EXPECT_TRUE(source.warnings.empty()) << source.warnings.front();
    tools::writeSourceFolder(source, dir.path() / "src");
    std::vector<tools::PackageEntry> rebuilt;
    tools::Diagnostics diag;
    const bool ok = tools::buildPackage(dir.path() / "src", rebuilt, diag);
    std::string messages;
    for (const auto& d : diag.all()) messages += d.text() + "\n";
    ASSERT_TRUE(ok) << messages;
    EXPECT_TRUE(messages.empty()) << messages;
    tools::writePackage(rebuilt, dir.file("again.tgp"));
    expectSameGame(byName(original), byName(tools::readPackageEntries(dir.file("again.tgp"))));

    // The source says what a person needs to read: the script as lines, the odd
    // bytes as raw lines, the trailing empty records as a count.
    auto text = [&](const std::string& f) {
        const auto& v = source.files.at(f);
        return std::string(v.begin(), v.end());
    };
    const std::string door = text("objects/door.toml");
    EXPECT_NE(door.find("walkto hero <left> 580 0 1\n"), std::string::npos) << door;
    EXPECT_NE(door.find("!\"dance it\" p1=x num4=-5"), std::string::npos) << door;
    EXPECT_NE(door.find("name = \"oncustom\"\nanyName = true"), std::string::npos) << door;
    EXPECT_NE(door.find("item = \"key\""), std::string::npos) << door;
    EXPECT_NE(door.find("raw = ["), std::string::npos) << door;
    EXPECT_NE(text("game.toml").find("[records]\nobjects = 7\n"), std::string::npos);
    EXPECT_NE(text("game.toml").find("cursors = 30"), std::string::npos);
}

TEST(RoundTrip, ASourceFolderComesBackFromItsPackage) {
    SourceTree s;
    writeDoorGame(s);
    std::vector<tools::PackageEntry> first;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(first, diag));
    tools::writePackage(first, s.dir.file("first.tgp"));
    tools::PackageEntries packed = tools::readPackageEntries(s.dir.file("first.tgp"));

    tools::writeSourceFolder(tools::makeSourceFolder(packed), s.dir.path() / "again");
    std::vector<tools::PackageEntry> second;
    ASSERT_TRUE(tools::buildPackage(s.dir.path() / "again", second, diag));
    tools::PackageEntries secondEntries;
    for (auto& e : second) secondEntries.emplace_back(e.name, e.bytes);
    expectSameGame(byName(packed), byName(secondEntries));
}

TEST(RoundTrip, RawBytesNeverOverwriteWhatTheFieldsSay) {
    // A name with old text behind it; the author then makes the name longer.
    ObjectRecord o;
    o.setName("abcdefgh");
    o.setName("ab");
    o.bytes()[1056] = 0x42;
    std::vector<std::string> raw = tools::rawLines(tools::objectLayout(), o.bytes());
    ASSERT_FALSE(raw.empty());

    ObjectRecord edited;
    edited.setName("abXYZ");
    for (const std::string& line : raw)
        tools::applyRawLine(tools::objectLayout(), edited.bytes(), line);
    EXPECT_EQ(edited.name(), "abXYZ");
    EXPECT_EQ(edited.bytes()[1056], 0x42);  // an unread field is put back
    EXPECT_EQ(edited.bytes()[7], 'g');      // and so is the old text behind the new end

    EXPECT_THROW(tools::applyRawLine(tools::objectLayout(), edited.bytes(), "94750: 01 02 03"),
                 std::invalid_argument);
    EXPECT_THROW(tools::applyRawLine(tools::objectLayout(), edited.bytes(), "12: zz"),
                 std::invalid_argument);
}

TEST(RoundTrip, InspectingAListingShowsScriptsPicturesAndSounds) {
    TempDir dir;
    oddGame().write(dir.file("odd.tgp"));
    std::ostringstream out;
    tools::listPackage(tools::readPackageEntries(dir.file("odd.tgp")), out);
    const std::string text = out.str();
    EXPECT_NE(text.find("walkto hero <left> 580 0 1"), std::string::npos);
    EXPECT_NE(text.find("0 \"picture\": TDIB 40 x 20, 32-bit, 4 patterns of 10 x 20 (gaps 0, 2)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("2 \"\": TJPEGImage 8 x 8, 1 pattern, opaque"), std::string::npos);
    EXPECT_NE(text.find("\"creak\": PCM 8000 Hz 16-bit mono, 0.02 s, looped, at most 3 at once"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace zk::test

#include <gtest/gtest.h>

#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "logic/loader.h"
#include "logic/room_entry.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "source_fixture.h"
#include "started_package.h"

namespace zk::test {
namespace {

using tools::PackageEntry;

TEST(Pack, BuildsAGameThatTheEngineLoads) {
    SourceTree s;
    writeDoorGame(s);
    const std::string packagePath = s.pack();
    ASSERT_FALSE(HasFailure());

    StartedPackage started(packagePath, s.dir.path() / "extract");
    ASSERT_EQ(started.start(), LoadOutcome::Loaded);
    GameState& g = started.g;

    EXPECT_EQ(g.tables.prefs.title(), "Door game");
    EXPECT_EQ(g.tables.prefs.dialogImages(), "true");
    EXPECT_EQ(g.tables.prefs.wrongSubjectText(1), "Never.");
    EXPECT_EQ(g.tables.prefs.walkToPickUp(), 0);
    EXPECT_EQ(g.tables.prefs.startRoomOverride(), "<none>");
    EXPECT_EQ(g.tables.prefs.displayWidth(), 800);
    EXPECT_EQ(g.tables.inventory.slot(0).item(), "key");
    EXPECT_EQ(g.tables.inventory.slot(0).enabled(), 1);
    EXPECT_EQ(g.tables.inventory.slot(0).bottom(), 595);

    ASSERT_EQ(g.tables.rooms.size(), 2u);
    EXPECT_EQ(g.tables.startRoomName, "hall");
    EXPECT_EQ(g.room().name(), "hall");
    ConstZoneView zone = g.room().zone(0);
    EXPECT_EQ(zone.enabled(), 1);
    EXPECT_EQ(zone.targetEntrance(), "gate");
    EXPECT_EQ(zone.hint(), "To the street");
    EXPECT_EQ(g.tables.rooms[1].entrance(0).facing(), "<right>");

    // The door as placed, with its scripts.
    ASSERT_EQ(g.objects().size(), 2u);
    const ObjectRecord& door = g.objects()[1];
    EXPECT_EQ(door.name(), "door");
    EXPECT_EQ(door.alpha(), 255);
    EXPECT_EQ(door.active(), 1);
    EXPECT_EQ(door.imageFolder(), "<self>");
    ConstCommandView walk = door.event(0).command(0);
    EXPECT_EQ(walk.verb(), "walkto");
    EXPECT_EQ(walk.p1(), "hero");
    EXPECT_EQ(walk.p4(), "<left>");
    EXPECT_EQ(walk.num1(), 580);
    EXPECT_EQ(walk.num2(), 400);
    EXPECT_EQ(walk.num3(), 1);
    EXPECT_EQ(door.event(0).command(1).text(), "It's locked. \"Really\"");
    EXPECT_EQ(door.event(0).command(1).p2(), "true");
    EXPECT_EQ(door.event(0).command(2).p2(), "gate");
    EXPECT_TRUE(door.event(0).command(3).verb().empty());
    EXPECT_TRUE(door.event(1).name().empty());
    EXPECT_EQ(door.event(2).param1(), "key");
    EXPECT_EQ(door.event(3).number(), 2);
    EXPECT_EQ(g.scripts.timers[1 * kTimersPerObject + 2].period, 500);

    // Templates carry their owner's name in all 200 commands, the main character too
    // (the room loader copies it without writing them).
    for (int t = 0; t < g.tables.templates.storedCount(); ++t) {
        const ObjectRecord& o = g.tables.templates.at(t);
        for (int e = 0; e < kEventsPerObject; ++e)
            for (int c = 0; c < kCommandsPerEvent; ++c)
                ASSERT_EQ(o.event(e).command(c).self(), o.name()) << e << " " << c;
    }
    EXPECT_EQ(g.objects()[0].event(9).command(19).self(), "hero");

    // White walks, the other colour does not.
    EXPECT_TRUE(g.scene.walkMask.walkable(400, 450));
    EXPECT_FALSE(g.scene.walkMask.walkable(400, 100));

    ASSERT_EQ(g.audio.sounds.count(), 1);
    EXPECT_EQ(g.audio.sounds.item(0).name, "take");
    EXPECT_EQ(g.audio.sounds.item(0).wave.samples, testWave(1).samples);
    EXPECT_EQ(g.tables.music[0].file(), "theme.mid");
    EXPECT_TRUE(std::filesystem::exists(g.session.tempFolder + "music/theme.mid"));
    EXPECT_EQ(g.translate("door"), "Door");
    EXPECT_TRUE(started.hp.errorReport.messages.empty());

    MemoryStream* waves = started.package.extractToStream("objects\\door\\waves.dxw");
    ASSERT_NE(waves, nullptr);
    WaveList doorSounds;
    doorSounds.loadFromStream(*waves);
    ASSERT_EQ(doorSounds.count(), 1);
    EXPECT_EQ(doorSounds.item(0).name, "creak");
}

PictureList pictureEntry(const std::vector<PackageEntry>& entries, const std::string& name) {
    const PackageEntry* e = findEntry(entries, name);
    if (!e) {
        ADD_FAILURE() << "no entry " << name;
        return {};
    }
    return readPictureList(e->bytes);
}

TEST(Pack, PicturesFollowTheirOptions) {
    SourceTree s;
    s.minimalGame();
    // A strip of four frames, told apart by colour.
    Image strip = solidImage(80, 10, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 80; ++x)
            strip.pixels[size_t(y * 80 + x)] = 0x100000u * uint32_t(x / 20 + 1);
    s.png("objects/hero/walk.png", strip);
    // Transparent corners on pictures that use black themselves and that do not.
    Image sprite = solidImage(4, 4, 0x000000);
    std::vector<uint8_t> alpha(16, 255);
    alpha[0] = 0;
    s.png("objects/hero/black.png", sprite, &alpha);
    s.png("objects/hero/red.png", solidImage(4, 4, 0xFF0000), &alpha);
    s.png("objects/hero/grid.png", solidImage(64, 32, 0x00FF00));
    s.png("objects/hero/lossy.png", solidImage(64, 32, 0x00FF00));
    s.text("objects/hero/pictures.toml", R"(
[[list]]
name = "walk.dxg"
image = "walk.png"
frames = 4

[[list]]
image = "grid.png"
patternWidth = 16
patternHeight = 16
skipWidth = 0
transparentColor = "#FF00FF"
systemMemory = true

[[list]]
name = "two.dxg"
images = ["red.png", "black.png"]

[[list]]
image = "lossy.png"
format = "jpeg"
quality = 50
transparent = false
)");
    // A background with a transparent pixel stays a lossless bitmap; an opaque one is JPEG.
    s.png("rooms/hall/overlay.png", solidImage(4, 4, 0x123456), &alpha);
    Image mask = solidImage(800, 600, 0x0000FF);
    mask.pixels[5] = 0xFFFFFF;
    s.png("rooms/hall/mask.png", mask);

    std::vector<PackageEntry> entries;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(entries, diag));

    PictureList walk = pictureEntry(entries, "objects\\hero\\walk.dxg");
    ASSERT_EQ(walk.count(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(walk.item(k).image().width, 20);
        EXPECT_EQ(*walk.item(k).pixel(0, 0), 0x100000u * uint32_t(k + 1));
        EXPECT_EQ(walk.item(k).name, "walk");
    }

    PictureList grid = pictureEntry(entries, "objects\\hero\\grid.dxg");
    ASSERT_EQ(grid.count(), 1);
    grid.prepare();
    EXPECT_EQ(grid.item(0).patterns().size(), 8u);
    EXPECT_EQ(grid.item(0).transparentColor, 0xFF00FFu);
    EXPECT_TRUE(grid.item(0).systemMemory);

    PictureList two = pictureEntry(entries, "objects\\hero\\two.dxg");
    ASSERT_EQ(two.count(), 2);
    // Red uses no black, so black keys its transparent pixel; the black picture gets magenta.
    EXPECT_EQ(two.item(0).transparentColor, 0u);
    EXPECT_EQ(*two.item(0).pixel(0, 0), 0u);
    EXPECT_EQ(*two.item(0).pixel(1, 0), 0xFF0000u);
    EXPECT_EQ(two.item(1).transparentColor, 0xFF00FFu);
    EXPECT_EQ(*two.item(1).pixel(0, 0), 0xFF00FFu);
    EXPECT_EQ(*two.item(1).pixel(1, 0), 0u);
    EXPECT_TRUE(two.item(0).transparent);

    PictureList lossy = pictureEntry(entries, "objects\\hero\\lossy.dxg");
    EXPECT_EQ(lossy.item(0).picture.kind, "TJPEGImage");
    EXPECT_FALSE(lossy.item(0).transparent);
    EXPECT_EQ(pictureEntry(entries, "objects\\hero\\stand.dxg").item(0).picture.kind, "TDIB");
    EXPECT_EQ(pictureEntry(entries, "rooms\\hall\\background.dxg").item(0).picture.kind,
              "TJPEGImage");
    EXPECT_EQ(pictureEntry(entries, "rooms\\hall\\overlay.dxg").item(0).picture.kind, "TDIB");

    // The walk mask: 8-bit, white is palette index 1 and nothing else is.
    PictureList m = pictureEntry(entries, "rooms\\hall\\mask.dxg");
    Image raw = rawPixels(m.item(0).picture);
    EXPECT_EQ(raw.at(5, 0), 1u);
    EXPECT_EQ(raw.at(6, 0), 0u);
    EXPECT_EQ(raw.at(400, 599), 0u);
    EXPECT_EQ(m.item(0).picture.payload[1 + 4 + 14], 8);  // the bit count
}

TEST(Pack, BitmapsJpegsAndListsAreStoredAsTheyAre) {
    SourceTree s;
    s.minimalGame();
    // A 4-bit bitmap: the packer would never write one, so keeping it proves it was copied.
    IndexedImage indexed;
    indexed.width = 3;
    indexed.height = 2;
    indexed.indexes = {0, 1, 2, 2, 1, 0};
    indexed.palette = {0x000000, 0xFFFFFF, 0x00FF00};
    Picture eight = makeDibPicture(indexed);
    std::vector<uint8_t> bmp;
    {
        std::string ext;
        bmp = *tools::pictureFile(eight, ext);
    }
    s.bytes("objects/hero/exact.bmp", bmp);
    Picture jpeg = makeJpegPicture(solidImage(16, 16, 0x336699), 75);
    std::string ext;
    s.bytes("objects/hero/photo.jpg", *tools::pictureFile(jpeg, ext));
    PictureList ready = singlePictureList(solidImage(5, 5, 0x010203));
    s.bytes("objects/hero/ready.dxg", writePictureList(ready));

    std::vector<PackageEntry> entries;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(entries, diag));
    EXPECT_EQ(pictureEntry(entries, "objects\\hero\\exact.dxg").item(0).picture.payload,
              eight.payload);
    EXPECT_EQ(pictureEntry(entries, "objects\\hero\\photo.dxg").item(0).picture.payload,
              jpeg.payload);
    EXPECT_EQ(findEntry(entries, "objects\\hero\\ready.dxg")->bytes, writePictureList(ready));
}

TEST(Pack, SoundsBecomeWaveLists) {
    SourceTree s;
    s.minimalGame();
    // An editor's file: an odd-length chunk with its pad byte before the data.
    std::vector<uint8_t> edited = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    auto chunk = [&edited](const char* id, const std::vector<uint8_t>& body) {
        edited.insert(edited.end(), id, id + 4);
        for (int i = 0; i < 4; ++i) edited.push_back(static_cast<uint8_t>(body.size() >> (8 * i)));
        edited.insert(edited.end(), body.begin(), body.end());
        if (body.size() & 1) edited.push_back(0);
    };
    chunk("fmt ", pcmFormat(1, 8000, 8));
    chunk("LIST", {1, 2, 3});
    chunk("data", {10, 20, 30, 40});
    s.bytes("objects/hero/step.wav", edited);
    s.bytes("objects/hero/alarm.wav", tools::wavFile(testWave(3)));
    s.bytes("objects/hero/zz.wav", tools::wavFile(testWave(4)));
    s.text("objects/hero/sounds.toml", R"([[sound]]
file = "zz.wav"
name = "first"
looped = true
maxPlayingCount = 2
)");
    std::vector<PackageEntry> entries;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(entries, diag));
    const PackageEntry* e = findEntry(entries, "objects\\hero\\waves.dxw");
    ASSERT_NE(e, nullptr);
    WaveList list = readWaveList(e->bytes);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0).name, "first");
    EXPECT_TRUE(list.item(0).looped);
    EXPECT_EQ(list.item(0).maxPlayingCount, 2);
    EXPECT_EQ(list.item(1).name, "alarm");
    EXPECT_EQ(list.item(2).name, "step");
    EXPECT_EQ(list.item(2).wave.samples, (std::vector<uint8_t>{10, 20, 30, 40}));
    EXPECT_EQ(list.item(2).wave.format, pcmFormat(1, 8000, 8));
    // A game without interface sounds still gets the list the loader reads.
    ASSERT_NE(findEntry(entries, "sounds.dxw"), nullptr);
    EXPECT_EQ(readWaveList(findEntry(entries, "sounds.dxw")->bytes).count(), 0);
}

TEST(Pack, RecordFilesHoldAtLeastOneRecordAndTheCountAsked) {
    SourceTree s;
    s.minimalGame();
    s.text("game.toml",
           "mainCharacterName = \"hero\"\nstartCursor = \"arrow\"\n[records]\nobjects = 5\n");
    std::vector<PackageEntry> entries;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(entries, diag));
    EXPECT_EQ(findEntry(entries, "objects.dat")->bytes.size(), 5 * ObjectRecord::kSize);
    EXPECT_EQ(findEntry(entries, "music.dat")->bytes.size(), MusicRecord::kSize);
    EXPECT_EQ(findEntry(entries, "rooms.dat")->bytes.size(), StoredRoomRecord::kSize);
}

}  // namespace
}  // namespace zk::test

#include "support/game_builder.h"

#include "package/package_writer.h"
#include "support/record_files.h"

namespace zk::test {

Image solidImage(int width, int height, uint32_t color) {
    Image img;
    img.width = width;
    img.height = height;
    img.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), color);
    return img;
}

PictureList singlePictureList(const Image& image) {
    PictureList list;
    PictureItem& item = list.add();
    item.name = "picture";
    item.picture = makeDibPicture(image, 24);
    list.prepare();
    return list;
}

namespace {

// A two-colour mask: palette index 1 (walkable) everywhere.
PictureList walkableMask(int width, int height) {
    IndexedImage mask;
    mask.width = width;
    mask.height = height;
    mask.indexes.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 1);
    mask.palette = {0x000000, 0xFFFFFF};
    PictureList list;
    PictureItem& item = list.add();
    item.name = "mask";
    item.picture = makeDibPicture(mask);
    list.prepare();
    return list;
}

}  // namespace

GameBuilder::GameBuilder() {
    prefs.setTitle("Test game");
    prefs.setMainCharacterName("hero");
    prefs.setStartCursor("arrow");
    prefs.setStartRoomOverride("<none>");
    prefs.setDialogImages("false");
    prefs.setDisplayWidth(800);
    prefs.setDisplayHeight(600);
    prefs.setMusicVolume(800);
    prefs.setMusicEnabled(1);
    prefs.setShowObjectTexts(1);
    prefs.setShowZoneHints(1);
    prefs.setWalkToPickUp(1);
    prefs.setWrongSubjectText(0, "That does not work.");
}

ObjectRecord& GameBuilder::addTemplate(const std::string& name, const std::string& kind) {
    ObjectRecord& o = templates.emplace_back();
    o.setName(name);
    o.setKind(kind);
    o.setImageFolder("<self>");
    o.setSpriteFile("sprite.dxg");
    o.setDisplayNameKey(name);
    o.setActive(1);
    o.setAlpha(255);
    o.setScale(100);
    o.setMinScale(100);
    o.setMaxScale(100);
    o.setHintTimer(-30);
    o.setAnchorX(10);
    o.setAnchorY(40);
    o.setWalkStep(4);
    if (kind == "character") {
        o.setWalkLeftSprite("walkleft.dxg");
        o.setWalkRightSprite("walkright.dxg");
        o.setWalkUpSprite("walkup.dxg");
        o.setWalkDownSprite("walkdown.dxg");
        o.setStandLeftSprite("standleft.dxg");
        o.setStandRightSprite("standright.dxg");
        o.setStandUpSprite("standup.dxg");
        o.setStandDownSprite("standdown.dxg");
        o.setSpriteFile("standright.dxg");
    }
    if (kind == "subject" || kind == "weapon") o.setIconFile("icon.dxg");
    // Scripts refer to their own object by the self name written into each command.
    for (int e = 0; e < kEventsPerObject; ++e)
        for (int c = 0; c < kCommandsPerEvent; ++c) o.event(e).command(c).setSelf(name);
    return o;
}

StoredRoomRecord& GameBuilder::addRoom(const std::string& name, bool playRoom) {
    StoredRoomRecord& r = rooms.emplace_back();
    r.setName(name);
    r.setTitleKey(name);
    r.setBackground("background.dxg");
    r.setMaskFile("mask.dxg");
    r.setIsGameRoom(playRoom ? 1 : 0);
    r.setCursorVisible(1);
    r.setMinScaleRow(0);
    r.setMaxScaleRow(600);
    r.setMinScale(100);
    r.setMaxScale(100);
    return r;
}

CursorRecord& GameBuilder::addCursor(const std::string& name, int hotX, int hotY) {
    CursorRecord& c = cursors.emplace_back();
    c.setName(name);
    c.setHotX(hotX);
    c.setHotY(hotY);
    c.setFrameDelay(100);
    return c;
}

void GameBuilder::place(StoredRoomRecord& room, const std::string& name, int x, int y, int scale) {
    for (int i = 0; i < kPlacementsPerRoom; ++i) {
        PlacementView p = room.placement(i);
        if (!p.name().empty()) continue;
        p.setName(name);
        p.setX(x);
        p.setY(y);
        p.setScale(scale);
        return;
    }
}

void GameBuilder::enableSlot(int i, int left, int top, int right, int bottom) {
    SlotView s = inventory.slot(i);
    s.setEnabled(1);
    s.setLeft(left);
    s.setTop(top);
    s.setRight(right);
    s.setBottom(bottom);
}

void setCommand(EventView e, int k, const std::string& verb, const std::string& p1,
                const std::string& p2, int num1, int num2) {
    CommandView c = e.command(k);
    c.setVerb(verb);
    c.setP1(p1);
    c.setP2(p2);
    c.setNum1(num1);
    c.setNum2(num2);
}

ObjectRecord* GameBuilder::findTemplate(const std::string& name) {
    for (auto& t : templates)
        if (t.name() == name) return &t;
    return nullptr;
}

StoredRoomRecord* GameBuilder::findRoom(const std::string& name) {
    for (auto& r : rooms)
        if (r.name() == name) return &r;
    return nullptr;
}

GameBuilder GameBuilder::minimal() {
    GameBuilder b;
    b.addCursor("arrow");
    b.addTemplate("hero", "character");
    StoredRoomRecord& hall = b.addRoom("hall");
    b.place(hall, "hero", 400, 400);
    b.inventory.setBarX(0);
    b.inventory.setBarY(540);
    b.pictures["inv.dxg"] = singlePictureList(solidImage(100, 60, 0x404040));
    return b;
}

void GameBuilder::addGenerated(std::map<std::string, PictureList>& out) const {
    auto need = [&out](const std::string& entry, auto make) {
        if (!out.count(entry)) out[entry] = make();
    };
    need("inv.dxg", [] { return singlePictureList(solidImage(100, 60, 0x404040)); });
    need("saving.dxg", [] { return singlePictureList(solidImage(200, 50, 0x202080)); });
    if (prefs.dialogImages() == "true")
        need("dlg.dxg", [] { return singlePictureList(solidImage(400, 200, 0x303030)); });
    for (const auto& c : cursors)
        need("cursors\\" + c.name() + "\\sprite.dxg",
             [] { return singlePictureList(solidImage(8, 8, 0xFFFFFF)); });
    const int w = prefs.displayWidth(), h = prefs.displayHeight();
    for (const auto& r : rooms) {
        if (r.isEmpty()) continue;
        std::string folder = "rooms\\" + r.name() + "\\";
        if (!r.background().empty())
            need(folder + r.background(),
                 [&] { return singlePictureList(solidImage(w, h, 0x606060)); });
        if (!r.maskFile().empty()) need(folder + r.maskFile(), [&] { return walkableMask(w, h); });
    }
    for (const auto& t : templates) {
        std::string own = t.name();
        std::string folder = t.imageFolder() == "<self>" ? own : t.imageFolder();
        auto sprite = [] { return singlePictureList(solidImage(20, 40, 0xC02020)); };
        if (!t.spriteFile().empty()) need("objects\\" + folder + "\\" + t.spriteFile(), sprite);
        if (!t.clickMaskFile().empty())
            need("objects\\" + folder + "\\" + t.clickMaskFile(), sprite);
        for (const std::string& file :
             {t.iconFile(), t.spareSprite(), t.walkLeftSprite(), t.walkRightSprite(),
              t.walkUpSprite(), t.walkDownSprite(), t.standLeftSprite(), t.standRightSprite(),
              t.standUpSprite(), t.standDownSprite()})
            if (!file.empty()) need("objects\\" + own + "\\" + file, sprite);
    }
}

void GameBuilder::write(const std::filesystem::path& path) const {
    PackageWriter w;
    w.add("prefs.dat", recordFile(std::vector<PreferencesRecord>{prefs}));
    w.add("inv.dat", recordFile(std::vector<InventoryRecord>{inventory}));
    // Record files hold at least one record, even when the game defines none.
    auto atLeastOne = [](auto records) {
        if (records.empty()) records.emplace_back();
        return recordFile(records);
    };
    w.add("objects.dat", atLeastOne(templates));
    w.add("rooms.dat", atLeastOne(rooms));
    w.add("cursors.dat", atLeastOne(cursors));
    w.add("music.dat", atLeastOne(music));
    w.addText("languages.txt", languages);
    w.add("sounds.dxw", writeWaveList(sounds));
    std::map<std::string, PictureList> all = pictures;
    addGenerated(all);
    for (const auto& [entry, list] : all) w.add(entry, writePictureList(list));
    for (const auto& [entry, bytes] : files) w.add(entry, bytes);
    w.write(path);
}

}  // namespace zk::test

#include <gtest/gtest.h>

#include "core/bytes.h"
#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"

namespace zk {
namespace {

// Writes a length-prefixed string at `off` by hand, independently of the accessors.
template <typename R>
void rawString(R& r, size_t off, std::string_view s) {
    r.bytes()[off] = static_cast<uint8_t>(s.size());
    for (size_t i = 0; i < s.size(); ++i) r.bytes()[off + 1 + i] = static_cast<uint8_t>(s[i]);
}

TEST(ObjectRecord, FieldsSitAtTheirOffsets) {
    ObjectRecord o;
    EXPECT_EQ(o.bytes().size(), 94752u);
    rawString(o, 0, "door");
    rawString(o, 62, "open.dxg");
    rawString(o, 372, "right.dxg");
    rawString(o, 434, "character");
    rawString(o, 783, "A door");
    o.bytes()[1039] = 1;
    o.bytes()[1044] = 1;
    putI16(o.bytes(), 1058, 128);
    putI16(o.bytes(), 1066, -30);
    putI16(o.bytes(), 1072, 6);
    putI32(o.bytes(), 93434, -5);
    putI32(o.bytes(), 93454, 200);
    putI32(o.bytes(), 93462, 7);
    o.bytes()[93466 + 4] = 0xFF;
    rawString(o, 93471 + 256 * 4, "ten");
    EXPECT_EQ(o.name(), "door");
    EXPECT_EQ(o.spriteFile(), "open.dxg");
    EXPECT_EQ(o.standRightSprite(), "right.dxg");
    EXPECT_EQ(o.kind(), "character");
    EXPECT_EQ(o.displayName(), "A door");
    EXPECT_EQ(o.hidden(), 1);
    EXPECT_EQ(o.perspective(), 1);
    EXPECT_EQ(o.alpha(), 128);
    EXPECT_EQ(o.hintTimer(), -30);
    EXPECT_EQ(o.walkStep(), 6);
    EXPECT_EQ(o.x(), -5);
    EXPECT_EQ(o.anchorY(), 200);
    EXPECT_EQ(o.cursorHotY(), 7);
    EXPECT_EQ(o.numVar(4), -1);
    EXPECT_EQ(o.textVar(4), "ten");
}

TEST(ObjectRecord, EventsAndCommandsSitInsideTheObject) {
    ObjectRecord o;
    o.event(3).setName("onclick");
    o.event(3).setPeriod(500);
    o.event(3).command(19).setSelf("door");
    o.event(3).command(19).setNum4(-2);
    const size_t event3 = 1074 + 9236 * 3;
    EXPECT_EQ(getPStr(o.bytes(), event3, 30), "onclick");
    EXPECT_EQ(getI16(o.bytes(), event3 + 188), 500);
    EXPECT_EQ(getPStr(o.bytes(), event3 + 196 + 452 * 19 + 155, 30), "door");
    EXPECT_EQ(getI16(o.bytes(), event3 + 196 + 452 * 19 + 448), -2);
    // The last command of the last event ends right before the position fields.
    EXPECT_EQ(1074 + 9236 * 10, 93434);
}

TEST(ObjectRecord, NumericVariablesWrapAsSignedBytes) {
    ObjectRecord o;
    o.setNumVar(0, 127);
    o.setNumVar(0, o.numVar(0) + 1);
    EXPECT_EQ(o.numVar(0), -128);
}

TEST(ObjectRecord, CopiesCarryUnreadBytes) {
    ObjectRecord a;
    a.bytes()[403] = 0xAB;    // not read by the engine
    a.bytes()[94751] = 0xCD;  // padding
    ObjectRecord b = a;
    EXPECT_EQ(b.bytes()[403], 0xAB);
    EXPECT_EQ(b.bytes()[94751], 0xCD);
    EXPECT_TRUE(a == b);
}

TEST(EventRecord, StandaloneCopyOfAnObjectEvent) {
    ObjectRecord o;
    o.event(1).setName("onkey");
    o.event(1).setNumber(2);
    o.event(1).command(0).setVerb("showhint");
    EventRecord e(o.event(1).bytes());
    EXPECT_EQ(e.name(), "onkey");
    EXPECT_EQ(e.number(), 2);
    EXPECT_EQ(e.command(0).verb(), "showhint");
    e.setSourceIndex(4);
    EXPECT_EQ(getI16(e.bytes(), 194), 4);
}

TEST(RoomRecords, StoredAndSavedLayouts) {
    StoredRoomRecord s;
    EXPECT_EQ(s.bytes().size(), 4116u);
    rawString(s, 0, "hall");
    rawString(s, 155, "Rain");
    putI32(s.bytes(), 200, 90);
    rawString(s, 204 + 44 * 29, "lamp");
    putI16(s.bytes(), 204 + 44 * 29 + 40, 75);
    s.bytes()[1524] = 1;
    s.bytes()[1525] = 1;
    s.bytes()[1526 + 181 * 9 + 16] = 1;
    rawString(s, 1526 + 181 * 9 + 150, "front");
    putI16(s.bytes(), 3336 + 78 * 9 + 74, 333);
    EXPECT_EQ(s.name(), "hall");
    EXPECT_EQ(s.weather(), "Rain");
    EXPECT_EQ(s.maxScale(), 90);
    EXPECT_EQ(s.placement(29).name(), "lamp");
    EXPECT_EQ(s.placement(29).scale(), 75);
    EXPECT_EQ(s.isGameRoom(), 1);
    EXPECT_EQ(s.zone(9).enabled(), 1);
    EXPECT_EQ(s.zone(9).targetEntrance(), "front");
    EXPECT_EQ(s.entrance(9).walkY(), 333);

    RoomRecord r;
    EXPECT_EQ(r.bytes().size(), 2796u);
    r.zone(0).setHint("exit");
    r.entrance(9).setWalkY(-1);
    r.setCursorVisible(1);
    EXPECT_EQ(getPStr(r.bytes(), 206 + 88, 30), "exit");
    EXPECT_EQ(getI16(r.bytes(), 2016 + 78 * 9 + 74), -1);
    EXPECT_EQ(r.bytes()[205], 1);
}

TEST(SmallRecords, PreferencesCursorMusicInventory) {
    PreferencesRecord p;
    rawString(p, 186, "true");
    rawString(p, 217 + 31 * 9, "Nope");
    putI32(p.bytes(), 528, 800);
    putI32(p.bytes(), 532, 600);
    p.bytes()[557] = 1;
    EXPECT_EQ(p.bytes().size(), 564u);
    EXPECT_EQ(p.dialogImages(), "true");
    EXPECT_EQ(p.wrongSubjectText(9), "Nope");
    EXPECT_EQ(p.displayWidth(), 800);
    EXPECT_EQ(p.displayHeight(), 600);
    EXPECT_EQ(p.walkToPickUp(), 1);

    CursorRecord c;
    putI32(c.bytes(), 40, 100);
    EXPECT_EQ(c.frameDelay(), 100);
    MusicRecord m;
    m.setFile(std::string(300, 'f'));
    EXPECT_EQ(m.file().size(), 255u);
    EXPECT_EQ(m.bytes()[31], 255);

    InventoryRecord inv;
    EXPECT_EQ(inv.bytes().size(), 1940u);
    inv.slot(29).setItem("key");
    inv.slot(29).setEnabled(1);
    inv.party(9).setY(44);
    inv.setStatusPosition(3, 10, 20);
    inv.setShowRoomTitle(1);
    EXPECT_EQ(getPStr(inv.bytes(), 56 + 48 * 29 + 17, 30), "key");
    EXPECT_EQ(inv.bytes()[56 + 48 * 29 + 16], 1);
    EXPECT_EQ(getI32(inv.bytes(), 1496 + 44 * 9 + 35), 44);
    EXPECT_EQ(getI32(inv.bytes(), 16 + 24 + 4), 20);
    EXPECT_EQ(inv.bytes()[1937], 1);
}

TEST(Records, OverlongLengthByteReadsClamped) {
    CursorRecord c;
    c.bytes()[0] = 250;  // length beyond the 30-character capacity
    EXPECT_EQ(c.name().size(), 30u);
    EXPECT_FALSE(c.isEmpty());
    c.clearName();
    EXPECT_TRUE(c.isEmpty());
}

}  // namespace
}  // namespace zk

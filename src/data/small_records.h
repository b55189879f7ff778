#pragma once
#include "data/record.h"

namespace zk {

// Preferences record, "prefs.dat" (564 bytes).
class PreferencesRecord : public ByteRecord<564> {
  public:
    using ByteRecord<564>::ByteRecord;
    static constexpr int kWrongSubjectTexts = 10;
    ZK_STRING(title, setTitle, 0, 30)
    ZK_STRING(mainCharacterName, setMainCharacterName, 31, 30)
    ZK_STRING(startCursor, setStartCursor, 62, 30)
    ZK_STRING(startRoomOverride, setStartRoomOverride, 124, 30)
    ZK_STRING(dialogImages, setDialogImages, 186, 30)
    ZK_I32(displayWidth, setDisplayWidth, 528)
    ZK_I32(displayHeight, setDisplayHeight, 532)
    ZK_I32(language, setLanguage, 540)
    ZK_I32(musicVolume, setMusicVolume, 544)
    ZK_BYTE(startFullScreen, setStartFullScreen, 552)
    ZK_BYTE(musicEnabled, setMusicEnabled, 553)
    ZK_BYTE(showObjectTexts, setShowObjectTexts, 554)
    ZK_BYTE(showZoneHints, setShowZoneHints, 555)
    ZK_BYTE(walkToPickUp, setWalkToPickUp, 557)
    std::string wrongSubjectText(int k) const { return getPStr(bytes(), 217 + 31 * size_t(k), 30); }
    void setWrongSubjectText(int k, std::string_view v) {
        putPStr(bytes(), 217 + 31 * size_t(k), 30, v);
    }
};

// Cursor record, "cursors.dat" (44 bytes).
class CursorRecord : public ByteRecord<44> {
  public:
    using ByteRecord<44>::ByteRecord;
    ZK_STRING(name, setName, 0, 30)
    ZK_I32(hotX, setHotX, 31)
    ZK_I32(hotY, setHotY, 35)
    ZK_I32(frameDelay, setFrameDelay, 40)
};

// Music record, "music.dat" (287 bytes).
class MusicRecord : public ByteRecord<287> {
  public:
    using ByteRecord<287>::ByteRecord;
    ZK_STRING(name, setName, 0, 30)
    ZK_STRING(file, setFile, 31, 255)
};

// Inventory slot (48 bytes) inside the inventory record.
template <typename Byte>
class BasicSlotView : public RecordView<Byte, 48> {
  public:
    using RecordView<Byte, 48>::RecordView;
    ZK_I32(left, setLeft, 0)
    ZK_I32(top, setTop, 4)
    ZK_I32(right, setRight, 8)
    ZK_I32(bottom, setBottom, 12)
    ZK_BYTE(enabled, setEnabled, 16)
    ZK_STRING(item, setItem, 17, 30)

  private:
    using RecordView<Byte, 48>::buf;
};
using SlotView = BasicSlotView<uint8_t>;
using ConstSlotView = BasicSlotView<const uint8_t>;

// Party entry (44 bytes) inside the inventory record.
template <typename Byte>
class BasicPartyView : public RecordView<Byte, 44> {
  public:
    using RecordView<Byte, 44>::RecordView;
    ZK_STRING(name, setName, 0, 30)
    ZK_I32(x, setX, 31)
    ZK_I32(y, setY, 35)

  private:
    using RecordView<Byte, 44>::buf;
};
using PartyView = BasicPartyView<uint8_t>;
using ConstPartyView = BasicPartyView<const uint8_t>;

inline constexpr int kInventorySlots = 30;
inline constexpr int kPartyMembers = 10;

// Inventory record, "inv.dat" and "savedinv.dat" (1940 bytes).
class InventoryRecord : public ByteRecord<1940> {
  public:
    using ByteRecord<1940>::ByteRecord;
    ZK_I32(barX, setBarX, 0)
    ZK_I32(barY, setBarY, 4)
    ZK_I32(sceneOffsetX, setSceneOffsetX, 8)
    ZK_I32(sceneOffsetY, setSceneOffsetY, 12)
    ZK_BYTE(showStatus, setShowStatus, 1936)
    ZK_BYTE(showRoomTitle, setShowRoomTitle, 1937)
    // Status text positions k = 0..3.
    int32_t statusX(int k) const { return getI32(bytes(), 16 + 8 * size_t(k)); }
    int32_t statusY(int k) const { return getI32(bytes(), 20 + 8 * size_t(k)); }
    void setStatusPosition(int k, int32_t x, int32_t y) {
        putI32(bytes(), 16 + 8 * size_t(k), x);
        putI32(bytes(), 20 + 8 * size_t(k), y);
    }
    ZK_I32(titleX, setTitleX, 48)
    ZK_I32(titleY, setTitleY, 52)
    SlotView slot(int i) { return SlotView(bytes().subspan(56 + 48 * size_t(i))); }
    ConstSlotView slot(int i) const { return ConstSlotView(bytes().subspan(56 + 48 * size_t(i))); }
    PartyView party(int i) { return PartyView(bytes().subspan(1496 + 44 * size_t(i))); }
    ConstPartyView party(int i) const {
        return ConstPartyView(bytes().subspan(1496 + 44 * size_t(i)));
    }
};

// Additional record of a save slot (72 bytes).
class AdditionalRecord : public ByteRecord<72> {
  public:
    using ByteRecord<72>::ByteRecord;
    ZK_STRING(returnRoomName, setReturnRoomName, 0, 30)
    ZK_STRING(stashedHeldItem, setStashedHeldItem, 31, 30)
    ZK_I16(hitPoints, setHitPoints, 62)
    ZK_I16(statusCounter1, setStatusCounter1, 64)
    ZK_I16(statusCounter2, setStatusCounter2, 66)
    ZK_I16(statusCounter3, setStatusCounter3, 68)
    ZK_I16(language, setLanguage, 70)
};

}  // namespace zk

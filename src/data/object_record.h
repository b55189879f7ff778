#pragma once
#include "data/record.h"

namespace zk {

// One command of an event script (452 bytes).
template <typename Byte>
class BasicCommandView : public RecordView<Byte, 452> {
  public:
    using RecordView<Byte, 452>::RecordView;
    ZK_STRING(verb, setVerb, 0, 30)
    ZK_STRING(p1, setP1, 31, 30)
    ZK_STRING(p2, setP2, 62, 30)
    ZK_STRING(p3, setP3, 93, 30)
    ZK_STRING(p4, setP4, 124, 30)
    ZK_STRING(self, setSelf, 155, 30)  // the object that owns the script
    ZK_STRING(text, setText, 186, 255)
    ZK_I16(num1, setNum1, 442)
    ZK_I16(num2, setNum2, 444)
    ZK_I16(num3, setNum3, 446)
    ZK_I16(num4, setNum4, 448)

  private:
    using RecordView<Byte, 452>::buf;
};
using CommandView = BasicCommandView<uint8_t>;
using ConstCommandView = BasicCommandView<const uint8_t>;

inline constexpr int kCommandsPerEvent = 20;
inline constexpr int kEventsPerObject = 10;
inline constexpr size_t kCommandSize = 452;
inline constexpr size_t kEventHeaderSize = 196;

// Event accessors shared by the view inside an object and the standalone record.
#define ZK_EVENT_FIELDS                           \
    ZK_STRING(name, setName, 0, 30)               \
    ZK_STRING(param1, setParam1, 31, 30)          \
    ZK_STRING(param2, setParam2, 62, 30)          \
    ZK_STRING(originRoom, setOriginRoom, 155, 30) \
    ZK_I16(number, setNumber, 186)                \
    ZK_I16(period, setPeriod, 188)                \
    ZK_I16(sourceIndex, setSourceIndex, 194)

// An event record inside an object record (9236 bytes: header and 20 commands).
template <typename Byte>
class BasicEventView : public RecordView<Byte, 9236> {
  public:
    using RecordView<Byte, 9236>::RecordView;
    ZK_EVENT_FIELDS
    BasicCommandView<Byte> command(int k) const {
        return BasicCommandView<Byte>(buf().subspan(kEventHeaderSize + kCommandSize * k));
    }

  private:
    using RecordView<Byte, 9236>::buf;
};
using EventView = BasicEventView<uint8_t>;
using ConstEventView = BasicEventView<const uint8_t>;

// A standalone event record: the event queue's slots hold these copies.
class EventRecord : public ByteRecord<9236> {
  public:
    using ByteRecord<9236>::ByteRecord;
    ZK_EVENT_FIELDS
    CommandView command(int k) {
        return CommandView(bytes().subspan(kEventHeaderSize + kCommandSize * k));
    }
    ConstCommandView command(int k) const {
        return ConstCommandView(bytes().subspan(kEventHeaderSize + kCommandSize * k));
    }
    EventView view() { return EventView(bytes()); }
    ConstEventView view() const { return ConstEventView(bytes()); }
};
#undef ZK_EVENT_FIELDS

// The object record (94752 bytes): templates, room objects and saved objects alike.
class ObjectRecord : public ByteRecord<94752> {
  public:
    using ByteRecord<94752>::ByteRecord;
    static constexpr size_t kEventsOffset = 1074;
    static constexpr size_t kEventSize = 9236;

    ZK_STRING(name, setName, 0, 30)
    ZK_STRING(imageFolder, setImageFolder, 31, 30)
    ZK_STRING(spriteFile, setSpriteFile, 62, 30)
    ZK_STRING(iconFile, setIconFile, 93, 30)
    ZK_STRING(spareSprite, setSpareSprite, 124, 30)
    ZK_STRING(walkLeftSprite, setWalkLeftSprite, 155, 30)
    ZK_STRING(walkRightSprite, setWalkRightSprite, 186, 30)
    ZK_STRING(walkUpSprite, setWalkUpSprite, 217, 30)
    ZK_STRING(walkDownSprite, setWalkDownSprite, 248, 30)
    ZK_STRING(standUpSprite, setStandUpSprite, 279, 30)
    ZK_STRING(standDownSprite, setStandDownSprite, 310, 30)
    ZK_STRING(standLeftSprite, setStandLeftSprite, 341, 30)
    ZK_STRING(standRightSprite, setStandRightSprite, 372, 30)
    ZK_STRING(kind, setKind, 434, 30)
    ZK_STRING(hoverCursor, setHoverCursor, 465, 30)
    ZK_STRING(clickMaskFile, setClickMaskFile, 496, 30)
    ZK_STRING(displayNameKey, setDisplayNameKey, 527, 255)
    ZK_STRING(displayName, setDisplayName, 783, 255)
    ZK_BYTE(hidden, setHidden, 1039)
    ZK_BYTE(animating, setAnimating, 1040)
    ZK_BYTE(active, setActive, 1041)
    ZK_BYTE(fixedDepth, setFixedDepth, 1042)
    ZK_BYTE(inParty, setInParty, 1043)
    ZK_BYTE(perspective, setPerspective, 1044)
    ZK_I16(scale, setScale, 1046)
    ZK_I16(depth, setDepth, 1048)
    ZK_I16(depthBehind, setDepthBehind, 1050)
    ZK_I16(depthInFront, setDepthInFront, 1052)
    ZK_I16(frameDelay, setFrameDelay, 1054)
    ZK_I16(alpha, setAlpha, 1058)
    ZK_I16(frame, setFrame, 1060)
    ZK_I16(frameTicks, setFrameTicks, 1062)
    ZK_I16(baseLineOffset, setBaseLineOffset, 1064)
    ZK_I16(hintTimer, setHintTimer, 1066)
    ZK_I16(minScale, setMinScale, 1068)
    ZK_I16(maxScale, setMaxScale, 1070)
    ZK_I16(walkStep, setWalkStep, 1072)
    ZK_I32(x, setX, 93434)
    ZK_I32(y, setY, 93438)
    ZK_I32(textAnchorX, setTextAnchorX, 93442)
    ZK_I32(textAnchorY, setTextAnchorY, 93446)
    ZK_I32(anchorX, setAnchorX, 93450)
    ZK_I32(anchorY, setAnchorY, 93454)
    ZK_I32(cursorHotX, setCursorHotX, 93458)
    ZK_I32(cursorHotY, setCursorHotY, 93462)

    // Numeric variables 0..4: signed 8-bit, wrapping arithmetic.
    int8_t numVar(int k) const { return static_cast<int8_t>(bytes()[93466 + k]); }
    void setNumVar(int k, int v) { bytes()[93466 + k] = static_cast<uint8_t>(v); }
    // Text variables 5..9 are held at index k = 0..4.
    std::string textVar(int k) const { return getPStr(bytes(), 93471 + 256 * size_t(k), 255); }
    void setTextVar(int k, std::string_view v) {
        putPStr(bytes(), 93471 + 256 * size_t(k), 255, v);
    }

    EventView event(int i) { return EventView(bytes().subspan(kEventsOffset + kEventSize * i)); }
    ConstEventView event(int i) const {
        return ConstEventView(bytes().subspan(kEventsOffset + kEventSize * i));
    }
};

}  // namespace zk

#pragma once
#include <vector>

#include "data/object_record.h"
#include "data/record.h"

namespace zk {

// Exit zone (181 bytes): edges included in the rectangle.
template <typename Byte>
class BasicZoneView : public RecordView<Byte, 181> {
  public:
    using RecordView<Byte, 181>::RecordView;
    ZK_I32(left, setLeft, 0)
    ZK_I32(top, setTop, 4)
    ZK_I32(right, setRight, 8)
    ZK_I32(bottom, setBottom, 12)
    ZK_BYTE(enabled, setEnabled, 16)
    ZK_BYTE(fade, setFade, 17)
    ZK_I16(walkX, setWalkX, 18)
    ZK_I16(walkY, setWalkY, 22)
    ZK_STRING(cursor, setCursor, 26, 30)
    ZK_STRING(hintKey, setHintKey, 57, 30)
    ZK_STRING(hint, setHint, 88, 30)
    ZK_STRING(targetRoom, setTargetRoom, 119, 30)
    ZK_STRING(targetEntrance, setTargetEntrance, 150, 30)

  private:
    using RecordView<Byte, 181>::buf;
};
using ZoneView = BasicZoneView<uint8_t>;
using ConstZoneView = BasicZoneView<const uint8_t>;

// Entrance (78 bytes).
template <typename Byte>
class BasicEntranceView : public RecordView<Byte, 78> {
  public:
    using RecordView<Byte, 78>::RecordView;
    ZK_STRING(name, setName, 0, 30)
    ZK_STRING(facing, setFacing, 31, 30)
    ZK_I32(x, setX, 62)
    ZK_I32(y, setY, 66)
    ZK_I16(walkX, setWalkX, 70)
    ZK_I16(walkY, setWalkY, 74)

  private:
    using RecordView<Byte, 78>::buf;
};
using EntranceView = BasicEntranceView<uint8_t>;
using ConstEntranceView = BasicEntranceView<const uint8_t>;

// Object placement of a stored room (44 bytes).
template <typename Byte>
class BasicPlacementView : public RecordView<Byte, 44> {
  public:
    using RecordView<Byte, 44>::RecordView;
    ZK_STRING(name, setName, 0, 30)
    ZK_I32(x, setX, 31)
    ZK_I32(y, setY, 35)
    ZK_I16(scale, setScale, 40)

  private:
    using RecordView<Byte, 44>::buf;
};
using PlacementView = BasicPlacementView<uint8_t>;
using ConstPlacementView = BasicPlacementView<const uint8_t>;

inline constexpr int kZonesPerRoom = 10;
inline constexpr int kEntrancesPerRoom = 10;
inline constexpr int kPlacementsPerRoom = 30;

// Fields shared by the stored room and the room held in memory (same offsets up to 204).
#define ZK_ROOM_HEAD_FIELDS                      \
    ZK_STRING(name, setName, 0, 30)              \
    ZK_STRING(titleKey, setTitleKey, 31, 30)     \
    ZK_STRING(background, setBackground, 62, 30) \
    ZK_STRING(maskFile, setMaskFile, 93, 30)     \
    ZK_STRING(music, setMusic, 124, 30)          \
    ZK_STRING(weather, setWeather, 155, 30)      \
    ZK_I32(minScaleRow, setMinScaleRow, 188)     \
    ZK_I32(maxScaleRow, setMaxScaleRow, 192)     \
    ZK_I32(minScale, setMinScale, 196)           \
    ZK_I32(maxScale, setMaxScale, 200)

#define ZK_ROOM_TAIL(isGameRoomOffset, zonesOffset, entrancesOffset)                   \
    ZK_BYTE(isGameRoom, setIsGameRoom, isGameRoomOffset)                               \
    ZK_BYTE(cursorVisible, setCursorVisible, (isGameRoomOffset) + 1)                   \
    ZoneView zone(int i) {                                                             \
        return ZoneView(bytes().subspan((zonesOffset) + 181 * size_t(i)));             \
    }                                                                                  \
    ConstZoneView zone(int i) const {                                                  \
        return ConstZoneView(bytes().subspan((zonesOffset) + 181 * size_t(i)));        \
    }                                                                                  \
    EntranceView entrance(int i) {                                                     \
        return EntranceView(bytes().subspan((entrancesOffset) + 78 * size_t(i)));      \
    }                                                                                  \
    ConstEntranceView entrance(int i) const {                                          \
        return ConstEntranceView(bytes().subspan((entrancesOffset) + 78 * size_t(i))); \
    }

// A room as stored in "rooms.dat" (4116 bytes), with its 30 placements.
class StoredRoomRecord : public ByteRecord<4116> {
  public:
    using ByteRecord<4116>::ByteRecord;
    static constexpr size_t kZonesOffset = 1526;
    static constexpr size_t kEntrancesOffset = 3336;
    ZK_ROOM_HEAD_FIELDS
    ZK_ROOM_TAIL(1524, kZonesOffset, kEntrancesOffset)
    PlacementView placement(int i) { return PlacementView(bytes().subspan(204 + 44 * size_t(i))); }
    ConstPlacementView placement(int i) const {
        return ConstPlacementView(bytes().subspan(204 + 44 * size_t(i)));
    }
};

// The room fields kept in memory, in the layout of the saved-room record (2796 bytes).
class RoomRecord : public ByteRecord<2796> {
  public:
    using ByteRecord<2796>::ByteRecord;
    static constexpr size_t kZonesOffset = 206;
    static constexpr size_t kEntrancesOffset = 2016;
    ZK_ROOM_HEAD_FIELDS
    ZK_ROOM_TAIL(204, kZonesOffset, kEntrancesOffset)
};
#undef ZK_ROOM_HEAD_FIELDS
#undef ZK_ROOM_TAIL

// A room of the room table: its fields and its own object list (element 0 is the
// main-character slot).
struct Room : RoomRecord {
    std::vector<ObjectRecord> objects;
};

}  // namespace zk

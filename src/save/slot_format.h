#pragma once
// The members of a save slot, built from the game state and read back into a
// checked, complete saved game before anything of the running game is touched.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/game_state.h"

namespace zk {

inline constexpr std::string_view kScreenshotMember = "screenshot.dxg";
inline constexpr std::string_view kObjectCountsMember = "objcounts.txt";
inline constexpr std::string_view kInventoryMember = "savedinv.dat";
inline constexpr std::string_view kRoomObjectsMember = "roomobjs.dat";
inline constexpr std::string_view kSavedRoomsMember = "savedrooms.dat";
inline constexpr std::string_view kAdditionalMember = "additional.dat";
// The engine's own member, after the six of the game: which game wrote the slot and
// what a save browser shows. Slots without it (older engines) load as before.
inline constexpr std::string_view kMetaMember = "zelkin-meta.txt";

// The contents of "zelkin-meta.txt": UTF-8 "key=value" lines; unknown keys are
// ignored, so later engines may add keys.
struct SlotMeta {
    std::string game;          // "game": the identity of the game that wrote the slot
    std::string title;         // "title": its title
    std::string saved;         // "saved": when, as UTC "YYYY-MM-DDTHH:MM:SSZ"
    std::string room;          // "room": the title, as shown, of the room a load enters
    uint64_t playSeconds = 0;  // "playTime": seconds played in the saved game
    std::string engine;        // "engine": the version of the engine that wrote it
    // "held": the item in hand (Windows-1252 in memory), written by the autosave only,
    // which is made in play rooms where the held item is not put aside.
    std::optional<std::string> heldItem;
};

std::string writeSlotMeta(const SlotMeta& meta);
SlotMeta readSlotMeta(std::string_view text);
// The meta member of a save of `g` made at `when`.
SlotMeta slotMetaOf(const GameState& g, std::time_t when);

// The six members of a slot, as stored.
struct SlotMembers {
    std::vector<uint8_t> screenshot;        // a picture list with the thumbnail as item 0
    std::vector<std::string> objectCounts;  // one decimal line per room
    std::vector<uint8_t> inventory;         // one inventory record
    std::vector<uint8_t> roomObjects;       // every room's object records, room by room
    std::vector<uint8_t> savedRooms;        // one saved-room record per room
    std::vector<uint8_t> additional;        // one additional record
    std::string meta;                       // "zelkin-meta.txt"
};

// The picture list stored as "screenshot.dxg": one item whose picture is `thumbnail`
// as a 32-bit "TDIB" (an empty "TDIB" for an empty image), other properties default.
std::vector<uint8_t> thumbnailPictureList(const Image& thumbnail);

// The saved-room record of a room: its fields without the object list, with clean
// bytes after each string and zero padding.
RoomRecord savedRoomRecord(const RoomRecord& room);

// The additional record: the name of `returnRoom` (empty when no game is in
// progress), the stashed held item cut to 30 characters, and the low 16 bits of the
// hit points, the three status counters and the language.
AdditionalRecord additionalRecord(const GameState& g);

// Everything a save writes, in memory; `meta` becomes "zelkin-meta.txt".
SlotMembers buildSlotMembers(const GameState& g, const SlotMeta& meta);

// A slot read back and checked against the running game.
struct SavedGame {
    InventoryRecord inventory;
    std::vector<RoomRecord> rooms;                   // saved fields of rooms 0 .. rooms.size() - 1
    std::vector<std::vector<ObjectRecord>> objects;  // one list per room of the game
    AdditionalRecord additional;
    int enterRoom = -1;  // the room to enter afterwards; -1: none (no game was in progress)
    std::optional<SlotMeta> meta;  // from slots that have "zelkin-meta.txt"
};

// The raw members of a slot being loaded; the screenshot plays no part in a load.
struct SlotData {
    std::vector<uint8_t> inventory;
    std::vector<uint8_t> roomObjects;
    std::vector<uint8_t> savedRooms;
    std::vector<uint8_t> additional;
    std::string objectCounts;         // the text of "objcounts.txt"
    std::optional<std::string> meta;  // "zelkin-meta.txt", in slots that have it
};

// Checks every member and builds the saved game. Throws DataError (without the slot's
// name, which the caller adds) when a record file is not made of whole records, when
// there are more saved rooms than the game has, when a line of "objcounts.txt" is
// missing ("List index out of bounds (%d)"), not an integer ("'%s' is not a valid
// integer value") or negative, when the counts do not add up to the object records
// present, or when the saved room is not in the game.
SavedGame readSavedGame(const GameState& g, const SlotData& data);

}  // namespace zk

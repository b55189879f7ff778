#pragma once
// The whole state of one running game. The main window owns one GameState and passes
// it by reference; nothing of the game lives in globals, so tests may run many games
// in one process.
#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "core/random.h"
#include "data/error_log.h"
#include "data/event_queue.h"
#include "data/game_metadata.h"
#include "data/language.h"
#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"
#include "data/tables.h"
#include "walk/path_finder.h"
#include "walk/walk_mask.h"

namespace zk {

struct Platform;
class Package;

inline constexpr int kImageSlotsPerObject = 13;
inline constexpr int kMinImageSlotRows = 41;
inline constexpr int kTimedObjects = 30;
inline constexpr int kTimersPerObject = 10;
inline constexpr int kRainDrops = 100;

struct RainDrop {
    int32_t x = 0;
    int32_t y = 0;
    int32_t kind = 0;
};

struct ObjectTimer {
    int32_t period = -1;  // milliseconds; -1: no timer
    int32_t ticks = 0;
};

// One walk at a time: the walker follows `path` one point per logic tick.
struct WalkState {
    bool walking = false;
    int32_t walker = 0;
    WalkPoint target;  // the point the walk was given ("walkto"), its identity
    std::string finalFacing;
    WalkPath path;
    int32_t pathStep = 0;
};

// A rectangle as (left, top, right, bottom).
using Box = std::array<int32_t, 4>;

// Where a dialogue box and its parts lie on the display, edges included.
struct DialogueLayout {
    bool drawn = false;  // a dialogue was laid out since start-up
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    Box rect{};
    Box closeBox{};
    std::vector<Box> choiceBoxes;
};

// One sound started, for the log of a run: from the interface list `sounds` (index)
// or from an object's wave list ("playsnd": object and sound name).
struct SoundStart {
    bool fromObject = false;
    int32_t index = 0;
    std::string object;
    std::string sound;
    int32_t copy = 0;    // which copy of the sound was started
    int32_t copies = 0;  // copies the sound has after this start
};

// The mixer buffers behind a wave list's sounds, made by the audio layer when the
// sounds first play: per sound its master buffer and the copies made from it, oldest
// first. Handles are the mixer's (0: none). Whoever loads a list anew releases its
// buffers first.
struct SoundBuffers {
    struct Sound {
        uint32_t master = 0;
        std::vector<uint32_t> copies;
    };
    std::vector<Sound> sounds;
};

struct GameState {
    // Services; set by the main window before anything runs.
    Platform* platform = nullptr;
    Package* package = nullptr;
    Random random;

    // Start-up.
    bool gameLoaded = false;
    bool loaderStarted = false;
    bool fullScreen = false;
    std::string packagePath;
    std::string tempFolder;  // the private extraction folder, ending in '/'
    std::string saveFolder;  // where save slots live, ending in '/'
    // The game's identity: the name of its save folder and the owner recorded in its
    // slots (gameIdentity).
    std::string gameId;
    PreferencesRecord prefs;
    GameMetadata metadata;  // "zelkin.toml", or its defaults
    int32_t language = 0;

    // Tables.
    MusicTable music{};
    CursorTable cursors{};
    TemplateTable templates;
    int32_t mainCharacterTemplate = 0;
    InventoryRecord inventory;
    std::vector<Room> rooms;
    std::string startRoomName;
    std::vector<std::string> roomList;  // every room name, for the debug room list
    LanguageTable languageTable;

    // The current room.
    int32_t currentRoom = 0;
    int32_t returnRoom = -1;
    std::string currentRoomTitle;
    std::array<RainDrop, kRainDrops> rain{};
    std::array<ObjectTimer, kTimedObjects * kTimersPerObject> timers{};

    // Cursor and held item.
    std::string currentCursorName;
    int32_t cursorIndex = 0;
    int32_t cursorFrame = 0;
    int32_t cursorTicks = 0;
    std::string heldItem;
    std::string stashedHeldItem;

    // Logic.
    EventQueue queue;
    bool frozen = false;
    std::string freezeMode;
    bool dialogueOpen = false;
    int32_t dialogueResult = 0;
    int32_t dialogueSlot = 0;
    int32_t dialogueVoice = 0;
    int32_t dialogueStyle = 0;
    std::vector<std::string> dialogueLines;  // line 0 the question, then the choices
    // The dialogue box as the latest frame lays it out; the click dispatch tests its
    // close box and choices. The backgrounds of the next frame follow it.
    DialogueLayout dialogueLayout;
    // Where the current frame draws the dialogue background picture: under the
    // interface, the box of the frame before; under the texts, that box's corner with
    // this frame's text height.
    Box dialogueUnderInterface{};
    Box dialogueUnderText{};
    int32_t hoveredObject = -1;
    int32_t hitPoints = 100;
    std::array<int32_t, 3> statusCounters{};
    bool hintPreTranslated = false;
    std::vector<std::string> runningEvents;  // the debug listing of the queue
    WalkState walk;
    PathFinder pathFinder;

    // Frame.
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool leftLatch = false;
    bool rightLatch = false;
    uint32_t lastTickTime = 0;
    // Game time played, 25 ms per logic tick; save slots carry it on.
    uint64_t playTimeMs = 0;
    bool screenFaded = false;
    bool fading = false;  // a fade runs: no frames until it ends
    bool quitRequested = false;
    int exitStatus = 0;      // 1 when the game ended on an error
    std::string exitReason;  // that error, for the log

    // Pictures and sounds.
    PictureList imageList1;  // item 1 the inventory bar, item 2 the room background
    PictureList curImageList;
    PictureList mask;
    WalkMask walkMask;
    PictureList headImageList;
    PictureList dlgImageList;
    PictureList savingImageList;
    PictureList slotPictures;  // one picture per inventory slot
    std::vector<std::string> slotLabels;
    std::vector<std::array<PictureList, kImageSlotsPerObject>> imageSlots;
    Image screenshotDib;  // the thumbnail of the next save
    WaveList sounds;
    WaveList waveList1;  // the sounds of the last "playsnd" object
    // The mixer buffers of `sounds` and of `waveList1`.
    SoundBuffers soundBuffers;
    SoundBuffers waveBuffers1;
    std::vector<SoundStart> soundLog;

    ErrorLog errors;

    // Convenience accessors.
    Room& room() { return rooms[static_cast<size_t>(currentRoom)]; }
    const Room& room() const { return rooms[static_cast<size_t>(currentRoom)]; }
    bool hasRoom() const {
        return currentRoom >= 0 && currentRoom < static_cast<int32_t>(rooms.size());
    }
    std::vector<ObjectRecord>& objects() { return room().objects; }
    const std::vector<ObjectRecord>& objects() const { return room().objects; }
    std::string translate(std::string_view key) const {
        return languageTable.translate(key, language);
    }
    // Makes sure the image slot table has a row for object position `position`.
    void ensureImageSlotRow(int position) {
        const size_t rows = std::max<size_t>(kMinImageSlotRows, static_cast<size_t>(position) + 1);
        if (imageSlots.size() < rows) imageSlots.resize(rows);
    }
};

}  // namespace zk

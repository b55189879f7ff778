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
#include "data/settings.h"
#include "data/small_records.h"
#include "data/tables.h"
#include "platform/speech.h"
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

// The parts of the game state. Each has one owner that changes it; the others read it.

// The run of the engine. Owner: the main window (start-up, quitting).
struct SessionState {
    bool gameLoaded = false;
    bool loaderStarted = false;
    bool fullScreen = false;
    std::string packagePath;
    std::string tempFolder;  // the private extraction folder, ending in '/'
    std::string saveFolder;  // where save slots live, ending in '/'
    // The game's identity: the name of its save folder and the owner recorded in its
    // slots (gameIdentity).
    std::string gameId;
    bool quitRequested = false;
    int exitStatus = 0;      // 1 when the game ended on an error
    std::string exitReason;  // that error, for the log
};

// The game's records as loaded from the package and changed by play (objects move,
// slots fill). Owner: the loader and the saved games; the scripts change records.
struct GameTables {
    PreferencesRecord prefs;
    GameMetadata metadata;  // "zelkin.toml", or its defaults
    MusicTable music{};
    CursorTable cursors{};
    TemplateTable templates;
    int32_t mainCharacterTemplate = 0;
    InventoryRecord inventory;
    std::vector<Room> rooms;
    std::string startRoomName;
    std::vector<std::string> roomList;  // every room name, for the debug room list
    LanguageTable languageTable;
};

// A thing of the room the player can use, as the hotspot reveal marks it: its name as
// the game shows it (in the game's code page) and a display point that hovers it.
struct Hotspot {
    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Hotspot&) const = default;
};

// The room on screen and its pictures. Owner: room entry.
struct SceneState {
    int32_t currentRoom = 0;
    int32_t returnRoom = -1;
    std::string currentRoomTitle;
    std::array<RainDrop, kRainDrops> rain{};
    bool screenFaded = false;
    bool fading = false;     // a fade runs: no frames until it ends
    PictureList imageList1;  // item 1 the inventory bar, item 2 the room background
    PictureList mask;
    WalkMask walkMask;
    std::vector<std::array<PictureList, kImageSlotsPerObject>> imageSlots;
    int32_t hoveredObject = -1;  // set by the hover update
    // While the reveal is held: every interactive thing, marked over the scene; set
    // by the preparation of the frame.
    std::vector<Hotspot> hotspots;
};

// The cursor and the item it holds. Owner: logic/cursor.
struct CursorState {
    std::string currentCursorName;
    int32_t cursorIndex = 0;
    int32_t cursorFrame = 0;
    int32_t cursorTicks = 0;
    std::string heldItem;
    std::string stashedHeldItem;
    PictureList curImageList;
};

// The mouse as the frame reads it. Owner: the frame.
struct FrameInput {
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool leftLatch = false;
    bool rightLatch = false;
    // The player holds the key that reveals the interactive things (set by the
    // virtual mouse, which reads the devices).
    bool revealHotspots = false;
};

// The open dialogue. Owner: the "startdialog" command, the dispatch that answers it
// and the layout that the frame prepares.
struct DialogueState {
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
};

// The interface around the room: language, hit points, the status line, inventory
// slot pictures and the interface pictures. Owner: the commands and the loader.
struct InterfaceState {
    int32_t language = 0;
    int32_t hitPoints = 100;
    std::array<int32_t, 3> statusCounters{};
    bool hintPreTranslated = false;
    PictureList slotPictures;  // one picture per inventory slot
    std::vector<std::string> slotLabels;
    PictureList headImageList;
    PictureList dlgImageList;
    PictureList savingImageList;
    Image screenshotDib;  // the thumbnail of the next save
};

// The scripts: the event queue, the object timers and the freeze. Owner: the
// interpreter and the logic tick.
struct ScriptState {
    EventQueue queue;
    std::array<ObjectTimer, kTimedObjects * kTimersPerObject> timers{};
    bool frozen = false;
    std::string freezeMode;
    std::vector<std::string> runningEvents;  // the debug listing of the queue
    uint32_t lastTickTime = 0;
    // Game time played, 25 ms per logic tick; save slots carry it on.
    uint64_t playTimeMs = 0;
};

// The interface sounds, the last "playsnd" object's sounds and their mixer buffers.
// Owner: the audio layer.
struct AudioState {
    WaveList sounds;
    WaveList waveList1;
    SoundBuffers soundBuffers;  // of `sounds`
    SoundBuffers waveBuffers1;  // of `waveList1`
    std::vector<SoundStart> soundLog;
};

// What the narrator last handed to the voice, so that each text is spoken when it
// appears or changes and never again while it stays. Owner: logic/narrator.
struct NarratorState {
    bool active = false;  // speech was on at the last frame
    VoiceSettings voice;
    int32_t room = -1;
    std::string roomTitle;
    std::vector<std::string> hints;  // per object of the room: the hint spoken, or ""
    bool dialogueOpen = false;
    std::vector<std::string> dialogueLines;
    int32_t dialogueChoice = -1;  // the choice under the cursor, -1 none
    std::string hoverText;        // what the cursor is over now
    int32_t hoverFrames = 0;      // frames it has stayed there
    std::string spokenHover;      // the hover text spoken last
};

struct GameState {
    // Services; set by the main window before anything runs.
    Platform* platform = nullptr;
    Package* package = nullptr;
    Random random;
    // The player's settings, owned beside the game by the main window; null: the
    // defaults, with which every game plays as it always did.
    const Settings* settings = nullptr;

    SessionState session;
    GameTables tables;
    SceneState scene;
    CursorState cursor;
    FrameInput input;
    DialogueState dialogue;
    InterfaceState ui;
    ScriptState scripts;
    WalkState walk;  // owner: logic/walking
    PathFinder pathFinder;
    AudioState audio;
    ErrorLog errors;
    NarratorState narrator;

    // Convenience accessors.
    const Settings& playerSettings() const {
        static const Settings defaults;
        return settings ? *settings : defaults;
    }
    Room& room() { return tables.rooms[static_cast<size_t>(scene.currentRoom)]; }
    const Room& room() const { return tables.rooms[static_cast<size_t>(scene.currentRoom)]; }
    bool hasRoom() const {
        return scene.currentRoom >= 0 &&
               scene.currentRoom < static_cast<int32_t>(tables.rooms.size());
    }
    std::vector<ObjectRecord>& objects() { return room().objects; }
    const std::vector<ObjectRecord>& objects() const { return room().objects; }
    std::string translate(std::string_view key) const {
        return tables.languageTable.translate(key, ui.language);
    }
    // Makes sure the image slot table has a row for object position `position`.
    void ensureImageSlotRow(int position) {
        const size_t rows = std::max<size_t>(kMinImageSlotRows, static_cast<size_t>(position) + 1);
        if (scene.imageSlots.size() < rows) scene.imageSlots.resize(rows);
    }
};

}  // namespace zk

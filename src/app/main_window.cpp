#include "app/main_window.h"

#include <algorithm>
#include <ctime>
#include <iostream>

#include "app/frame.h"
#include "app/version.h"
#include "audio/audio.h"
#include "core/error.h"
#include "core/text.h"
#include "logic/cursor.h"
#include "logic/loader.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "logic/walking.h"
#include "save/save_folder.h"
#include "save/saved_games.h"

namespace zk {

std::filesystem::path defaultPackagePath(const std::filesystem::path& executableDir) {
    std::filesystem::path beside = executableDir / "Tolvan.tgp";
    if (std::filesystem::exists(beside)) return beside;
    std::filesystem::path installed = executableDir / ".." / "share" / "zelkin" / "Tolvan.tgp";
    if (std::filesystem::exists(installed)) return installed.lexically_normal();
    return beside;
}

MainWindow::MainWindow(Platform& platform, WindowOptions options)
    : platform_(platform), options_(std::move(options)) {
    game_.platform = &platform_;
    game_.package = &package_;
    if (options_.seed) game_.random.seed(*options_.seed);
    game_.scripts.queue.onOverflow = [this] {
        platform_.messageBox.show("Event queue overflow", "");
    };
    platform_.display.setCaption(kEngineCaption);
    if (options_.debug) debug_ = std::make_unique<DebugOverlay>();
}

MainWindow::~MainWindow() {
    platform_.input.setTranslator(nullptr);
}

void MainWindow::FormCreate() {
    std::filesystem::path path = options_.packagePath.empty()
                                     ? defaultPackagePath(options_.executableDir)
                                     : options_.packagePath;
    game_.session.packagePath = path.string();
    package_.setPackagePath(path);
    package_.setQuietOperation();
    package_.setPassword(std::string(kPackagePassword));
    if (!std::filesystem::exists(path))
        throw DataError("Game package '" + path.string() + "' not found");

    extraction_ = std::make_unique<ExtractionFolder>();
    game_.session.tempFolder = extraction_->path().string() + "/";

    loadPreferencesFromPackage(game_);
    std::filesystem::path saves = options_.saveDir;
    if (saves.empty() && options_.playerSaveFolder) {
        saves = playerSaveFolder(options_.executableDir, playerDataHome(), game_.session.gameId);
    } else if (saves.empty()) {
        privateSaves_ = std::make_unique<ExtractionFolder>();
        saves = privateSaves_->path();
    }
    game_.session.saveFolder = saves.string() + "/";
    openSettings();
    platform_.display.setCaption(game_.tables.metadata.codePage.toUtf8(game_.tables.prefs.title()));
    game_.cursor.currentCursorName = "#";
    setCursor(game_, game_.tables.prefs.startCursor());

    const int width = game_.tables.prefs.displayWidth();
    const int height = game_.tables.prefs.displayHeight();
    if (width < 1 || height < 1 || width > 8192 || height > 8192)
        throw DataError("prefs.dat: display size " + std::to_string(width) + " x " +
                        std::to_string(height) + " is not usable");
    platform_.display.initialize(width, height, false);
    game_.ui.language = game_.tables.prefs.language();
    // The player's language, when the game names its languages and has this one.
    if (settings_.language &&
        *settings_.language < static_cast<int>(game_.tables.metadata.languages.size()))
        game_.ui.language = *settings_.language;
    bool startFull = options_.fullScreen.value_or(
        settings_.fullScreen.value_or(game_.tables.prefs.startFullScreen() != 0));
    if (startFull) toggleFullScreen();
    game_.session.gameLoaded = false;
    game_.session.loaderStarted = false;
    timer2Enabled_ = true;
}

void MainWindow::paintWaitingScreen() {
    Surface& back = platform_.display.back();
    back.fill(0);
    Canvas& canvas = platform_.canvas;
    canvas.setFontColor(0xFFFFFF);
    canvas.setBrushColor(0);
    canvas.textOut(100, 100, "Building data structure...");
    platform_.display.flip();
}

void MainWindow::Timer2Timer() {
    if (!timer2Enabled_) return;
    if (!game_.session.loaderStarted) {
        game_.session.loaderStarted = true;
        paintWaitingScreen();
        return;
    }
    timer2Enabled_ = false;
    platform_.display.showSystemCursor(false);
    std::error_code ec;
    std::filesystem::create_directories(game_.session.saveFolder, ec);
    removeStaleSaveTemporaries(game_.session.saveFolder, std::time(nullptr));
    if (loadGame(game_) == LoadOutcome::NoStartRoom) {
        platform_.messageBox.show("No game startroom found", "");
        game_.session.exitStatus = 1;
        game_.session.exitReason = "No game startroom found: no room places the main character '" +
                                   game_.tables.prefs.mainCharacterName() + "'";
        game_.session.quitRequested = true;
        return;
    }
    prepareSaveFolder();
    if (options_.continueGame) continueFromAutosave(game_);
    if (!options_.startRoom.empty()) enterStartRoom();
    lastAutosaveMs_ = game_.scripts.playTimeMs;
}

void MainWindow::openSettings() {
    settingsStore_ = options_.settingsStore ? options_.settingsStore(game_.session.gameId)
                                            : std::make_unique<MemorySettingsStore>();
    std::vector<std::string> problems;
    settings_ = settingsStore_->load(problems);
    for (const std::string& p : problems) notes() << "zelkin: " << p << '\n';
    game_.settings = &settings_;
    applyPlayerVolumes(game_);
    applyDeviceSettings();
    platform_.speech.setOn(settings_.speech);
    if (options_.settingsChanged) options_.settingsChanged(settings_);
}

void MainWindow::applyDeviceSettings() {
    virtualMouse_.setBindings(deviceBindings(settings_));
    platform_.input.bindKeys(deviceKeyNames(settings_));
}

void MainWindow::changeSettings(const Settings& s) {
    settings_ = s;
    applyPlayerVolumes(game_);
    applyDeviceSettings();
    platform_.speech.setOn(settings_.speech);
    if (options_.settingsChanged) options_.settingsChanged(settings_);
    const std::string why = settingsStore_ ? settingsStore_->save(settings_) : std::string();
    if (!why.empty() && !settingsSaveFailed_) {
        settingsSaveFailed_ = true;
        notes() << "zelkin: the settings are not kept: " << why << '\n';
    }
}

std::ostream& MainWindow::notes() {
    return options_.notes ? *options_.notes : std::cerr;
}

// The room an author asked for; a name that is not there ends the start with the names
// that are.
void MainWindow::enterStartRoom() {
    const std::string& name = options_.startRoom;
    const int r = findRoom(game_, name);
    auto refuse = [](const std::string& why, const std::vector<std::string>& names) {
        std::string list;
        for (const std::string& n : names)
            if (!n.empty()) list += (list.empty() ? "" : ", ") + n;
        throw DataError(why + " (there are: " + list + ")");
    };
    if (r < 0) refuse("--room: the game has no room '" + name + "'", game_.tables.roomList);
    const std::string& entrance = options_.startEntrance;
    if (!entrance.empty()) {
        const Room& room = game_.tables.rooms[static_cast<size_t>(r)];
        std::vector<std::string> names;
        for (int i = 0; i < kEntrancesPerRoom; ++i) names.push_back(room.entrance(i).name());
        if (std::find(names.begin(), names.end(), entrance) == names.end())
            refuse("--entrance: room '" + name + "' has no entrance '" + entrance + "'", names);
    }
    // The room the game starts in anyway keeps the main character where it places it.
    if (r != game_.scene.currentRoom || !entrance.empty()) changeRoom(game_, name, entrance);
    Room& now = game_.room();
    if (options_.startAt && now.isGameRoom() != 0 && !now.objects.empty()) {
        now.objects[0].setX(options_.startAt->first);
        now.objects[0].setY(options_.startAt->second);
    }
}

void MainWindow::prepareSaveFolder() {
    if (!options_.copyOldSaves || !options_.saveDir.empty()) return;
    CopiedSlots copied = copySlotsFromSharedFolders(
        game_, sharedSaveFolders(options_.executableDir, playerDataHome()));
    if (copied.count == 0) return;
    std::string from;
    for (const auto& folder : copied.from) from += (from.empty() ? "" : " and ") + folder.string();
    notes() << "zelkin: copied " << copied.count << " saved game" << (copied.count == 1 ? "" : "s")
            << " of this game from " << from << " into "
            << std::filesystem::path(game_.session.saveFolder).parent_path().string()
            << " (the old files stay where they were)\n";
}

void MainWindow::DXTimer1Timer() {
    if (!platform_.display.canDraw() || game_.scene.fading) return;
    if (!game_.session.gameLoaded) {
        paintWaitingScreen();
        return;
    }
    // The input hands its readings to this window's virtual mouse (a reloaded game
    // has a new window).
    platform_.input.setTranslator(&virtualMouse_);
    virtualMouse_.setMenuOpen(menu_.isOpen());
    if (menu_.isOpen()) {
        menuFrame();
        return;
    }
    runFrame(game_, debug_.get());
    if (platform_.input.engineKeyPressed(EngineSpeech)) {
        Settings s = settings_;
        toggleSpeech(s);
        changeSettings(s);
    }
    if (platform_.input.engineKeyPressed(EngineMenuKey)) {
        menu_.open(platform_.display.back());
        platform_.display.showSystemCursor(true);
        menu_.build(game_, settings_, game_.session.fullScreen);
        // The game's texts give way to the menu.
        platform_.speech.stop();
        spokenMenuItem_.clear();
        speakMenuSelection();
        menu_.draw(platform_.display.back(), platform_.canvas);
        platform_.display.flip();
        return;
    }
    if (!options_.autosave || !settings_.autosave) return;
    // A loaded game may have been played for less time than the game left.
    if (game_.scripts.playTimeMs < lastAutosaveMs_) lastAutosaveMs_ = game_.scripts.playTimeMs;
    if (game_.scripts.playTimeMs - lastAutosaveMs_ >= kAutosaveIntervalMs &&
        autosaveAllowed(game_, false)) {
        writeAutosave(game_);
        lastAutosaveMs_ = game_.scripts.playTimeMs;
    }
}

void MainWindow::menuFrame() {
    carryOut(menu_.handleInput(game_, platform_.input));
    if (!menu_.isOpen()) {
        platform_.display.showSystemCursor(false);
        return;
    }
    if (platform_.input.engineKeyPressed(EngineSpeech)) changeSetting(SetSpeech, 1);
    menu_.build(game_, settings_, game_.session.fullScreen);
    speakMenuSelection();
    menu_.draw(platform_.display.back(), platform_.canvas);
    platform_.display.flip();
}

// The item the player moved to, or whose value changed, read out once.
void MainWindow::speakMenuSelection() {
    const MenuItem* item = menu_.selectedItem();
    const std::string label = item ? item->label : std::string();
    if (label == spokenMenuItem_) return;
    spokenMenuItem_ = label;
    // Room titles in the labels are in the game's code page, the rest is UTF-8.
    platform_.speech.say(game_.tables.metadata.codePage.mixedToUtf8(label),
                         SpeechUrgency::MenuItem);
}

// Speech on or off in `s`, told by the voice: "off" is said before the voice goes quiet.
void MainWindow::toggleSpeech(Settings& s) {
    s.speech = !s.speech;
    Speech& voice = platform_.speech;
    if (!s.speech) voice.say("Speech off", SpeechUrgency::Notice);
    voice.setOn(s.speech);
    if (s.speech) voice.say("Speech on", SpeechUrgency::Notice);
}

void MainWindow::carryOut(const MenuChoice& c) {
    switch (c.action) {
        case MenuAction::None:
            break;
        case MenuAction::Resume:
            menu_.close();
            break;
        case MenuAction::Page:
            menu_.showPage(static_cast<MenuPage>(c.value));
            break;
        case MenuAction::Back:
            if (menu_.page() == MenuPage::Main)
                menu_.close();
            else
                menu_.showPage(MenuPage::Main);
            break;
        case MenuAction::Save:
            // The same save as the game's "savegame", the game's own thumbnail with it.
            menu_.close();
            saveGame(game_, c.value);
            break;
        case MenuAction::Load:
            menu_.close();
            loadGame(game_, c.value);
            break;
        case MenuAction::LoadAuto:
            menu_.close();
            continueFromAutosave(game_);
            break;
        case MenuAction::Setting:
            changeSetting(c.value, c.step);
            break;
        case MenuAction::Quit:
            menu_.close();
            playerQuit();
            break;
    }
}

void MainWindow::changeSetting(int setting, int step) {
    Settings s = settings_;
    auto cycle = [step](int value, int low, int high, int by) {
        value += step * by;
        return value > high ? low : value < low ? high : value;
    };
    switch (setting) {
        case SetMusic:
            s.musicVolume = cycle(s.musicVolume, 0, kMaxVolumePercent, 10);
            break;
        case SetSound:
            s.soundVolume = cycle(s.soundVolume, 0, kMaxVolumePercent, 10);
            break;
        case SetMute:
            s.muted = !s.muted;
            break;
        case SetTextSpeed:
            s.textSpeed = cycle(s.textSpeed, kMinTextSpeed, kMaxTextSpeed, 25);
            break;
        case SetTextSkip:
            s.textSkip = s.textSkip == TextSkip::Game ? TextSkip::Clicks : TextSkip::Game;
            break;
        case SetFullScreen:
            s.fullScreen = toggleFullScreen();
            break;
        case SetScale:
            s.scaleMode = static_cast<ScaleMode>(cycle(static_cast<int>(s.scaleMode), 0, 3, 1));
            break;
        case SetFilter:
            s.filter = s.filter == ScaleFilter::Sharp ? ScaleFilter::Smooth : ScaleFilter::Sharp;
            break;
        case SetAutosave:
            s.autosave = !s.autosave;
            break;
        case SetSpeech:
            toggleSpeech(s);
            break;
        case SetLanguage: {
            const int count = static_cast<int>(game_.tables.metadata.languages.size());
            if (count == 0) break;
            const int next = cycle(game_.ui.language, 0, count - 1, 1);
            setLanguage(game_, next);
            s.language = next;
            break;
        }
        default:
            return;
    }
    changeSettings(s);
}

void MainWindow::playerQuit() {
    if (options_.autosave && settings_.autosave && autosaveAllowed(game_, true))
        writeAutosave(game_);
    game_.session.quitRequested = true;
}

void MainWindow::ListBox1DblClick(int index) {
    zk::ListBox1DblClick(game_, index);
}

void MainWindow::FormClose() {
    // The player quits (the game's own "exitgame" is not the player's quit).
    if (options_.autosave && settings_.autosave && !game_.session.quitRequested &&
        autosaveAllowed(game_, true))
        writeAutosave(game_);
    game_.tables.rooms.clear();
    game_.scene.imageSlots.clear();
    extraction_.reset();
    privateSaves_.reset();
}

bool MainWindow::toggleFullScreen() {
    Display& d = platform_.display;
    const int width = d.back().width;
    const int height = d.back().height;
    d.finalize();
    game_.session.fullScreen = !game_.session.fullScreen;
    d.initialize(width, height, game_.session.fullScreen);
    return game_.session.fullScreen;
}

}  // namespace zk

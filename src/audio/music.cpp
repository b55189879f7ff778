#include <filesystem>
#include <string>
#include <string_view>

#include "audio/audio.h"
#include "core/error.h"
#include "data/error_log.h"
#include "platform/platform.h"

namespace zk {
namespace {

// The file-name part of a path, after its last separator of either kind.
std::string_view baseName(std::string_view path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The first music record named `name` exactly, -1 if none.
int findMusic(const GameState& g, std::string_view name) {
    for (int i = 0; i < kMusicRows; ++i)
        if (g.tables.music[static_cast<size_t>(i)].name() == name) return i;
    return -1;
}

// The music file as the record names it or, when there is no such file, the one whose
// name differs only in letter case: the package's entry names are matched without
// regard to case, and the files keep the entry's own spelling.
std::string musicPath(const GameState& g, const std::string& file) {
    const std::string folder = g.session.tempFolder + "music/";
    std::error_code ec;
    if (std::filesystem::exists(folder + file, ec)) return folder + file;
    const CodePage& page = g.tables.metadata.codePage;
    const std::string wanted = page.lower(file);
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (page.lower(e.path().filename().string()) == wanted) return e.path().string();
    return folder + file;
}

void silence(MediaPlayer& m) {
    if (m.mode() == MediaMode::Playing) m.stop();
    m.close();
}

}  // namespace

void playRoomMusic(GameState& g) {
    if (!g.platform || !g.hasRoom() || g.tables.prefs.musicEnabled() == 0) return;
    MediaPlayer& m = g.platform->media;
    const std::string name = g.room().music();
    if (name.empty()) {
        silence(m);
        return;
    }
    const int record = findMusic(g, name);
    if (record < 0) {
        silence(m);
        reportError(
            g, "Music '" + name + "' of room '" + g.room().name() + "' is not in the music table");
        return;
    }
    // Music entries are extracted flat into the music folder, so only the file name
    // can be there; a folder part ("..\\..\\dev\\stdin") must not reach files outside.
    const std::string file(baseName(g.tables.music[static_cast<size_t>(record)].file()));
    if (baseName(m.fileName()) == file) return;  // the track plays on
    const std::string path = musicPath(g, file);
    if (m.mode() == MediaMode::Playing) m.stop();
    try {
        m.open(path);
    } catch (const DataError& e) {
        reportError(g, e.what());
        return;
    }
    m.play();
    m.setVolume(playerMusicVolume(g));
}

int32_t playerMusicVolume(const GameState& g) {
    const Settings& s = g.playerSettings();
    if (s.muted) return 0;
    const int64_t game = g.tables.prefs.musicVolume();
    if (s.musicVolume == 100) return static_cast<int32_t>(game);
    return static_cast<int32_t>(game * s.musicVolume / 100);
}

int playerSoundVolume(const GameState& g) {
    const Settings& s = g.playerSettings();
    return s.muted ? 0 : s.soundVolume;
}

void applyPlayerVolumes(GameState& g) {
    if (!g.platform) return;
    g.platform->mixer.setVolume(playerSoundVolume(g));
    MediaPlayer& m = g.platform->media;
    if (m.mode() != MediaMode::NotOpen && g.tables.prefs.musicEnabled() != 0)
        m.setVolume(playerMusicVolume(g));
}

void restartMusicIfStopped(GameState& g) {
    if (!g.platform || !g.hasRoom()) return;
    MediaPlayer& m = g.platform->media;
    if (m.mode() != MediaMode::Stopped || g.room().music().empty()) return;
    m.seekToStart();
    m.play();
}

}  // namespace zk

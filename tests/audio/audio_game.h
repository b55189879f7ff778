#pragma once
// A loaded game in-process for the audio tests: a package built in code, the
// headless services (or other mixer and player in their place), and helpers to
// move between rooms and to make waves.
#include <filesystem>
#include <optional>
#include <string>

#include "assets/wave_list.h"
#include "audio/audio.h"
#include "logic/loader.h"
#include "logic/room_entry.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {

// A wave of `ms` milliseconds of 16-bit mono PCM at 8000 Hz (a rising ramp, so that
// waves of different lengths differ in their bytes too).
inline WaveItem waveItem(const std::string& name, int ms, bool looped = false, int maxCount = 0) {
    WaveItem w;
    w.name = name;
    w.looped = looped;
    w.maxPlayingCount = maxCount;
    w.wave.format = pcmFormat(1, 8000, 16);
    w.wave.samples.resize(static_cast<size_t>(ms) * 16);
    for (size_t i = 0; i < w.wave.samples.size(); ++i)
        w.wave.samples[i] = static_cast<uint8_t>(i * 7);
    return w;
}

struct AudioGame {
    TempDir dir;
    HeadlessPlatform hp;
    Platform platform;
    Package package;
    GameState g;

    AudioGame() : platform(hp.platform()) {}
    // Headless services with this mixer and player instead of the recording ones.
    AudioGame(SoundMixer& mixer, MediaPlayer& media)
        : platform{hp.display, hp.canvas, hp.fonts,      hp.input,       hp.clock,
                   mixer,      media,     hp.messageBox, hp.errorReport, hp.speech} {}

    // Writes the package and runs the start-up load, which enters the start room.
    void load(const GameBuilder& b) {
        b.write(dir.file("game.tgp"));
        package.setPackagePath(dir.file("game.tgp"));
        package.setQuietOperation();
        package.setPassword(std::string(kPackagePassword));
        std::filesystem::create_directories(dir.path() / "extract");
        g.session.tempFolder = dir.file("extract") + "/";
        g.platform = &platform;
        g.package = &package;
        loadPreferencesFromPackage(g);
        loadGame(g);
    }
    void enter(const std::string& room) {
        const int index = findRoom(g, room);
        ASSERT_GE(index, 0) << room;
        enterRoom(g, index);
    }
    const std::vector<std::string>& errors() const { return hp.errorReport.messages; }
};

// Rooms "hall" (the start room) and "library" share the music "theme"; "cellar" has
// none; "attic" plays "storm". Both tracks are in the package.
inline GameBuilder musicGame() {
    GameBuilder b = GameBuilder::minimal();
    b.findRoom("hall")->setMusic("theme");
    b.addRoom("library").setMusic("theme");
    b.addRoom("cellar");
    b.addRoom("attic").setMusic("storm");
    b.music.emplace_back().setName("theme");
    b.music.back().setFile("theme.ogg");
    b.music.emplace_back().setName("storm");
    b.music.back().setFile("storm.mid");
    b.files["music\\theme.ogg"] = {1, 2, 3};
    b.files["music\\storm.mid"] = {4, 5, 6};
    return b;
}

}  // namespace zk::test

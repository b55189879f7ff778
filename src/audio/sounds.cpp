#include <algorithm>
#include <string>

#include "audio/audio.h"
#include "core/error.h"
#include "data/error_log.h"
#include "package/package.h"
#include "platform/platform.h"

namespace zk {
namespace {

bool deviceReady(const GameState& g) {
    return g.platform && g.platform->mixer.ready();
}

// Makes the buffer table match the list, sound for sound. Master buffers are made
// when a sound first plays, so a list of many sounds costs only what is played.
void matchList(SoundMixer& mixer, const WaveList& list, SoundBuffers& buffers) {
    if (buffers.sounds.size() == list.items.size()) return;
    for (SoundBuffers::Sound& s : buffers.sounds) {
        for (SoundId c : s.copies) mixer.release(c);
        if (s.master) mixer.release(s.master);
    }
    buffers.sounds.assign(list.items.size(), {});
}

void restart(SoundMixer& mixer, SoundId id, bool looped) {
    mixer.stop(id);
    mixer.rewind(id);
    mixer.play(id, looped);
}

}  // namespace

void releaseSoundBuffers(GameState& g, SoundBuffers& buffers) {
    if (g.platform) {
        SoundMixer& mixer = g.platform->mixer;
        for (SoundBuffers::Sound& s : buffers.sounds) {
            for (SoundId c : s.copies) mixer.release(c);
            if (s.master) mixer.release(s.master);
        }
    }
    buffers.sounds.clear();
}

std::optional<SoundCopy> startSound(GameState& g, const WaveList& list, SoundBuffers& buffers,
                                    int index) {
    if (!deviceReady(g) || index < 0 || index >= list.count()) return std::nullopt;
    SoundMixer& mixer = g.platform->mixer;
    matchList(mixer, list, buffers);
    const WaveItem& item = list.items[static_cast<size_t>(index)];
    SoundBuffers::Sound& sound = buffers.sounds[static_cast<size_t>(index)];
    if (!sound.master) {
        sound.master = mixer.create(item.wave.format, item.wave.samples);
        if (!sound.master) {
            reportError(g, "Wave '" + item.name + "' cannot be played: its format is not one " +
                               "the sound device plays");
            return std::nullopt;
        }
    }
    if (item.looped) {
        // A looped sound has one copy, the master: a second start begins it again.
        restart(mixer, sound.master, true);
        return SoundCopy{0, 1};
    }
    std::vector<SoundId>& copies = sound.copies;
    auto free =
        std::find_if(copies.begin(), copies.end(), [&](SoundId c) { return !mixer.isPlaying(c); });
    if (free == copies.end()) {
        const size_t limit = static_cast<size_t>(std::max(0, item.maxPlayingCount));
        if (limit == 0 || copies.size() < limit) {
            const SoundId copy = mixer.duplicate(sound.master);
            if (!copy) return std::nullopt;
            copies.push_back(copy);
        } else {
            // Every allowed copy plays: the oldest one is cut short and starts anew.
            std::rotate(copies.begin(), copies.begin() + 1, copies.end());
        }
        free = copies.end() - 1;
    }
    restart(mixer, *free, false);
    return SoundCopy{static_cast<int32_t>(free - copies.begin()),
                     static_cast<int32_t>(copies.size())};
}

std::optional<SoundCopy> playNamedSound(GameState& g, const WaveList& list, SoundBuffers& buffers,
                                        std::string_view name) {
    const int index = list.find(name);
    if (index < 0) {
        reportError(g, "Wave '" + std::string(name) + "' not found");
        return std::nullopt;
    }
    return startSound(g, list, buffers, index);
}

void loadWaveList(GameState& g, WaveList& list, SoundBuffers& buffers, MemoryStream& s) {
    releaseSoundBuffers(g, buffers);
    list.loadFromStream(s);
}

void playSound(GameState& g, int index) {
    if (index < 0 || index >= g.audio.sounds.count()) {
        // An empty list was reported when it failed to load.
        if (g.audio.sounds.count() > 0)
            reportError(
                g, "Interface sound " + std::to_string(index) + " is missing from 'sounds.dxw'");
        return;
    }
    const std::optional<SoundCopy> c = startSound(g, g.audio.sounds, g.audio.soundBuffers, index);
    if (!c) return;
    SoundStart start;
    start.index = index;
    start.copy = c->copy;
    start.copies = c->copies;
    g.audio.soundLog.push_back(start);
}

void playObjectSound(GameState& g, const std::string& object, const std::string& sound) {
    const std::string entry = "objects\\" + object + "\\waves.dxw";
    releaseSoundBuffers(g, g.audio.waveBuffers1);
    g.audio.waveList1.items.clear();
    try {
        MemoryStream* s = g.package ? g.package->extractToStream(entry) : nullptr;
        if (!s) {
            reportError(g, "Wave list '" + entry + "' is missing from the game package");
            return;
        }
        loadWaveList(g, g.audio.waveList1, g.audio.waveBuffers1, *s);
    } catch (const DataError& e) {
        reportError(g, "Wave list '" + entry + "': " + e.what());
        return;
    }
    const std::optional<SoundCopy> c =
        playNamedSound(g, g.audio.waveList1, g.audio.waveBuffers1, sound);
    if (!c) return;
    SoundStart start;
    start.fromObject = true;
    start.object = object;
    start.sound = sound;
    start.copy = c->copy;
    start.copies = c->copies;
    g.audio.soundLog.push_back(start);
}

}  // namespace zk

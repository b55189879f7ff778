#include "platform/sdl/sdl_media_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "core/error.h"
#include "platform/music_file.h"
#include "platform/sdl/sdl_mixer.h"

namespace zk {
namespace {

// How long a MIDI file plays; empty for other files and unreadable ones.
std::optional<uint32_t> midiLengthOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[12] = {};
    in.read(head, sizeof head);
    const auto* h = reinterpret_cast<const uint8_t*>(head);
    if (!isMidiFile(std::span<const uint8_t>(h, static_cast<size_t>(in.gcount())))) return {};
    in.clear();
    in.seekg(0);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    std::optional<uint32_t> ms = midiLengthMs(bytes);
    if (ms && *ms == 0) return {};
    return ms;
}

// What went wrong when the decoder refused a file, in words for its author.
std::string decoderFailure(MusicKind kind, const std::string& message) {
    const char* name = nullptr;
    switch (kind) {
        case MusicKind::Wave:
            name = "WAV";
            break;
        case MusicKind::Aiff:
            name = "AIFF";
            break;
        case MusicKind::Ogg:
            name = "OGG Vorbis";
            break;
        case MusicKind::Opus:
            name = "Opus";
            break;
        case MusicKind::Flac:
            name = "FLAC";
            break;
        case MusicKind::Midi:
        case MusicKind::RiffMidi:
            name = "MIDI";
            break;
        case MusicKind::Mp3:
            name = "MP3";
            break;
        default:
            return "it is not a music format the engine plays (OGG, Opus, MP3, FLAC, MIDI, WAV, "
                   "AIFF or a tracker module); the decoder said: " +
                   message;
    }
    return std::string("it looks like ") + name + " but cannot be decoded: " + message;
}

#ifdef __EMSCRIPTEN__
// A web page has no synthesiser: the page's build renders each MIDI track of its game
// to OGG, named by the POSIX checksum and size of the MIDI file (web/render-music.sh),
// and the page puts them here. Empty when there is none (a game the player picked).
std::string renderedTrack(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    const std::string ogg = "/music/" + std::to_string(posixChecksum(bytes)) + "-" +
                            std::to_string(bytes.size()) + ".ogg";
    std::error_code ec;
    return std::filesystem::is_regular_file(ogg, ec) ? ogg : std::string();
}
#endif

}  // namespace

int mixerMusicVolume(int32_t volume) {
    const int64_t v = std::clamp<int64_t>(volume, 0, 1000);
    return static_cast<int>((v * MIX_MAX_VOLUME + 500) / 1000);
}

SdlMediaPlayer::SdlMediaPlayer(SdlAudioDevice& device) : device_(device) {}

SdlMediaPlayer::~SdlMediaPlayer() {
    close();
}

void SdlMediaPlayer::open(const std::string& path) {
    known_.reset();
    close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw DataError("Cannot open music file " + path + ": file not found");
    const MusicCheck check = checkMusicFile(path);
    if (!device_.ready()) {
        if (check.certain) throw DataError("Cannot open music file " + path + ": " + check.refusal);
        file_ = path;
        return;
    }
    if (!check.refusal.empty())
        throw DataError("Cannot open music file " + path + ": " + check.refusal);
    const std::optional<uint32_t> midiLength = midiLengthOf(path);
#ifdef __EMSCRIPTEN__
    if (midiLength) {
        const std::string rendered = renderedTrack(path);
        if (rendered.empty()) {
            // Played silently, as without a sound device, rather than stopping the game.
            std::cerr << "zelkin: no rendering of the MIDI track " << path
                      << "; it plays silently\n";
            file_ = path;
            return;
        }
        music_ = Mix_LoadMUS(rendered.c_str());
        if (!music_) throw DataError("Cannot open music file " + path + ": " + Mix_GetError());
        file_ = path;
        midiLength_ = midiLength;
        return;
    }
#endif
    music_ = load(path, check.kind);
    if (!music_) {
        midiBytes_.clear();
        throw DataError("Cannot open music file " + path + ": " +
                        decoderFailure(check.kind, Mix_GetError()));
    }
    file_ = path;
    midiLength_ = midiLength;
}

_Mix_Music* SdlMediaPlayer::load(const std::string& path, MusicKind kind) {
    if (kind == MusicKind::RiffMidi) {
        // The MIDI decoders read standard MIDI files only.
        std::ifstream in(path, std::ios::binary);
        midiBytes_.assign(std::istreambuf_iterator<char>(in), {});
        const std::span<const uint8_t> smf = standardMidi(midiBytes_);
        return Mix_LoadMUSType_RW(SDL_RWFromConstMem(smf.data(), static_cast<int>(smf.size())),
                                  MUS_MID, 1);
    }
    Mix_MusicType type = MUS_NONE;
    switch (kind) {
        case MusicKind::Wave:
        case MusicKind::Aiff:
            type = MUS_WAV;
            break;
        case MusicKind::Ogg:
            type = MUS_OGG;
            break;
        case MusicKind::Opus:
            type = MUS_OPUS;
            break;
        case MusicKind::Flac:
            type = MUS_FLAC;
            break;
        case MusicKind::Midi:
            type = MUS_MID;
            break;
        case MusicKind::Mp3:
            type = MUS_MP3;
            break;
        default:
            break;
    }
    if (type == MUS_NONE) return Mix_LoadMUS(path.c_str());  // by its name, then modules
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    return file ? Mix_LoadMUSType_RW(file, type, 1) : nullptr;
}

void SdlMediaPlayer::close() {
    known_.reset();
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    midiBytes_.clear();
    file_.clear();
    silentPlaying_ = false;
    midiLength_.reset();
}

void SdlMediaPlayer::start() {
    // The mixer plays one piece of music at a time; it is always ours.
    if (Mix_PlayMusic(music_, 1) == 0) Mix_VolumeMusic(mixerVolume_);
    playedBefore_ = 0;
    resumedAt_ = device_.mixedMs();
}

uint64_t SdlMediaPlayer::playedMs() const {
    return playedBefore_ + (Mix_PausedMusic() ? 0 : device_.mixedMs() - resumedAt_);
}

void SdlMediaPlayer::play() {
    known_.reset();
    if (file_.empty()) return;
    if (!music_) {
        silentPlaying_ = true;
        return;
    }
    if (Mix_PlayingMusic()) {
        if (Mix_PausedMusic()) {
            Mix_ResumeMusic();
            resumedAt_ = device_.mixedMs();
        }
        return;
    }
    start();
}

void SdlMediaPlayer::stop() {
    known_.reset();
    silentPlaying_ = false;
    if (music_ && Mix_PlayingMusic() && !Mix_PausedMusic()) {
        playedBefore_ = playedMs();
        Mix_PauseMusic();
    }
}

void SdlMediaPlayer::seekToStart() {
    known_.reset();
    if (!music_ || !Mix_PlayingMusic()) return;  // the next play starts at the beginning
    if (Mix_PausedMusic()) {
        Mix_HaltMusic();
    } else {
        // Rewinding is not offered by every decoder (MIDI); starting over is.
        Mix_HaltMusic();
        start();
    }
}

MediaMode SdlMediaPlayer::mode() const {
    if (file_.empty()) return MediaMode::NotOpen;
    if (!music_) return silentPlaying_ ? MediaMode::Playing : MediaMode::Stopped;
    const uint64_t now = SDL_GetTicks64();
    if (!known_ || now - knownAt_ >= 10) {
        known_ = queryMode();
        knownAt_ = now;
    }
    return *known_;
}

MediaMode SdlMediaPlayer::queryMode() const {
    if (!Mix_PlayingMusic() || Mix_PausedMusic()) return MediaMode::Stopped;
    return midiLength_ && playedMs() >= *midiLength_ ? MediaMode::Stopped : MediaMode::Playing;
}

void SdlMediaPlayer::setVolume(int32_t volume) {
    mixerVolume_ = mixerMusicVolume(volume);
    if (music_) Mix_VolumeMusic(mixerVolume_);
}

}  // namespace zk

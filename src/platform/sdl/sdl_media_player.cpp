#include "platform/sdl/sdl_media_player.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>

#include "core/error.h"
#include "platform/sdl/sdl_mixer.h"

namespace zk {

int mixerMusicVolume(int32_t volume) {
    const int64_t v = std::clamp<int64_t>(volume, 0, 1000);
    return static_cast<int>((v * MIX_MAX_VOLUME + 500) / 1000);
}

SdlMediaPlayer::SdlMediaPlayer(SdlAudioDevice& device) : device_(device) {}

SdlMediaPlayer::~SdlMediaPlayer() {
    close();
}

void SdlMediaPlayer::open(const std::string& path) {
    close();
    if (!device_.ready()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec))
            throw DataError("Cannot open music file " + path + ": file not found");
        file_ = path;
        return;
    }
    music_ = Mix_LoadMUS(path.c_str());
    if (!music_) throw DataError("Cannot open music file " + path + ": " + Mix_GetError());
    file_ = path;
}

void SdlMediaPlayer::close() {
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    file_.clear();
    silentPlaying_ = false;
}

void SdlMediaPlayer::start() {
    // The mixer plays one piece of music at a time; it is always ours.
    if (Mix_PlayMusic(music_, 1) == 0) Mix_VolumeMusic(mixerVolume_);
}

void SdlMediaPlayer::play() {
    if (file_.empty()) return;
    if (!music_) {
        silentPlaying_ = true;
        return;
    }
    if (Mix_PlayingMusic()) {
        if (Mix_PausedMusic()) Mix_ResumeMusic();
        return;
    }
    start();
}

void SdlMediaPlayer::stop() {
    silentPlaying_ = false;
    if (music_ && Mix_PlayingMusic() && !Mix_PausedMusic()) Mix_PauseMusic();
}

void SdlMediaPlayer::seekToStart() {
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
    return Mix_PlayingMusic() && !Mix_PausedMusic() ? MediaMode::Playing : MediaMode::Stopped;
}

void SdlMediaPlayer::setVolume(int32_t volume) {
    mixerVolume_ = mixerMusicVolume(volume);
    if (music_) Mix_VolumeMusic(mixerVolume_);
}

}  // namespace zk

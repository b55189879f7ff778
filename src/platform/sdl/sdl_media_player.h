#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/media_player.h"

struct _Mix_Music;  // NOLINT(bugprone-reserved-identifier): SDL_mixer names it so

namespace zk {

class SdlAudioDevice;

// Music files through SDL_mixer: OGG Vorbis, MP3, FLAC, WAV and MIDI (with the
// device's sound font), whatever the file's type is. stop() pauses, so a later
// play() goes on where it stopped; seekToStart() makes it start over. The volume
// 0..1000 maps linearly onto the mixer's 0..128. A MIDI track counts as stopped
// when its last event has played: the synthesiser would go on for seconds while
// the notes fade, which would leave a long silence before the track starts over.
//
// Without a sound device it keeps its state without sound: a file opens when it
// exists and then counts as playing until stopped, so the game runs as usual.
class SdlMediaPlayer : public MediaPlayer {
  public:
    explicit SdlMediaPlayer(SdlAudioDevice& device);
    ~SdlMediaPlayer() override;
    SdlMediaPlayer(const SdlMediaPlayer&) = delete;
    SdlMediaPlayer& operator=(const SdlMediaPlayer&) = delete;

    void open(const std::string& path) override;
    void close() override;
    void play() override;
    void stop() override;
    void seekToStart() override;
    MediaMode mode() const override;
    const std::string& fileName() const override { return file_; }
    void setVolume(int32_t volume) override;

    // The mixer volume (0..128) that the game's volume value became.
    int mixerVolume() const { return mixerVolume_; }

  private:
    void start();
    uint64_t playedMs() const;
    MediaMode queryMode() const;

    SdlAudioDevice& device_;
    _Mix_Music* music_ = nullptr;
    std::string file_;
    bool silentPlaying_ = false;  // the mode while there is no device
    int mixerVolume_ = 128;
    std::optional<uint32_t> midiLength_;  // ms; empty for other files
    // Play time on the device's clock of mixed sound, so that a busy machine
    // that mixes late does not end a track before it was heard.
    uint64_t playedBefore_ = 0;  // ms played up to the last pause
    uint64_t resumedAt_ = 0;     // mixed ms at the last start or resume
    // The mixer's state is asked at most every few milliseconds: every question
    // takes the lock of the audio thread, and a frame loop that runs unthrottled
    // (no vertical blank to wait for) would starve it.
    mutable std::optional<MediaMode> known_;
    mutable uint64_t knownAt_ = 0;
};

// The game's music volume (0 silent .. 1000 full) on the mixer's scale, clamped.
int mixerMusicVolume(int32_t volume);

}  // namespace zk

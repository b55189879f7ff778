#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/media_player.h"
#include "platform/sound_mixer.h"

namespace zk {

// A sound device that plays nothing but keeps time: a buffer played once counts as
// playing for its wave's length on the given clock, a looped one until it is
// stopped. So the rules that pick a free copy of a sound work as with real sound.
class RecordingSoundMixer : public SoundMixer {
  public:
    struct Buffer {
        SoundId master = 0;  // the buffer it was duplicated from; itself for a master
        WaveFormat format;
        uint32_t lengthMs = 0;  // play time of the samples
        bool playing = false;   // as last set; a single play ends after lengthMs
        bool looped = false;
        uint32_t startTick = 0;   // when the current play began
        uint32_t startMs = 0;     // position at that moment
        uint32_t positionMs = 0;  // position while stopped
    };
    struct Start {
        SoundId id = 0;
        SoundId master = 0;
        bool looped = false;
        uint32_t tick = 0;
    };

    explicit RecordingSoundMixer(const Clock& clock) : clock_(clock) {}

    bool ready() const override { return deviceReady; }
    // Refuses what the desktop device refuses (waveRefusal), with its words.
    SoundId create(std::span<const uint8_t> format, std::span<const uint8_t> samples) override;
    const std::string& lastError() const override { return lastError_; }
    SoundId duplicate(SoundId source) override;
    void play(SoundId id, bool looped) override;
    void stop(SoundId id) override;
    void rewind(SoundId id) override;
    bool isPlaying(SoundId id) const override;
    void release(SoundId id) override;
    void setVolume(int percent) override {
        volume = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    }

    // The buffer behind a handle, null when there is none.
    const Buffer* buffer(SoundId id) const;
    size_t bufferCount() const { return buffers_.size(); }

    bool deviceReady = true;     // false acts as a machine without a sound device
    int volume = 100;            // as last set
    std::vector<Start> started;  // every play call, in order

  private:
    // Position now, in ms; a single play that ran out reads as ended (false).
    bool stillPlaying(const Buffer& b) const;
    uint32_t positionNow(const Buffer& b) const;

    const Clock& clock_;
    std::string lastError_;
    std::map<SoundId, Buffer> buffers_;
    SoundId next_ = 1;
};

// A music player that plays nothing and records what it is asked. A file that
// does not exist fails to open as it would with a real player (unless
// requireFiles is false). An opened track plays until stop() or finish().
class RecordingMediaPlayer : public MediaPlayer {
  public:
    void open(const std::string& path) override;
    void close() override;
    void play() override;
    void stop() override;
    void seekToStart() override;
    MediaMode mode() const override { return mode_; }
    const std::string& fileName() const override { return file_; }
    void setVolume(int32_t value) override;

    // The track reaches its end: Playing becomes Stopped.
    void finish();

    bool requireFiles = true;
    int opens = 0;                   // files opened successfully
    int32_t volume = 0;              // last value given to setVolume
    std::vector<std::string> calls;  // "open PATH", "close", "play", "stop", "seek", "volume N"

  private:
    std::string file_;
    MediaMode mode_ = MediaMode::NotOpen;
};

}  // namespace zk

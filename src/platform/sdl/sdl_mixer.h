#pragma once
#include <atomic>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sdl/sdl_subsystem.h"
#include "platform/sound_mixer.h"

struct Mix_Chunk;

namespace zk {

// The machine's sound output through SDL_mixer, shared by the sound mixer and the
// music player. Opening never throws: on a machine without a usable device (a
// server, CI, no sound card) ready() is false, one line saying so goes to the log,
// and the game runs silently. MIDI music uses a General MIDI sound font found on
// the machine unless SDL_SOUNDFONTS names one.
class SdlAudioDevice {
  public:
    explicit SdlAudioDevice(std::ostream& log);
    ~SdlAudioDevice();
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    bool ready() const { return ready_; }
    // Why the device is not ready; empty when it is.
    const std::string& failure() const { return failure_; }
    // The sound font given to the MIDI synthesiser, empty when none was found.
    const std::string& soundFont() const { return soundFont_; }
    // Milliseconds of sound mixed since the device opened: the time of what is
    // heard, which falls behind the wall clock on a machine too busy to keep up.
    uint64_t mixedMs() const;

  private:
    static void countMixed(int channel, void* stream, int bytes, void* device);

    std::optional<SdlSubsystem> audio_;
    std::shared_ptr<void> alsaLibrary_;
    bool ready_ = false;
    bool mixInit_ = false;
    std::string failure_;
    std::string soundFont_;
    int rate_ = 0;
    int frameBytes_ = 0;
    std::atomic<uint64_t> mixedFrames_ = 0;
};

// The first General MIDI sound font among the usual places, empty if none exists.
std::string findSoundFont();

// Sound buffers on SDL_mixer. A master buffer holds the wave converted once to the
// device's format; duplicates share those samples. Each buffer that has played
// owns a mixer channel of its own, so its position survives stop() (the channel
// is paused) and copies never take each other's channel.
class SdlSoundMixer : public SoundMixer {
  public:
    explicit SdlSoundMixer(SdlAudioDevice& device);
    ~SdlSoundMixer() override;
    SdlSoundMixer(const SdlSoundMixer&) = delete;
    SdlSoundMixer& operator=(const SdlSoundMixer&) = delete;

    bool ready() const override { return device_.ready(); }
    SoundId create(std::span<const uint8_t> format, std::span<const uint8_t> samples) override;
    SoundId duplicate(SoundId source) override;
    void play(SoundId id, bool looped) override;
    void stop(SoundId id) override;
    void rewind(SoundId id) override;
    bool isPlaying(SoundId id) const override;
    void release(SoundId id) override;
    void setVolume(int percent) override;

    // Why the last create() gave 0.
    const std::string& lastError() const override { return lastError_; }
    // Bytes of converted samples behind a buffer (0 for an unknown handle).
    size_t sampleBytes(SoundId id) const;

  private:
    struct Sample;
    struct Buffer {
        std::shared_ptr<Sample> sample;
        int channel = -1;  // none until the first play
        bool looped = false;
    };
    Buffer* find(SoundId id);
    const Buffer* find(SoundId id) const;
    int channelFor(Buffer& b);
    // Whether the buffer's channel plays (a paused channel does not).
    bool sounding(const Buffer& b) const;

    SdlAudioDevice& device_;
    std::unordered_map<SoundId, Buffer> buffers_;
    std::vector<int> freeChannels_;
    int channels_ = 0;
    int volume_ = 128;  // on the mixer's scale, for every channel
    SoundId next_ = 1;
    std::string lastError_;
};

// A RIFF WAVE file holding the format block and samples as they are: the form
// SDL's loader reads. Samples are cut to whole frames of the format's block size;
// an odd-sized format block gets its pad byte.
std::vector<uint8_t> riffWave(std::span<const uint8_t> format, std::span<const uint8_t> samples);

}  // namespace zk

#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace zk {

// Handle of a sound buffer in a mixer; 0 is no buffer.
using SoundId = uint32_t;

// The sound device: buffers of wave samples that play asynchronously. Calls with
// an unknown or released handle do nothing (isPlaying answers false).
class SoundMixer {
  public:
    virtual ~SoundMixer() = default;
    // False when there is no usable sound device; then nothing can be created.
    virtual bool ready() const = 0;
    // A master buffer from a WAVE format block (the bytes of a WAVEFORMATEX:
    // format tag, channels, sample rate, bytes per second, block align, bits per
    // sample) and its sample bytes. 0 when not ready or the format is unusable; then
    // lastError() says why.
    virtual SoundId create(std::span<const uint8_t> format, std::span<const uint8_t> samples) = 0;
    // Why the last create() failed; empty after one that succeeded.
    virtual const std::string& lastError() const = 0;
    // A new buffer sharing the samples of `source`, at position 0 and stopped.
    virtual SoundId duplicate(SoundId source) = 0;
    // Starts (or goes on) playing from the current position, once or looping.
    virtual void play(SoundId id, bool looped) = 0;
    // Stops, keeping the position.
    virtual void stop(SoundId id) = 0;
    // Sets the position to the start.
    virtual void rewind(SoundId id) = 0;
    virtual bool isPlaying(SoundId id) const = 0;
    virtual void release(SoundId id) = 0;
    // The loudness of every buffer, playing or to come, in percent of full (0..100;
    // others are clamped): the player's effects volume.
    virtual void setVolume(int percent) = 0;
};

// Fields of a WAVEFORMATEX block; valid is false when the block is too short or
// describes no playable sound.
struct WaveFormat {
    bool valid = false;
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t bytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};
WaveFormat parseWaveFormat(std::span<const uint8_t> format);

// Why the desktop sound device refuses a wave of this format block and samples, in
// the words of its WAVE loader; empty when it plays it. Both sound devices answer
// with it, so a headless run refuses what a real device refuses.
std::string waveRefusal(std::span<const uint8_t> format, std::span<const uint8_t> samples);

// The name of a WAVE format tag ("PCM", "GSM 6.10", ...), or "format 0xNNNN".
std::string waveEncodingName(uint16_t formatTag);

}  // namespace zk

#include "platform/headless/null_audio.h"

#include <filesystem>

#include "core/error.h"
#include "platform/music_file.h"

namespace zk {

SoundId RecordingSoundMixer::create(std::span<const uint8_t> format,
                                    std::span<const uint8_t> samples) {
    lastError_.clear();
    if (!deviceReady) {
        lastError_ = "no sound device";
        return 0;
    }
    Buffer b;
    b.format = parseWaveFormat(format);
    if (!b.format.valid) {
        lastError_ = "the wave's format block describes no sound";
        return 0;
    }
    lastError_ = waveRefusal(format, samples);
    if (!lastError_.empty()) return 0;
    // Rounded up, so that any sound with samples plays for at least 1 ms.
    const uint64_t ms =
        (uint64_t{samples.size()} * 1000 + b.format.bytesPerSecond - 1) / b.format.bytesPerSecond;
    b.lengthMs = ms > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(ms);
    const SoundId id = next_++;
    b.master = id;
    buffers_.emplace(id, b);
    return id;
}

SoundId RecordingSoundMixer::duplicate(SoundId source) {
    const Buffer* src = buffer(source);
    if (!src) return 0;
    Buffer b;
    b.master = src->master;
    b.format = src->format;
    b.lengthMs = src->lengthMs;
    const SoundId id = next_++;
    buffers_.emplace(id, b);
    return id;
}

bool RecordingSoundMixer::stillPlaying(const Buffer& b) const {
    if (!b.playing) return false;
    if (b.looped) return true;
    return uint64_t{b.startMs} + (clock_.ticks() - b.startTick) < b.lengthMs;
}

uint32_t RecordingSoundMixer::positionNow(const Buffer& b) const {
    if (!b.playing) return b.positionMs;
    if (b.lengthMs == 0) return 0;
    const uint64_t pos = uint64_t{b.startMs} + (clock_.ticks() - b.startTick);
    if (b.looped) return static_cast<uint32_t>(pos % b.lengthMs);
    return pos < b.lengthMs ? static_cast<uint32_t>(pos) : 0;  // an ended play is back at 0
}

void RecordingSoundMixer::play(SoundId id, bool looped) {
    auto it = buffers_.find(id);
    if (it == buffers_.end()) return;
    Buffer& b = it->second;
    b.startMs = positionNow(b);
    b.startTick = clock_.ticks();
    b.playing = true;
    b.looped = looped;
    started.push_back({id, b.master, looped, b.startTick});
}

void RecordingSoundMixer::stop(SoundId id) {
    auto it = buffers_.find(id);
    if (it == buffers_.end()) return;
    it->second.positionMs = positionNow(it->second);
    it->second.playing = false;
}

void RecordingSoundMixer::rewind(SoundId id) {
    auto it = buffers_.find(id);
    if (it == buffers_.end()) return;
    Buffer& b = it->second;
    b.positionMs = 0;
    b.startMs = 0;
    b.startTick = clock_.ticks();
}

bool RecordingSoundMixer::isPlaying(SoundId id) const {
    const Buffer* b = buffer(id);
    return b && stillPlaying(*b);
}

void RecordingSoundMixer::release(SoundId id) {
    buffers_.erase(id);
}

const RecordingSoundMixer::Buffer* RecordingSoundMixer::buffer(SoundId id) const {
    auto it = buffers_.find(id);
    return it == buffers_.end() ? nullptr : &it->second;
}

void RecordingMediaPlayer::open(const std::string& path) {
    calls.push_back("open " + path);
    file_.clear();
    mode_ = MediaMode::NotOpen;
    std::error_code ec;
    if (requireFiles && !std::filesystem::is_regular_file(path, ec)) {
        throw DataError("Cannot open music file " + path + ": file not found");
    }
    if (requireFiles) {
        // Only a file's own header is believed: test packages hold stand-ins that a
        // real decoder would refuse but a game test still plays.
        const MusicCheck check = checkMusicFile(path);
        if (check.certain) throw DataError("Cannot open music file " + path + ": " + check.refusal);
    }
    file_ = path;
    mode_ = MediaMode::Stopped;
    ++opens;
}

void RecordingMediaPlayer::close() {
    calls.emplace_back("close");
    file_.clear();
    mode_ = MediaMode::NotOpen;
}

void RecordingMediaPlayer::play() {
    calls.emplace_back("play");
    if (mode_ != MediaMode::NotOpen) mode_ = MediaMode::Playing;
}

void RecordingMediaPlayer::stop() {
    calls.emplace_back("stop");
    if (mode_ == MediaMode::Playing) mode_ = MediaMode::Stopped;
}

void RecordingMediaPlayer::seekToStart() {
    calls.emplace_back("seek");
}

void RecordingMediaPlayer::setVolume(int32_t value) {
    calls.push_back("volume " + std::to_string(value));
    volume = value;
}

void RecordingMediaPlayer::finish() {
    if (mode_ == MediaMode::Playing) mode_ = MediaMode::Stopped;
}

}  // namespace zk

#pragma once
#include <cstdint>
#include <string>

namespace zk {

enum class MediaMode { NotOpen, Stopped, Playing };

// Plays one music file from disk at a time.
class MediaPlayer {
  public:
    virtual ~MediaPlayer() = default;
    // Closes any open file, then opens `path`, stopped at its start. Throws
    // DataError with the media layer's message when the file cannot be opened
    // (then nothing is open).
    virtual void open(const std::string& path) = 0;
    virtual void close() = 0;
    // Starts playing from the current position and returns at once. Does nothing
    // when no file is open.
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void seekToStart() = 0;
    // Playing until stopped or the end of the file is reached, then Stopped.
    virtual MediaMode mode() const = 0;
    // The open file's path, empty when none.
    virtual const std::string& fileName() const = 0;
    // The game's volume value, 0 (silent) to 1000 (full); a device clamps others.
    virtual void setVolume(int32_t volume) = 0;
};

}  // namespace zk

#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/stream.h"

namespace zk {

// A sound: its RIFF "fmt " chunk (a WAVEFORMATEX block) and its "data" chunk.
struct Wave {
    std::vector<uint8_t> format;
    std::vector<uint8_t> samples;
};

struct WaveItem {
    std::string name;  // Windows-1252 text; sounds are found by it
    bool looped = false;
    int32_t maxPlayingCount = 0;  // copies that may play at once; 0 = no limit
    Wave wave;
};

// An ordered list of sounds, stored as a ".dxw" file.
class WaveList {
  public:
    std::vector<WaveItem> items;

    int count() const { return static_cast<int>(items.size()); }
    // Item by index; an index outside the list throws DataError.
    const WaveItem& item(int index) const;
    // Index of the first item with exactly this name, or -1.
    int find(std::string_view name) const;

    // Replaces the list with the one stored at the stream's position. On a fault the
    // DataError propagates and the items read before it stay.
    void loadFromStream(MemoryStream& s);
    void saveToStream(MemoryStream& s) const;
};

WaveList readWaveList(std::vector<uint8_t> bytes);
std::vector<uint8_t> writeWaveList(const WaveList& list);

// RIFF WAVE files. Reading takes the chunks as they follow each other (no pad byte
// after an odd length; a later "fmt " or "data" chunk replaces an earlier one) and
// throws "Wave is invalid" without the RIFF/WAVE header, "Stream read error" for
// chunks that run past the end. Writing gives a standard file.
Wave parseWave(std::span<const uint8_t> riff);
std::vector<uint8_t> writeWave(const Wave& wave);
// A PCM format block (16 bytes) for the given layout.
std::vector<uint8_t> pcmFormat(int channels, int sampleRate, int bitsPerSample);

}  // namespace zk

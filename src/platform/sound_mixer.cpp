#include "platform/sound_mixer.h"

#include "core/bytes.h"

namespace zk {

WaveFormat parseWaveFormat(std::span<const uint8_t> format) {
    WaveFormat f;
    if (format.size() < 16) return f;
    f.formatTag = getU16(format, 0);
    f.channels = getU16(format, 2);
    f.samplesPerSecond = getU32(format, 4);
    f.bytesPerSecond = getU32(format, 8);
    f.blockAlign = getU16(format, 12);
    f.bitsPerSample = getU16(format, 14);
    f.valid = f.channels > 0 && f.samplesPerSecond > 0 && f.bytesPerSecond > 0 && f.blockAlign > 0;
    return f;
}

}  // namespace zk

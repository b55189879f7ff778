#include "platform/sound_mixer.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/bytes.h"

namespace zk {
namespace {

constexpr uint16_t kPcm = 0x0001;
constexpr uint16_t kMsAdpcm = 0x0002;
constexpr uint16_t kFloat = 0x0003;
constexpr uint16_t kALaw = 0x0006;
constexpr uint16_t kMuLaw = 0x0007;
constexpr uint16_t kImaAdpcm = 0x0011;
constexpr uint16_t kMpeg = 0x0050;
constexpr uint16_t kMpegLayer3 = 0x0055;
constexpr uint16_t kExtensible = 0xFFFE;

// The last 14 bytes shared by the sub-format GUIDs of the extensible header: the
// encoding is the tag in the GUID's first two bytes.
constexpr std::array<uint8_t, 14> kGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                               0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::string printed(const char* pattern, unsigned value) {
    char buf[96];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

std::string msAdpcmRefusal(std::span<const uint8_t> f, const WaveFormat& w, uint16_t tag,
                           std::span<const uint8_t> blocks) {
    const size_t header = size_t{w.channels} * 7;
    if (w.channels > 2) return "Invalid number of channels";
    if (w.bitsPerSample != 4)
        return printed("Invalid MS ADPCM bits per sample of %u", w.bitsPerSample);
    if (w.blockAlign < header) return "Invalid MS ADPCM block size (nBlockAlign)";
    if (tag == kExtensible) return "MS ADPCM with the extensible header is not supported";
    if (f.size() < 22) return "Could not read MS ADPCM format header";
    const size_t samplesPerBlock = getU16(f, 18);
    const size_t coefficients = std::min<size_t>(getU16(f, 20), 256);
    const size_t extension = getU16(f, 16);
    if (std::min<size_t>(f.size(), 1046) < 22 + coefficients * 4)
        return "Could not read custom coefficients in MS ADPCM format header";
    if (extension < 4 + coefficients * 4) return "Invalid MS ADPCM format header (too small)";
    if (coefficients < 7) return "Missing required coefficients in MS ADPCM format header";
    constexpr std::array<int16_t, 14> preset = {256, 0,   512, -256, 0,    0,   192,
                                                64,  240, 0,   460,  -208, 392, -232};
    for (size_t i = 0; i < preset.size(); ++i)
        if (getI16(f, 22 + i * 2) != preset[i])
            return "Wrong preset coefficients in MS ADPCM format header";
    const size_t dataSamples = (w.blockAlign - header) * 8 / (size_t{w.bitsPerSample} * w.channels);
    const size_t perBlock = samplesPerBlock == 0 ? dataSamples + 2 : samplesPerBlock;
    if (perBlock == 1 || dataSamples + 2 < perBlock)
        return "Invalid number of samples per MS ADPCM block (wSamplesPerBlock)";
    // Each block starts with a coefficient index per channel (the loader lets one
    // past the last pass).
    for (size_t at = 0; at + w.blockAlign <= blocks.size(); at += w.blockAlign)
        for (size_t c = 0; c < w.channels; ++c)
            if (blocks[at + c] > coefficients)
                return "Invalid MS ADPCM coefficient index in block header";
    return {};
}

std::string imaAdpcmRefusal(std::span<const uint8_t> f, const WaveFormat& w, uint16_t tag) {
    const size_t header = size_t{w.channels} * 4;
    if (w.bitsPerSample == 3) return "3-bit IMA ADPCM currently not supported";
    if (w.bitsPerSample != 4)
        return printed("Invalid IMA ADPCM bits per sample of %u", w.bitsPerSample);
    if (w.blockAlign < header || w.blockAlign % 4)
        return "Invalid IMA ADPCM block size (nBlockAlign)";
    // The extensible header's valid bits stand where the plain one's count may be.
    const bool counted = tag == kExtensible || (f.size() >= 20 && getU16(f, 16) >= 2);
    size_t samplesPerBlock = counted ? getU16(f, 18) : 0;
    const size_t dataSamples = (w.blockAlign - header) * 8 / (size_t{w.bitsPerSample} * w.channels);
    if (samplesPerBlock == 0) samplesPerBlock = dataSamples + 1;
    if (dataSamples + 1 < samplesPerBlock)
        return "Invalid number of samples per IMA ADPCM block (wSamplesPerBlock)";
    return {};
}

}  // namespace

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

std::string waveEncodingName(uint16_t formatTag) {
    switch (formatTag) {
        case kPcm:
            return "PCM";
        case kMsAdpcm:
            return "Microsoft ADPCM";
        case kFloat:
            return "floating-point";
        case kALaw:
            return "A-law";
        case kMuLaw:
            return "mu-law";
        case kImaAdpcm:
            return "IMA ADPCM";
        case 0x0022:
            return "TrueSpeech";
        case 0x0031:
            return "GSM 6.10";
        case 0x0040:
            return "G.721 ADPCM";
        case kMpeg:
            return "MPEG audio";
        case kMpegLayer3:
            return "MP3";
        case kExtensible:
            return "extensible";
        default:
            return printed("format 0x%04x", formatTag);
    }
}

std::string waveRefusal(std::span<const uint8_t> f, std::span<const uint8_t> samples) {
    // The devices wrap the samples whole blocks at a time; a wave with none plays a
    // moment of silence whatever its format says.
    size_t data = std::min<size_t>(samples.size(), 0x7FFFFF00u);
    if (f.size() >= 14 && getU16(f, 12) > 0) data -= data % getU16(f, 12);
    if (data == 0) return {};
    if (f.size() < 14) return "Invalid WAVE fmt chunk length (too small)";
    const uint16_t tag = getU16(f, 0);
    WaveFormat w;
    w.channels = getU16(f, 2);
    w.samplesPerSecond = getU32(f, 4);
    w.blockAlign = getU16(f, 12);
    if (f.size() >= 16) {
        w.bitsPerSample = getU16(f, 14);
    } else if (tag == kPcm) {
        return "Missing wBitsPerSample field in WAVE fmt chunk";
    }
    uint16_t encoding = tag;
    std::string unknown = printed("Unknown WAVE format tag: 0x%04x", tag);
    if (tag == kExtensible) {
        if (f.size() < 40 || getU16(f, 16) < 22) return "Extensible WAVE header too small";
        const auto guid = f.subspan(24, 16);
        const uint16_t sub = getU16(guid, 0);
        const bool known = std::equal(kGuidTail.begin(), kGuidTail.end(), guid.begin() + 2);
        encoding = known && (sub == kPcm || sub == kFloat || sub == kALaw || sub == kMuLaw ||
                             sub == kMsAdpcm || sub == kImaAdpcm)
                       ? sub
                       : 0;
        char buf[96];
        std::snprintf(buf, sizeof buf,
                      "Unknown WAVE format GUID: %08x-%04x-%04x-%02x%02x%02x%02x%02x%02x%02x%02x",
                      unsigned{getU32(guid, 0)}, unsigned{getU16(guid, 4)},
                      unsigned{getU16(guid, 6)}, guid[8], guid[9], guid[10], guid[11], guid[12],
                      guid[13], guid[14], guid[15]);
        unknown = buf;
    }
    if (w.channels == 0) return "Invalid number of channels";
    if (w.channels > 255) return "Number of channels exceeds limit of 255";
    if (w.samplesPerSecond == 0) return "Invalid sample rate";
    if (w.samplesPerSecond > 0x7FFFFFFFu) return "Sample rate exceeds limit of 2147483647";
    switch (encoding) {
        case kPcm:
        case kFloat:
        case kALaw:
        case kMuLaw:
        case kMsAdpcm:
        case kImaAdpcm:
            if (f.size() < 16) return "Missing wBitsPerSample field in WAVE fmt chunk";
            if (w.bitsPerSample == 0) return "Invalid bits per sample";
            if (w.blockAlign == 0) return "Invalid block alignment";
            break;
        case kMpeg:
        case kMpegLayer3:
            return "MPEG formats not supported";
        default:
            return unknown;
    }
    std::string refusal;
    switch (encoding) {
        case kPcm:
            if (w.bitsPerSample != 8 && w.bitsPerSample != 16 && w.bitsPerSample != 24 &&
                w.bitsPerSample != 32)
                return printed("%u-bit PCM format not supported", w.bitsPerSample);
            if ((size_t{w.channels} * w.bitsPerSample) % (size_t{w.blockAlign} * 8))
                return "Unsupported block alignment";
            break;
        case kFloat:
            if (w.bitsPerSample != 32)
                return printed("%u-bit IEEE floating-point format not supported", w.bitsPerSample);
            if ((size_t{w.channels} * w.bitsPerSample) % (size_t{w.blockAlign} * 8))
                return "Unsupported block alignment";
            break;
        case kALaw:
        case kMuLaw:
            if (w.bitsPerSample != 8)
                return printed("Invalid companded bits per sample of %u", w.bitsPerSample);
            if (w.blockAlign != w.channels) return "Unsupported block alignment";
            break;
        case kMsAdpcm:
            refusal = msAdpcmRefusal(f, w, tag, samples.first(data));
            break;
        default:
            refusal = imaAdpcmRefusal(f, w, tag);
            break;
    }
    if (!refusal.empty()) return refusal;
    // The mixer converts what it loaded to the device's format, which takes at most
    // eight channels.
    if (w.channels > 8) return "Invalid source channels";
    return {};
}

}  // namespace zk

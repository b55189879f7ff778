#include "platform/music_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <string_view>
#include <vector>

#include "platform/sound_mixer.h"

namespace zk {
namespace {

bool tagAt(std::span<const uint8_t> b, size_t at, std::string_view tag) {
    return b.size() >= at + 4 && std::memcmp(b.data() + at, tag.data(), 4) == 0;
}

uint32_t big32(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

uint32_t little32(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at + 3]} << 24 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 1]} << 8 | b[at];
}

uint16_t little16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Whether the bytes read as text: no control characters but line ends and tabs.
bool looksLikeText(std::span<const uint8_t> b) {
    const size_t n = std::min<size_t>(b.size(), 512);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = b[i];
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') return false;
        if (c == 0x7F) return false;
    }
    return n > 0;
}

// What music plays of a WAV file, from its "fmt " chunk: the music decoder knows
// fewer encodings than the sound device.
std::string waveMusicRefusal(std::span<const uint8_t> b) {
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const size_t size = little32(b, at + 4);
        if (tagAt(b, at, "fmt ")) {
            if (size < 16 || at + 8 + 16 > b.size()) return "its WAV \"fmt \" chunk is too short";
            const auto f = b.subspan(at + 8);
            uint16_t tag = little16(f, 0);
            const unsigned bits = little16(f, 14);
            if (tag == 0xFFFE && size >= 40 && f.size() >= 26) tag = little16(f, 24);
            const std::string name = waveEncodingName(tag);
            const bool plays =
                (tag == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
                (tag == 3 && (bits == 32 || bits == 64)) || ((tag == 6 || tag == 7) && bits == 8);
            if (plays) return {};
            if (tag == 1 || tag == 3 || tag == 6 || tag == 7)
                return "it is a WAV file of " + std::to_string(bits) + "-bit " + name +
                       " samples, which music does not play; convert it to 16-bit PCM";
            return "it is a WAV file of " + name +
                   " sound, which plays as a sound but not as music (music WAV files hold PCM, "
                   "floating-point, A-law or mu-law samples); convert it to 16-bit PCM or OGG";
        }
        at += 8 + size + (size & 1);
    }
    return {};  // no format within the head: the decoder says what it finds
}

// Reads one track's events; false when they run past the track's end.
class TrackReader {
  public:
    explicit TrackReader(std::span<const uint8_t> t) : t_(t) {}
    bool atEnd() const { return at_ >= t_.size(); }
    bool number(uint32_t& out) {  // a variable-length quantity
        out = 0;
        for (int i = 0; i < 4; ++i) {
            if (atEnd()) return false;
            const uint8_t b = t_[at_++];
            out = out << 7 | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool byte(uint8_t& out) {
        if (atEnd()) return false;
        out = t_[at_++];
        return true;
    }
    bool peek(uint8_t& out) const {
        if (atEnd()) return false;
        out = t_[at_];
        return true;
    }
    bool skip(size_t n) {
        if (n > t_.size() - at_) return false;
        at_ += n;
        return true;
    }
    std::span<const uint8_t> take(size_t n) {
        std::span<const uint8_t> s = t_.subspan(at_, std::min(n, t_.size() - at_));
        at_ += s.size();
        return s;
    }

  private:
    std::span<const uint8_t> t_;
    size_t at_ = 0;
};

// Walks a track, noting tempo changes; returns its length in ticks (the time of its
// end-of-track event or of its last event), or nothing when it is damaged.
std::optional<uint64_t> readTrack(std::span<const uint8_t> track,
                                  std::map<uint64_t, uint32_t>& tempos) {
    TrackReader r(track);
    uint64_t tick = 0;
    uint8_t running = 0;
    while (!r.atEnd()) {
        uint32_t delta = 0;
        if (!r.number(delta)) return std::nullopt;
        tick += delta;
        uint8_t status = 0;
        if (!r.peek(status)) return std::nullopt;
        if (status & 0x80) {
            r.byte(status);
        } else if (running) {
            status = running;  // running status: the data byte follows directly
        } else {
            return std::nullopt;
        }
        if (status == 0xFF) {
            uint8_t type = 0;
            uint32_t size = 0;
            if (!r.byte(type) || !r.number(size)) return std::nullopt;
            std::span<const uint8_t> data = r.take(size);
            if (data.size() != size) return std::nullopt;
            if (type == 0x2F) return tick;  // end of track
            if (type == 0x51 && size == 3)
                tempos[tick] = uint32_t{data[0]} << 16 | uint32_t{data[1]} << 8 | data[2];
        } else if (status == 0xF0 || status == 0xF7) {
            uint32_t size = 0;
            if (!r.number(size) || !r.skip(size)) return std::nullopt;
            running = 0;
        } else if (status >= 0xF0) {
            return std::nullopt;  // system messages do not belong in a file
        } else {
            running = status;
            const uint8_t kind = status & 0xF0;
            if (!r.skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2)) return std::nullopt;
        }
    }
    return tick;
}

}  // namespace

std::span<const uint8_t> standardMidi(std::span<const uint8_t> b) {
    if (!tagAt(b, 0, "RIFF") || !tagAt(b, 8, "RMID")) return b;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const size_t size = little32(b, at + 4);
        if (tagAt(b, at, "data")) return b.subspan(at + 8, std::min(size, b.size() - at - 8));
        at += 8 + size + (size & 1);
    }
    return {};
}

MusicCheck checkMusic(std::span<const uint8_t> b) {
    MusicCheck c;
    if (b.empty()) {
        c.kind = MusicKind::Empty;
        c.refusal = "the file is empty";
    } else if (tagAt(b, 0, "RIFF") && tagAt(b, 8, "WAVE")) {
        c.kind = MusicKind::Wave;
        c.refusal = waveMusicRefusal(b);
        c.certain = !c.refusal.empty();
    } else if (tagAt(b, 0, "RIFF") && tagAt(b, 8, "RMID")) {
        c.kind = MusicKind::RiffMidi;
        if (standardMidi(b).empty()) c.refusal = "its RIFF MIDI form holds no \"data\" chunk";
    } else if (tagAt(b, 0, "FORM")) {
        c.kind = MusicKind::Aiff;
    } else if (tagAt(b, 0, "OggS")) {
        c.kind = b.size() >= 36 && std::memcmp(b.data() + 28, "OpusHead", 8) == 0 ? MusicKind::Opus
                                                                                  : MusicKind::Ogg;
    } else if (tagAt(b, 0, "fLaC")) {
        c.kind = MusicKind::Flac;
    } else if (tagAt(b, 0, "MThd")) {
        c.kind = MusicKind::Midi;
    } else if ((b.size() >= 3 && std::memcmp(b.data(), "ID3", 3) == 0) ||
               (b.size() >= 2 && b[0] == 0xFF && (b[1] & 0xE6) == 0xE2)) {
        c.kind = MusicKind::Mp3;
    } else if (looksLikeText(b)) {
        c.kind = MusicKind::Text;
        c.refusal = "it is a text file, not music";
    }
    return c;
}

MusicCheck checkMusicFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::vector<uint8_t> head(kMusicHeadBytes);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return checkMusic(head);
}

bool isMidiFile(std::span<const uint8_t> bytes) {
    return tagAt(bytes, 0, "MThd") || (tagAt(bytes, 0, "RIFF") && tagAt(bytes, 8, "RMID"));
}

std::optional<uint32_t> midiLengthMs(std::span<const uint8_t> bytes) {
    const std::span<const uint8_t> f = standardMidi(bytes);
    if (!tagAt(f, 0, "MThd") || f.size() < 14) return std::nullopt;
    const size_t headerSize = big32(f, 4);
    if (headerSize < 6 || headerSize > f.size() - 8) return std::nullopt;
    const uint16_t tracks = static_cast<uint16_t>(f[10] << 8 | f[11]);
    const uint16_t division = static_cast<uint16_t>(f[12] << 8 | f[13]);
    if (division == 0) return std::nullopt;

    std::map<uint64_t, uint32_t> tempos;  // tick -> microseconds per quarter note
    uint64_t endTick = 0;
    size_t at = 8 + headerSize;
    for (int t = 0; t < tracks && at + 8 <= f.size(); ++t) {
        const size_t size = std::min<size_t>(big32(f, at + 4), f.size() - at - 8);
        if (tagAt(f, at, "MTrk")) {
            const std::optional<uint64_t> end = readTrack(f.subspan(at + 8, size), tempos);
            if (!end) return std::nullopt;
            endTick = std::max(endTick, *end);
        } else {
            --t;  // an unknown chunk is no track
        }
        at += 8 + size;
    }

    double ms = 0;
    if (division & 0x8000) {
        // SMPTE: frames per second (as a negative byte) and ticks per frame.
        const int fps = -static_cast<int8_t>(division >> 8);
        const int ticksPerFrame = division & 0xFF;
        if (fps <= 0 || ticksPerFrame == 0) return std::nullopt;
        ms = static_cast<double>(endTick) * 1000.0 / (fps * ticksPerFrame);
    } else {
        uint64_t tick = 0;
        uint32_t tempo = 500000;  // 120 beats per minute until told otherwise
        for (const auto& [at, next] : tempos) {
            if (at >= endTick) break;
            ms += static_cast<double>(at - tick) * tempo / division / 1000.0;
            tick = at;
            tempo = next;
        }
        ms += static_cast<double>(endTick - tick) * tempo / division / 1000.0;
    }
    if (ms > 24.0 * 3600 * 1000) return std::nullopt;
    return static_cast<uint32_t>(std::llround(ms));
}

uint32_t posixChecksum(std::span<const uint8_t> bytes) {
    // CRC-32 with the polynomial 0x04C11DB7, most significant bit first, over the bytes
    // and then the length (least significant byte first, no trailing zero bytes).
    uint32_t crc = 0;
    auto add = [&crc](uint8_t byte) {
        crc ^= static_cast<uint32_t>(byte) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    };
    for (uint8_t b : bytes) add(b);
    for (uint64_t n = bytes.size(); n; n >>= 8) add(static_cast<uint8_t>(n));
    return ~crc;
}

}  // namespace zk

#include "assets/wave_list.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "assets/component_stream.h"
#include "core/bytes.h"
#include "core/error.h"

namespace zk {
namespace {

constexpr uint32_t fourCc(const char (&s)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(s[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(s[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(s[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(s[3])) << 24);
}

// Windows-1252 lower case, as sound names are compared.
char lower1252(char ch) {
    auto c = static_cast<uint8_t>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        c += 0x20;
    else if (c == 0x8A || c == 0x8C || c == 0x8E)
        c += 0x10;
    else if (c == 0x9F)
        c = 0xFF;
    return static_cast<char>(c);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower1252(x) == lower1252(y);
           });
}

void readItem(ComponentReader& r, WaveItem& item) {
    for (std::string name = r.readName(); !name.empty(); name = r.readName()) {
        if (name == "Name")
            item.name = r.readString();
        else if (name == "Looped")
            item.looped = r.readBoolean();
        else if (name == "MaxPlayingCount")
            item.maxPlayingCount = std::max(r.readInteger(), 0);
        else if (name == "Wave.WAVE")
            item.wave = parseWave(r.readBinary());
        else
            ComponentReader::unknownProperty(name);
    }
}

}  // namespace

namespace {

// The chunks of a RIFF WAVE as one walk finds them.
struct ChunkWalk {
    std::vector<uint8_t> format;
    size_t dataPos = 0, dataLength = 0;
    bool hasData = false;
    bool formatCut = false;  // a "fmt " chunk runs past the end
};

// Walks the chunks after the RIFF header. Wave lists put chunks directly after each
// other; the RIFF rules put a pad byte after one of odd length (`padded`).
ChunkWalk walkChunks(std::span<const uint8_t> riff, bool padded) {
    ChunkWalk w;
    const size_t size = riff.size();
    size_t pos = 12;  // may run past the end after a long chunk
    for (;;) {
        // A header cut short by the end reads as zeros, so the end reads as id 0.
        uint8_t header[8] = {};
        const size_t n = pos < size ? std::min<size_t>(8, size - pos) : 0;
        std::memcpy(header, riff.data() + std::min(pos, size), n);
        pos += n;
        const uint32_t id = getU32(header, 0);
        const size_t length = getU32(header, 4);  // unsigned: chunks only move forward
        if (id == 0) break;
        if (id == fourCc("fmt ")) {
            if (pos > size || length > size - pos) {
                w.formatCut = true;
                break;
            }
            w.format.assign(riff.begin() + static_cast<std::ptrdiff_t>(pos),
                            riff.begin() + static_cast<std::ptrdiff_t>(pos + length));
        } else if (id == fourCc("data")) {
            w.dataPos = pos;
            w.dataLength = length;
            w.hasData = true;
        }
        pos += length + (padded ? length & 1 : 0);
    }
    return w;
}

bool fits(const ChunkWalk& w, size_t size) {
    return w.hasData && w.dataPos <= size && w.dataLength <= size - w.dataPos;
}

}  // namespace

Wave parseWave(std::span<const uint8_t> riff) {
    if (riff.size() < 12) throw DataError("Stream read error");
    if (getU32(riff, 0) != fourCc("RIFF") || getU32(riff, 8) != fourCc("WAVE"))
        throw DataError("Wave is invalid");
    ChunkWalk walk = walkChunks(riff, false);
    if (walk.formatCut || !fits(walk, riff.size())) {
        // A WAV file put into the list unchanged may have an odd-length chunk (LIST,
        // bext) before its data, padded as RIFF files are: read that way only when the
        // list's own way finds no data, and only when it then finds both chunks whole.
        ChunkWalk riffWalk = walkChunks(riff, true);
        if (!riffWalk.formatCut && !riffWalk.format.empty() && fits(riffWalk, riff.size()))
            walk = std::move(riffWalk);
    }
    if (walk.formatCut) throw DataError("Stream read error");
    Wave wave;
    wave.format = std::move(walk.format);
    if (walk.hasData) {
        if (!fits(walk, riff.size())) throw DataError("Stream read error");
        wave.samples.assign(
            riff.begin() + static_cast<std::ptrdiff_t>(walk.dataPos),
            riff.begin() + static_cast<std::ptrdiff_t>(walk.dataPos + walk.dataLength));
    }
    return wave;
}

std::vector<uint8_t> writeWave(const Wave& wave) {
    std::vector<uint8_t> out(12);
    auto chunk = [&out](uint32_t id, const std::vector<uint8_t>& bytes) {
        size_t at = out.size();
        out.resize(at + 8);
        putU32(out, at, id);
        putU32(out, at + 4, static_cast<uint32_t>(bytes.size()));
        out.insert(out.end(), bytes.begin(), bytes.end());
    };
    putU32(out, 0, fourCc("RIFF"));
    putU32(out, 8, fourCc("WAVE"));
    chunk(fourCc("fmt "), wave.format);
    chunk(fourCc("data"), wave.samples);
    if (out.size() & 1) out.push_back(0);  // pad byte after the last chunk
    putU32(out, 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

std::vector<uint8_t> pcmFormat(int channels, int sampleRate, int bitsPerSample) {
    std::vector<uint8_t> f(16);
    const int blockAlign = channels * bitsPerSample / 8;
    putI16(f, 0, 1);  // PCM
    putI16(f, 2, channels);
    putI32(f, 4, sampleRate);
    putI32(f, 8, sampleRate * blockAlign);
    putI16(f, 12, blockAlign);
    putI16(f, 14, bitsPerSample);
    return f;
}

const WaveItem& WaveList::item(int index) const {
    if (index < 0 || index >= count())
        throw DataError("List index out of bounds (" + std::to_string(index) + ")");
    return items[static_cast<size_t>(index)];
}

// Names are compared without regard to case; with two sounds of one name the later
// one is found.
int WaveList::find(std::string_view name) const {
    for (int i = count() - 1; i >= 0; --i)
        if (sameName(items[static_cast<size_t>(i)].name, name)) return i;
    return -1;
}

void WaveList::loadFromStream(MemoryStream& s) {
    items.clear();
    readComponent(s, [this](ComponentReader& r, const std::string& name) {
        if (name != "List") return false;
        r.readCollection();
        items.clear();
        while (r.readEntry()) readItem(r, items.emplace_back());
        return true;
    });
}

void WaveList::saveToStream(MemoryStream& s) const {
    ComponentWriter w(s, "VantrelWaveCollection", "TWaveCollectionComponent");
    w.name("List");
    w.beginCollection();
    for (const auto& it : items) {
        w.beginEntry();
        if (!it.name.empty()) {
            w.name("Name");
            w.string(it.name);
        }
        w.name("Looped");
        w.boolean(it.looped);
        w.name("MaxPlayingCount");
        w.integer(it.maxPlayingCount);
        w.name("Wave.WAVE");
        w.binary(writeWave(it.wave));
        w.end();
    }
    w.end();
    w.finish();
}

WaveList readWaveList(std::vector<uint8_t> bytes) {
    MemoryStream s(std::move(bytes));
    WaveList list;
    list.loadFromStream(s);
    return list;
}

std::vector<uint8_t> writeWaveList(const WaveList& list) {
    MemoryStream s;
    list.saveToStream(s);
    return std::move(s.data());
}

}  // namespace zk

// The music: four short looping pieces, written as standard MIDI files (played through
// the General MIDI sound font the engine's setup installs).
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>

#include "art.h"

namespace demo {
namespace {

constexpr int kTicks = 480;  // per quarter note

struct Event {
    int tick;
    int order;  // note-offs before note-ons at the same tick
    std::vector<uint8_t> bytes;
};

class Song {
  public:
    Song(int bpm, int beatsPerBar) : bpm_(bpm), beatsPerBar_(beatsPerBar) {}

    // A track on MIDI channel `channel` with General MIDI program `program`.
    int track(int channel, int program, int volume) {
        tracks_.emplace_back();
        channels_.push_back(channel);
        tracks_.back().push_back(
            {0, 0, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)}});
        tracks_.back().push_back(
            {0, 0, {static_cast<uint8_t>(0xB0 | channel), 7, static_cast<uint8_t>(volume)}});
        return static_cast<int>(tracks_.size()) - 1;
    }
    void note(int track, double beat, double length, int key, int velocity) {
        const int on = static_cast<int>(std::lround(beat * kTicks));
        const int off = static_cast<int>(std::lround((beat + length) * kTicks)) - 8;
        const uint8_t ch = static_cast<uint8_t>(channels_[static_cast<size_t>(track)]);
        tracks_[static_cast<size_t>(track)].push_back(
            {on,
             1,
             {static_cast<uint8_t>(0x90 | ch), static_cast<uint8_t>(key),
              static_cast<uint8_t>(velocity)}});
        tracks_[static_cast<size_t>(track)].push_back(
            {std::max(on + 1, off),
             0,
             {static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(key), 0}});
    }
    int beatsPerBar() const { return beatsPerBar_; }

    std::vector<uint8_t> file(double totalBeats) const {
        std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
        auto put32 = [&out](uint32_t v) {
            for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
        };
        auto put16 = [&out](int v) {
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v));
        };
        put32(6);
        put16(1);
        put16(static_cast<int>(tracks_.size()) + 1);
        put16(kTicks);
        const int end = static_cast<int>(std::lround(totalBeats * kTicks));
        // the tempo track, which also marks the loop's length
        const uint32_t usPerQuarter = static_cast<uint32_t>(60000000 / bpm_);
        std::vector<Event> tempo = {
            {0,
             0,
             {0xFF, 0x51, 3, static_cast<uint8_t>(usPerQuarter >> 16),
              static_cast<uint8_t>(usPerQuarter >> 8), static_cast<uint8_t>(usPerQuarter)}},
            {0, 0, {0xFF, 0x58, 4, static_cast<uint8_t>(beatsPerBar_), 2, 24, 8}}};
        writeTrack(out, tempo, end);
        for (const auto& t : tracks_) writeTrack(out, t, end);
        return out;
    }

  private:
    static void writeTrack(std::vector<uint8_t>& out, std::vector<Event> events, int end) {
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<uint8_t> body;
        int now = 0;
        auto delta = [&body](int d) {
            uint8_t buf[5];
            int n = 0;
            buf[n++] = static_cast<uint8_t>(d & 0x7F);
            while (d >>= 7) buf[n++] = static_cast<uint8_t>(0x80 | (d & 0x7F));
            while (n) body.push_back(buf[--n]);
        };
        for (const Event& e : events) {
            delta(e.tick - now);
            now = e.tick;
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        delta(std::max(0, end - now));
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        const std::string id = "MTrk";
        out.insert(out.end(), id.begin(), id.end());
        const uint32_t n = static_cast<uint32_t>(body.size());
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
        out.insert(out.end(), body.begin(), body.end());
    }

    int bpm_;
    int beatsPerBar_;
    std::vector<std::vector<Event>> tracks_;
    std::vector<int> channels_;
};

// "C4" -> 60, "F#3" -> 54, "Bb4" -> 70.
int key(const std::string& name) {
    static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                              {'G', 7}, {'A', 9}, {'B', 11}};
    size_t i = 0;
    int k = steps.at(name.at(i++));
    if (name.at(i) == '#')
        ++k, ++i;
    else if (name.at(i) == 'b')
        --k, ++i;
    return k + 12 * (std::stoi(name.substr(i)) + 1);
}

// A melody line: "NOTE/beats" tokens, "r/beats" for a rest. Returns its length in beats.
double melody(Song& s, int track, double start, const std::string& line, int velocity) {
    std::istringstream in(line);
    std::string token;
    double at = start;
    while (in >> token) {
        const size_t slash = token.find('/');
        const double len = std::stod(token.substr(slash + 1));
        const std::string n = token.substr(0, slash);
        if (n != "r") s.note(track, at, len, key(n), velocity);
        at += len;
    }
    return at - start;
}

// Chord tones from a name such as "G", "Em", "D7", "Bb", "A" (root in octave 3).
std::vector<int> chord(const std::string& name) {
    std::string root =
        name.substr(0, name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? 2 : 1);
    const std::string rest = name.substr(root.size());
    const int r = key(root + "3");
    const bool minor = rest.find('m') != std::string::npos;
    std::vector<int> tones = {r, r + (minor ? 3 : 4), r + 7};
    if (rest.find('7') != std::string::npos) tones.push_back(r + 10);
    return tones;
}

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::vector<uint8_t> hearth() {
    Song s(104, 3);
    const int flute = s.track(0, 73, 96);
    const int guitar = s.track(1, 24, 100);
    const int bass = s.track(2, 32, 100);
    const auto chords = words("G C D G Em C D7 D G C D G C G D7 G");
    for (size_t b = 0; b < chords.size(); ++b) {
        const double t = b * 3.0;
        const auto c = chord(chords[b]);
        s.note(bass, t, 1, c[0] - 12, 90);
        for (int beat = 1; beat < 3; ++beat)
            for (int k : c) s.note(guitar, t + beat, 0.9, k + 12, 62);
    }
    melody(s, flute, 0,
           "B4/2 D5/1 E5/2 C5/1 D5/1.5 C5/0.5 B4/1 G4/3 B4/2 G4/1 E5/2 D5/1 C5/1 B4/1 A4/1 D5/3 "
           "B4/2 D5/1 G5/2 E5/1 D5/1 E5/0.5 D5/0.5 C5/1 B4/2 G4/1 E5/1 D5/1 C5/1 B4/1 A4/1 G4/1 "
           "A4/1.5 B4/0.5 A4/1 G4/3",
           88);
    return s.file(chords.size() * 3.0);
}

std::vector<uint8_t> storm() {
    Song s(84, 4);
    const int strings = s.track(0, 48, 90);
    const int cello = s.track(1, 42, 100);
    const int timpani = s.track(2, 47, 110);
    const int oboe = s.track(3, 68, 95);
    const auto chords = words("Dm Dm Bb C Dm Gm A A Dm Dm Bb C Dm Gm A A");
    for (size_t b = 0; b < chords.size(); ++b) {
        const double t = b * 4.0;
        const auto c = chord(chords[b]);
        for (int k : c) s.note(strings, t, 4, k + 12, 58);
        const int pattern[8] = {0, 7, 12, 7, 0, 7, 12, 7};
        for (int e = 0; e < 8; ++e)
            s.note(cello, t + e * 0.5, 0.45, c[0] - 12 + pattern[e], e % 2 ? 64 : 84);
        s.note(timpani, t, 1, 38, 100);
        if (b % 8 == 7)
            for (int r = 0; r < 8; ++r) s.note(timpani, t + 2 + r * 0.25, 0.25, 38, 50 + r * 8);
    }
    melody(s, oboe, 32,
           "A4/2 D5/1 E5/1 F5/3 E5/1 D5/2 C5/1 Bb4/1 C5/4 A4/2 D5/1 F5/1 G5/2 F5/1 E5/1 E5/2 C#5/1 "
           "E5/1 "
           "A4/4",
           92);
    return s.file(chords.size() * 4.0);
}

std::vector<uint8_t> lamp() {
    Song s(66, 4);
    const int choir = s.track(0, 52, 85);
    const int celesta = s.track(1, 8, 90);
    const int drone = s.track(2, 43, 90);
    const auto chords = words("Am F C G Am Dm E E");
    for (size_t b = 0; b < chords.size(); ++b) {
        const double t = b * 4.0;
        const auto c = chord(chords[b]);
        for (int k : c) s.note(choir, t, 4, k + 12, 52);
        s.note(drone, t, 4, 45 - 12, 70);
        for (int e = 0; e < 8; ++e) {
            const int k =
                c[static_cast<size_t>(e % 3)] + (e < 4 ? 24 : 36) - (e % 3 == 2 && e > 4 ? 12 : 0);
            s.note(celesta, t + e * 0.5, 0.5, k, 48 + (e == 0 ? 20 : 0));
        }
    }
    return s.file(chords.size() * 4.0);
}

std::vector<uint8_t> dawn() {
    Song s(92, 4);
    const int strings = s.track(0, 48, 92);
    const int horn = s.track(1, 60, 100);
    const int harp = s.track(2, 46, 92);
    const int timpani = s.track(3, 47, 100);
    const auto chords = words("C G Am F C G F C F G C C");
    for (size_t b = 0; b < chords.size(); ++b) {
        const double t = b * 4.0;
        const auto c = chord(chords[b]);
        for (int k : c) s.note(strings, t, 4, k + 12, 60);
        s.note(strings, t, 4, c[0] - 12, 60);
        for (int e = 0; e < 8; ++e)
            s.note(harp, t + e * 0.5, 0.5, c[static_cast<size_t>(e % 3)] + 12 * (1 + e / 3), 60);
        if (b == 0 || b == 7 || b == 10) s.note(timpani, t, 1, 36, 100);
    }
    melody(
        s, horn, 0,
        "G4/2 C5/1 E5/1 D5/3 B4/1 C5/2 A4/1 C5/1 F5/4 E5/2 G5/1 E5/1 D5/2 B4/1 D5/1 C5/1 A4/1 F5/1 "
        "A5/1 G5/4 A5/2 F5/1 C5/1 D5/2 G5/1 B4/1 C5/4 C5/2 r/2",
        96);
    return s.file(chords.size() * 4.0);
}

}  // namespace

void makeMusic(const Output& out) {
    out.bytes(hearth(), "music/hearth.mid");
    out.bytes(storm(), "music/storm.mid");
    out.bytes(lamp(), "music/lamp.mid");
    out.bytes(dawn(), "music/dawn.mid");
}

}  // namespace demo

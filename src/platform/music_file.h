#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zk {

// What a music file is, from its first bytes.
enum class MusicKind { Unknown, Empty, Text, Wave, Aiff, Ogg, Opus, Flac, Midi, RiffMidi, Mp3 };

struct MusicCheck {
    MusicKind kind = MusicKind::Unknown;
    // Why the media player cannot play it, in plain words; empty when it may.
    std::string refusal;
    // The refusal comes from the file's own header rather than a guess from its
    // bytes: a player that decodes nothing (headless, no sound device) refuses too.
    bool certain = false;
};

// How many bytes from the start of a file checkMusic needs.
constexpr size_t kMusicHeadBytes = 4096;

// Checks a music file from its first kMusicHeadBytes (or all of a shorter file). A
// WAV file's own header is believed: music plays PCM, floating-point, A-law and
// mu-law WAV files only, although sounds play ADPCM too. An empty file and a text
// file are refused; anything else is left to the decoders.
MusicCheck checkMusic(std::span<const uint8_t> head);

// checkMusic on a file's head; a file that cannot be read is Unknown.
MusicCheck checkMusicFile(const std::string& path);

// The standard MIDI file inside a RIFF "RMID" form (its "data" chunk), the bytes
// themselves when they are not such a form, or nothing for a form without one.
std::span<const uint8_t> standardMidi(std::span<const uint8_t> bytes);

// Whether the bytes are a MIDI file: a standard MIDI file ("MThd") or one wrapped in
// a RIFF "RMID" form.
bool isMidiFile(std::span<const uint8_t> bytes);

// How long a MIDI file plays, in milliseconds, up to the end of its longest track,
// following its tempo changes (or its SMPTE time base). Empty when the file cannot
// be read that far. The synthesiser goes on while its last notes fade, so this is
// what tells the player where a track really ends.
std::optional<uint32_t> midiLengthMs(std::span<const uint8_t> bytes);

// The POSIX checksum of the bytes, as `cksum` prints it. A web page, which has no
// synthesiser, finds the OGG rendering of a MIDI track by it (web/render-music.sh).
uint32_t posixChecksum(std::span<const uint8_t> bytes);

}  // namespace zk

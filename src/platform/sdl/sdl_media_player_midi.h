#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace zk {

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

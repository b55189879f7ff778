#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/stream.h"
#include "data/game_state.h"

namespace zk {

// Music: one track at a time, from the files that start-up extracted into
// tempFolder + "music/", played by the platform's media player.

// Brings the media player in line with the current room's music: a room without
// music stops it and forgets the file; a music name that no music record carries
// stops it too; a track that already plays goes on, also across rooms that share
// it. Does nothing while the preferences disable music. A file that cannot be
// opened is reported (once) and the game goes on without it.
void playRoomMusic(GameState& g);
// Called every frame: a track that ended starts over, so room music loops.
void restartMusicIfStopped(GameState& g);
// The music volume given to the media player: the game's (0..1000) scaled by the
// player's music volume, 0 when muted.
int32_t playerMusicVolume(const GameState& g);
// The effects volume in percent: the player's, 0 when muted.
int playerSoundVolume(const GameState& g);
// Hands the player's volumes to the mixer and to the music that plays, after the
// settings changed (and once at start-up, for the mixer).
void applyPlayerVolumes(GameState& g);

// Sounds: wave lists in memory, played by the platform's mixer. Every started
// sound is added to g.audio.soundLog. Without a ready sound device nothing plays and
// nothing is reported.

// Which copy of a sound a start used: its position in the sound's list of copies
// and how many copies the sound has now.
struct SoundCopy {
    int32_t copy = 0;
    int32_t copies = 0;
};

// Starts sound `index` of `list` (its mixer buffers in `buffers`) without waiting:
// a looped sound has a single copy, restarted from the beginning; any other takes
// its first copy that is not playing, else a new copy while the sound's
// MaxPlayingCount allows (0: no limit), else cuts its oldest copy short and moves
// it to the end. Nothing when there is no sound device, the index is outside the
// list, or the mixer cannot play the wave (reported once).
std::optional<SoundCopy> startSound(GameState& g, const WaveList& list, SoundBuffers& buffers,
                                    int index);
// The same for the sound named `name`, found without regard to letter case (the
// later of two sounds of one name); an unknown name reports "Wave '<name>' not found".
std::optional<SoundCopy> playNamedSound(GameState& g, const WaveList& list, SoundBuffers& buffers,
                                        std::string_view name);
// Replaces `list` with the wave list at the stream's position, after releasing the
// buffers of the old sounds (which stops them). Throws DataError as the reader does.
void loadWaveList(GameState& g, WaveList& list, SoundBuffers& buffers, MemoryStream& s);
// Stops and releases every mixer buffer of a list.
void releaseSoundBuffers(GameState& g, SoundBuffers& buffers);

// Starts sound `index` of the interface list `sounds` (0 taken onto the cursor,
// 1 laid into a slot, 2 combined).
void playSound(GameState& g, int index);
// "playsnd": loads `waveList1` from "objects\<object>\waves.dxw" (the previous
// object's sounds stop) and starts its sound named `sound`. A missing or damaged
// list or an unknown name is reported once.
void playObjectSound(GameState& g, const std::string& object, const std::string& sound);

}  // namespace zk

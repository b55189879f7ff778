#pragma once
// Self-voicing: the texts a frame shows, handed to the platform's voice as they appear
// or change. Only reads the game; its own memory is the state's `narrator` part.
#include "data/game_state.h"

namespace zk {

// Frames the cursor rests on a thing before its name is spoken, so that sweeping the
// mouse over a room does not chatter (frames, not time: headless runs repeat exactly).
inline constexpr int32_t kHoverPauseFrames = 12;

// Speaks what changed since the last frame, in rising urgency: the room's title on
// entering it, the name of what the cursor has rested on, hints and object texts as
// they appear, the dialogue's question as it opens and each choice as the cursor
// reaches it. Also gives the voice the game's language and the player's voice and rate.
// Does nothing while speech is off.
void narrate(GameState& g);

// The language tag texts are spoken in: the current language column's, else the
// game's voice language; empty (the system's default) when the game names neither.
std::string voiceLanguage(const GameState& g);

// A text of the game as it is spoken: UTF-8, its line breaks ("#") as spaces.
std::string spokenText(const GameState& g, std::string_view text);

}  // namespace zk

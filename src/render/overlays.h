#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/game_state.h"
#include "platform/surface.h"

namespace zk {

// The inventory bar, its slots, the party, the slot highlight and label, the room
// title and the status values. The dialogue background comes first, in any room, at
// `dialogueBackground`.
void drawInterfacePass(const GameState& g, const Box& dialogueBackground);
// The dialogue background, then either the dialogue box as laid out or, on an unfaded
// screen, the object texts and zone hints; with an open dialogue the head picture last.
void drawTextsAndDialogue(const GameState& g);

// Where the open dialogue's box, close box and choices go, measured in Tahoma 12 (the
// canvas is left with that font): the widest line sets the width (150 at least); style
// 0 puts the box above row 460 at the left, any other centres it on row 240.
DialogueLayout layoutDialogueBox(const GameState& g);
// The dialogue background drawn before the texts: the corner and width of `earlier`,
// the height of the current lines in Tahoma 12.
Box dialogueTextBackground(const GameState& g, const DialogueLayout& earlier);

// Keeps a text `size` pixels wide (or high) at least 5 pixels inside a display side
// of `limit` pixels; the far edge wins over the near one when the text cannot fit.
int clampToDisplay(int64_t pos, int size, int limit);

// An object text split at every '#': one line more than there are '#', empty lines
// (also a trailing one) included.
std::vector<std::string> splitTextLines(std::string_view text);

// A text line placed on the display (top-left corner).
struct PlacedText {
    std::string text;
    int x = 0;
    int y = 0;
    bool operator==(const PlacedText&) const = default;
};

// Where the lines of room object `index`'s display name go: centred over its text
// anchor, 20 pixels apart, the last one 20 pixels above the anchor, kept inside the
// display, measured in Tahoma 12 (the canvas is left with that font).
std::vector<PlacedText> layoutObjectText(const GameState& g, int index);

// Slot i's rectangle as stored (the highlight's frame).
Rect slotRect(const GameState& g, int i);
// The slot framed in green: the last slot under the cursor that the cursor fits and
// that holds an item or could take the held item; -1 if none.
int highlightedSlot(const GameState& g);

}  // namespace zk

#include "logic/narrator.h"

#include <algorithm>

#include "data/hit_test.h"
#include "platform/platform.h"
#include "render/overlays.h"

namespace zk {
namespace {

// The text the cursor is over: an object's name, an inventory item's label or a
// zone's hint; empty over nothing, and while a dialogue asks or the screen is dark.
std::string hoveredText(const GameState& g) {
    if (g.dialogue.dialogueOpen || g.scene.screenFaded || !g.hasRoom()) return {};
    const auto& objects = g.objects();
    const int h = g.scene.hoveredObject;
    if (h >= 0 && h < static_cast<int>(objects.size())) {
        const ObjectRecord& o = objects[static_cast<size_t>(h)];
        if (!o.name().empty() && o.active()) return o.displayName();
    }
    const int slot = highlightedSlot(g);
    if (slot >= 0 && !g.tables.inventory.slot(slot).item().empty() &&
        static_cast<size_t>(slot) < g.ui.slotLabels.size())
        return g.ui.slotLabels[static_cast<size_t>(slot)];
    const Room& room = g.room();
    for (int z = 0; z < kZonesPerRoom; ++z) {
        ConstZoneView zone = room.zone(z);
        if (!zone.enabled() || !zoneUnder(g, zone, g.input.mouseX, g.input.mouseY)) continue;
        std::string hint = zone.hint();
        if (!hint.empty()) return hint;
    }
    return {};
}

void speakRoomTitle(GameState& g, Speech& voice) {
    NarratorState& n = g.narrator;
    if (g.scene.currentRoom == n.room && g.scene.currentRoomTitle == n.roomTitle) return;
    if (g.scene.currentRoom != n.room) n.hints.clear();  // other objects
    n.room = g.scene.currentRoom;
    n.roomTitle = g.scene.currentRoomTitle;
    voice.say(spokenText(g, n.roomTitle), SpeechUrgency::RoomTitle);
}

void speakHover(GameState& g, Speech& voice) {
    NarratorState& n = g.narrator;
    std::string now = hoveredText(g);
    if (now != n.hoverText) {
        n.hoverText = std::move(now);
        n.hoverFrames = 0;
    }
    if (n.hoverText.empty()) {
        n.spokenHover.clear();  // coming back to a thing names it again
        return;
    }
    if (n.hoverFrames < kHoverPauseFrames) ++n.hoverFrames;
    if (n.hoverFrames < kHoverPauseFrames || n.hoverText == n.spokenHover) return;
    n.spokenHover = n.hoverText;
    voice.say(spokenText(g, n.hoverText), SpeechUrgency::Hover);
}

// Hints and wrong-use texts: an object's text shown while its hint timer runs.
void speakHints(GameState& g, Speech& voice) {
    NarratorState& n = g.narrator;
    if (!g.hasRoom()) return;
    const auto& objects = g.objects();
    n.hints.resize(objects.size());
    for (size_t i = 0; i < objects.size(); ++i) {
        const ObjectRecord& o = objects[i];
        const bool shown = !o.name().empty() && o.active() && o.hintTimer() > 0;
        std::string text = shown ? o.displayName() : std::string();
        if (text == n.hints[i]) continue;
        n.hints[i] = std::move(text);
        voice.say(spokenText(g, n.hints[i]), SpeechUrgency::Hint);
    }
}

int choiceUnderCursor(const GameState& g) {
    const DialogueState& d = g.dialogue;
    const auto& boxes = d.dialogueLayout.choiceBoxes;
    for (size_t w = 0; w < boxes.size() && w + 1 < d.dialogueLines.size(); ++w) {
        const Box& b = boxes[w];
        if (insideBox(b[0], b[1], b[2], b[3], g.input.mouseX, g.input.mouseY))
            return static_cast<int>(w);
    }
    return -1;
}

void speakDialogue(GameState& g, Speech& voice) {
    NarratorState& n = g.narrator;
    const DialogueState& d = g.dialogue;
    if (!d.dialogueOpen || d.dialogueLines.empty()) {
        n.dialogueOpen = false;
        n.dialogueLines.clear();
        n.dialogueChoice = -1;
        return;
    }
    const int under = choiceUnderCursor(g);
    if (!n.dialogueOpen || n.dialogueLines != d.dialogueLines) {
        n.dialogueOpen = true;
        n.dialogueLines = d.dialogueLines;
        // A choice the cursor happens to be on as the question opens is not reached:
        // it would cut the question off.
        n.dialogueChoice = under;
        voice.say(spokenText(g, d.dialogueLines[0]), SpeechUrgency::Dialogue);
        return;
    }
    if (under == n.dialogueChoice) return;
    n.dialogueChoice = under;
    if (under >= 0)
        voice.say(spokenText(g, d.dialogueLines[static_cast<size_t>(under) + 1]),
                  SpeechUrgency::Dialogue);
}

}  // namespace

std::string voiceLanguage(const GameState& g) {
    const auto& columns = g.tables.metadata.languages;
    const int column = g.ui.language;
    if (column >= 0 && column < static_cast<int>(columns.size()) &&
        !columns[static_cast<size_t>(column)].code.empty())
        return columns[static_cast<size_t>(column)].code;
    return g.tables.metadata.voiceLanguage;
}

std::string spokenText(const GameState& g, std::string_view text) {
    std::string utf8 = g.tables.metadata.codePage.toUtf8(text);
    std::replace(utf8.begin(), utf8.end(), '#', ' ');
    return utf8;
}

void narrate(GameState& g) {
    if (!g.platform) return;
    Speech& voice = g.platform->speech;
    if (!voice.on()) {
        // Turned on again, it reads the room afresh.
        g.narrator = NarratorState{};
        return;
    }
    NarratorState& n = g.narrator;
    const Settings& s = g.playerSettings();
    VoiceSettings wanted{voiceLanguage(g), s.voice, s.speechRate};
    if (!n.active || !(wanted == n.voice)) {
        voice.setVoice(wanted);
        n.voice = std::move(wanted);
    }
    n.active = true;
    if (!g.session.gameLoaded || !g.hasRoom()) return;
    speakRoomTitle(g, voice);
    speakHover(g, voice);
    speakHints(g, voice);
    speakDialogue(g, voice);
}

}  // namespace zk

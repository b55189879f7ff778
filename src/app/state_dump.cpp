#include "app/state_dump.h"

#include <filesystem>

#include "app/engine_menu.h"
#include "app/json_writer.h"
#include "core/text.h"
#include "platform/headless/headless_platform.h"

namespace zk {
namespace {

// Record strings are written decoded as Latin-1.
JsonWriter& text(JsonWriter& j, std::string_view s) {
    return j.value(latin1ToUtf8(s));
}

void writeObject(JsonWriter& j, const ObjectRecord& o) {
    j.beginObject();
    j.key("name");
    text(j, o.name());
    j.key("kind");
    text(j, o.kind());
    j.key("x").value(o.x());
    j.key("y").value(o.y());
    j.key("imageFolder");
    text(j, o.imageFolder());
    j.key("spriteFile");
    text(j, o.spriteFile());
    j.key("frame").value(int32_t{o.frame()});
    j.key("frameTicks").value(int32_t{o.frameTicks()});
    j.key("frameDelay").value(int32_t{o.frameDelay()});
    j.key("animating").value(o.animating() != 0);
    j.key("scale").value(int32_t{o.scale()});
    j.key("minScale").value(int32_t{o.minScale()});
    j.key("maxScale").value(int32_t{o.maxScale()});
    j.key("depth").value(int32_t{o.depth()});
    j.key("depthBehind").value(int32_t{o.depthBehind()});
    j.key("depthInFront").value(int32_t{o.depthInFront()});
    j.key("baseLineOffset").value(int32_t{o.baseLineOffset()});
    j.key("anchor").beginArray().value(o.anchorX()).value(o.anchorY()).endArray();
    j.key("textAnchor").beginArray().value(o.textAnchorX()).value(o.textAnchorY()).endArray();
    j.key("walkStep").value(int32_t{o.walkStep()});
    j.key("alpha").value(int32_t{o.alpha()});
    j.key("hidden").value(o.hidden() != 0);
    j.key("active").value(o.active() != 0);
    j.key("inParty").value(o.inParty() != 0);
    j.key("perspective").value(o.perspective() != 0);
    j.key("fixedDepth").value(o.fixedDepth() != 0);
    j.key("hintTimer").value(int32_t{o.hintTimer()});
    j.key("displayName");
    text(j, o.displayName());
    j.key("numVars").beginArray();
    for (int k = 0; k < 5; ++k) j.value(int32_t{o.numVar(k)});
    j.endArray();
    j.key("textVars").beginArray();
    for (int k = 0; k < 5; ++k) text(j, o.textVar(k));
    j.endArray();
    j.key("events").beginArray();
    for (int e = 0; e < kEventsPerObject; ++e) text(j, o.event(e).name());
    j.endArray();
    j.endObject();
}

void writeRoom(JsonWriter& j, const Room& r) {
    j.beginObject();
    j.key("name");
    text(j, r.name());
    j.key("titleKey");
    text(j, r.titleKey());
    j.key("background");
    text(j, r.background());
    j.key("music");
    text(j, r.music());
    j.key("weather");
    text(j, r.weather());
    j.key("isGameRoom").value(r.isGameRoom() != 0);
    j.key("cursorVisible").value(r.cursorVisible() != 0);
    j.key("scaleRows").beginArray().value(r.minScaleRow()).value(r.maxScaleRow()).endArray();
    j.key("scales").beginArray().value(r.minScale()).value(r.maxScale()).endArray();
    j.key("zones").beginArray();
    for (int i = 0; i < kZonesPerRoom; ++i) {
        ConstZoneView z = r.zone(i);
        j.beginObject();
        j.key("enabled").value(z.enabled() != 0);
        j.key("rect")
            .beginArray()
            .value(z.left())
            .value(z.top())
            .value(z.right())
            .value(z.bottom())
            .endArray();
        j.key("cursor");
        text(j, z.cursor());
        j.key("hint");
        text(j, z.hint());
        j.key("targetRoom");
        text(j, z.targetRoom());
        j.key("targetEntrance");
        text(j, z.targetEntrance());
        j.endObject();
    }
    j.endArray();
    j.key("entrances").beginArray();
    for (int i = 0; i < kEntrancesPerRoom; ++i) {
        ConstEntranceView e = r.entrance(i);
        j.beginObject();
        j.key("name");
        text(j, e.name());
        j.key("x").value(e.x());
        j.key("y").value(e.y());
        j.endObject();
    }
    j.endArray();
    j.key("objects").beginArray();
    for (const ObjectRecord& o : r.objects) writeObject(j, o);
    j.endArray();
    j.endObject();
}

void writeQueue(JsonWriter& j, const GameState& g) {
    j.beginArray();
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!g.scripts.queue.inUse(s)) continue;
        const EventRecord& e = g.scripts.queue.slot(s);
        j.beginObject();
        j.key("slot").value(int32_t{s});
        j.key("name");
        text(j, e.name());
        j.key("source").value(int32_t{e.sourceIndex()});
        j.key("commands").beginArray();
        for (int k = 0; k < kCommandsPerEvent; ++k) {
            ConstCommandView c = e.command(k);
            j.beginObject();
            j.key("verb");
            text(j, c.verb());
            j.key("p1");
            text(j, c.p1());
            j.key("p2");
            text(j, c.p2());
            j.key("num1").value(int32_t{c.num1()});
            j.key("num2").value(int32_t{c.num2()});
            j.endObject();
        }
        j.endArray();
        j.endObject();
    }
    j.endArray();
}

void box(JsonWriter& j, const Box& b) {
    j.ints(b);
}

}  // namespace

std::string stateDump(const GameState& g, const HeadlessPlatform& p, int64_t frame,
                      const EngineMenu* menu) {
    JsonWriter j;
    j.beginObject();
    j.key("frame").value(frame);
    j.key("flips").value(p.display.flips());
    j.key("caption").value(p.display.caption());
    j.key("fullScreen").value(p.display.isFullScreen());
    j.key("currentRoomTitle");
    text(j, g.scene.currentRoomTitle);
    j.key("gameLoaded").value(g.session.gameLoaded);
    j.key("currentRoom");
    text(j, g.hasRoom() ? g.room().name() : std::string());
    j.key("currentRoomIndex").value(g.scene.currentRoom);
    j.key("returnRoom").value(g.scene.returnRoom);
    j.key("heldItem");
    text(j, g.cursor.heldItem);
    j.key("stashedHeldItem");
    text(j, g.cursor.stashedHeldItem);
    j.key("hitPoints").value(g.ui.hitPoints);
    j.key("statusCounters").ints(g.ui.statusCounters);
    j.key("language").value(g.ui.language);
    j.key("frozen").value(g.scripts.frozen);
    j.key("freezeMode");
    text(j, g.scripts.freezeMode);
    j.key("screenFaded").value(g.scene.screenFaded);
    j.key("mouse").beginArray().value(g.input.mouseX).value(g.input.mouseY).endArray();
    j.key("hoveredObject").value(g.scene.hoveredObject);
    j.key("cursor").beginObject();
    j.key("name");
    text(j, g.cursor.currentCursorName);
    j.key("index").value(g.cursor.cursorIndex);
    j.key("frame").value(g.cursor.cursorFrame);
    j.endObject();

    j.key("dialogue").beginObject();
    j.key("open").value(g.dialogue.dialogueOpen);
    j.key("lines").beginArray();
    for (const std::string& line : g.dialogue.dialogueLines) text(j, line);
    j.endArray();
    j.key("result").value(g.dialogue.dialogueResult);
    j.key("slot").value(g.dialogue.dialogueSlot);
    j.key("voice").value(g.dialogue.dialogueVoice);
    j.key("closeBox");
    if (g.dialogue.dialogueLayout.drawn)
        box(j, g.dialogue.dialogueLayout.closeBox);
    else
        j.beginArray().endArray();
    j.key("choices").beginArray();
    if (g.dialogue.dialogueLayout.drawn)
        for (const Box& b : g.dialogue.dialogueLayout.choiceBoxes) box(j, b);
    j.endArray();
    j.endObject();

    j.key("rain").beginArray();
    for (const RainDrop& d : g.scene.rain)
        j.beginArray().value(d.x).value(d.y).value(d.kind).endArray();
    j.endArray();

    j.key("walk").beginObject();
    j.key("walking").value(g.walk.walking);
    j.key("walker").value(g.walk.walker);
    j.key("target").beginArray().value(g.walk.target.x).value(g.walk.target.y).endArray();
    j.key("facing");
    text(j, g.walk.finalFacing);
    j.key("step").value(g.walk.pathStep);
    j.key("path").beginArray();
    for (const WalkPoint& pt : g.walk.path.points)
        j.beginArray().value(pt.x).value(pt.y).endArray();
    j.endArray();
    j.endObject();

    j.key("inventory").beginArray();
    for (int i = 0; i < kInventorySlots; ++i) {
        ConstSlotView s = g.tables.inventory.slot(i);
        j.beginObject();
        j.key("enabled").value(s.enabled() != 0);
        j.key("item");
        text(j, s.item());
        j.key("label");
        text(j, static_cast<size_t>(i) < g.ui.slotLabels.size()
                    ? g.ui.slotLabels[static_cast<size_t>(i)]
                    : std::string());
        j.endObject();
    }
    j.endArray();

    j.key("rooms").beginArray();
    for (const Room& r : g.tables.rooms) writeRoom(j, r);
    j.endArray();

    j.key("queue");
    writeQueue(j, g);

    j.key("timers").beginArray();
    for (size_t i = 0; i < g.scripts.timers.size(); ++i) {
        if (g.scripts.timers[i].period == -1) continue;
        j.beginObject();
        j.key("object").value(static_cast<int64_t>(i / kTimersPerObject));
        j.key("timer").value(static_cast<int64_t>(i % kTimersPerObject));
        j.key("period").value(g.scripts.timers[i].period);
        j.key("ticks").value(g.scripts.timers[i].ticks);
        j.endObject();
    }
    j.endArray();

    j.key("music").beginObject();
    j.key("file").value(std::filesystem::path(p.media.fileName()).filename().string());
    j.key("playing").value(p.media.mode() == MediaMode::Playing);
    j.key("opens").value(int32_t{p.media.opens});
    j.key("volume").value(p.media.volume);
    j.endObject();

    j.key("sounds").beginArray();
    for (const SoundStart& s : g.audio.soundLog) {
        j.beginObject();
        if (s.fromObject) {
            j.key("list").value("object");
            j.key("object");
            text(j, s.object);
            j.key("sound");
            text(j, s.sound);
        } else {
            j.key("list").value("sounds");
            j.key("index").value(s.index);
        }
        j.key("copy").value(s.copy);
        j.key("copies").value(s.copies);
        j.endObject();
    }
    j.endArray();

    j.key("messages").beginArray();
    for (const auto& m : p.messageBox.shown) {
        j.beginObject();
        j.key("caption");
        text(j, m.caption);
        j.key("text");
        text(j, m.text);
        j.endObject();
    }
    j.endArray();
    j.key("errors").beginArray();
    for (const std::string& e : p.errorReport.messages) text(j, e);
    j.endArray();
    std::error_code ec;
    std::filesystem::path saves =
        std::filesystem::absolute(g.session.saveFolder, ec).lexically_normal();
    std::string folder = saves.string();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    j.key("saveFolder").value(folder);
    j.key("warnings").beginArray();
    for (const std::string& w : g.errors.warnings) text(j, w);
    j.endArray();
    const Settings& settings = g.playerSettings();
    j.key("settings").beginObject();
    j.key("musicVolume").value(int32_t{settings.musicVolume});
    j.key("soundVolume").value(int32_t{settings.soundVolume});
    j.key("muted").value(settings.muted);
    j.key("textSpeed").value(int32_t{settings.textSpeed});
    j.key("textSkip").value(textSkipName(settings.textSkip));
    j.key("speech").value(settings.speech);
    j.key("scaleMode").value(scaleModeName(settings.scaleMode));
    j.key("filter").value(filterName(settings.filter));
    j.key("autosave").value(settings.autosave);
    j.endObject();
    const bool menuOpen = menu && menu->isOpen();
    j.key("engineMenu").beginObject();
    j.key("open").value(menuOpen);
    j.key("items").beginArray();
    if (menuOpen)
        for (const MenuItem& item : menu->items()) j.value(item.label);
    j.endArray();
    j.endObject();
    j.key("hotspots").beginArray();
    for (const Hotspot& h : g.scene.hotspots) {
        j.beginObject();
        j.key("name");
        text(j, h.name);
        j.key("x").value(h.x);
        j.key("y").value(h.y);
        j.endObject();
    }
    j.endArray();
    // Spoken texts are UTF-8 already.
    j.key("speech").beginArray();
    for (const std::string& t : p.speech.spoken) j.beginObject().key("text").value(t).endObject();
    j.endArray();
    j.endObject();
    return j.str() + "\n";
}

}  // namespace zk

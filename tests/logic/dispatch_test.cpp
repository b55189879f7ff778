// The left click: awaited hints, the dialogue, objects, the inventory bar, zones and
// the floor, and the events the click dispatch makes for them.
#include <gtest/gtest.h>

#include <set>

#include "logic/cursor.h"
#include "logic/frame_fixture.h"
#include "logic/logic.h"
#include "logic/room_entry.h"

namespace zk::test {
namespace {

// A game with a lamp at (200, 300) (hit area 190..210 x 260..300), a door at
// (300, 300) and a chest at (500, 300); each reacts to clicks with a lasting event.
GameBuilder roomWithThings() {
    GameBuilder b = GameBuilder::minimal();
    b.prefs.setWrongSubjectText(0, "");
    b.prefs.setWrongSubjectText(3, "No way.");
    b.prefs.setWrongSubjectText(7, "Hardly.");
    addLastingEvent(b.addTemplate("lamp"), 0, "onclick");
    addLastingEvent(b.addTemplate("door"), 0, "onclick");
    ObjectRecord& chest = b.addTemplate("chest");
    addLastingEvent(chest, 0, "onclick");
    addLastingEvent(chest, 1, "onusewith").setParam1("coin");
    addLastingEvent(chest, 2, "onusewith").setParam1("key");
    addLastingEvent(chest, 3, "onclick");  // the later "onclick" is the one taken
    chest.event(3).command(1).setVerb("second");
    addLastingEvent(b.addTemplate("key"), 0, "onclick");
    StoredRoomRecord& hall = *b.findRoom("hall");
    b.place(hall, "lamp", 200, 300);
    b.place(hall, "door", 300, 300);
    b.place(hall, "chest", 500, 300);
    b.place(hall, "key", 600, 300);
    return b;
}

TEST(DispatchHint, AClickWhileAHintIsAwaitedOnlyEndsTheHint) {
    RunningGame game(roomWithThings());
    game.object("lamp").setHintTimer(1000);
    EventRecord talk;
    talk.setName("talk");
    talk.command(0).setVerb("waitforhint");
    talk.command(0).setP1("<self>");
    talk.command(0).setSelf("lamp");
    talk.command(1).setVerb("waitforhint");
    talk.command(1).setP1("nobody");  // not in the room: cleared all the same
    ASSERT_EQ(game.g().scripts.queue.enqueue(talk), 0);

    game.press(200, 280);
    EXPECT_EQ(game.object("lamp").hintTimer(), 0);
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(0).verb(), "");
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(1).verb(), "");
    EXPECT_EQ(game.queued(), std::vector<std::string>{"talk"}) << "the lamp did not react";

    game.frame();
    EXPECT_EQ(game.object("lamp").hintTimer(), -30);
    EXPECT_TRUE(game.queued().empty());
    game.press(200, 280);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onclick"});
}

TEST(DispatchObject, WrongUseOnAnotherObjectButNothingOnTheHeldItemsOwnObject) {
    RunningGame game(roomWithThings());
    game.g().cursor.heldItem = "key";

    game.press(300, 280);  // the door has "onclick" only
    ASSERT_EQ(game.queued(), std::vector<std::string>{"wrongsubjmsg"});
    const EventRecord& e = game.g().scripts.queue.slot(0);
    EXPECT_EQ(e.sourceIndex(), 0);
    EXPECT_EQ(e.command(0).verb(), "showhint");
    EXPECT_EQ(e.command(0).p1(), "hero");
    EXPECT_EQ(e.command(0).p2(), "false");
    const std::string text = e.command(0).text();
    EXPECT_TRUE(text == "No way." || text == "Hardly.") << text;
    EXPECT_EQ(e.command(1).verb(), "");
    game.g().scripts.queue.clear();

    game.press(600, 280);  // the object named like the held item
    EXPECT_TRUE(game.queued().empty());
}

TEST(DispatchObject, WrongUseTextsAreChosenAmongTheNonEmptyOnesOnly) {
    RunningGame game(roomWithThings());
    game.g().cursor.heldItem = "key";
    std::set<std::string> seen;
    for (int i = 0; i < 40; ++i) {
        game.g().scripts.queue.clear();
        game.press(300, 280);
        ASSERT_EQ(game.slotOf("wrongsubjmsg"), 0);
        seen.insert(game.g().scripts.queue.slot(0).command(0).text());
    }
    EXPECT_EQ(seen, (std::set<std::string>{"No way.", "Hardly."}));
}

TEST(DispatchObject, NoWrongUseWithoutTexts) {
    GameBuilder b = roomWithThings();
    for (int k = 0; k < PreferencesRecord::kWrongSubjectTexts; ++k)
        b.prefs.setWrongSubjectText(k, "");
    RunningGame game(b);
    game.g().cursor.heldItem = "key";
    game.press(300, 280);
    EXPECT_TRUE(game.queued().empty());
}

TEST(DispatchObject, UseWithWinsOverClickAndDoesNotStartTwice) {
    RunningGame game(roomWithThings());
    const int chest = game.roomObject("chest");
    game.g().cursor.heldItem = "key";
    game.press(500, 280);
    ASSERT_EQ(game.queued(), std::vector<std::string>{"onusewith"});
    EXPECT_EQ(game.g().scripts.queue.slot(0).param1(), "key");
    EXPECT_EQ(game.g().scripts.queue.slot(0).sourceIndex(), chest);
    EXPECT_EQ(game.object("chest").event(2).sourceIndex(), chest);

    game.frame();
    game.press(500, 280);  // the same use still runs: neither again nor wrong use
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onusewith"});

    game.g().scripts.queue.clear();
    game.g().cursor.heldItem.clear();
    game.press(500, 280);
    ASSERT_EQ(game.queued(), std::vector<std::string>{"onclick"});
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(1).verb(), "second");
}

TEST(DispatchObject, PickingUpASubjectWalksThereFirstWhenTheGameSaysSo) {
    GameBuilder b = roomWithThings();
    addLastingEvent(b.addTemplate("coin", "subject"), 0, "onclick");
    b.place(*b.findRoom("hall"), "coin", 700, 300);
    RunningGame game(b);
    const int coin = game.roomObject("coin");
    game.press(700, 290);
    ASSERT_EQ(game.queued(), (std::vector<std::string>{"onpickup", "onclick"}));
    const EventRecord& e = game.g().scripts.queue.slot(0);
    EXPECT_EQ(e.sourceIndex(), coin);
    ConstCommandView walk = e.command(0);
    EXPECT_EQ(walk.verb(), "walkto");
    EXPECT_EQ(walk.p1(), "hero");
    EXPECT_EQ(walk.p2(), "hall");
    EXPECT_EQ(walk.p3(), "room");
    EXPECT_EQ(walk.p4(), "<nochange>");
    EXPECT_EQ(walk.num1(), 700);
    EXPECT_EQ(walk.num2(), 290);
    EXPECT_EQ(walk.num3(), 1);
    EXPECT_EQ(e.command(1).verb(), "begin");
    EXPECT_EQ(e.command(2).verb(), "addobj");
    EXPECT_EQ(e.command(2).p1(), "coin");
    EXPECT_EQ(e.command(2).p4(), "holdingsubj");
    EXPECT_EQ(e.command(3).verb(), "deleteobj");
    EXPECT_EQ(e.command(3).p1(), "coin");
    EXPECT_EQ(e.command(3).p2(), "<actual>");
    EXPECT_EQ(e.command(4).verb(), "end");
    EXPECT_EQ(e.command(5).verb(), "");

    game.frame();
    game.press(700, 290);  // neither pick-up nor click starts twice
    EXPECT_EQ(game.queued().size(), 2u);
}

TEST(DispatchObject, PickingUpWithoutWalking) {
    GameBuilder b = GameBuilder::minimal();
    b.prefs.setWalkToPickUp(0);
    b.addTemplate("coin", "weapon");
    b.place(*b.findRoom("hall"), "coin", 700, 300);
    RunningGame game(b);
    game.press(700, 290);
    ASSERT_EQ(game.slotOf("onpickup"), 0);
    const EventRecord& e = game.g().scripts.queue.slot(0);
    EXPECT_EQ(e.command(0).verb(), "");
    EXPECT_EQ(e.command(1).verb(), "");
    EXPECT_EQ(e.command(2).verb(), "addobj");
    EXPECT_EQ(e.command(3).verb(), "deleteobj");
    EXPECT_EQ(e.command(4).verb(), "");
}

TEST(DispatchObject, FreezingStopsObjectsUnlessOnlyTheMainCharacterIsHeld) {
    RunningGame game(roomWithThings());
    game.g().scripts.frozen = true;
    game.g().scripts.freezeMode = "wholegame";
    game.press(200, 280);
    EXPECT_TRUE(game.queued().empty()) << "neither the lamp nor a floor walk";
    game.g().scripts.freezeMode = "mainchar";
    game.press(200, 280);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onclick"});
}

TEST(DispatchObject, InactiveOrDeletedObjectsLetTheClickThrough) {
    RunningGame game(roomWithThings());
    game.moveTo(200, 280);
    game.frame();
    ASSERT_EQ(game.g().scene.hoveredObject, game.roomObject("lamp"));
    game.object("lamp").setActive(0);
    clickDispatch(game.g());
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
    game.g().scripts.queue.clear();
    game.object("lamp").setActive(1);
    game.object("lamp").setName("");  // deleted by a script in this frame's tick
    clickDispatch(game.g());
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
}

// Inventory: slot 0 at (5, 545)-(45, 585), slot 1 at (50, 545)-(90, 585), slot 2 a
// small one at (92, 545)-(96, 549), all on the 100 x 60 bar at (0, 540).
GameBuilder gameWithInventory() {
    GameBuilder b = GameBuilder::minimal();
    b.sounds.items = {silentWave("take"), silentWave("put"), silentWave("combine")};
    b.enableSlot(0, 5, 545, 45, 585);
    b.enableSlot(1, 50, 545, 90, 585);
    b.enableSlot(2, 92, 545, 96, 549);
    b.enableSlot(3, 0, 0, 50, 50);  // off the bar: never reached by a click
    ObjectRecord& rope = b.addTemplate("rope", "subject");
    rope.setCursorHotX(3);
    rope.setCursorHotY(4);
    EventView t = rope.event(5);
    t.setName("transmute");
    t.setParam1("hook");
    t.setParam2("grapple");
    b.addTemplate("hook", "subject");
    b.addTemplate("grapple", "subject");
    b.addTemplate("stone", "subject");
    return b;
}

int lastSound(const GameState& g) {
    return g.audio.soundLog.empty() ? -1 : g.audio.soundLog.back().index;
}

TEST(DispatchInventory, TakingAnItemPutsItsSlotPictureOnTheCursor) {
    GameBuilder b = gameWithInventory();
    b.inventory.slot(0).setItem("rope");
    RunningGame game(b);
    GameState& g = game.g();
    const PictureItem slotPicture = g.ui.slotPictures.items[0];
    ASSERT_EQ(slotPicture.width(), 20);

    game.press(20, 560);
    EXPECT_EQ(g.cursor.heldItem, "rope");
    EXPECT_EQ(g.tables.inventory.slot(0).item(), "");
    EXPECT_EQ(g.cursor.cursorIndex, 29);
    EXPECT_EQ(g.cursor.cursorFrame, 0);
    EXPECT_EQ(g.cursor.currentCursorName, "");
    EXPECT_EQ(g.tables.cursors[29].hotX(), 3);
    EXPECT_EQ(g.tables.cursors[29].hotY(), 4);
    ASSERT_EQ(g.cursor.curImageList.count(), 1);
    EXPECT_EQ(g.cursor.curImageList.items[0].image().pixels, slotPicture.image().pixels);
    EXPECT_EQ(lastSound(g), 0);
    EXPECT_TRUE(game.queued().empty()) << "the bar took the click";

    game.press(70, 560);  // laid into the empty slot 1
    EXPECT_EQ(g.cursor.heldItem, "");
    EXPECT_EQ(g.tables.inventory.slot(1).item(), "rope");
    EXPECT_EQ(g.cursor.currentCursorName, "arrow");
    EXPECT_EQ(g.ui.slotLabels[1], "rope");
    EXPECT_EQ(lastSound(g), 1);
}

TEST(DispatchInventory, ItemsWithoutATransmuteSwap) {
    GameBuilder b = gameWithInventory();
    b.inventory.slot(0).setItem("stone");
    RunningGame game(b);
    GameState& g = game.g();
    g.cursor.heldItem = "hook";
    game.press(20, 560);
    EXPECT_EQ(g.cursor.heldItem, "stone");
    EXPECT_EQ(g.tables.inventory.slot(0).item(), "hook");
    EXPECT_EQ(lastSound(g), 0);
}

TEST(DispatchInventory, TransmuteWorksInBothDirections) {
    for (bool ropeInSlot : {true, false}) {
        SCOPED_TRACE(ropeInSlot ? "rope in the slot" : "rope held");
        GameBuilder b = gameWithInventory();
        b.inventory.slot(0).setItem(ropeInSlot ? "rope" : "hook");
        RunningGame game(b);
        GameState& g = game.g();
        holdItem(g, ropeInSlot ? "hook" : "rope");
        game.press(20, 560);
        EXPECT_EQ(g.tables.inventory.slot(0).item(), "grapple");
        EXPECT_EQ(g.cursor.heldItem, "");
        EXPECT_EQ(g.cursor.currentCursorName, "arrow");
        EXPECT_EQ(g.ui.slotLabels[0], "grapple");
        EXPECT_EQ(lastSound(g), 2);
    }
}

TEST(DispatchInventory, TakingAnItemAloneNeverTransmutes) {
    GameBuilder b = gameWithInventory();
    EventView odd = b.addTemplate("seed", "subject").event(0);
    odd.setName("transmute");  // combines with "nothing"
    odd.setParam2("tree");
    b.inventory.slot(0).setItem("seed");
    RunningGame game(b);
    game.press(20, 560);
    EXPECT_EQ(game.g().cursor.heldItem, "seed");
    EXPECT_EQ(game.g().tables.inventory.slot(0).item(), "");
    EXPECT_EQ(lastSound(game.g()), 0);
}

TEST(DispatchInventory, BlockedSlotsAndWaitingUsesKeepEverything) {
    GameBuilder b = gameWithInventory();
    b.inventory.slot(1).setItem("stone");
    RunningGame game(b);
    GameState& g = game.g();

    game.press(94, 547);  // slot 2 is smaller than the 8 x 8 cursor
    EXPECT_EQ(g.cursor.heldItem, "");
    g.tables.inventory.slot(1).setEnabled(0);
    game.press(70, 560);
    EXPECT_EQ(g.cursor.heldItem, "");
    g.tables.inventory.slot(1).setEnabled(1);

    g.cursor.heldItem = "rope";
    EventRecord use;
    use.setName("onusewith");
    use.setParam1("rope");
    use.command(0).setVerb("marker");
    g.scripts.queue.enqueue(use);
    game.press(70, 560);
    EXPECT_EQ(g.cursor.heldItem, "rope");
    EXPECT_EQ(g.tables.inventory.slot(1).item(), "stone");
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onusewith"});
    EXPECT_TRUE(g.audio.soundLog.empty());
}

TEST(DispatchInventory, TransparentBarPixelsLetTheClickThrough) {
    GameBuilder b = gameWithInventory();
    Image bar = solidImage(100, 60, 0x404040);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x) bar.pixels[static_cast<size_t>(y * 100 + x)] = 0;
    b.pictures["inv.dxg"] = singlePictureList(bar);
    b.inventory.slot(0).setItem("rope");
    RunningGame game(b);
    game.press(20, 545);  // in slot 0, but the bar is see-through there
    EXPECT_EQ(game.g().tables.inventory.slot(0).item(), "rope");
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
}

TEST(DispatchInventory, NoBarInARoomWithoutTheMainCharacter) {
    GameBuilder b = gameWithInventory();
    b.findRoom("hall")->setIsGameRoom(0);
    b.inventory.slot(0).setItem("rope");
    RunningGame game(b);
    game.press(20, 560);
    EXPECT_EQ(game.g().tables.inventory.slot(0).item(), "rope");
    EXPECT_TRUE(game.queued().empty()) << "and no floor walk either";
}

// Zone 0 at (600, 100)-(700, 300) to "yard" at "gate" with a fade; zone 1 around it.
GameBuilder gameWithZones() {
    GameBuilder b = GameBuilder::minimal();
    b.addRoom("yard");
    StoredRoomRecord& hall = *b.findRoom("hall");
    ZoneView z = hall.zone(0);
    z.setLeft(600);
    z.setTop(100);
    z.setRight(700);
    z.setBottom(300);
    z.setEnabled(1);
    z.setFade(1);
    z.setWalkX(650);
    z.setWalkY(320);
    z.setTargetRoom("yard");
    z.setTargetEntrance("gate");
    ZoneView outer = hall.zone(1);
    outer.setLeft(550);
    outer.setTop(50);
    outer.setRight(750);
    outer.setBottom(350);
    outer.setEnabled(1);
    outer.setWalkX(1);
    outer.setWalkY(2);
    outer.setTargetRoom("cellar");
    return b;
}

TEST(DispatchZones, AZoneClickWalksThenChangesRoomBehindFades) {
    RunningGame game(gameWithZones());
    game.press(700, 300);  // the corner counts
    ASSERT_EQ(game.queued(), std::vector<std::string>{"onzone"});
    const EventRecord& e = game.g().scripts.queue.slot(0);
    EXPECT_EQ(e.sourceIndex(), 0);
    EXPECT_EQ(e.command(0).verb(), "walkto");
    EXPECT_EQ(e.command(0).p1(), "hero");
    EXPECT_EQ(e.command(0).num1(), 650);
    EXPECT_EQ(e.command(0).num2(), 320);
    EXPECT_EQ(e.command(0).num3(), 1);
    const std::vector<std::string> verbs = {"begin", "fadeout", "changeroom", "fadein", "end", ""};
    for (size_t k = 0; k < verbs.size(); ++k)
        EXPECT_EQ(e.command(static_cast<int>(k) + 1).verb(), verbs[k]) << k;
    EXPECT_EQ(e.command(3).p1(), "yard");
    EXPECT_EQ(e.command(3).p2(), "gate");
}

TEST(DispatchZones, ARunningZoneFallsToTheNextZoneThenTheFloor) {
    RunningGame game(gameWithZones());
    GameState& g = game.g();
    g.room().zone(0).setFade(0);
    EventRecord running;
    running.setName("onzone");
    running.setSourceIndex(0);
    running.command(0).setVerb("marker");
    g.scripts.queue.enqueue(running);

    game.press(650, 200);
    ASSERT_EQ(game.queued(), (std::vector<std::string>{"onzone", "onzone"}));
    const EventRecord& e = g.scripts.queue.slot(1);
    EXPECT_EQ(e.sourceIndex(), 1);
    EXPECT_EQ(e.command(1).verb(), "begin");
    EXPECT_EQ(e.command(2).verb(), "changeroom");
    EXPECT_EQ(e.command(2).p1(), "cellar");
    EXPECT_EQ(e.command(3).verb(), "end");

    game.frame();
    game.press(650, 200);
    ASSERT_EQ(game.queued(), (std::vector<std::string>{"onzone", "onzone", "onfloor"}));
    const EventRecord& floor = g.scripts.queue.slot(2);
    EXPECT_EQ(floor.sourceIndex(), 0);
    EXPECT_EQ(floor.command(0).verb(), "walkto");
    EXPECT_EQ(floor.command(0).num1(), 650);
    EXPECT_EQ(floor.command(0).num2(), 200);
    EXPECT_EQ(floor.command(0).num3(), 0);
    EXPECT_EQ(floor.command(1).verb(), "");
}

TEST(DispatchZones, ZonesFollowTheSceneOffsetAndIgnoreHeldItems) {
    GameBuilder b = gameWithZones();
    b.findRoom("hall")->zone(1).setEnabled(0);
    b.inventory.setSceneOffsetX(-100);
    RunningGame game(b);
    game.press(750, 200);  // inside zone 0 only without the offset
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
    game.g().scripts.queue.clear();
    game.press(590, 200);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onzone"});
    game.g().scripts.queue.clear();
    game.g().cursor.heldItem = "rope";
    game.press(590, 200);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
}

// Record values at the 32-bit limits: a zone reaching to the largest coordinate moved
// by a positive offset, and a bar placed at the largest coordinate, neither of which
// may wrap around onto the screen.
TEST(DispatchZones, ExtremeRecordValuesDoNotWrapOntoTheScreen) {
    GameBuilder b = gameWithZones();
    b.findRoom("hall")->zone(1).setEnabled(0);
    ZoneView z = b.findRoom("hall")->zone(0);
    z.setLeft(INT32_MAX - 10);
    z.setRight(INT32_MAX);
    b.inventory.setSceneOffsetX(100);
    b.inventory.setBarX(INT32_MAX);
    RunningGame game(b);
    game.press(50, 200);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
    game.g().scripts.queue.clear();
    game.g().tables.inventory.setSceneOffsetX(INT32_MIN);
    z = game.g().room().zone(0);
    z.setLeft(INT32_MIN);
    z.setRight(INT32_MIN + 10);
    game.press(0, 200);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
}

TEST(DispatchFloor, NoWalkOnTheTopRowTheLastColumnOrWhileFrozen) {
    RunningGame game(gameWithZones());
    game.press(100, 0);
    game.press(799, 100);
    EXPECT_TRUE(game.queued().empty());
    game.g().scripts.frozen = true;
    game.g().scripts.freezeMode = "mainchar";
    game.press(650, 200);
    game.press(100, 100);
    EXPECT_TRUE(game.queued().empty());
    game.g().scripts.frozen = false;
    game.press(798, 1);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
}

// An open dialogue as a frame drew it: a heading and two choices, answered into
// the waiting script of queue slot 0.
void openDialogue(GameState& g, int voice) {
    EventRecord talk;
    talk.setName("talk");
    talk.command(0).setVerb("waitfordlg");
    talk.command(1).setVerb("ifdlgresult");
    ASSERT_EQ(g.scripts.queue.enqueue(talk), 0);
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueSlot = 0;
    g.dialogue.dialogueVoice = voice;
    g.dialogue.dialogueResult = 5;
    g.dialogue.dialogueLines = {"What now?", "Run", "Hide"};
    g.dialogue.dialogueLayout.closeBox = {300, 380, 310, 392};
    g.dialogue.dialogueLayout.choiceBoxes = {{20, 400, 60, 414}, {20, 416, 64, 430}};
}

void clickAt(GameState& g, int x, int y) {
    g.input.mouseX = x;
    g.input.mouseY = y;
    clickDispatch(g);
}

TEST(DispatchDialogue, AChoiceAnswersTheScriptAndIsSpokenByTheMainCharacter) {
    RunningGame game(roomWithThings());
    GameState& g = game.g();
    openDialogue(g, 0);
    clickAt(g, 64, 430);  // the corner of choice 1
    EXPECT_FALSE(g.dialogue.dialogueOpen);
    EXPECT_EQ(g.dialogue.dialogueResult, 1);
    EXPECT_TRUE(g.ui.hintPreTranslated);
    ConstCommandView said = g.scripts.queue.slot(0).command(0);
    EXPECT_EQ(said.verb(), "showhint");
    EXPECT_EQ(said.p1(), "hero");
    EXPECT_EQ(said.p2(), "true");
    EXPECT_EQ(said.text(), "Hide");
    EXPECT_EQ(g.scripts.queue.slot(0).command(1).verb(), "waitfordlg");
    EXPECT_EQ(g.scripts.queue.slot(0).command(2).verb(), "ifdlgresult");
}

TEST(DispatchDialogue, WithAVoiceTheChoiceIsNotShownAsText) {
    RunningGame game(roomWithThings());
    GameState& g = game.g();
    openDialogue(g, 1);
    clickAt(g, 20, 400);
    EXPECT_EQ(g.dialogue.dialogueResult, 0);
    EXPECT_FALSE(g.ui.hintPreTranslated);
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).verb(), "");
    EXPECT_EQ(g.scripts.queue.slot(0).command(1).verb(), "waitfordlg");
}

TEST(DispatchDialogue, OtherClicksOnlyResetTheResultAndTheCloseBoxCloses) {
    RunningGame game(roomWithThings());
    GameState& g = game.g();
    game.moveTo(200, 280);  // over the lamp: it does not react while the dialogue is open
    game.frame();
    openDialogue(g, 0);
    clickDispatch(g);
    EXPECT_TRUE(g.dialogue.dialogueOpen);
    EXPECT_EQ(g.dialogue.dialogueResult, -1);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"talk"});
    clickAt(g, 310, 392);
    EXPECT_FALSE(g.dialogue.dialogueOpen);
    EXPECT_EQ(g.dialogue.dialogueResult, -1);
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).verb(), "waitfordlg");
}

TEST(DispatchDebug, RoomJumpGoesToTheLastNamedEntrance) {
    GameBuilder b = GameBuilder::minimal();
    StoredRoomRecord& yard = b.addRoom("yard");
    yard.entrance(1).setName("gate");
    yard.entrance(4).setName("well");
    b.addRoom("void");
    RunningGame game(b);
    GameState& g = game.g();
    ASSERT_EQ(g.tables.roomList, (std::vector<std::string>{"hall", "yard", "void"}));

    ListBox1DblClick(g, 1);
    ASSERT_EQ(game.queued(), std::vector<std::string>{"ondebugmode"});
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).verb(), "changeroom");
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).p1(), "yard");
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).p2(), "well");
    ListBox1DblClick(g, 2);
    EXPECT_EQ(g.scripts.queue.slot(1).command(0).p1(), "void");
    EXPECT_EQ(g.scripts.queue.slot(1).command(0).p2(), "");
    ListBox1DblClick(g, 3);
    EXPECT_EQ(game.queued().size(), 2u);
}

}  // namespace
}  // namespace zk::test

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "walking_fixture.h"

namespace zk::test {
namespace {

using ::testing::ElementsAre;

// The minimal game (hero at (400, 400) in "hall", every pixel walkable) with a
// sample of the walking rules' players.
GameBuilder walkingGame() {
    GameBuilder b = GameBuilder::minimal();
    b.addTemplate("guard", "character").setWalkStep(4);
    b.addTemplate("key", "subject");
    ObjectRecord& pillar = b.addTemplate("pillar");
    pillar.setDepthBehind(30);
    pillar.setDepthInFront(3);
    pillar.setBaseLineOffset(30);  // base line at y - 40 + 30 = y - 10
    ObjectRecord& statue = b.addTemplate("statue");
    statue.setFixedDepth(1);
    statue.setDepth(7);
    statue.setDepthBehind(30);
    statue.setDepthInFront(3);
    StoredRoomRecord& hall = *b.findRoom("hall");
    b.place(hall, "guard", 200, 200);
    b.place(hall, "key", 600, 300);
    b.place(hall, "pillar", 300, 410);
    b.place(hall, "statue", 500, 410);
    return b;
}

std::vector<WalkPoint> pathOf(const GameState& g) {
    return g.walk.path.points;
}

TEST(Walking, TenPointPathTakesTenTicksAndStandsOnTheEleventh) {
    LoadedGame game(walkingGame());
    game.hero().setX(100);
    game.hero().setY(400);
    // walkStep 4 on open ground: a point every 8 pixels; the one next to the target
    // gives way to the start.
    game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 180, .num2 = 400, .num3 = 1},
         {.verb = "addobj"}});
    game.tick();
    ASSERT_EQ(game.g.walk.path.points.size(), 10u);
    EXPECT_EQ(game.g.walk.path.points[1], (WalkPoint{108, 400}));
    EXPECT_EQ(game.g.walk.path.points.back(), (WalkPoint{180, 400}));
    // The first tick took point 0, the start itself.
    EXPECT_EQ(game.at("hero"), (WalkPoint{100, 400}));
    for (int t = 2; t <= 10; ++t) {
        game.tick();
        EXPECT_EQ(game.at("hero"), game.g.walk.path.points[static_cast<size_t>(t - 1)]) << t;
        EXPECT_TRUE(game.g.walk.walking) << t;
        EXPECT_EQ(game.hero().spriteFile(), "walkright.dxg") << t;
    }
    EXPECT_TRUE(game.ran.empty()) << "the script went on before the walk ended";
    game.hero().setFrame(2);
    game.tick();
    EXPECT_FALSE(game.g.walk.walking);
    EXPECT_EQ(game.at("hero"), (WalkPoint{180, 400}));
    EXPECT_EQ(game.hero().spriteFile(), "standright.dxg");
    EXPECT_EQ(game.hero().frame(), 0);
    EXPECT_THAT(game.ran, ElementsAre("addobj"));
    EXPECT_TRUE(game.errors().empty());
}

TEST(Walking, PickUpBlockRunsAfterWalksThatEndBesideTheirTarget) {
    GameBuilder b = walkingGame();
    // A 100 x 100 block of unwalkable ground around the key at (600, 300).
    b.pictures["rooms\\hall\\mask.dxg"] = maskPictures(
        800, 600, [](int x, int y) { return x < 550 || x >= 650 || y < 250 || y >= 350; });
    LoadedGame game(b);
    // An odd pixel: the path ends on the even pixel below it.
    game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 451, .num2 = 377, .num3 = 1},
         {.verb = "begin"},
         {.verb = "addobj"},
         {.verb = "deleteobj"},
         {.verb = "end"}},
        "onpickup");
    game.ticksUntilIdle();
    EXPECT_EQ(game.at("hero"), (WalkPoint{450, 376}));
    EXPECT_EQ(game.g.walk.target, (WalkPoint{451, 377}));
    EXPECT_THAT(game.ran, ElementsAre("addobj", "deleteobj"));

    // The key stands on unwalkable ground: the walk ends at the nearest reachable cell.
    game.ran.clear();
    game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 600, .num2 = 300, .num3 = 1},
         {.verb = "begin"},
         {.verb = "addobj"},
         {.verb = "end"}},
        "onpickup");
    game.ticksUntilIdle();
    EXPECT_THAT(game.ran, ElementsAre("addobj"));
    const WalkPoint end = game.at("hero");
    EXPECT_NE(end, (WalkPoint{600, 300}));
    EXPECT_EQ(end, game.g.walk.path.points.back());
    EXPECT_FALSE(game.g.walk.walking);
    EXPECT_FALSE(game.anySlotInUse());
}

TEST(Walking, WalkWithoutAnyRouteEndsAtOnceAndTheActionRunsThere) {
    GameBuilder b = walkingGame();
    b.pictures["rooms\\hall\\mask.dxg"] = maskPictures(800, 600, [](int, int) { return false; });
    LoadedGame game(b);
    game.hero().setSpriteFile("walkright.dxg");
    game.enqueue(
        {{.verb = "walkto", .p1 = "<self>", .p4 = "<left>", .num1 = 100, .num2 = 100, .num3 = 1},
         {.verb = "begin"},
         {.verb = "addobj"},
         {.verb = "end"}});
    game.tick();
    EXPECT_FALSE(game.g.walk.walking);
    EXPECT_EQ(game.at("hero"), (WalkPoint{400, 400}));
    EXPECT_EQ(game.hero().spriteFile(), "standleft.dxg");
    EXPECT_THAT(game.ran, ElementsAre("addobj"));
    EXPECT_FALSE(game.anySlotInUse());
}

TEST(Walking, StepDirectionPicksTheWalkingListAndVerticalWins) {
    LoadedGame game(walkingGame());
    ObjectRecord& hero = game.hero();
    auto stepTo = [&game](WalkPoint next) {
        WalkState& w = game.g.walk;
        w.walking = true;
        w.walker = 0;
        w.path.points = {{0, 0}, next};
        w.pathStep = 1;
        walkingStep(game.g);
    };
    hero.setSpriteFile("standright.dxg");
    hero.setFrame(3);
    hero.setFrameTicks(2);
    stepTo({392, 392});  // up and to the left
    EXPECT_EQ(hero.spriteFile(), "walkup.dxg");
    EXPECT_EQ(hero.frame(), 0);
    EXPECT_EQ(hero.frameTicks(), 0);
    EXPECT_EQ(game.at("hero"), (WalkPoint{392, 392}));
    EXPECT_EQ(game.g.walk.pathStep, 2);

    hero.setFrame(3);
    stepTo({384, 384});  // the same direction keeps the frame running
    EXPECT_EQ(hero.spriteFile(), "walkup.dxg");
    EXPECT_EQ(hero.frame(), 3);

    stepTo({376, 384});
    EXPECT_EQ(hero.spriteFile(), "walkleft.dxg");
    stepTo({384, 384});
    EXPECT_EQ(hero.spriteFile(), "walkright.dxg");
    stepTo({392, 392});  // down and to the right
    EXPECT_EQ(hero.spriteFile(), "walkdown.dxg");
    hero.setFrame(1);
    stepTo({392, 392});  // no move: the look stays
    EXPECT_EQ(hero.spriteFile(), "walkdown.dxg");
    EXPECT_EQ(hero.frame(), 1);

    // A direction without a picture list keeps the look it had (here the horizontal one).
    hero.setWalkUpSprite("");
    stepTo({384, 380});
    EXPECT_EQ(hero.spriteFile(), "walkleft.dxg");
}

TEST(Walking, EndOfWalkTurnsByFinalFacing) {
    LoadedGame game(walkingGame());
    struct Case {
        int targetX, targetY;
        std::string facing, standing;
    };
    // Each walk starts where the one before ended; the hero starts at (400, 400).
    const Case cases[] = {
        {480, 400, "<nochange>", "standright.dxg"}, {480, 400, "<nochange>", "standright.dxg"},
        {320, 400, "<nochange>", "standleft.dxg"},  {320, 320, "<nochange>", "standup.dxg"},
        {320, 400, "<nochange>", "standdown.dxg"},  {480, 400, "<up>", "standup.dxg"},
        {400, 400, "<down>", "standdown.dxg"},      {480, 400, "<right>", "standright.dxg"},
        {400, 400, "<left>", "standleft.dxg"},      {480, 400, "sideways", "walkright.dxg"},
    };
    for (const Case& c : cases) {
        const WalkPoint from = game.at("hero");
        startWalk(game.g, 0, {c.targetX, c.targetY}, c.facing);
        while (game.g.walk.walking) walkingStep(game.g);
        EXPECT_EQ(game.hero().spriteFile(), c.standing)
            << c.facing << " from " << from.x << "," << from.y << " to " << c.targetX << ","
            << c.targetY;
    }
}

TEST(Walking, SecondWalkInOneTickSkipsTheFirstOnesBlockAtTheNextTick) {
    LoadedGame game(walkingGame());
    const int first = game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 500, .num2 = 400, .num3 = 1},
         {.verb = "begin"},
         {.verb = "addobj"},
         {.verb = "begin"},
         {.verb = "deleteobj"},
         {.verb = "end"},
         {.verb = "end"},
         {.verb = "changexy"}},
        "onpickup");
    game.enqueue({{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 300, .num2 = 400}},
                 "onfloor");
    game.tick();
    EXPECT_EQ(game.g.walk.target, (WalkPoint{300, 400}));
    EXPECT_EQ(game.g.walk.path.points.back(), (WalkPoint{300, 400}));
    ASSERT_TRUE(game.g.scripts.queue.inUse(first));
    EXPECT_EQ(game.g.scripts.queue.slot(first).command(1).verb(), "waitforchar");
    EXPECT_EQ(game.g.scripts.queue.slot(first).command(1).p1(), "hero");
    EXPECT_EQ(game.g.scripts.queue.slot(first).command(2).verb(), "begin");

    // The waiting script notices the change, drops its whole block and holds this tick.
    game.tick();
    EXPECT_TRUE(game.ran.empty());
    game.tick();
    EXPECT_THAT(game.ran, ElementsAre("changexy"));
    game.ticksUntilIdle();
    EXPECT_EQ(game.at("hero"), (WalkPoint{300, 400}));
    EXPECT_THAT(game.ran, ElementsAre("changexy"));
}

TEST(Walking, SameTargetAgainKeepsTheWaitingAction) {
    LoadedGame game(walkingGame());
    game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 500, .num2 = 400, .num3 = 1},
         {.verb = "addobj"}});
    game.tick();
    game.enqueue({{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 500, .num2 = 400}});
    game.ticksUntilIdle();
    EXPECT_THAT(game.ran, ElementsAre("addobj"));
}

TEST(Walking, StoppedWalkHoldsItsWaitUntilAnotherWalkReplacesIt) {
    LoadedGame game(walkingGame());
    game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<up>", .num1 = 560, .num2 = 400, .num3 = 1},
         {.verb = "addobj"},
         {.verb = "changexy"}});
    for (int i = 0; i < 5; ++i) game.tick();
    const WalkPoint stoppedAt = game.at("hero");
    EXPECT_EQ(game.hero().spriteFile(), "walkright.dxg");
    game.hero().setFrame(2);
    stopChar(game.g);
    EXPECT_FALSE(game.g.walk.walking);
    EXPECT_EQ(game.hero().frame(), 0);
    for (int i = 0; i < 20; ++i) game.tick();
    EXPECT_EQ(game.at("hero"), stoppedAt);
    EXPECT_EQ(game.hero().spriteFile(), "walkright.dxg");
    EXPECT_TRUE(game.ran.empty());
    EXPECT_TRUE(game.anySlotInUse());

    startWalk(game.g, 0, {300, 300}, "<nochange>");
    game.ticksUntilIdle();
    EXPECT_THAT(game.ran, ElementsAre("changexy"));
    EXPECT_FALSE(game.anySlotInUse());
}

TEST(Walking, CharacterMissingFromTheRoomMakesWalkCommandsDoNothing) {
    LoadedGame game(walkingGame());
    startWalk(game.g, 1, {250, 200}, "<nochange>");
    const WalkState before = game.g.walk;
    const int slot = game.enqueue(
        {{.verb = "walkto", .p1 = "ghost", .p4 = "<nochange>", .num1 = 10, .num2 = 10, .num3 = 1},
         {.verb = "addobj"}});
    walkTo(game.g, slot, 0);
    EXPECT_EQ(game.g.scripts.queue.slot(slot).command(0).verb(), "");
    EXPECT_EQ(game.g.scripts.queue.slot(slot).command(1).verb(), "addobj");
    EXPECT_EQ(game.g.walk.target, before.target);
    EXPECT_EQ(game.g.walk.walker, 1);
    EXPECT_TRUE(game.g.walk.walking);

    const int waiting =
        game.enqueue({{.verb = "waitforchar", .p1 = "ghost", .num1 = 10, .num2 = 10},
                      {.verb = "begin"},
                      {.verb = "addobj"},
                      {.verb = "end"}});
    EXPECT_TRUE(waitForChar(game.g, waiting, 0));
    EXPECT_EQ(game.g.scripts.queue.slot(waiting).command(2).verb(), "addobj");
}

TEST(Walking, DepthFollowsTheMainCharacterWhileAnotherCharacterWalks) {
    LoadedGame game(walkingGame());
    ObjectRecord& pillar = game.object("pillar");  // base line at 400
    ObjectRecord& statue = game.object("statue");
    ObjectRecord& guard = game.object("guard");
    guard.setDepthBehind(40);
    guard.setDepthInFront(4);
    game.hero().setY(390);
    game.enqueue({{.verb = "walkto", .p1 = "guard", .p4 = "<nochange>", .num1 = 240, .num2 = 200}});
    game.tick();
    EXPECT_EQ(game.g.walk.walker, game.index("guard"));
    EXPECT_EQ(pillar.depth(), 30);  // the hero is behind the pillar's base line
    EXPECT_EQ(statue.depth(), 7);   // fixed
    EXPECT_EQ(guard.depth(), 4);    // the guard's base line (160) is above the hero
    game.hero().setY(400);
    game.tick();
    EXPECT_EQ(pillar.depth(), 3);
    EXPECT_EQ(statue.depth(), 7);
}

TEST(Walking, PathSpacingUsesTheRoomScaleForTheMainCharacterAndOwnScaleForOthers) {
    GameBuilder b = walkingGame();
    StoredRoomRecord& hall = *b.findRoom("hall");
    hall.setMinScale(100);
    hall.setMaxScale(100);
    ObjectRecord& hero = *b.findTemplate("hero");
    hero.setPerspective(1);
    hero.setMinScale(25);  // the main character's own limits play no part
    hero.setMaxScale(25);
    ObjectRecord& guard = *b.findTemplate("guard");
    guard.setPerspective(1);
    guard.setMinScale(50);
    guard.setMaxScale(50);
    LoadedGame game(b);

    startWalk(game.g, 0, {600, 400}, "<nochange>");
    auto heroPath = pathOf(game.g);
    ASSERT_GE(heroPath.size(), 4u);
    EXPECT_EQ(heroPath[2].x - heroPath[1].x, 8);  // 4 cells at 100 percent

    startWalk(game.g, game.index("guard"), {400, 200}, "<nochange>");
    auto guardPath = pathOf(game.g);
    ASSERT_GE(guardPath.size(), 4u);
    EXPECT_EQ(guardPath[2].x - guardPath[1].x, 4);  // 2 cells at 50 percent
}

TEST(Walking, NonCharacterWalkerGetsTheListOfItsNewLookLoaded) {
    GameBuilder b = walkingGame();
    ObjectRecord& cart = b.addTemplate("cart");
    cart.setWalkRightSprite("roll.dxg");
    cart.setStandRightSprite("parked.dxg");
    cart.setWalkStep(4);
    b.place(*b.findRoom("hall"), "cart", 100, 500);
    b.pictures["objects\\cart\\roll.dxg"] = singlePictureList(solidImage(30, 10, 0x00FF00));
    b.pictures["objects\\cart\\parked.dxg"] = singlePictureList(solidImage(12, 16, 0x0000FF));
    LoadedGame game(b);
    const int cartIndex = game.index("cart");
    auto shown = [&game, cartIndex] {
        const PictureList& list = game.g.scene.imageSlots[static_cast<size_t>(cartIndex)][3];
        return list.count() > 0 ? list.items[0].width() : -1;
    };
    EXPECT_EQ(shown(), 20);
    startWalk(game.g, cartIndex, {140, 500}, "<nochange>");
    walkingStep(game.g);
    walkingStep(game.g);
    EXPECT_EQ(game.object("cart").spriteFile(), "roll.dxg");
    EXPECT_EQ(shown(), 30);
    while (game.g.walk.walking) walkingStep(game.g);
    EXPECT_EQ(game.object("cart").spriteFile(), "parked.dxg");
    EXPECT_EQ(shown(), 12);
    EXPECT_TRUE(game.errors().empty());
}

TEST(Walking, SetStandingSpriteTurnsOnlyByKnownDirections) {
    LoadedGame game(walkingGame());
    const int room = game.g.scene.currentRoom;
    game.hero().setFrame(2);
    EXPECT_TRUE(setStandingSprite(game.g, room, 0, "<up>"));
    EXPECT_EQ(game.hero().spriteFile(), "standup.dxg");
    EXPECT_EQ(game.hero().frame(), 0);
    EXPECT_FALSE(setStandingSprite(game.g, room, 0, "<up>"));
    EXPECT_FALSE(setStandingSprite(game.g, room, 0, "up"));
    EXPECT_FALSE(setStandingSprite(game.g, room, 99, "<left>"));
    game.hero().setStandLeftSprite("");
    EXPECT_FALSE(setStandingSprite(game.g, room, 0, "<left>"));
    EXPECT_EQ(game.hero().spriteFile(), "standup.dxg");
}

// Rooms for the room change: "hall" (play room), "cellar" (play room with entrances),
// "menu" and "credits" (rooms outside the game).
GameBuilder roomChangeGame() {
    GameBuilder b = walkingGame();
    StoredRoomRecord& cellar = b.addRoom("cellar");
    b.place(cellar, "hero", 50, 50);
    auto entrance = [&cellar](int i, const std::string& name, int x, int y, int walkX, int walkY,
                              const std::string& facing) {
        EntranceView e = cellar.entrance(i);
        e.setName(name);
        e.setX(x);
        e.setY(y);
        e.setWalkX(walkX);
        e.setWalkY(walkY);
        e.setFacing(facing);
    };
    for (int i = 0; i < kEntrancesPerRoom; ++i)
        entrance(i, "spare" + std::to_string(i), 10, 10, 10, 10, "<down>");
    entrance(1, "door", 100, 500, 160, 460, "<left>");
    entrance(3, "stairs", 700, 300, 600, 300, "<right>");
    entrance(6, "door", 300, 500, 340, 420, "<up>");
    entrance(4, "", 200, 580, 200, 520, "<up>");
    entrance(8, "", 400, 580, 420, 540, "<left>");
    b.addRoom("menu", false);
    b.addRoom("credits", false);
    b.prefs.setStartRoomOverride("hall");
    return b;
}

std::vector<EventRecord> queued(const GameState& g, const std::string& name) {
    std::vector<EventRecord> out;
    for (int s = 0; s < kQueueSlots; ++s)
        if (g.scripts.queue.inUse(s) && g.scripts.queue.slot(s).name() == name)
            out.push_back(g.scripts.queue.slot(s));
    return out;
}

TEST(RoomChange, TwoEntrancesOfOneNamePlaceAtTheLastAndItsWalkWins) {
    LoadedGame game(roomChangeGame());
    ASSERT_EQ(game.g.room().name(), "hall");
    startWalk(game.g, 0, {500, 400}, "<nochange>");
    walkingStep(game.g);
    changeRoom(game.g, "cellar", "door");
    EXPECT_EQ(game.g.room().name(), "cellar");
    EXPECT_FALSE(game.g.walk.walking);
    EXPECT_EQ(game.at("hero"), (WalkPoint{300, 500}));
    auto walks = queued(game.g, "onpath");
    ASSERT_EQ(walks.size(), 2u);
    ConstCommandView first = walks[0].command(0);
    EXPECT_EQ(first.verb(), "walkto");
    EXPECT_EQ(first.p1(), "hero");
    EXPECT_EQ(first.p3(), "room");
    EXPECT_EQ(first.p4(), "<left>");
    EXPECT_EQ(first.num1(), 160);
    EXPECT_EQ(first.num2(), 460);
    EXPECT_EQ(first.num3(), 0);
    EXPECT_EQ(walks[0].command(1).verb(), "");
    EXPECT_EQ(walks[1].command(0).p4(), "<up>");

    game.ticksUntilIdle();
    EXPECT_EQ(game.at("hero"), (WalkPoint{340, 420}));
    EXPECT_EQ(game.hero().spriteFile(), "standup.dxg");
    EXPECT_EQ(game.g.walk.path.points.front(), (WalkPoint{300, 500}));
    EXPECT_EQ(game.g.scene.returnRoom, game.g.scene.currentRoom);
}

TEST(RoomChange, EmptyEntranceNameMatchesTheEntrancesWithoutName) {
    LoadedGame game(roomChangeGame());
    changeRoom(game.g, "cellar", "");
    EXPECT_EQ(game.at("hero"), (WalkPoint{400, 580}));
    auto walks = queued(game.g, "onpath");
    ASSERT_EQ(walks.size(), 2u);
    EXPECT_EQ(walks[0].command(0).num1(), 200);
    EXPECT_EQ(walks[1].command(0).num1(), 420);
    game.ticksUntilIdle();
    EXPECT_EQ(game.at("hero"), (WalkPoint{420, 540}));
    EXPECT_EQ(game.hero().spriteFile(), "standleft.dxg");
}

TEST(RoomChange, UnknownEntranceKeepsThePlacementAndUnknownRoomChangesNothing) {
    LoadedGame game(roomChangeGame());
    changeRoom(game.g, "cellar", "window");
    EXPECT_EQ(game.g.room().name(), "cellar");
    EXPECT_EQ(game.at("hero"), (WalkPoint{50, 50}));
    EXPECT_TRUE(queued(game.g, "onpath").empty());

    startWalk(game.g, 0, {300, 50}, "<nochange>");
    const int before = game.g.scene.currentRoom;
    changeRoom(game.g, "attic", "door");
    EXPECT_EQ(game.g.scene.currentRoom, before);
    EXPECT_TRUE(game.g.walk.walking);
    EXPECT_TRUE(game.errors().empty());
}

TEST(RoomChange, RoomsOutsideTheGamePutTheHeldItemAside) {
    LoadedGame game(roomChangeGame());
    game.g.cursor.heldItem = "key";
    changeRoom(game.g, "menu", "door");
    EXPECT_EQ(game.g.room().name(), "menu");
    EXPECT_EQ(game.g.cursor.heldItem, "");
    EXPECT_EQ(game.g.cursor.stashedHeldItem, "key");
    EXPECT_TRUE(queued(game.g, "onpath").empty());

    // Moving on to another room outside the game keeps what was put aside.
    changeRoom(game.g, "credits", "x");
    EXPECT_EQ(game.g.cursor.stashedHeldItem, "key");

    // Leaving the game again with empty hands puts nothing aside.
    changeRoom(game.g, "hall", "x");
    EXPECT_EQ(game.g.cursor.stashedHeldItem, "key");
    changeRoom(game.g, "menu", "x");
    EXPECT_EQ(game.g.cursor.stashedHeldItem, "");
}

TEST(RoomChange, ScriptedDoorWalksThenChangesRoomAndWalksIn) {
    LoadedGame game(roomChangeGame());
    game.enqueue(
        {{.verb = "walkto", .p1 = "hero", .p4 = "<nochange>", .num1 = 700, .num2 = 400, .num3 = 1},
         {.verb = "begin"},
         {.verb = "fadeout"},
         {.verb = "changeroom", .p1 = "cellar", .p2 = "stairs"},
         {.verb = "fadein"},
         {.verb = "end"}},
        "onzone");
    game.ticksUntilIdle();
    EXPECT_THAT(game.ran, ElementsAre("fadeout", "fadein"));
    EXPECT_EQ(game.g.room().name(), "cellar");
    EXPECT_EQ(game.g.walk.path.points.front(), (WalkPoint{700, 300}));
    EXPECT_EQ(game.at("hero"), (WalkPoint{600, 300}));
    EXPECT_EQ(game.hero().spriteFile(), "standright.dxg");
    // The hero of the hall stayed where it arrived, turned by its walk.
    const Room& hall = game.g.tables.rooms[static_cast<size_t>(findRoom(game.g, "hall"))];
    EXPECT_EQ(hall.objects[0].x(), 700);
    EXPECT_EQ(hall.objects[0].spriteFile(), "standright.dxg");
}

}  // namespace
}  // namespace zk::test

namespace zk::test {
namespace {

TEST(RoomChange, EnteringAnyOtherRoomEndsTheWalk) {
    LoadedGame game(roomChangeGame());
    startWalk(game.g, 0, {300, 50}, "<nochange>");
    ASSERT_TRUE(game.g.walk.walking);
    // Loading a game or going back from a menu enters rooms without "changeroom".
    enterRoom(game.g, findRoom(game.g, "cellar"));
    EXPECT_FALSE(game.g.walk.walking);
}

}  // namespace
}  // namespace zk::test

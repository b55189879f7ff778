// Switching the language rebuilds zone hints, object names, the room title and the
// inventory labels from their keys.
#include <gtest/gtest.h>

#include "logic/frame_fixture.h"
#include "logic/logic.h"

namespace zk::test {
namespace {

GameBuilder bilingualGame() {
    GameBuilder b = GameBuilder::minimal();
    b.languages =
        "text=\"hall\" lang1=\"Hall\" lang2=\"Halle\"\r\n"
        "text=\"vase\" lang1=\"Blue vase\" lang2=\"Blaue Vase\"\r\n"
        "text=\"rope\" lang1=\"Rope\" lang2=\"Seil\"\r\n"
        "text=\"exit\" lang1=\"Out\" lang2=\"Hinaus\"\r\n";
    b.prefs.setLanguage(1);
    b.addTemplate("vase");
    b.addTemplate("rope", "subject");
    StoredRoomRecord& hall = *b.findRoom("hall");
    b.place(hall, "vase", 300, 300);
    ZoneView z = hall.zone(2);
    z.setEnabled(1);
    z.setHintKey("exit");
    ZoneView off = hall.zone(3);
    off.setHintKey("exit");
    StoredRoomRecord& yard = b.addRoom("yard");
    b.place(yard, "vase", 100, 300);
    SlotView s = b.inventory.slot(4);
    s.setEnabled(1);
    s.setItem("rope");
    SlotView ghost = b.inventory.slot(5);
    ghost.setEnabled(1);
    ghost.setItem("ghost");  // no template: the label stays
    return b;
}

TEST(TickLanguage, SetLanguageRebuildsEveryTranslatedText) {
    RunningGame game(bilingualGame());
    GameState& g = game.g();
    ASSERT_EQ(g.ui.language, 1);
    EXPECT_EQ(g.ui.slotLabels[4], "Rope");
    g.ui.slotLabels[5] = "whatever";
    g.room().zone(3).setHint("kept");

    setLanguage(g, 2);
    EXPECT_EQ(g.ui.language, 2);
    EXPECT_EQ(g.room().zone(2).hint(), "Hinaus");
    EXPECT_EQ(g.room().zone(3).hint(), "kept") << "a disabled zone is left alone";
    EXPECT_EQ(game.object("vase").displayName(), "Blaue Vase");
    EXPECT_EQ(g.tables.rooms[1].objects[1].displayName(), "Blaue Vase");
    EXPECT_EQ(g.scene.currentRoomTitle, "Halle");
    EXPECT_EQ(g.ui.slotLabels[4], "Seil");
    EXPECT_EQ(g.ui.slotLabels[5], "whatever");

    // The same language again changes nothing, not even texts changed since.
    game.object("vase").setDisplayName("said something");
    setLanguage(g, 2);
    EXPECT_EQ(game.object("vase").displayName(), "said something");

    setLanguage(g, 0);
    EXPECT_EQ(game.object("vase").displayName(), "vase");
    EXPECT_EQ(g.room().zone(2).hint(), "exit");
    EXPECT_EQ(g.ui.slotLabels[4], "rope");
}

}  // namespace
}  // namespace zk::test

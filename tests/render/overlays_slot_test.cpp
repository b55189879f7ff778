// Slot pictures and labels follow the slot's item (refreshSlotPicture), read from a
// real game package.
#include <gtest/gtest.h>

#include "logic/room_entry.h"
#include "package/package.h"
#include "render/overlays.h"
#include "render/overlays_fixture.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::singlePictureList;
using test::solidImage;

class SlotPictures : public test::OverlayFixture {
  protected:
    void SetUp() override {
        OverlayFixture::SetUp();
        test::GameBuilder b = test::GameBuilder::minimal();
        ObjectRecord& key = b.addTemplate("key", "subject");
        key.setIconFile("icon.dxg");
        key.setDisplayNameKey("KEY_NAME");
        ObjectRecord& twin = b.addTemplate("key", "subject");  // a later twin is not used
        twin.setIconFile("other.dxg");
        twin.setDisplayNameKey("OTHER");
        b.addTemplate("cup", "subject").setIconFile("icon.dxg");
        PictureList icons = singlePictureList(solidImage(30, 30, 0xAA0000));
        icons.items.push_back(singlePictureList(solidImage(30, 30, 0x0000AA)).items[0]);
        b.pictures["objects\\key\\icon.dxg"] = icons;
        b.pictures["objects\\key\\other.dxg"] = singlePictureList(solidImage(30, 30, 0x00AA00));
        b.pictures["objects\\cup\\icon.dxg"] = singlePictureList(solidImage(20, 20, 0xAAAA00));
        b.write(dir.path() / "game.tgp");
        package.setPackagePath(dir.path() / "game.tgp");
        package.setPassword(std::string(kPackagePassword));
        g.package = &package;
        g.tables.templates.assign(b.templates);
        g.tables.languageTable =
            LanguageTable({"text=\"KEY_NAME\" lang1=\"" + std::string(300, 'k') + "\"",
                           "text=\"cup\" lang1=\"Tasse\""});
        fill(0, "key");
    }
    void fill(int i, const std::string& item, bool enabled = true) {
        SlotView s = g.tables.inventory.slot(i);
        s.setLeft(10 + 40 * i);
        s.setTop(550);
        s.setRight(40 + 40 * i);
        s.setBottom(580);
        s.setEnabled(enabled ? 1 : 0);
        s.setItem(item);
    }
    uint32_t slotPixel(int i) {
        const PictureItem& item = g.ui.slotPictures.items[static_cast<size_t>(i)];
        return item.pixel(1, 1).value_or(0xDEAD);
    }

    test::TempDir dir;
    Package package;
};

TEST_F(SlotPictures, FirstTemplateGivesTheLabelAndIconItemZero) {
    refreshSlotPicture(g, 0);
    ASSERT_EQ(g.ui.slotPictures.count(), kInventorySlots);
    ASSERT_EQ(g.ui.slotLabels.size(), static_cast<size_t>(kInventorySlots));
    EXPECT_EQ(g.ui.slotLabels[0], "KEY_NAME");  // language 0 shows the key
    EXPECT_EQ(slotPixel(0), 0xAA0000u);
    EXPECT_FALSE(g.ui.slotPictures.items[0].patterns().empty()) << "ready for drawing";

    // Translated labels are cut to 255 characters.
    g.ui.language = 1;
    refreshSlotPicture(g, 0);
    EXPECT_EQ(g.ui.slotLabels[0], std::string(255, 'k'));

    // Drawn in the bar at the slot's corner.
    back().fill(0);
    drawInterfacePass(g, g.dialogue.dialogueUnderInterface);
    EXPECT_EQ(back().pixel(10, 550), 0xAA0000u);
    EXPECT_TRUE(hp.errorReport.messages.empty());
}

TEST_F(SlotPictures, SlotsWithoutItemsAndItemsWithoutTemplatesKeepTheirPictures) {
    g.ui.language = 1;
    refreshSlotPicture(g, 0);
    fill(1, "cup", false);
    refreshSlotPicture(g, 1);
    EXPECT_EQ(g.ui.slotLabels[1], "") << "disabled slot left alone";

    // The item leaves the slot: its picture and label stay, unseen.
    fill(0, "");
    refreshSlotPicture(g, 0);
    EXPECT_EQ(g.ui.slotLabels[0], std::string(255, 'k'));
    EXPECT_EQ(slotPixel(0), 0xAA0000u);

    // No template of that name: the old picture and label stay; one report names it.
    fill(0, "ghost");
    refreshSlotPicture(g, 0);
    refreshSlotPicture(g, 0);
    EXPECT_EQ(g.ui.slotLabels[0], std::string(255, 'k'));
    EXPECT_EQ(slotPixel(0), 0xAA0000u);
    ASSERT_EQ(hp.errorReport.messages.size(), 1u);
    EXPECT_NE(hp.errorReport.messages[0].find("'ghost'"), std::string::npos);

    fill(0, "cup");
    refreshSlotPicture(g, 0);
    EXPECT_EQ(g.ui.slotLabels[0], "Tasse");
    EXPECT_EQ(slotPixel(0), 0xAAAA00u);
}

}  // namespace
}  // namespace zk

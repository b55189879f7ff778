// An entry whose name is too long for a file cannot be extracted; it is skipped like
// the other names that give no file, and the entries beside it still arrive.
#include <gtest/gtest.h>

#include <filesystem>

#include "package/entry_names.h"
#include "package/package.h"
#include "package/package_writer.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

TEST(LongEntryNames, AreSkippedWithoutStoppingTheExtraction) {
    const std::string longest(255, 'm');
    EXPECT_EQ(flatFileName("music/" + longest), longest);
    EXPECT_EQ(flatFileName("music/" + longest + "x"), std::nullopt);

    test::TempDir dir;
    PackageWriter w;
    w.addText("music\\" + std::string(300, 'm') + ".mid", "too long");
    w.addText("music\\theme.mid", "theme");
    w.write(dir.file("game.tgp"));
    Package package;
    package.setPackagePath(dir.file("game.tgp"));
    package.setPassword(std::string(kPackagePassword));
    ExtractResult r = package.extractToFolder({"music\\*.*"}, dir.path() / "music");
    EXPECT_EQ(r.written, 1u);
    ASSERT_EQ(r.refused.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "music" / "theme.mid"));
}

}  // namespace
}  // namespace zk

#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/input_script.h"

namespace zk {
namespace {

TEST(CommandLine, PackageAndOptions) {
    auto r = parseCommandLine({"game.tgp", "--headless", "--frames", "10", "--frame-ms", "10",
                               "--seed", "7", "--out", "o", "--save-dir", "s", "--windowed"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.packagePath, "game.tgp");
    EXPECT_TRUE(r.options.headless);
    EXPECT_EQ(r.options.frames, 10);
    EXPECT_EQ(r.options.frameMs, 10);
    EXPECT_EQ(r.options.seed, 7u);
    EXPECT_EQ(r.options.outDir, "o");
    EXPECT_EQ(r.options.saveDir, "s");
    EXPECT_EQ(r.options.fullScreen, false);
    EXPECT_EQ(parseCommandLine({}).options.packagePath, "");
}

TEST(CommandLine, BadArgumentsAreErrors) {
    EXPECT_NE(parseCommandLine({"--frames"}).error, "");
    EXPECT_NE(parseCommandLine({"--frames", "x"}).error, "");
    EXPECT_NE(parseCommandLine({"--bogus"}).error, "");
    EXPECT_NE(parseCommandLine({"a.tgp", "b.tgp"}).error, "");
    EXPECT_NE(parseCommandLine({"--seed", "-1"}).error, "");
}

TEST(InputScript, CompositeCommandsExpand) {
    auto s = parseInputScript("# comment\n\nclick 10 20\nkey escape\nshots run\nshots off\n");
    ASSERT_EQ(s.error, "");
    using K = ScriptStep::Kind;
    std::vector<K> kinds;
    for (auto& step : s.steps) kinds.push_back(step.kind);
    EXPECT_EQ(kinds, (std::vector<K>{K::Move, K::Button, K::Wait, K::Button, K::Wait, K::Key,
                                     K::Wait, K::Key, K::Wait, K::Shots, K::Shots}));
    EXPECT_EQ(s.steps[0].x, 10);
    EXPECT_EQ(s.steps[0].line, 3);
    EXPECT_TRUE(s.steps[1].down);
    EXPECT_FALSE(s.steps[3].down);
    EXPECT_EQ(s.steps[5].count, 2);  // escape
    EXPECT_EQ(s.steps[9].name, "run");
    EXPECT_EQ(s.steps[10].name, "");
}

TEST(InputScript, ErrorsNameTheLine) {
    EXPECT_EQ(parseInputScript("wait 1\nwiat 2\n").error, "line 2: unknown command 'wiat'");
    EXPECT_NE(parseInputScript("key f5").error.find("line 1"), std::string::npos);
    EXPECT_NE(parseInputScript("click 1").error, "");
    EXPECT_NE(parseInputScript("screenshot ../x").error, "");
    EXPECT_NE(loadInputScript("/nonexistent/script.txt").error, "");
}

}  // namespace
}  // namespace zk

#include "data/event_queue.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

EventRecord script(const std::string& name, std::initializer_list<const char*> verbs) {
    EventRecord e;
    e.setName(name);
    int k = 0;
    for (const char* v : verbs) e.command(k++).setVerb(v);
    return e;
}

std::vector<std::string> verbs(const EventRecord& e) {
    std::vector<std::string> out;
    for (int k = 0; k < kCommandsPerEvent; ++k) out.push_back(e.command(k).verb());
    return out;
}

TEST(EventQueue, FillsTheFirstFreeSlotAndReportsOverflow) {
    EventQueue q;
    int overflows = 0;
    q.onOverflow = [&] { ++overflows; };
    EventRecord e = script("onclick", {"sleep"});
    e.setOriginRoom("hall");
    for (int i = 0; i < kQueueSlots; ++i) EXPECT_EQ(q.enqueue(e), i);
    EXPECT_EQ(q.slot(3).originRoom(), "");
    EXPECT_EQ(q.enqueue(e), -1);
    EXPECT_EQ(overflows, 1);
    q.free(7);
    EXPECT_EQ(q.enqueue(e), 7);
}

TEST(EventQueue, InsertingIntoAFullScriptDropsTheLastCommand) {
    EventQueue q;
    EventRecord e = script("x", {});
    for (int k = 0; k < kCommandsPerEvent; ++k) e.command(k).setVerb("c" + std::to_string(k));
    int s = q.enqueue(e);
    EventRecord cmd;
    cmd.command(0).setVerb("new");
    q.insertCommand(s, cmd.command(0).bytes(), 1);
    auto v = verbs(q.slot(s));
    EXPECT_EQ(v[0], "c0");
    EXPECT_EQ(v[1], "new");
    EXPECT_EQ(v[2], "c1");
    EXPECT_EQ(v[19], "c18");
}

TEST(EventQueue, SkipNextClearsAWholeNestedBlock) {
    EventQueue q;
    int s =
        q.enqueue(script("x", {"ifvar", "begin", "a", "begin", "b", "end", "c", "end", "after"}));
    q.skipNext(s, 0);
    auto v = verbs(q.slot(s));
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(v[k], "") << k;
    EXPECT_EQ(v[0], "ifvar");
    EXPECT_EQ(v[8], "after");

    int t = q.enqueue(script("y", {"ifvar", "one", "two"}));
    q.skipNext(t, 0);
    EXPECT_EQ(verbs(q.slot(t))[1], "");
    EXPECT_EQ(verbs(q.slot(t))[2], "two");
    // At the last position there is nothing to skip.
    EventRecord full = script("z", {});
    full.command(19).setVerb("ifvar");
    int u = q.enqueue(full);
    q.skipNext(u, 19);
    EXPECT_EQ(verbs(q.slot(u))[19], "ifvar");
}

TEST(EventQueue, FinishedSlotsAreFreedAndRunningEventsFound) {
    EventQueue q;
    EventRecord e = script("onzone", {"walkto"});
    e.setSourceIndex(4);
    int s = q.enqueue(e);
    int done = q.enqueue(script("empty", {}));
    EXPECT_TRUE(q.isRunning("onzone", 4));
    EXPECT_FALSE(q.isRunning("onzone", 3));
    q.freeFinished();
    EXPECT_TRUE(q.inUse(s));
    EXPECT_FALSE(q.inUse(done));
}

}  // namespace
}  // namespace zk

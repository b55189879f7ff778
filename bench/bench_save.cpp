// Saving and loading a game of 40 rooms with 10 objects each, next to the `zip` and
// `unzip` tools doing the archive work alone on the same members.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "logic/loader.h"
#include "package/package.h"
#include "platform/archive.h"
#include "platform/headless/headless_platform.h"
#include "save/saved_games.h"
#include "save/slot_format.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace zk;

constexpr int kRooms = 40;
constexpr int kObjectsPerRoom = 10;  // the main-character slot and nine placed objects

// One game, built and loaded once for every benchmark of the run.
struct BenchGame {
    test::TempDir dir;
    HeadlessPlatform hp;
    Platform platform = hp.platform();
    Package package;
    GameState g;
    fs::path membersFolder;  // the slot's members as files, for zip

    BenchGame() {
        test::GameBuilder b = test::GameBuilder::minimal();
        for (int t = 0; t < kObjectsPerRoom - 1; ++t) {
            ObjectRecord& o = b.addTemplate("thing" + std::to_string(t));
            // Scripts as games have them: a few commands in two events.
            o.event(0).setName("onclick");
            o.event(0).command(0).setVerb("walkto");
            o.event(0).command(1).setVerb("showhint");
            o.event(0).command(1).setText("A thing of many words, number " + std::to_string(t));
            o.event(1).setName("onroomenter");
            o.event(1).command(0).setVerb("changevar");
        }
        for (int r = 0; r < kRooms; ++r) {
            StoredRoomRecord& room =
                r == 0 ? *b.findRoom("hall") : b.addRoom("room" + std::to_string(r));
            for (int t = 0; t < kObjectsPerRoom - 1; ++t)
                b.place(room, "thing" + std::to_string(t), 40 + 80 * t, 300 + r);
        }
        b.write(dir.path() / "game.tgp");
        package.setPackagePath(dir.path() / "game.tgp");
        package.setPassword(std::string(kPackagePassword));
        g.platform = &platform;
        g.package = &package;
        g.session.tempFolder = (dir.path() / "extract").string() + "/";
        g.session.saveFolder = (dir.path() / "saves").string() + "/";
        loadPreferencesFromPackage(g);
        hp.display.initialize(g.tables.prefs.displayWidth(), g.tables.prefs.displayHeight(), false);
        loadGame(g);
        // A thumbnail as "savelastgs" makes it, from a frame with some detail.
        Surface& screen = hp.display.back();
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x)
                screen.setPixel(x, y, static_cast<uint32_t>((x * 7) ^ (y * 13)) & 0xFFFFFF);
        captureThumbnail(g, 200, 150);

        SlotMembers m = buildSlotMembers(g, slotMetaOf(g, 0));
        membersFolder = dir.path() / "members";
        fs::create_directories(membersFolder);
        auto put = [&](std::string_view name, const std::vector<uint8_t>& bytes) {
            std::ofstream(membersFolder / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        };
        put(kScreenshotMember, m.screenshot);
        put(kInventoryMember, m.inventory);
        put(kRoomObjectsMember, m.roomObjects);
        put(kSavedRoomsMember, m.savedRooms);
        put(kAdditionalMember, m.additional);
    }
};

BenchGame& game() {
    static BenchGame instance;
    return instance;
}

// Runs a program in `folder` and waits for it; false unless it exits with 0.
bool run(const fs::path& folder, std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// CPU milliseconds used so far by finished child processes: the tools' own work,
// which the CPU column (this process only) does not show.
double childCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

const std::vector<std::string> kMemberFiles = {"screenshot.dxg", "savedinv.dat", "roomobjs.dat",
                                               "savedrooms.dat", "additional.dat"};

void setCounters(benchmark::State& state, const fs::path& archive) {
    BenchGame& b = game();
    size_t objects = 0;
    for (const Room& r : b.g.tables.rooms) objects += r.objects.size();
    state.counters["rooms"] = static_cast<double>(b.g.tables.rooms.size());
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["archiveKB"] = static_cast<double>(fs::file_size(archive)) / 1024.0;
}

void BM_SaveGame(benchmark::State& state) {
    BenchGame& b = game();
    for (auto _ : state)
        if (!saveGame(b.g, 1)) state.SkipWithError("save failed");
    setCounters(state, slotPath(b.g, 1));
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond)->UseRealTime();

// `zip` putting the same five members into a new archive (its default compression,
// as the engine compresses too).
void BM_ZipSameMembers(benchmark::State& state) {
    BenchGame& b = game();
    std::vector<std::string> args = {"zip", "-q", "-X", "new.zip"};
    args.insert(args.end(), kMemberFiles.begin(), kMemberFiles.end());
    const double cpu = childCpuMs();
    for (auto _ : state) {
        fs::remove(b.membersFolder / "new.zip");
        if (!run(b.membersFolder, args)) state.SkipWithError("zip failed");
    }
    state.counters["toolCpuMs"] = (childCpuMs() - cpu) / static_cast<double>(state.iterations());
    setCounters(state, b.membersFolder / "new.zip");
}
BENCHMARK(BM_ZipSameMembers)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with `zip -0` (stored, no compression), for scale.
void BM_ZipSameMembersStored(benchmark::State& state) {
    BenchGame& b = game();
    std::vector<std::string> args = {"zip", "-q", "-X", "-0", "new0.zip"};
    args.insert(args.end(), kMemberFiles.begin(), kMemberFiles.end());
    const double cpu = childCpuMs();
    for (auto _ : state) {
        fs::remove(b.membersFolder / "new0.zip");
        if (!run(b.membersFolder, args)) state.SkipWithError("zip failed");
    }
    state.counters["toolCpuMs"] = (childCpuMs() - cpu) / static_cast<double>(state.iterations());
    setCounters(state, b.membersFolder / "new0.zip");
}
BENCHMARK(BM_ZipSameMembersStored)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading the slot: reading and checking every member, restoring 40 rooms and
// 400 objects, and entering the saved room with its pictures.
void BM_LoadGame(benchmark::State& state) {
    BenchGame& b = game();
    b.g.scene.returnRoom = 0;
    if (!saveGame(b.g, 2)) state.SkipWithError("save failed");
    for (auto _ : state)
        if (!loadGame(b.g, 2)) state.SkipWithError("load failed");
    setCounters(state, slotPath(b.g, 2));
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond)->UseRealTime();

// `unzip` extracting the zip-made archive's members, for scale.
void BM_UnzipSameMembers(benchmark::State& state) {
    BenchGame& b = game();
    fs::remove(b.membersFolder / "new.zip");
    std::vector<std::string> zipArgs = {"zip", "-q", "-X", "new.zip"};
    zipArgs.insert(zipArgs.end(), kMemberFiles.begin(), kMemberFiles.end());
    if (!run(b.membersFolder, zipArgs)) state.SkipWithError("zip failed");
    fs::create_directories(b.membersFolder / "out");
    const double cpu = childCpuMs();
    for (auto _ : state)
        if (!run(b.membersFolder, {"unzip", "-q", "-o", "new.zip", "-d", "out"}))
            state.SkipWithError("unzip failed");
    state.counters["toolCpuMs"] = (childCpuMs() - cpu) / static_cast<double>(state.iterations());
    setCounters(state, b.membersFolder / "new.zip");
}
BENCHMARK(BM_UnzipSameMembers)->Unit(benchmark::kMillisecond)->UseRealTime();

// Where a save spends its time: building the members in memory ...
void BM_SavePartBuildMembers(benchmark::State& state) {
    BenchGame& b = game();
    for (auto _ : state) {
        SlotMembers m = buildSlotMembers(b.g, slotMetaOf(b.g, 0));
        benchmark::DoNotOptimize(m.roomObjects.data());
    }
}
BENCHMARK(BM_SavePartBuildMembers)->Unit(benchmark::kMillisecond)->UseRealTime();

// ... and writing them into an archive (the archive layer, compressing).
void BM_SavePartWriteArchive(benchmark::State& state) {
    BenchGame& b = game();
    SlotMembers m = buildSlotMembers(b.g, slotMetaOf(b.g, 0));
    auto member = [](std::string_view name, std::span<const uint8_t> data) {
        ArchiveAddition a;
        a.name = std::string(name);
        a.bytes = data;
        return a;
    };
    const ArchiveAddition additions[] = {
        member(kScreenshotMember, m.screenshot), member(kInventoryMember, m.inventory),
        member(kRoomObjectsMember, m.roomObjects), member(kSavedRoomsMember, m.savedRooms),
        member(kAdditionalMember, m.additional)};
    for (auto _ : state)
        writeArchive(b.dir.path() / "part.zip", ArchiveWriteMode::Create, additions);
}
BENCHMARK(BM_SavePartWriteArchive)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

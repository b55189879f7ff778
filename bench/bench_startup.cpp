// Start-up of a large game, from process start to the loaded start room: the zelkin
// binary run headless for zero frames, next to `unzip -p` decompressing the whole
// package to /dev/null in the same run. Reports the peak memory of the engine.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "package/package.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

using namespace zk;

constexpr int kRooms = 40;
constexpr int kObjectsPerRoom = 10;
constexpr int kTemplates = 60;  // with the rooms' backgrounds and masks: 200 picture lists

// A background with some texture, so that decoding it costs what real art costs.
Image textured(int w, int h, uint32_t seed) {
    Image img;
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t n = (static_cast<uint32_t>(x) * 73856093u) ^
                         (static_cast<uint32_t>(y) * 19349663u) ^ seed;
            int r = (x * 255 / w + static_cast<int>(n % 24)) & 0xFF;
            int g = (y * 255 / h + static_cast<int>((n >> 8) % 24)) & 0xFF;
            int b = static_cast<int>(128 + 60 * std::sin((x + y + static_cast<int>(seed)) / 40.0));
            img.pixels[static_cast<size_t>(y) * w + x] =
                (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
        }
    return img;
}

struct BigGame {
    test::TempDir dir;
    std::string package;
    BigGame() {
        package = dir.file("big.tgp");
        // Built in a child process: a spawned engine's peak memory counts the memory of
        // the process it was spawned from, which must stay small for the figure to mean
        // anything.
        pid_t pid = fork();
        if (pid == 0) {
            write(package);
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }

    static void write(const std::string& package) {
        test::GameBuilder b = test::GameBuilder::minimal();
        for (int t = 0; t < kTemplates; ++t) {
            std::string name = "thing" + std::to_string(t);
            b.addTemplate(name);
            PictureList sprite;
            PictureItem& item = sprite.add();
            item.picture = makeDibPicture(textured(120, 200, 1000u + t), 24);
            sprite.prepare();
            b.pictures["objects\\" + name + "\\sprite.dxg"] = sprite;
        }
        for (int r = 0; r < kRooms; ++r) {
            StoredRoomRecord& room = r == 0 ? b.rooms[0] : b.addRoom("room" + std::to_string(r));
            for (int k = 0; k < kObjectsPerRoom - 1; ++k)
                b.place(room, "thing" + std::to_string((r * 7 + k) % kTemplates), 60 + 80 * k,
                        300 + k);
            PictureList background;
            PictureItem& item = background.add();
            item.picture = makeJpegPicture(textured(800, 600, static_cast<uint32_t>(r)), 85);
            background.prepare();
            b.pictures["rooms\\" + room.name() + "\\background.dxg"] = background;
        }
        b.write(package);
    }
};

BigGame& game() {
    static BigGame g;
    return g;
}

// Runs a program with stdout to /dev/null; true on exit status 0. `peakKiB` receives
// the largest resident size of the program.
bool run(const std::vector<std::string>& args, long* peakKiB = nullptr) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (peakKiB) *peakKiB = std::max(*peakKiB, usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_EngineStartUp(benchmark::State& state) {
    BigGame& g = game();
    long peakKiB = 0;
    for (auto _ : state) {
        if (!run({ZELKIN_BINARY, g.package, "--headless", "--frames", "0"}, &peakKiB))
            state.SkipWithError("zelkin failed");
    }
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024.0;
}

void BM_UnzipWholePackage(benchmark::State& state) {
    BigGame& g = game();
    for (auto _ : state) {
        if (!run({"unzip", "-P", std::string(kPackagePassword), "-p", g.package}))
            state.SkipWithError("unzip failed");
    }
}

}  // namespace

BENCHMARK(BM_EngineStartUp)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_UnzipWholePackage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

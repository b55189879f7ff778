// Loading picture lists: one 800 x 600 JPEG item and one 800 x 600 24-bit DIB item,
// against decoding the same JPEG alone, in process with libjpeg and with the djpeg
// command. Target: loading the list takes at most 1.3 times the bare JPEG decode
// (counter vs_djpeg: the fastest load over the fastest djpeg run).
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "assets/dib.h"
#include "assets/jpeg.h"
#include "assets/picture_list.h"
#include "core/memory.h"

extern char** environ;

namespace {

using namespace zk;
using Clock = std::chrono::steady_clock;

// A photograph-like scene: smooth shapes with some grain.
Image scene() {
    Image img{800, 600, {}};
    std::mt19937 rng(7);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            auto ch = [&](double v) {
                int c = static_cast<int>(v) + static_cast<int>(rng() % 9) - 4;
                return static_cast<uint32_t>(std::clamp(c, 0, 255));
            };
            double r = 128 + 100 * std::sin(x / 60.0) * std::cos(y / 90.0);
            double g = 110 + 90 * std::sin((x + y) / 110.0);
            double b = 90 + 80 * std::cos(std::hypot(x - 400, y - 300) / 50.0);
            img.pixels.push_back(ch(r) << 16 | ch(g) << 8 | ch(b));
        }
    return img;
}

struct Fixture {
    std::vector<uint8_t> jpeg;
    std::vector<uint8_t> list;
    std::filesystem::path jpegFile;

    Fixture() {
        Image img = scene();
        jpeg = encodeJpeg(img, 85);
        PictureList pl;
        Picture photo = makeJpegPicture(img, 85);
        pl.add().picture = std::move(photo);
        pl.add().picture = makeDibPicture(img, 24);
        list = writePictureList(pl);
        jpegFile = std::filesystem::temp_directory_path() /
                   ("zelkin_bench_" + std::to_string(getpid()) + ".jpg");
        std::ofstream(jpegFile, std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()),
                   static_cast<std::streamsize>(jpeg.size()));
    }
    ~Fixture() { std::filesystem::remove(jpegFile); }
};

const Fixture& fixture() {
    static Fixture f;
    return f;
}

// One run of `djpeg -outfile /dev/null <file>`, in seconds, process start included.
double djpegOnce() {
    const std::string file = fixture().jpegFile.string();
    const char* argv[] = {"djpeg", "-outfile", "/dev/null", file.c_str(), nullptr};
    auto start = Clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The fastest of a few djpeg runs, measured once.
double djpegSeconds() {
    static double best = [] {
        double b = 1e9;
        for (int i = 0; i < 30; ++i) {
            double t = djpegOnce();
            if (t > 0) b = std::min(b, t);
        }
        return b;
    }();
    return best;
}

void reportAgainstDjpeg(benchmark::State& state, double fastest) {
    state.counters["list_bytes"] = static_cast<double>(fixture().list.size());
    state.counters["fastest_ms"] = fastest * 1e3;
    state.counters["djpeg_ms"] = djpegSeconds() * 1e3;
    state.counters["vs_djpeg"] = fastest / djpegSeconds();
}

// Loading into a list that already holds pictures, as room entry reloads its lists:
// the new pictures take over the old buffers.
void BM_ReloadPictureList(benchmark::State& state) {
    MemoryStream s(fixture().list);
    PictureList list;
    double fastest = 1e9;
    for (auto _ : state) {
        auto start = Clock::now();
        s.seek(0);
        list.loadFromStream(s);
        benchmark::DoNotOptimize(list.items.data());
        fastest = std::min(fastest, std::chrono::duration<double>(Clock::now() - start).count());
    }
    reportAgainstDjpeg(state, fastest);
}
BENCHMARK(BM_ReloadPictureList)->Unit(benchmark::kMillisecond);

// Loading into a new list, with the allocator set up as the engine sets it up.
void BM_LoadNewPictureList(benchmark::State& state) {
    keepFreedMemory();
    MemoryStream s(fixture().list);
    double fastest = 1e9;
    for (auto _ : state) {
        auto start = Clock::now();
        s.seek(0);
        PictureList list;
        list.loadFromStream(s);
        benchmark::DoNotOptimize(list.items.data());
        fastest = std::min(fastest, std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        list = PictureList{};  // released outside the timing
        state.ResumeTiming();
    }
    reportAgainstDjpeg(state, fastest);
}
BENCHMARK(BM_LoadNewPictureList)->Unit(benchmark::kMillisecond);

void BM_DecodeJpegItem(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(decodeJpeg(fixture().jpeg).pixels.data());
    state.counters["jpeg_bytes"] = static_cast<double>(fixture().jpeg.size());
}
BENCHMARK(BM_DecodeJpegItem)->Unit(benchmark::kMillisecond);

void BM_DecodeDib24Item(benchmark::State& state) {
    auto dib = encodeDib(scene(), 24);
    for (auto _ : state) benchmark::DoNotOptimize(decodeDib(dib).pixels.data());
}
BENCHMARK(BM_DecodeDib24Item)->Unit(benchmark::kMillisecond);

// libjpeg alone, into one reused RGB buffer: the least any JPEG load can cost.
void BM_BareLibjpegDecode(benchmark::State& state) {
    const auto& jpeg = fixture().jpeg;
    std::vector<uint8_t> rgb(800 * 600 * 3);
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = rgb.data() + cinfo.output_scanline * cinfo.output_width * 3;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(rgb.data());
    }
}
BENCHMARK(BM_BareLibjpegDecode)->Unit(benchmark::kMillisecond);

void BM_DjpegCommand(benchmark::State& state) {
    for (auto _ : state) {
        double t = djpegOnce();
        if (t < 0) {
            state.SkipWithError("djpeg did not run");
            break;
        }
        state.SetIterationTime(t);
    }
}
BENCHMARK(BM_DjpegCommand)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "data/game_state.h"
#include "platform/headless/headless_platform.h"
#include "render/compose.h"
#include "render/object_draw.h"

namespace {

using namespace zk;

constexpr int kWidth = 800, kHeight = 600;

Image makeImage(int w, int h, uint32_t (*f)(int, int, int, int)) {
    Image img;
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.pixels[static_cast<size_t>(y) * w + x] = f(x, y, w, h);
    return img;
}

PictureItem item(const Image& img) {
    PictureItem it;
    it.picture.kind = "TDIB";
    it.picture.image = img;
    it.transparent = true;
    it.transparentColor = 0;  // black
    it.prepare();
    return it;
}

// A figure: an ellipse of colour on a black (transparent) ground, as object sprites are.
uint32_t figure(int x, int y, int w, int h) {
    const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
    if (dx * dx + dy * dy > 1.0) return 0;
    return rgb(static_cast<uint8_t>(40 + x), static_cast<uint8_t>(y), 0x90);
}

uint32_t scenery(int x, int y, int, int) {
    return rgb(static_cast<uint8_t>(x / 4 + 1), static_cast<uint8_t>(y / 3 + 1), 0x40);
}

// A busy 800 x 600 room: background, 40 figures of 120 x 200 (10 of them scaled, 5
// alpha-blended), rain, and the cursor over one of the figures.
struct BusyRoom {
    HeadlessPlatform hp;
    Platform platform = hp.platform();
    GameState g;

    BusyRoom() {
        hp.display.initialize(kWidth, kHeight, false);
        g.platform = &platform;
        g.session.gameLoaded = true;
        g.tables.prefs.setDisplayWidth(kWidth);
        g.tables.prefs.setDisplayHeight(kHeight);
        g.tables.prefs.setStartCursor("arrow");
        Room room;
        room.setName("market");
        room.setWeather("Rain");
        room.setCursorVisible(1);
        room.setMinScaleRow(200);
        room.setMaxScaleRow(550);
        room.setMinScale(60);
        room.setMaxScale(110);
        g.tables.rooms.push_back(std::move(room));
        g.scene.currentRoom = 0;
        g.scene.imageSlots.resize(kMinImageSlotRows);
        g.scene.imageList1.items.resize(3);
        g.scene.imageList1.items[2] = item(makeImage(kWidth, kHeight, scenery));
        const PictureItem sprite = item(makeImage(120, 200, figure));
        for (int i = 0; i < 40; ++i) {
            ObjectRecord o;
            o.setName("figure" + std::to_string(i));
            o.setSpriteFile("figure.dxg");
            o.setActive(1);
            o.setScale(100);
            o.setAlpha(i >= 30 && i < 35 ? 128 : 255);
            o.setAnchorX(60);
            o.setAnchorY(200);
            o.setX(60 + (i % 10) * 75);
            o.setY(220 + (i / 10) * 110);
            o.setDepth(1000 - o.y());
            if (i % 4 == 1) {  // 10 scaled ones: by perspective or by a fixed scale
                if (i % 8 == 1) {
                    o.setPerspective(1);
                    o.setMinScale(60);
                    o.setMaxScale(110);
                } else {
                    o.setScale(135);
                }
            }
            g.objects().push_back(std::move(o));
            g.scene.imageSlots[static_cast<size_t>(i)][3].items.push_back(sprite);
        }
        g.tables.cursors[0].setName("arrow");
        g.tables.cursors[0].setHotX(4);
        g.tables.cursors[0].setHotY(4);
        g.cursor.currentCursorName = "arrow";
        g.cursor.curImageList.items.push_back(item(makeImage(32, 32, figure)));
        for (int k = 0; k < kRainDrops; ++k)
            g.scene.rain[static_cast<size_t>(k)] = {g.random.below(kWidth), g.random.below(kHeight),
                                                    g.random.below(2)};
        g.input.mouseX = 300;
        g.input.mouseY = 300;
    }
};

// CPU time of this thread, in seconds: the machine may be shared, so wall time would
// count other programs' work too.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Average time of one memcpy of the 800 x 600 x 4-byte back surface, in seconds.
double surfaceCopySeconds() {
    std::vector<uint32_t> a(kWidth * kHeight, 0x123456), b(kWidth * kHeight);
    const size_t bytes = a.size() * sizeof(uint32_t);
    for (int i = 0; i < 20; ++i) std::memcpy(b.data(), a.data(), bytes);
    constexpr int kCopies = 400;
    const double start = threadSeconds();
    for (int i = 0; i < kCopies; ++i) {
        std::memcpy(i % 2 ? a.data() : b.data(), i % 2 ? b.data() : a.data(), bytes);
        benchmark::ClobberMemory();
    }
    return (threadSeconds() - start) / kCopies;
}

// One composed frame of the busy room; reports frames per second on one core, the
// time of one back-surface memcpy measured in the same run, and a frame's cost in
// such copies (all in CPU time of the running thread).
void BM_ComposeBusyRoom(benchmark::State& state) {
    auto room = std::make_unique<BusyRoom>();
    composeScene(room->g);
    const double copy = surfaceCopySeconds();
    int64_t frames = 0;
    const double start = threadSeconds();
    for (auto _ : state) {
        composeScene(room->g);
        benchmark::DoNotOptimize(room->hp.display.back().pixels.data());
        ++frames;
    }
    const double frame = (threadSeconds() - start) / static_cast<double>(frames);
    if (!room->hp.errorReport.messages.empty())
        state.SkipWithError(room->hp.errorReport.messages.front().c_str());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["memcpy_us"] = copy * 1e6;
    state.counters["frame_in_copies"] = frame / copy;
}
BENCHMARK(BM_ComposeBusyRoom)->Unit(benchmark::kMicrosecond);

// The scene pass alone (40 figures in depth order), for comparison.
void BM_DrawSceneObjects(benchmark::State& state) {
    auto room = std::make_unique<BusyRoom>();
    for (auto _ : state) {
        drawSceneObjects(room->g);
        benchmark::DoNotOptimize(room->hp.display.back().pixels.data());
    }
}
BENCHMARK(BM_DrawSceneObjects)->Unit(benchmark::kMicrosecond);

// The per-frame hit test over the 40 figures.
void BM_ObjectUnderCursor(benchmark::State& state) {
    auto room = std::make_unique<BusyRoom>();
    for (auto _ : state) benchmark::DoNotOptimize(objectUnderCursor(room->g));
}
BENCHMARK(BM_ObjectUnderCursor);

// One memcpy of the back surface, the unit the frame cost is measured in.
void BM_BackSurfaceMemcpy(benchmark::State& state) {
    std::vector<uint32_t> a(kWidth * kHeight, 0x123456), b(kWidth * kHeight);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(a.size() * 4));
}
BENCHMARK(BM_BackSurfaceMemcpy)->Unit(benchmark::kMicrosecond);

}  // namespace

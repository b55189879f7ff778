#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/surface.h"
#include "render/fade.h"

namespace {

using zk::FadeBuffer;
using zk::Surface;

// An 800 x 600 frame with every channel value in use, so no step is a trivial copy.
Surface busyFrame() {
    Surface s(800, 600);
    uint32_t v = 0x12345678u;
    for (uint32_t& p : s.pixels) {
        v = v * 1664525u + 1013904223u;
        p = v >> 8;
    }
    return s;
}

// One fade-out step: every stored pixel darkened in place and written to the surface.
void BM_FadeOutStep(benchmark::State& state) {
    Surface frame = busyFrame();
    FadeBuffer buffer;
    int step = 0;
    for (auto _ : state) {
        if (step == 0) {
            state.PauseTiming();
            buffer.capture(frame);
            state.ResumeTiming();
        }
        buffer.darken(step + 1, frame);
        benchmark::DoNotOptimize(frame.pixels.data());
        step = (step + 1) % zk::kFadeSteps;
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_FadeOutStep)->Unit(benchmark::kMillisecond);

// One fade-in step: every stored pixel scaled and written to the surface.
void BM_FadeInStep(benchmark::State& state) {
    Surface frame = busyFrame();
    FadeBuffer buffer;
    buffer.capture(frame);
    int remaining = zk::kFadeSteps - 1;
    for (auto _ : state) {
        buffer.brighten(remaining, frame);
        benchmark::DoNotOptimize(frame.pixels.data());
        remaining = remaining == 0 ? zk::kFadeSteps - 1 : remaining - 1;
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_FadeInStep)->Unit(benchmark::kMillisecond);

// The capture that starts every fade.
void BM_FadeCapture(benchmark::State& state) {
    Surface frame = busyFrame();
    FadeBuffer buffer;
    for (auto _ : state) {
        buffer.capture(frame);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FadeCapture)->Unit(benchmark::kMillisecond);

}  // namespace

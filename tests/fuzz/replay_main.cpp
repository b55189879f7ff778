// Replays one fuzz target without the fuzzer: the seeds made by the writers, cut-off
// forms of them, deterministic mutations of them, and the files given as arguments,
// or the files in them for directories (missing ones are skipped). A finding aborts
// the program; otherwise it prints what it ran.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "fuzz_seeds.h"

// How many cut-off forms (spread over the seed's length) and mutated forms of each
// seed are run.
#ifndef FUZZ_REPLAY_CUTS
#define FUZZ_REPLAY_CUTS 200
#endif
#ifndef FUZZ_REPLAY_MUTATIONS
#define FUZZ_REPLAY_MUTATIONS 300
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

size_t runs = 0;

void run(const std::vector<uint8_t>& input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
    ++runs;
}

// A few random edits in the spirit of the fuzzer: flipped bits, interesting bytes and
// 32-bit values (lengths and sizes), inserted and removed bytes.
std::vector<uint8_t> mutate(std::vector<uint8_t> b, std::mt19937& rng) {
    static const uint32_t kInteresting[] = {
        0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 16384, 16385, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !b.empty(); ++e) {
        const size_t at = rng() % b.size();
        switch (rng() % 5) {
            case 0:
                b[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
                break;
            case 1:
                b[at] = static_cast<uint8_t>(kInteresting[rng() % 5]);
                break;
            case 2: {
                uint32_t v = kInteresting[rng() % std::size(kInteresting)];
                for (size_t k = 0; k < 4 && at + k < b.size(); ++k)
                    b[at + k] = static_cast<uint8_t>(v >> (8 * k));
                break;
            }
            case 3:
                b.insert(b.begin() + static_cast<long>(at), static_cast<uint8_t>(rng()));
                break;
            default:
                b.erase(b.begin() + static_cast<long>(at));
                break;
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    const auto seeds = zk::fuzz::seedsFor(FUZZ_TARGET_NAME);
    std::mt19937 rng(12345);
    for (const auto& seed : seeds) {
        run(seed.bytes);
        const size_t step = seed.bytes.size() / FUZZ_REPLAY_CUTS + 1;
        for (size_t n = 0; n < seed.bytes.size(); n += step)
            run({seed.bytes.begin(), seed.bytes.begin() + static_cast<long>(n)});
        for (int i = 0; i < FUZZ_REPLAY_MUTATIONS; ++i) run(mutate(seed.bytes, rng));
    }
    auto runFile = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        run({std::istreambuf_iterator<char>(in), {}});
    };
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(argv[i], ec)) runFile(argv[i]);
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], ec))
            runFile(entry.path());
    }
    std::printf("%s: %zu seeds, %zu inputs replayed\n", FUZZ_TARGET_NAME, seeds.size(), runs);
    return seeds.empty() ? 1 : 0;
}

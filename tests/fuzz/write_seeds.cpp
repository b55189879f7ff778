// Writes the seed corpus for fuzzing runs: <dir>/<target>/<seed name> for every target.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz_seeds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus dir>\n", argv[0]);
        return 2;
    }
    for (const char* target :
         {"picture_list", "wave_list", "dib", "records", "language", "startup", "save_slot"}) {
        const auto dir = std::filesystem::path(argv[1]) / target;
        std::filesystem::create_directories(dir);
        for (const auto& seed : zk::fuzz::seedsFor(target)) {
            std::ofstream out(dir / seed.name, std::ios::binary);
            out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                      static_cast<std::streamsize>(seed.bytes.size()));
        }
    }
    return 0;
}

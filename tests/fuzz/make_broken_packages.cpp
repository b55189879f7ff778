// Writes the broken-package corpus made from a game package:
//   make_broken_packages PACKAGE OUTDIR
// OUTDIR receives one <case>.tgp per broken form, the input script "input.txt" they
// are meant to be run with, and "cases.txt" (one line per case: file name, tab, what
// is broken). Entry names that try to leave the extraction folder aim at
// OUTDIR/outside, where nothing may appear after a run.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "broken_packages.h"
#include "core/error.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PACKAGE OUTDIR\n", argv[0]);
        return 2;
    }
    try {
        const fs::path out = fs::absolute(argv[2]);
        fs::create_directories(out / "outside");
        const zk::fuzz::ArchiveImage good = zk::fuzz::ArchiveImage::read(argv[1]);
        const auto cases = zk::fuzz::brokenPackages(good, out / "outside");
        std::ofstream list(out / "cases.txt");
        for (const auto& c : cases) {
            c.write(out / (c.name + ".tgp"));
            list << c.name << ".tgp\t" << c.what << '\n';
        }
        std::ofstream(out / "input.txt") << zk::fuzz::clickAroundScript();
        std::printf("%zu broken packages written to %s\n", cases.size(), out.c_str());
    } catch (const zk::DataError& e) {
        std::fprintf(stderr, "make_broken_packages: %s\n", e.what());
        return 1;
    }
    return 0;
}

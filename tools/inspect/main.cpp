// zelkin-inspect: shows what a game package or a single game file holds, and writes a
// source folder that zelkin-pack turns back into the same game.
#include <iostream>
#include <string>

#include "core/error.h"
#include "core/text.h"
#include "core/version.h"
#include "listing.h"
#include "media_files.h"
#include "source_writer.h"

namespace {

constexpr const char* kUsage =
    "usage: zelkin-inspect PACKAGE.tgp [--source DIR]\n"
    "       zelkin-inspect FILE.dat | FILE.dxg | FILE.dxw\n"
    "Lists a Zelkin game package or one of its files readably.\n"
    "  --source DIR  write the package as a source folder for zelkin-pack\n";

}  // namespace

int main(int argc, char** argv) {
    std::string input, source;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--version") {
            std::cout << "zelkin-inspect " << zk::kZelkinVersion << '\n';
            return 0;
        } else if (a == "--source" && i + 1 < argc) {
            source = argv[++i];
        } else if (!a.empty() && a[0] != '-' && input.empty()) {
            input = a;
        } else {
            std::cerr << "zelkin-inspect: unexpected argument '" << a << "'\n" << kUsage;
            return 2;
        }
    }
    if (input.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string ext = zk::toLowerAscii(std::filesystem::path(input).extension().string());
    try {
        if (ext == ".dat" || ext == ".dxg" || ext == ".dxw") {
            if (!source.empty()) {
                std::cerr << "zelkin-inspect: --source needs a whole package\n";
                return 2;
            }
            auto bytes = zk::tools::readFileBytes(input);
            if (!bytes) throw zk::DataError("Cannot read '" + input + "'");
            zk::tools::listFile(std::filesystem::path(input).filename().string(), *bytes,
                                std::cout);
            return 0;
        }
        zk::tools::PackageEntries entries = zk::tools::readPackageEntries(input);
        if (source.empty()) {
            std::cout << input << ": ";
            zk::tools::listPackage(entries, std::cout);
            return 0;
        }
        zk::tools::SourceFolder folder = zk::tools::makeSourceFolder(entries);
        zk::tools::writeSourceFolder(folder, source);
        for (const std::string& w : folder.warnings)
            std::cerr << "zelkin-inspect: warning: " << w << "\n";
        std::cout << "Wrote " << source << " (" << folder.files.size() << " files)\n";
    } catch (const zk::DataError& e) {
        std::cerr << "zelkin-inspect: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

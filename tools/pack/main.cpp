// zelkin-pack: builds an encrypted game package from a source folder.
#include <iostream>
#include <string>

#include "core/error.h"
#include "core/version.h"
#include "pack.h"

namespace {

constexpr const char* kUsage =
    "usage: zelkin-pack SOURCE_DIR -o PACKAGE.tgp [--lenient]\n"
    "       zelkin-pack --check SOURCE_DIR [--lenient]\n"
    "Builds a Zelkin game package from a source folder (see the authoring guide).\n"
    "  -o, --output FILE  the package to write\n"
    "  --check            only report mistakes; write nothing\n"
    "  --lenient          report names that refer to nothing as warnings\n";

}  // namespace

int main(int argc, char** argv) {
    std::string source, output;
    bool check = false;
    zk::tools::PackOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--version") {
            std::cout << "zelkin-pack " << zk::kZelkinVersion << '\n';
            return 0;
        } else if ((a == "-o" || a == "--output") && i + 1 < argc) {
            output = argv[++i];
        } else if (a == "--check") {
            check = true;
        } else if (a == "--lenient") {
            options.lenient = true;
        } else if (!a.empty() && a[0] != '-' && source.empty()) {
            source = a;
        } else {
            std::cerr << "zelkin-pack: unexpected argument '" << a << "'\n" << kUsage;
            return 2;
        }
    }
    if (source.empty() || (output.empty() && !check)) {
        std::cerr << kUsage;
        return 2;
    }
    zk::tools::Diagnostics diag;
    std::vector<zk::tools::PackageEntry> entries;
    const bool ok = zk::tools::buildPackage(source, entries, diag, options);
    for (const auto& d : diag.all()) std::cerr << d.text() << "\n";
    if (!ok) {
        std::cerr << "zelkin-pack: " << diag.errorCount()
                  << (diag.errorCount() == 1 ? " error" : " errors") << "; no package written\n";
        return 1;
    }
    if (check) {
        std::cout << source << ": no errors (" << entries.size() << " package entries)\n";
        return 0;
    }
    try {
        zk::tools::writePackage(entries, output);
    } catch (const zk::DataError& e) {
        std::cerr << "zelkin-pack: " << e.what() << "\n";
        return 1;
    }
    std::cout << "Wrote " << output << " (" << entries.size() << " entries)\n";
    return 0;
}

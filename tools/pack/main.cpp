// zelkin-pack: builds an encrypted game package from a source folder, or a bundle that
// players unpack and play.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "bundle.h"
#include "core/error.h"
#include "core/version.h"
#include "pack.h"
#include "starter_game.h"

namespace {

constexpr const char* kUsage =
    "usage: zelkin-pack SOURCE_DIR [-o PACKAGE.tgp] [--lenient]\n"
    "       zelkin-pack --check SOURCE_DIR [--lenient]\n"
    "       zelkin-pack --init DIR\n"
    "       zelkin-pack --bundle SOURCE_DIR|PACKAGE.tgp -o DIR|FILE.tar.gz [--lenient]\n"
    "Builds a Zelkin game package from a source folder (see the authoring guide).\n"
    "  -o, --output FILE  the package to write (default: SOURCE_DIR.tgp)\n"
    "  --check            only report mistakes; write nothing\n"
    "  --lenient          report names that refer to nothing as warnings\n"
    "  --init DIR         write a small complete game into DIR to start from\n"
    "  --bundle           write DIR/GAME/ (or the tarball FILE.tar.gz of it): the engine,\n"
    "                     the package, start.sh, a desktop entry, an icon (the source's\n"
    "                     icon.svg or icon.png, else the engine's), README.txt, and the\n"
    "                     'portable' marker that keeps the saves beside it\n";

// "mygame/" -> "mygame.tgp" beside the folder.
std::string defaultOutput(std::string source) {
    while (source.size() > 1 && source.back() == '/') source.pop_back();
    return source + ".tgp";
}

std::filesystem::path toolDir(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

// A bundle of a source folder (packed first, into a private folder) or of a package.
int bundle(const std::string& source, const std::string& output,
           const zk::tools::PackOptions& options, const char* argv0) {
    zk::tools::BundleParts parts;
    parts.engine = zk::tools::findEngine(toolDir(argv0));
    if (parts.engine.empty()) {
        std::cerr << "zelkin-pack: no zelkin engine beside zelkin-pack or on PATH to bundle\n";
        return 1;
    }
    std::error_code ec;
    std::string scratch;
    std::vector<zk::tools::PackageEntry> entries;
    if (std::filesystem::is_directory(source, ec)) {
        zk::tools::Diagnostics diag;
        const bool ok = zk::tools::buildPackage(source, entries, diag, options);
        for (const auto& d : diag.all()) std::cerr << d.text() << "\n";
        if (!ok) {
            std::cerr << "zelkin-pack: " << diag.errorCount()
                      << (diag.errorCount() == 1 ? " error" : " errors") << "; no bundle written\n";
            return 1;
        }
        scratch = (std::filesystem::temp_directory_path() / "zelkin-pack-XXXXXX").string();
        if (!mkdtemp(scratch.data())) {
            std::cerr << "zelkin-pack: cannot make a temporary folder\n";
            return 1;
        }
        parts.package = std::filesystem::path(scratch) / "game.tgp";
        parts.icon = zk::tools::sourceIcon(source);
    } else {
        parts.package = source;
    }
    int status = 0;
    try {
        if (!scratch.empty()) zk::tools::writePackage(entries, parts.package);
        const std::filesystem::path written = zk::tools::writeBundle(parts, output);
        std::cout << "Wrote " << written.string() << "; players run its start.sh\n";
    } catch (const std::exception& e) {
        std::cerr << "zelkin-pack: " << e.what() << "\n";
        status = 1;
    }
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ec);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, output, init;
    bool check = false, makeBundle = false;
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
        } else if (a == "--init" && i + 1 < argc) {
            init = argv[++i];
        } else if (a == "--bundle") {
            makeBundle = true;
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
    if (!init.empty()) {
        if (!source.empty() || !output.empty() || check) {
            std::cerr << "zelkin-pack: --init takes only the folder to write\n" << kUsage;
            return 2;
        }
        try {
            zk::tools::writeStarterGame(init);
        } catch (const std::exception& e) {
            std::cerr << "zelkin-pack: " << e.what() << "\n";
            return 1;
        }
        std::cout << "Wrote a starter game into " << init << "; play it with: zelkin " << init
                  << "\n";
        return 0;
    }
    if (source.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    if (makeBundle) {
        if (output.empty() || check) {
            std::cerr << "zelkin-pack: --bundle needs -o DIR (or FILE.tar.gz) and no --check\n"
                      << kUsage;
            return 2;
        }
        return bundle(source, output, options, argv[0]);
    }
    if (output.empty() && !check) output = defaultOutput(source);
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

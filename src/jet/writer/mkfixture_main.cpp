// kavero-mkfixture: writes the named Access fixtures (and the sample database) at build time.
//
//   kavero-mkfixture --list                 every fixture and its tables
//   kavero-mkfixture DIR [NAME...]          writes DIR/<name>.mdb for all or the named fixtures
//   kavero-mkfixture --sample FILE          writes the sample shop database to FILE
//   kavero-mkfixture --time NAME DIR        writes one fixture and prints how long it took
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"

namespace {

using namespace kavero::jet::writer;

void list() {
    for (const Fixture& f : fixtures()) {
        std::printf("%s.mdb: %s\n", f.name.c_str(), f.purpose.c_str());
        const Database db = f.build();
        for (const Table& t : db.tables)
            std::printf("  %s (%zu records%s)\n", t.name.c_str(), t.rowCount(), t.system ? ", system" : "");
    }
}

int usage() {
    std::fputs("usage: kavero-mkfixture --list | DIR [NAME...] | --sample FILE | --time NAME DIR\n", stderr);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 1 && args[0] == "--list") {
            list();
            return 0;
        }
        if (args.size() == 2 && args[0] == "--sample") {
            const std::filesystem::path file = args[1];
            if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
            writeDatabase(shopDatabase(), file);
            return 0;
        }
        if (args.size() == 3 && args[0] == "--time") {
            const Fixture& f = fixture(args[1]);
            std::filesystem::create_directories(args[2]);
            const auto start = std::chrono::steady_clock::now();
            const Database db = f.build();
            writeDatabase(db, std::filesystem::path(args[2]) / (f.name + ".mdb"));
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            std::size_t rows = 0;
            for (const Table& t : db.tables) rows += t.rowCount();
            std::printf("%s.mdb: %zu records written in %.3f s\n", f.name.c_str(), rows, took.count());
            return 0;
        }
        if (args.empty() || args[0].starts_with("-")) return usage();
        const std::filesystem::path dir = args[0];
        std::filesystem::create_directories(dir);
        std::vector<const Fixture*> chosen;
        if (args.size() == 1)
            for (const Fixture& f : fixtures()) chosen.push_back(&f);
        for (std::size_t i = 1; i < args.size(); ++i) chosen.push_back(&fixture(args[i]));
        for (const Fixture* f : chosen) writeDatabase(f->build(), dir / (f->name + ".mdb"));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavero-mkfixture: %s\n", e.what());
        return 1;
    }
}

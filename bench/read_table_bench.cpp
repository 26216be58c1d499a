// Reads every record of one table with our reader and with mdbtools' mdb-export, and prints
// rows per second and the peak memory of each. Each reader runs in a child process of its
// own so that its peak resident size is its alone.
//
//   bench_read_table [FILE TABLE] [--rounds N]
//
// Without FILE and TABLE it takes the table with the most records in the shared test data.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "jet/database.h"

namespace {

using Clock = std::chrono::steady_clock;
using kavero::jet::Database;

struct Measure {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

std::uint64_t readAll(const std::string& file, const std::string& table) {
    Database db(file);
    const auto def = db.table(table);
    auto cursor = db.records(def);
    std::vector<kavero::jet::Value> row;
    std::uint64_t rows = 0;
    while (cursor.next(row)) ++rows;
    return rows;
}

// Runs `work` in a child process `rounds` times; returns wall time and the child's peak RSS.
template <class Work> Measure inChild(int rounds, Work&& work) {
    Measure m;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 0;
        for (int r = 0; r < rounds && status == 0; ++r) status = work();
        _exit(status);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    m.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    m.peakKiB = usage.ru_maxrss;
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return m;
}

int runMdbExport(const std::string& file, const std::string& table) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        execlp("mdb-export", "mdb-export", file.c_str(), table.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

void largestTable(std::string& file, std::string& table) {
    std::uint64_t best = 0;
    const std::filesystem::path root = KAVERO_BENCH_TESTDATA;
    if (!std::filesystem::is_directory(root)) return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() ||
            (path.find(".mdb") == std::string::npos && path.find(".accdb") == std::string::npos))
            continue;
        try {
            Database db(path);
            for (const auto& t : db.tables()) {
                if (t.system) continue;
                const std::uint64_t n = db.recordCount(db.table(t.name));
                if (n > best) {
                    best = n;
                    file = path;
                    table = t.name;
                }
            }
        } catch (const kavero::jet::FormatError&) {
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string file, table;
    int rounds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else if (file.empty()) {
            file = arg;
        } else {
            table = arg;
        }
    }
    if (file.empty() || table.empty()) largestTable(file, table);
    if (file.empty()) {
        std::fprintf(stderr, "no table to read: give FILE TABLE\n");
        return 1;
    }
    std::uint64_t rows = 0;
    try {
        rows = readAll(file, table);
    } catch (const kavero::jet::FormatError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    // Small tables are read repeatedly so that each measurement covers about a million rows.
    if (rounds <= 0) rounds = static_cast<int>(std::max<std::uint64_t>(1, 1000000 / std::max<std::uint64_t>(rows, 1)));
    std::printf("table %s in %s: %llu records, %d rounds\n", table.c_str(), file.c_str(),
                static_cast<unsigned long long>(rows), rounds);

    const Measure ours = inChild(rounds, [&] { return readAll(file, table) == rows ? 0 : 1; });
    const Measure theirs = inChild(rounds, [&] { return runMdbExport(file, table); });
    const double total = static_cast<double>(rows) * rounds;
    std::printf("kavero reader: %10.0f rows/s  peak %6ld KiB%s\n", total / ours.seconds, ours.peakKiB,
                ours.ok ? "" : "  (failed)");
    std::printf("mdb-export:    %10.0f rows/s  peak %6ld KiB%s\n", total / theirs.seconds, theirs.peakKiB,
                theirs.ok ? "" : "  (failed)");
    return ours.ok ? 0 : 1;
}

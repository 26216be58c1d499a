// Publishing the benchmark table as web-host pages, at 5 and at 500 records per copy page,
// against a plain loop that writes the same number of files with the same sizes into the same
// kind of folder in the same run. Prints pages/s, MB/s, the ratio to the plain loop and the
// peak resident size of each publishing run (each in a child process of its own). Each figure
// is the best of three runs, since the page cache's write-back makes single runs noisy.
//
//   build/bench/bench_publish [--records 20000,200000] [--per-page 5,500] [--work DIR]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/publish_command.h"
#include "bench_table.h"
#include "in_child.h"
#include "source/open_database.h"
#include "source/table_design.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace kavero;

struct Result {
    double seconds = 0;
    long pages = 0;
    double bytes = 0;
    bool ok = false;
};

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void emptyFolder(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

// The main window as a user leaves it before Go on "To your ISP over Http", records wanted.
Result publishTable(const std::string& file, const fs::path& folder, int perPage) {
    bench::YesInterface ui;
    shell::frmMain form;
    form.eFilename.text = file;
    source::OpenAccessDatabase(form, ui, {});
    form.eTables.listIndex = 0;
    source::loadTableDesign(form, ui, form.eTables.items.at(0), {});
    form.ECreateKey.value = true;
    form.setOption(form.ManuelUpload);
    form.eSourceDest.text = (folder / "kavero.asp").string();
    form.eMySqlserveraddressISP.text = "db.example.com";
    form.eMySqlDatabaseISP.text = "shop";
    form.eMySqlusernameISP.text = "web";
    form.eMySqlpasswordISP.text = "secret";
    form.eISPAlsoCopyData.value = shell::CheckState::Checked;
    form.eRecordsPerPage.text = std::to_string(perPage);

    Result result;
    const auto start = Clock::now();
    const shell::CommandResult done = app::publishToIsp(form, ui, {}, [&](const fs::path&) { ++result.pages; });
    result.seconds = since(start);
    result.ok = done.ok();
    return result;
}

std::vector<std::uintmax_t> pageSizes(const fs::path& folder, double& bytes) {
    std::vector<std::uintmax_t> sizes;
    bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        sizes.push_back(entry.file_size());
        bytes += static_cast<double>(sizes.back());
    }
    return sizes;
}

// The same files written by the simplest loop: one stream per file, a buffer of the size.
Result plainLoop(const std::vector<std::uintmax_t>& sizes, const fs::path& folder) {
    std::string buffer(*std::max_element(sizes.begin(), sizes.end()), 'x');
    Result result;
    const auto start = Clock::now();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        std::ofstream out(folder / ("page" + std::to_string(i) + ".asp"), std::ios::binary | std::ios::trunc);
        out.write(buffer.data(), static_cast<std::streamsize>(sizes[i]));
        result.bytes += static_cast<double>(sizes[i]);
        if (!out) return result;
    }
    result.seconds = since(start);
    result.pages = static_cast<long>(sizes.size());
    result.ok = true;
    return result;
}

std::vector<long> numbers(const char* list) {
    std::vector<long> values;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');) values.push_back(std::atol(item.c_str()));
    return values;
}

void row(const char* what, long records, long perPage, const Result& r, double ratio, long peakKiB) {
    const double pagesPerSecond = r.seconds > 0 ? r.pages / r.seconds : 0;
    const double megabytesPerSecond = r.seconds > 0 ? r.bytes / 1e6 / r.seconds : 0;
    std::printf("%-10s %8ld %8ld %8ld %8.2f %10.0f %8.1f %6.2f %10ld%s\n", what, records, perPage, r.pages, r.seconds,
                pagesPerSecond, megabytesPerSecond, ratio, peakKiB, r.ok ? "" : "  (FAILED)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes{20000, 200000};
    std::vector<long> perPages{5, 500};
    fs::path work = fs::temp_directory_path() / "kavero-bench-publish";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--records") == 0) sizes = numbers(argv[i + 1]);
        if (std::strcmp(argv[i], "--per-page") == 0) perPages = numbers(argv[i + 1]);
        if (std::strcmp(argv[i], "--work") == 0) work = argv[i + 1];
    }
    fs::create_directories(work);
    std::printf("%-10s %8s %8s %8s %8s %10s %8s %6s %10s\n", "run", "records", "per page", "pages", "seconds",
                "pages/s", "MB/s", "ratio", "peak KiB");
    for (long records : sizes) {
        const std::string file = bench::tableFile(records, work);
        for (long perPage : perPages) {
            const fs::path pages = work / "pages";
            long peakKiB = 0;
            Result measured, loop;
            std::vector<std::uintmax_t> written;
            for (int run = 0; run < 3; ++run) {
                emptyFolder(pages);
                long peak = 0;
                Result published =
                    inChild<Result>([&] { return publishTable(file, pages, static_cast<int>(perPage)); }, peak);
                written = pageSizes(pages, published.bytes);
                peakKiB = std::max(peakKiB, peak);
                if (run == 0 || published.seconds < measured.seconds) measured = published;
                const fs::path plain = work / "plain";
                emptyFolder(plain);
                const Result plainRun = plainLoop(written, plain);
                if (run == 0 || plainRun.seconds < loop.seconds) loop = plainRun;
            }
            const double ratio = measured.seconds > 0 && loop.seconds > 0
                                     ? (measured.pages / measured.seconds) / (loop.pages / loop.seconds)
                                     : 0;
            row("publish", records, perPage, measured, ratio, peakKiB);
            row("plain", records, perPage, loop, 1.0, 0);
        }
    }
    fs::remove_all(work / "pages");
    fs::remove_all(work / "plain");
    return 0;
}

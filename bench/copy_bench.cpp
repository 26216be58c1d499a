// The direct command's record copy (one INSERT per record, each committed on its own) against
// mdbtools' `mdb-export -I mysql -S 1 | mariadb` into the same server, for two table sizes and
// two settings of innodb_flush_log_at_trx_commit; then the same copy with the progress window
// live on the offscreen platform against the headless host. Prints records per second, the
// ratio to the peer and the peak resident size of each of our runs (each runs in a child
// process of its own, so that its peak is its alone).
//
// Needs a running sandbox of its own (never the test run's, as it changes a global setting):
//   KAVERO_SANDBOX_DIR=build/bench-sandbox scripts/sandbox.sh start
//   KAVERO_SANDBOX_DIR=build/bench-sandbox build/bench/bench_copy [--records 20000,200000]
//       [--flush 1,2] [--limit SECONDS] [--no-window] [--fast [--cases fast,inserts,check,load,peer]]
// With --fast: the fast copy (odbc/fast_copy.h), and the same with INSERT statements only, against `mdb-export -I mysql
// -S 1000 | mariadb` and against LOAD DATA LOCAL INFILE of the same records from a file prepared beforehand, timed
// alone; then the check after the copy on its own.
// A run whose estimate (from the smaller size at the same setting) exceeds --limit (600 s) is
// not run; its figure is the estimate, marked so.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef KAVERO_BENCH_GUI
#include <QApplication>

#include "ui/progress_window.h"
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/direct_command.h"
#include "bench_table.h"
#include "in_child.h"
#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"
#include "odbc/direct_connection.h"
#include "shell/progress_host.h"
#include "source/open_database.h"
#include "source/table_design.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace kavero;

using bench::tableFile;
using bench::YesInterface;

constexpr const char* kTable = "Bench";

struct Sandbox {
    std::string dsn, user, password, database, port;
};

// The sandbox's environment file: lines of export NAME='value'. Exported into this process, so
// that the driver manager finds the sandbox's data source.
std::optional<Sandbox> readSandbox(const fs::path& folder) {
    std::ifstream in(folder / "env");
    if (!in) return std::nullopt;
    std::map<std::string, std::string> values;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (line.rfind("export ", 0) != 0 || eq == std::string::npos) continue;
        std::string value = line.substr(eq + 1);
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
            value = value.substr(1, value.size() - 2);
        values[line.substr(7, eq - 7)] = value;
        setenv(line.substr(7, eq - 7).c_str(), value.c_str(), 1);
    }
    return Sandbox{values["KAVERO_TEST_DSN"], values["KAVERO_TEST_USER"], values["KAVERO_TEST_PASSWORD"],
                   values["KAVERO_TEST_DATABASE"], values["KAVERO_TEST_PORT"]};
}

odbc::DirectLogin login(const Sandbox& sandbox) {
    return {sandbox.dsn, sandbox.database, sandbox.user, sandbox.password};
}

void execute(const Sandbox& sandbox, const std::string& sql) {
    odbc::DirectConnection direct = odbc::OpenDirectConnection(login(sandbox));
    direct.connection().execute(sql);
}

std::int64_t count(const Sandbox& sandbox) {
    odbc::DirectConnection direct = odbc::OpenDirectConnection(login(sandbox));
    odbc::Statement statement(direct.connection());
    statement.execute(std::string("SELECT COUNT(*) FROM `") + kTable + "`");
    if (!statement.fetch()) return -1;
    return std::atoll(statement.text(1).value_or("-1").c_str());
}

// The main window as a user leaves it before Go: file opened, table picked, keys as keys, the
// data source and login filled in, records wanted.
shell::frmMain directForm(const std::string& file, const Sandbox& sandbox, shell::UserInterface& ui) {
    shell::frmMain form;
    form.eFilename.text = file;
    source::OpenAccessDatabase(form, ui, {});
    form.eTables.listIndex = 0;
    source::loadTableDesign(form, ui, kTable, {});
    form.ECreateKey.value = true;
    form.cboDSNList.addItem(sandbox.dsn);
    form.cboDSNList.select(0);
    form.eMySqlDatabase.text = sandbox.database;
    form.eMySqlusername.text = sandbox.user;
    form.eMySqlpassword.text = sandbox.password;
    form.eCopyDirectlyAlsoData.value = shell::CheckState::Checked;
    form.eCheckCopy.checked = false; // the copy alone: the peer has no check to compare it with
    return form;
}

struct Result {
    double seconds = 0;
    std::int64_t copied = 0;
    bool ok = false;
};

// `loadData` false: the fast copy with INSERT statements of many rows only.
Result copyWaiting(const std::string& file, const Sandbox& sandbox, bool fast = false, bool loadData = true) {
    YesInterface ui;
    shell::frmMain form = directForm(file, sandbox, ui);
    form.eFastCopy.checked = fast;
    shell::frmShowProgress progressForm;
    shell::WaitingProgressHost host(progressForm, ui);
    auto counters = std::make_shared<odbc::CopyCounters>();
    const auto start = Clock::now();
    odbc::FastCopyOptions options;
    options.loadData = loadData;
    const shell::CommandResult result = app::convertDirectly(form, ui, host, {}, counters, options);
    Result r;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.copied = counters->copied;
    r.ok = result.ok() && progressForm.eShowStatus.shownLine(1) == "Finished copy" && counters->rejected == 0;
    return r;
}

#ifdef KAVERO_BENCH_GUI
Result copyWindowLive(const std::string& file, const Sandbox& sandbox) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_copy";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    YesInterface ui;
    shell::frmMain form = directForm(file, sandbox, ui);
    shell::frmShowProgress progressForm;
    ui::ProgressWindow window(progressForm, ui);
    auto counters = std::make_shared<odbc::CopyCounters>();
    const auto start = Clock::now();
    const shell::CommandResult result = app::convertDirectly(form, ui, window, {}, counters);
    while (window.working()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    Result r;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.copied = counters->copied;
    r.ok = result.ok() && progressForm.eShowStatus.shownLine(1) == "Finished copy" && counters->rejected == 0 &&
           window.isVisible();
    return r;
}
#endif

// The table as our script made it, empty, its columns allowing NULL: mdbtools sends NULL where
// our statements send the column's empty value, and our script makes every column NOT NULL.
void recreateAllowingNull(const Sandbox& sandbox) {
    odbc::DirectConnection direct = odbc::OpenDirectConnection(login(sandbox));
    std::string create;
    {
        odbc::Statement show(direct.connection());
        show.execute(std::string("SHOW CREATE TABLE `") + kTable + "`");
        if (show.fetch()) {
            show.text(1);
            create = show.text(2).value_or("");
        }
    }
    std::string nullable;
    std::stringstream lines(create);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t notNull = line.find(" NOT NULL");
        if (notNull != std::string::npos && line.find("AUTO_INCREMENT") == std::string::npos) line.erase(notNull, 4);
        nullable += line + "\n";
    }
    direct.connection().execute(std::string("DROP TABLE `") + kTable + "`");
    direct.connection().execute(nullable);
}

// The check alone, on the table the copy before left.
Result checkWaiting(const std::string& file, const Sandbox& sandbox) {
    YesInterface ui;
    shell::frmMain form = directForm(file, sandbox, ui);
    shell::frmShowProgress progressForm;
    shell::WaitingProgressHost host(progressForm, ui);
    auto counters = std::make_shared<odbc::CopyCounters>();
    const auto start = Clock::now();
    const shell::CommandResult result = app::verifyCopiedTable(form, ui, host, {}, counters);
    Result r;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.copied = counters->verified;
    r.ok = result.ok() && counters->checkComplete && counters->differences == 0;
    return r;
}

// The mariadb client over TCP as the driver connects; the password travels in a private
// option file, never on a command line.
std::string client(const Sandbox& sandbox, const fs::path& work) {
    const fs::path options = work / "client.cnf";
    {
        std::ofstream out(options);
        out << "[client]\nuser=" << sandbox.user << "\npassword=" << sandbox.password
            << "\nhost=127.0.0.1\nport=" << sandbox.port << "\n";
    }
    chmod(options.c_str(), S_IRUSR | S_IWUSR);
    return "mariadb --defaults-extra-file='" + options.string() + "' --batch ";
}

// LOAD DATA LOCAL INFILE of the records our copy left on the server, dumped beforehand in the
// statement's own text format (the client's batch output escapes tab, line feed, backslash
// and NUL as it expects); only the load is timed.
Result loadData(const Sandbox& sandbox, const fs::path& work) {
    const std::string mariadb = client(sandbox, work);
    const fs::path data = work / "bench.tsv";
    Result r;
    if (std::system((mariadb + "--skip-column-names -e 'SELECT * FROM `" + kTable + "`' " + sandbox.database + " >'" +
                     data.string() + "'")
                        .c_str()) != 0)
        return r;
    execute(sandbox, std::string("TRUNCATE TABLE `") + kTable + "`");
    const std::string load = mariadb + "--local-infile=1 -e \"LOAD DATA LOCAL INFILE '" + data.string() +
                             "' INTO TABLE \\`" + kTable + "\\`\" " + sandbox.database;
    const auto start = Clock::now();
    const int status = std::system(load.c_str());
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.copied = count(sandbox);
    r.ok = status == 0;
    fs::remove(data);
    return r;
}

// The peer: mdbtools' INSERT statements, one record each, through the mariadb client over TCP
// as the driver connects. The password travels in a private option file, never on a command
// line.
Result peer(const std::string& file, const Sandbox& sandbox, const fs::path& work, int batch = 1) {
    const fs::path options = work / "peer.cnf";
    {
        std::ofstream out(options);
        out << "[client]\nuser=" << sandbox.user << "\npassword=" << sandbox.password
            << "\nhost=127.0.0.1\nport=" << sandbox.port << "\n";
    }
    chmod(options.c_str(), S_IRUSR | S_IWUSR);
    recreateAllowingNull(sandbox);
    const std::string command = "mdb-export -I mysql -S " + std::to_string(batch) + " '" + file + "' " + kTable +
                                " | mariadb --defaults-extra-file='" + options.string() + "' --batch " +
                                sandbox.database + " 2>'" + (work / "peer.err").string() + "'";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    Result r;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    fs::remove(options);
    r.copied = count(sandbox);
    r.ok = status == 0;
    if (!r.ok) {
        std::ifstream err(work / "peer.err");
        const std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "peer failed: %s\n", text.substr(text.size() > 300 ? text.size() - 300 : 0).c_str());
    }
    return r;
}

std::vector<long> numbers(const char* list) {
    std::vector<long> values;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) values.push_back(std::atol(item.c_str()));
    return values;
}

double perSecond(long records, double seconds) {
    return seconds > 0 ? records / seconds : 0;
}

void row(const char* what, long records, long flush, const Result& r, long peakKiB, const char* note = "") {
    std::printf("%-22s %8ld %6ld %10.1f %12.0f %10ld  %s%s\n", what, records, flush, r.seconds,
                perSecond(records, r.seconds), peakKiB, note, r.ok && r.copied == records ? "" : "  (FAILED)");
    std::fflush(stdout);
}

// The fast copy against mdb-export's INSERTs of 1,000 rows and against LOAD DATA of the same
// records; then the check alone on what the fast copy left. `cases` names those run (fast,
// inserts, check, load, peer); empty runs them all. The check and LOAD DATA work on the table
// the fast copy left.
void fastCases(const Sandbox& sandbox, const fs::path& work, const std::vector<long>& sizes,
               const std::vector<long>& flushes, const std::string& cases) {
    const auto wanted = [&](const std::string& name) {
        return cases.empty() || ("," + cases + ",").find("," + name + ",") != std::string::npos;
    };
    for (const long flush : flushes) {
        execute(sandbox, "SET GLOBAL innodb_flush_log_at_trx_commit = " + std::to_string(flush));
        for (const long records : sizes) {
            const std::string file = tableFile(records, work);
            long peak = 0;
            // Each copy starts as a first copy does, with no table left by the case before to
            // drop: the other cases get their table ready beforehand, untimed.
            const auto dropTable = [&] { execute(sandbox, std::string("DROP TABLE IF EXISTS `") + kTable + "`"); };
            dropTable();
            const Result ours = inChild<Result>([&] { return copyWaiting(file, sandbox, true); }, peak);
            const std::int64_t onServer = count(sandbox);
            row("fast copy", records, flush, ours, peak, onServer == records ? "" : "count differs");
            if (wanted("inserts")) {
                dropTable();
                const Result inserts = inChild<Result>([&] { return copyWaiting(file, sandbox, true, false); }, peak);
                row("fast, INSERTs only", records, flush, inserts, peak);
            }
            Result check, load, other;
            if (wanted("check")) {
                check = inChild<Result>([&] { return checkWaiting(file, sandbox); }, peak);
                row("check alone", records, flush, check, peak);
            }
            if (wanted("load")) {
                load = loadData(sandbox, work);
                row("LOAD DATA LOCAL", records, flush, load, 0);
            }
            if (wanted("peer")) {
                other = peer(file, sandbox, work, 1000);
                row("mdb-export -S 1000", records, flush, other, 0);
            }
            std::printf("%-22s %8ld %6ld %23.2fx\n", "fast / mdb-export", records, flush,
                        ours.seconds > 0 ? other.seconds / ours.seconds : 0);
            std::printf("%-22s %8ld %6ld %23.2fx\n", "fast / LOAD DATA", records, flush,
                        ours.seconds > 0 ? load.seconds / ours.seconds : 0);
            std::printf("%-22s %8ld %6ld %23.2fx\n", "check / fast", records, flush,
                        ours.seconds > 0 ? check.seconds / ours.seconds : 0);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes{20000, 200000};
    std::vector<long> flushes{1, 2};
    double limit = 600;
    bool window = true;
    bool fast = false;
    std::string cases;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--records") == 0 && i + 1 < argc)
            sizes = numbers(argv[++i]);
        else if (std::strcmp(argv[i], "--flush") == 0 && i + 1 < argc)
            flushes = numbers(argv[++i]);
        else if (std::strcmp(argv[i], "--limit") == 0 && i + 1 < argc)
            limit = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--no-window") == 0)
            window = false;
        else if (std::strcmp(argv[i], "--fast") == 0)
            fast = true;
        else if (std::strcmp(argv[i], "--cases") == 0 && i + 1 < argc)
            cases = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: bench_copy [--records N,N] [--flush 1,2] [--limit SECONDS] [--no-window] [--fast]\n"
                         "                  [--cases fast,inserts,check,load,peer]\n");
            return 2;
        }
    }
    const char* folder = std::getenv("KAVERO_SANDBOX_DIR");
    const std::optional<Sandbox> sandbox = folder ? readSandbox(folder) : std::nullopt;
    if (!sandbox || sandbox->dsn.empty()) {
        std::fprintf(stderr, "bench_copy: no sandbox; start one: KAVERO_SANDBOX_DIR=DIR scripts/sandbox.sh start\n");
        return 2;
    }
    const fs::path work = fs::temp_directory_path() / ("kavero_bench_copy_" + std::to_string(getpid()));
    fs::create_directories(work);

    std::printf("%-22s %8s %6s %10s %12s %10s\n", "case", "records", "flush", "seconds", "records/s", "peak KiB");
    if (fast) {
        fastCases(*sandbox, work, sizes, flushes, cases);
        fs::remove_all(work);
        return 0;
    }
    std::map<long, double> oursRate; // per flush setting, of the last size measured
    std::map<long, double> peerRate;
    for (const long flush : flushes) {
        execute(*sandbox, "SET GLOBAL innodb_flush_log_at_trx_commit = " + std::to_string(flush));
        for (const long records : sizes) {
            const std::string file = tableFile(records, work);
            const auto estimate = [&](std::map<long, double>& rates) {
                return rates.count(flush) != 0 ? records / rates[flush] : 0.0;
            };
            long peak = 0;
            if (estimate(oursRate) > limit || estimate(peerRate) > limit) {
                std::printf("%-22s %8ld %6ld %10.0f %12.0f %10s  estimated from the smaller size, not run\n",
                            "ours (waiting host)", records, flush, estimate(oursRate), oursRate[flush], "-");
                std::printf("%-22s %8ld %6ld %10.0f %12.0f %10s  estimated from the smaller size, not run\n",
                            "mdb-export | mariadb", records, flush, estimate(peerRate), peerRate[flush], "-");
                continue;
            }
            const Result ours = inChild<Result>([&] { return copyWaiting(file, *sandbox); }, peak);
            const std::int64_t onServer = count(*sandbox);
            row("ours (waiting host)", records, flush, ours, peak, onServer == records ? "" : "count differs");
            const Result other = peer(file, *sandbox, work);
            row("mdb-export | mariadb", records, flush, other, 0);
            oursRate[flush] = perSecond(records, ours.seconds);
            peerRate[flush] = perSecond(records, other.seconds);
            std::printf("%-22s %8ld %6ld %23.2fx\n", "ours / peer", records, flush,
                        other.seconds > 0 ? other.seconds / ours.seconds : 0);
#ifdef KAVERO_BENCH_GUI
            if (window && flush == flushes.back()) {
                const Result live = inChild<Result>([&] { return copyWindowLive(file, *sandbox); }, peak);
                row("ours (window live)", records, flush, live, peak);
                std::printf("%-22s %8ld %6ld %23.2fx\n", "live / waiting", records, flush,
                            live.seconds > 0 ? ours.seconds / live.seconds : 0);
            }
#endif
        }
    }
    (void)window;
    fs::remove_all(work);
    return 0;
}

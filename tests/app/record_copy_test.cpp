// The direct command with its record copy, run as the user runs it against the real server,
// and the records read back by the mariadb command-line client, so our own ODBC code is not
// the one judging what arrived.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "app/direct_command.h"
#include "jet/format.h"
#include "odbc/connect_text.h"
#include "odbc/handles.h"
#include "script/scratch_database.h"
#include "source/open_database.h"
#include "source/sql_text.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"
#include "support/unarrivable_values.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace kavero;
using kavero::testing::SandboxInfo;
using kavero::testing::ScratchDatabase;
using kavero::testing::ScriptedUserInterface;
using shell::CheckState;
using Rows = std::vector<std::vector<std::string>>;
using Outcome = std::map<std::string, std::string>;
using Lines = std::vector<std::string>;

fs::path fixtureFile(const char* name) {
    return fs::path(KAVERO_FIXTURE_DIR) / name;
}

// Rows of `sql` as the mariadb client prints them in batch mode. The password reaches the
// client through its environment only.
Rows clientRows(const SandboxInfo& sandbox, const std::string& database, const std::string& sql) {
    std::vector<std::string> args = {"mariadb", "--no-defaults", "--batch", "--raw", "--skip-column-names"};
    for (const std::string& option :
         {"--socket=" + sandbox.socket, "--user=" + sandbox.user, "--database=" + database, "--execute=" + sql})
        args.push_back(option);
    std::vector<std::string> env = {"MYSQL_PWD=" + sandbox.password};
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "mariadb", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[65536];
    for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(out[0]);
    int status = -1;
    if (spawned == 0) waitpid(pid, &status, 0);
    EXPECT_EQ(status, 0) << "mariadb client on: " << sql.substr(0, 200);
    Rows rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream cells(line);
        auto& row = rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, '\t');) row.push_back(cell);
        if (line.empty() || line.back() == '\t') row.emplace_back();
    }
    return rows;
}

// How a pass copies: the documented script or the lossless one, and the connect text's
// addition that sets the session's sql_mode.
struct Mode {
    bool lossless = false;
    std::string connectExtra;
};
// MySQL 8's default strictness, which refuses zero dates and anything cut.
const char* const kMySql8Mode =
    ";INITSTMT={SET SESSION sql_mode='STRICT_ALL_TABLES,NO_ZERO_DATE,NO_ZERO_IN_DATE,ERROR_FOR_DIVISION_BY_ZERO'}";

// The main window filled in for a copy of a file's tables to `database`: keys "none", blanks
// allowed, records wanted.
struct DirectRun {
    shell::frmMain form;
    ScriptedUserInterface ui;
    shell::frmShowProgress progress;
    shell::WaitingProgressHost host{progress, ui};
    std::shared_ptr<odbc::CopyCounters> counters;
    odbc::FastCopyOptions fast; // applies with form.eFastCopy checked

    DirectRun(const SandboxInfo& sandbox, const std::string& dataSource, const std::string& database) {
        form.eAllowFieldNamesIwthSpace.value = CheckState::Checked;
        form.eCopyDirectlyAlsoData.value = CheckState::Checked;
        form.setOption(form.eCreateNoKeys);
        form.cboDSNList.items = {"(None)", dataSource};
        form.cboDSNList.select(1);
        form.eMySqlDatabase.text = database;
        form.eMySqlusername.text = sandbox.user;
        form.eMySqlpassword.text = sandbox.password;
    }
    shell::CommandResult open(const fs::path& file) {
        form.eFilename.text = file.string();
        return source::OpenAccessDatabase(form, ui, {});
    }
    shell::CommandResult pick(const std::string& table) {
        const auto& items = form.eTables.items;
        form.eTables.listIndex = static_cast<int>(std::find(items.begin(), items.end(), table) - items.begin());
        return source::loadTableDesign(form, ui, table, {});
    }
    shell::CommandResult go(shell::MessageAnswer answer = shell::MessageAnswer::Yes,
                            std::shared_ptr<odbc::CopyCounters> watched = std::make_shared<odbc::CopyCounters>()) {
        progress.eShowStatus.clear();
        ui.answers.push_back(answer);
        ui.messages.clear();
        counters = watched;
        return app::convertDirectly(form, ui, host, {}, watched, fast);
    }
    std::vector<std::string> lines() const { // newest first
        std::vector<std::string> all;
        for (std::size_t row = 0; row < progress.eShowStatus.lineCount(); ++row)
            all.emplace_back(progress.eShowStatus.shownLine(row));
        return all;
    }
    bool finished() const { return progress.eOk.enabled && progress.eProgressBar.value == progress.eProgressBar.max; }
};

// Rejected and changed records from the status lines, under "<prefix>record N".
void recordOutcome(const std::vector<std::string>& lines, const std::string& prefix, Outcome& outcome) {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        for (const char* start : {"Error on record no. ", "Warning on record no. "}) {
            if (it->rfind(start, 0) != 0) continue;
            const std::size_t colon = it->find(": ");
            std::string& reason = outcome[prefix + "record " + it->substr(strlen(start), colon - strlen(start))];
            if (!reason.empty()) reason += " ";
            if (*start == 'W') reason += "changed ";
            reason += it->substr(colon + 2, it->find(' ', colon + 2) - colon - 2);
        }
    }
}

// Decimal digits without trailing fraction zeros, so 12.500000 and 12.5 compare equal.
std::string exactDigits(std::string digits) {
    if (digits.find('.') != std::string::npos) {
        while (digits.back() == '0') digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
    }
    return digits == "-0" ? "0" : digits;
}

// Bytes and texts are read back as hex, so no change of a byte can hide in what the client
// prints; numbers, dates and Yes/No as the server's text. An extended date is a DATETIME(6)
// under the lossless rules and its stored bytes otherwise.
bool readAsHex(int type, bool lossless) {
    using namespace jet;
    static const std::set<int> plain = {kTypeBoolean,  kTypeByte,   kTypeInteger, kTypeLong,     kTypeBigInt,
                                        kTypeDateTime, kTypeSingle, kTypeDouble,  kTypeCurrency, kTypeDecimal};
    return !plain.count(type) && !(lossless && type == kTypeExtendedDate);
}

// The cell the server must hold after the copy's documented changes, in the form
// arrivedForm gives the server's text.
std::string expectedForm(const jet::Value& value, int type, bool lossless) {
    return std::visit(
        [type, lossless](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, jet::Null>) {
                if (lossless) return "NULL";
                if (type == jet::kTypeDateTime) return "0000-00-00 00:00:00"; // the zero date
                if (type == jet::kTypeText || type == jet::kTypeMemo) return "";
                return "NULL";
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? "-1" : "0";
            } else if constexpr (std::is_integral_v<T>) {
                return std::to_string(v);
            } else if constexpr (std::is_same_v<T, float>) {
                return jet::shortestText(v + 0.0f); // -0 and 0 are the same value
            } else if constexpr (std::is_same_v<T, double>) {
                return jet::shortestText(v + 0.0);
            } else if constexpr (std::is_same_v<T, jet::Currency>) {
                if (lossless) return exactDigits(v.toString());
                return jet::shortestText(std::stod(v.toString()));
            } else if constexpr (std::is_same_v<T, jet::Decimal>) {
                return exactDigits(v.toString());
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                return v.toString();
            } else if constexpr (std::is_same_v<T, jet::Text>) {
                return jet::Bytes{{v.utf8.begin(), v.utf8.end()}}.toHex().substr(2);
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                return v.toHex().substr(2);
            } else if constexpr (std::is_same_v<T, jet::ExtendedDateTime>) {
                // DATETIME(6) holds microseconds: the seventh fraction digit is cut, not rounded.
                if (lossless) return v.toString().substr(0, v.toString().size() - 1);
                return jet::Bytes{v.storedBytes()}.toHex().substr(2);
            } else {
                if (!lossless) return "a GUID, which is not copied";
                const std::string guid = v.toString();
                return jet::Bytes{{guid.begin(), guid.end()}}.toHex().substr(2);
            }
        },
        value);
}

std::string arrivedForm(int type, std::string text, bool lossless) {
    if (text == "NULL") return text;
    if (type == jet::kTypeSingle) return jet::shortestText(std::strtof(text.c_str(), nullptr) + 0.0f);
    if (type == jet::kTypeCurrency && lossless) return exactDigits(text);
    if (type == jet::kTypeDouble || type == jet::kTypeCurrency) // Currency becomes DOUBLE
        return jet::shortestText(std::strtod(text.c_str(), nullptr) + 0.0);
    if (type == jet::kTypeDecimal) return exactDigits(text);
    if (readAsHex(type, lossless))
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return std::tolower(c); });
    return text;
}

// Compares every arrived record of the picked table with the reader's, cell by cell, skipping
// the records the status lines report as refused.
void compareTable(DirectRun& run, const SandboxInfo& sandbox, const std::string& database, const std::string& key,
                  const Outcome& outcome, std::vector<std::string>& differences) {
    const shell::TableDesign& design = run.form.design;
    const bool lossless = shell::isLossless(design);
    std::string select, order;
    std::vector<std::size_t> compared;
    for (std::size_t i = 0; i < design.fields.size(); ++i) {
        const shell::DesignField& f = design.fields[i];
        if (f.attributes == 49)
            order = " ORDER BY " + source::quoteName(f.name); // AutoNumber: renumbered by the server
        if (!lossless &&
            (f.attributes == 49 || f.type == jet::kTypeOle || f.type == jet::kTypeGuid || f.type == jet::kTypeComplex))
            continue;
        std::string column = source::quoteName(f.name);
        if (readAsHex(f.type, lossless)) column = "HEX(" + column + ")";
        // The client prints a FLOAT to six digits; as a DOUBLE it shows every bit.
        if (lossless && f.type == jet::kTypeSingle) column = "CAST(" + column + " AS DOUBLE)";
        select += (select.empty() ? "" : ", ") + column;
        compared.push_back(i);
    }
    const Rows rows =
        clientRows(sandbox, database,
                   "SELECT " + (select.empty() ? "1" : select) + " FROM " + source::quoteName(design.name) + order);
    // The cells in the forms to compare: the reader's records, skipping the refused ones, and
    // the server's rows.
    std::vector<std::pair<std::string, std::vector<std::string>>> expected;
    source::AccessDatabase file(run.form.eFilename.text, {});
    std::int64_t record = 0;
    for (auto records = file.openRecordset(design.name); !records.eof(); records.moveNext()) {
        const std::string at = key + "record " + std::to_string(++record);
        const auto reported = outcome.find(at);
        if (reported != outcome.end() && !reported->second.starts_with("changed")) continue;
        std::vector<std::string>& cells = expected.emplace_back(at, std::vector<std::string>{}).second;
        for (std::size_t c : compared) cells.push_back(expectedForm(records.value(c), design.fields[c].type, lossless));
    }
    std::vector<std::vector<std::string>> arrived;
    for (const std::vector<std::string>& cells : rows) {
        std::vector<std::string>& forms = arrived.emplace_back();
        for (std::size_t c = 0; c < compared.size() && c < cells.size(); ++c)
            forms.push_back(arrivedForm(design.fields[compared[c]].type, cells[c], lossless));
        if (cells.size() != std::max<std::size_t>(compared.size(), 1))
            forms.push_back("a row of " + std::to_string(cells.size()) + " cells");
    }
    // The lossless table has its keys, so the server gives its rows in key order: compared as
    // multisets, both sides sorted.
    if (lossless) {
        std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        std::sort(arrived.begin(), arrived.end());
    }
    std::size_t row = 0;
    for (const auto& [at, cells] : expected) {
        if (row >= arrived.size()) {
            differences.push_back(at + " did not arrive");
            continue;
        }
        for (std::size_t c = 0; c < compared.size(); ++c) {
            const std::string& got = c < arrived[row].size() ? arrived[row][c] : "nothing";
            if (got != cells[c])
                differences.push_back(at + " | " + design.fields[compared[c]].name + ": " + cells[c].substr(0, 80) +
                                      " arrived as " + got.substr(0, 80));
        }
        if (arrived[row].size() > compared.size()) differences.push_back(at + " arrived as " + arrived[row].back());
        ++row;
    }
    if (row != arrived.size()) differences.push_back(key + std::to_string(arrived.size() - row) + " rows too many");
}

// Copies every user table of `file` (named `name` in the outcome) and compares what arrived.
void copyFile(const SandboxInfo& sandbox, ScratchDatabase& db, const fs::path& file, const std::string& name,
              const Mode& mode, Outcome& outcome, std::vector<std::string>& differences, int& records) {
    DirectRun run(sandbox, mode.connectExtra.empty() ? sandbox.dsn : "DSN=" + sandbox.dsn + mode.connectExtra,
                  db.name());
    run.form.eLossless.checked = mode.lossless;
    const auto opened = run.open(file);
    if (!opened.ok()) {
        outcome[name + " | open"] = std::to_string(opened.number);
        return;
    }
    const std::vector<std::string> tables = run.form.eTables.items;
    for (const std::string& table : tables) {
        const std::string key = name + " | " + table + " | ";
        const auto picked = run.pick(table);
        if (!picked.ok()) {
            outcome[key + "load"] = "name " + picked.subject;
            continue;
        }
        run.form.eFastCopy.checked = false;
        const auto result = run.go();
        if (!result.ok()) {
            // The numbers of the refused statements, or why there was no script.
            std::string& numbers = outcome[key + "script"];
            const std::regex number("Error number: (\\d+)");
            for (std::sregex_iterator it(result.text.begin(), result.text.end(), number), end; it != end; ++it)
                numbers += (numbers.empty() ? "" : " ") + (*it)[1].str();
            if (numbers.empty()) numbers = result.text;
            continue;
        }
        EXPECT_TRUE(run.finished()) << key;
        // The check after the copy agrees with the client's reading below: every record the
        // server did not refuse is there as the reader reads it, and nothing else is.
        EXPECT_TRUE(run.counters->checkComplete) << key << ": " << run.lines()[1];
        EXPECT_EQ(run.counters->differences, 0) << key;
        EXPECT_EQ(run.counters->verified, run.counters->copied) << key;
        records += static_cast<int>(run.counters->read);
        Outcome documented;
        recordOutcome(run.lines(), key, documented);
        compareTable(run, sandbox, db.name(), key, documented, differences);
        outcome.insert(documented.begin(), documented.end());

        // The fast copy of the same table: the same records refused, by number, and the
        // others arrived alike; its check agrees.
        run.form.eFastCopy.checked = true;
        ASSERT_TRUE(run.go().ok()) << key;
        EXPECT_TRUE(run.finished()) << key;
        EXPECT_TRUE(run.counters->checkComplete) << key << " fast: " << run.lines()[1];
        EXPECT_EQ(run.counters->differences, 0) << key << " fast";
        EXPECT_EQ(run.counters->verified, run.counters->copied) << key << " fast";
        Outcome fast;
        recordOutcome(run.lines(), key, fast);
        EXPECT_EQ(fast, documented) << key << " fast";
        compareTable(run, sandbox, db.name(), key, fast, differences); // after the fast copy
    }
}

// Copies every user table of every file into a scratch database and expects exactly the list's
// cases of these files, every other record arriving as the reader reads it.
void expectNothingLost(const SandboxInfo& sandbox, const fs::path& folder, const std::string& prefix,
                       const Mode& mode = {}) {
    ScratchDatabase db(sandbox, std::string(mode.lossless ? "kc_lossless_" : "kc_") +
                                    (prefix.empty() ? "testdata_records" : "fixture_records"));
    Outcome outcome, expected;
    std::vector<std::string> differences;
    int records = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::path& file = entry.path();
        // The large fixtures are the benchmarks' (and the lost server's below).
        if ((file.extension() != ".mdb" && file.extension() != ".accdb") || file.stem() == "large" ||
            file.stem() == "bench")
            continue;
        copyFile(sandbox, db, file, prefix + fs::relative(file, folder).generic_string(), mode, outcome, differences,
                 records);
    }
    for (const auto& [key, reason] :
         mode.lossless ? kavero::testing::unarrivableLossless() : kavero::testing::unarrivable())
        if (key.starts_with("fixtures/") == (prefix == "fixtures/")) expected.emplace(key, reason);
    EXPECT_GT(records, 0);
    std::string listed;
    for (const auto& [key, reason] : outcome) listed += "    {\"" + key + "\", \"" + reason + "\"},\n";
    EXPECT_EQ(outcome, expected) << listed;
    for (std::size_t i = 0; i < differences.size() && i < 40; ++i) ADD_FAILURE() << differences[i];
}

TEST(RecordCopy, EveryTestdataRecordArrivesUnchangedOrIsListed) {
    if (!fs::is_directory(KAVERO_TESTDATA_DIR)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    KAVERO_REQUIRE_SANDBOX(sandbox);
    expectNothingLost(sandbox, KAVERO_TESTDATA_DIR, "");
}

TEST(RecordCopy, EveryFixtureRecordArrivesUnchangedOrIsListed) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    expectNothingLost(sandbox, KAVERO_FIXTURE_DIR, "fixtures/");
}

// The lossless choice, under MySQL 8's strictness and MariaDB's default: every value arrives as
// read, Null as NULL, AutoNumbers with their numbers; only what no such server can hold is
// refused.
TEST(RecordCopy, LosslessTestdataArrivesWholeUnderBothModes) {
    if (!fs::is_directory(KAVERO_TESTDATA_DIR)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    KAVERO_REQUIRE_SANDBOX(sandbox);
    expectNothingLost(sandbox, KAVERO_TESTDATA_DIR, "", {true, kMySql8Mode});
    expectNothingLost(sandbox, KAVERO_TESTDATA_DIR, "", {true, ""});
}

TEST(RecordCopy, LosslessFixturesArriveWholeUnderBothModes) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    expectNothingLost(sandbox, KAVERO_FIXTURE_DIR, "fixtures/", {true, kMySql8Mode});
    expectNothingLost(sandbox, KAVERO_FIXTURE_DIR, "fixtures/", {true, ""});
}

TEST(RecordCopy, StatusLinesNameEveryRecordAndEveryRefusal) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, "kc_status_lines");
    DirectRun run(sandbox, sandbox.dsn, db.name());
    ASSERT_TRUE(run.open(fixtureFile("records.mdb")).ok());
    const std::string first = "Your database design is now moved to " + sandbox.dsn;

    // The summary closes the window; its time is the one thing that varies.
    const auto endsWithSummary = [&run](const std::string& counts) {
        Lines lines = run.lines();
        EXPECT_TRUE(std::regex_match(
            lines.front(), std::regex("Records read " + counts + ", in [0-9]+\\.[0-9] s \\([0-9]+ records/s\\)")))
            << lines.front();
        lines.erase(lines.begin());
        return lines;
    };

    // An empty table: the total and the end, no statement; the check finds the table empty.
    ASSERT_TRUE(run.pick("Empty").ok());
    ASSERT_TRUE(run.go().ok());
    EXPECT_EQ(
        endsWithSummary("0, copied 0, rejected 0, verified 0"),
        (Lines{"Every copied record is on the server as copied: 0 records verified", "Checked 0 rows on the server",
               "Checking 0 records on the server", "Finished copy", "Copying 0 records in total", first}));
    EXPECT_EQ(run.counters->read, 0);
    EXPECT_TRUE(run.finished());

    // Three records, the second refused for its Null number: the others arrive and are
    // checked, the refused one is not missed; the bar fills.
    ASSERT_TRUE(run.pick("Three").ok());
    ASSERT_TRUE(run.go().ok());
    EXPECT_EQ(endsWithSummary("3, copied 2, rejected 1, verified 2"),
              (Lines{"Every copied record is on the server as copied: 2 records verified",
                     "Checked 2 rows on the server", "Checking 3 records on the server", "Finished copy",
                     "Copying record no. 3", "Error on record no. 2: 1048 Column 'Amount' cannot be null",
                     "Copying record no. 2", "Copying record no. 1", "Copying 3 records in total", first}));
    EXPECT_TRUE(run.finished());
    // Below the bar, as in the fast copy: the records done, the rate and the time left.
    EXPECT_TRUE(std::regex_match(run.progress.eRate.caption, std::regex("3 of 3 records, [0-9]+ records/s, 0 s left")))
        << run.progress.eRate.caption;
    EXPECT_EQ(clientRows(sandbox, db.name(), "SELECT ID, Name FROM Three"), (Rows{{"1", "one"}, {"3", "three"}}));
}

TEST(RecordCopy, AFastCopyNamesTheBadRecordsOfABatchAndKeepsTheOthers) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, "kc_fast_batches");
    DirectRun run(sandbox, sandbox.dsn, db.name());
    ASSERT_TRUE(run.open(fixtureFile("records.mdb")).ok());
    const fs::path rejects = fs::temp_directory_path() / ("kc_fast_rejects_" + std::to_string(getpid()) + ".json");
    // Records 2 and 6 are refused: one in the middle of the first chunk, one at the end of
    // the second.
    run.form.eFastCopy.checked = true;
    run.fast.commitEvery = 3;
    run.fast.rejectFile = rejects.string();
    ASSERT_TRUE(run.pick("HardValues").ok());
    ASSERT_TRUE(run.go().ok());
    Lines copyLines;
    const Lines lines = run.lines();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (line->starts_with("Copied records") || line->starts_with("Error on record")) // up to the error number
            copyLines.push_back(
                line->substr(0, line->find(": ") == std::string::npos ? line->size() : line->find(": ") + 6));
    EXPECT_EQ(copyLines, (Lines{"Error on record no. 2: 1406", "Copied records 1 to 3", "Error on record no. 6: 1048",
                                "Copied records 4 to 6"}));
    EXPECT_EQ(clientRows(sandbox, db.name(), "SELECT ID FROM HardValues ORDER BY ID"),
              (Rows{{"1"}, {"3"}, {"4"}, {"5"}}));
    EXPECT_EQ(run.counters->copied, 4);
    EXPECT_EQ(run.counters->rejected, 2);
    EXPECT_EQ(run.counters->verified, 4);
    EXPECT_EQ(run.counters->differences, 0);
    EXPECT_TRUE(run.finished());
    EXPECT_TRUE(std::regex_match(run.progress.eRate.caption, std::regex("6 of 6 records, [0-9]+ records/s, 0 s left")))
        << run.progress.eRate.caption;

    // One JSON line per refused record, with the values as sent.
    std::ifstream file(rejects);
    Lines json;
    for (std::string line; std::getline(file, line);) json.push_back(line);
    fs::remove(rejects);
    ASSERT_EQ(json.size(), 2u);
    // The first holds the whole refused Memo, 65,536 bytes.
    EXPECT_TRUE(json[0].starts_with(R"({"record":2,"error":1406,"sqlstate":"22001","message":"Data too long for )"
                                    R"(column 'Memo' at row 1","values":"(2, '\\\\', ')"))
        << json[0].substr(0, 200);
    EXPECT_TRUE(json[0].ends_with(")\"}")) << json[0].substr(json[0].size() - 200);
    EXPECT_GT(json[0].size(), 65536u);
    EXPECT_TRUE(std::regex_match(
        json[1], std::regex(R"re(\{"record":6,"error":1048,"sqlstate":"23000","message":)re"
                            R"re("Column 'Double' cannot be null","values":"\(6, 'Null number', .*\)"\})re")))
        << json[1];
}

TEST(RecordCopy, DeclinedRunTouchesNothingAndDesignOnlyRunEndsAtTheDesign) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, "kc_declined");
    DirectRun run(sandbox, sandbox.dsn, db.name());
    ASSERT_TRUE(run.open(fixtureFile("records.mdb")).ok());
    ASSERT_TRUE(run.pick("Ten").ok());
    const std::string tables = "SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()";

    EXPECT_EQ(run.go(shell::MessageAnswer::No).outcome, shell::Outcome::Stopped);
    ASSERT_EQ(run.ui.messages.size(), 2u);
    EXPECT_EQ(run.ui.messages[0].text,
              "Warning you will delete all data in your database if the databse already exist !!!!!\r\n\r\n"
              "DO you still want to create the database and copy the data !!!!!\r\n");
    EXPECT_EQ(run.ui.messages[1].text, "Opreation canceled by user");
    EXPECT_TRUE(run.lines().empty());
    EXPECT_EQ(clientRows(sandbox, db.name(), tables), (Rows{{"0"}}));

    run.form.eCopyDirectlyAlsoData.value = CheckState::Unchecked;
    ASSERT_TRUE(run.go().ok());
    EXPECT_EQ(run.lines(),
              (Lines{"Finished moving " + sandbox.dsn, "Your database design is now moved to " + sandbox.dsn}));
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(clientRows(sandbox, db.name(), "SELECT COUNT(*) FROM Ten"), (Rows{{"0"}}));
}

TEST(RecordCopy, ACopyThatCannotConnectShowsWhyAndFinishesTheWindow) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    DirectRun run(sandbox, sandbox.dsn, sandbox.database);
    ASSERT_TRUE(run.open(fixtureFile("records.mdb")).ok());
    ASSERT_TRUE(run.pick("Ten").ok());
    std::int32_t one = 1;
    run.host.showStatus("Your database design is now moved to " + sandbox.dsn, false, true, one, false);
    ASSERT_FALSE(run.progress.eOk.enabled);
    const std::string wrong = "not-the-password";
    const odbc::CopyRequest request{
        {sandbox.dsn, sandbox.database, sandbox.user, wrong}, run.form.eFilename.text, {}, run.form.design};
    odbc::CopyCounters counters;
    run.host.startWork([&](shell::StatusChannel& channel) { odbc::CopyRecordsDirectly(request, channel, counters); });
    const Lines lines = run.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Error number: 1045"), lines.end());
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find(wrong), std::string::npos);
        EXPECT_FALSE(line.starts_with("Copying")) << line;
    }
    EXPECT_TRUE(run.finished());
}

TEST(RecordCopy, AValueANonStrictServerCutsIsReported) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, "kc_non_strict");
    // The driver runs INITSTMT on connecting: this session cuts what does not fit, with a warning.
    DirectRun run(sandbox, "DSN=" + sandbox.dsn + ";INITSTMT={SET SESSION sql_mode=''}", db.name());
    ASSERT_TRUE(run.open(fixtureFile("records.mdb")).ok());
    ASSERT_TRUE(run.pick("HardValues").ok());
    ASSERT_TRUE(run.go().ok());
    const Lines lines = run.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Warning on record no. 2: 1265 Data truncated for column 'Memo' at row 1"),
              lines.end());
    Outcome outcome;
    recordOutcome(lines, "", outcome);
    EXPECT_EQ(outcome, (Outcome{{"record 2", "changed 1265"}, {"record 6", "1048"}}));
    EXPECT_EQ(clientRows(sandbox, db.name(), "SELECT ID, LENGTH(Memo) FROM HardValues WHERE ID = 2"),
              (Rows{{"2", "65535"}}));
    // The check finds the cut memo on its own (the table has no key, so the record is missing
    // as copied and the cut row is one too many), and says so.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Missing record no. 2: not on the server"), lines.end());
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) {
                               return line.starts_with("Extra row on the server: ID 2, Text ") &&
                                      line.find("…' (65535 bytes)") != std::string::npos;
                           }),
              lines.end());
    EXPECT_EQ(lines[1], "The server does not hold what was copied: 1 record missing, 0 records different, 1 row "
                        "too many");
    EXPECT_EQ(run.counters->differences, 2);
    EXPECT_TRUE(run.finished());

    // The fast copy reports the same: a statement of several rows would store the Null as 0
    // with a mere warning, so such a batch goes again a record to a statement.
    run.form.eFastCopy.checked = true;
    run.fast.commitEvery = 4;
    ASSERT_TRUE(run.go().ok());
    Outcome fast;
    recordOutcome(run.lines(), "", fast);
    EXPECT_EQ(fast, outcome);
    EXPECT_EQ(run.counters->differences, 2);
}

// Once for each copy: the fast one commits every 1,000 records, so what a kill takes back
// is the open chunk and the committed chunks stay.
void copyToALostServer(const SandboxInfo& sandbox, bool fast) {
    const std::string mainDir = std::getenv("KAVERO_SANDBOX_DIR");
    const std::string dir = mainDir + "-lost";
    const std::string script = std::string(KAVERO_SANDBOX_SCRIPT) + " ";
    ASSERT_EQ(std::system((script + "start '" + dir + "' >/dev/null").c_str()), 0);
    setenv("KAVERO_SANDBOX_DIR", dir.c_str(), 1);
    std::string whyNot;
    const auto lost = kavero::testing::findSandbox(whyNot);
    setenv("KAVERO_SANDBOX_DIR", mainDir.c_str(), 1);
    ASSERT_TRUE(lost) << whyNot;
    ASSERT_TRUE(kavero::testing::findSandbox(whyNot)) << whyNot; // its data sources again
    pid_t server = 0;
    std::ifstream(dir + "/mysqld.pid") >> server;
    ASSERT_GT(server, 0);

    // By address: the driver manager keeps the data sources it read once.
    DirectRun run(sandbox, "DRIVER=MariaDB;SERVER=127.0.0.1;PORT=" + lost->port, lost->database);
    ASSERT_TRUE(run.open(fixtureFile("large.mdb")).ok());
    ASSERT_TRUE(run.pick("Forty Thousand").ok());
    if (fast) {
        // This server is the test's own, so its counters are the copy's and its global setting
        // may change: a server that does not allow LOAD DATA LOCAL gets the records as INSERT
        // statements, every one of them.
        const odbc::Environment environment;
        odbc::Connection admin(environment, odbc::buildConnectText({{"DRIVER", "MariaDB"},
                                                                    {"SERVER", "127.0.0.1"},
                                                                    {"PORT", lost->port},
                                                                    {"UID", lost->user},
                                                                    {"PWD", lost->password}}));
        const auto statements = [&admin](const char* kind) {
            odbc::Statement status(admin);
            status.execute(std::string("SHOW GLOBAL STATUS LIKE '") + kind + "'");
            return status.fetch() ? std::stoll(status.text(2).value_or("0")) : -1;
        };
        // Allowed, it carries the records: one statement a chunk of 10,000, no INSERT, and no
        // word of it.
        const long long loads = statements("Com_load");
        const long long inserts = statements("Com_insert");
        run.form.eFastCopy.checked = true;
        ASSERT_TRUE(run.go().ok());
        EXPECT_EQ(statements("Com_load") - loads, 4);
        EXPECT_EQ(statements("Com_insert") - inserts, 0);
        EXPECT_EQ(run.counters->verified, 40000);
        const Lines allowed = run.lines();
        EXPECT_TRUE(std::none_of(allowed.begin(), allowed.end(), [](const std::string& line) {
            return line.starts_with("LOAD DATA LOCAL INFILE cannot be used (");
        }));

        admin.execute("SET GLOBAL local_infile = 0");
        ASSERT_TRUE(run.go().ok());
        admin.execute("SET GLOBAL local_infile = 1");
        const Lines refused = run.lines();
        EXPECT_TRUE(std::any_of(refused.begin(), refused.end(), [](const std::string& line) {
            return line.starts_with("LOAD DATA LOCAL INFILE cannot be used (");
        }));
        EXPECT_EQ(run.counters->copied, 40000);
        EXPECT_EQ(run.counters->verified, 40000);
        EXPECT_EQ(run.counters->differences, 0);
    }
    run.form.eFastCopy.checked = fast;
    run.fast.commitEvery = 1000;
    auto counters = std::make_shared<odbc::CopyCounters>();
    std::atomic<bool> ended = false;
    std::thread killer([&] {
        while (!ended && counters->copied < 1000) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (!ended) kill(server, SIGKILL);
    });
    const auto result = run.go(shell::MessageAnswer::Yes, counters);
    ended = true;
    killer.join();
    std::system((script + "stop '" + dir + "' >/dev/null").c_str());

    ASSERT_TRUE(result.ok()) << result.text;
    const std::int64_t copied = counters->copied;
    EXPECT_GE(copied, 1000);
    EXPECT_LT(copied, 40000);
    EXPECT_EQ(copied + counters->rejected, 40000);
    Outcome outcome;
    recordOutcome(run.lines(), "", outcome);
    // Every record from the first refused one on is refused, and said so.
    EXPECT_EQ(outcome.size(), static_cast<std::size_t>(40000 - copied));
    EXPECT_TRUE(outcome.count("record " + std::to_string(copied + 1)));
    EXPECT_TRUE(outcome.count("record 40000"));
    // The check cannot read a server that is gone, and says so.
    const Lines lines = run.lines();
    EXPECT_TRUE(lines[1].starts_with("The check could not read the table on the server: ")) << lines[1];
    EXPECT_TRUE(lines[0].starts_with("Records read 40000, copied " + std::to_string(copied) + ", rejected " +
                                     std::to_string(40000 - copied) + ", not verified, in "))
        << lines[0];
    EXPECT_FALSE(run.counters->checkComplete);
    EXPECT_TRUE(run.finished());
    if (fast) {
        EXPECT_EQ(copied % 1000, 0);
    }
}

TEST(RecordCopy, ALostServerRefusesTheRestAndTheCopyStillEnds) {
    KAVERO_REQUIRE_SANDBOX(sandbox); // left alone: a second server is started and killed
    for (const bool fast : {false, true}) {
        SCOPED_TRACE(fast ? "fast copy" : "one record a statement");
        copyToALostServer(sandbox, fast);
    }
}

} // namespace

// The all-tables loop and its summary table.
#include "cli/table_summary.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <iostream>

#include "cli/console.h"
#include "source/open_database.h"

namespace kavero::cli {

namespace {

std::string resultWord(int status) {
    switch (status) {
    case kExitDone:
        return "ok";
    case kExitRecordsRejected:
        return "rejected";
    case kExitDifferences:
        return "differences";
    default:
        return "failed";
    }
}

// Characters, not bytes, so a name outside ASCII lines up.
std::size_t width(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string count(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : "-";
}

std::string secondsText(double seconds) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 1).ptr);
}

void addTo(std::optional<std::int64_t>& sum, const std::optional<std::int64_t>& value) {
    if (value) sum = sum.value_or(0) + *value;
}

} // namespace

std::optional<std::vector<std::string>> allUserTables(const std::string& file, const source::ReadOptions& options,
                                                      bool valuesTables) {
    try {
        source::AccessDatabase database(file, options);
        return source::userTables(database, valuesTables);
    } catch (const source::EngineError& e) {
        printError(e);
        return std::nullopt;
    }
}

int runAllTables(const std::vector<std::string>& tables, const std::function<TableRun(const std::string&)>& one) {
    std::vector<TableRun> runs;
    bool failed = false, differences = false, rejected = false;
    for (const std::string& table : tables) {
        std::cerr << "Table " << table << "\n";
        const auto start = std::chrono::steady_clock::now();
        TableRun run = one(table);
        run.table = table;
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        failed = failed || !tableCreated(run.status);
        differences = differences || run.status == kExitDifferences;
        rejected = rejected || run.status == kExitRecordsRejected || run.rejected.value_or(0) > 0;
        runs.push_back(std::move(run));
    }
    std::cerr << summaryTable(runs) << std::flush;
    if (failed) return kExitFailed;
    if (differences) return kExitDifferences;
    return rejected ? kExitRecordsRejected : kExitDone;
}

bool tableCreated(int status) {
    return status == kExitDone || status == kExitRecordsRejected || status == kExitDifferences;
}

std::optional<std::vector<source::ForeignKey>> planForeignKeys(const std::string& file,
                                                               const std::vector<std::string>& tables,
                                                               const std::vector<std::string>& created,
                                                               const source::ReadOptions& options) {
    try {
        source::AccessDatabase database(file, options);
        std::vector<shell::TableDesign> designs;
        for (const std::string& table : created) {
            designs.push_back(database.tableDef(table));
            shell::chooseLossless(designs.back(), true);
        }
        const auto inRun = [&](const std::string& table) {
            return std::find(tables.begin(), tables.end(), table) != tables.end();
        };
        std::vector<source::Relationship> relationships = database.relationships();
        std::erase_if(relationships,
                      [&](const source::Relationship& r) { return !inRun(r.primaryTable) || !inRun(r.foreignTable); });
        source::ForeignKeyPlan plan = source::planForeignKeys(relationships, designs);
        for (const std::string& line : plan.leftOut) printDiagnostic(line);
        return std::move(plan.keys);
    } catch (const source::EngineError& e) {
        printError(e);
        return std::nullopt;
    }
}

std::string summaryTable(const std::vector<TableRun>& runs) {
    using Row = std::array<std::string, 7>;
    std::vector<Row> rows = {{"Table", "Read", "Copied", "Rejected", "Verified", "Seconds", "Result"}};
    TableRun total;
    for (const TableRun& run : runs) {
        rows.push_back({run.table, count(run.read), count(run.copied), count(run.rejected), count(run.verified),
                        secondsText(run.seconds), resultWord(run.status)});
        addTo(total.read, run.read);
        addTo(total.copied, run.copied);
        addTo(total.rejected, run.rejected);
        addTo(total.verified, run.verified);
        total.seconds += run.seconds;
    }
    rows.push_back({"Total", count(total.read), count(total.copied), count(total.rejected), count(total.verified),
                    secondsText(total.seconds), ""});
    std::array<std::size_t, 7> widths{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], width(row[c]));
    }
    std::string text;
    for (const Row& row : rows) {
        std::string line = row[0] + std::string(widths[0] - width(row[0]), ' ');
        // Counts and seconds to the right; the result word last, to the left.
        for (std::size_t c = 1; c + 1 < row.size(); ++c)
            line += "  " + std::string(widths[c] - width(row[c]), ' ') + row[c];
        if (!row.back().empty()) line += "  " + row.back();
        text += line + "\n";
    }
    return text;
}

} // namespace kavero::cli

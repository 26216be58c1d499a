// The check after a copy. The Access side is read first into an index of one entry per
// record: the canonical form of its key values (when paired by key), a 128-bit digest of all
// its expected values and its number. The server's rows are then read one page at a time and
// each is looked up there, so memory holds the index and one page, never the server's table.
// Only the records found different are read again, for the columns that differ.
#include "odbc/check_records.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <map>
#include <optional>

#include "odbc/error_text.h"
#include "source/held_value.h"
#include "source/record_statement.h"
#include "source/sql_text.h"
#include "source/table_design.h"

namespace kavero::odbc {

namespace {

using source::HeldType;
using source::HeldValue;
using Digest = unsigned __int128;

// Server rows per page: a few megabytes even for rows with long memos.
constexpr int kPageRows = 1000;
// Differences reported with the columns that differ; later ones name only the record.
constexpr std::size_t kDetailedRecords = 1000;
// Characters of an extra row's values in its line.
constexpr std::size_t kShownRowCharacters = 200;

// FNV-1a over 128 bits: any change of a value changes it, unless by a 2^-128 chance.
Digest digestOf(std::string_view bytes) {
    constexpr Digest kPrime = (static_cast<Digest>(1) << 88) + 0x13B;
    Digest hash = (static_cast<Digest>(0x6c62272e07bb0142ULL) << 64) | 0x62b821756295c58dULL;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kPrime;
    }
    return hash;
}

struct Column {
    std::string name;
    std::size_t recordIndex = 0;
    HeldType held = HeldType::None;
};

// Every copied field, in record order.
std::vector<Column> comparedColumns(const shell::TableDesign& design) {
    std::vector<Column> columns;
    for (const source::CopiedField& field : source::copiedFields(design)) {
        columns.push_back({field.name, field.recordIndex, source::columnRule(design.fields[field.recordIndex]).held});
    }
    return columns;
}

// Positions in `columns` of the primary key's fields; empty when the table has no key or a
// field of it is not copied (an AutoNumber, which the server numbers anew).
std::vector<std::size_t> keyColumns(const shell::TableDesign& design, const std::vector<Column>& columns) {
    std::vector<std::size_t> key;
    for (const shell::DesignField* field : source::primaryKeyFields(design)) {
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const Column& c) {
            return c.recordIndex == static_cast<std::size_t>(field - design.fields.data());
        });
        if (found == columns.end()) return {};
        key.push_back(static_cast<std::size_t>(found - columns.begin()));
    }
    return key;
}

struct Entry {
    std::string key;
    Digest digest = 0;
    std::int64_t record = 0;
    bool paired = false;
};

bool keyBefore(const Entry& a, const Entry& b) {
    return a.key < b.key;
}
bool entryBefore(const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    if (a.digest != b.digest) return a.digest < b.digest;
    return a.record < b.record;
}

// The canonical forms of a row: all its values, and its key values.
struct RowForm {
    std::string all;
    std::string key;
};

RowForm rowForm(const std::vector<HeldValue>& values, const std::vector<std::size_t>& key) {
    RowForm form;
    for (const HeldValue& value : values) source::appendCanonical(form.all, value);
    for (std::size_t k : key) source::appendCanonical(form.key, values[k]);
    return form;
}

std::vector<HeldValue> expectedRow(const std::vector<Column>& columns, const std::vector<jet::Value>& record) {
    std::vector<HeldValue> values;
    values.reserve(columns.size());
    for (const Column& column : columns)
        values.push_back(source::expectedHeld(column.held, record[column.recordIndex]));
    return values;
}

HeldValue readHeld(Statement& statement, int column, HeldType type) {
    const auto orNull = [](const auto& value) -> HeldValue {
        if (!value) return source::HeldNull{};
        return *value;
    };
    switch (type) {
    case HeldType::Integer:
        return orNull(statement.integer(column));
    case HeldType::Double:
        return orNull(statement.real(column));
    case HeldType::Single: {
        const std::optional<double> value = statement.real(column);
        if (!value) return source::HeldNull{};
        return static_cast<float>(*value); // the Single the column's value stands for
    }
    case HeldType::Decimal:
    case HeldType::DateTime:
    case HeldType::DateTimeOrNull:
    case HeldType::ExtendedDateTimeOrNull: {
        // Read as the server writes them: the driver gives the zero date as NULL otherwise.
        const std::optional<std::string> text = statement.text(column);
        if (!text) return source::HeldNull{};
        if (type == HeldType::Decimal) {
            if (const auto decimal = source::parseHeldDecimal(*text)) return *decimal;
        } else if (const auto date = source::parseHeldDate(*text)) {
            return *date;
        }
        return *text;
    }
    case HeldType::Text:
    case HeldType::TextOrNull:
    case HeldType::Bytes:
    case HeldType::None:
        break;
    }
    return orNull(statement.bytes(column));
}

// "ID 3, Name 'x'", shortened.
std::string rowText(const std::vector<Column>& columns, const std::vector<HeldValue>& values) {
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!text.empty()) text += ", ";
        text += columns[i].name + " " + source::describeHeld(columns[i].held, values[i]);
        if (text.size() > kShownRowCharacters) return text + " …";
    }
    return text.empty() ? "a row (the table has no compared columns)" : text;
}

// The server side: the rows of the table, a page at a time along a primary key of one column
// when there is one (the driver keeps a whole result in memory), else in one result.
class ServerRows {
public:
    ServerRows(Connection& connection, const std::string& table, const std::vector<Column>& columns)
        : m_statement(connection), m_columns(columns) {
        Statement keys(connection);
        keys.execute("SHOW KEYS FROM " + source::quoteName(table));
        std::vector<std::string> primary;
        while (keys.fetch()) {
            keys.text(1);
            keys.text(2);
            const bool isPrimary = keys.text(3) == "PRIMARY";
            keys.text(4);
            const std::optional<std::string> column = keys.text(5);
            if (isPrimary && column) primary.push_back(*column);
        }
        std::string list;
        for (const Column& column : columns) list += (list.empty() ? "" : ", ") + source::quoteName(column.name);
        if (list.empty()) list = "1";
        if (primary.size() == 1) {
            m_pageKey = source::quoteName(primary.front());
            list = m_pageKey + ", " + list;
        }
        m_select = "SELECT " + list + " FROM " + source::quoteName(table);
    }

    // The next row's values; false after the last row.
    bool next(std::vector<HeldValue>& values) {
        if (!m_open && !openPage()) return false;
        while (!m_statement.fetch()) {
            if (m_pageKey.empty() || m_rowsInPage < kPageRows || !openPage()) return false;
        }
        ++m_rowsInPage;
        const int first = m_pageKey.empty() ? 1 : 2;
        if (!m_pageKey.empty()) readPageKey();
        values.clear();
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            values.push_back(readHeld(m_statement, first + static_cast<int>(i), m_columns[i].held));
        }
        return true;
    }

private:
    bool openPage() {
        if (m_pageKey.empty()) {
            if (m_open) return false;
            m_statement.execute(m_select);
        } else {
            const std::string order = " ORDER BY " + m_pageKey + " LIMIT " + std::to_string(kPageRows);
            if (!m_lastKey) {
                if (m_open) return false; // a page without a key value cannot be followed
                m_statement.execute(m_select + order);
            } else {
                // The key goes back as what the column holds, so the server compares values,
                // never a text with a number or a date by some conversion of its choosing.
                const char* value = m_form == ColumnForm::Decimal    ? "CAST(? AS DECIMAL(65,30))"
                                    : m_form == ColumnForm::DateTime ? "CAST(? AS DATETIME(6))"
                                                                     : "?";
                m_statement.execute(m_select + " WHERE " + m_pageKey + " > " + value + order, {*m_lastKey});
            }
            m_form = m_statement.columnForm(1);
        }
        m_open = true;
        m_rowsInPage = 0;
        return true;
    }

    void readPageKey() {
        m_lastKey.reset();
        switch (m_form) {
        case ColumnForm::Integer:
            if (const auto v = m_statement.integer(1)) m_lastKey = *v;
            break;
        case ColumnForm::Double:
            if (const auto v = m_statement.real(1)) m_lastKey = *v;
            break;
        case ColumnForm::Bytes:
            if (auto v = m_statement.bytes(1)) m_lastKey = ParameterBytes{std::move(*v)};
            break;
        case ColumnForm::Decimal:
        case ColumnForm::DateTime:
        case ColumnForm::Text:
            if (auto v = m_statement.text(1)) m_lastKey = std::move(*v);
            break;
        }
    }

    Statement m_statement;
    const std::vector<Column>& m_columns;
    std::string m_select;
    std::string m_pageKey; // the quoted key column, empty without paging
    ColumnForm m_form = ColumnForm::Text;
    std::optional<Parameter> m_lastKey;
    bool m_open = false;
    int m_rowsInPage = 0;
};

std::int32_t barSteps(std::int64_t total) {
    const std::int64_t steps = 1 + total / kPageRows;
    return steps > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(steps);
}

std::string plural(std::int64_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The work of one check, its state shared by its steps.
class Check {
public:
    Check(Connection& connection, const CheckRequest& request, shell::StatusChannel& channel, CopyCounters& counters)
        : m_connection(connection), m_request(request), m_channel(channel), m_counters(counters),
          m_columns(comparedColumns(request.design)), m_key(keyColumns(request.design, m_columns)) {}

    CheckCounts run() {
        m_channel.showStatus("Checking " + plural(m_request.total, "record", "records") + " on the server", false, true,
                             barSteps(m_request.total));
        try {
            if (!readAccessTable() || !readServerRows()) return stopped();
            reportRecords();
        } catch (const Error& error) {
            // The server's number, or the driver's SQLSTATE where the server said nothing.
            const DiagnosticRecord first =
                error.records().empty() ? DiagnosticRecord{"HY000", 0, error.what()} : error.records().front();
            m_channel.showStatus(std::string(kCheckEndedEarlyLine) + "could not read the table on the server: " +
                                     (first.nativeError != 0 ? std::to_string(first.nativeError) : first.sqlstate) +
                                     " " + serverText(first.message),
                                 false, false, 0, true);
            return m_counts;
        } catch (const source::EngineError& error) {
            m_channel.showStatus(std::string(kCheckEndedEarlyLine) +
                                     "could not read the Access table: " + error.boxText(),
                                 false, false, 0, true);
            return m_counts;
        }
        m_counts.complete = true;
        if (m_counts.differences() == 0) {
            m_channel.showStatus("Every copied record is on the server as copied: " +
                                 plural(m_counts.verified, "record", "records") + " verified");
        } else {
            m_channel.showStatus(std::string(kCheckDifferencesLine) + plural(m_counts.missing, "record", "records") +
                                 " missing, " + plural(m_counts.different, "record", "records") + " different, " +
                                 plural(m_counts.extra, "row", "rows") + " too many");
        }
        return m_counts;
    }

private:
    CheckCounts stopped() {
        m_channel.showStatus(std::string(kCheckEndedEarlyLine) + "was stopped by the user", false, false, 0, true);
        return m_counts;
    }

    bool readAccessTable() {
        source::AccessDatabase database(m_request.databasePath, m_request.readOptions);
        std::int64_t record = 0;
        for (source::Recordset set = database.openRecordset(m_request.design.name); !set.eof(); set.moveNext()) {
            if (m_channel.stopRequested()) return false;
            ++record;
            if (std::binary_search(m_request.rejected.begin(), m_request.rejected.end(), record)) continue;
            RowForm form = rowForm(expectedRow(m_columns, set.values()), m_key);
            m_entries.push_back({std::move(form.key), digestOf(form.all), record});
        }
        m_counts.records = record;
        std::sort(m_entries.begin(), m_entries.end(), entryBefore);
        return true;
    }

    bool readServerRows() {
        ServerRows rows(m_connection, m_request.design.name, m_columns);
        std::vector<HeldValue> values;
        std::int64_t read = 0;
        while (rows.next(values)) {
            ++read;
            m_counters.checked = read;
            if (read % kPageRows == 0) {
                if (m_channel.stopRequested()) return false;
                m_channel.showStatus("Checked " + std::to_string(read) + " rows on the server");
            }
            pair(values);
        }
        if (read % kPageRows != 0 || read == 0) {
            m_channel.showStatus("Checked " + plural(read, "row", "rows") + " on the server");
        }
        return true;
    }

    // Pairs a server row with the first unpaired record of the same values (and key), or else,
    // by key alone, with a record whose values differ; a row paired with nothing is extra.
    void pair(const std::vector<HeldValue>& values) {
        RowForm form = rowForm(values, m_key);
        Entry probe{std::move(form.key), digestOf(form.all), 0};
        const auto [keyFirst, keyLast] = std::equal_range(m_entries.begin(), m_entries.end(), probe, keyBefore);
        const auto [first, last] = std::equal_range(keyFirst, keyLast, probe,
                                                    [](const Entry& a, const Entry& b) { return a.digest < b.digest; });
        // Rows of the same values are paired in record order, so the paired ones come first.
        const auto same = std::partition_point(first, last, [](const Entry& e) { return e.paired; });
        if (same != last) {
            same->paired = true;
            ++m_counts.verified;
            ++m_counters.verified;
            return;
        }
        if (!m_key.empty()) {
            const auto other = std::find_if(keyFirst, keyLast, [](const Entry& e) { return !e.paired; });
            if (other != keyLast) {
                other->paired = true;
                ++m_counts.different;
                ++m_counters.differences;
                m_different.emplace(other->record,
                                    m_different.size() < kDetailedRecords ? values : std::vector<HeldValue>{});
                return;
            }
        }
        ++m_counts.extra;
        ++m_counters.differences;
        m_channel.showStatus(std::string(kExtraRowLine) + rowText(m_columns, values), false, false, 0, true);
    }

    // The missing and the different records, in record order; the different ones with the
    // columns that differ, read again from the Access table.
    void reportRecords() {
        std::vector<std::int64_t> missing;
        for (const Entry& entry : m_entries) {
            if (!entry.paired) missing.push_back(entry.record);
        }
        std::sort(missing.begin(), missing.end());
        m_counts.missing = static_cast<std::int64_t>(missing.size());
        m_counters.differences += m_counts.missing;
        std::map<std::int64_t, std::string> columns = differingColumns();
        auto gone = missing.begin();
        for (const auto& [record, server] : m_different) {
            for (; gone != missing.end() && *gone < record; ++gone) postMissing(*gone);
            std::string line = std::string(kDifferentRecordLine) + std::to_string(record);
            const auto found = columns.find(record);
            if (found != columns.end()) line += ": " + found->second;
            m_channel.showStatus(line, false, false, 0, true);
        }
        for (; gone != missing.end(); ++gone) postMissing(*gone);
    }

    void postMissing(std::int64_t record) {
        m_channel.showStatus(std::string(kMissingRecordLine) + std::to_string(record) + ": not on the server", false,
                             false, 0, true);
    }

    // "Name holds 'x' on the server, 'y' in the Access table; …" for each different record
    // whose server values were kept.
    std::map<std::int64_t, std::string> differingColumns() {
        std::map<std::int64_t, std::string> texts;
        if (m_different.empty() || m_different.begin()->second.empty()) return texts;
        source::AccessDatabase database(m_request.databasePath, m_request.readOptions);
        std::int64_t record = 0;
        for (source::Recordset set = database.openRecordset(m_request.design.name); !set.eof(); set.moveNext()) {
            const auto found = m_different.find(++record);
            if (found == m_different.end() || found->second.empty()) continue;
            const std::vector<HeldValue> expected = expectedRow(m_columns, set.values());
            std::string& text = texts[record];
            for (std::size_t i = 0; i < m_columns.size(); ++i) {
                std::string held, wanted;
                source::appendCanonical(held, found->second[i]);
                source::appendCanonical(wanted, expected[i]);
                if (held == wanted) continue;
                if (!text.empty()) text += "; ";
                text += m_columns[i].name + " holds " + source::describeHeld(m_columns[i].held, found->second[i]) +
                        " on the server, " + source::describeHeld(m_columns[i].held, expected[i]) +
                        " in the Access table";
            }
        }
        return texts;
    }

    Connection& m_connection;
    const CheckRequest& m_request;
    shell::StatusChannel& m_channel;
    CopyCounters& m_counters;
    const std::vector<Column> m_columns;
    const std::vector<std::size_t> m_key;
    std::vector<Entry> m_entries;
    // The different records, with their server values while fewer than kDetailedRecords.
    std::map<std::int64_t, std::vector<HeldValue>> m_different;
    CheckCounts m_counts;
};

std::string secondsText(double seconds) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 1).ptr;
    return std::string(buffer, end);
}

} // namespace

CheckCounts CheckCopiedRecords(Connection& connection, const CheckRequest& request, shell::StatusChannel& channel,
                               CopyCounters& counters) {
    return Check(connection, request, channel, counters).run();
}

void CheckCopiedTable(const DirectLogin& login, const CheckRequest& request, shell::StatusChannel& channel,
                      CopyCounters& counters) {
    const auto started = std::chrono::steady_clock::now();
    std::optional<DirectConnection> direct;
    try {
        direct.emplace(OpenDirectConnection(login));
    } catch (const Error& error) {
        for (const DiagnosticRecord& record : error.records()) {
            channel.showStatus("Error number: " + std::to_string(record.nativeError) + " " + serverText(record.message),
                               false, false, 0, true);
        }
        channel.showStatus("Nothing was checked: the connection could not be opened", true);
        return;
    }
    const CheckCounts check = CheckCopiedRecords(direct->connection(), request, channel, counters);
    counters.checkComplete = check.complete;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    channel.showStatus(summaryLine(check.records, -1, -1, check.verified, check.complete, seconds), true);
}

std::string summaryLine(std::int64_t read, std::int64_t copied, std::int64_t rejected, std::int64_t verified,
                        bool checked, double seconds) {
    std::string line = "Records read " + std::to_string(read);
    if (copied >= 0) line += ", copied " + std::to_string(copied);
    if (rejected >= 0) line += ", rejected " + std::to_string(rejected);
    line += checked ? ", verified " + std::to_string(verified) : ", not verified";
    const double rate = static_cast<double>(read) / std::max(seconds, 0.001);
    return line + ", in " + secondsText(seconds) + " s (" + std::to_string(static_cast<std::int64_t>(rate)) +
           " records/s)";
}

} // namespace kavero::odbc

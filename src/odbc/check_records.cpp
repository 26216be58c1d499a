// The check after a copy. The Access side is read first into an index of one entry per
// record: the canonical form of its key values (when paired by key), a 128-bit digest of all
// its expected values and its number. The server's rows are then read one page at a time and
// each is looked up there, so memory holds the index and one page, never the server's table.
// Only the records found different are read again, for the columns that differ.
#include "odbc/check_records.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
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

// Server rows per page: each page is a query of its own, so a page of a thousand rows made the
// queries a good part of the check's time. A page is fetched as one block into bound buffers
// of at most kBlockBytes, fewer rows a page when its rows are wide, so a page stays a few
// megabytes even for rows with long memos. A long column (TEXT, BLOB) is bound
// kFirstLongWidth bytes wide and widened to its longest value so far, up to kWidestLong; past
// that, its pages are read a row at a time.
constexpr int kPageRows = 5000;
constexpr std::size_t kBlockBytes = 8 << 20;
constexpr std::size_t kFirstLongWidth = 1024;
constexpr std::size_t kWidestLong = 64 * 1024;
// Server rows read between two status lines (and steps of the bar).
constexpr int kLineRows = 1000;
// Differences reported with the columns that differ; later ones name only the record.
constexpr std::size_t kDetailedRecords = 1000;
// Characters of an extra row's values in its line.
constexpr std::size_t kShownRowCharacters = 200;

std::uint64_t tailWord(std::string_view bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data(), bytes.size());
    return word;
}

// FNV-1a over 128 bits, eight bytes a step instead of one (a multiplication a byte was a good
// part of the check's time). Each step maps the state one to one for a given word, so forms of
// one length that differ in a single word never share a digest; values not made to collide
// share one by a chance of about 2^-128.
Digest digestOf(std::string_view bytes) {
    constexpr Digest kPrime = (static_cast<Digest>(1) << 88) + 0x13B;
    Digest hash = (static_cast<Digest>(0x6c62272e07bb0142ULL) << 64) | 0x62b821756295c58dULL;
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        hash ^= word;
        hash *= kPrime;
    }
    // The last bytes, padded with zeros, and the length, so that padding and bytes differ.
    for (const std::uint64_t word : {tailWord(bytes.substr(at)), static_cast<std::uint64_t>(bytes.size())}) {
        hash ^= word;
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
    std::uint8_t share = 0; // of the table's pages it was read in, while its number is the share's
};

bool keyBefore(const Entry& a, const Entry& b) {
    return a.key < b.key;
}
bool entryBefore(const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    if (a.digest != b.digest) return a.digest < b.digest;
    return a.record < b.record;
}

// Where each run of entries of one key and one digest lies in the sorted entries, found by
// hashing: a binary search over every record went to memory a dozen times a row, and most
// tables are paired without a key, all their entries of one (empty) key.
class RunIndex {
public:
    explicit RunIndex(const std::vector<Entry>& entries) : m_entries(entries) {
        std::size_t runs = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) runs += startsRun(i) ? 1 : 0;
        m_slots.assign(std::bit_ceil(std::max<std::size_t>(2 * runs, 16)), {});
        for (std::size_t i = 0; i < entries.size();) {
            std::size_t end = i + 1;
            while (end < entries.size() && !startsRun(end)) ++end;
            std::size_t slot = hashOf(entries[i].key, entries[i].digest);
            while (m_slots[slot & mask()].end != 0) ++slot;
            m_slots[slot & mask()] = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(end)};
            i = end;
        }
    }

    // The run of `key` and `digest` as [first, end), empty when no entry has them.
    std::pair<std::size_t, std::size_t> find(std::string_view key, Digest digest) const {
        for (std::size_t slot = hashOf(key, digest);; ++slot) {
            const Run& run = m_slots[slot & mask()];
            if (run.end == 0) return {0, 0};
            const Entry& first = m_entries[run.first];
            if (first.digest == digest && first.key == key) return {run.first, run.end};
        }
    }

private:
    struct Run {
        std::uint32_t first = 0;
        std::uint32_t end = 0; // 0 for a free slot
    };

    bool startsRun(std::size_t i) const {
        return i == 0 || m_entries[i].digest != m_entries[i - 1].digest || m_entries[i].key != m_entries[i - 1].key;
    }
    std::size_t mask() const { return m_slots.size() - 1; }
    static std::size_t hashOf(std::string_view key, Digest digest) {
        return static_cast<std::size_t>(digest) ^ std::hash<std::string_view>{}(key);
    }

    const std::vector<Entry>& m_entries;
    std::vector<Run> m_slots;
};

// The canonical forms of a row, all its values and its key values, into buffers kept from row
// to row.
struct RowForm {
    std::string all;
    std::string key;
};

void rowForm(const std::vector<HeldValue>& values, const std::vector<std::size_t>& key, RowForm& form) {
    form.all.clear();
    form.key.clear();
    for (const HeldValue& value : values) source::appendCanonical(form.all, value);
    for (std::size_t k : key) source::appendCanonical(form.key, values[k]);
}

void expectedRow(const std::vector<Column>& columns, const std::vector<jet::Value>& record,
                 std::vector<HeldValue>& values) {
    values.resize(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i)
        values[i] = source::expectedHeld(columns[i].held, record[columns[i].recordIndex]);
}

std::vector<HeldValue> expectedRow(const std::vector<Column>& columns, const std::vector<jet::Value>& record) {
    std::vector<HeldValue> values;
    expectedRow(columns, record, values);
    return values;
}

// How a column is bound to be read as its held type says.
BoundColumn boundFor(HeldType type, const Statement& result, int column) {
    switch (type) {
    case HeldType::Integer:
        return {BoundForm::Integer, 0};
    case HeldType::Double:
    case HeldType::Single:
        return {BoundForm::Double, 0};
    case HeldType::Decimal:
    case HeldType::DateTime:
    case HeldType::DateTimeOrNull:
    case HeldType::ExtendedDateTimeOrNull:
        // Read as the server writes them: the driver gives the zero date as NULL otherwise.
        return {BoundForm::Text, std::max(result.columnCharacters(column), result.columnBytes(column))};
    case HeldType::Text:
    case HeldType::TextOrNull:
    case HeldType::Bytes:
    case HeldType::None:
        break;
    }
    return {BoundForm::Bytes, result.columnBytes(column)};
}

// The value of a column into `value`, which keeps the room of a text it held before.
void readHeld(RowBlock& block, std::size_t row, int column, HeldType type, HeldValue& value) {
    const auto orNull = [&value](const auto& read) {
        if (read)
            value = *read;
        else
            value = source::HeldNull{};
    };
    switch (type) {
    case HeldType::Integer:
        return orNull(block.integer(row, column));
    case HeldType::Double:
        return orNull(block.real(row, column));
    case HeldType::Single: {
        const std::optional<double> read = block.real(row, column);
        if (!read)
            value = source::HeldNull{};
        else
            value = static_cast<float>(*read); // the Single the column's value stands for
        return;
    }
    case HeldType::Decimal:
    case HeldType::DateTime:
    case HeldType::DateTimeOrNull:
    case HeldType::ExtendedDateTimeOrNull: {
        const std::optional<std::string_view> text = block.bytes(row, column);
        if (!text) {
            value = source::HeldNull{};
        } else if (type == HeldType::Decimal) {
            if (const auto decimal = source::parseHeldDecimal(*text))
                value = *decimal;
            else
                value = std::string(*text);
        } else if (const auto date = source::parseHeldDate(*text)) {
            value = *date;
        } else {
            value = std::string(*text);
        }
        return;
    }
    case HeldType::Text:
    case HeldType::TextOrNull:
    case HeldType::Bytes:
    case HeldType::None:
        break;
    }
    const std::optional<std::string_view> bytes = block.bytes(row, column);
    if (!bytes)
        value = source::HeldNull{};
    else if (auto* held = std::get_if<std::string>(&value))
        held->assign(*bytes);
    else
        value.emplace<std::string>(*bytes);
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
// when there is one (the driver keeps a whole result in memory), else in one result. Each page
// is fetched as one block; a page that brought a long value cut short is read again with the
// column wider, or a row at a time.
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
        while (m_row == m_rowsInBlock) {
            if (!fetchBlock()) return false;
        }
        const int first = m_pageKey.empty() ? 1 : 2;
        values.resize(m_columns.size());
        if (m_oneByOne && !m_pageKey.empty()) readPageKey(m_row);
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            readHeld(*m_block, m_row, first + static_cast<int>(i), m_columns[i].held, values[i]);
        }
        ++m_row;
        return true;
    }

private:
    // Brings the next block into m_block; false after the last row.
    bool fetchBlock() {
        for (;;) {
            if (m_ended) return false;
            if (!m_open) {
                openPage();
                if (!m_open) continue; // the first page binds the columns and may be read again
            }
            m_row = 0;
            m_rowsInBlock = m_block->fetch();
            if (m_rowsInBlock > 0 && !m_oneByOne && !m_pageKey.empty() && !allFit()) {
                widen(); // and the page again, before any of its rows is taken
                m_open = false;
                continue;
            }
            if (m_rowsInBlock > 0) {
                m_rowsInPage += static_cast<int>(m_rowsInBlock);
                if (!m_oneByOne && !m_pageKey.empty()) readPageKey(m_rowsInBlock - 1);
                return true;
            }
            m_open = false;
            // A page without a key value cannot be followed.
            m_ended = m_pageKey.empty() || m_rowsInPage < m_pageRows || !m_lastKey;
        }
    }

    void openPage() {
        if (m_pageKey.empty()) {
            m_statement.execute(m_select);
        } else {
            const std::string order = " ORDER BY " + m_pageKey + " LIMIT " + std::to_string(m_pageRows);
            if (!m_lastKey) {
                m_statement.execute(m_select + order);
            } else {
                // The key goes back as what the column holds, so the server compares values,
                // never a text with a number or a date by some conversion of its choosing.
                const char* value = m_form == ColumnForm::Decimal    ? "CAST(? AS DECIMAL(65,30))"
                                    : m_form == ColumnForm::DateTime ? "CAST(? AS DATETIME(6))"
                                                                     : "?";
                m_statement.execute(m_select + " WHERE " + m_pageKey + " > " + value + order, {*m_lastKey});
            }
        }
        m_open = true;
        m_rowsInPage = 0;
        if (m_block) return;
        // The first page: the columns' sizes come with its result.
        std::vector<BoundColumn> bound;
        const int first = m_pageKey.empty() ? 1 : 2;
        if (!m_pageKey.empty()) {
            m_form = m_statement.columnForm(1);
            const BoundForm form = m_form == ColumnForm::Integer  ? BoundForm::Integer
                                   : m_form == ColumnForm::Double ? BoundForm::Double
                                   : m_form == ColumnForm::Bytes  ? BoundForm::Bytes
                                                                  : BoundForm::Text;
            bound.push_back({form, std::max(m_statement.columnCharacters(1), m_statement.columnBytes(1))});
        }
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            bound.push_back(boundFor(m_columns[i].held, m_statement, first + static_cast<int>(i)));
        }
        bool cut = false; // some values may not fit
        for (BoundColumn& column : bound) {
            if (column.form != BoundForm::Bytes && column.form != BoundForm::Text) continue;
            if (column.width == 0 || column.width > kFirstLongWidth) { // 0: the driver does not say
                column.width = kFirstLongWidth;
                cut = true;
            }
        }
        // Without pages a block cannot be read again: one that may cut values goes a row at a
        // time.
        m_oneByOne = cut && m_pageKey.empty();
        if (m_oneByOne) {
            for (BoundColumn& column : bound) column.width = std::min<std::size_t>(column.width * 64, kWidestLong);
        }
        bind(std::move(bound));
        if (!m_pageKey.empty() && m_pageRows != kPageRows) m_open = false; // this page again, shorter
    }

    void bind(std::vector<BoundColumn> columns) {
        std::size_t rowBytes = 0;
        for (const BoundColumn& column : columns) rowBytes += column.width + 2 * sizeof(std::int64_t);
        const std::size_t rows = std::clamp<std::size_t>(kBlockBytes / rowBytes, 1, kPageRows);
        if (!m_pageKey.empty()) m_pageRows = static_cast<int>(rows);
        m_block.reset();
        m_block.emplace(m_statement, std::move(columns), rows);
        if (m_oneByOne) m_block->setRows(1);
    }

    bool allFit() const {
        for (std::size_t row = 0; row < m_rowsInBlock; ++row) {
            for (std::size_t c = 0; c < m_block->columns().size(); ++c) {
                if (!m_block->fits(row, static_cast<int>(c + 1))) return false;
            }
        }
        return true;
    }

    // Each column that cut a value of the block to its longest value; past kWidestLong, the
    // pages from now on go a row at a time.
    void widen() {
        std::vector<BoundColumn> columns = m_block->columns();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            std::size_t longest = 0;
            for (std::size_t row = 0; row < m_rowsInBlock; ++row) {
                if (!m_block->fits(row, static_cast<int>(c + 1)))
                    longest = std::max(longest, m_block->length(row, static_cast<int>(c + 1)));
            }
            if (longest == 0) continue;
            if (longest > kWidestLong) m_oneByOne = true;
            columns[c].width = std::min(std::bit_ceil(longest), kWidestLong);
        }
        bind(std::move(columns));
    }

    void readPageKey(std::size_t row) {
        m_lastKey.reset();
        switch (m_form) {
        case ColumnForm::Integer:
            if (const auto v = m_block->integer(row, 1)) m_lastKey = *v;
            break;
        case ColumnForm::Double:
            if (const auto v = m_block->real(row, 1)) m_lastKey = *v;
            break;
        case ColumnForm::Bytes:
            if (const auto v = m_block->bytes(row, 1)) m_lastKey = ParameterBytes{std::string(*v)};
            break;
        case ColumnForm::Decimal:
        case ColumnForm::DateTime:
        case ColumnForm::Text:
            if (const auto v = m_block->bytes(row, 1)) m_lastKey = std::string(*v);
            break;
        }
    }

    Statement m_statement;
    const std::vector<Column>& m_columns;
    std::string m_select;
    std::string m_pageKey; // the quoted key column, empty without paging
    ColumnForm m_form = ColumnForm::Text;
    std::optional<Parameter> m_lastKey;
    std::optional<RowBlock> m_block;
    int m_pageRows = kPageRows;
    bool m_oneByOne = false; // blocks of one row, whose long values are read whole
    bool m_open = false;
    bool m_ended = false;
    int m_rowsInPage = 0;
    std::size_t m_rowsInBlock = 0;
    std::size_t m_row = 0; // the next row of the block
};

std::int32_t barSteps(std::int64_t total) {
    const std::int64_t steps = 1 + total / kLineRows;
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

    // The index of the Access table's records, read in shares of its pages at once. The shares
    // add their entries to the one index in batches, numbered from 1 in each share; once every
    // share is read, a share's numbers follow the records of the shares before it. The index
    // is sorted afterwards, so the order the batches arrive in does not matter, and it is
    // never held twice.
    bool readAccessTable() {
        constexpr std::size_t kBatch = 1024;
        const std::size_t shares = source::readingShares();
        std::vector<std::int64_t> counts(shares, 0);
        std::mutex taking;
        m_entries.reserve(static_cast<std::size_t>(std::max<std::int64_t>(m_request.total, 0)));
        source::readInShares(shares, [&](std::size_t index) {
            source::AccessDatabase database(m_request.databasePath, m_request.readOptions);
            std::vector<HeldValue> values;
            RowForm form;
            std::vector<Entry> batch;
            batch.reserve(kBatch);
            const auto hand = [&] {
                const std::lock_guard lock(taking);
                std::move(batch.begin(), batch.end(), std::back_inserter(m_entries));
                batch.clear();
            };
            std::int64_t& record = counts[index];
            for (source::Recordset set = database.openRecordset(m_request.design.name, {index, shares}); !set.eof();
                 set.moveNext()) {
                if (m_channel.stopRequested()) return;
                expectedRow(m_columns, set.values(), values);
                rowForm(values, m_key, form);
                batch.push_back({form.key, digestOf(form.all), ++record, false, static_cast<std::uint8_t>(index)});
                if (batch.size() == kBatch) hand();
            }
            hand();
        });
        if (m_channel.stopRequested()) return false;
        std::vector<std::int64_t> before(shares, 0);
        for (std::size_t index = 1; index < shares; ++index) before[index] = before[index - 1] + counts[index - 1];
        for (Entry& entry : m_entries) entry.record += before[entry.share];
        std::erase_if(m_entries, [&](const Entry& entry) {
            return std::binary_search(m_request.rejected.begin(), m_request.rejected.end(), entry.record);
        });
        m_counts.records = before.back() + counts.back();
        std::sort(m_entries.begin(), m_entries.end(), entryBefore);
        m_runs.emplace(m_entries);
        return true;
    }

    bool readServerRows() {
        ServerRows rows(m_connection, m_request.design.name, m_columns);
        std::vector<HeldValue>& values = m_values;
        std::int64_t read = 0;
        while (rows.next(values)) {
            ++read;
            m_counters.checked = read;
            if (read % kLineRows == 0) {
                if (m_channel.stopRequested()) return false;
                m_channel.showStatus("Checked " + std::to_string(read) + " rows on the server");
            }
            pair(values);
        }
        if (read % kLineRows != 0 || read == 0) {
            m_channel.showStatus("Checked " + plural(read, "row", "rows") + " on the server");
        }
        return true;
    }

    // Pairs a server row with the first unpaired record of the same values (and key), or else,
    // by key alone, with a record whose values differ; a row paired with nothing is extra.
    void pair(const std::vector<HeldValue>& values) {
        rowForm(values, m_key, m_form);
        const auto [begin, end] = m_runs->find(m_form.key, digestOf(m_form.all));
        const auto first = m_entries.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto last = m_entries.begin() + static_cast<std::ptrdiff_t>(end);
        // Rows of the same values are paired in record order, so the paired ones come first.
        const auto same = std::partition_point(first, last, [](const Entry& e) { return e.paired; });
        if (same != last) {
            same->paired = true;
            ++m_counts.verified;
            ++m_counters.verified;
            return;
        }
        if (!m_key.empty()) {
            Entry probe{m_form.key, 0, 0};
            const auto [keyFirst, keyLast] = std::equal_range(m_entries.begin(), m_entries.end(), probe, keyBefore);
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
    std::optional<RunIndex> m_runs;  // over m_entries, once they are sorted
    std::vector<HeldValue> m_values; // a record's or a row's, kept for their room
    RowForm m_form;
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

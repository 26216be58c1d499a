// Every fixture read back by the independent readers (npm mdb-reader and mdbtools) must
// give, cell by cell, what the writer was told to write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "expected_cells.h"
#include "jet/writer/fixtures.h"
#include "reader_output.h"

namespace kavero::jet::writer::test {
namespace {

const char* const kDateFormat = "%Y-%m-%d %H:%M:%S";
constexpr int kMaxReportedDifferences = 20;

bool underCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

class FixtureReadBack : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        m_file = std::filesystem::path(KAVERO_FIXTURE_DIR) / (GetParam() + ".mdb");
        ASSERT_TRUE(std::filesystem::exists(m_file)) << m_file << " was not written by the build";
        m_db = fixture(GetParam()).build();
    }

    // The readers are installed by scripts/install-deps.sh; outside CI a missing one skips.
    bool readerMissing(const std::string& program) {
        if (haveProgram(program)) return false;
        if (underCi()) ADD_FAILURE() << program << " is not installed";
        return true;
    }
    bool oracleMissing() {
        if (readerMissing("node")) return true;
        if (run({"node", KAVERO_ORACLE_SCRIPT, m_file.string()}).status == 0) return false;
        if (underCi()) ADD_FAILURE() << "the mdb-reader oracle does not run; run scripts/install-deps.sh";
        return true;
    }

    std::vector<std::string> userTables() const {
        std::vector<std::string> names;
        for (const Table& t : m_db.tables)
            if (!t.system) names.push_back(t.name);
        return names;
    }

    // Compares printed records with the description. expectFor gives nullopt for a cell the
    // reader leaves out.
    template <class ExpectFor>
    void compareRecords(const Table& table, const std::string& reader, const std::vector<std::string>& printed,
                        ExpectFor expectFor) {
        ASSERT_EQ(printed.size(), table.rowCount()) << reader << " record count of table \"" << table.name << "\"";
        int differences = 0;
        for (std::size_t r = 0; r < printed.size() && differences < kMaxReportedDifferences; ++r) {
            const Record record = parseRecord(printed[r]);
            const Row row = table.rowAt(r);
            std::map<std::string, const Cell*> byName;
            for (const auto& [name, cell] : record) byName[name] = &cell;
            std::size_t expectedKeys = 0;
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                const Column& column = table.columns[c];
                const std::optional<Cell> expected = expectFor(column, row[c]);
                const auto found = byName.find(column.name);
                if (expected) ++expectedKeys;
                if (!expected && found == byName.end()) continue;
                if (!expected || found == byName.end() || !sameCell(column, *expected, *found->second)) {
                    ++differences;
                    ADD_FAILURE() << reader << ", table \"" << table.name << "\", record " << r + 1 << ", column \""
                                  << column.name << "\": expected "
                                  << (expected ? describe(*expected) : std::string("(absent)")) << ", read "
                                  << (found == byName.end() ? std::string("(absent)") : describe(*found->second));
                }
            }
            if (record.size() != expectedKeys) {
                ++differences;
                ADD_FAILURE() << reader << ", table \"" << table.name << "\", record " << r + 1 << ": " << record.size()
                              << " cells printed, " << expectedKeys << " expected";
            }
        }
    }

    std::filesystem::path m_file;
    Database m_db;
};

TEST_P(FixtureReadBack, MdbReaderListsTheUserTablesInOrder) {
    if (oracleMissing()) GTEST_SKIP() << "mdb-reader oracle not available";
    const CommandResult out = run({"node", KAVERO_ORACLE_SCRIPT, m_file.string()});
    ASSERT_EQ(out.status, 0);
    EXPECT_EQ(lines(out.out), userTables());
}

TEST_P(FixtureReadBack, MdbtoolsListsTheUserTablesInOrder) {
    if (readerMissing("mdb-tables")) GTEST_SKIP() << "mdbtools not installed";
    const CommandResult out = run({"mdb-tables", "-1", m_file.string()});
    ASSERT_EQ(out.status, 0);
    EXPECT_EQ(lines(out.out), userTables());
}

TEST_P(FixtureReadBack, MdbReaderReadsEveryCell) {
    if (oracleMissing()) GTEST_SKIP() << "mdb-reader oracle not available";
    const auto flatTable = [&](const Column& c) -> const Table& {
        return *std::find_if(m_db.tables.begin(), m_db.tables.end(),
                             [&](const Table& t) { return t.name == c.flatTable; });
    };
    const auto attachments = [&](const Column& c) {
        const Table& flat = flatTable(c);
        return std::any_of(flat.columns.begin(), flat.columns.end(),
                           [](const Column& f) { return f.name == "FileData"; });
    };
    for (const Table& table : m_db.tables) {
        const CommandResult out = run({"node", KAVERO_ORACLE_SCRIPT, m_file.string(), table.name});
        // mdb-reader reads every complex field as attachments, so a multi-value field fails its
        // whole table.
        const bool multiValue = std::any_of(table.columns.begin(), table.columns.end(), [&](const Column& c) {
            return c.type == FieldType::Complex && !attachments(c);
        });
        if (multiValue) {
            EXPECT_NE(out.status, 0) << "mdb-reader now reads the multi-value field of \"" << table.name << "\"";
            continue;
        }
        ASSERT_EQ(out.status, 0) << "mdb-reader failed on table \"" << table.name << "\"";
        compareRecords(table, "mdb-reader", lines(out.out), [&](const Column& c, const Value& v) {
            if (c.type == FieldType::Complex)
                return std::optional<Cell>(mdbReaderAttachments(flatTable(c), c, std::get<std::int64_t>(v)));
            return std::optional<Cell>(mdbReaderCell(c, v));
        });
    }
}

TEST_P(FixtureReadBack, MdbtoolsReadsEveryCell) {
    if (readerMissing("mdb-json")) GTEST_SKIP() << "mdbtools not installed";
    for (const Table& table : m_db.tables) {
        const CommandResult out = run({"mdb-json", "-D", kDateFormat, "-T", kDateFormat, m_file.string(), table.name});
        ASSERT_EQ(out.status, 0) << "mdb-json failed on table \"" << table.name << "\"";
        compareRecords(table, "mdb-json", lines(out.out), mdbJsonCell);
    }
}

TEST_P(FixtureReadBack, KaveroReaderReadsEveryCell) {
    for (const Table& table : m_db.tables) {
        const CommandResult out = run({KAVERO_CLI, "dump", m_file.string(), table.name});
        ASSERT_EQ(out.status, 0) << "kavero-cli dump failed on table \"" << table.name << "\"";
        compareRecords(table, "kavero-cli dump", lines(out.out),
                       [](const Column& c, const Value& v) { return std::optional<Cell>(kaveroCell(c, v)); });
    }
}

// The table list hides every name that starts with "MSys" (exactly so), and system tables.
TEST_P(FixtureReadBack, KaveroListsTheUserTablesTheTableListShows) {
    const CommandResult out = run({KAVERO_CLI, "tables", "--allow-spaces", m_file.string()});
    ASSERT_EQ(out.status, 0);
    std::vector<std::string> expected;
    for (const std::string& name : userTables())
        if (name.rfind("MSys", 0) != 0) expected.push_back(name);
    EXPECT_EQ(lines(out.out), expected);
}

const char* typeName(FieldType t) {
    switch (t) {
    case FieldType::Boolean:
        return "boolean";
    case FieldType::Byte:
        return "byte";
    case FieldType::Integer:
        return "integer";
    case FieldType::Long:
        return "long";
    case FieldType::Currency:
        return "currency";
    case FieldType::Single:
        return "float";
    case FieldType::Double:
        return "double";
    case FieldType::DateTime:
        return "datetime";
    case FieldType::Binary:
        return "binary";
    case FieldType::Text:
        return "text";
    case FieldType::Ole:
        return "ole";
    case FieldType::Memo:
        return "memo";
    case FieldType::Guid:
        return "repid";
    case FieldType::Decimal:
        return "numeric";
    case FieldType::ExtendedDate:
        return "datetimextended";
    case FieldType::Complex:
        return "complex";
    }
    return "?";
}

int sizeOf(const Column& c) {
    switch (c.type) {
    case FieldType::Boolean:
    case FieldType::Memo:
    case FieldType::Ole:
        return 0;
    case FieldType::Byte:
        return 1;
    case FieldType::Integer:
        return 2;
    case FieldType::Long:
    case FieldType::Single:
    case FieldType::Complex:
        return 4;
    case FieldType::Currency:
    case FieldType::Double:
    case FieldType::DateTime:
        return 8;
    case FieldType::Guid:
        return 16;
    case FieldType::Decimal:
        return 17;
    case FieldType::ExtendedDate:
        return 42;
    case FieldType::Text:
        return 2 * c.length;
    case FieldType::Binary:
        return c.length;
    }
    return -1;
}

TEST_P(FixtureReadBack, MdbReaderSeesEveryColumnWithItsTypeAndSize) {
    if (oracleMissing()) GTEST_SKIP() << "mdb-reader oracle not available";
    for (const Table& table : m_db.tables) {
        const CommandResult out = run({"node", KAVERO_ORACLE_SCRIPT, m_file.string(), table.name, "--columns"});
        ASSERT_EQ(out.status, 0);
        const std::vector<std::string> printed = lines(out.out);
        ASSERT_EQ(printed.size(), table.columns.size()) << table.name;
        for (std::size_t c = 0; c < printed.size(); ++c) {
            const Record r = parseRecord(printed[c]);
            ASSERT_EQ(r.size(), 3u);
            EXPECT_EQ(r[0].second.text, table.columns[c].name) << table.name;
            EXPECT_EQ(r[1].second.text, typeName(table.columns[c].type)) << table.name << "." << table.columns[c].name;
            EXPECT_EQ(r[2].second.text, std::to_string(sizeOf(table.columns[c])))
                << table.name << "." << table.columns[c].name;
        }
    }
}

// mdb-prop prints one block per property chunk: "name: <column>" then "\t<property>: <value>".
std::map<std::string, std::map<std::string, std::string>> parseProperties(const std::string& text) {
    std::map<std::string, std::map<std::string, std::string>> out;
    std::string current;
    for (const std::string& line : lines(text)) {
        if (line.rfind("name: ", 0) == 0) {
            current = line.substr(6);
            out[current];
        } else if (!line.empty() && line[0] == '\t') {
            const std::size_t colon = line.find(": ");
            out[current][line.substr(1, colon - 1)] = line.substr(colon + 2);
        }
    }
    return out;
}

TEST_P(FixtureReadBack, MdbtoolsReadsEveryColumnProperty) {
    if (readerMissing("mdb-prop")) GTEST_SKIP() << "mdbtools not installed";
    for (const Table& table : m_db.tables) {
        if (table.system) continue;
        const CommandResult out = run({"mdb-prop", m_file.string(), table.name});
        ASSERT_EQ(out.status, 0) << table.name;
        if (!table.withProperties) {
            EXPECT_EQ(out.out, "No properties.\n") << table.name;
            continue;
        }
        std::map<std::string, std::map<std::string, std::string>> expected;
        expected["(none)"];
        for (const Column& c : table.columns) {
            std::map<std::string, std::string> props;
            if (c.defaultValue) props["DefaultValue"] = *c.defaultValue;
            if (c.required) props["Required"] = *c.required ? "yes" : "no";
            if (c.allowZeroLength) props["AllowZeroLength"] = *c.allowZeroLength ? "yes" : "no";
            if (!props.empty()) expected[c.name] = props;
        }
        EXPECT_EQ(parseProperties(out.out), expected) << table.name;
    }
}

TEST_P(FixtureReadBack, MdbtoolsReadsEveryIndex) {
    if (readerMissing("mdb-schema")) GTEST_SKIP() << "mdbtools not installed";
    for (const Table& table : m_db.tables) {
        if (table.system) continue;
        const CommandResult out =
            run({"mdb-schema", "--indexes", "--no-relations", "-T", table.name, m_file.string(), "mysql"});
        ASSERT_EQ(out.status, 0) << table.name;
        std::vector<std::string> printed;
        for (const std::string& line : lines(out.out))
            if (line.rfind("ALTER TABLE", 0) == 0) printed.push_back(line);
        std::vector<std::string> expected;
        for (const Index& index : table.indexes) {
            std::string keys;
            for (const IndexKey& k : index.keys) {
                keys += (keys.empty() ? "`" : ", `") + k.column + "`";
                // mdbtools prints no DESC in primary keys.
                if (!k.ascending && !index.primary) keys += " DESC";
            }
            if (index.primary)
                expected.push_back("ALTER TABLE `" + table.name + "` ADD PRIMARY KEY (" + keys + ");");
            else
                expected.push_back("ALTER TABLE `" + table.name + "` ADD " + (index.unique ? "UNIQUE " : "") +
                                   "INDEX `" + index.name + "` (" + keys + ");");
        }
        EXPECT_EQ(printed, expected) << table.name;
    }
}

std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    for (const Fixture& f : fixtures()) names.push_back(f.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(AllFixtures, FixtureReadBack, ::testing::ValuesIn(fixtureNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace kavero::jet::writer::test

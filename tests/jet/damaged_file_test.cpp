// Damaged copies of real files, made here at named offsets: each must end in a FormatError
// with its number, or read correctly, and never crash or hang. Nothing may go missing
// without an error: what a damaged copy reads before its error is what the intact file holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

#include "jet/database.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

using Image = std::vector<std::byte>;
using Records = std::vector<std::vector<Value>>;

constexpr std::size_t kJet3Page = 2048;
constexpr std::size_t kJet4Page = 4096;

Image load(const std::string& relative) {
    return testing::readImage(testing::testdataPath(relative));
}

// Every table's records in catalog order, or only those of table `only`, up to the first error.
struct Reading {
    int number = 0; // of the error; 0 when everything read
    std::string description;
    std::vector<std::pair<std::string, Records>> tables;
};

Reading readEverything(const Image& image, const char* only = nullptr) {
    Reading reading;
    try {
        Database db("damaged", image);
        for (const CatalogEntry& entry : db.tables()) {
            if (only != nullptr && entry.name != only) continue;
            const TableDefinition table = db.table(entry.name);
            Records& records = reading.tables.emplace_back(entry.name, Records{}).second;
            RecordCursor cursor = db.records(table);
            std::vector<Value> row;
            while (cursor.next(row)) records.push_back(row);
        }
    } catch (const FormatError& e) {
        reading.number = e.number();
        reading.description = e.description();
    }
    return reading;
}

// True when `part` read nothing the intact reading does not hold, in the same order: whole
// tables first, then a prefix of the records of the table the error stopped.
bool readsPartOf(const Reading& part, const Reading& whole) {
    if (part.tables.size() > whole.tables.size()) return false;
    for (std::size_t t = 0; t < part.tables.size(); ++t) {
        const auto& [name, records] = part.tables[t];
        const Records& all = whole.tables[t].second;
        const bool last = t + 1 == part.tables.size() && part.number != 0;
        if (name != whole.tables[t].first || records.size() > all.size()) return false;
        if (!last && records.size() != all.size()) return false;
        if (!std::equal(records.begin(), records.end(), all.begin())) return false;
    }
    return part.number != 0 || part.tables.size() == whole.tables.size();
}

bool holdsControlByte(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A run of bytes set to one value.
struct Change {
    std::size_t at;
    std::size_t length;
    std::uint8_t value;
};

// A copy of `file` cut to `size` bytes (0 keeps its size) and changed, and its error.
struct Damage {
    const char* name;
    const char* file;
    std::size_t size;
    std::vector<Change> changes;
    int number;
    std::vector<std::string> says; // fragments the error text must hold
    const char* table = nullptr;   // read only this table, as `kavero-cli dump` does
    int recordsRead = -1;          // records of that table read before the error
    friend void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }
};

// compIndexTestV1997 Table1 (definition page 29): 512 records, 113 on each of data pages 31 to
// 34 and 60 on page 35. delColTestV2003 Table1: its 2 records on page 29. testV2003 Table1:
// definition page 24, its catalog row's name "Table1" in UCS-2 at page 14 + 2697, its second
// column name "B" at page 24 + 0x13C.
// clang-format off
const std::vector<Damage> kDamages = {
    // The page map lists pages that are not the table's data pages.
    {"MapListsPagePastTheEndJet4", "jet4/delColTestV2003.mdb", 29 * kJet4Page, {}, 3049,
     {"table 'Table1'", "page 29, past the end of the file (29 pages)"}, "Table1", 0},
    {"MapListsPagePastTheEndJet3", "jet3/compIndexTestV1997.mdb", 34 * kJet3Page, {}, 3049,
     {"table 'Table1'", "page 34, past the end"}, "Table1", 339},
    {"MapListsPageOfAnotherType", "jet3/compIndexTestV1997.mdb", 0, {{33 * kJet3Page, 1, 0x04}}, 3049,
     {"table 'Table1'", "page 33", "type 0x04"}, "Table1", 226},
    {"MapListsBlankPage", "jet3/compIndexTestV1997.mdb", 0, {{32 * kJet3Page, kJet3Page, 0}}, 3049,
     {"table 'Table1'", "page 32", "blank"}, "Table1", 113},
    {"MapListsAnotherTablesPage", "jet3/compIndexTestV1997.mdb", 0, {{35 * kJet3Page + 4, 1, 2}}, 3049,
     {"table 'Table1'", "page 35", "table defined at page 2"}, "Table1", 452},
    {"MapRowPointsOutsideTheFile", "jet4/testV2003.mdb", 0, {{24 * kJet4Page + 55, 1, 0}, {24 * kJet4Page + 56, 3, 0xFF}},
     3049, {"table 'Table1'", "owned-pages map", "page 16777215"}, "Table1", 0},
    // Names that Access cannot hold.
    {"TableNameWithControlByte", "jet4/testV2003.mdb", 0, {{14 * kJet4Page + 2699, 1, 0x01}}, 3049,
     {"table at definition page 24", "control character 0x01", "T\\x01ble1"}},
    {"ColumnNameWithNul", "jet4/testV2003.mdb", 0, {{24 * kJet4Page + 0x13E, 1, 0x00}}, 3049,
     {"table 'Table1' (definition page 24)", "column 2 of 9", "control character 0x00"}, "Table1"},
    // Cut files, broken headers and definitions.
    {"CutInsideAPage", "jet4/testV2003.mdb", 10 * kJet4Page + 100, {}, 3343, {"not a whole number of 4096-byte pages"}},
    {"CutBeforeTheCatalog", "jet4/testV2003.mdb", 2 * kJet4Page, {}, 3343, {"8192 bytes is too short", "at least 3 pages"}},
    {"CutBeforeADefinition", "jet4/testV2003.mdb", 20 * kJet4Page, {}, 3049,
     {"table 'Table1' (definition page 24)", "page 24 lies past the end of the file"}, "Table1"},
    {"VersionByteSaysAce", "jet3/testV1997.mdb", 0, {{0x14, 1, 7}}, 3343, {"does not match version byte 7"}},
    {"EngineNameChanged", "jet4/testV2003.mdb", 0, {{0x04, 1, 'X'}}, 3343, {"engine name"}},
    {"CatalogPageOfWrongType", "jet4/testV2003.mdb", 0, {{2 * kJet4Page, 1, 0x01}}, 3049,
     {"MSysObjects", "page 2", "found type 0x01"}},
    {"DefinitionLengthWrong", "jet4/testV2003.mdb", 0, {{2 * kJet4Page + 8, 1, 0xE7}, {2 * kJet4Page + 9, 1, 3}}, 3049,
     {"MSysObjects", "its stored length says 999"}},
    {"ColumnCountTooHigh", "jet4/testV2003.mdb", 0, {{2 * kJet4Page + 45, 2, 0xFF}}, 3049, {"65535 columns"}},
    {"RealIndexCountTooHigh", "jet4/testV2003.mdb", 0, {{2 * kJet4Page + 51, 3, 0xFF}, {2 * kJet4Page + 54, 1, 0x7F}},
     3049, {"real index headers"}},
    {"DefinitionChainLoops", "jet4/testV2003.mdb", 0, {{2 * kJet4Page + 4, 1, 2}}, 3049, {"returns to page 2"}},
};
// clang-format on

class DamagedFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFile, EndsInItsErrorAfterReadingOnlyWhatIsIntact) {
    KAVERO_REQUIRE_TESTDATA();
    const Damage& damage = GetParam();
    const Image original = load(damage.file);
    Image image = original;
    if (damage.size != 0) image.resize(damage.size);
    for (const Change& change : damage.changes) {
        for (std::size_t i = 0; i < change.length; ++i) image.at(change.at + i) = std::byte{change.value};
    }
    const Reading reading = readEverything(image, damage.table);
    ASSERT_EQ(reading.number, damage.number) << reading.description;
    for (const std::string& text : damage.says) {
        EXPECT_NE(reading.description.find(text), std::string::npos)
            << "no \"" << text << "\" in " << reading.description;
    }
    EXPECT_FALSE(holdsControlByte(reading.description));
    EXPECT_TRUE(readsPartOf(reading, readEverything(original, damage.table)));
    if (damage.recordsRead >= 0) {
        ASSERT_EQ(reading.tables.size(), 1u);
        EXPECT_EQ(reading.tables[0].second.size(), static_cast<std::size_t>(damage.recordsRead));
    }
}

INSTANTIATE_TEST_SUITE_P(NamedOffsets, DamagedFile, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DamagedFiles, LongValueChainThatLoopsIsDamage) {
    KAVERO_REQUIRE_TESTDATA();
    Image image = load("jet4/test2V2003.mdb");
    // Every row of every LVAL page points at itself as its next row.
    int pages = 0;
    for (std::size_t page = 1; page < image.size() / kJet4Page; ++page) {
        const std::size_t base = page * kJet4Page;
        if (image[base] != std::byte{1} || std::memcmp(&image[base + 4], "LVAL", 4) != 0) continue;
        ++pages;
        const auto rows =
            static_cast<std::size_t>(image[base + 12]) | (static_cast<std::size_t>(image[base + 13]) << 8);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t off = (static_cast<std::size_t>(image[base + 14 + 2 * r]) |
                                     (static_cast<std::size_t>(image[base + 15 + 2 * r]) << 8)) &
                                    0x1FFF;
            const auto pointer = static_cast<std::uint32_t>(page << 8 | r);
            for (std::size_t i = 0; i < 4 && off + 4 <= kJet4Page; ++i) {
                image[base + off + i] = static_cast<std::byte>(pointer >> (8 * i));
            }
        }
    }
    ASSERT_GT(pages, 0);
    // The catalog's property blobs are chains too, so the loop may show before the records.
    const Reading reading = readEverything(image);
    EXPECT_EQ(reading.number, 3049);
    EXPECT_NE(reading.description.find("loops back"), std::string::npos) << reading.description;
}

// Copies of small real files of each version, cut at every page boundary or changed by seeded
// byte mutations. Run under the sanitizers, this is where memory faults would show.
class RealCopy : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        KAVERO_REQUIRE_TESTDATA();
        m_original = load(GetParam());
        m_whole = readEverything(m_original);
        ASSERT_EQ(m_whole.number, 0) << m_whole.description;
    }
    Image m_original;
    Reading m_whole;
};

TEST_P(RealCopy, EveryCutReadsWholeOrEndsInError) {
    const std::size_t page = m_original[0x14] == std::byte{0} ? kJet3Page : kJet4Page;
    std::map<int, int> outcomes;
    for (std::size_t size = 0; size < m_original.size(); size += page) {
        const Reading reading =
            readEverything(Image(m_original.begin(), m_original.begin() + static_cast<std::ptrdiff_t>(size)));
        ++outcomes[reading.number];
        EXPECT_TRUE(reading.number == 0 || reading.number == 3049 || reading.number == 3343) << reading.description;
        EXPECT_TRUE(readsPartOf(reading, m_whole)) << "cut to " << size << " bytes: " << reading.description;
    }
    // Short copies are no database, longer ones damaged.
    EXPECT_GT(outcomes[3343], 0);
    EXPECT_GT(outcomes[3049], 0);
}

TEST_P(RealCopy, SeededMutationsEndInErrorOrRead) {
    std::mt19937 random(20261206);
    int errors = 0;
    for (int round = 0; round < 150; ++round) {
        Image image = m_original;
        const int changes = 1 + static_cast<int>(random() % 16);
        for (int c = 0; c < changes; ++c) image[random() % image.size()] = static_cast<std::byte>(random() & 0xFF);
        const int number = readEverything(image).number;
        errors += number != 0 ? 1 : 0;
        EXPECT_TRUE(number == 0 || number == 3049 || number == 3343 || number == 3031 || number == 3078) << number;
    }
    EXPECT_GT(errors, 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, RealCopy,
                         ::testing::Values("jet3/overflowTestV1997.mdb", "jet4/delColTestV2003.mdb",
                                           "ace/longtext.accdb"),
                         [](const auto& info) { return info.param.substr(0, info.param.find('/')); });

} // namespace
} // namespace kavero::jet

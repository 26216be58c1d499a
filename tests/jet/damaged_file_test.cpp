// Damaged copies of real files, made here at named offsets: each must end in a FormatError
// with its number, or read correctly, and never crash or hang.
#include <gtest/gtest.h>

#include <random>

#include "jet/database.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

using Image = std::vector<std::byte>;

constexpr std::size_t kJet4Page = 4096;

Image load(const std::string& relative) { return testing::readImage(testing::testdataPath(relative)); }

void putU32(Image& image, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) image.at(at + i) = static_cast<std::byte>(value >> (8 * i));
}

// Opens the image and reads every table, definitions and records. Returns the first error's
// number, or 0 when everything read.
int readEverything(const Image& image, std::string* description = nullptr) {
    try {
        Database db("damaged", image);
        for (const CatalogEntry& entry : db.tables()) {
            const TableDefinition table = db.table(entry.name);
            RecordCursor cursor = db.records(table);
            std::vector<Value> row;
            while (cursor.next(row)) {
            }
        }
        return 0;
    } catch (const FormatError& e) {
        if (description) *description = e.description();
        return e.number();
    }
}

class DamagedFile : public ::testing::Test {
protected:
    void SetUp() override { KAVERO_REQUIRE_TESTDATA(); }
};

TEST_F(DamagedFile, IntactCopiesReadWhole) {
    EXPECT_EQ(readEverything(load("jet4/testV2003.mdb")), 0);
    EXPECT_EQ(readEverything(load("jet3/testV1997.mdb")), 0);
}

TEST_F(DamagedFile, TruncatedInsideAPageIsNoDatabase) {
    Image image = load("jet4/testV2003.mdb");
    image.resize(kJet4Page * 10 + 100);
    EXPECT_EQ(readEverything(image), 3343);
    image.resize(1000);
    EXPECT_EQ(readEverything(image), 3343);
}

TEST_F(DamagedFile, TruncatedBeforeTheCatalogIsNoDatabase) {
    Image image = load("jet4/testV2003.mdb");
    image.resize(2 * kJet4Page);
    EXPECT_EQ(readEverything(image), 3343);
}

TEST_F(DamagedFile, TruncatedAtAPageBoundaryNamesTheMissingPage) {
    Image image = load("jet4/testV2003.mdb");
    image.resize(20 * kJet4Page); // Table1's definition is page 24
    std::string description;
    EXPECT_EQ(readEverything(image, &description), 3049);
    EXPECT_NE(description.find("lies past the end of the file"), std::string::npos) << description;
}

TEST_F(DamagedFile, WrongVersionByteOrEngineNameIsNoDatabase) {
    Image image = load("jet3/testV1997.mdb");
    image[0x14] = std::byte{7}; // says ACE, while the engine name says Jet
    EXPECT_EQ(readEverything(image), 3343);
    image = load("jet4/testV2003.mdb");
    image[0x04] = std::byte{'X'};
    EXPECT_EQ(readEverything(image), 3343);
}

TEST_F(DamagedFile, CatalogPageOfWrongTypeIsDamage) {
    Image image = load("jet4/testV2003.mdb");
    image[2 * kJet4Page] = std::byte{0x01};
    std::string description;
    EXPECT_EQ(readEverything(image, &description), 3049);
    EXPECT_NE(description.find("page 2"), std::string::npos) << description;
    EXPECT_NE(description.find("MSysObjects"), std::string::npos) << description;
}

TEST_F(DamagedFile, DefinitionLengthOrCountsThatDoNotAddUp) {
    Image image = load("jet4/testV2003.mdb");
    putU32(image, 2 * kJet4Page + 8, 999); // tdef_len of MSysObjects
    EXPECT_EQ(readEverything(image), 3049);
    image = load("jet4/testV2003.mdb");
    image[2 * kJet4Page + 45] = std::byte{0xFF}; // column count
    image[2 * kJet4Page + 46] = std::byte{0xFF};
    EXPECT_EQ(readEverything(image), 3049);
    image = load("jet4/testV2003.mdb");
    putU32(image, 2 * kJet4Page + 51, 0x7FFFFFFF); // real index count
    EXPECT_EQ(readEverything(image), 3049);
}

TEST_F(DamagedFile, DefinitionChainThatLoopsIsDamage) {
    Image image = load("jet4/testV2003.mdb");
    putU32(image, 2 * kJet4Page + 4, 2); // MSysObjects' tdef continues on itself
    std::string description;
    EXPECT_EQ(readEverything(image, &description), 3049);
    EXPECT_NE(description.find("returns to page 2"), std::string::npos) << description;
}

TEST_F(DamagedFile, UsageMapPointingOutsideTheFile) {
    Image image = load("jet4/testV2003.mdb");
    putU32(image, 24 * kJet4Page + 55, 0xFFFFFF00); // Table1's owned-pages map
    try {
        Database db("damaged", image);
        const TableDefinition table = db.table("Table1");
        EXPECT_THROW(db.records(table), FormatError);
    } catch (const FormatError& e) {
        FAIL() << e.what();
    }
}

TEST_F(DamagedFile, LongValueChainThatLoopsIsDamage) {
    Image image = load("jet4/test2V2003.mdb");
    // Every row of every LVAL page points at itself as its next row.
    int pages = 0;
    for (std::size_t page = 1; page < image.size() / kJet4Page; ++page) {
        const std::size_t base = page * kJet4Page;
        if (image[base] != std::byte{1} || std::memcmp(&image[base + 4], "LVAL", 4) != 0) continue;
        ++pages;
        const auto rows = static_cast<std::size_t>(image[base + 12]) | (static_cast<std::size_t>(image[base + 13]) << 8);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t off = (static_cast<std::size_t>(image[base + 14 + 2 * r]) |
                                     (static_cast<std::size_t>(image[base + 15 + 2 * r]) << 8)) & 0x1FFF;
            if (off + 4 <= kJet4Page) putU32(image, base + off, static_cast<std::uint32_t>(page << 8 | r));
        }
    }
    ASSERT_GT(pages, 0);
    try {
        // The table's property blob is a chain too, so the loop may show before the records.
        Database db("damaged", image);
        const TableDefinition table = db.table("MSP_PROJECTS");
        RecordCursor cursor = db.records(table);
        std::vector<Value> row;
        while (cursor.next(row)) {
        }
        FAIL() << "a looping chain read as a value";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.number(), 3049);
        EXPECT_NE(e.description().find("loops back"), std::string::npos) << e.description();
    }
}

// Seeded byte mutations over small real files of each version: every outcome is a full read
// or a FormatError. Run under the sanitizers, this is where memory faults would show.
class MutatedFile : public ::testing::TestWithParam<std::string> {};

TEST_P(MutatedFile, EndsInErrorOrReadNeverACrash) {
    KAVERO_REQUIRE_TESTDATA();
    const Image original = load(GetParam());
    std::mt19937 random(20261206);
    int errors = 0;
    constexpr int kRounds = 150;
    for (int round = 0; round < kRounds; ++round) {
        Image image = original;
        const int changes = 1 + static_cast<int>(random() % 16);
        for (int c = 0; c < changes; ++c) {
            image[random() % image.size()] = static_cast<std::byte>(random() & 0xFF);
        }
        const int number = readEverything(image);
        if (number != 0) {
            ++errors;
            EXPECT_TRUE(number == 3049 || number == 3343 || number == 3031 || number == 3078) << number;
        }
    }
    // Truncations at every page boundary and inside the first pages.
    for (std::size_t size = 0; size < original.size(); size += original.size() / 40 + 1) {
        Image image(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size));
        readEverything(image);
    }
    RecordProperty("errors", errors);
}

INSTANTIATE_TEST_SUITE_P(Versions, MutatedFile,
                         ::testing::Values("jet3/overflowTestV1997.mdb", "jet4/delColTestV2003.mdb",
                                           "ace/longtext.accdb"),
                         [](const auto& info) { return info.param.substr(0, info.param.find('/')); });

} // namespace
} // namespace kavero::jet

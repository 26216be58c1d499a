// Records of real files where the cell-by-cell comparison with other readers cannot look:
// empty and damaged long values, and counts of non-null values.
#include <gtest/gtest.h>

#include "jet/database.h"
#include "jet/long_value.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

// Found by the sanitizer run over the fixtures: an empty memo stored inline copied zero bytes
// from a null pointer.
TEST(LongValue, EmptyInlineValueReadsEmpty) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/testV2003.mdb"));
    LongValueReader reader(db.channel());
    std::vector<std::byte> field(kLongValueHeaderSize, std::byte{0});
    field[3] = std::byte{kLongValueInline};
    EXPECT_TRUE(reader.read(ByteView(field, ByteView::kNoPage, 0)).empty());
    // A stated length the field does not hold is damage.
    field[0] = std::byte{1};
    EXPECT_THROW(reader.read(ByteView(field, ByteView::kNoPage, 0)), FormatError);
    field[3] = std::byte{0xC0};
    EXPECT_THROW(reader.read(ByteView(field, ByteView::kNoPage, 0)), FormatError);
}

TEST(Records, NonNullCountsOfWholeTablesInEachVersion) {
    KAVERO_REQUIRE_TESTDATA();
    const struct {
        const char* file;
        std::uint32_t records, nonNull; // of the first column
    } cases[] = {
        {"jet4/compIndexTestV2003.mdb", 512, 510}, // two records have no CD_AGENTE
        {"jet3/overflowTestV1997.mdb", 7, 4},      // overflow rows count where their header is
        {"jet4/overflowTestV2003.mdb", 7, 4},
    };
    for (const auto& c : cases) {
        Database db(testing::testdataPath(c.file));
        const TableDefinition t = db.table("Table1");
        EXPECT_EQ(db.recordCount(t), c.records) << c.file;
        EXPECT_EQ(db.nonNullCount(t, 0), c.nonNull) << c.file;
        EXPECT_THROW(db.nonNullCount(t, 99), FormatError);
    }
}

} // namespace
} // namespace kavero::jet

// Attachment fields of a real Access 2007+ file: MSysComplexColumns followed to the hidden
// flat table, the values table made of it, and the stored wrapper unpacked or refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "jet/complex_field.h"
#include "jet/database.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

std::vector<Value> column(Database& db, const TableDefinition& table, std::string_view name) {
    const auto at =
        std::find_if(table.columns.begin(), table.columns.end(), [&](const Column& c) { return c.name == name; }) -
        table.columns.begin();
    std::vector<Value> cells, row;
    for (RecordCursor cursor = db.records(table); cursor.next(row);)
        cells.push_back(row.at(static_cast<std::size_t>(at)));
    return cells;
}

std::vector<std::uint8_t> bytesOf(const Value& v) {
    return std::get<Bytes>(v).data;
}

bool endsWith(const std::vector<std::uint8_t>& data, std::initializer_list<std::uint8_t> tail) {
    return data.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), data.end() - static_cast<long>(tail.size()));
}

// githubIssue16.accdb keeps the Office theme and two PNG images as attachments of the system
// table MSysResources, deflated by Access itself.
TEST(ComplexFields, AccessAttachmentsReadAsTheWholeFilesTheyHold) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("ace/githubIssue16.accdb"));
    const std::vector<ComplexField>& fields = db.complexFields();
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].table, "MSysResources");
    EXPECT_EQ(fields[0].column, "Data");
    EXPECT_EQ(fields[0].valuesTable, "MSysResources_Data");
    EXPECT_TRUE(fields[0].flatTable.starts_with("f_") && fields[0].flatTable.ends_with("_Data")) << fields[0].flatTable;

    // The owner's cells are whole numbers, each naming one set of values.
    const TableDefinition owner = db.table("MSysResources");
    std::set<std::int32_t> ids;
    for (const Value& v : column(db, owner, "Data")) ids.insert(std::get<std::int32_t>(v));
    EXPECT_EQ(ids, (std::set<std::int32_t>{1, 11, 12}));

    const TableDefinition values = db.table("msysresources_data"); // names match as Access matches them
    std::vector<std::string> names;
    for (const Column& c : values.columns) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Data", "FileName", "FileType", "FileData", "FileTimeStamp", "FileURL",
                                               "FileFlags"}));
    const std::vector<Value> links = column(db, values, "Data");
    const std::vector<Value> fileNames = column(db, values, "FileName");
    const std::vector<Value> data = column(db, values, "FileData");
    ASSERT_EQ(data.size(), 3u);
    std::set<std::int32_t> linked;
    for (std::size_t i = 0; i < data.size(); ++i) {
        linked.insert(std::get<std::int32_t>(links[i]));
        const std::string name = std::get<Text>(fileNames[i]).utf8;
        const std::vector<std::uint8_t> file = bytesOf(data[i]);
        // Whole files: a PNG from its signature to its IEND chunk, the theme a zip archive from
        // its first local header to its end-of-directory record.
        if (name.ends_with(".png")) {
            EXPECT_TRUE(std::equal(file.begin(), file.begin() + 8,
                                   std::begin({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A})))
                << name;
            EXPECT_TRUE(endsWith(file, {0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82})) << name;
        } else {
            ASSERT_GE(file.size(), 22u) << name;
            EXPECT_TRUE(file[0] == 'P' && file[1] == 'K' && file[2] == 3 && file[3] == 4) << name;
            const auto end = file.end() - 22;
            EXPECT_TRUE(end[0] == 'P' && end[1] == 'K' && end[2] == 5 && end[3] == 6) << name;
        }
    }
    EXPECT_EQ(linked, ids);
}

TEST(ComplexFields, DamagedAttachmentWrappersAreRefusedAsCorrupt) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("ace/githubIssue16.accdb"));
    const ComplexField field = db.complexFields().at(0);
    // The flat table under its own name keeps FileData as stored.
    const std::vector<Value> stored = column(db, db.table(field.flatTable), "FileData");
    const std::vector<Value> files = column(db, db.table(field.valuesTable), "FileData");
    ASSERT_EQ(stored.size(), files.size());
    ASSERT_FALSE(stored.empty());
    const std::vector<std::uint8_t> good = bytesOf(stored[0]);
    ASSERT_EQ(good[0], 1) << "Access deflates these files";
    EXPECT_EQ(decodeAttachment(good), bytesOf(files[0]));

    const auto refused = [](std::vector<std::uint8_t> bytes, const char* what) {
        try {
            decodeAttachment(bytes);
            ADD_FAILURE() << what << ": accepted";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.code(), ErrorCode::Corrupt) << what;
        }
    };
    refused({good.begin(), good.begin() + 7}, "shorter than the wrapper");
    auto changed = good;
    changed[0] = 2;
    refused(changed, "unknown encoding");
    const auto withLength = [&](std::int64_t change) {
        auto bytes = good;
        const auto length = static_cast<std::uint32_t>(good[4] | good[5] << 8 | good[6] << 16 | good[7] << 24);
        const auto changedLength = static_cast<std::uint32_t>(length + change);
        for (int i = 0; i < 4; ++i)
            bytes[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(changedLength >> (8 * i));
        return bytes;
    };
    refused(withLength(1), "inflates to fewer bytes than its length");
    refused(withLength(-1), "inflates to more bytes than its length");
    refused({good.begin(), good.end() - 16}, "compressed stream cut short");
    changed = good;
    changed[changed.size() / 2] ^= 0x5A;
    refused(changed, "compressed stream damaged");
    // Stored as is: the length may not pass the end, the header may not pass the content.
    refused({0, 0, 0, 0, 9, 0, 0, 0, 4, 0, 0, 0, 'a', 'b'}, "stored content shorter than its length");
    refused({0, 0, 0, 0, 6, 0, 0, 0, 8, 0, 0, 0, 'a', 'b'}, "header longer than the content");
    EXPECT_EQ(decodeAttachment(std::vector<std::uint8_t>{0, 0, 0, 0, 6, 0, 0, 0, 4, 0, 0, 0, 'a', 'b', 'x'}),
              (std::vector<std::uint8_t>{'a', 'b'}));
}

} // namespace
} // namespace kavero::jet

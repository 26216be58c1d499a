// Attachment and multi-value fields written by the fixture writer and read back by our reader:
// each values table gives back exactly what the writer was given.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "jet/database.h"
#include "jet/writer/attachment.h"
#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"
#include "source/open_database.h"

namespace kavero::jet::writer {
namespace {

using F = FieldType;

// Rows of a table as read: each cell in the form of its variant, for comparing.
std::vector<std::vector<jet::Value>> readAll(jet::Database& db, const std::string& table) {
    const jet::TableDefinition def = db.table(table);
    std::vector<std::vector<jet::Value>> rows;
    std::vector<jet::Value> row;
    for (jet::RecordCursor cursor = db.records(def); cursor.next(row);) rows.push_back(row);
    return rows;
}

jet::Value file(const Bytes& b) {
    return jet::Bytes{b};
}

TEST(ComplexFields, ValuesTablesGiveBackTheFilesAndValuesWritten) {
    Bytes notes;
    for (int i = 0; i < 300; ++i) notes.push_back(static_cast<std::uint8_t>("abc\r\n"[i % 5]));
    Bytes noise(9000);
    std::uint32_t seed = 5;
    for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    const Bytes empty;

    Database db;
    db.tables.push_back(TableBuilder("Docs")
                            .column("ID", F::Long)
                            .complex("Files", "f_1_Files")
                            .row({num(1), num(7)})
                            .row({num(2), num(8)}) // no files
                            .row({num(3), num(9)})
                            .build());
    db.tables.push_back(TableBuilder("f_1_Files")
                            .autoNumber("Docs_Files")
                            .attachmentColumns("_Files")
                            .row({num(1), num(7), storedAttachment(notes, "txt", true), num(0), text("notes.txt"),
                                  date(2020, 5, 6), text("txt"), null()})
                            .row({num(2), num(7), storedAttachment(noise, "bin", false), num(0), text("noise.bin"),
                                  null(), text("bin"), null()})
                            .row({num(3), num(9), storedAttachment(empty, "", true), num(2), text("empty"), null(),
                                  text(""), text("http://example.org/empty")})
                            .build());
    // Long values: the link column is told apart from the value by its name.
    db.tables.push_back(TableBuilder("Scores")
                            .complex("Points", "f_2_Points")
                            .column("Who", F::Text, 10)
                            .row({num(1), text("ann")})
                            .row({num(2), text("bob")})
                            .build());
    db.tables.push_back(TableBuilder("f_2_Points")
                            .column("value", F::Long)
                            .column("_Points", F::Long)
                            .autoNumber("Scores_Points")
                            .system()
                            .row({num(10), num(2), num(1)})
                            .row({num(-5), num(1), num(2)})
                            .row({num(20), num(2), num(3)})
                            .build());
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kavero_complex_" + std::to_string(getpid()) + ".mdb");
    writeDatabase(db, path);

    jet::Database reader(path.string());
    using Rows = std::vector<std::vector<jet::Value>>;
    EXPECT_EQ(readAll(reader, "Docs"), (Rows{{std::int32_t{1}, std::int32_t{7}},
                                             {std::int32_t{2}, std::int32_t{8}},
                                             {std::int32_t{3}, std::int32_t{9}}}));
    const Rows files = readAll(reader, "Docs_Files");
    ASSERT_EQ(files.size(), 3u);
    const std::vector<std::pair<std::int32_t, Bytes>> expected = {{7, notes}, {7, noise}, {9, empty}};
    for (std::size_t i = 0; i < files.size(); ++i) {
        ASSERT_EQ(files[i].size(), 7u);
        EXPECT_EQ(files[i][0], jet::Value{expected[i].first}) << i;
        EXPECT_EQ(files[i][3], file(expected[i].second)) << i; // FileData, after FileName and FileType
    }
    EXPECT_EQ(files[2][1], jet::Value{jet::Text{"empty"}});
    EXPECT_EQ(files[2][5], jet::Value{jet::Text{"http://example.org/empty"}}); // FileURL
    EXPECT_EQ(files[2][6], jet::Value{std::int32_t{2}});                       // FileFlags
    EXPECT_EQ(readAll(reader, "Scores_Points"), (Rows{{std::int32_t{2}, std::int32_t{10}},
                                                      {std::int32_t{1}, std::int32_t{-5}},
                                                      {std::int32_t{2}, std::int32_t{20}}}));

    // The values tables follow their owners, and only when asked for.
    source::AccessDatabase database(path.string(), {});
    EXPECT_EQ(source::userTables(database), (std::vector<std::string>{"Docs", "Scores"}));
    EXPECT_EQ(source::userTables(database, true),
              (std::vector<std::string>{"Docs", "Docs_Files", "Scores", "Scores_Points"}));
    std::filesystem::remove(path);

    // A complex field needs its values in a system table of the same file.
    Database orphan;
    orphan.tables.push_back(TableBuilder("T").complex("C", "nowhere").build());
    EXPECT_THROW(buildDatabase(orphan), std::runtime_error);
}

} // namespace
} // namespace kavero::jet::writer

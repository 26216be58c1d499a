// The whole chain to a real server: data source, driver, utf8mb4 text, long values read
// whole, and server errors arriving with their SQLSTATE and native number.
#include <gtest/gtest.h>

#include "odbc/error.h"
#include "odbc/handles.h"
#include "support/sandbox.h"

namespace {

using kavero::odbc::Connection;
using kavero::odbc::Environment;
using kavero::odbc::Statement;

TEST(OdbcRoundTrip, TextComesBackUnchangedAndErrorsCarryTheirNumbers) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    Environment env;
    Connection admin(env, sandbox.connectText());
    const std::string db = "kt_round_trip";
    admin.execute("DROP DATABASE IF EXISTS `" + db + "`");
    admin.execute("CREATE DATABASE `" + db + "`");
    {
        Connection conn(env, sandbox.connectText(db));
        conn.execute("CREATE TABLE people (id INT PRIMARY KEY, name VARCHAR(50), notes TEXT)");
        const std::string name = "M\xC3\xBCller \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80"; // Müller 東京 😀
        conn.execute("INSERT INTO people VALUES (1, '" + name + "', REPEAT('ab', 10000)), (2, NULL, NULL)");

        Statement select(conn);
        select.execute("SELECT id, name, CHAR_LENGTH(name), notes FROM people ORDER BY id");
        ASSERT_EQ(select.columnCount(), 4);
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.text(1), "1");
        EXPECT_EQ(select.text(2), name);
        EXPECT_EQ(select.text(3), "11");   // the server counted characters, so it stored utf8mb4
        const auto notes = select.text(4); // longer than one read: fetched in parts
        ASSERT_TRUE(notes);
        EXPECT_EQ(notes->size(), 20000u);
        EXPECT_EQ(notes->substr(19998), "ab");
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.text(2), std::nullopt);
        EXPECT_FALSE(select.fetch());

        try {
            conn.execute("SELECT * FROM no_such_table_here");
            ADD_FAILURE() << "the statement should have failed";
        } catch (const kavero::odbc::Error& e) {
            EXPECT_EQ(e.sqlstate(), "42S02");
            EXPECT_EQ(e.nativeError(), 1146);
            EXPECT_EQ(e.statement(), "SELECT * FROM no_such_table_here");
            EXPECT_NE(std::string(e.what()).find("no_such_table_here"), std::string::npos);
        }
    }
    admin.execute("DROP DATABASE `" + db + "`");
}

} // namespace

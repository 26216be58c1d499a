// The whole chain to a real server: data source, driver, utf8mb4 text, and server errors
// arriving with their SQLSTATE and native number.
#include <gtest/gtest.h>

#include "odbc/error.h"
#include "odbc/handles.h"
#include "support/sandbox.h"

namespace {

using kavero::odbc::Connection;
using kavero::odbc::Environment;
using kavero::odbc::Statement;

class OdbcRoundTrip : public ::testing::Test {
protected:
    // Each test works in a database of its own, dropped afterwards.
    std::string scratchName() const {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string("kt_") + info->name();
    }
};

TEST_F(OdbcRoundTrip, NonAsciiTextComesBackUnchanged) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    Environment env;
    Connection admin(env, sandbox.connectText());
    const std::string db = scratchName();
    admin.execute("DROP DATABASE IF EXISTS `" + db + "`");
    admin.execute("CREATE DATABASE `" + db + "`");

    {
        Connection conn(env, sandbox.connectText(db));
        conn.execute("CREATE TABLE people (id INT PRIMARY KEY, name VARCHAR(50))");
        const std::string name = "M\xC3\xBCller \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80"; // Müller 東京 😀
        conn.execute("INSERT INTO people VALUES (1, '" + name + "'), (2, NULL)");

        Statement select(conn);
        select.execute("SELECT id, name, CHAR_LENGTH(name) FROM people ORDER BY id");
        ASSERT_EQ(select.columnCount(), 3);
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.text(1), "1");
        EXPECT_EQ(select.text(2), name);
        EXPECT_EQ(select.text(3), "11"); // the server counted characters, so it stored utf8mb4
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.text(2), std::nullopt);
        EXPECT_FALSE(select.fetch());
    }
    admin.execute("DROP DATABASE `" + db + "`");
}

TEST_F(OdbcRoundTrip, LongValuesAreReadWhole) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    Environment env;
    Connection conn(env, sandbox.connectText());
    Statement select(conn);
    select.execute("SELECT REPEAT('ab', 10000)");
    ASSERT_TRUE(select.fetch());
    const auto value = select.text(1);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), 20000u);
    EXPECT_EQ(value->substr(19998), "ab");
}

TEST_F(OdbcRoundTrip, ServerErrorsCarryStateNumberAndStatement) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    Environment env;
    Connection conn(env, sandbox.connectText());
    try {
        conn.execute("SELECT * FROM no_such_table_here");
        FAIL() << "the statement should have failed";
    } catch (const kavero::odbc::Error& e) {
        EXPECT_EQ(e.sqlstate(), "42S02");
        EXPECT_EQ(e.nativeError(), 1146);
        EXPECT_EQ(e.statement(), "SELECT * FROM no_such_table_here");
        EXPECT_NE(std::string(e.what()).find("no_such_table_here"), std::string::npos);
    }
}

} // namespace

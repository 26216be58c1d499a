// Running a one-line table script on the sandbox server, in a database of the test's own.
#include <gtest/gtest.h>

#include "odbc/direct_connection.h"
#include "odbc/execute_table_script.h"
#include "support/sandbox.h"

namespace {

using kavero::odbc::DirectConnection;
using kavero::odbc::ExecuteTableScript;
using kavero::odbc::OpenDirectConnection;

class ExecuteTableScriptTest : public ::testing::Test {
protected:
    // A fresh database named after the test, dropped afterwards, and a connection into it.
    DirectConnection scratch(const kavero::testing::SandboxInfo& sandbox) {
        m_admin.emplace(OpenDirectConnection({sandbox.dsn, "", sandbox.user, sandbox.password}));
        m_name = std::string("kt_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_admin->connection().execute("DROP DATABASE IF EXISTS `" + m_name + "`");
        m_admin->connection().execute("CREATE DATABASE `" + m_name + "`");
        return OpenDirectConnection({sandbox.dsn, m_name, sandbox.user, sandbox.password});
    }
    void TearDown() override {
        if (m_admin) m_admin->connection().execute("DROP DATABASE IF EXISTS `" + m_name + "`");
    }

    static std::vector<std::string> column(DirectConnection& connection, const std::string& sql) {
        kavero::odbc::Statement statement(connection.connection());
        statement.execute(sql);
        std::vector<std::string> values;
        while (statement.fetch()) values.push_back(statement.text(1).value_or("NULL"));
        return values;
    }

private:
    std::optional<DirectConnection> m_admin;
    std::string m_name;
};

TEST_F(ExecuteTableScriptTest, SemicolonsInsideQuotesReachTheServerWhole) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    auto connection = scratch(sandbox);
    const auto outcome = ExecuteTableScript(
        connection.connection(),
        "DROP TABLE IF EXISTS `a;b`;"
        R"(CREATE TABLE `a;b` (`x;y` VARCHAR(20) DEFAULT 'p;q', z VARCHAR(20) DEFAULT 'it\';s', w VARCHAR(20));)"
        R"(INSERT INTO `a;b` (w) VALUES ("say \";hi");)"
        "INSERT INTO `a;b` (w) VALUES ('tail')"); // no ";" after the last statement
    EXPECT_EQ(outcome.errorText(), "");
    ASSERT_EQ(outcome.statements.size(), 4u);
    for (const auto& statement : outcome.statements) EXPECT_TRUE(statement.succeeded) << statement.statement;
    // The server's note that there was nothing to drop is kept with its number.
    ASSERT_EQ(outcome.statements[0].warnings.size(), 1u);
    EXPECT_EQ(outcome.statements[0].warnings[0].nativeError, 1051);
    EXPECT_TRUE(outcome.statements[1].warnings.empty());

    EXPECT_EQ(column(connection, "SELECT CONCAT_WS('|', `x;y`, z, w) FROM `a;b` ORDER BY w"),
              (std::vector<std::string>{"p;q|it';s|say \";hi", "p;q|it';s|tail"}));
}

TEST_F(ExecuteTableScriptTest, EveryFailedStatementIsReportedAndTheRestStillRun) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    auto connection = scratch(sandbox);
    const auto outcome = ExecuteTableScript(connection.connection(), "CREATE TABLE t (x INT);"
                                                                     "CREATE TABLE broken (x INT,);"
                                                                     "INSERT INTO no_such_table VALUES (1);"
                                                                     "INSERT INTO t VALUES (7);");
    ASSERT_EQ(outcome.statements.size(), 4u);
    EXPECT_FALSE(outcome.statements[1].succeeded);
    EXPECT_FALSE(outcome.statements[2].succeeded);
    EXPECT_TRUE(outcome.statements[3].succeeded);
    EXPECT_EQ(column(connection, "SELECT x FROM t"), std::vector<std::string>{"7"});

    // Both failures, in script order, each as "Error number: " + number + CR + text + CR LF.
    const std::string text = outcome.errorText();
    const std::size_t second = text.find("\r\nError number: 1146\r");
    EXPECT_EQ(text.rfind("Error number: 1064\r", 0), 0u) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_NE(text.find("near ')'"), std::string::npos) << text;
    EXPECT_NE(text.find("no_such_table' doesn't exist", second), std::string::npos) << text;
    EXPECT_EQ(text.find('\n'), second + 1) << "a block holds one CR LF, at its end";
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.find("Error number: ", second + 3), std::string::npos) << "only two blocks";
}

} // namespace

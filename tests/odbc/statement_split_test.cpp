// Splitting the one-line table script: only a ";" outside quotes ends a statement.
#include <gtest/gtest.h>

#include "odbc/statement_split.h"

using kavero::odbc::splitStatements;
using Statements = std::vector<std::string>;

TEST(StatementSplit, SemicolonsInsideQuotesStayInTheirStatement) {
    EXPECT_EQ(splitStatements("CREATE TABLE `a;b` (x TEXT DEFAULT 'p;q', y TEXT DEFAULT \"r;s\");DROP TABLE c;"),
              (Statements{"CREATE TABLE `a;b` (x TEXT DEFAULT 'p;q', y TEXT DEFAULT \"r;s\")", "DROP TABLE c"}));
    // A backslash escapes the quote inside '…' and "…", so the literal goes on past it.
    EXPECT_EQ(splitStatements(R"(SELECT 'a\';b';SELECT "c\";d";SELECT 'e\\';SELECT 1)"),
              (Statements{R"(SELECT 'a\';b')", R"(SELECT "c\";d")", R"(SELECT 'e\\')", "SELECT 1"}));
    // Doubled quotes, and quotes of the other kinds, inside a literal or a name.
    EXPECT_EQ(splitStatements("SELECT 'it''s;' AS `x``;\"'`;SELECT \"say \"\"hi;\"\"\""),
              (Statements{"SELECT 'it''s;' AS `x``;\"'`", "SELECT \"say \"\"hi;\"\"\""}));
    // A backslash means nothing inside backquotes: the name ends at the next backquote.
    EXPECT_EQ(splitStatements("SELECT 1 AS `a\\`;SELECT 2"), (Statements{"SELECT 1 AS `a\\`", "SELECT 2"}));
}

TEST(StatementSplit, EveryPieceOfTextIsRunButBlankOnesAreDropped) {
    EXPECT_EQ(splitStatements("DROP TABLE t"), Statements{"DROP TABLE t"});
    EXPECT_EQ(
        splitStatements("DROP TABLE t;CREATE TABLE t (x INT);CREATE INDEX i ON t (x);CREATE INDEX j ON t (x);"),
        (Statements{"DROP TABLE t", "CREATE TABLE t (x INT)", "CREATE INDEX i ON t (x)", "CREATE INDEX j ON t (x)"}));
    EXPECT_EQ(splitStatements("SELECT 1; SELECT 2\r\n"), (Statements{"SELECT 1", "SELECT 2"}));
    EXPECT_EQ(splitStatements("SELECT 1;x"), (Statements{"SELECT 1", "x"}));
    EXPECT_EQ(splitStatements(" ;;\t; \r\n"), Statements{});
    EXPECT_EQ(splitStatements(""), Statements{});
    // An unclosed literal runs to the end: the server, not the splitter, reports it.
    EXPECT_EQ(splitStatements("SELECT 'open;SELECT 2"), Statements{"SELECT 'open;SELECT 2"});
    EXPECT_EQ(splitStatements("SELECT 'ends in a backslash\\"), Statements{"SELECT 'ends in a backslash\\"});
}

// The scripts run on a real MariaDB: every statement of the Customers example and of the
// edge-case designs is accepted, and the tables come out with the intended columns, defaults
// and keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/scratch_database.h"
#include "script/table_design.h"
#include "script/to_file_command.h"
#include "support/scripted_user_interface.h"

using kavero::shell::CheckState;
using kavero::shell::frmMain;
using kavero::shell::OptionButton;
using kavero::testing::FieldRow;
using kavero::testing::KeyRow;
using kavero::testing::runScript;
using kavero::testing::ScratchDatabase;
using kavero::testing::ScriptedUserInterface;
using kavero::testing::showCustomers;
using kavero::testing::showDesign;
using kavero::testing::StatementFailure;

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string scratchName() {
    return std::string("ks_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// The script as the user copies it: CrLf terminator, backticks kept.
std::string scriptFor(frmMain& form, OptionButton frmMain::*option) {
    form.setOption(form.*option);
    form.eSQLTerminator.text = "CrLf";
    form.eAllowFieldNamesIwthSpace.value = CheckState::Checked;
    ScriptedUserInterface ui;
    kavero::script::convertToFile(form, ui);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages.at(0).text, kavero::script::kScriptCreatedMessage);
    return form.eScriptOutPut.text;
}

std::string describe(const std::vector<StatementFailure>& failures) {
    std::string text;
    for (const auto& f : failures) text += f.sqlstate + " " + std::to_string(f.nativeError) + " " + f.message + "\n";
    return text;
}

Rows indexesOf(ScratchDatabase& db, const std::string& table) {
    return db.rows("SELECT INDEX_NAME, COLUMN_NAME, COALESCE(SUB_PART, '-'), NON_UNIQUE FROM "
                   "information_schema.STATISTICS WHERE TABLE_SCHEMA = '" +
                   db.name() + "' AND TABLE_NAME = '" + table + "' ORDER BY INDEX_NAME, SEQ_IN_INDEX");
}

} // namespace

TEST(ScriptOnServer, CustomersUnderEachKeyOption) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, scratchName());
    struct Case {
        OptionButton frmMain::*option;
        Rows indexes;
    };
    const Case cases[] = {
        {&frmMain::ECreateKey, {{"Name", "Name", "-", "1"}, {"PRIMARY", "ID", "-", "0"}}},
        {&frmMain::eCreateNoKeys, {{"PRIMARY", "ID", "-", "0"}}},
        {&frmMain::eCreateIndex, {{"ID", "ID", "-", "1"}, {"Name", "Name", "-", "1"}, {"PRIMARY", "ID", "-", "0"}}},
    };
    for (const Case& c : cases) {
        frmMain form;
        showCustomers(form);
        // Run twice: the DROP line makes the script repeatable.
        for (int run = 0; run < 2; ++run) {
            const auto failures = runScript(db.connection(), scriptFor(form, c.option));
            EXPECT_TRUE(failures.empty()) << describe(failures);
        }
        EXPECT_EQ(db.rows("SELECT COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, COALESCE(COLUMN_DEFAULT, '-'), EXTRA FROM "
                          "information_schema.COLUMNS WHERE TABLE_SCHEMA = '" +
                          db.name() + "' AND TABLE_NAME = 'Customers' ORDER BY ORDINAL_POSITION"),
                  (Rows{{"ID", "double", "NO", "-", "auto_increment"},
                        {"Name", "varchar(50)", "NO", "-", ""},
                        {"Active", "int(11)", "NO", "0", ""},
                        {"Price", "double", "NO", "0", ""}}));
        EXPECT_EQ(indexesOf(db, "Customers"), c.indexes);
    }
}

TEST(ScriptOnServer, EveryTypeWordAndDefaultIsAccepted) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, scratchName());
    frmMain form;
    showDesign(form, "Edge cases",
               {{"bin", "", "16"},
                {"yes", "BOOLEAN", "1", "False", "-1"},
                {"on", "BOOLEAN", "1", "False", "on"},
                {"byte", "BYTE", "1", "False", "=255"},
                {"int", "INTEGER", "2", "False", "-2.5E-3"},
                {"long", "LNGINT", "4", "False", "1 000"},
                {"money", "CURRENCY", "8", "False", "1,5"},
                {"single", "SINGLE", "4", "False", "+.5"},
                {"double", "DOUBLE", "8", "False", "5."},
                {"when", "DATETIME", "8", "False", "=Date()"},
                {"text", "TEXT", "20", "True", "=\"New York\""},
                {"path", "TEXT", "20", "False", "\"C:\\temp\\\""},
                {"empty", "TEXT", "5", "False", "\"\""},
                {"memo", "BLOB", "0", "True", "\"ignored\""},
                {"ole", "OLE", "0"},
                {"amount", "DECIMAL", "17", "False", "12"}},
               {{"bin", "False", "False", "16", ""}, {"amount", "False", "False", "17", "DECIMAL"}});
    for (OptionButton frmMain::*option : {&frmMain::eCreateNoKeys, &frmMain::eCreateIndex, &frmMain::ECreateKey}) {
        const auto failures = runScript(db.connection(), scriptFor(form, option));
        EXPECT_TRUE(failures.empty()) << describe(failures);
    }

    // A row that names only the columns without a default shows what each default became,
    // and that binary bytes and long decimal text are kept whole.
    db.connection().execute("INSERT INTO `Edge cases` (bin, money, `when`, ole, amount) VALUES "
                            "(X'00FF0010', 2, '2001-02-03 04:05:06', X'', '12345678901234567890.123456789')");
    EXPECT_EQ(db.rows("SELECT HEX(bin), yes, `on`, byte, `int`, `long`, single, `double`, text, path, "
                      "LENGTH(empty), memo, amount FROM `Edge cases`"),
              (Rows{{"00FF0010", "-1", "-1", "255", "0", "1000", "0.5", "5", "NewYork", "C:\\temp\\", "0", "NULL",
                     "12345678901234567890.123456789"}}));
    // The last run made the keys: both on a 255 prefix.
    EXPECT_EQ(indexesOf(db, "Edge cases"), (Rows{{"amount", "amount", "255", "1"}, {"bin", "bin", "255", "1"}}));
}

TEST(ScriptOnServer, KeyOnANameWithABlankIsRejectedAsForeseen) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, scratchName());
    frmMain form;
    showDesign(form, "Order lines", {{"Line no", "LNGINT", "4"}}, {{"Line no", "True", "True", "4", "LNGINT"}});

    const auto failures = runScript(db.connection(), scriptFor(form, &frmMain::ECreateKey));
    ASSERT_EQ(failures.size(), 1u) << describe(failures);
    EXPECT_EQ(failures[0].statement, "CREATE TABLE `Order lines`(`Line no` BIGINT NOT NULL,  PRIMARY KEY (Line no))");
    EXPECT_EQ(failures[0].sqlstate, "42000");
    EXPECT_EQ(failures[0].nativeError, 1064);

    // The index lines name their columns in backticks, so the same key works as an index.
    const auto indexFailures = runScript(db.connection(), scriptFor(form, &frmMain::eCreateIndex));
    EXPECT_TRUE(indexFailures.empty()) << describe(indexFailures);
}

TEST(ScriptOnServer, NamesWithQuotesAndBackticksKeepTheirExactSpelling) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, scratchName());
    for (const std::string table : {"Back`tick", "O'Brien's", "Say \"Hi\"", "Table.With.Dots"}) {
        frmMain form;
        showDesign(form, table, {{"a`b", "INTEGER", "2"}}, {{"a`b", "False", "False", "2", "INTEGER"}});
        const auto failures = runScript(db.connection(), scriptFor(form, &frmMain::eCreateIndex));
        EXPECT_TRUE(failures.empty()) << table << "\n" << describe(failures);
    }
    EXPECT_EQ(db.rows("SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '" +
                      db.name() + "' ORDER BY TABLE_NAME"),
              (Rows{{"Back`tick", "a`b"}, {"O'Brien's", "a`b"}, {"Say \"Hi\"", "a`b"}, {"Table.With.Dots", "a`b"}}));
}

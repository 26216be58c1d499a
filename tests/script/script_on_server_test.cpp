// The scripts run on a real MariaDB: every statement of the Customers example and of the
// edge-case designs is accepted, and the tables come out with the intended columns, defaults
// and keys, whatever the names hold.
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
using namespace kavero::testing;

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
    EXPECT_TRUE(kavero::script::convertToFile(form, ui).ok());
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

TEST(ScriptOnServer, EveryTypeAndDefaultIsAccepted) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, scratchName());
    frmMain form;
    showDesign(form, "Edge cases",
               {{.name = "bin", .type = kBinary, .size = 16},
                {.name = "yes", .type = kYesNo, .size = 1, .defaultValue = "-1"},
                {.name = "on", .type = kYesNo, .size = 1, .defaultValue = "on"},
                {.name = "byte", .type = kByte, .size = 1, .defaultValue = "=255"},
                {.name = "int", .type = kInteger, .size = 2, .defaultValue = "-2.5E-3"},
                {.name = "long", .type = kLong, .size = 4, .defaultValue = "1 000"},
                {.name = "money", .type = kCurrency, .size = 8, .defaultValue = "1,5"},
                {.name = "single", .type = kSingle, .size = 4, .defaultValue = "+.5"},
                {.name = "when", .type = kDate, .size = 8, .defaultValue = "=Date()"},
                {.name = "text", .type = kText, .size = 20, .allowZeroLength = true, .defaultValue = "=\"New York\""},
                {.name = "path", .type = kText, .size = 20, .defaultValue = "\"C:\\temp\\`x`\""},
                {.name = "memo", .type = kMemo, .allowZeroLength = true, .defaultValue = "\"ignored\""},
                {.name = "ole", .type = kOle, .size = 0},
                {.name = "amount", .type = kDecimal, .size = 16, .defaultValue = "12", .precision = 28, .scale = 9},
                {.name = "big", .type = kBigInt, .size = 8, .defaultValue = "-9223372036854775808"}},
               {{.name = "a", .fields = "+bin"}, {.name = "b", .fields = "+amount;+big"}});
    for (OptionButton frmMain::*option : {&frmMain::eCreateNoKeys, &frmMain::eCreateIndex, &frmMain::ECreateKey}) {
        const auto failures = runScript(db.connection(), scriptFor(form, option));
        EXPECT_TRUE(failures.empty()) << describe(failures);
    }

    // A row that names only the columns without a default shows what each default became;
    // bytes and the exact types keep every digit. The OLE column takes the NULL no record fills.
    db.connection().execute("INSERT INTO `Edge cases` (bin, money, `when`) VALUES "
                            "(X'00FF0010', 2, '2001-02-03 04:05:06')");
    EXPECT_EQ(db.rows("SELECT HEX(bin), yes, `on`, byte, `int`, `long`, single, text, path, memo, ole, amount, big "
                      "FROM `Edge cases`"),
              (Rows{{"00FF0010", "-1", "-1", "255", "0", "1000", "0.5", "NewYork", "C:\\temp\\`x`", "NULL", "NULL",
                     "12.000000000", "-9223372036854775808"}}));
    EXPECT_EQ(indexesOf(db, "Edge cases"), (Rows{{"amount", "amount", "-", "1"}, {"bin", "bin", "255", "1"}}));
}

TEST(ScriptOnServer, NamesWithBlanksQuotesAndBackquotesKeepTheirSpelling) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, scratchName());
    for (const std::string table : {"Back`tick", "O'Brien's", "Say \"Hi\"", "Order lines"}) {
        frmMain form;
        showDesign(form, table, {{.name = "Line`no", .type = kInteger, .size = 2}, {.name = "Key", .type = kLong}},
                   {{.name = "p", .fields = "+Line`no", .primary = true}, {.name = "k", .fields = "+Key"}});
        for (OptionButton frmMain::*option : {&frmMain::ECreateKey, &frmMain::eCreateIndex}) {
            const auto failures = runScript(db.connection(), scriptFor(form, option));
            EXPECT_TRUE(failures.empty()) << table << "\n" << describe(failures);
        }
    }
    EXPECT_EQ(db.rows("SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '" +
                      db.name() + "' ORDER BY TABLE_NAME, ORDINAL_POSITION"),
              (Rows{{"Back`tick", "Line`no"},
                    {"Back`tick", "Key"},
                    {"O'Brien's", "Line`no"},
                    {"O'Brien's", "Key"},
                    {"Order lines", "Line`no"},
                    {"Order lines", "Key"},
                    {"Say \"Hi\"", "Line`no"},
                    {"Say \"Hi\"", "Key"}}));
}

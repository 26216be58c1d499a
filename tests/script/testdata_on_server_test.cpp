// Every table of the real Access files, under every key option, scripted as the user copies
// it (CrLf, backticks kept, blanks allowed) and run statement by statement on MariaDB. What
// the server refuses is an explicit list: the test fails when a refusal disappears or a new
// one appears.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "script/scratch_database.h"
#include "script/to_file_command.h"
#include "source/open_database.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"

using kavero::shell::CheckState;
using kavero::shell::frmMain;
using kavero::shell::OptionButton;
using kavero::testing::runScript;
using kavero::testing::ScratchDatabase;
using kavero::testing::ScriptedUserInterface;

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kFiles = {
    "ace/bigint.accdb",          "ace/currency.accdb",           "ace/githubIssue16.accdb",
    "ace/longtext.accdb",        "ace/testV2010.accdb",          "jet3/charsetGBK.mdb",
    "jet3/compIndexTestV1997.mdb", "jet3/delColTestV1997.mdb",   "jet3/indexTestV1997.mdb",
    "jet3/overflowTestV1997.mdb", "jet3/test2V1997.mdb",         "jet3/testV1997.mdb",
    "jet4/accessLike.mdb",       "jet4/bigIndexTestV2003.mdb",   "jet4/compIndexTestV2003.mdb",
    "jet4/delColTestV2003.mdb",  "jet4/fixedNumericTestV2003.mdb", "jet4/functionsV2000.mdb",
    "jet4/indexTestV2003.mdb",   "jet4/overflowTestV2003.mdb",   "jet4/pivot.mdb",
    "jet4/test2V2003.mdb",       "jet4/testUnicodeCompV2003.mdb", "jet4/testV2003.mdb",
    "other/V2003_with-password.mdb", "other/office-agile-4.2.accdb",
};

// The files the fixture writer makes at build time (whatever it makes; the list grows with
// it) are named "fixtures/<file>" below.
constexpr std::string_view kFixturePrefix = "fixtures/";

fs::path pathOf(const std::string& relative) {
    if (relative.rfind(kFixturePrefix, 0) == 0) return fs::path(KAVERO_FIXTURE_DIR) / relative.substr(kFixturePrefix.size());
    return fs::path(KAVERO_TESTDATA_DIR) / relative;
}

std::set<std::string> accessFilesIn(const fs::path& folder) {
    std::set<std::string> present;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".mdb" || ext == ".accdb") present.insert(fs::relative(entry.path(), folder).generic_string());
    }
    return present;
}

// What did not become a table, keyed "file | table | key option" ("file | open" when the file
// gave no table list, "file | table | load" when the table pick stopped): the server's native
// error numbers of the refused statements in order, or the message the user saw.
using Outcome = std::map<std::string, std::string>;

const std::string kIndexesOnMissingTable = "1118 1146 1146 1146 1146";

const Outcome kExpected = {
    // The table pick refuses the field name Inst/Branch, so there is nothing to script.
    {"ace/githubIssue16.accdb | Donor | load",
     "Illegal field name(s) detected :\rYou have a slash(/) in your field name Inst/Branch\rPlease correct the name "
     "and try again"},
    // 89 VARCHAR(50) columns may need 89 x 200 bytes in utf8mb4, beyond InnoDB's row limit of
    // 8126 bytes; the CREATE INDEX lines then find no table.
    {"ace/testV2010.accdb | Table2 | index", kIndexesOnMissingTable},
    {"ace/testV2010.accdb | Table2 | keys", "1118"},
    {"ace/testV2010.accdb | Table2 | none", "1118"},
    {"jet3/testV1997.mdb | Table2 | index", kIndexesOnMissingTable},
    {"jet3/testV1997.mdb | Table2 | keys", "1118"},
    {"jet3/testV1997.mdb | Table2 | none", "1118"},
    {"jet4/testV2003.mdb | Table2 | index", kIndexesOnMissingTable},
    {"jet4/testV2003.mdb | Table2 | keys", "1118"},
    {"jet4/testV2003.mdb | Table2 | none", "1118"},
    // Office "agile" encryption: the reader refuses the file (3031).
    {"other/office-agile-4.2.accdb | open", "3031"},
};

const std::string kOnlyGuidNotBuilt = "not built: The table OnlyGuid has no fields that can be created (GUID fields "
                                      "are left out), so there is no table to create.";

const Outcome kExpectedFixtures = {
    // The table pick refuses the field name a b.c.
    {"fixtures/design.mdb | Names | load",
     "Illegal field name(s) detected :\rYou have a dot(.) in your field name a b.c\rPlease correct the name and try "
     "again"},
    // Every field is a GUID, which is left out: no statement to make.
    {"fixtures/design.mdb | OnlyGuid | index", kOnlyGuidNotBuilt},
    {"fixtures/design.mdb | OnlyGuid | keys", kOnlyGuidNotBuilt},
    {"fixtures/design.mdb | OnlyGuid | none", kOnlyGuidNotBuilt},
};

struct KeyOption {
    const char* name;
    OptionButton frmMain::*button;
};
constexpr KeyOption kKeyOptions[] = {
    {"keys", &frmMain::ECreateKey}, {"index", &frmMain::eCreateIndex}, {"none", &frmMain::eCreateNoKeys}};

std::string shortMessage(std::string message) {
    // The driver's prefix ("[ma-3.1.15][10.11.…]") says nothing about the table.
    const std::size_t end = message.rfind(']');
    if (end != std::string::npos) message.erase(0, end + 1);
    return message;
}

// Runs every table of one file under every key option, adding what failed to `outcome`.
struct Totals {
    int tables = 0;
    int stoppedPicks = 0;
    int unbuilt = 0;
    int scripts = 0;
};

void scriptFile(ScratchDatabase& db, const std::string& relative, Outcome& outcome, Outcome& messages,
                Totals& totals) {
    frmMain form;
    form.eAllowFieldNamesIwthSpace.value = CheckState::Checked;
    form.eFilename.text = pathOf(relative).string();
    ScriptedUserInterface openUi;
    const auto opened = kavero::source::OpenAccessDatabase(form, openUi, {});
    if (!opened.ok()) {
        outcome[relative + " | open"] = std::to_string(opened.number);
        return;
    }
    const std::vector<std::string> tables = form.eTables.items;
    EXPECT_FALSE(tables.empty()) << relative;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const std::string& table = tables[t];
        ++totals.tables;
        form.eTables.listIndex = static_cast<int>(t);
        ScriptedUserInterface loadUi;
        const auto loaded = kavero::source::loadTableDesign(form, loadUi, table, {});
        if (!loaded.ok()) {
            outcome[relative + " | " + table + " | load"] = loaded.text;
            ++totals.stoppedPicks;
            continue;
        }
        for (const KeyOption& option : kKeyOptions) {
            form.setOption(form.*option.button);
            form.eSQLTerminator.text = "CrLf";
            ScriptedUserInterface ui;
            const auto converted = kavero::script::convertToFile(form, ui);
            const std::string key = relative + " | " + table + " | " + option.name;
            if (!converted.ok()) {
                outcome[key] = "not built: " + converted.text;
                ++totals.unbuilt;
                continue;
            }
            ++totals.scripts;
            for (const auto& failure : runScript(db.connection(), form.eScriptOutPut.text)) {
                std::string& reason = outcome[key];
                if (!reason.empty()) reason += " ";
                reason += std::to_string(failure.nativeError);
                messages[key] += "\n        " + shortMessage(failure.message);
            }
        }
    }
}

} // namespace

TEST(TestdataOnServer, FileListIsComplete) {
    if (!fs::is_directory(KAVERO_TESTDATA_DIR)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    EXPECT_EQ(accessFilesIn(KAVERO_TESTDATA_DIR), std::set<std::string>(kFiles.begin(), kFiles.end()));
}

TEST(TestdataOnServer, EveryFixtureTableUnderEveryKeyOption) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, "ks_fixture_scripts");
    Outcome outcome;
    Outcome messages;
    Totals totals;
    ASSERT_TRUE(fs::is_directory(KAVERO_FIXTURE_DIR)) << "the build writes the fixtures first";
    const std::set<std::string> fixtureFiles = accessFilesIn(KAVERO_FIXTURE_DIR);
    for (const char* file : {"customers.mdb", "design.mdb", "records.mdb", "types.mdb"}) {
        EXPECT_TRUE(fixtureFiles.count(file)) << file;
    }
    for (const std::string& file : fixtureFiles) {
        scriptFile(db, std::string(kFixturePrefix) + file, outcome, messages, totals);
    }
    // Measured when the fixtures last changed: a new fixture table is counted here on purpose.
    EXPECT_EQ(totals.tables, 43);
    EXPECT_EQ(totals.scripts + totals.unbuilt, 3 * (totals.tables - totals.stoppedPicks));
    std::string report;
    for (const auto& [key, reason] : outcome) report += "    {\"" + key + "\", \"" + reason + "\"}," + messages[key] + "\n";
    EXPECT_EQ(outcome, kExpectedFixtures) << "what did not become a table:\n" << report;
}

TEST(TestdataOnServer, EveryTableUnderEveryKeyOption) {
    if (!fs::is_directory(KAVERO_TESTDATA_DIR)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    KAVERO_REQUIRE_SANDBOX(sandbox);
    ScratchDatabase db(sandbox, "ks_testdata_scripts");
    Outcome outcome;
    Outcome messages;
    Totals totals;
    for (const std::string& file : kFiles) scriptFile(db, file, outcome, messages, totals);
    // 42 user tables; one stops at its table pick, the others give a script per key option.
    EXPECT_EQ(totals.tables, 42);
    EXPECT_EQ(totals.scripts, 41 * 3);
    // Decimal columns keep their precision and scale (the last table named "test" is the
    // one of fixedNumericTestV2003.mdb).
    EXPECT_EQ(db.rows("SELECT COLUMN_NAME, COLUMN_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                      "DATABASE() AND TABLE_NAME = 'test' AND DATA_TYPE = 'decimal' ORDER BY ORDINAL_POSITION"),
              (std::vector<std::vector<std::string>>{{"col2", "decimal(18,0)"}, {"col3", "decimal(18,0)"},
                                                     {"col4", "decimal(18,0)"}, {"col5", "decimal(18,0)"},
                                                     {"col6", "decimal(18,0)"}, {"col7", "decimal(18,0)"}}));

    std::string report;
    for (const auto& [key, reason] : outcome) report += "    {\"" + key + "\", \"" + reason + "\"}," + messages[key] + "\n";
    EXPECT_EQ(outcome, kExpected) << "what did not become a table:\n" << report;
}

// The check after a copy, on a table whose long values fall anywhere in the blocks of rows it
// reads from the real server: each value compared whole, and every row after one longer than a
// block holds compared too.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/direct_command.h"
#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"
#include "script/scratch_database.h"
#include "source/open_database.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"

namespace {

namespace fs = std::filesystem;
using namespace kavero;
using jet::writer::num;
using jet::writer::text;
using kavero::testing::ScratchDatabase;
using kavero::testing::ScriptedUserInterface;

constexpr std::size_t kRecords = 2500;

// Notes of every length class: empty, short, longer than a first guess at a memo's width,
// and far longer than a block's room for one value, the longest ones in mid-block.
std::string notesOf(std::size_t record) {
    std::string notes;
    if (record == 2 || record == 1777)
        notes.assign(3000, 'a');
    else if (record == 1300 || record == 1302)
        notes.assign(100000, 'b');
    else if (record % 7 != 0)
        notes = "note " + std::to_string(record);
    if (!notes.empty()) notes.back() = static_cast<char>('0' + record % 10); // its own last character
    return notes;
}

struct CheckRun {
    shell::frmMain form;
    ScriptedUserInterface ui;
    shell::frmShowProgress progress;
    shell::WaitingProgressHost host{progress, ui};
    std::shared_ptr<odbc::CopyCounters> counters = std::make_shared<odbc::CopyCounters>();

    std::vector<std::string> lines() const {
        std::vector<std::string> all;
        for (std::size_t row = 0; row < progress.eShowStatus.lineCount(); ++row)
            all.emplace_back(progress.eShowStatus.shownLine(row));
        return all;
    }
    bool shows(const std::string& line) const {
        const std::vector<std::string> all = lines();
        return std::find(all.begin(), all.end(), line) != all.end();
    }
};

TEST(CopyCheck, LongValuesAnywhereInABlockAreCheckedWhole) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    const fs::path folder = fs::temp_directory_path() / ("kavero_copy_check_" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "notes.mdb";
    jet::writer::Database access;
    access.tables.push_back(jet::writer::TableBuilder("Notes")
                                .column("ID", jet::writer::FieldType::Long)
                                .column("Notes", jet::writer::FieldType::Memo)
                                .primaryKey("PrimaryKey", {"ID"})
                                .generated(kRecords,
                                           [](std::size_t i) -> jet::writer::Row {
                                               return {num(static_cast<std::int64_t>(i + 1)), text(notesOf(i + 1))};
                                           })
                                .build());
    jet::writer::writeDatabase(access, file);
    ScratchDatabase db(sandbox, "kc_copy_check");

    CheckRun copy;
    copy.form.eFilename.text = file.string();
    ASSERT_TRUE(source::OpenAccessDatabase(copy.form, copy.ui, {}).ok());
    copy.form.eTables.listIndex = 0;
    ASSERT_TRUE(source::loadTableDesign(copy.form, copy.ui, "Notes", {}).ok());
    copy.form.ECreateKey.value = true;
    copy.form.cboDSNList.items = {"(None)", sandbox.dsn};
    copy.form.cboDSNList.select(1);
    copy.form.eMySqlDatabase.text = db.name();
    copy.form.eMySqlusername.text = sandbox.user;
    copy.form.eMySqlpassword.text = sandbox.password;
    copy.form.eCopyDirectlyAlsoData.value = shell::CheckState::Checked;
    copy.form.eCheckCopy.checked = true;
    copy.form.eFastCopy.checked = true;
    copy.form.eLossless.checked = true; // a LONGTEXT column: the documented TEXT refuses the longest notes
    copy.ui.answers.push_back(shell::MessageAnswer::Yes);
    ASSERT_TRUE(app::convertDirectly(copy.form, copy.ui, copy.host, {}, copy.counters).ok());
    EXPECT_EQ(copy.counters->copied, static_cast<std::int64_t>(kRecords));
    EXPECT_TRUE(copy.counters->checkComplete) << copy.lines()[1];
    EXPECT_EQ(copy.counters->verified, static_cast<std::int64_t>(kRecords));
    EXPECT_EQ(copy.counters->differences, 0);

    // Changes the check can only see by reading each value to its last byte, and rows after
    // the longest value.
    db.connection().execute("UPDATE `Notes` SET `Notes` = CONCAT(REPEAT('b', 99999), 'x') WHERE `ID` = 1300");
    db.connection().execute("UPDATE `Notes` SET `Notes` = CONCAT(REPEAT('a', 2999), 'x') WHERE `ID` = 1777");
    db.connection().execute("UPDATE `Notes` SET `Notes` = 'changed' WHERE `ID` = 2400");
    db.connection().execute("DELETE FROM `Notes` WHERE `ID` = 2499");
    CheckRun check;
    check.form = copy.form;
    ASSERT_TRUE(app::verifyCopiedTable(check.form, check.ui, check.host, {}, check.counters).ok());
    EXPECT_TRUE(check.counters->checkComplete) << check.lines()[1];
    EXPECT_EQ(check.counters->verified, static_cast<std::int64_t>(kRecords) - 4);
    EXPECT_EQ(check.counters->differences, 4);
    for (const char* record : {"1300", "1777", "2400"}) {
        const std::vector<std::string> all = check.lines();
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const std::string& line) {
            return line.starts_with(std::string("Different record no. ") + record + ": Notes");
        })) << record;
    }
    EXPECT_TRUE(check.shows("Missing record no. 2499: not on the server"));
    fs::remove_all(folder);
}

} // namespace

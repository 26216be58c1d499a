// The status routine on the progress window's model: lines newest first, the bar's steps and
// its cap, eOk from start to finish, the beep, and runs that follow one another.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/show_status.h"
#include "support/scripted_user_interface.h"

using namespace kavero::shell;
using kavero::testing::ScriptedUserInterface;

namespace {

struct StatusRun {
    ScriptedUserInterface ui;
    frmShowProgress form;
    // A call whose total is not used, as the record copy makes per record.
    void line(const std::string& message, bool finish = false, bool noStep = false) {
        std::int32_t zero = 0;
        ShowStatus(form, ui, message, finish, false, zero, noStep);
    }
    std::int32_t start(const std::string& message, std::int32_t total) {
        ShowStatus(form, ui, message, false, true, total, false);
        return total;
    }
};

} // namespace

TEST(ShowStatus, RecordCopyWithARejectedRecordThenAnotherRunThenUnload) {
    StatusRun run;
    run.start("Copying 9 records in total", 9);
    EXPECT_TRUE(run.form.loaded && run.form.visible);
    EXPECT_EQ(run.form.caption, "KAVERO 1.1");
    for (int record = 1; record <= 3; ++record) {
        run.line("Copying record no. " + std::to_string(record));
        if (record == 2) run.line("Error on record no. 2: Duplicate entry '7' for key 'PRIMARY'", false, true);
        EXPECT_FALSE(run.form.eOk.enabled) << record;
    }
    // The start steps once, each record once, the error line not.
    EXPECT_EQ(run.form.eProgressBar.value, 5.0f);
    EXPECT_EQ(run.ui.beeps, 0);
    run.line("Finished copy", true);
    EXPECT_EQ(run.form.eShowStatus.text(), "Finished copy\r\n"
                                           "Copying record no. 3\r\n"
                                           "Error on record no. 2: Duplicate entry '7' for key 'PRIMARY'\r\n"
                                           "Copying record no. 2\r\n"
                                           "Copying record no. 1\r\n"
                                           "Copying 9 records in total\r\n");
    EXPECT_EQ(run.form.eProgressBar.value, 9.0f);
    EXPECT_TRUE(run.form.eOk.enabled);
    EXPECT_EQ(run.ui.beeps, 1);

    // A new run while the window is open adds to its text and holds eOk again until it ends.
    run.start("Copying 0 records in total", 0);
    EXPECT_FALSE(run.form.eOk.enabled);
    run.line("Finished moving shop", true);
    EXPECT_EQ(run.form.eShowStatus.lineCount(), 8u);
    EXPECT_EQ(run.form.eShowStatus.shownLine(2), "Finished copy");
    EXPECT_EQ(run.form.eProgressBar.max, 0.0f);
    EXPECT_EQ(run.form.eProgressBar.value, 0.0f);
    EXPECT_EQ(run.ui.beeps, 2);

    // Closed and opened again, the window starts with an empty text.
    unloadProgressWindow(run.form);
    EXPECT_FALSE(run.form.loaded || run.form.visible);
    EXPECT_EQ(run.form.eShowStatus.text(), "");
    run.start("Copying 5 records in total", 5);
    EXPECT_EQ(run.form.eShowStatus.text(), "Copying 5 records in total\r\n");
    EXPECT_EQ(run.form.eProgressBar.value, 2.0f);
}

TEST(ShowStatus, FortyThousandRecordsCapTheBarAndFillItNearTheEnd) {
    StatusRun run;
    EXPECT_EQ(run.start("Copying 40000 records in total", 40000), 32766); // written back to the caller
    EXPECT_EQ(run.form.eProgressBar.max, 32766.0f);
    int firstFull = 0, emptiedAfterFull = 0, beyondMax = 0;
    for (int record = 1; record <= 40000; ++record) {
        run.line("Copying record no. " + std::to_string(record));
        const bool full = run.form.eProgressBar.value == run.form.eProgressBar.max;
        if (full && firstFull == 0) firstFull = record;
        if (firstFull != 0 && !full) ++emptiedAfterFull;
        if (run.form.eProgressBar.value > run.form.eProgressBar.max) ++beyondMax;
    }
    // The start call steps the bar too, so it is full one record before 32765 already.
    EXPECT_EQ(firstFull, 32764);
    EXPECT_EQ(emptiedAfterFull, 0);
    EXPECT_EQ(beyondMax, 0);
    EXPECT_FALSE(run.form.eOk.enabled);
    EXPECT_EQ(run.form.eShowStatus.lineCount(), 40001u);
    EXPECT_EQ(run.form.eShowStatus.shownLine(40000), "Copying 40000 records in total");
}

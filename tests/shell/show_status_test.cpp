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

// A call whose total is not used, as the record copy makes per record.
void line(frmShowProgress& form, ScriptedUserInterface& ui, const std::string& message, bool finish = false,
          bool noStep = false) {
    std::int32_t zero = 0;
    ShowStatus(form, ui, message, finish, false, zero, noStep);
}

} // namespace

TEST(ShowStatus, ThreeRecordCopyWithARejectedRecordReadsNewestFirst) {
    ScriptedUserInterface ui;
    frmShowProgress form;
    std::int32_t one = 1;
    ShowStatus(form, ui, "Your database design is now moved to kavero_test", false, true, one, false);
    EXPECT_TRUE(form.loaded);
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.caption, "KAVERO 1.1");
    EXPECT_FALSE(form.eOk.enabled);

    std::int32_t total = 3;
    ShowStatus(form, ui, "Copying 3 records in total", false, true, total, false);
    for (int record = 1; record <= 3; ++record) {
        line(form, ui, "Copying record no. " + std::to_string(record));
        if (record == 2) line(form, ui, "Error on record no. 2: Duplicate entry '7' for key 'PRIMARY'", false, true);
        EXPECT_FALSE(form.eOk.enabled) << record;
    }
    EXPECT_EQ(ui.beeps, 0);
    line(form, ui, "Finished copy", true);

    EXPECT_EQ(form.eShowStatus.text(), "Finished copy\r\n"
                                       "Copying record no. 3\r\n"
                                       "Error on record no. 2: Duplicate entry '7' for key 'PRIMARY'\r\n"
                                       "Copying record no. 2\r\n"
                                       "Copying record no. 1\r\n"
                                       "Copying 3 records in total\r\n"
                                       "Your database design is now moved to kavero_test\r\n");
    EXPECT_EQ(form.eShowStatus.shownLine(0), "Finished copy");
    EXPECT_EQ(form.eShowStatus.shownLine(6), "Your database design is now moved to kavero_test");
    EXPECT_EQ(form.eProgressBar.max, 3.0f);
    EXPECT_EQ(form.eProgressBar.value, 3.0f);
    EXPECT_EQ(form.eProgressBar.min, 0.0f);
    EXPECT_TRUE(form.eOk.enabled);
    EXPECT_EQ(ui.beeps, 1);
}

TEST(ShowStatus, FortyThousandRecordsCapTheBarAndFillItNearTheEnd) {
    ScriptedUserInterface ui;
    frmShowProgress form;
    std::int32_t total = 40000;
    ShowStatus(form, ui, "Copying 40000 records in total", false, true, total, false);
    EXPECT_EQ(total, 32766); // written back to the caller
    EXPECT_EQ(form.eProgressBar.max, 32766.0f);

    int firstFull = 0;
    int emptiedAfterFull = 0;
    int beyondMax = 0;
    for (int record = 1; record <= 40000; ++record) {
        line(form, ui, "Copying record no. " + std::to_string(record));
        if (record == 10) {
            const float before = form.eProgressBar.value;
            line(form, ui, "Error on record no. 10: Data too long for column 'Name'", false, true);
            EXPECT_EQ(form.eProgressBar.value, before);
        }
        const bool full = form.eProgressBar.value == form.eProgressBar.max;
        if (full && firstFull == 0) firstFull = record;
        if (firstFull != 0 && !full) ++emptiedAfterFull;
        if (form.eProgressBar.value > form.eProgressBar.max) ++beyondMax;
    }
    // The start call steps the bar too, so it is full one record before 32765 already.
    EXPECT_EQ(firstFull, 32764);
    EXPECT_EQ(emptiedAfterFull, 0);
    EXPECT_EQ(beyondMax, 0);
    EXPECT_FALSE(form.eOk.enabled);
    EXPECT_EQ(form.eShowStatus.lineCount(), 40002u);
    EXPECT_EQ(form.eShowStatus.shownLine(0), "Copying record no. 40000");
    EXPECT_EQ(form.eShowStatus.shownLine(39990), "Error on record no. 10: Data too long for column 'Name'");
    EXPECT_EQ(form.eShowStatus.shownLine(40001), "Copying 40000 records in total");
}

TEST(ShowStatus, EmptyRunFollowingRunsAndUnload) {
    ScriptedUserInterface ui;
    frmShowProgress form;
    std::int32_t zero = 0;
    ShowStatus(form, ui, "Copying 0 records in total", false, true, zero, false);
    EXPECT_FALSE(form.eOk.enabled);
    line(form, ui, "Finished copy", true);
    EXPECT_EQ(form.eShowStatus.text(), "Finished copy\r\nCopying 0 records in total\r\n");
    EXPECT_EQ(form.eProgressBar.max, 0.0f);
    EXPECT_EQ(form.eProgressBar.value, 0.0f);
    EXPECT_TRUE(form.eOk.enabled);
    EXPECT_EQ(ui.beeps, 1);

    // A new run while the window is open adds to its text and holds eOk again until it ends.
    std::int32_t one = 1;
    ShowStatus(form, ui, "Your database design is now moved to shop", false, true, one, false);
    EXPECT_FALSE(form.eOk.enabled);
    line(form, ui, "Finished moving shop", true);
    EXPECT_EQ(form.eShowStatus.text(), "Finished moving shop\r\nYour database design is now moved to shop\r\n"
                                       "Finished copy\r\nCopying 0 records in total\r\n");
    EXPECT_EQ(form.eProgressBar.value, 1.0f);
    EXPECT_EQ(form.eProgressBar.max, 1.0f);
    EXPECT_TRUE(form.eOk.enabled);
    EXPECT_EQ(ui.beeps, 2);

    // Closed and opened again, the window starts with an empty text.
    unloadProgressWindow(form);
    EXPECT_FALSE(form.loaded);
    EXPECT_FALSE(form.visible);
    EXPECT_EQ(form.eShowStatus.text(), "");
    std::int32_t five = 5;
    ShowStatus(form, ui, "Copying 5 records in total", false, true, five, false);
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.eShowStatus.text(), "Copying 5 records in total\r\n");
    EXPECT_EQ(form.eProgressBar.value, 2.0f);
    EXPECT_FALSE(form.eOk.enabled);
}

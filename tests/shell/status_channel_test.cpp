// Status calls from a real worker thread: all of them arrive in order while the window takes
// them, the worker never waits for a window that takes nothing, a failing worker still
// finishes the window, and a stop request reaches the worker.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>

#include "shell/progress_host.h"
#include "shell/show_status.h"
#include "support/scripted_user_interface.h"

using namespace kavero::shell;
using kavero::testing::ScriptedUserInterface;

namespace {

constexpr int kRecords = 100000;

void copyAll(StatusChannel& channel) {
    channel.showStatus("Copying " + std::to_string(kRecords) + " records in total", false, true, kRecords);
    for (int record = 1; record <= kRecords; ++record) {
        channel.showStatus("Copying record no. " + std::to_string(record));
    }
    channel.showStatus("Finished copy", true);
}

// Rows 1 to kRecords of a box that ends with "Finished copy" and the record lines before it.
int misplacedRecordLines(const StatusBox& box) {
    int misplaced = 0;
    for (int record = 1; record <= kRecords; ++record) {
        const std::size_t row = static_cast<std::size_t>(kRecords - record + 1);
        if (box.shownLine(row) != "Copying record no. " + std::to_string(record)) ++misplaced;
    }
    return misplaced;
}

} // namespace

TEST(StatusChannel, WorkerLinesArriveInOrderWhileTheWindowTakesThem) {
    ScriptedUserInterface ui;
    frmShowProgress form;
    WaitingProgressHost host(form, ui);
    std::int32_t one = 1;
    host.showStatus("Your database design is now moved to kavero_test", false, true, one, false);
    std::thread::id workerThread;
    host.startWork([&](StatusChannel& channel) {
        workerThread = std::this_thread::get_id();
        copyAll(channel);
    });

    EXPECT_FALSE(host.working());
    EXPECT_NE(workerThread, std::this_thread::get_id());
    const StatusBox& box = form.eShowStatus;
    ASSERT_EQ(box.lineCount(), static_cast<std::size_t>(kRecords + 3));
    EXPECT_EQ(box.shownLine(0), "Finished copy");
    EXPECT_EQ(misplacedRecordLines(box), 0);
    EXPECT_EQ(box.shownLine(kRecords + 1), "Copying 100000 records in total");
    EXPECT_EQ(box.shownLine(kRecords + 2), "Your database design is now moved to kavero_test");
    EXPECT_TRUE(form.eOk.enabled);
    EXPECT_GE(ui.yields, 2); // after the first line and after each batch
}

TEST(StatusChannel, WorkerNeverWaitsForTheWindowAndAFailureFinishesIt) {
    ScriptedUserInterface ui;
    frmShowProgress form;
    {
        StatusWorker worker(copyAll);
        // Nothing is taken while the worker posts; it must get to its end regardless.
        ASSERT_TRUE(worker.channel().waitForEnd(std::chrono::minutes(2)));
        EXPECT_TRUE(applyPostedStatus(worker.channel(), form, ui));
        // Once the end is taken there is nothing more.
        const StatusBatch after = worker.channel().take();
        EXPECT_TRUE(after.workEnded);
        EXPECT_TRUE(after.calls.empty());
    }
    ASSERT_EQ(form.eShowStatus.lineCount(), static_cast<std::size_t>(kRecords + 2));
    EXPECT_EQ(misplacedRecordLines(form.eShowStatus), 0);

    unloadProgressWindow(form);
    {
        StatusWorker worker([](StatusChannel& channel) {
            channel.showStatus("Copying 9 records in total", false, true, 9);
            channel.showStatus("Copying record no. 1");
            throw std::runtime_error("Lost connection to server during query");
        });
        bool ended = false;
        while (!ended) {
            worker.channel().waitForEnd(kStatusInterval);
            ended = applyPostedStatus(worker.channel(), form, ui);
        }
    }
    EXPECT_EQ(form.eShowStatus.text(), "Lost connection to server during query\r\nCopying record no. 1\r\n"
                                       "Copying 9 records in total\r\n");
    EXPECT_TRUE(form.eOk.enabled);
    EXPECT_EQ(form.eProgressBar.value, 9.0f);

    // A worker that ends without a finish call still leaves the window closable.
    unloadProgressWindow(form);
    {
        StatusWorker worker(
            [](StatusChannel& channel) { channel.showStatus("Copying 2 records in total", false, true, 2); });
        ASSERT_TRUE(worker.channel().waitForEnd(std::chrono::minutes(2)));
        EXPECT_TRUE(applyPostedStatus(worker.channel(), form, ui));
    }
    EXPECT_TRUE(form.eOk.enabled);
}

TEST(StatusChannel, StopRequestReachesTheWorker) {
    ScriptedUserInterface ui;
    frmShowProgress form;
    constexpr int kTotal = 40000;
    constexpr int kBeforeStop = 1000;
    StatusWorker worker([](StatusChannel& channel) {
        channel.showStatus("Copying " + std::to_string(kTotal) + " records in total", false, true, kTotal);
        int copied = 0;
        for (int record = 1; record <= kTotal; ++record) {
            if (channel.stopRequested()) {
                channel.showStatus(stoppedByUserLine(copied, kTotal), true);
                return;
            }
            channel.showStatus("Copying record no. " + std::to_string(record));
            ++copied;
            // The user is slower than the copy: hold here until the stop comes.
            while (record == kBeforeStop && !channel.stopRequested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        channel.showStatus("Finished copy", true);
    });
    EXPECT_FALSE(worker.channel().stopRequested());
    while (form.eShowStatus.lineCount() < kBeforeStop + 1) {
        ASSERT_FALSE(worker.channel().waitForEnd(std::chrono::milliseconds(10)));
        applyPostedStatus(worker.channel(), form, ui);
    }
    worker.channel().requestStop();
    bool ended = false;
    while (!ended) {
        worker.channel().waitForEnd(kStatusInterval);
        ended = applyPostedStatus(worker.channel(), form, ui);
    }
    ASSERT_EQ(form.eShowStatus.lineCount(), static_cast<std::size_t>(kBeforeStop + 2));
    EXPECT_EQ(form.eShowStatus.shownLine(0), "Stopped by the user after 1000 of 40000 records");
    EXPECT_EQ(form.eShowStatus.shownLine(1), "Copying record no. 1000");
    EXPECT_TRUE(form.eOk.enabled);
    EXPECT_EQ(ui.beeps, 1);
}

// The progress window on screen: its controls under their names, opened by the first status
// call and not modal, a worker thread's lines in the list and the bar while the event loop
// and the main window go on, eOk closing it, and the stop question while a copy runs (asked
// once on Quit, and by the close box or Escape).
#include "gui_fixture.h"

#include <QClipboard>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "shell/show_status.h"

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

constexpr int kWait = 60000; // ms; only a guard against a hang

class ProgressWindowGui : public GuiTest {
protected:
    QString row(int index) {
        auto* view = progressWidget<QListView>("eShowStatus");
        return view->model()->index(index, 0).data().toString();
    }
    int rows() { return progressWidget<QListView>("eShowStatus")->model()->rowCount(); }
    void firstLine() {
        std::int32_t one = 1;
        program->context().progress->showStatus("Your database design is now moved to kavero_test", false, true, one,
                                                false);
    }

    // The worker's hold points: it copies up to `released` (in steps of 1000) and then waits,
    // until a stop is asked. Members, so that they outlive a worker a failed test leaves.
    std::atomic<int> released{0};
};

} // namespace

TEST_F(ProgressWindowGui, OpensOnTheFirstStatusWithItsControlsAndEokClosesIt) {
    ui::Program& p = start();
    ui::ProgressWindow& window = p.progressWindow();
    EXPECT_FALSE(window.isVisible());
    firstLine();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window.windowTitle(), "KAVERO 1.1");
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.size(), QSize(3975 / 15, 2925 / 15));
    for (const shell::ControlEntry& entry : p.progressModel().controls()) {
        const QString name = QString::fromUtf8(entry.name.data(), static_cast<int>(entry.name.size()));
        const QList<QObject*> found = window.findChildren<QObject*>(name);
        ASSERT_EQ(found.size(), 1) << entry.name;
        EXPECT_TRUE(found.first()->inherits(ui::FormBinding::widgetClass(entry.kind, false))) << entry.name;
    }
    EXPECT_EQ(p.windows().loadedWindows(), (std::vector<std::string>{"frmMain", "frmShowProgress"}));

    auto* ok = progressWidget<QPushButton>("eOk");
    auto* bar = progressWidget<QProgressBar>("eProgressBar");
    EXPECT_EQ(ok->text(), "Ok");
    EXPECT_FALSE(ok->isEnabled());
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(row(0), "Your database design is now moved to kavero_test");
    QTest::mouseClick(ok, Qt::LeftButton); // disabled: nothing happens
    EXPECT_TRUE(window.isVisible());

    std::int32_t zero = 0;
    p.context().progress->showStatus("Finished moving kavero_test", true, false, zero, false);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(bar->value(), bar->maximum());
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(row(0), "Finished moving kavero_test");
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(ui.messages.empty());

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(p.progressModel().loaded);
    EXPECT_EQ(rows(), 0);
    firstLine(); // opened again, it starts empty
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(rows(), 1);
}

TEST_F(ProgressWindowGui, WorkerLinesReachTheListWhileTheMainWindowStaysUsable) {
    ui::Program& p = start();
    shell::ProgressHost& host = *p.context().progress;
    firstLine();
    host.startWork([this](shell::StatusChannel& channel) {
        channel.showStatus("Copying 5000 records in total", false, true, 5000);
        for (int record = 1; record <= 5000 && !channel.stopRequested(); ++record) {
            channel.showStatus("Copying record no. " + std::to_string(record));
            while (record == 2500 && released < 2500 && !channel.stopRequested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        channel.showStatus("Finished copy", true);
    });
    EXPECT_TRUE(host.working());
    EXPECT_THROW(host.startWork([](shell::StatusChannel&) {}), std::logic_error);

    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 2502; }, kWait));
    EXPECT_EQ(row(0), "Copying record no. 2500");
    EXPECT_EQ(row(2501), "Your database design is now moved to kavero_test");
    auto* bar = progressWidget<QProgressBar>("eProgressBar");
    EXPECT_GT(bar->value(), bar->minimum());
    EXPECT_LT(bar->value(), bar->maximum());
    EXPECT_FALSE(progressWidget<QPushButton>("eOk")->isEnabled());

    // The main window runs a command in the middle of the copy.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    widget<QPushButton>("eCOnvertLocal")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "KAVERO");

    released = 2500;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.working(); }, kWait));
    ASSERT_EQ(rows(), 5003);
    EXPECT_EQ(row(0), "Finished copy");
    EXPECT_EQ(row(1), "Copying record no. 5000");
    EXPECT_EQ(row(5000), "Copying record no. 1");
    EXPECT_EQ(row(5001), "Copying 5000 records in total");
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(progressWidget<QPushButton>("eOk")->isEnabled());
    EXPECT_EQ(ui.beeps, 1);

    // Copy takes the selected lines in the window's text form, newest first.
    auto* view = progressWidget<QListView>("eShowStatus");
    view->selectAll();
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(p.progressModel().eShowStatus.text()));
}

TEST_F(ProgressWindowGui, ClosingDuringACopyAsksToStopIt) {
    ui::Program& p = start();
    ui::ProgressWindow& window = p.progressWindow();
    shell::ProgressHost& host = *p.context().progress;
    firstLine();
    host.startWork([this](shell::StatusChannel& channel) {
        constexpr int kTotal = 40000;
        channel.showStatus("Copying 40000 records in total", false, true, kTotal);
        int copied = 0;
        for (int record = 1; record <= kTotal; ++record) {
            if (channel.stopRequested()) {
                channel.showStatus(shell::stoppedByUserLine(copied, kTotal), true);
                return;
            }
            channel.showStatus("Copying record no. " + std::to_string(record));
            ++copied;
            while (record % 1000 == 0 && released < record && !channel.stopRequested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        channel.showStatus("Finished copy", true);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 1002; }, kWait));

    // Quit, then No: the main window goes, the copy goes on, and Quit asks once only.
    ui.answers.push_back(shell::MessageAnswer::No);
    widget<QPushButton>("eClose")->click();
    EXPECT_FALSE(p.mainWindow().isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Stop the copy?");
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::YesNo);
    EXPECT_TRUE(window.isVisible());
    released = 1000;
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 2002; }, kWait));

    // Yes, by Escape: the worker stops after the record it is at and says so.
    ui.answers.push_back(shell::MessageAnswer::Yes);
    QTest::keyClick(progressWidget<QListView>("eShowStatus"), Qt::Key_Escape);
    ASSERT_EQ(ui.messages.size(), 2u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.working(); }, kWait));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(row(0), "Stopped by the user after 2000 of 40000 records");
    EXPECT_EQ(row(1), "Copying record no. 2000");
    auto* ok = progressWidget<QPushButton>("eOk");
    EXPECT_TRUE(ok->isEnabled());

    // Once the copy has ended, closing asks nothing.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ui.messages.size(), 2u);
}

// "Go" under "Directly to local SQL server" in the real window against the sandbox server:
// the confirmation answered No leaves the server alone; answered Yes, the table is made and
// its records copied while the progress window shows the lines and the main window stays
// usable, with the Go button off until the copy has ended.
#include "gui_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>
#include <string>

#include "script/scratch_database.h"
#include "source/engine.h"
#include "support/sandbox.h"

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

constexpr int kWait = 60000; // ms; only a guard against a hang

using DirectCommandGui = GuiTest;

} // namespace

TEST_F(DirectCommandGui, GoAsksFirstThenCopiesTheRecordsWhileTheWindowsStayUsable) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    const std::filesystem::path file = std::filesystem::path(KAVERO_FIXTURE_DIR) / "customers.mdb";
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    kavero::testing::ScratchDatabase scratch(sandbox, "kavero_gui_direct");
    const auto records = static_cast<int>(source::AccessDatabase(file.string(), {}).recordCount("Customers"));
    ASSERT_GT(records, 0);

    ui::Program& p = start(file.string());
    auto* tables = widget<QListWidget>("eTables");
    const auto found = tables->findItems(QStringLiteral("Customers"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    tables->setCurrentItem(found.first());
    widget<QRadioButton>("ECreateKey")->click();
    auto* dsn = widget<QComboBox>("cboDSNList");
    const int entry = dsn->findText(QString::fromStdString(sandbox.dsn));
    ASSERT_GE(entry, 0) << "the sandbox's data source is not listed";
    dsn->setCurrentIndex(entry);
    widget<QLineEdit>("eMySqlDatabase")->setText(QString::fromStdString(scratch.name()));
    widget<QLineEdit>("eMySqlusername")->setText(QString::fromStdString(sandbox.user));
    widget<QLineEdit>("eMySqlpassword")->setText(QString::fromStdString(sandbox.password));
    widget<QCheckBox>("eCopyDirectlyAlsoData")->setChecked(true);
    auto* go = widget<QPushButton>("eConvertDirectly");
    ui::ProgressWindow& window = p.progressWindow();

    // No: the question, then the refusal; nothing reaches the server, no progress window.
    ui.answers.push_back(shell::MessageAnswer::No);
    QTest::mouseClick(go, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Warning you will delete all data in your database if the databse already exist "
                                   "!!!!!\r\n\r\nDO you still want to create the database and copy the data !!!!!\r\n");
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::YesNo);
    EXPECT_EQ(ui.messages[1].text, "Opreation canceled by user");
    EXPECT_EQ(ui.messages[1].icon, shell::MessageIcon::Critical);
    EXPECT_EQ(ui.messages[1].buttons, shell::MessageButtons::Ok);
    EXPECT_TRUE(scratch.rows("SHOW TABLES").empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(widget<QPlainTextEdit>("eScriptOutPut")->toPlainText().contains(QStringLiteral("Customers")));
    EXPECT_TRUE(go->isEnabled());

    // Yes: the copy runs on; Go is off meanwhile, other commands still answer.
    ui.answers.push_back(shell::MessageAnswer::Yes);
    QTest::mouseClick(go, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 3u);
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(go->isEnabled());
    QTest::mouseClick(go, Qt::LeftButton); // disabled: no second question
    EXPECT_EQ(ui.messages.size(), 3u);
    ui.fileChoices.push_back(std::nullopt);
    widget<QPushButton>("eGetFileName")->click();
    EXPECT_EQ(ui.dialogs.size(), 1u);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.working(); }, kWait));
    const QStringList shown = statusLines();
    // The copy's lines, then the check's four, the summary on top.
    ASSERT_EQ(shown.size(), records + 7) << shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(shown.first().startsWith(
        QStringLiteral("Records read %1, copied %1, rejected 0, verified %1, in ").arg(records)))
        << shown.first().toStdString();
    EXPECT_EQ(shown[4], "Finished copy");
    EXPECT_EQ(shown[5], QStringLiteral("Copying record no. %1").arg(records));
    EXPECT_EQ(shown[shown.size() - 2], QStringLiteral("Copying %1 records in total").arg(records));
    EXPECT_EQ(shown.last(), QString::fromStdString("Your database design is now moved to " + sandbox.dsn));
    auto* bar = progressWidget<QProgressBar>("eProgressBar");
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(progressWidget<QPushButton>("eOk")->isEnabled());
    EXPECT_TRUE(go->isEnabled());
    EXPECT_TRUE(p.mainWindow().isVisible());
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(scratch.rows("SELECT COUNT(*) FROM `Customers`"),
              (std::vector<std::vector<std::string>>{{std::to_string(records)}}));

    // Fast copy from the Options menu, the check after it switched off there: one line for
    // the committed chunk instead of one per record, below the bar the records done, the rate
    // and the time left, and no record read back.
    widget<QAction>("eFastCopy")->trigger();
    widget<QAction>("eCheckCopy")->trigger();
    p.mainWindow().binding().pull();
    ASSERT_TRUE(p.model().eFastCopy.checked);
    ASSERT_FALSE(p.model().eCheckCopy.checked);
    ui.answers.push_back(shell::MessageAnswer::Yes);
    QTest::mouseClick(go, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.working(); }, kWait));
    const QStringList fast = statusLines();
    EXPECT_TRUE(fast.contains(QStringLiteral("Copied records 1 to %1").arg(records))) << fast.join('\n').toStdString();
    EXPECT_TRUE(fast.first().startsWith(
        QStringLiteral("Records read %1, copied %1, rejected 0, not verified, in ").arg(records)))
        << fast.first().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1 of %1 records, [0-9]+ records/s, 0 s left$").arg(records))
                    .match(progressWidget<QLabel>("eRate")->text())
                    .hasMatch())
        << progressWidget<QLabel>("eRate")->text().toStdString();
    EXPECT_EQ(scratch.rows("SELECT COUNT(*) FROM `Customers`"),
              (std::vector<std::vector<std::string>>{{std::to_string(records)}}));
}

// The Qt side of the user-interface port and the About window with real dialogs: each
// dialog is inspected and answered by a timer, so nothing waits for a person.
#include "gui_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>

#include "ui/qt_user_interface.h"

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

class QtPort : public GuiTest {
protected:
    // Runs `inspect` on the modal dialog once it is up; a dialog still open afterwards is
    // closed, so a failed check never leaves the test waiting.
    void whenModal(std::function<void(QWidget*)> inspect) {
        QTimer::singleShot(0, [inspect] {
            QWidget* modal = QApplication::activeModalWidget();
            inspect(modal);
            if (QWidget* still = QApplication::activeModalWidget(); still && still == modal) {
                if (auto* dialog = qobject_cast<QDialog*>(still)) dialog->reject();
            }
        });
    }
};

} // namespace

TEST_F(QtPort, MessageBoxHasTheTitleIconAndButtonsAsked) {
    ui::QtUserInterface port;
    bool seen = false;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), "KAVERO");
        EXPECT_EQ(box->text(), "Delete the old pages?\nThey are in /tmp.");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    const auto answer = port.messageBox("Delete the old pages?\r\nThey are in /tmp.", "KAVERO",
                                        shell::MessageIcon::Question, shell::MessageButtons::YesNo);
    EXPECT_TRUE(seen);
    EXPECT_EQ(answer, shell::MessageAnswer::No);

    whenModal([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    });
    EXPECT_EQ(port.messageBox("1. No database", "KAVERO", shell::MessageIcon::Critical, shell::MessageButtons::Ok),
              shell::MessageAnswer::Ok);
}

TEST_F(QtPort, OpenDialogOffersAccessFilesFromThePresetFolder) {
    ui::QtUserInterface port;
    const QString dataFolder = folder->filePath(QStringLiteral("data"));
    QDir().mkpath(dataFolder);
    const std::string chosen = (dataFolder + QStringLiteral("/shop.accdb")).toStdString();
    std::ofstream(chosen) << "x";
    bool seen = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Select Access source database");
        // Both kinds together first and chosen, then each alone, then every file.
        const QStringList filters = dialog->nameFilters();
        ASSERT_EQ(filters.size(), 4) << filters.join(" | ").toStdString();
        EXPECT_EQ(filters[0], "Access databases (*.mdb *.accdb)");
        EXPECT_TRUE(filters[1].endsWith("(*.mdb)")) << filters[1].toStdString();
        EXPECT_TRUE(filters[2].endsWith("(*.accdb)")) << filters[2].toStdString();
        EXPECT_TRUE(filters[3].endsWith("(*)")) << filters[3].toStdString();
        EXPECT_EQ(dialog->selectedNameFilter(), filters[0]);
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dataFolder).canonicalPath());
        EXPECT_EQ(dialog->defaultSuffix(), "mdb");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->selectFile(QString::fromStdString(chosen));
        static_cast<QDialog*>(dialog)->accept(); // the file dialog checks the choice
    });
    const auto result = port.openFileDialog(
        {"Select Access source database", "*.mdb", (dataFolder + QStringLiteral("/*.mdb")).toStdString(), "mdb"});
    EXPECT_TRUE(seen);
    ASSERT_TRUE(result);
    EXPECT_EQ(QFileInfo(QString::fromStdString(*result)).canonicalFilePath(),
              QFileInfo(QString::fromStdString(chosen)).canonicalFilePath());

    whenModal([](QWidget*) {}); // closed unanswered
    EXPECT_FALSE(port.openFileDialog({"Select Access source database", "*.mdb", "/nonexistent/*.mdb", "mdb"}));
}

TEST_F(QtPort, SaveDialogAsksForAPageInThePresetFolderAndAddsTheExtension) {
    ui::QtUserInterface port;
    const QString webFolder = folder->filePath(QStringLiteral("web"));
    QDir().mkpath(webFolder);
    bool seen = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Where the pages go");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        ASSERT_FALSE(dialog->nameFilters().isEmpty());
        EXPECT_TRUE(dialog->nameFilters().first().endsWith("(*.asp)")) << dialog->nameFilters().first().toStdString();
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(webFolder).canonicalPath());
        EXPECT_EQ(dialog->defaultSuffix(), "asp");
        dialog->selectFile(QStringLiteral("pages")); // typed without its extension
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto result = port.saveFileDialog(
        {"Where the pages go", "*.asp", (webFolder + QStringLiteral("/*.asp")).toStdString(), "asp"});
    EXPECT_TRUE(seen);
    ASSERT_TRUE(result);
    EXPECT_EQ(QFileInfo(QString::fromStdString(*result)).fileName(), "pages.asp");
    EXPECT_EQ(QFileInfo(QString::fromStdString(*result)).dir().canonicalPath(), QDir(webFolder).canonicalPath());
}

TEST_F(QtPort, BusyPointerNestsAndYieldPushesFirst) {
    ui::QtUserInterface port;
    port.setBusy(true);
    port.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    port.setBusy(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    port.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    port.setBusy(false); // one too many is harmless
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    int pushes = 0;
    port.setBeforeYield([&] { ++pushes; });
    port.yield();
    EXPECT_EQ(pushes, 1);
}

TEST_F(QtPort, ProgramStartsAreFoundOrNot) {
    ui::QtUserInterface port;
    EXPECT_EQ(port.startProgram("kavero-no-such-program", {}), shell::StartResult::NotFound);
    EXPECT_EQ(port.startProgram("/nonexistent/bin/tool", {}), shell::StartResult::NotFound);
    EXPECT_EQ(port.startProgram("true", {"--ignored"}), shell::StartResult::Started);
}

TEST_F(QtPort, AboutWindowShowsVersionAndClosesWithEscape) {
    start();
    for (int round = 0; round < 2; ++round) {
        bool seen = false;
        whenModal([&](QWidget* modal) {
            ASSERT_NE(modal, nullptr);
            seen = true;
            EXPECT_EQ(modal->objectName(), "frmAbout");
            EXPECT_EQ(modal->windowTitle(), "KAVERO 1.1.0");
            EXPECT_EQ(modal->findChild<QLabel*>("lblTitle")->text(), "KAVERO");
            EXPECT_EQ(modal->findChild<QLabel*>("lblVersion")->text(), "Version 1.1.0");
            EXPECT_EQ(modal->findChild<QLabel*>("lblDescription")->text(),
                      "KAVERO converts MS-Access databases to mySQL servers");
            EXPECT_EQ(modal->findChild<QPushButton*>("cmdSysInfo")->text(), "&System Info...");
            EXPECT_EQ(modal->findChild<QPushButton*>("cmdOK")->text(), "OK");
            EXPECT_TRUE(modal->findChild<QPushButton*>("cmdOK")->isDefault());
            QTest::keyClick(modal, Qt::Key_Escape);
            EXPECT_FALSE(modal->isVisible());
        });
        widget<QAction>("AboutKAVERO")->trigger();
        EXPECT_TRUE(seen);
    }
    EXPECT_TRUE(program->mainWindow().isVisible());
}

// The main window on screen: every control under its name with the right widget class and
// texts, the first run, the settings round trip through the real settings file, and Quit
// against Exit program. The load's rules themselves are tested without widgets.
#include "gui_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextDocument>

#include <sys/stat.h>

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

class MainWindowGui : public GuiTest {};

std::string text(QLineEdit* edit) {
    return edit->text().toStdString();
}

// What a control shows as its text: a caption, a title or the text typed in it.
QString shownText(QObject* object) {
    if (auto* button = qobject_cast<QAbstractButton*>(object)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(object)) return label->text();
    if (auto* frame = qobject_cast<QGroupBox*>(object)) return frame->title();
    if (auto* edit = qobject_cast<QLineEdit*>(object)) return edit->text();
    // A menu's access key is marked in the window only.
    if (auto* menu = qobject_cast<QMenu*>(object)) return menu->title().remove(QChar('&'));
    if (auto* action = qobject_cast<QAction*>(object)) return action->text().remove(QChar('&'));
    return QStringLiteral("<no text>");
}

// A tooltip's text without the markup that makes it wrap.
std::string plainToolTip(const QWidget* widget) {
    QTextDocument document;
    document.setHtml(widget->toolTip());
    return document.toPlainText().toStdString();
}

} // namespace

TEST_F(MainWindowGui, EveryControlIsAWidgetOfItsKindUnderItsNameWithItsTexts) {
    ui::Program& p = start();
    ui::MainWindow& window = p.mainWindow();
    EXPECT_EQ(window.objectName(), "frmMain");
    EXPECT_EQ(window.windowTitle(), "KAVERO Version 1.1");
    for (const shell::ControlEntry& entry : p.model().controls()) {
        const QString name = QString::fromUtf8(entry.name.data(), static_cast<int>(entry.name.size()));
        const QList<QObject*> found = window.findChildren<QObject*>(name);
        ASSERT_EQ(found.size(), 1) << entry.name;
        QObject* object = found.first();
        const bool multiLine = entry.kind == shell::ControlKind::TextBox && entry.as<shell::TextBox>()->multiLine;
        const char* expected = ui::FormBinding::widgetClass(entry.kind, multiLine);
        if (entry.name == "Options" || entry.name == "Help") expected = "QMenu";
        EXPECT_TRUE(object->inherits(expected)) << entry.name << " is a " << object->metaObject()->className();
        if (auto* widget = qobject_cast<QWidget*>(object); widget && !widget->isWindow()) {
            // Switched off at design time means not shown; every other control is there.
            EXPECT_EQ(widget->isHidden(), !entry.control->visible) << entry.name;
            EXPECT_EQ(plainToolTip(widget), QString::fromStdString(entry.control->toolTip).trimmed().toStdString())
                << entry.name;
        }
    }
    for (const char* off : {"eErrorcount", "eKeyCount", "eFieldCount", "eDirectToISP", "eProvideName"}) {
        EXPECT_TRUE(widget<QWidget>(off)->isHidden()) << off;
    }

    auto* tabs = widget<QTabWidget>("eTabControl");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Select database to convert");
    EXPECT_EQ(tabs->tabText(1), "Publish converted database to");
    EXPECT_EQ(tabs->tabText(2), "Script output");
    const std::pair<const char*, const char*> texts[] = {
        {"eClose", "&Quit"},
        {"eErrorcount", "0"},
        {"eLabelTabelname", "Talble list"},
        {"eLabelFields", "Fields list"},
        {"eLabelKey", "Key(s) in database"},
        {"Frame1", "Index/Key option"},
        {"ECreateKey", "Create Keys as keys"},
        {"ManuelUpload", "Manuel upload"},
        {"Label8", "ISP mySql password"},
        {"Label1", "Choose you SQLterminator"},
        {"Frame2", "To file"},
        {"eCOnvertLocal", "Go"},
        {"Options", "Options"},
        {"Exitprogram", "Exit program"},
        {"HelpOntheweb", "Help On the web"},
        {"AboutKAVERO", "About KAVERO"},
    };
    for (const auto& [name, expected] : texts) EXPECT_EQ(shownText(widget<QObject>(name)), expected) << name;
    const std::pair<const char*, const char*> toolTips[] = {
        {"eClose", "Click here to quit application"},
        {"eFilename", "Here you have to select you access database"},
        {"eGetFileName", "Press here to search for the source database"},
        {"eAllowFieldNamesIwthSpace", "Some older older version of mySQL do not allow the (') to mark a space in a "
                                      "field name, check your verison of mySQL to see if your server supports this.  "},
    };
    for (const auto& [name, expected] : toolTips) {
        EXPECT_EQ(plainToolTip(widget<QWidget>(name)), QString::fromUtf8(expected).trimmed().toStdString()) << name;
    }
    EXPECT_TRUE(widget<QGroupBox>("Frame2")->font().bold());
    EXPECT_FALSE(widget<QComboBox>("cboDSNList")->isEditable());
    EXPECT_TRUE(widget<QComboBox>("eSQLTerminator")->isEditable());
    EXPECT_TRUE(widget<QComboBox>("eProvideName")->isEditable());
    EXPECT_TRUE(widget<QAction>("sep")->isSeparator());
}

TEST_F(MainWindowGui, FirstRunDefaultsAndEveryKindOfControlRoundTripThroughTheSettingsFile) {
    writeProviders("\"Host, A\",a\nHost B,b\n");
    {
        ui::Program& p = start();
        EXPECT_TRUE(p.mainWindow().isVisible());
        EXPECT_FALSE(p.splash().isVisible());
        EXPECT_EQ(p.mainWindow().pos(), QPoint(500 / 15, 500 / 15));
        EXPECT_TRUE(widget<QRadioButton>("ECreateKey")->isChecked());
        EXPECT_TRUE(widget<QLineEdit>("eSourceDest")->isEnabled());
        EXPECT_FALSE(widget<QComboBox>("eProvideName")->isEnabled());
        EXPECT_EQ(widget<QComboBox>("eSQLTerminator")->currentText(), ";");
        EXPECT_EQ(widget<QComboBox>("cboDSNList")->currentText(), "(None)");
        EXPECT_EQ(widget<QTabWidget>("eTabControl")->currentIndex(), 0);
        EXPECT_FALSE(QFile::exists(settingsFile())); // nothing is written before the window closes

        widget<QLineEdit>("eFilename")->setText(QStringLiteral("/nonexistent/shop.mdb"));
        widget<QLineEdit>("eMySqlpassword")->setText(QStringLiteral("p;a=ss w\xC3\xB6rd"));
        widget<QLineEdit>("eMySqlDatabaseISP")->setText(QStringLiteral("web,shop"));
        widget<QCheckBox>("eCopyDirectlyAlsoData")->setChecked(true);
        widget<QRadioButton>("eCreateIndex")->click();
        widget<QComboBox>("eSQLTerminator")->setEditText(QStringLiteral("GO"));
        widget<QComboBox>("eProvideName")->setCurrentIndex(1);
        p.mainWindow().move(60, 40);
        widget<QAction>("Exitprogram")->trigger();
        EXPECT_FALSE(p.mainWindow().isVisible());
    }
    EXPECT_TRUE(ui.messages.empty());

    // Every key under its section, the 22, the six of the controls added since and the
    // window's size, in a file only its owner can read.
    EXPECT_EQ(storedKeys().size(), 30);
    const std::pair<const char*, QString> stored[] = {
        {"MainLeft", "900"},
        {"MainTop", "600"},
        {"eFilename", "/nonexistent/shop.mdb"},
        {"eMySqlpassword", QStringLiteral("p;a=ss w\xC3\xB6rd")},
        {"eMySqlDatabaseISP", "web,shop"},
        {"eCopyDirectlyAlsoData", "1"},
        {"ECreateKey", "False"},
        {"eCreateIndex", "True"},
        {"eSQLTerminator", "GO"},
        {"eProvideName", "Host, A"},
    };
    for (const auto& [key, value] : stored) EXPECT_EQ(storedValue(QString::fromLatin1(key)), value) << key;
    struct stat info {};
    ASSERT_EQ(::stat(settingsFile().toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // The next run shows it all again. The database no longer exists: it is not opened.
    program.reset();
    ui::Program& again = start();
    EXPECT_EQ(again.mainWindow().pos(), QPoint(60, 40));
    EXPECT_EQ(text(widget<QLineEdit>("eFilename")), "/nonexistent/shop.mdb");
    EXPECT_EQ(widget<QLineEdit>("eMySqlpassword")->text(), QStringLiteral("p;a=ss w\xC3\xB6rd"));
    EXPECT_EQ(text(widget<QLineEdit>("eMySqlDatabaseISP")), "web,shop");
    EXPECT_TRUE(widget<QCheckBox>("eCopyDirectlyAlsoData")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("eCreateIndex")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("ECreateKey")->isChecked());
    EXPECT_EQ(widget<QComboBox>("eSQLTerminator")->currentText(), "GO");
    EXPECT_EQ(widget<QComboBox>("eProvideName")->currentIndex(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowGui, QuitClosesEveryWindowExitProgramOnlyTheMainWindow) {
    auto progressLike = [] {
        auto* other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->setObjectName(QStringLiteral("frmShowProgress"));
        other->show();
        return QPointer<QWidget>(other);
    };
    {
        ui::Program& p = start();
        QPointer<QWidget> progress = progressLike();
        widget<QAction>("Exitprogram")->trigger();
        QApplication::processEvents();
        EXPECT_FALSE(p.mainWindow().isVisible());
        ASSERT_TRUE(progress);
        EXPECT_TRUE(progress->isVisible());
        progress->close();
    }
    EXPECT_EQ(storedValue("ECreateKey"), "True");
    program.reset();
    QFile::remove(settingsFile());
    ui::Program& p = start();
    QPointer<QWidget> progress = progressLike();
    widget<QPushButton>("eClose")->click();
    QApplication::processEvents();
    EXPECT_FALSE(p.mainWindow().isVisible());
    EXPECT_TRUE(!progress || !progress->isVisible());
    EXPECT_EQ(storedValue("ECreateKey"), "True"); // saved on the way out
}

TEST_F(MainWindowGui, ClosingTheWindowSavesOnce) {
    ui::Program& p = start();
    widget<QLineEdit>("eMySqlDatabase")->setText(QStringLiteral("first"));
    p.mainWindow().close();
    widget<QLineEdit>("eMySqlDatabase")->setText(QStringLiteral("changed after close"));
    p.mainWindow().close();
    EXPECT_EQ(storedValue("eMySqlDatabase"), "first");
}

TEST_F(MainWindowGui, OptionItemsAndRecordsPerPageBindBothWaysAndSurviveARestart) {
    {
        ui::Program& p = start();
        auto* lossless = widget<QAction>("eLossless");
        ASSERT_TRUE(lossless);
        EXPECT_TRUE(widget<QMenu>("Options")->actions().contains(lossless));
        EXPECT_EQ(lossless->text().remove(QChar('&')), "Lossless script");
        EXPECT_TRUE(lossless->isCheckable());
        EXPECT_FALSE(lossless->isChecked());
        lossless->trigger();
        auto* item = widget<QAction>("eLeavePasswordOut");
        auto* perPage = widget<QLineEdit>("eRecordsPerPage");
        ASSERT_TRUE(item && perPage);
        EXPECT_TRUE(widget<QMenu>("Options")->actions().contains(item));
        EXPECT_EQ(item->text().remove(QChar('&')), "Leave the MySQL password out of the web pages");
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked());
        EXPECT_EQ(perPage->text(), "5");
        EXPECT_EQ(widget<QLabel>("LabelRecordsPerPage")->text(), "Records per copy page");
        EXPECT_TRUE(widget<QGroupBox>("Frame3")->isAncestorOf(perPage));

        item->trigger();
        perPage->setText(QStringLiteral("25"));
        p.mainWindow().binding().pull();
        EXPECT_TRUE(p.model().eLeavePasswordOut.checked);
        EXPECT_TRUE(p.model().eLossless.checked);
        EXPECT_EQ(p.model().eRecordsPerPage.text, "25");
        p.model().eLeavePasswordOut.checked = false;
        p.mainWindow().binding().push();
        EXPECT_FALSE(item->isChecked());
        item->trigger();
        widget<QAction>("Exitprogram")->trigger();
    }
    EXPECT_EQ(storedValue("eLeavePasswordOut"), "1");
    EXPECT_EQ(storedValue("eLossless"), "1");
    EXPECT_EQ(storedValue("eRecordsPerPage"), "25");

    program.reset();
    start();
    EXPECT_TRUE(widget<QAction>("eLeavePasswordOut")->isChecked());
    EXPECT_TRUE(widget<QAction>("eLossless")->isChecked());
    EXPECT_EQ(widget<QLineEdit>("eRecordsPerPage")->text(), "25");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowGui, TheWebHostButtonsRunTheirCommands) {
    start();
    const QString chosen = folder->filePath(QStringLiteral("web/pages.asp"));
    ui.fileChoices = {chosen.toStdString()};
    widget<QPushButton>("eGetAspFile")->click();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(ui.dialogs[0].save);
    EXPECT_EQ(widget<QLineEdit>("eSourceDest")->text(), chosen);

    // No database: the question, then the list, and the window turns to the publish page.
    ui.answers = {shell::MessageAnswer::No};
    widget<QPushButton>("ePublishToISP")->click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::YesNo);
    EXPECT_EQ(ui.messages[1].text.rfind("1. You have selected no filename for the Ms-Access database !", 0), 0u)
        << ui.messages[1].text;
    EXPECT_EQ(widget<QTabWidget>("eTabControl")->currentIndex(), 1);
}

TEST_F(MainWindowGui, SaveAsWritesTheScriptBoxWholeInUtf8OrSaysWhyNot) {
    start();
    auto* script = widget<QPlainTextEdit>("eScriptOutPut");
    script->setPlainText(QStringLiteral("CREATE TABLE `Gr\u00FC\u00DFe` (\n  `\u540D` TEXT\n);"));
    const QString target = folder->filePath(QStringLiteral("out.sql"));
    {
        QFile earlier(target);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(QByteArray(500, 'x')); // longer than the script: replaced, not overwritten in part
    }
    ui.fileChoices = {target.toStdString()};
    widget<QPushButton>("eSaveScript")->click();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(ui.dialogs[0].save);
    EXPECT_EQ(ui.dialogs[0].request.filter, "*.sql");
    EXPECT_EQ(ui.dialogs[0].request.defaultExtension, "sql");
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("CREATE TABLE `Gr\xC3\xBC\xC3\x9F"
                                            "e` (\r\n  `\xE5\x90\x8D` TEXT\r\n);"));
    EXPECT_TRUE(ui.messages.empty());

    // Cancelled: nothing written, nothing said.
    ui.fileChoices = {std::nullopt};
    widget<QPushButton>("eSaveScript")->click();
    EXPECT_TRUE(ui.messages.empty());

    const QString nowhere = folder->filePath(QStringLiteral("missing/out.sql"));
    ui.fileChoices = {nowhere.toStdString()};
    widget<QPushButton>("eSaveScript")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, app::kSaveScriptErrorTitle);
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::Critical);
    EXPECT_NE(ui.messages[0].text.find(nowhere.toStdString()), std::string::npos) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("No such file"), std::string::npos) << ui.messages[0].text;
    EXPECT_FALSE(QFile::exists(nowhere));
}

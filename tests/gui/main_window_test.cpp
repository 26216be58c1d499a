// The main window on screen: every control under its name with the right widget class and
// texts, the first run, the settings round trip through the real settings file, damaged or
// outdated settings, the provider list, and Quit against Exit program.
#include "gui_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include <sys/stat.h>

#include "shell/settings.h"

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

class MainWindowGui : public GuiTest {};

std::string text(QLineEdit* edit) { return edit->text().toStdString(); }

} // namespace

TEST_F(MainWindowGui, EveryControlIsAWidgetOfItsKindUnderItsName) {
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
            EXPECT_EQ(widget->toolTip().toStdString(), entry.control->toolTip) << entry.name;
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
    EXPECT_EQ(widget<QPushButton>("eClose")->text(), "&Quit");
    EXPECT_EQ(widget<QPushButton>("eClose")->toolTip(), "Click here to quit application");
    EXPECT_EQ(widget<QLabel>("eLabelTabelname")->text(), "Talble list");
    EXPECT_EQ(widget<QLabel>("eLabelFields")->text(), "Fields list");
    EXPECT_EQ(widget<QLabel>("eLabelKey")->text(), "Key(s) in database");
    EXPECT_EQ(widget<QGroupBox>("Frame1")->title(), "Index/Key option");
    EXPECT_EQ(widget<QCheckBox>("eAllowFieldNamesIwthSpace")->toolTip(),
              "Some older older version of mySQL do not allow the (') to mark a space in a field name, check your "
              "verison of mySQL to see if your server supports this.  ");
    EXPECT_EQ(widget<QLineEdit>("eFilename")->toolTip(), "Here you have to select you access database");
    EXPECT_EQ(widget<QPushButton>("eGetFileName")->toolTip(), "Press here to search for the source database");
    EXPECT_EQ(widget<QRadioButton>("ManuelUpload")->text(), "Manuel upload");
    EXPECT_EQ(widget<QLabel>("Label8")->text(), "ISP mySql password");
    EXPECT_EQ(widget<QLabel>("Label1")->text(), "Choose you SQLterminator");
    EXPECT_EQ(widget<QGroupBox>("Frame2")->title(), "To file");
    EXPECT_TRUE(widget<QGroupBox>("Frame2")->font().bold());
    EXPECT_EQ(widget<QPushButton>("eCOnvertLocal")->text(), "Go");
    EXPECT_FALSE(widget<QComboBox>("cboDSNList")->isEditable());
    EXPECT_TRUE(widget<QComboBox>("eSQLTerminator")->isEditable());
    EXPECT_TRUE(widget<QComboBox>("eProvideName")->isEditable());
    EXPECT_EQ(widget<QMenu>("Options")->title(), "Options");
    EXPECT_EQ(widget<QAction>("Exitprogram")->text(), "Exit program");
    EXPECT_EQ(widget<QAction>("HelpOntheweb")->text(), "Help On the web");
    EXPECT_TRUE(widget<QAction>("sep")->isSeparator());
    EXPECT_EQ(widget<QAction>("AboutKAVERO")->text(), "About KAVERO");
}

TEST_F(MainWindowGui, FirstRunWithAnEmptyStoreShowsEveryDefault) {
    ui::Program& p = start();
    EXPECT_TRUE(ui.messages.empty());
    ui::MainWindow& window = p.mainWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(p.splash().isVisible());
    EXPECT_EQ(window.pos(), QPoint(500 / 15, 500 / 15));
    for (const char* name : {"eFilename", "eMySqlDatabase", "eMySqlusername", "eMySqlpassword", "eSourceDest",
                             "eMySqlserveraddressISP", "eMySqlDatabaseISP", "eMySqlusernameISP", "eMySqlpasswordISP"}) {
        EXPECT_EQ(text(widget<QLineEdit>(name)), "") << name;
    }
    for (const char* name : {"eAllowFieldNamesIwthSpace", "eCopyDirectlyAlsoData", "eISPAlsoCopyData"}) {
        EXPECT_FALSE(widget<QCheckBox>(name)->isChecked()) << name;
    }
    EXPECT_TRUE(widget<QRadioButton>("ECreateKey")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("eCreateIndex")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("eCreateNoKeys")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("ManuelUpload")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("eDirectToISP")->isChecked());
    EXPECT_TRUE(widget<QLineEdit>("eSourceDest")->isEnabled());
    EXPECT_FALSE(widget<QComboBox>("eProvideName")->isEnabled());
    auto* terminator = widget<QComboBox>("eSQLTerminator");
    EXPECT_EQ(terminator->currentText(), ";");
    EXPECT_EQ(terminator->count(), 4);
    EXPECT_EQ(terminator->itemText(3), "CrLf");
    auto* dsn = widget<QComboBox>("cboDSNList");
    EXPECT_EQ(dsn->count(), 1);
    EXPECT_EQ(dsn->currentText(), "(None)");
    EXPECT_EQ(widget<QComboBox>("eProvideName")->currentText(), "(None)");
    EXPECT_EQ(widget<QListWidget>("eTables")->count(), 0);
    EXPECT_EQ(widget<QTableWidget>("eFieldListGrid")->rowCount(), 0);
    EXPECT_EQ(widget<QTabWidget>("eTabControl")->currentIndex(), 0);
    EXPECT_FALSE(QFile::exists(settingsFile())); // nothing is written before the window closes
}

TEST_F(MainWindowGui, AllKeysRoundTripThroughTheSettingsFile) {
    writeProviders("\"Host, A\",a\nHost B,b\n");
    {
        ui::Program& p = start();
        widget<QLineEdit>("eFilename")->setText(QStringLiteral("/nonexistent/shop.mdb"));
        widget<QLineEdit>("eMySqlDatabase")->setText(QStringLiteral("shop"));
        widget<QLineEdit>("eMySqlusername")->setText(QStringLiteral("anna"));
        widget<QLineEdit>("eMySqlpassword")->setText(QStringLiteral("p;a=ss w\xC3\xB6rd"));
        widget<QLineEdit>("eMySqlserveraddressISP")->setText(QStringLiteral("db.example.org"));
        widget<QLineEdit>("eMySqlDatabaseISP")->setText(QStringLiteral("web,shop"));
        widget<QLineEdit>("eMySqlusernameISP")->setText(QStringLiteral("web"));
        widget<QLineEdit>("eMySqlpasswordISP")->setText(QStringLiteral("secret"));
        widget<QLineEdit>("eSourceDest")->setText(QStringLiteral("/tmp/out/index.asp"));
        widget<QCheckBox>("eCopyDirectlyAlsoData")->setChecked(true);
        widget<QCheckBox>("eAllowFieldNamesIwthSpace")->setChecked(true);
        widget<QRadioButton>("eCreateIndex")->click();
        widget<QComboBox>("eSQLTerminator")->setEditText(QStringLiteral("GO"));
        widget<QComboBox>("eProvideName")->setCurrentIndex(1);
        p.mainWindow().move(100, 40);
        widget<QAction>("Exitprogram")->trigger();
        EXPECT_FALSE(p.mainWindow().isVisible());
    }
    EXPECT_TRUE(ui.messages.empty());

    // Every key, in its form, under the section, in a file only its owner can read.
    QStringList expected;
    for (const auto& key : shell::kSettingKeys) expected << QStringLiteral("Settings/") + QString::fromLatin1(key.key.data(), static_cast<int>(key.key.size()));
    QStringList keys = storedKeys();
    keys.sort();
    expected.sort();
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(storedValue("MainLeft"), "1500");
    EXPECT_EQ(storedValue("MainTop"), "600");
    EXPECT_EQ(storedValue("eFilename"), "/nonexistent/shop.mdb");
    EXPECT_EQ(storedValue("eMySqlpassword"), QStringLiteral("p;a=ss w\xC3\xB6rd"));
    EXPECT_EQ(storedValue("eMySqlDatabaseISP"), "web,shop");
    EXPECT_EQ(storedValue("eCopyDirectlyAlsoData"), "1");
    EXPECT_EQ(storedValue("eISPAlsoCopyData"), "0");
    EXPECT_EQ(storedValue("eAllowFieldNamesIwthSpace"), "1");
    EXPECT_EQ(storedValue("eCreateNoKeys"), "False");
    EXPECT_EQ(storedValue("ECreateKey"), "False");
    EXPECT_EQ(storedValue("eCreateIndex"), "True");
    EXPECT_EQ(storedValue("ManuelUpload"), "True");
    EXPECT_EQ(storedValue("eDirectToISP"), "False");
    EXPECT_EQ(storedValue("eSQLTerminator"), "GO");
    EXPECT_EQ(storedValue("cboDSNList"), "(None)");
    EXPECT_EQ(storedValue("eProvideName"), "Host, A");
    struct stat info {};
    ASSERT_EQ(::stat(settingsFile().toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // The next run shows it all again. The database no longer exists: it is not opened.
    program.reset();
    ui::Program& again = start();
    EXPECT_EQ(again.mainWindow().pos(), QPoint(100, 40));
    EXPECT_EQ(text(widget<QLineEdit>("eFilename")), "/nonexistent/shop.mdb");
    EXPECT_EQ(widget<QLineEdit>("eMySqlpassword")->text(), QStringLiteral("p;a=ss w\xC3\xB6rd"));
    EXPECT_EQ(text(widget<QLineEdit>("eMySqlDatabaseISP")), "web,shop");
    EXPECT_EQ(text(widget<QLineEdit>("eSourceDest")), "/tmp/out/index.asp");
    EXPECT_TRUE(widget<QCheckBox>("eCopyDirectlyAlsoData")->isChecked());
    EXPECT_FALSE(widget<QCheckBox>("eISPAlsoCopyData")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("eCreateIndex")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("ECreateKey")->isChecked());
    EXPECT_EQ(widget<QComboBox>("eSQLTerminator")->currentText(), "GO");
    EXPECT_EQ(widget<QComboBox>("eProvideName")->currentIndex(), 1);
    EXPECT_EQ(widget<QTabWidget>("eTabControl")->currentIndex(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowGui, KeyOptionsAllFalseLoadWithCreateKeys) {
    seedSettings({{"eCreateNoKeys", "False"}, {"ECreateKey", "False"}, {"eCreateIndex", "False"}});
    start();
    EXPECT_TRUE(widget<QRadioButton>("ECreateKey")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("eCreateIndex")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("eCreateNoKeys")->isChecked());
}

TEST_F(MainWindowGui, VanishedDataSourceAndProviderShowNoneAndAreSavedSo) {
    writeProviders("Host A,a\n");
    seedSettings({{"cboDSNList", "shop_dsn"}, {"eProvideName", "host a"}, {"eDirectToISP", "True"},
                  {"ManuelUpload", "False"}});
    start();
    EXPECT_EQ(widget<QComboBox>("cboDSNList")->currentText(), "(None)");
    EXPECT_EQ(widget<QComboBox>("eProvideName")->currentText(), "(None)");
    // Direct to ISP comes only from the saved settings, and switches the rows.
    EXPECT_TRUE(widget<QRadioButton>("eDirectToISP")->isChecked());
    EXPECT_FALSE(widget<QLineEdit>("eSourceDest")->isEnabled());
    EXPECT_TRUE(widget<QComboBox>("eProvideName")->isEnabled());
    widget<QPushButton>("eClose")->click();
    EXPECT_EQ(storedValue("cboDSNList"), "(None)");
    EXPECT_EQ(storedValue("eProvideName"), "(None)");
    EXPECT_EQ(storedValue("eDirectToISP"), "True");
}

TEST_F(MainWindowGui, ProviderFileOf150RecordsWithAQuotedComma) {
    std::string providers = "\"Smith, Jones & Co\",\"http://sj.example\"\r\n";
    for (int i = 2; i <= 150; ++i) providers += "Provider " + std::to_string(i) + ",http://p" + std::to_string(i) + "\r\n";
    writeProviders(providers);
    seedSettings({{"eProvideName", "Provider 100"}});
    start();
    auto* box = widget<QComboBox>("eProvideName");
    ASSERT_EQ(box->count(), 101);
    EXPECT_EQ(box->itemText(0), "(None)");
    EXPECT_EQ(box->itemText(1), "Smith, Jones & Co");
    EXPECT_EQ(box->itemText(100), "Provider 100");
    EXPECT_EQ(box->currentIndex(), 100);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowGui, DamagedSettingsAndABrokenProviderFileAreReported) {
    writeProviders("Host A,a\nHost B");
    seedSettings({{"MainLeft", "far left"}, {"eMySqlusername", "anna"}});
    start();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "On load splash");
    EXPECT_EQ(ui.messages[0].text, "Type mismatch: \"far left\" is no window position (setting MainLeft) 13");
    EXPECT_NE(ui.messages[1].text.find("record 2 (\"Host B\") has no second field"), std::string::npos);
    EXPECT_EQ(text(widget<QLineEdit>("eMySqlusername")), "anna");
    EXPECT_EQ(widget<QComboBox>("eProvideName")->count(), 2);
    EXPECT_TRUE(program->mainWindow().isVisible());
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

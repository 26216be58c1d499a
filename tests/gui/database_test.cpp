// The window on real Access files: a database opened from the command line and through the
// browse button, a table picked into the grids, and "Go" under "To file" with and without
// its inputs.
#include "gui_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>

#include <filesystem>

#include "script/to_file_command.h"
#include "ui/form_binding.h"

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

class DatabaseGui : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        database = std::filesystem::path(KAVERO_TESTDATA_DIR) / "jet4" / "testV2003.mdb";
        if (!std::filesystem::exists(database)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    }

    QStringList tableNames() {
        QStringList names;
        auto* list = widget<QListWidget>("eTables");
        for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
        return names;
    }

    void pick(const char* table) {
        auto* list = widget<QListWidget>("eTables");
        const auto found = list->findItems(QString::fromLatin1(table), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << table;
        list->setCurrentItem(found.first());
    }

    std::filesystem::path database;
};

QString headerText(QTableWidget* table, int column) {
    QTableWidgetItem* item = table->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

} // namespace

TEST_F(DatabaseGui, DatabaseArgumentOpensAndATablePickFillsTheGrids) {
    start(database.string());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(tableNames(), (QStringList{"Table1", "Table2", "Table3", "Table4"}));
    EXPECT_EQ(widget<QLabel>("eLabelTabelname")->text(), "testV2003.mdb");
    EXPECT_EQ(widget<QLineEdit>("eFilename")->text().toStdString(), database.string());

    // The header row of each grid is its column heading, not a row.
    pick("Table1");
    auto* fields = widget<QTableWidget>("eFieldListGrid");
    ASSERT_EQ(fields->rowCount(), 9);
    EXPECT_TRUE(fields->horizontalHeader()->isVisible());
    EXPECT_EQ(headerText(fields, 0), "Field name");
    EXPECT_EQ(headerText(fields, 3), "Can not be null");
    EXPECT_EQ(fields->item(0, 0)->text(), "A");
    EXPECT_EQ(fields->item(8, 1)->text(), "BOOLEAN");
    auto* keys = widget<QTableWidget>("ekeyListGrid");
    ASSERT_EQ(keys->rowCount(), 2);
    EXPECT_EQ(headerText(keys, 4), "Key type");
    EXPECT_EQ(keys->item(1, 0)->text(), "A");
    // The counters are kept though not shown.
    EXPECT_EQ(widget<QLineEdit>("eFieldCount")->text(), "9");
    EXPECT_EQ(widget<QLineEdit>("eKeyCount")->text(), "2");
    EXPECT_EQ(fields->columnWidth(0), program->model().eFieldListGrid.colWidth(0) / 15);

    // Another table replaces the rows.
    pick("Table2");
    EXPECT_NE(fields->rowCount(), 0);
    EXPECT_EQ(fields->rowCount(), static_cast<int>(program->model().eFieldListGrid.rows()) - 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DatabaseGui, BrowseButtonOpensTheChosenFile) {
    start();
    ui.fileChoices = {database.string()};
    widget<QPushButton>("eGetFileName")->click();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].request.title, "Select Access source database");
    EXPECT_EQ(tableNames().size(), 4);
    EXPECT_EQ(widget<QLineEdit>("eFilename")->text().toStdString(), database.string());
}

TEST_F(DatabaseGui, GoListsWhatIsMissingOrShowsTheScriptSelectedOnTheScriptPage) {
    seedSettings({{"eSQLTerminator", "CrLf"}});
    start(database.string());
    widget<QTabWidget>("eTabControl")->setCurrentIndex(1);
    widget<QPlainTextEdit>("eScriptOutPut")->setPlainText(QStringLiteral("earlier text"));
    widget<QPushButton>("eCOnvertLocal")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].text.rfind("1. You have to select a table to convert first !", 0), 0u)
        << ui.messages[0].text;
    EXPECT_EQ(widget<QTabWidget>("eTabControl")->currentIndex(), 0);
    EXPECT_EQ(widget<QPlainTextEdit>("eScriptOutPut")->toPlainText(), "earlier text");

    pick("Table1");
    widget<QPushButton>("eCOnvertLocal")->click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, script::kScriptCreatedMessage);
    EXPECT_EQ(widget<QTabWidget>("eTabControl")->currentIndex(), 2);
    const std::string& script = program->model().eScriptOutPut.text;
    ASSERT_NE(script.find("CREATE TABLE"), std::string::npos);
    ASSERT_NE(script.find("\r\n"), std::string::npos);
    auto* box = widget<QPlainTextEdit>("eScriptOutPut");
    EXPECT_EQ(box->toPlainText(), ui::displayText(script));
    EXPECT_GE(box->blockCount(), 2); // one statement a line
    const QTextCursor cursor = box->textCursor();
    EXPECT_EQ(cursor.selectionStart(), 0);
    EXPECT_EQ(cursor.selectionEnd(), box->toPlainText().size());

    // Another command pulls the window again: the script keeps its CR LF line ends.
    const std::string before = script;
    widget<QRadioButton>("ManuelUpload")->click();
    EXPECT_EQ(program->model().eScriptOutPut.text, before);
}

TEST_F(DatabaseGui, AnotherDatabaseTakesThePreviousKeysWithItAndEnterOpensTheTypedPath) {
    start(database.string());
    pick("Table1");
    auto* keys = widget<QTableWidget>("ekeyListGrid");
    ASSERT_EQ(keys->rowCount(), 2);
    EXPECT_EQ(widget<QLabel>("eLabelKey")->text(), "Keys in database Table1");

    // Typed and opened with Enter: the new tables, and no keys or captions of the old table.
    const std::filesystem::path other = database.parent_path() / "indexTestV2003.mdb";
    auto* path = widget<QLineEdit>("eFilename");
    path->setText(QString::fromStdString(other.string()));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(tableNames().isEmpty());
    EXPECT_EQ(widget<QLabel>("eLabelTabelname")->text(), "indexTestV2003.mdb");
    EXPECT_EQ(widget<QTableWidget>("eFieldListGrid")->rowCount(), 0);
    EXPECT_EQ(keys->rowCount(), 0);
    EXPECT_TRUE(keys->horizontalHeader()->isHidden());
    EXPECT_EQ(widget<QLabel>("eLabelKey")->text(), "Key(s) in database");
    EXPECT_EQ(widget<QLabel>("eLabelFields")->text(), "Fields list");
    EXPECT_EQ(widget<QLineEdit>("eKeyCount")->text(), "0");

    // A path typed relative to the working folder is opened and shown whole.
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(database.parent_path());
    path->setText(QStringLiteral("./testV2003.mdb"));
    QTest::keyClick(path, Qt::Key_Enter);
    std::filesystem::current_path(here);
    EXPECT_EQ(path->text().toStdString(), database.string());
    EXPECT_EQ(tableNames(), (QStringList{"Table1", "Table2", "Table3", "Table4"}));

    // A path that leads nowhere is reported; the list shown stays.
    path->setText(QString::fromStdString((database.parent_path() / "no such file.mdb").string()));
    QTest::keyClick(path, Qt::Key_Return);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error on opening database, on eFilename");
    EXPECT_NE(ui.messages[0].text.find("3024"), std::string::npos) << ui.messages[0].text;
    EXPECT_EQ(tableNames().size(), 4);
}

TEST_F(DatabaseGui, TickingAllowSpacesListsTheTablesABlankHadHidden) {
    const std::filesystem::path blanks = database.parent_path().parent_path() / "ace" / "githubIssue16.accdb";
    start(database.string());
    pick("Table1");
    ASSERT_EQ(widget<QTableWidget>("ekeyListGrid")->rowCount(), 2);

    // Browsed to: a name with a blank empties the list, and the old keys go as well.
    ui.fileChoices = {blanks.string()};
    widget<QPushButton>("eGetFileName")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(tableNames().isEmpty());
    EXPECT_EQ(widget<QTableWidget>("ekeyListGrid")->rowCount(), 0);

    auto* allow = widget<QCheckBox>("eAllowFieldNamesIwthSpace");
    allow->setFocus();
    QTest::keyClick(allow, Qt::Key_Space);
    ASSERT_TRUE(allow->isChecked());
    EXPECT_EQ(tableNames(), (QStringList{"Designation", "Donation Detail", "Donation Type", "Donor"}));
    EXPECT_EQ(ui.messages.size(), 1u);

    // A list that is shown is not opened again, so the picked table stays in the grids.
    pick("Donation Type");
    const int fields = widget<QTableWidget>("eFieldListGrid")->rowCount();
    ASSERT_GT(fields, 0) << (ui.messages.size() > 1 ? ui.messages.back().text : std::string());
    allow->click();
    allow->click();
    EXPECT_TRUE(allow->isChecked());
    EXPECT_EQ(widget<QTableWidget>("eFieldListGrid")->rowCount(), fields);
    EXPECT_EQ(widget<QListWidget>("eTables")->currentItem()->text(), "Donation Type");
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(DatabaseGui, LosslessListsTheValuesTablesAndKeepsThePick) {
    start((std::filesystem::path(KAVERO_FIXTURE_DIR) / "complex_fields.mdb").string());
    ASSERT_EQ(tableNames(), (QStringList{"Items", "Tagged"}));
    pick("Tagged");
    auto* lossless = widget<QAction>("eLossless");
    ASSERT_FALSE(lossless->isChecked());

    lossless->trigger();
    EXPECT_EQ(tableNames(), (QStringList{"Items", "Items_Files", "Tagged", "Tagged_Tags"}));
    ASSERT_NE(widget<QListWidget>("eTables")->currentItem(), nullptr);
    EXPECT_EQ(widget<QListWidget>("eTables")->currentItem()->text(), "Tagged");
    EXPECT_GT(widget<QTableWidget>("eFieldListGrid")->rowCount(), 0);

    // Picked alone, a values table is read like any other.
    pick("Items_Files");
    EXPECT_GT(widget<QTableWidget>("eFieldListGrid")->rowCount(), 0);
    lossless->trigger();
    EXPECT_EQ(tableNames(), (QStringList{"Items", "Tagged"}));
    EXPECT_EQ(widget<QListWidget>("eTables")->currentItem(), nullptr);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

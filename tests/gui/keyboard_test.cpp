// The main window without a mouse and on small screens: Tab and Shift+Tab through each page and
// Quit, Ctrl+Tab between the pages, the menus from the keyboard, tooltips wrapped, and a saved
// place or size that no longer fits brought back onto the screen.
#include "gui_fixture.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <set>

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

std::string joined(const QStringList& list) {
    return list.join(QStringLiteral(", ")).toStdString();
}

class KeyboardGui : public GuiTest {
protected:
    ui::MainWindow& shownAndActive() {
        ui::MainWindow& window = start().mainWindow();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        for (const shell::ControlEntry& entry : program->model().controls()) {
            controls.insert(QString::fromUtf8(entry.name.data(), static_cast<int>(entry.name.size())));
        }
        return window;
    }

    // What one Tab stop stands for: a control by its name, an exclusive option group (one stop,
    // the arrow keys choose inside it) or the row of page tabs.
    QString stopName(QWidget* widget) const {
        for (QWidget* at = widget; at; at = at->parentWidget()) {
            if (qobject_cast<QTabBar*>(at)) return QStringLiteral("page tabs");
            if (!controls.count(at->objectName())) continue;
            if (auto* radio = qobject_cast<QRadioButton*>(at); radio && radio->autoExclusive()) {
                return QStringLiteral("options of ") + radio->parentWidget()->objectName();
            }
            return at->objectName();
        }
        return QStringLiteral("unnamed ") + QString::fromLatin1(widget ? widget->metaObject()->className() : "nothing");
    }

    // Presses the key until the focus is back where it started; fails when the focus stays put
    // (a grid that keeps Tab) or never comes back.
    QStringList walk(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QStringList stops;
        QWidget* start = QApplication::focusWidget();
        for (int press = 0; press < 60; ++press) {
            QWidget* before = QApplication::focusWidget();
            if (!before) {
                ADD_FAILURE() << "nothing has the focus after " << joined(stops);
                return stops;
            }
            QTest::keyClick(before, key, modifiers);
            QWidget* now = QApplication::focusWidget();
            if (now == before) {
                ADD_FAILURE() << "the focus stays in " << stopName(now).toStdString();
                return stops;
            }
            if (now == start) return stops;
            stops << stopName(now);
        }
        ADD_FAILURE() << "the focus never comes back: " << stops.join(", ").toStdString();
        return stops;
    }

    std::set<QString> controls;
};

} // namespace

TEST_F(KeyboardGui, TabAndShiftTabVisitEveryControlOfEachPageAndQuitInReadingOrder) {
    ui::MainWindow& window = shownAndActive();
    auto* tabs = widget<QTabWidget>("eTabControl");
    auto* quit = widget<QWidget>("eClose");
    // In reading order on the page; the walk may hold more stops, but these in this order.
    const QStringList reading[] = {
        {"eFilename", "eGetFileName", "eTables", "eFieldListGrid", "ekeyListGrid", "options of Frame1",
         "eAllowFieldNamesIwthSpace"},
        {"eSQLTerminator", "eCOnvertLocal", "cboDSNList", "eMySqlDatabase", "eMySqlpassword", "eCopyDirectlyAlsoData",
         "eConvertDirectly", "options of Frame5", "eSourceDest", "eGetAspFile", "eMySqlserveraddressISP",
         "eMySqlpasswordISP", "eISPAlsoCopyData", "eRecordsPerPage", "ePublishToISP"},
        {"eScriptOutPut", "eSaveScript"},
    };
    // Lists and grids with rows and a current cell, where Tab could move between cells.
    shell::frmMain& model = program->model();
    for (shell::Grid* grid : {&model.eFieldListGrid, &model.ekeyListGrid}) {
        grid->addItem("Name\tType\tLenght\tA\tB");
        grid->fixedRows = 1;
        grid->addItem("ID\tAUTONUM\t4\tFalse\t");
        grid->addItem("Title\tTEXT\t50\tTrue\t");
    }
    model.eTables.addItem("Customers");
    model.eTables.addItem("Orders");
    window.binding().push();
    for (const char* name : {"eFieldListGrid", "ekeyListGrid"}) widget<QTableWidget>(name)->setCurrentCell(0, 0);

    for (int page = 0; page < tabs->count(); ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        tabs->setCurrentIndex(page);
        QApplication::processEvents();
        // Every control the user could reach with the mouse on this page, and Quit.
        QStringList expected{QStringLiteral("page tabs"), QStringLiteral("eClose")};
        for (QWidget* control : tabs->widget(page)->findChildren<QWidget*>()) {
            if (!controls.count(control->objectName()) || !control->isVisible() || !control->isEnabled() ||
                control->focusPolicy() == Qt::NoFocus) {
                continue;
            }
            if (!expected.contains(stopName(control))) expected << stopName(control);
        }

        quit->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), quit);
        const QStringList forward = walk(Qt::Key_Tab, Qt::NoModifier);
        QStringList sortedForward = forward + QStringList{QStringLiteral("eClose")};
        QStringList sortedExpected = expected;
        sortedForward.sort();
        sortedExpected.sort();
        EXPECT_EQ(sortedForward, sortedExpected) << "forward: " << joined(forward);

        QStringList backward = walk(Qt::Key_Backtab, Qt::ShiftModifier);
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, forward);

        // Quit comes last on the page: the stops before it follow the page's reading order.
        qsizetype last = -1;
        for (const QString& name : reading[page]) {
            const qsizetype at = forward.indexOf(name);
            EXPECT_GT(at, last) << name.toStdString() << " out of order in " << joined(forward);
            last = at;
        }
    }

    // Inside an option group the arrow keys choose.
    tabs->setCurrentIndex(0);
    auto* keys = widget<QRadioButton>("ECreateKey");
    keys->setFocus(Qt::TabFocusReason);
    QTest::keyClick(keys, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), widget<QRadioButton>("eCreateIndex"));
    EXPECT_TRUE(widget<QRadioButton>("eCreateIndex")->isChecked());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(KeyboardGui, CtrlTabTurnsThePagesAndTheMenusOpenFromTheKeyboard) {
    ui::MainWindow& window = shownAndActive();
    auto* tabs = widget<QTabWidget>("eTabControl");
    auto* script = widget<QPlainTextEdit>("eScriptOutPut");
    script->setPlainText(QStringLiteral("CREATE TABLE t (a INT);"));

    // From wherever the focus is, grids and the script box included, and round in both ways.
    const std::pair<const char*, int> steps[] = {{"eFieldListGrid", 1}, {"eMySqlDatabase", 2}, {"eScriptOutPut", 0}};
    for (const auto& [from, then] : steps) {
        auto* focus = widget<QWidget>(from);
        focus->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), then) << "Ctrl+Tab from " << from;
    }
    auto* grid = widget<QTableWidget>("ekeyListGrid");
    grid->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(script->toPlainText(), "CREATE TABLE t (a INT);") << "no tab typed into the script";

    // Each menu and item shows its caption with an access key, unique within its menu.
    auto* options = widget<QMenu>("Options");
    auto* help = widget<QMenu>("Help");
    for (QMenu* menu : {options, help}) {
        EXPECT_FALSE(QKeySequence::mnemonic(menu->title()).isEmpty()) << menu->title().toStdString();
        std::set<QString> used;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            const QKeySequence key = QKeySequence::mnemonic(item->text());
            EXPECT_FALSE(key.isEmpty()) << item->text().toStdString();
            EXPECT_TRUE(used.insert(key.toString()).second) << "twice: " << key.toString().toStdString();
        }
    }
    EXPECT_EQ(options->title().remove(QChar('&')), "Options");
    EXPECT_EQ(widget<QAction>("Exitprogram")->text().remove(QChar('&')), "Exit program");

    const std::pair<QKeyCombination, QMenu*> openers[] = {
        {QKeyCombination(Qt::AltModifier, Qt::Key_O), options},
        {QKeyCombination(Qt::AltModifier, Qt::Key_H), help},
        {QKeyCombination(Qt::NoModifier, Qt::Key_F10), options},
    };
    for (const auto& [keys, menu] : openers) {
        widget<QLineEdit>("eMySqlDatabase")->setFocus(Qt::OtherFocusReason);
        ASSERT_FALSE(menu->isVisible());
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
        EXPECT_TRUE(menu->isVisible()) << QKeySequence(keys).toString().toStdString();
        menu->close();
        window.menuBar()->setActiveAction(nullptr);
        QApplication::processEvents();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
}

TEST_F(KeyboardGui, TooltipsWrapAtAReadableWidthAndShowTheirTextExactly) {
    shownAndActive();
    auto* frame = widget<QWidget>("Frame4");
    const std::string& text = program->model().Frame4.toolTip;
    ASSERT_GT(text.size(), 150u);
    QTextDocument document;
    document.setHtml(frame->toolTip());
    EXPECT_EQ(document.toPlainText().toStdString(), text);
    // Markup-like characters stay text.
    document.setHtml(widget<QWidget>("eAllowFieldNamesIwthSpace")->toolTip());
    EXPECT_NE(document.toPlainText().indexOf(QStringLiteral("the (') to mark")), -1);

    QToolTip::showText(frame->mapToGlobal(QPoint(4, 4)), frame->toolTip(), frame);
    QApplication::processEvents();
    QWidget* tip = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) tip = top;
    }
    ASSERT_NE(tip, nullptr);
    const QFontMetrics metrics(tip->font());
    EXPECT_LT(tip->width(), metrics.averageCharWidth() * 100);
    EXPECT_GE(tip->height(), metrics.lineSpacing() * 2);
    QToolTip::hideText();
}

TEST_F(KeyboardGui, ASavedPlaceOrSizeThatNoLongerFitsComesBackOntoTheScreen) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    auto onScreen = [&](const QWidget& window) {
        return available.contains(window.frameGeometry())
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure()
                         << "frame " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
                         << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    };
    auto twips = [](int pixels) { return QString::number(pixels * 15); };
    // Beyond the right and bottom edges, three screens large.
    seedSettings({{"MainLeft", twips(available.right() + 400)},
                  {"MainTop", twips(available.bottom() + 300)},
                  {"MainWidth", twips(available.width() * 3)},
                  {"MainHeight", twips(available.height() * 3)}});
    {
        ui::MainWindow& window = start().mainWindow();
        EXPECT_TRUE(onScreen(window));
        EXPECT_GE(window.width(), window.minimumSizeHint().width());
        window.close();
    }
    // Left of and above the screen.
    program.reset();
    seedSettings({{"MainLeft", "-30000"}, {"MainTop", "-30000"}});
    {
        ui::MainWindow& window = start().mainWindow();
        EXPECT_TRUE(onScreen(window));
        EXPECT_EQ(window.frameGeometry().topLeft(), available.topLeft());
        // A size that fits is kept, and saved beside the place.
        window.resize(available.width() - 100, available.height() - 120);
        window.move(available.left() + 10, available.top() + 12);
        window.close();
    }
    const QSize chosen(program->mainWindow().size());
    EXPECT_EQ(storedValue("MainWidth"), twips(chosen.width()));
    program.reset();
    ui::MainWindow& again = start().mainWindow();
    EXPECT_EQ(again.size(), chosen);
    EXPECT_EQ(again.pos(), QPoint(available.left() + 10, available.top() + 12));
    EXPECT_TRUE(ui.messages.empty());
}

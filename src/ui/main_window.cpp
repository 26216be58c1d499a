// Widgets of frmMain, their layout, and the wiring of clicks to the commands.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <utility>

#include "ui/widgets.h"

namespace kavero::ui {

namespace {

constexpr int kTwipsPerPixel = 15;

QLabel* wrappedLabel(const char* name) {
    auto* label = named<QLabel>(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QGroupBox* boldFrame(const char* name) {
    auto* frame = named<QGroupBox>(name);
    QFont font = frame->font();
    font.setBold(true);
    frame->setFont(font);
    return frame;
}

// Children of a bold frame keep the normal font.
void plainFont(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(false);
    widget->setFont(font);
}

QPushButton* goButton(const char* name) {
    auto* button = named<QPushButton>(name);
    button->setMinimumWidth(72);
    button->setIcon(QApplication::style()->standardIcon(QStyle::SP_MediaPlay));
    return button;
}

QTableWidget* grid(const char* name) {
    auto* table = named<QTableWidget>(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    // Tab leaves the grid for the next control; the arrow keys move between cells.
    table->setTabKeyNavigation(false);
    return table;
}

// Label and text box pairs, labels in one column; the boxes take what width is left.
QGridLayout* labelledRows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    int row = 0;
    for (const auto& [label, box] : rows) {
        grid->addWidget(named<QLabel>(label), row, 0);
        auto* edit = named<QLineEdit>(box);
        edit->setMinimumWidth(60);
        grid->addWidget(edit, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

// A page that scrolls when the window is smaller than the page needs, as on a small screen or
// at a large scale factor; the window itself then still fits the screen.
QScrollArea* scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(page);
    // The tab page's own background shows through.
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
}

QHBoxLayout* captionRow(QLabel* image, QLabel* caption) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(image);
    row->addWidget(caption, 1);
    return row;
}

} // namespace

MainWindow::MainWindow(shell::frmMain& model, app::MainWindowContext& context, app::Windows& windows, QWidget* parent)
    : QMainWindow(parent), m_model(model), m_context(context), m_windows(windows), m_binding(model, *this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(productIcon());
    build();
    connectHandlers();
    m_binding.push();
    // The client area as the window was designed: 10545 x 5145 twips, the menu bar above it.
    resize(10545 / kTwipsPerPixel, 5145 / kTwipsPerPixel + menuBar()->sizeHint().height());
}

void MainWindow::build() {
    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    auto* tabs = named<QTabWidget>("eTabControl");
    tabs->addTab(scrolling(buildDatabasePage()), QString());
    tabs->addTab(scrolling(buildPublishPage()), QString());
    tabs->addTab(buildScriptPage(), QString());
    tabs->setDocumentMode(false);
    layout->addWidget(tabs, 1);

    auto* bottom = new QHBoxLayout;
    // Counters the commands keep; switched off for the user (they would lie over the key list).
    for (const char* counter : {"eErrorcount", "eKeyCount", "eFieldCount"}) {
        auto* box = named<QLineEdit>(counter);
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setMaximumWidth(48);
        bottom->addWidget(box);
    }
    bottom->addStretch(1);
    auto* quit = named<QPushButton>("eClose");
    quit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    quit->setMinimumWidth(96);
    bottom->addWidget(quit);
    layout->addLayout(bottom);
    setCentralWidget(central);
    buildKeyboard();

    m_fileDialog = named<QFileDialog>("dlgCommonDialog", this);
    m_fileDialog->setModal(true);
    auto* images = new QObject(this);
    images->setObjectName(QStringLiteral("imgListDesign"));
}

QWidget* MainWindow::buildDatabasePage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    QStyle* look = style();

    auto* file = new QHBoxLayout;
    file->setSpacing(4);
    file->addWidget(imageLabel("Image8", look->standardIcon(QStyle::SP_DriveHDIcon)));
    auto* fileName = named<QLineEdit>("eFilename");
    fileName->setPlaceholderText(QStringLiteral("Access database (.mdb, .accdb)"));
    file->addWidget(fileName, 1);
    auto* browse = named<QPushButton>("eGetFileName");
    browse->setIcon(look->standardIcon(QStyle::SP_DirOpenIcon));
    browse->setAutoDefault(false);
    file->addWidget(browse);
    layout->addLayout(file, 0, 0, 1, 3);

    layout->addLayout(captionRow(imageLabel("Image1", look->standardIcon(QStyle::SP_FileDialogListView)),
                                 named<QLabel>("eLabelTabelname")),
                      1, 0);
    auto* tables = named<QListWidget>("eTables");
    tables->setMinimumWidth(130);
    layout->addWidget(tables, 2, 0, 3, 1);

    layout->addLayout(captionRow(imageLabel("Image3", look->standardIcon(QStyle::SP_FileDialogDetailedView)),
                                 named<QLabel>("eLabelFields")),
                      1, 1, 1, 2);
    layout->addWidget(grid("eFieldListGrid"), 2, 1, 1, 2);

    layout->addLayout(captionRow(imageLabel("Image22", look->standardIcon(QStyle::SP_FileDialogInfoView)),
                                 named<QLabel>("eLabelKey")),
                      3, 1);
    layout->addWidget(grid("ekeyListGrid"), 4, 1);

    auto* options = named<QGroupBox>("Frame1");
    auto* optionLayout = new QVBoxLayout(options);
    optionLayout->setSpacing(2);
    optionLayout->setContentsMargins(8, 4, 8, 6);
    for (const char* name : {"ECreateKey", "eCreateIndex", "eCreateNoKeys"}) {
        optionLayout->addWidget(named<QRadioButton>(name));
    }
    optionLayout->addWidget(named<QCheckBox>("eAllowFieldNamesIwthSpace"));
    optionLayout->addStretch(1);
    layout->addWidget(options, 3, 2, 2, 1, Qt::AlignTop);

    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 4);
    layout->setColumnStretch(2, 0);
    layout->setRowStretch(2, 3);
    layout->setRowStretch(4, 2);
    return page;
}

QWidget* MainWindow::buildPublishPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    QStyle* look = style();

    // To file.
    auto* toFile = boldFrame("Frame2");
    {
        auto* v = new QVBoxLayout(toFile);
        v->setSpacing(4);
        v->setContentsMargins(8, 4, 8, 8);
        auto* text = wrappedLabel("Label5");
        v->addWidget(text);
        v->addStretch(1);
        auto* caption = wrappedLabel("Label1");
        v->addWidget(caption);
        auto* terminator = named<QComboBox>("eSQLTerminator");
        terminator->setEditable(true);
        terminator->setInsertPolicy(QComboBox::NoInsert);
        v->addWidget(terminator);
        auto* go = goButton("eCOnvertLocal");
        v->addWidget(go, 0, Qt::AlignRight);
        for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(caption),
                           static_cast<QWidget*>(terminator), static_cast<QWidget*>(go)}) {
            plainFont(w);
        }
    }

    // Directly to a server through a data source.
    auto* direct = boldFrame("Frame4");
    {
        auto* v = new QVBoxLayout(direct);
        v->setSpacing(4);
        v->setContentsMargins(8, 4, 8, 8);
        auto* text = wrappedLabel("Label7");
        v->addWidget(text);
        auto* dsn = named<QComboBox>("cboDSNList");
        v->addWidget(dsn);
        v->addLayout(
            labelledRows({{"Label2", "eMySqlDatabase"}, {"Label3", "eMySqlusername"}, {"Label4", "eMySqlpassword"}}));
        v->addStretch(1);
        v->addWidget(named<QCheckBox>("eCopyDirectlyAlsoData"));
        v->addWidget(goButton("eConvertDirectly"), 0, Qt::AlignRight);
        for (QWidget* w : direct->findChildren<QWidget*>()) plainFont(w);
    }

    // To a web host.
    auto* isp = boldFrame("Frame3");
    {
        auto* v = new QVBoxLayout(isp);
        v->setSpacing(3);
        v->setContentsMargins(8, 2, 8, 6);
        v->addWidget(wrappedLabel("Label6"));
        auto* publishTo = named<QGroupBox>("Frame5");
        auto* rows = new QGridLayout(publishTo);
        rows->setContentsMargins(6, 0, 6, 2);
        rows->setHorizontalSpacing(4);
        rows->setVerticalSpacing(2);
        rows->addWidget(named<QRadioButton>("ManuelUpload"), 0, 0);
        rows->addWidget(named<QLineEdit>("eSourceDest"), 0, 1);
        auto* browse = named<QPushButton>("eGetAspFile");
        browse->setIcon(look->standardIcon(QStyle::SP_DirOpenIcon));
        browse->setAutoDefault(false);
        rows->addWidget(browse, 0, 2);
        rows->addWidget(named<QRadioButton>("eDirectToISP"), 1, 0);
        auto* provider = named<QComboBox>("eProvideName");
        provider->setEditable(true);
        provider->setInsertPolicy(QComboBox::NoInsert);
        rows->addWidget(provider, 1, 1, 1, 2);
        rows->setColumnStretch(1, 1);
        v->addWidget(publishTo);
        v->addLayout(labelledRows({{"Label11", "eMySqlserveraddressISP"},
                                   {"Label10", "eMySqlDatabaseISP"},
                                   {"Label9", "eMySqlusernameISP"},
                                   {"Label8", "eMySqlpasswordISP"}}));
        v->addStretch(1);
        v->addWidget(named<QCheckBox>("eISPAlsoCopyData"));
        // How many records one copy page carries, on the row of Go to keep the frame short.
        auto* last = new QHBoxLayout;
        last->setSpacing(4);
        last->addWidget(named<QLabel>("LabelRecordsPerPage"));
        auto* perPage = named<QLineEdit>("eRecordsPerPage");
        perPage->setMaximumWidth(56);
        perPage->setAlignment(Qt::AlignRight);
        last->addWidget(perPage);
        last->addStretch(1);
        last->addWidget(goButton("ePublishToISP"));
        v->addLayout(last);
        for (QWidget* w : isp->findChildren<QWidget*>()) plainFont(w);
    }

    layout->addWidget(toFile, 2);
    layout->addWidget(direct, 3);
    layout->addWidget(isp, 4);
    return page;
}

QWidget* MainWindow::buildScriptPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* script = named<QPlainTextEdit>("eScriptOutPut");
    script->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Long CREATE TABLE lines wrap on screen; the text itself keeps its lines.
    script->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A script has no use for typed tab characters; Tab goes on to Save as and Quit.
    script->setTabChangesFocus(true);
    layout->addWidget(script);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* saveAs = named<QPushButton>("eSaveScript");
    saveAs->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveAs->setAutoDefault(false);
    row->addWidget(saveAs);
    layout->addLayout(row);
    return page;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    auto* options = named<QMenu>("Options", bar);
    options->setProperty(kAccessKeyProperty, QStringLiteral("O"));
    bar->addMenu(options);
    for (const char* name : {"eLeavePasswordOut", "ePhpPages", "eFastCopy", "eLossless", "eCheckCopy"}) {
        auto* item = named<QAction>(name, options);
        item->setCheckable(true);
        options->addAction(item);
    }
    options->addSeparator();
    auto* exitProgram = named<QAction>("Exitprogram", options);
    options->addAction(exitProgram);

    auto* help = named<QMenu>("Help", bar);
    help->setProperty(kAccessKeyProperty, QStringLiteral("H"));
    bar->addMenu(help);
    for (const char* name : {"HelpOntheweb", "Support", "ISPSupport"}) help->addAction(named<QAction>(name, help));
    auto* separator = named<QAction>("sep", help);
    separator->setSeparator(true);
    help->addAction(separator);
    help->addAction(named<QAction>("AboutKAVERO", help));

    // The access key of each item: the first occurrence of the letter in its caption.
    const std::pair<const char*, const char*> keys[] = {
        {"eLeavePasswordOut", "L"}, {"ePhpPages", "P"},   {"eFastCopy", "F"},    {"eLossless", "s"},
        {"eCheckCopy", "C"},        {"Exitprogram", "x"}, {"HelpOntheweb", "w"}, {"Support", "S"},
        {"ISPSupport", "I"},        {"AboutKAVERO", "A"},
    };
    for (const auto& [name, key] : keys) {
        if (auto* item = bar->findChild<QAction*>(QString::fromLatin1(name))) {
            item->setProperty(kAccessKeyProperty, QString::fromLatin1(key));
        }
    }
}

void MainWindow::buildKeyboard() {
    auto* tabs = findChild<QTabWidget*>(QStringLiteral("eTabControl"));
    // One ring through the page tabs, every page's controls in reading order and Quit; only the
    // shown page's controls are visible, so Tab on each page visits that page and Quit.
    const char* const ring[] = {
        "eFilename eGetFileName eTables eFieldListGrid ekeyListGrid ECreateKey eCreateIndex eCreateNoKeys "
        "eAllowFieldNamesIwthSpace",
        "eSQLTerminator eCOnvertLocal cboDSNList eMySqlDatabase eMySqlusername eMySqlpassword eCopyDirectlyAlsoData "
        "eConvertDirectly ManuelUpload eSourceDest eGetAspFile eDirectToISP eProvideName eMySqlserveraddressISP "
        "eMySqlDatabaseISP eMySqlusernameISP eMySqlpasswordISP eISPAlsoCopyData eRecordsPerPage ePublishToISP",
        "eScriptOutPut eSaveScript eClose",
    };
    QWidget* previous = tabs->tabBar();
    for (const char* page : ring) {
        for (const QString& name : QString::fromLatin1(page).split(QChar(' '))) {
            auto* next = findChild<QWidget*>(name);
            setTabOrder(previous, next);
            previous = next;
        }
    }

    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is, grids and script included.
    auto turn = [tabs](int step) {
        tabs->setCurrentIndex((tabs->currentIndex() + step + tabs->count()) % tabs->count());
    };
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, tabs, [turn] { turn(1); });
    }
    // Shift+Tab arrives as Backtab.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, tabs, [turn] { turn(-1); });
    }
    // F10 opens the first menu, as on other desktops.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        const QList<QAction*> menus = menuBar()->actions();
        if (!menus.isEmpty()) menuBar()->setActiveAction(menus.first());
    });
}

void MainWindow::connectHandlers() {
    connect(findChild<QPushButton*>(QStringLiteral("eClose")), &QPushButton::clicked, this,
            [this] { handle([this] { app::quit(m_windows); }); });
    connect(findChild<QAction*>(QStringLiteral("Exitprogram")), &QAction::triggered, this,
            [this] { handle([this] { app::exitProgram(m_windows); }); });
    connect(findChild<QAction*>(QStringLiteral("AboutKAVERO")), &QAction::triggered, this,
            [this] { m_windows.showAbout(); });
    using HelpCommand = void (*)(app::MainWindowContext&);
    const std::pair<const char*, HelpCommand> helpItems[] = {
        {"HelpOntheweb", app::helpOnTheWebClick}, {"Support", app::supportClick}, {"ISPSupport", app::ispSupportClick}};
    for (const auto& [name, command] : helpItems) {
        connect(findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, command] { handle([this, command] { command(m_context); }); });
    }
    using FormCommand = void (*)(shell::frmMain&, app::MainWindowContext&);
    const std::pair<const char*, FormCommand> buttons[] = {
        {"eGetFileName", app::getFileNameClick},         {"eCOnvertLocal", app::convertLocalClick},
        {"eConvertDirectly", app::convertDirectlyClick}, {"eGetAspFile", app::getAspFileClick},
        {"ePublishToISP", app::publishToIspClick},       {"eSaveScript", app::saveScriptClick}};
    for (const auto& [name, command] : buttons) {
        connect(findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this,
                [this, command] { handle([this, command] { command(m_model, m_context); }); });
    }
    connect(findChild<QAction*>(QStringLiteral("eLossless")), &QAction::triggered, this,
            [this] { handle([this] { app::losslessClick(m_model, m_context); }); });
    // A pick by mouse or keyboard; the binding sets the row with signals blocked.
    connect(findChild<QListWidget*>(QStringLiteral("eTables")), &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) handle([this] { app::tablesClick(m_model, m_context); });
    });
    connect(findChild<QLineEdit*>(QStringLiteral("eFilename")), &QLineEdit::returnPressed, this,
            [this] { handle([this] { app::filenameEnter(m_model, m_context); }); });
    connect(findChild<QCheckBox*>(QStringLiteral("eAllowFieldNamesIwthSpace")), &QCheckBox::clicked, this,
            [this] { handle([this] { app::allowSpaceClick(m_model, m_context); }); });
    for (const char* name : {"ManuelUpload", "eDirectToISP"}) {
        connect(findChild<QRadioButton*>(QString::fromLatin1(name)), &QRadioButton::clicked, this,
                [this] { handle([this] { app::publishToClick(m_model); }); });
    }
}

void MainWindow::handle(const std::function<void()>& command) {
    if (m_running) return;
    m_running = true;
    m_binding.pull();
    try {
        command();
    } catch (const std::exception& error) {
        // Whatever a command lets escape is shown and the program goes on: an exception must
        // never travel through Qt's event loop.
        m_context.ui.messageBox(error.what(), "KAVERO", shell::MessageIcon::Critical, shell::MessageButtons::Ok);
    } catch (...) {
        m_context.ui.messageBox("Unexpected failure", "KAVERO", shell::MessageIcon::Critical,
                                shell::MessageButtons::Ok);
    }
    if (!m_unloaded) m_binding.push();
    m_running = false;
}

void MainWindow::setCopyRunning(bool running) {
    m_model.eConvertDirectly.enabled = !running;
    // Only this button: a full push would put the model's texts over what the user is typing.
    if (auto* go = findChild<QPushButton*>(QStringLiteral("eConvertDirectly"))) go->setEnabled(!running);
}

void MainWindow::placeFromModel() {
    const QPoint place(static_cast<int>(m_model.left / kTwipsPerPixel), static_cast<int>(m_model.top / kTwipsPerPixel));
    const QSize saved(m_model.width / kTwipsPerPixel, m_model.height / kTwipsPerPixel + menuBar()->sizeHint().height());
    // The screen the saved place lies on; a place on no screen (one unplugged since, a smaller
    // resolution) comes back onto the main one.
    QScreen* screen = QGuiApplication::screenAt(place);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(saved.expandedTo(minimumSizeHint()));
        move(place);
        return;
    }
    // The platform window tells the frame around the client area once it exists; a window
    // manager that draws its frame later is not known yet, and its frame counts as none.
    create();
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    const QRect available = screen->availableGeometry();
    const QSize room = available.size().shrunkBy(frame);
    fitPagesInto(room, saved);
    resize(saved.expandedTo(minimumSizeHint()).boundedTo(room));
    const QSize outer = this->size().grownBy(frame);
    // Left and top edges win where a window too large for the screen must stick out.
    const int x = std::max(available.left(), std::min(place.x(), available.right() + 1 - outer.width()));
    const int y = std::max(available.top(), std::min(place.y(), available.bottom() + 1 - outer.height()));
    move(x, y);
}

void MainWindow::fitPagesInto(const QSize& room, const QSize& wanted) {
    // Each page asks for all it needs as long as the window still fits the room; only beyond
    // that does it scroll.
    const auto areas = findChildren<QScrollArea*>();
    for (QScrollArea* area : areas) area->setMinimumSize(0, 0);
    const QSize others = minimumSizeHint();
    for (QScrollArea* area : areas) {
        const QSize around = others - area->minimumSizeHint();
        const QSize allowance = (room - around).expandedTo(QSize(0, 0));
        QWidget* page = area->widget();
        QSize needed = page->minimumSizeHint();
        // Wrapped texts grow taller as the page grows narrower: the height that counts is the
        // one at the width the page will get.
        if (page->hasHeightForWidth()) {
            const int width = std::min(allowance.width(), std::max(needed.width(), wanted.width() - around.width()));
            needed.setHeight(std::max(needed.height(), page->heightForWidth(width)));
        }
        area->setMinimumSize(needed.boundedTo(allowance));
    }
    if (layout()) layout()->activate();
}

void MainWindow::placeIntoModel() {
    m_model.left = static_cast<float>(pos().x() * kTwipsPerPixel);
    m_model.top = static_cast<float>(pos().y() * kTwipsPerPixel);
    m_model.width = width() * kTwipsPerPixel;
    m_model.height = std::max(0, height() - menuBar()->height()) * kTwipsPerPixel;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        m_unloaded = true;
        // A handler that is running (Quit, Exit program) has pulled the model already.
        if (!m_running) m_binding.pull();
        placeIntoModel();
        app::unloadMainWindow(m_model, m_context);
    }
    event->accept();
}

} // namespace kavero::ui

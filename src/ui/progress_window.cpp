// Widgets of frmShowProgress, the timer that takes a worker's status calls, and the stop
// question.
#include "ui/progress_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "kavero/version.h"
#include "shell/show_status.h"
#include "ui/status_line_model.h"
#include "ui/widgets.h"

namespace kavero::ui {

namespace {

constexpr int kTwipsPerPixel = 15;

// Every row as wide as the longest line, so that the horizontal scroll bar reaches the end of
// each line while the view still measures one row per layout.
class LongestLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* lines = dynamic_cast<const StatusLineModel*>(index.model());
        const QModelIndex longest = lines ? lines->longestLine() : QModelIndex();
        return QStyledItemDelegate::sizeHint(option, longest.isValid() ? longest : index);
    }
};

// Copy on the status box takes the selected lines, not only the current one.
class CopyLinesFilter : public QObject {
public:
    CopyLinesFilter(const shell::StatusBox& box, QListView& view) : QObject(&view), m_box(box), m_view(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            return QObject::eventFilter(watched, event);
        }
        QModelIndexList rows = m_view.selectionModel()->selectedRows();
        std::string text;
        if (rows.isEmpty()) {
            text = m_box.text();
        } else {
            std::sort(rows.begin(), rows.end());
            for (const QModelIndex& row : rows) {
                text += m_box.shownLine(static_cast<std::size_t>(row.row()));
                text += "\r\n";
            }
        }
        QApplication::clipboard()->setText(QString::fromStdString(text));
        return true;
    }

private:
    const shell::StatusBox& m_box;
    QListView& m_view;
};

} // namespace

ProgressWindow::ProgressWindow(shell::frmShowProgress& model, shell::UserInterface& ui, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_model(model), m_ui(ui), m_binding(model, *this) {
    setObjectName(QStringLiteral("frmShowProgress"));
    setWindowIcon(productIcon());
    // A tool window does not keep the program running by default; this one stays after the
    // main window has gone, until the user closes it.
    setAttribute(Qt::WA_QuitOnClose, true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    auto* picture = named<QLabel>("Picture1");
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setFrameShadow(QFrame::Sunken);
    picture->setFixedHeight(915 / kTwipsPerPixel);
    layout->addWidget(picture);

    auto* status = named<QListView>("eShowStatus");
    m_lines = new StatusLineModel(status);
    status->setModel(m_lines);
    status->setItemDelegate(new LongestLineDelegate(status));
    status->setUniformItemSizes(true);
    status->setEditTriggers(QAbstractItemView::NoEditTriggers);
    status->setSelectionMode(QAbstractItemView::ExtendedSelection);
    status->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    status->setTextElideMode(Qt::ElideNone);
    status->installEventFilter(new CopyLinesFilter(m_model.eShowStatus, *status));
    layout->addWidget(status, 1);

    auto* bar = named<QProgressBar>("eProgressBar");
    bar->setTextVisible(false);
    bar->setFixedHeight(bar->sizeHint().height() * 2 / 3);
    layout->addWidget(bar);
    layout->addWidget(named<QLabel>("eRate"));

    auto* ok = named<QPushButton>("eOk");
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, [this] { close(); });

    m_timer.setInterval(shell::kStatusInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] { takePosted(); });
    m_binding.push();
    setFixedSize(m_model.width / kTwipsPerPixel, m_model.height / kTwipsPerPixel);
}

ProgressWindow::~ProgressWindow() {
    m_timer.stop();
    m_worker.reset();
}

void ProgressWindow::showStatus(std::string_view message, bool finish, bool start, std::int32_t& total, bool noStep) {
    shell::ShowStatus(m_model, m_ui, message, finish, start, total, noStep);
    push();
}

void ProgressWindow::startWork(shell::StatusWork work) {
    if (m_worker) throw std::logic_error("A copy is running already");
    m_worker = std::make_unique<shell::StatusWorker>(std::move(work));
    m_timer.start();
    if (m_workingChanged) m_workingChanged(true);
}

void ProgressWindow::push() {
    m_binding.push();
    if (m_model.visible && !isVisible()) show();
}

void ProgressWindow::takePosted() {
    if (!m_worker) return;
    if (shell::applyPostedStatus(m_worker->channel(), m_model, m_ui)) {
        m_timer.stop();
        m_worker.reset(); // the thread has ended: this only joins it
        push();
        if (m_workingChanged) m_workingChanged(false);
        return;
    }
    push();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (m_worker) {
        event->ignore();
        if (m_keepRunning || m_worker->channel().stopRequested()) return;
        const shell::MessageAnswer answer =
            m_ui.messageBox("Stop the copy?", kProductName, shell::MessageIcon::Question, shell::MessageButtons::YesNo);
        if (answer != shell::MessageAnswer::Yes) {
            m_keepRunning = true;
            QTimer::singleShot(0, this, [this] { m_keepRunning = false; });
        } else if (m_worker) { // it may have ended while the question was open
            m_worker->channel().requestStop();
        }
        return;
    }
    shell::unloadProgressWindow(m_model);
    m_binding.push();
    event->accept();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kavero::ui

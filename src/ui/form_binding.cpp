// Model to widgets and back, by control kind.
#include "ui/form_binding.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QWidget>

#include <algorithm>

#include "ui/status_line_model.h"

namespace kavero::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ss(const QString& text) {
    return text.toStdString();
}

// Position of the `index`-th character of the model text after CR LF became one line feed.
int displayPosition(const std::string& text, int utf8Index) {
    const int clamped = std::clamp(utf8Index, 0, static_cast<int>(text.size()));
    int removed = 0;
    for (int i = 0; i + 1 < clamped; ++i) {
        if (text[static_cast<std::size_t>(i)] == '\r' && text[static_cast<std::size_t>(i) + 1] == '\n') ++removed;
    }
    return qtPosition(text, clamped) - removed;
}

void setCommon(QWidget& widget, const shell::Control& control) {
    if (widget.isEnabled() != control.enabled) widget.setEnabled(control.enabled);
    if (!widget.isWindow() && widget.isVisibleTo(widget.parentWidget()) != control.visible) {
        widget.setVisible(control.visible);
    }
    const QString tip = wrappedToolTip(control.toolTip);
    if (widget.toolTip() != tip) widget.setToolTip(tip);
}

} // namespace

QString menuCaption(const QObject& menu, const std::string& caption) {
    QString text = qs(caption);
    const QString key = menu.property(kAccessKeyProperty).toString();
    const auto at = key.isEmpty() ? -1 : text.indexOf(key);
    if (at >= 0) text.insert(at, QChar('&'));
    return text;
}

QString wrappedToolTip(const std::string& text) {
    if (text.empty()) return {};
    // Blanks at the end would only widen the tip; line ends the text holds are kept.
    QString escaped = qs(text).trimmed().toHtmlEscaped();
    escaped.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    escaped.replace(QChar('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<qt>") + escaped + QStringLiteral("</qt>");
}

int qtPosition(const std::string& text, int utf8Position) {
    const int clamped = std::clamp(utf8Position, 0, static_cast<int>(text.size()));
    return static_cast<int>(QString::fromUtf8(text.data(), clamped).size());
}

int utf8Position(const QString& text, int qtPosition) {
    return static_cast<int>(text.left(std::clamp(qtPosition, 0, static_cast<int>(text.size()))).toUtf8().size());
}

QString displayText(const std::string& text) {
    QString shown = qs(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QChar('\r'), QChar('\n'));
    return shown;
}

FormBinding::FormBinding(shell::Form& form, QWidget& window) : m_form(form), m_window(window) {}

const char* FormBinding::widgetClass(shell::ControlKind kind, bool multiLine) {
    using shell::ControlKind;
    switch (kind) {
    case ControlKind::CheckBox:
        return "QCheckBox";
    case ControlKind::ComboBox:
        return "QComboBox";
    case ControlKind::CommandButton:
        return "QPushButton";
    case ControlKind::CommonDialog:
        return "QFileDialog";
    case ControlKind::Frame:
        return "QGroupBox";
    case ControlKind::Grid:
        return "QTableWidget";
    case ControlKind::Image:
        return "QLabel";
    case ControlKind::ImageList:
        return "QObject";
    case ControlKind::Label:
        return "QLabel";
    case ControlKind::Line:
        return "QFrame";
    case ControlKind::ListBox:
        return "QListWidget";
    case ControlKind::Menu:
        return "QAction"; // a menu on the bar is a QMenu
    case ControlKind::OptionButton:
        return "QRadioButton";
    case ControlKind::PictureBox:
        return "QLabel";
    case ControlKind::ProgressBar:
        return "QProgressBar";
    case ControlKind::StatusBox:
        return "QListView";
    case ControlKind::TabControl:
        return "QTabWidget";
    case ControlKind::TextBox:
        return multiLine ? "QPlainTextEdit" : "QLineEdit";
    }
    return "QObject";
}

void FormBinding::push() {
    const QString title = qs(m_form.caption);
    if (m_window.windowTitle() != title) m_window.setWindowTitle(title);
    for (const shell::ControlEntry& entry : m_form.controls()) {
        if (QObject* object = m_window.findChild<QObject*>(QString::fromUtf8(entry.name.data(), entry.name.size()))) {
            pushControl(entry, *object);
        }
    }
}

void FormBinding::pull() {
    for (const shell::ControlEntry& entry : m_form.controls()) {
        if (QObject* object = m_window.findChild<QObject*>(QString::fromUtf8(entry.name.data(), entry.name.size()))) {
            pullControl(entry, *object);
        }
    }
}

void FormBinding::pushControl(const shell::ControlEntry& entry, QObject& object) {
    using shell::ControlKind;
    const std::string name(entry.name);
    // A menu is its action: a top menu's title action, or an item.
    if (entry.kind == ControlKind::Menu) {
        const auto& menu = *entry.as<shell::Menu>();
        QAction* action = qobject_cast<QAction*>(&object);
        const QString caption = menuCaption(object, menu.caption);
        if (auto* bar = qobject_cast<QMenu*>(&object)) {
            if (bar->title() != caption) bar->setTitle(caption);
            action = bar->menuAction();
        }
        if (!action) return;
        if (!action->isSeparator() && action->text() != caption) action->setText(caption);
        action->setEnabled(menu.enabled);
        action->setVisible(menu.visible);
        if (action->isCheckable() != menu.checkable) action->setCheckable(menu.checkable);
        if (menu.checkable && action->isChecked() != menu.checked) {
            const QSignalBlocker block(action);
            action->setChecked(menu.checked);
        }
        return;
    }
    QWidget* widget = qobject_cast<QWidget*>(&object);
    if (!widget || entry.kind == ControlKind::CommonDialog) return;
    setCommon(*widget, *entry.control);

    switch (entry.kind) {
    case ControlKind::TextBox: {
        const auto& box = *entry.as<shell::TextBox>();
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            if (line->text() != qs(box.text)) line->setText(qs(box.text));
            if (box.selLength > 0) {
                line->setSelection(qtPosition(box.text, box.selStart),
                                   qtPosition(box.text, box.selStart + box.selLength) -
                                       qtPosition(box.text, box.selStart));
            }
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            const QString shown = displayText(box.text);
            if (edit->toPlainText() != shown) edit->setPlainText(shown);
            m_shownText[name] = shown;
            QTextCursor cursor = edit->textCursor();
            cursor.setPosition(displayPosition(box.text, box.selStart));
            cursor.setPosition(displayPosition(box.text, box.selStart + box.selLength), QTextCursor::KeepAnchor);
            edit->setTextCursor(cursor);
        }
        if (box.hasFocus && !widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
        break;
    }
    case ControlKind::Label: {
        auto* label = qobject_cast<QLabel*>(widget);
        const QString caption = qs(entry.as<shell::Label>()->caption);
        if (label && label->text() != caption) label->setText(caption);
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = qobject_cast<QPushButton*>(widget);
        const QString caption = qs(entry.as<shell::CommandButton>()->caption);
        if (button && button->text() != caption) button->setText(caption);
        break;
    }
    case ControlKind::CheckBox: {
        auto* check = qobject_cast<QCheckBox*>(widget);
        const auto& model = *entry.as<shell::CheckBox>();
        if (!check) break;
        if (check->text() != qs(model.caption)) check->setText(qs(model.caption));
        const QSignalBlocker block(check);
        if (model.value == shell::CheckState::Grayed) check->setTristate(true);
        check->setCheckState(model.value == shell::CheckState::Checked  ? Qt::Checked
                             : model.value == shell::CheckState::Grayed ? Qt::PartiallyChecked
                                                                        : Qt::Unchecked);
        break;
    }
    case ControlKind::OptionButton: {
        auto* radio = qobject_cast<QRadioButton*>(widget);
        const auto& model = *entry.as<shell::OptionButton>();
        if (!radio) break;
        if (radio->text() != qs(model.caption)) radio->setText(qs(model.caption));
        if (radio->isChecked() != model.value) {
            // An auto-exclusive button refuses to be switched off; the model decides here.
            const QSignalBlocker block(radio);
            radio->setAutoExclusive(false);
            radio->setChecked(model.value);
            radio->setAutoExclusive(true);
        }
        break;
    }
    case ControlKind::ListBox: {
        auto* list = qobject_cast<QListWidget*>(widget);
        const auto& model = *entry.as<shell::ListBox>();
        if (!list) break;
        const QSignalBlocker block(list);
        if (!m_shownItems.count(name) || m_shownItems[name] != model.items ||
            list->count() != static_cast<int>(model.items.size())) {
            list->clear();
            for (const std::string& item : model.items) list->addItem(qs(item));
            m_shownItems[name] = model.items;
        }
        if (list->currentRow() != model.listIndex) list->setCurrentRow(model.listIndex);
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = qobject_cast<QComboBox*>(widget);
        const auto& model = *entry.as<shell::ComboBox>();
        if (!combo) break;
        const QSignalBlocker block(combo);
        if (combo->isEditable() != model.editable) combo->setEditable(model.editable);
        if (!m_shownItems.count(name) || m_shownItems[name] != model.items ||
            combo->count() != static_cast<int>(model.items.size())) {
            combo->clear();
            for (const std::string& item : model.items) combo->addItem(qs(item));
            m_shownItems[name] = model.items;
        }
        if (combo->currentIndex() != model.listIndex) combo->setCurrentIndex(model.listIndex);
        if (model.editable && combo->currentText() != qs(model.text)) combo->setEditText(qs(model.text));
        break;
    }
    case ControlKind::Grid: {
        auto* table = qobject_cast<QTableWidget*>(widget);
        const auto& grid = *entry.as<shell::Grid>();
        if (!table) break;
        if (table->columnCount() != grid.cols) table->setColumnCount(grid.cols);
        const auto shown = m_shownCells.find(name);
        if (shown == m_shownCells.end() || shown->second != grid.cells) {
            const int fixed = std::min(grid.fixedRows, grid.rows());
            QStringList header;
            for (int c = 0; c < grid.cols; ++c) header << (fixed > 0 ? qs(grid.cell(0, c)) : QString());
            table->setHorizontalHeaderLabels(header);
            table->horizontalHeader()->setVisible(fixed > 0);
            table->setRowCount(grid.rows() - fixed);
            for (int r = fixed; r < grid.rows(); ++r) {
                for (int c = 0; c < grid.cols; ++c) {
                    auto* item = new QTableWidgetItem(qs(grid.cell(r, c)));
                    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    table->setItem(r - fixed, c, item);
                }
            }
            m_shownCells[name] = grid.cells;
        }
        for (int c = 0; c < grid.cols; ++c) {
            // Widths are kept in twips, 15 to a pixel at 96 dpi; a column is never narrower
            // than its heading or its cells, so "Can not be null" and "AUTONUM" stay readable.
            const int heading =
                !table->horizontalHeader()->isHidden() ? table->horizontalHeader()->sectionSizeHint(c) : 0;
            const int cells = table->rowCount() > 0 ? static_cast<QAbstractItemView*>(table)->sizeHintForColumn(c) : 0;
            const int pixels = std::max({grid.colWidth(c) / 15, heading, cells});
            if (table->columnWidth(c) != pixels) table->setColumnWidth(c, pixels);
        }
        break;
    }
    case ControlKind::StatusBox: {
        auto* view = qobject_cast<QListView*>(widget);
        if (auto* lines = view ? dynamic_cast<StatusLineModel*>(view->model()) : nullptr) {
            lines->show(*entry.as<shell::StatusBox>());
        }
        break;
    }
    case ControlKind::Frame: {
        auto* box = qobject_cast<QGroupBox*>(widget);
        const QString caption = qs(entry.as<shell::Frame>()->caption);
        if (box && box->title() != caption) box->setTitle(caption);
        break;
    }
    case ControlKind::TabControl: {
        auto* tabs = qobject_cast<QTabWidget*>(widget);
        const auto& model = *entry.as<shell::TabControl>();
        if (!tabs) break;
        const QSignalBlocker block(tabs);
        for (int i = 0; i < tabs->count() && i < static_cast<int>(model.captions.size()); ++i) {
            const QString caption = qs(model.captions[static_cast<std::size_t>(i)]);
            if (tabs->tabText(i) != caption) tabs->setTabText(i, caption);
        }
        if (tabs->currentIndex() != model.tab) tabs->setCurrentIndex(model.tab);
        break;
    }
    case ControlKind::ProgressBar: {
        auto* bar = qobject_cast<QProgressBar*>(widget);
        const auto& model = *entry.as<shell::ProgressBar>();
        if (!bar) break;
        // Whole steps of the model's range, which may be any size.
        bar->setRange(0, 1000);
        const float span = model.max - model.min;
        bar->setValue(span > 0 ? static_cast<int>(std::clamp((model.value - model.min) / span, 0.0f, 1.0f) * 1000) : 0);
        break;
    }
    default:
        break;
    }
}

void FormBinding::pullControl(const shell::ControlEntry& entry, QObject& object) {
    using shell::ControlKind;
    // A check mark the user set on a menu item.
    if (entry.kind == ControlKind::Menu) {
        auto& menu = *entry.as<shell::Menu>();
        if (auto* action = qobject_cast<QAction*>(&object); action && menu.checkable && action->isCheckable()) {
            menu.checked = action->isChecked();
        }
        return;
    }
    QWidget* widget = qobject_cast<QWidget*>(&object);
    if (!widget) return;
    switch (entry.kind) {
    case ControlKind::TextBox: {
        auto& box = *entry.as<shell::TextBox>();
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            const QString text = line->text();
            box.text = ss(text);
            if (line->hasSelectedText()) {
                box.selStart = utf8Position(text, line->selectionStart());
                box.selLength = utf8Position(text, line->selectionEnd()) - box.selStart;
            } else {
                box.selStart = utf8Position(text, line->cursorPosition());
                box.selLength = 0;
            }
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            const QString shown = edit->toPlainText();
            const auto known = m_shownText.find(std::string(entry.name));
            if (known == m_shownText.end() || known->second != shown) {
                // Typed by the user: line ends as the rest of the program writes them.
                QString text = shown;
                text.replace(QChar('\n'), QStringLiteral("\r\n"));
                box.text = ss(text);
                m_shownText[std::string(entry.name)] = shown;
            }
            // The selection is mapped back only in the common case of nothing or everything,
            // since CR LF pairs shown as one character make other positions ambiguous.
            const QTextCursor cursor = edit->textCursor();
            if (cursor.hasSelection() && cursor.selectionStart() == 0 && cursor.selectionEnd() == shown.size()) {
                box.selectAll();
            } else if (!cursor.hasSelection()) {
                box.selLength = 0;
            }
        }
        box.hasFocus = widget->hasFocus();
        break;
    }
    case ControlKind::CheckBox: {
        auto* check = qobject_cast<QCheckBox*>(widget);
        if (!check) break;
        const Qt::CheckState state = check->checkState();
        entry.as<shell::CheckBox>()->value = state == Qt::Checked            ? shell::CheckState::Checked
                                             : state == Qt::PartiallyChecked ? shell::CheckState::Grayed
                                                                             : shell::CheckState::Unchecked;
        break;
    }
    case ControlKind::OptionButton:
        if (auto* radio = qobject_cast<QRadioButton*>(widget))
            entry.as<shell::OptionButton>()->value = radio->isChecked();
        break;
    case ControlKind::ListBox:
        if (auto* list = qobject_cast<QListWidget*>(widget)) entry.as<shell::ListBox>()->listIndex = list->currentRow();
        break;
    case ControlKind::ComboBox: {
        auto* combo = qobject_cast<QComboBox*>(widget);
        auto& model = *entry.as<shell::ComboBox>();
        if (!combo) break;
        const int index = combo->currentIndex();
        const QString text = combo->currentText();
        if (combo->isEditable()) {
            model.text = ss(text);
            model.listIndex = (index >= 0 && combo->itemText(index) == text) ? index : -1;
        } else {
            model.listIndex = index;
            model.text = index >= 0 ? ss(combo->itemText(index)) : std::string();
        }
        break;
    }
    case ControlKind::TabControl:
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) entry.as<shell::TabControl>()->tab = tabs->currentIndex();
        break;
    default:
        break;
    }
}

} // namespace kavero::ui

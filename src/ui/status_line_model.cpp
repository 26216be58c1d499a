// Rows of the status box, newest first.
#include "ui/status_line_model.h"

#include <algorithm>
#include <climits>

namespace kavero::ui {

int StatusLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant StatusLineModel::data(const QModelIndex& index, int role) const {
    if (!m_box || !index.isValid() || index.row() < 0 || index.row() >= m_rows) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::string_view line = m_box->lines[static_cast<std::size_t>(m_rows - 1 - index.row())];
    QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    if (role == Qt::DisplayRole) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QChar('\r'), QChar(' '));
        text.replace(QChar('\n'), QChar(' '));
    }
    return text;
}

void StatusLineModel::show(const shell::StatusBox& box) {
    const std::size_t available = box.lineCount();
    if (&box != m_box || box.clears != m_clears || available < static_cast<std::size_t>(m_rows)) {
        beginResetModel();
        m_box = &box;
        m_clears = box.clears;
        m_rows = 0;
        m_longest = 0;
        endResetModel();
    }
    const int count = static_cast<int>(std::min<std::size_t>(available, INT_MAX));
    if (count == m_rows) return;
    for (std::size_t i = static_cast<std::size_t>(m_rows); i < static_cast<std::size_t>(count); ++i) {
        if (box.lines[i].size() > box.lines[m_longest].size()) m_longest = i;
    }
    beginInsertRows(QModelIndex(), 0, count - m_rows - 1);
    m_rows = count;
    endInsertRows();
}

QModelIndex StatusLineModel::longestLine() const {
    return m_rows > 0 ? index(m_rows - 1 - static_cast<int>(m_longest)) : QModelIndex();
}

} // namespace kavero::ui

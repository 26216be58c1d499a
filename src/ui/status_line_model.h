// The lines of a status box as a list model, newest first. The model copies no line: it
// serves row i from the box's lines, and is told of new lines in one batch per push, so
// showing 200,000 lines costs no more per push than showing 20.
#pragma once

#include <QAbstractListModel>

#include <cstddef>

#include "shell/controls.h"

namespace kavero::ui {

class StatusLineModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The line as display text (line breaks inside it shown as blanks) and, whole, as tool tip.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Shows the box's lines: those added since the last call become new rows at the top; a
    // box that was cleared starts over.
    void show(const shell::StatusBox& box);
    // The row of the longest line shown, by characters: the width every row is given.
    QModelIndex longestLine() const;

private:
    const shell::StatusBox* m_box = nullptr;
    int m_rows = 0;
    unsigned m_clears = 0;
    std::size_t m_longest = 0; // oldest-first index into the box's lines
};

} // namespace kavero::ui

// Behaviour shared by the control kinds: selection, list and grid editing.
#include "shell/controls.h"

#include <array>
#include <utility>

namespace kavero::shell {

std::string_view controlKindName(ControlKind kind) {
    static constexpr std::array<std::string_view, 18> kNames = {
        "CheckBox",     "ComboBox",   "CommandButton", "CommonDialog", "Frame",      "Grid",
        "Image",        "ImageList",  "Label",         "Line",         "ListBox",    "Menu",
        "OptionButton", "PictureBox", "ProgressBar",   "StatusBox",    "TabControl", "TextBox",
    };
    static_assert(kNames.size() == static_cast<std::size_t>(ControlKind::TextBox) + 1);
    return kNames[static_cast<std::size_t>(kind)];
}

void TextBox::selectAll() {
    selStart = 0;
    selLength = static_cast<int>(text.size());
}

std::string StatusBox::text() const {
    std::string text;
    text.reserve(lines.characters() + 2 * lines.size());
    for (std::size_t row = 0; row < lines.size(); ++row) {
        text += shownLine(row);
        text += "\r\n";
    }
    return text;
}

void StatusBox::clear() {
    lines.clear();
    ++clears;
}

void ListBox::clear() {
    items.clear();
    listIndex = -1;
}

void ListBox::addItem(std::string item) {
    items.push_back(std::move(item));
}

const std::string* ListBox::selectedItem() const {
    if (listIndex < 0 || listIndex >= static_cast<int>(items.size())) return nullptr;
    return &items[static_cast<std::size_t>(listIndex)];
}

void ComboBox::clear() {
    items.clear();
    listIndex = -1;
    text.clear();
}

void ComboBox::addItem(std::string item) {
    items.push_back(std::move(item));
}

void ComboBox::select(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) {
        listIndex = -1;
        return;
    }
    listIndex = index;
    text = items[static_cast<std::size_t>(index)];
}

const std::string* ComboBox::selectedItem() const {
    if (listIndex < 0 || listIndex >= static_cast<int>(items.size())) return nullptr;
    return &items[static_cast<std::size_t>(listIndex)];
}

void Grid::clear() {
    cells.clear();
    fixedRows = 0;
}

void Grid::addItem(std::string_view tabSeparated) {
    std::vector<std::string> row(static_cast<std::size_t>(cols));
    std::size_t col = 0;
    std::size_t start = 0;
    while (col < row.size()) {
        const std::size_t tab = tabSeparated.find('\t', start);
        row[col++] = std::string(tabSeparated.substr(start, tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    cells.push_back(std::move(row));
}

const std::string& Grid::cell(int row, int col) const {
    static const std::string kEmpty;
    if (row < 0 || row >= rows() || col < 0 || col >= cols) return kEmpty;
    return cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void Grid::setCell(int row, int col, std::string text) {
    if (row < 0 || row >= rows() || col < 0 || col >= cols) return;
    cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

void Grid::setColWidth(int col, int twips) {
    if (col < 0) return;
    if (colWidths.size() <= static_cast<std::size_t>(col)) {
        colWidths.resize(static_cast<std::size_t>(col) + 1, kDefaultColumnWidth);
    }
    colWidths[static_cast<std::size_t>(col)] = twips;
}

int Grid::colWidth(int col) const {
    if (col < 0 || static_cast<std::size_t>(col) >= colWidths.size()) return kDefaultColumnWidth;
    return colWidths[static_cast<std::size_t>(col)];
}

} // namespace kavero::shell

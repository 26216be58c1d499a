// The kinds of control a window model holds, each with what the control holds on screen.
// Positions and sizes are in twips (15 per pixel at 96 dpi), as the settings store them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/text_lines.h"

namespace kavero::shell {

enum class ControlKind {
    CheckBox,
    ComboBox,
    CommandButton,
    CommonDialog,
    Frame,
    Grid,
    Image,
    ImageList,
    Label,
    Line,
    ListBox,
    Menu,
    OptionButton,
    PictureBox,
    ProgressBar,
    StatusBox,
    TabControl,
    TextBox,
};

std::string_view controlKindName(ControlKind kind);

// What every control has. Design-time state is set by each window's constructor.
struct Control {
    bool enabled = true;
    bool visible = true;
    std::string toolTip;
};

struct TextBox : Control {
    static constexpr ControlKind kKind = ControlKind::TextBox;
    std::string text;
    bool multiLine = false;
    // Selection as the user would see it, in characters of `text`.
    int selStart = 0;
    int selLength = 0;
    bool hasFocus = false;

    void selectAll();
};

// A read-only multi-line text box that grows by one line at the top per status call, as the
// progress window's status box does. Lines are kept oldest first, so that adding one costs the
// same at line 200,000 as at line 1; the box shows them newest first.
struct StatusBox : Control {
    static constexpr ControlKind kKind = ControlKind::StatusBox;
    TextLines lines; // oldest first
    // Raised by clear(), so that a view showing the lines knows its rows are gone.
    unsigned clears = 0;

    // Puts a line in front of the text: text = line + CR LF + text.
    void addLine(std::string_view line) { lines.append(line); }
    std::size_t lineCount() const { return lines.size(); }
    // The line in row `row` as the box shows it, row 0 being the newest.
    std::string_view shownLine(std::size_t row) const { return lines[lines.size() - 1 - row]; }
    // The whole text: every line followed by CR LF, newest first.
    std::string text() const;
    void clear();
};

struct Label : Control {
    static constexpr ControlKind kKind = ControlKind::Label;
    std::string caption;
};

struct CommandButton : Control {
    static constexpr ControlKind kKind = ControlKind::CommandButton;
    std::string caption;
};

enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };

struct CheckBox : Control {
    static constexpr ControlKind kKind = ControlKind::CheckBox;
    std::string caption;
    CheckState value = CheckState::Unchecked;

    bool checked() const { return value == CheckState::Checked; }
};

// An option button belongs to one exclusive group of its window; switch it on through the
// window's setOption() so that the others of the group are cleared.
struct OptionButton : Control {
    static constexpr ControlKind kKind = ControlKind::OptionButton;
    std::string caption;
    bool value = false;
    int group = 0;
};

struct ListBox : Control {
    static constexpr ControlKind kKind = ControlKind::ListBox;
    std::vector<std::string> items;
    int listIndex = -1; // -1: nothing selected

    void clear();
    void addItem(std::string item);
    const std::string* selectedItem() const;
};

// A combo box keeps its free text apart from the selected entry: an editable box may show a
// text that is none of its entries, and adding entries leaves the text alone.
struct ComboBox : Control {
    static constexpr ControlKind kKind = ControlKind::ComboBox;
    std::vector<std::string> items;
    int listIndex = -1;
    std::string text;
    bool editable = true;

    void clear();
    void addItem(std::string item);
    // Selects an entry and shows its text, as picking it from the list would.
    void select(int index);
    const std::string* selectedItem() const;
};

// A grid of text cells. Rows are added whole from tab-separated text; the first `fixedRows`
// rows form the non-scrolling header.
struct Grid : Control {
    static constexpr ControlKind kKind = ControlKind::Grid;
    static constexpr int kDefaultColumnWidth = 960;

    int cols = 2;
    int fixedRows = 0;
    std::vector<std::vector<std::string>> cells;
    std::vector<int> colWidths; // per column; kDefaultColumnWidth unless set

    int rows() const { return static_cast<int>(cells.size()); }
    // Removes every row, header included.
    void clear();
    // Adds one row; cells are separated by tabs, missing cells stay empty, extra ones are dropped.
    void addItem(std::string_view tabSeparated);
    // Empty text for a cell outside the grid, as readers of a short grid expect.
    const std::string& cell(int row, int col) const;
    void setCell(int row, int col, std::string text);
    void setColWidth(int col, int twips);
    int colWidth(int col) const;
};

struct Frame : Control {
    static constexpr ControlKind kKind = ControlKind::Frame;
    std::string caption;
};

struct TabControl : Control {
    static constexpr ControlKind kKind = ControlKind::TabControl;
    std::vector<std::string> captions;
    int tab = 0;
};

struct ProgressBar : Control {
    static constexpr ControlKind kKind = ControlKind::ProgressBar;
    float min = 0;
    float max = 100;
    float value = 0;
};

struct Image : Control {
    static constexpr ControlKind kKind = ControlKind::Image;
};

struct PictureBox : Control {
    static constexpr ControlKind kKind = ControlKind::PictureBox;
};

struct ImageList : Control {
    static constexpr ControlKind kKind = ControlKind::ImageList;
};

struct Line : Control {
    static constexpr ControlKind kKind = ControlKind::Line;
};

// The file dialog's settings as the browse buttons leave them; the dialog itself is shown
// through the user-interface port.
struct CommonDialog : Control {
    static constexpr ControlKind kKind = ControlKind::CommonDialog;
    std::string dialogTitle;
    std::string filter;
    std::string fileName;
    std::string defaultExt;
};

struct Menu : Control {
    static constexpr ControlKind kKind = ControlKind::Menu;
    std::string caption;
    bool checkable = false; // an item that is switched on and off, shown with a check mark
    bool checked = false;
};

// One row of a window's control table: lets settings, the Qt binding and tests walk the
// controls by name.
struct ControlEntry {
    std::string_view name;
    ControlKind kind;
    Control* control;

    template <class T> T* as() const { return kind == T::kKind ? static_cast<T*>(control) : nullptr; }
};

} // namespace kavero::shell

// Keeps a window model and its widgets in step: every control is found by its objectName,
// push() shows the model, pull() takes back what the user can change (texts, ticks, check
// marks of menu items, options, list and tab choices, text selection and focus).
#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "shell/form.h"

class QWidget;

namespace kavero::ui {

class FormBinding {
public:
    FormBinding(shell::Form& form, QWidget& window);

    void push();
    void pull();

    // The Qt class each control kind is realised with; the GUI tests check the windows by it.
    static const char* widgetClass(shell::ControlKind kind, bool multiLine);

private:
    void pushControl(const shell::ControlEntry& entry, QObject& object);
    void pullControl(const shell::ControlEntry& entry, QObject& object);

    shell::Form& m_form;
    QWidget& m_window;
    // What was last shown, so that unchanged lists and grids are not rebuilt, and a text box
    // the user did not touch keeps the model's exact text (line ends included).
    std::map<std::string, std::vector<std::string>> m_shownItems;
    std::map<std::string, std::vector<std::vector<std::string>>> m_shownCells;
    std::map<std::string, QString> m_shownText;
};

// The dynamic property naming a menu's access key: the caption shown is the model's with "&"
// put before the first occurrence of that letter, so the model keeps its own texts.
inline constexpr char kAccessKeyProperty[] = "kaveroAccessKey";
QString menuCaption(const QObject& menu, const std::string& caption);

// A tooltip as the widgets get it: rich text, which Qt wraps at a readable width, where plain
// text would run across the screen in one line. The text itself is escaped.
QString wrappedToolTip(const std::string& text);

// Text positions: the model counts bytes of UTF-8, Qt counts UTF-16 units.
int qtPosition(const std::string& text, int utf8Position);
int utf8Position(const QString& text, int qtPosition);

// A model text as a multi-line box shows it: CR LF and lone CR become line feeds.
QString displayText(const std::string& text);

} // namespace kavero::ui

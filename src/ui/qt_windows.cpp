// Showing, listing and closing the program's top-level windows.
#include "ui/qt_windows.h"

#include <QApplication>
#include <QWidget>

#include "shell/about_form.h"
#include "ui/main_window.h"
#include "ui/small_windows.h"

namespace kavero::ui {

void QtWindows::showSplash() {
    if (!m_splash) return;
    m_splash->binding().push();
    m_splash->show();
    m_splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWindows::unloadSplash() {
    if (m_splash) m_splash->close();
}

void QtWindows::showMain() {
    if (!m_main) return;
    m_main->binding().push();
    m_main->placeFromModel();
    m_main->show();
}

void QtWindows::showAbout() {
    shell::frmAbout model;
    AboutWindow about(model, m_ui, m_main);
    about.exec();
}

std::vector<std::string> QtWindows::loadedWindows() {
    // The main window first, then the others in the order Qt keeps them.
    std::vector<std::string> names;
    if (m_main && m_main->isVisible()) names.push_back(m_main->objectName().toStdString());
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget == m_main || !widget->isVisible() || !widget->objectName().startsWith(QStringLiteral("frm"))) {
            continue;
        }
        names.push_back(widget->objectName().toStdString());
    }
    return names;
}

void QtWindows::unloadWindow(const std::string& name) {
    const QString wanted = QString::fromStdString(name);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == wanted && widget->isVisible()) {
            widget->close();
            return;
        }
    }
}

} // namespace kavero::ui

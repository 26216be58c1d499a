// The splash window shown during start-up and the modal About window.
#pragma once

#include <QDialog>
#include <QWidget>

#include "shell/about_form.h"
#include "shell/splash_form.h"
#include "shell/user_interface.h"
#include "ui/form_binding.h"

namespace kavero::ui {

class SplashWindow : public QWidget {
public:
    explicit SplashWindow(shell::frmSplash& model, QWidget* parent = nullptr);
    FormBinding& binding() { return m_binding; }

private:
    shell::frmSplash& m_model;
    FormBinding m_binding;
};

class AboutWindow : public QDialog {
public:
    AboutWindow(shell::frmAbout& model, shell::UserInterface& ui, QWidget* parent = nullptr);

protected:
    // Label1 works as a link: a click, a double click (once) or Enter and Space while it has the
    // focus open its address in the browser.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    shell::frmAbout& m_model;
    shell::UserInterface& m_ui;
    FormBinding m_binding;
    QWidget* m_webAddress = nullptr;
    // A double click's second release is part of the click that already opened the page.
    bool m_skipRelease = false;
};

} // namespace kavero::ui

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

private:
    shell::frmAbout& m_model;
    shell::UserInterface& m_ui;
    FormBinding m_binding;
};

} // namespace kavero::ui

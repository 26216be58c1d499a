// Putting the program together.
#include "ui/program.h"

#include "app/startup.h"
#include "ui/qt_user_interface.h"

namespace kavero::ui {

Program::Program(shell::UserInterface& ui, shell::SettingsStore& store, std::filesystem::path programFolder,
                 std::optional<std::string> database)
    : m_context{ui, store, std::move(programFolder), std::move(database)}, m_windows(ui),
      m_main(m_model, m_context, m_windows), m_splash(m_splashModel), m_progress(m_progressModel, ui) {
    m_context.progress = &m_progress;
    m_progress.setWorkingChanged([this](bool working) { m_main.setCopyRunning(working); });
    m_windows.setMain(&m_main);
    m_windows.setSplash(&m_splash);
    if (auto* qt = dynamic_cast<QtUserInterface*>(&ui)) {
        qt->setOwner(&m_main);
        qt->setFileDialog(m_main.fileDialog());
        qt->setBeforeYield([this] { m_main.binding().push(); });
    }
}

void Program::start() {
    app::runStartup(m_windows, m_splashModel, m_model, m_context);
}

} // namespace kavero::ui

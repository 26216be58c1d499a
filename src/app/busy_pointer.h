// The busy pointer for as long as a command works, whatever way the work ends.
#pragma once

#include "shell/user_interface.h"

namespace kavero::app {

class BusyPointer {
public:
    explicit BusyPointer(shell::UserInterface& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyPointer() { m_ui.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    shell::UserInterface& m_ui;
};

} // namespace kavero::app

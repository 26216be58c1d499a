// The port of the direct target's commands (copy, verify): the confirmation asked on the
// terminal, and, each time the waiting host has taken the worker's status calls, the lines a
// user must see on standard error and the progress.
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

#include "cli/console.h"
#include "odbc/copy_records.h"
#include "shell/progress_form.h"

namespace kavero::cli {

class CopyConsole : public Console {
public:
    // `yes` answers the question without asking.
    CopyConsole(bool yes, const shell::frmShowProgress& progress, const odbc::CopyCounters& counters);

    bool refused = false; // the confirmation could not be asked

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override;
    void yield() override { report(false); }

    // The lines not yet seen: rejected and changed records, the check's differences and why
    // work ended early, one line each; then the progress (ended by a line break when `last`).
    void report(bool last);
    double elapsed() const;

private:
    void clearLine();

    const bool m_yes;
    const shell::frmShowProgress& m_progress;
    const odbc::CopyCounters& m_counters;
    const bool m_terminal;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::size_t m_seen = 0;
    std::int64_t m_lastTenth = 0;
    bool m_lineOpen = false;
};

} // namespace kavero::cli

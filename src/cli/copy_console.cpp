// The console of copy and verify.
#include "cli/copy_console.h"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "odbc/check_records.h"

namespace kavero::cli {

namespace {

// The confirmation goes to the controlling terminal, so it works while standard input
// carries the password; without a terminal only --yes can answer it.
// Nothing when there is no terminal to ask.
std::optional<bool> confirmOnTerminal(std::string_view question) {
    std::fstream tty("/dev/tty", std::ios::in | std::ios::out);
    if (!tty) return std::nullopt;
    std::string text(question);
    for (char& c : text) {
        if (c == '\r') c = ' ';
    }
    tty << text << "Answer yes or no: " << std::flush;
    std::string answer;
    std::getline(tty, answer);
    return answer == "y" || answer == "yes" || answer == "Y" || answer == "YES" || answer == "Yes";
}

bool startsWith(std::string_view line, std::string_view start) {
    return line.substr(0, start.size()) == start;
}

} // namespace

CopyConsole::CopyConsole(bool yes, const shell::frmShowProgress& progress, const odbc::CopyCounters& counters)
    : m_yes(yes), m_progress(progress), m_counters(counters), m_terminal(::isatty(STDERR_FILENO) == 1) {}

shell::MessageAnswer CopyConsole::messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                             shell::MessageButtons buttons) {
    if (buttons != shell::MessageButtons::YesNo) return Console::messageBox(text, title, icon, buttons);
    if (m_yes) return shell::MessageAnswer::Yes;
    const std::optional<bool> answer = confirmOnTerminal(text);
    refused = !answer;
    return answer.value_or(false) ? shell::MessageAnswer::Yes : shell::MessageAnswer::No;
}

void CopyConsole::report(bool last) {
    const shell::StatusBox& box = m_progress.eShowStatus;
    for (; m_seen < box.lineCount(); ++m_seen) {
        const std::string_view line = box.lines[m_seen];
        if (startsWith(line, odbc::kRejectedRecordLine)) {
            clearLine();
            std::cerr << "record " << line.substr(odbc::kRejectedRecordLine.size()) << '\n';
        } else if (startsWith(line, odbc::kChangedRecordLine)) {
            clearLine();
            std::cerr << "record changed " << line.substr(odbc::kChangedRecordLine.size()) << '\n';
        } else if (startsWith(line, odbc::kMissingRecordLine) || startsWith(line, odbc::kDifferentRecordLine) ||
                   startsWith(line, odbc::kExtraRowLine) || startsWith(line, odbc::kCheckDifferencesLine) ||
                   startsWith(line, odbc::kLoadDataRefusedLine)) {
            clearLine();
            std::cerr << line << '\n';
        } else if (startsWith(line, odbc::kCheckEndedEarlyLine) || startsWith(line, "Error number: ")) {
            clearLine();
            printDiagnostic(line);
        }
    }
    const std::int64_t total = m_counters.total;
    const std::int64_t read = m_counters.read;
    const std::int64_t checked = m_counters.checked;
    if (total <= 0) return;
    const double seconds = elapsed();
    if (m_terminal) {
        if (checked > 0) {
            std::cerr << "\rchecked " << checked << " of " << total << " rows on the server  ";
        } else {
            const double rate = seconds > 0 ? static_cast<double>(read) / seconds : 0;
            const double left = rate > 0 ? static_cast<double>(total - read) / rate : 0;
            std::cerr << "\r" << read << " of " << total << " records, " << static_cast<long long>(rate)
                      << " records/s, " << static_cast<long long>(left) << " s left  ";
        }
        std::cerr << (last ? "\n" : "") << std::flush;
        m_lineOpen = !last;
    } else {
        const std::int64_t tenth = read * 10 / total;
        if (tenth > m_lastTenth) {
            m_lastTenth = tenth;
            std::cerr << read << " of " << total << " records (" << tenth * 10 << "%)\n";
        }
    }
}

double CopyConsole::elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void CopyConsole::clearLine() {
    if (m_lineOpen) std::cerr << "\r\033[K";
    m_lineOpen = false;
}

} // namespace kavero::cli

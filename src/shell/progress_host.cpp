// The waiting progress host.
#include "shell/progress_host.h"

#include <stdexcept>
#include <utility>

#include "shell/show_status.h"

namespace kavero::shell {

void WaitingProgressHost::showStatus(std::string_view message, bool finish, bool start, std::int32_t& total,
                                     bool noStep) {
    ShowStatus(m_form, m_ui, message, finish, start, total, noStep);
    m_ui.yield();
}

void WaitingProgressHost::startWork(StatusWork work) {
    if (m_working) throw std::logic_error("A copy is running already");
    m_working = true;
    struct Done {
        bool& working;
        ~Done() { working = false; }
    } done{m_working};
    StatusWorker worker(std::move(work));
    bool ended = false;
    while (!ended) {
        worker.channel().waitForEnd(kStatusInterval);
        ended = applyPostedStatus(worker.channel(), m_form, m_ui);
        m_ui.yield();
    }
}

} // namespace kavero::shell

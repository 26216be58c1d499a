// Where a command sends its status lines and hands its long work: the progress window of the
// desktop program, or a model that kavero-cli and the tests wait on.
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

#include "shell/progress_form.h"
#include "shell/status_worker.h"
#include "shell/user_interface.h"

namespace kavero::shell {

// How often the user-interface thread takes what a worker posted and shows it.
inline constexpr std::chrono::milliseconds kStatusInterval{200};

class ProgressHost {
public:
    virtual ~ProgressHost() = default;

    // ShowStatus on the user-interface thread, shown at once.
    virtual void showStatus(std::string_view message, bool finish, bool start, std::int32_t& total, bool noStep) = 0;
    // Runs `work` on a worker thread; its posted calls reach the window every kStatusInterval.
    // Only one work at a time: ask working() first; starting a second throws std::logic_error.
    virtual void startWork(StatusWork work) = 0;
    // Work started here has not ended yet, or its last calls are not shown yet.
    virtual bool working() const = 0;
};

// The host without an event loop: startWork returns when the work has ended and everything
// it posted is applied to the model, yielding to the port after each batch.
class WaitingProgressHost : public ProgressHost {
public:
    WaitingProgressHost(frmShowProgress& form, UserInterface& ui) : m_form(form), m_ui(ui) {}

    void showStatus(std::string_view message, bool finish, bool start, std::int32_t& total, bool noStep) override;
    void startWork(StatusWork work) override;
    bool working() const override { return m_working; }

private:
    frmShowProgress& m_form;
    UserInterface& m_ui;
    bool m_working = false;
};

} // namespace kavero::shell

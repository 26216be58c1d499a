// The status routine of the direct command and the record copy: a line at the top of the
// progress window and a step of its bar; and what the user-interface thread does with the
// calls a worker thread posted.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/progress_form.h"
#include "shell/status_channel.h"
#include "shell/user_interface.h"

namespace kavero::shell {

// The largest bar maximum a start call sets; a larger total is cut to it.
inline constexpr std::int32_t kMaxProgressTotal = 32766;

// In this order: a start call sets the bar to 1 of `total` (cut to kMaxProgressTotal and
// written back), loads and shows the window without making it modal and disables eOk; every
// call but a no-step one raises the bar by 1 unless that would pass the maximum; a finish
// call fills the bar, enables eOk and beeps; then the message goes in front of the text.
// Runs on the user-interface thread only. Showing the window is the caller's part: the
// thread that applies a worker's calls applies many and then shows the window once.
void ShowStatus(frmShowProgress& form, UserInterface& ui, std::string_view message, bool finish, bool start,
                std::int32_t& total, bool noStep);

// Caption at load: "KAVERO 1.1", product name and major and minor version.
void loadProgressWindow(frmShowProgress& form);
// Back to the state before load: no lines, the bar at its design values, eOk enabled.
void unloadProgressWindow(frmShowProgress& form);

// Applies every call the worker posted since the last time, in order. True once the worker
// has ended and all it posted is applied; its run is then over, so eOk is enabled even when
// its last call did not finish (a worker that ended early must not leave the window stuck).
bool applyPostedStatus(StatusChannel& channel, frmShowProgress& form, UserInterface& ui);

// The last line of a copy the user stopped: "Stopped by the user after 120 of 40000 records".
// `copied` is the number of records copied before the stop, `total` the number counted.
std::string stoppedByUserLine(std::int64_t copied, std::int64_t total);

// The progress text under the bar, "1200 of 5000 records, 800 records/s, 5 s left", posted a
// few times a second: often enough to look alive, rarely enough to cost nothing next to the
// copy, however many records go by.
class ProgressPacer {
public:
    ProgressPacer(StatusChannel& channel, std::int64_t total);
    // Posts when the last post is long enough ago.
    void update(std::int64_t done);
    // Posts now: the last figures of a copy.
    void post(std::int64_t done);

private:
    using Clock = std::chrono::steady_clock;
    StatusChannel& m_channel;
    const std::int64_t m_total;
    const Clock::time_point m_started;
    Clock::time_point m_shown;
};

} // namespace kavero::shell

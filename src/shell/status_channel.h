// Status calls from a worker thread to the user-interface thread. The worker posts what it
// would have passed to ShowStatus and never waits for the window, only for the lock, which
// the other side holds just long enough to swap the posted calls out; the user-interface
// thread takes everything posted so far a few times a second. Posted calls cost their text
// and a few bytes each, however slowly they are taken.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "shell/text_lines.h"

namespace kavero::shell {

// One posted ShowStatus call, its message apart.
struct StatusCall {
    std::int32_t total = 0;
    bool finish = false;
    bool start = false;
    bool noStep = false;
};

struct StatusBatch {
    TextLines messages; // one per call, in the order posted
    std::vector<StatusCall> calls;
    // The worker had ended when the batch was taken: nothing follows it.
    bool workEnded = false;
    // The latest progress posted, when any was since the last take: the records done (the
    // bar's value) and a line of how fast and how long still, drawn below the bar.
    std::int64_t done = -1;
    std::string progress;
};

class StatusChannel {
public:
    StatusChannel() = default;
    StatusChannel(const StatusChannel&) = delete;
    StatusChannel& operator=(const StatusChannel&) = delete;

    // Worker side. `total` is taken as it is: the cut to the bar's largest maximum happens
    // where the call is applied, so the worker keeps the real count for its own lines.
    void showStatus(std::string_view message, bool finish = false, bool start = false, std::int32_t total = 0,
                    bool noStep = false);
    // Replaces the progress not yet taken; costs no status line, so it may be posted often.
    void showProgress(std::int64_t done, std::string_view progress);
    // The user asked to stop; the worker checks between records.
    bool stopRequested() const noexcept { return m_stopRequested.load(std::memory_order_acquire); }
    // The worker is done; everything it posted is still delivered.
    void endWork();

    // User-interface side: everything posted since the last take, and whether it was the last.
    StatusBatch take();
    void requestStop() noexcept { m_stopRequested.store(true, std::memory_order_release); }
    bool workEnded() const;
    // Waits until the worker has ended or the time is up; true when it has ended.
    bool waitForEnd(std::chrono::milliseconds timeout);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    StatusBatch m_posted;
    std::atomic<bool> m_stopRequested{false};
};

} // namespace kavero::shell

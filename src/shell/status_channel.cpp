// Posting, taking and the end of the work, under one lock.
#include "shell/status_channel.h"

#include <utility>

namespace kavero::shell {

void StatusChannel::showStatus(std::string_view message, bool finish, bool start, std::int32_t total, bool noStep) {
    const std::lock_guard lock(m_mutex);
    m_posted.messages.append(message);
    m_posted.calls.push_back({total, finish, start, noStep});
}

void StatusChannel::showProgress(std::int64_t done, std::string_view progress) {
    const std::lock_guard lock(m_mutex);
    m_posted.done = done;
    m_posted.progress = progress;
}

void StatusChannel::endWork() {
    {
        const std::lock_guard lock(m_mutex);
        m_posted.workEnded = true;
    }
    m_ended.notify_all();
}

StatusBatch StatusChannel::take() {
    StatusBatch batch;
    const std::lock_guard lock(m_mutex);
    batch.messages.swap(m_posted.messages);
    batch.calls.swap(m_posted.calls);
    batch.workEnded = m_posted.workEnded;
    batch.done = std::exchange(m_posted.done, -1);
    batch.progress.swap(m_posted.progress);
    return batch;
}

bool StatusChannel::workEnded() const {
    const std::lock_guard lock(m_mutex);
    return m_posted.workEnded;
}

bool StatusChannel::waitForEnd(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, timeout, [this] { return m_posted.workEnded; });
}

} // namespace kavero::shell

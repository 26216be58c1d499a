// Long work on a thread of its own, reporting through a status channel.
#pragma once

#include <functional>
#include <thread>

#include "shell/status_channel.h"

namespace kavero::shell {

// The work gets the channel to post its status calls to and to learn that a stop was asked.
// It must not touch any window model: those belong to the user-interface thread.
using StatusWork = std::function<void(StatusChannel&)>;

class StatusWorker {
public:
    // Starts the work at once. Whatever it throws becomes its last status line, with finish
    // set, so the window never waits for a finish that cannot come.
    explicit StatusWorker(StatusWork work);
    // Asks work that is still running to stop and waits for it.
    ~StatusWorker();
    StatusWorker(const StatusWorker&) = delete;
    StatusWorker& operator=(const StatusWorker&) = delete;

    StatusChannel& channel() { return m_channel; }

private:
    StatusChannel m_channel;
    std::thread m_thread;
};

} // namespace kavero::shell

// The worker thread's frame: run the work, report what escapes it, say that it ended.
#include "shell/status_worker.h"

#include <exception>
#include <utility>

namespace kavero::shell {

StatusWorker::StatusWorker(StatusWork work)
    : m_thread([this, work = std::move(work)] {
          try {
              work(m_channel);
          } catch (const std::exception& error) {
              m_channel.showStatus(error.what(), true);
          } catch (...) {
              m_channel.showStatus("Unexpected failure", true);
          }
          m_channel.endWork();
      }) {}

StatusWorker::~StatusWorker() {
    m_channel.requestStop();
    m_thread.join();
}

} // namespace kavero::shell

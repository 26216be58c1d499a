// ShowStatus, the progress window's load and unload, and applying a worker's posted calls.
#include "shell/show_status.h"

#include <algorithm>

#include "kavero/version.h"

namespace kavero::shell {

void ShowStatus(frmShowProgress& form, UserInterface& ui, std::string_view message, bool finish, bool start,
                std::int32_t& total, bool noStep) {
    // Touching the controls of a window that is not loaded loads it, shown or not.
    if (!form.loaded) loadProgressWindow(form);
    ProgressBar& bar = form.eProgressBar;
    if (start) {
        bar.value = 1;
        if (total > kMaxProgressTotal) total = kMaxProgressTotal;
        bar.max = static_cast<float>(total);
        form.visible = true;
        form.eOk.enabled = false;
    }
    if (!noStep && bar.max >= bar.value + 1) bar.value += 1;
    if (finish) {
        bar.value = bar.max;
        form.eOk.enabled = true;
        ui.beep();
    }
    form.eShowStatus.addLine(message);
}

void loadProgressWindow(frmShowProgress& form) {
    form.loaded = true;
    form.caption =
        std::string(kProductName) + " " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

void unloadProgressWindow(frmShowProgress& form) {
    const frmShowProgress fresh;
    form.loaded = false;
    form.visible = false;
    form.eShowStatus.clear();
    form.eProgressBar = fresh.eProgressBar;
    form.eRate = fresh.eRate;
    form.eOk = fresh.eOk;
}

bool applyPostedStatus(StatusChannel& channel, frmShowProgress& form, UserInterface& ui) {
    StatusBatch batch = channel.take();
    for (std::size_t i = 0; i < batch.calls.size(); ++i) {
        const StatusCall& call = batch.calls[i];
        std::int32_t total = call.total;
        ShowStatus(form, ui, batch.messages[i], call.finish, call.start, total, call.noStep);
    }
    if (batch.done >= 0) {
        ProgressBar& bar = form.eProgressBar;
        bar.value = std::min(bar.max, std::max(bar.value, static_cast<float>(batch.done)));
        form.eRate.caption = batch.progress;
    }
    if (batch.workEnded) form.eOk.enabled = true;
    return batch.workEnded;
}

std::string stoppedByUserLine(std::int64_t copied, std::int64_t total) {
    return "Stopped by the user after " + std::to_string(copied) + " of " + std::to_string(total) + " records";
}

ProgressPacer::ProgressPacer(StatusChannel& channel, std::int64_t total)
    : m_channel(channel), m_total(total), m_started(Clock::now()), m_shown(m_started) {}

void ProgressPacer::update(std::int64_t done) {
    if (Clock::now() - m_shown >= std::chrono::milliseconds(250)) post(done);
}

void ProgressPacer::post(std::int64_t done) {
    m_shown = Clock::now();
    const double seconds = std::chrono::duration<double>(m_shown - m_started).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    const long long left = rate > 0 ? static_cast<long long>(static_cast<double>(m_total - done) / rate + 0.5) : 0;
    m_channel.showProgress(done, std::to_string(done) + " of " + std::to_string(m_total) + " records, " +
                                     std::to_string(static_cast<long long>(rate)) + " records/s, " +
                                     std::to_string(left) + " s left");
}

} // namespace kavero::shell

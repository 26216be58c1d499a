// Posts status lines from a worker thread as a large record copy does (one per record), with
// the progress window live on the offscreen platform and into the window's model alone, and
// prints lines per second and the peak memory of each. Each case runs in a child process of
// its own so that its peak resident size is its alone.
//
//   bench_progress [--lines N]     (default 200000)
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QListView>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "in_child.h"
#include "shell/progress_host.h"
#include "shell/show_status.h"
#include "ui/progress_window.h"
#include "ui/qt_user_interface.h"

namespace {

using Clock = std::chrono::steady_clock;
using kavero::shell::StatusChannel;

// The line the record copy shows per record, before the record number.
constexpr std::string_view kRecordLine = "Copying record no. ";

struct Result {
    double postSeconds = 0;  // worker: first post to last
    double shownSeconds = 0; // start of the work until every line is in the window
    double uiCpuSeconds = 0; // CPU time of the user-interface thread meanwhile
    bool ok = false;
};

// A port that shows nothing: the model-only case has no window.
class SilentInterface : public kavero::shell::UserInterface {
public:
    kavero::shell::MessageAnswer messageBox(std::string_view, std::string_view, kavero::shell::MessageIcon,
                                            kavero::shell::MessageButtons) override {
        return kavero::shell::MessageAnswer::Ok;
    }
    std::optional<std::string> openFileDialog(const kavero::shell::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFileDialog(const kavero::shell::FileDialogRequest&) override { return {}; }
    void setBusy(bool) override {}
    void yield() override {}
    void beep() override {}
    kavero::shell::StartResult startProgram(const std::string&, const std::vector<std::string>&) override {
        return kavero::shell::StartResult::NotFound;
    }
};

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

kavero::shell::StatusWork copyWork(int lines, double& postSeconds) {
    return [lines, &postSeconds](StatusChannel& channel) {
        const auto start = Clock::now();
        channel.showStatus("Copying " + std::to_string(lines) + " records in total", false, true, lines);
        for (int record = 1; record <= lines && !channel.stopRequested(); ++record) {
            channel.showStatus(std::string(kRecordLine) + std::to_string(record));
        }
        channel.showStatus("Finished copy", true);
        postSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    };
}

bool complete(const kavero::shell::frmShowProgress& form, int lines) {
    return form.eShowStatus.lineCount() == static_cast<std::size_t>(lines) + 3 &&
           form.eShowStatus.shownLine(0) == "Finished copy" && form.eOk.enabled;
}

Result modelOnly(int lines) {
    Result result;
    kavero::shell::frmShowProgress form;
    SilentInterface ui;
    kavero::shell::WaitingProgressHost host(form, ui);
    std::int32_t one = 1;
    host.showStatus("Your database design is now moved to bench", false, true, one, false);
    const double cpu = threadCpuSeconds();
    const auto start = Clock::now();
    host.startWork(copyWork(lines, result.postSeconds));
    result.shownSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.uiCpuSeconds = threadCpuSeconds() - cpu;
    result.ok = complete(form, lines);
    return result;
}

Result windowLive(int lines) {
    Result result;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_progress";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    kavero::shell::frmShowProgress form;
    kavero::ui::QtUserInterface ui;
    kavero::ui::ProgressWindow window(form, ui);
    std::int32_t one = 1;
    window.showStatus("Your database design is now moved to bench", false, true, one, false);
    QApplication::processEvents();
    const double cpu = threadCpuSeconds();
    const auto start = Clock::now();
    window.startWork(copyWork(lines, result.postSeconds));
    while (window.working()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents(); // the last layout and paint
    result.shownSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.uiCpuSeconds = threadCpuSeconds() - cpu;
    const auto* view = window.findChild<QListView*>(QStringLiteral("eShowStatus"));
    result.ok = complete(form, lines) && view && view->model()->rowCount() == lines + 3 &&
                view->model()->index(0, 0).data().toString() == QStringLiteral("Finished copy");
    return result;
}

// One case in a child process of its own, so that the peak memory is the case's alone.
template <class Case> void measure(const char* label, int lines, Case&& run) {
    long peakKiB = 0;
    const Result result = inChild<Result>([&] { return run(lines); }, peakKiB);
    std::printf("%-14s %12.0f %12.0f %10.3f %10.3f %10ld%s\n", label, lines / result.postSeconds,
                lines / result.shownSeconds, result.shownSeconds, result.uiCpuSeconds, peakKiB,
                result.ok ? "" : "  (failed)");
}

} // namespace

int main(int argc, char** argv) {
    int lines = 200000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lines") == 0 && i + 1 < argc) lines = std::atoi(argv[++i]);
    }
    if (lines <= 0) {
        std::fprintf(stderr, "usage: bench_progress [--lines N]\n");
        return 1;
    }
    // What the lines themselves take: their characters and one offset each.
    std::size_t characters = 0;
    for (int record = 1; record <= lines; ++record) characters += kRecordLine.size() + std::to_string(record).size();
    std::printf("%d status lines from a worker thread, taken every %lld ms; the lines themselves: %zu KiB\n", lines,
                static_cast<long long>(kavero::shell::kStatusInterval.count()),
                (characters + lines * sizeof(std::size_t)) / 1024);
    std::printf("%-14s %12s %12s %10s %10s %10s\n", "case", "posted/s", "shown/s", "shown s", "UI CPU s", "peak KiB");
    std::fflush(stdout);
    measure("model only", lines, modelOnly);
    std::fflush(stdout);
    measure("window live", lines, windowLive);
    return 0;
}

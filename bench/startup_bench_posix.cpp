// Start-up to the main panel on screen. Each run is a fresh process (this program again,
// with --child) under the offscreen platform: it notes when main() is entered, when
// startVaskInterface() has returned, and when the main panel has been painted once, all on
// CLOCK_MONOTONIC, so the parent can add the time from its spawn to the child's main().
//
//   startup_bench [--runs N]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/vaskinterface.h"
#include "bench/bench_support.h"
#include "feedback/panel_set.h"

extern char** environ;

namespace {

// Notes every widget that has had a paint event (the main panel is a page of the main
// window, so it is watched as a widget, not as a window).
class PaintWatch : public QObject {
  public:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && object->isWidgetType())
            painted_.insert(static_cast<QWidget*>(object));
        return false;
    }
    bool painted(QWidget* widget) const { return painted_.count(widget) > 0; }

  private:
    std::set<QWidget*> painted_;
};

int runChild(int argc, char** argv, double entered) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quietPlatformNotes();
    QApplication app(argc, argv);
    PaintWatch watch;
    app.installEventFilter(&watch);
    if (startVaskInterface(0, nullptr) != 0)
        return 1;
    const double started = monotonicSeconds();
    QWidget* mainPanel = PanelWindow(currentPanel);
    while (mainPanel && !watch.painted(mainPanel) && monotonicSeconds() - started < 5)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double painted = monotonicSeconds();
    std::printf("%.6f %.6f %.6f %ld %d\n", entered, started, painted, residentKb(),
                watch.painted(mainPanel) ? 1 : 0);
    return 0;
}

struct ChildTimes {
    double toMain = 0, toStarted = 0, toPainted = 0;
    long rssKb = 0;
    bool ok = false;
};

ChildTimes runOnce(const char* self) {
    ChildTimes times;
    int out[2];
    if (pipe(out) != 0)
        return times;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char child[] = "--child";
    char* argv[] = {const_cast<char*>(self), child, nullptr};
    pid_t pid = -1;
    const double spawned = monotonicSeconds();
    const int failed = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    if (!failed)
        waitpid(pid, &status, 0);
    double entered = 0, started = 0, painted = 0;
    int shown = 0;
    if (std::sscanf(text.c_str(), "%lf %lf %lf %ld %d", &entered, &started, &painted, &times.rssKb,
                    &shown) == 5) {
        times.toMain = entered - spawned;
        times.toStarted = started - spawned;
        times.toPainted = painted - spawned;
        times.ok = shown == 1;
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    const double entered = monotonicSeconds();
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, entered);
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> toMain, startedAfterMain, paintedAfterMain, toPainted, rss;
    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        const ChildTimes t = runOnce("/proc/self/exe");
        if (!t.ok) {
            ++failures;
            continue;
        }
        toMain.push_back(t.toMain);
        startedAfterMain.push_back(t.toStarted - t.toMain);
        paintedAfterMain.push_back(t.toPainted - t.toMain);
        toPainted.push_back(t.toPainted);
        rss.push_back(static_cast<double>(t.rssKb));
    }
    std::printf("start-up, offscreen platform, median of %d run%s%s\n", runs, runs == 1 ? "" : "s",
                failures ? " (some did not show the main panel)" : "");
    if (toPainted.empty())
        return 1;
    std::printf("  process start to main():                 %7.1f ms\n", median(toMain) * 1e3);
    std::printf("  main() to startVaskInterface() returned: %7.1f ms\n",
                median(startedAfterMain) * 1e3);
    std::printf("  main() to the main panel painted:        %7.1f ms\n",
                median(paintedAfterMain) * 1e3);
    std::printf(
        "  process start to the main panel painted: %7.1f ms (fastest %.1f, slowest %.1f)\n",
        median(toPainted) * 1e3, *std::min_element(toPainted.begin(), toPainted.end()) * 1e3,
        *std::max_element(toPainted.begin(), toPainted.end()) * 1e3);
    std::printf("  resident memory, main panel shown:       %7.0f kB\n", median(rss));
    return failures ? 1 : 0;
}

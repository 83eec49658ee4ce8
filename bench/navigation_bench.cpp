// Going round the pages again and again, with a screen reader attached: every navigation
// entry in turn, a live run on the live page each time round, the accessibility client of
// the tests reading the whole window after each step. Prints, every 100 navigations, the
// resident memory, the objects the reader meets, the panels loaded and the main window's
// widgets: all four must stay level, since a page left behind goes with its widgets and
// its chart. In-process against the simulated instrument, on a virtual clock.
//
//   navigation_bench [--navigations N] [--no-reader] [--no-runs]   (1000 by default)
#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/vaskinterface.h"
#include "bench/bench_support.h"
#include "feedback/panel_set.h"
#include "history/history.h"
#include "tests/harness/accessibility_client.h"
#include "tests/harness/inprocess_line.h"
#include "tests/harness/virtual_clock.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/serial_backend.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr const char* kPlaces[] = {"kx settings",     "qv settings", "Real-time clock",
                                   "Scheduled start", "Live data",   "Calibration",
                                   "History",         "Main panel"};

int mainWindowWidgets() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("mainWindow"))
            return static_cast<int>(top->findChildren<QWidget*>().size());
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    long navigations = 1000;
    bool withReader = true;
    bool withRuns = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--navigations") == 0 && i + 1 < argc)
            navigations = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--no-reader") == 0)
            withReader = false;
        else if (std::strcmp(argv[i], "--no-runs") == 0)
            withRuns = false;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quietPlatformNotes();
    printHarnessFailures("navigation_bench");
    QTemporaryDir history;
    setHistoryFolder(history.path().toStdString());

    VirtualClock clock;
    InProcessBackend backend;
    sim::Instrument instrument;
    InstrumentPeer peer(instrument);
    backend.attach(1, &peer);
    SetToolkitClock(&clock);
    SetSerialBackend(&backend);
    RecordingPopups popups = benchPopups();
    SetPopupAnswerer(&popups);
    const auto reader = withReader ? std::make_unique<AccessibilityClient>() : nullptr;
    if (startVaskInterface(0, nullptr) < 0) {
        std::fprintf(stderr, "navigation_bench: the tool did not start\n");
        return 1;
    }
    press(currentPanel, MAIN_CONNECT);

    FILE* out = reportStream();
    std::fprintf(out, "%12s %14s %16s %14s %14s\n", "navigations", "resident kB", "reader objects",
                 "panels loaded", "window widgets");
    const auto report = [&](long done) {
        std::fprintf(out, "%12ld %14ld %16d %14zu %14d\n", done, residentKb(),
                     reader ? reader->walk() : 0, LoadedPanels().size(), mainWindowWidgets());
        std::fflush(out);
    };
    long done = 0;
    long records = 0;
    report(done);
    while (done < navigations) {
        for (const char* place : kPlaces) {
            PressShellEntry(place);
            if (reader)
                reader->walk();
            if (withRuns && std::strcmp(place, "Live data") == 0) {
                clock.schedule(clock.now() + 1.5, [] { press(currentPanel, LIVE_STOP); });
                press(currentPanel, LIVE_START);
                records += static_cast<long>(StripChartPoints(currentPanel, LIVE_CHART).size());
            }
            if (++done % 100 == 0)
                report(done);
            if (done == navigations)
                break;
        }
    }
    std::fprintf(out, "%ld records plotted in the live runs on the way\n", records);
    DiscardAllPanels();
    SetPopupAnswerer(nullptr);
    SetSerialBackend(nullptr);
    SetToolkitClock(nullptr);
    return 0;
}

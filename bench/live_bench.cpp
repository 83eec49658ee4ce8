// How well the live loop keeps up with the instrument: the tool, in-process on the real
// clock and serial layer, reads quorvel-sim's stream on a pseudo-terminal for a while,
// logging to a file. Figures: the records the simulator says it sent, the records the loop
// took, those still on the line when the run was stopped, and so those lost; log lines that
// are not a whole record; the tool's CPU time per record and share of one core while
// streaming; and, with --rss-every, resident memory sampled through the run.
//
// --platform picks the Qt platform (offscreen by default; xcb under a real X display) and
// --accessible 1 turns accessibility on, as a screen reader would. --bare 1 leaves the tool
// out: a bare termios reader takes the stream instead, to show whether the simulator
// itself delivers every character at that rate.
//
// Under valgrind --tool=callgrind --instr-atstart=no, only the measured window is counted:
// instructions per record are the same from run to run, where CPU time on a shared machine
// is not.
//
//   live_bench [--baud N] [--rate N] [--seconds S] [--rss-every S] [--platform NAME]
//              [--accessible 1] [--bare 1]
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include "app/vaskinterface.h"
#include "bench/bench_support.h"
#include "bench/live_figures.h"
#include "bench/reference_line.h"
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "live/live_readout.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

struct BenchOptions {
    double baud = 9600;
    double rate = 0;  // records a second; 0: as fast as the line carries
    double seconds = 10.0;
    double rssEvery = 0;  // 0: no memory samples
    std::string platform = "offscreen";
    bool accessible = false;
    bool bare = false;
};

BenchOptions parseOptions(int argc, char** argv) {
    BenchOptions options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const double value = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--baud") == 0)
            options.baud = value;
        else if (std::strcmp(argv[i], "--rate") == 0)
            options.rate = value;
        else if (std::strcmp(argv[i], "--seconds") == 0)
            options.seconds = value;
        else if (std::strcmp(argv[i], "--rss-every") == 0)
            options.rssEvery = value;
        else if (std::strcmp(argv[i], "--platform") == 0)
            options.platform = argv[i + 1];
        else if (std::strcmp(argv[i], "--accessible") == 0)
            options.accessible = value != 0;
        else if (std::strcmp(argv[i], "--bare") == 0)
            options.bare = value != 0;
    }
    return options;
}

// The streaming part of the run: from the first look at a running loop to the stop press.
struct StreamWindow {
    bool seen = false, stopped = false;
    double start = 0, end = 0;
    CpuTime cpuStart, cpuEnd;
    unsigned long recordsStart = 0, recordsEnd = 0;
    double nextSample = 0;
    std::vector<MemorySample> memory;
};

// Looks at the run ten times a second, from inside the loop's own event polls.
void watchRun(StreamWindow& w, const BenchOptions& options, int livePanel) {
    if (w.stopped || liveRunning != 1)
        return;
    const double now = monotonicSeconds();
    if (!w.seen) {
        w.seen = true;
        w.start = now;
        w.cpuStart = cpuTime();
        w.recordsStart = liveRecordsShown;
        CALLGRIND_START_INSTRUMENTATION;
    }
    if (options.rssEvery > 0 && now >= w.nextSample) {
        w.memory.push_back({now - w.start, residentKb(), liveRecordsShown});
        w.nextSample = now + options.rssEvery;
    }
    if (now - w.start >= options.seconds) {
        CALLGRIND_STOP_INSTRUMENTATION;
        w.stopped = true;
        w.end = now;
        w.cpuEnd = cpuTime();
        w.recordsEnd = liveRecordsShown;
        if (options.rssEvery > 0)
            w.memory.push_back({now - w.start, residentKb(), liveRecordsShown});
        press(livePanel, LIVE_STOP);
    }
}

// Whatever the instrument had sent that the loop had not yet read when it stopped: in the
// terminal and in the serial layer's own buffer.
long charactersLeftOnLine() {
    static char buffer[1 << 20];
    SetComTime(comPort, 0.5);
    long total = 0;
    for (int count = static_cast<int>(sizeof buffer); count == static_cast<int>(sizeof buffer);) {
        count = std::max(ComRd(comPort, buffer, sizeof buffer), 0);
        total += count;
    }
    SetComTime(comPort, kComTimeout);
    return total;
}

// The stream read by a bare termios client for the run's length: what the simulator
// delivers with nobody but the kernel in between.
int bareRead(const BenchOptions& options, FILE* out) {
    QStringList simArguments{"--baud", QString::number(options.baud)};
    if (options.rate > 0)
        simArguments << "--rate" << QString::number(options.rate);
    SimProcess sim(simArguments);
    ReferenceLine line(sim.path());
    if (!sim.started() || !line.open()) {
        std::fprintf(stderr, "live_bench: quorvel-sim did not start\n");
        return 1;
    }
    line.send('g');
    const std::string ack = line.read(5);
    long characters = 0;
    const double end = monotonicSeconds() + options.seconds;
    while (monotonicSeconds() < end) characters += static_cast<long>(line.read(4096, 0.05).size());
    line.send("st");
    for (std::string rest = line.read(4096, 0.3); !rest.empty(); rest = line.read(4096, 0.3))
        characters += static_cast<long>(rest.size());
    const long sent = stopAndCountRecords(sim);
    const long received = characters / 5;
    std::fprintf(out, "bare reader at %.0f baud, %.0f s: acknowledgement %s\n", options.baud,
                 options.seconds, ack.c_str());
    std::fprintf(out, "  records sent (simulator):     %ld\n", sent);
    std::fprintf(out, "  records received (bare):      %ld (%ld characters)\n", received,
                 characters);
    std::fprintf(out, "  lost by the simulator:        %ld\n", sent < 0 ? -1 : sent - received);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchOptions options = parseOptions(argc, argv);
    FILE* out = reportStream();
    if (options.bare)
        return bareRead(options, out);
    qputenv("QT_QPA_PLATFORM", options.platform.c_str());
    if (options.accessible)
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    quietPlatformNotes();
    printHarnessFailures("live_bench");
    QApplication app(argc, argv);
    QTemporaryDir logDir;
    const QString logPath = QDir(logDir.path()).filePath("live.log");
    RecordingPopups popups = benchPopups(logPath.toStdString());
    SetPopupAnswerer(&popups);

    QStringList simArguments{"--baud", QString::number(options.baud)};
    if (options.rate > 0)
        simArguments << "--rate" << QString::number(options.rate);
    SimProcess sim(simArguments);
    if (!startToolAgainst(sim, "live_bench"))
        return 1;
    press(currentPanel, MAIN_CONNECT);
    if (!IsPanelVisible(connectedPanel)) {
        std::fprintf(stderr, "live_bench: no connection to %s\n", sim.path().c_str());
        return 1;
    }
    press(currentPanel, MAIN_LIVE);
    const int livePanel = currentPanel;
    press(livePanel, LIVE_LOG_FILE);

    StreamWindow window;
    QTimer watch;
    watch.setInterval(100);
    QObject::connect(&watch, &QTimer::timeout, [&] { watchRun(window, options, livePanel); });
    watch.start();
    press(livePanel, LIVE_START);  // returns once the stop press has ended the run
    watch.stop();
    const int recordLength = twoChannelMode == 1 ? 11 : 5;
    const long leftCharacters = charactersLeftOnLine();
    const long sent = stopAndCountRecords(sim);
    if (!window.stopped || window.end <= window.start) {
        std::fprintf(stderr, "live_bench: the run did not stream\n");
        return 1;
    }

    const double streamed = window.end - window.start;
    const unsigned long taken = liveRecordsShown;
    const long left = leftCharacters / recordLength;
    const LogFigures log = checkLog(logPath);
    const double user = window.cpuEnd.user - window.cpuStart.user;
    const double system = window.cpuEnd.system - window.cpuStart.system;
    const double cpu = user + system;
    const unsigned long windowRecords = window.recordsEnd - window.recordsStart;
    const double lineRate = options.baud / (10.0 * recordLength);

    std::fprintf(out,
                 "live run at %.0f baud (%.0f records/s on the line), streamed %.1f s, "
                 "platform %s, accessibility %s\n",
                 options.baud, options.rate > 0 ? std::min(options.rate, lineRate) : lineRate,
                 streamed, options.platform.c_str(), QAccessible::isActive() ? "on" : "off");
    std::fprintf(out, "  records sent (simulator):     %ld\n", sent);
    std::fprintf(out, "  records received (tool):      %lu (%.0f/s)\n", taken,
                 windowRecords / streamed);
    std::fprintf(out, "  still on the line at stop:    %ld (%ld characters, %.1f s behind)\n", left,
                 leftCharacters, windowRecords ? left / (windowRecords / streamed) : 0.0);
    std::fprintf(out, "  lost:                         %ld\n",
                 sent < 0 ? -1 : sent - static_cast<long>(taken) - left);
    std::fprintf(out, "  reads without a whole record: %lu\n", liveRecordsMissed);
    std::fprintf(out, "  log lines:                    %ld, not a whole record: %ld\n", log.lines,
                 log.malformed);
    std::fprintf(out, "  records in the measured window: %lu\n", windowRecords);
    if (windowRecords > 0)
        std::fprintf(out, "  tool CPU per record:          %.1f us (user %.1f, system %.1f)\n",
                     cpu / static_cast<double>(windowRecords) * 1e6,
                     user / static_cast<double>(windowRecords) * 1e6,
                     system / static_cast<double>(windowRecords) * 1e6);
    std::fprintf(out, "  tool CPU while streaming:     %.3f s, %.1f%% of one core\n", cpu,
                 100.0 * cpu / streamed);
    if (options.rssEvery > 0)
        printMemoryTrend(out, window.memory);
    SetPopupAnswerer(nullptr);
    return 0;
}

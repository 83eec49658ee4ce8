// How well the live loop keeps up with the instrument: the tool, in-process on the real
// clock and serial layer, reads quorvel-sim's stream on a pseudo-terminal for a while,
// logging to a file; the figures are records the simulator sent, records the loop took,
// the difference, log lines that are not a whole record, and the tool's CPU time per record.
//
//   live_bench [--baud N] [--rate N] [--seconds S]
//
// The simulator does not report what it sent, so that figure is worked out from the time
// the stream ran and the rate the line (or --rate) allows.
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/panel_set.h"
#include "app/vaskinterface.h"
#include "live/live_readout.h"
#include "toolkit/testing.h"
#include "toolkit/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

using Clock = std::chrono::steady_clock;

struct BenchOptions {
    double baud = 9600;
    double rate = 0;  // records a second; 0: as fast as the line carries
    double seconds = 5.0;
};

BenchOptions parseOptions(int argc, char** argv) {
    BenchOptions options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--baud") == 0)
            options.baud = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--rate") == 0)
            options.rate = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seconds") == 0)
            options.seconds = std::atof(argv[i + 1]);
    }
    return options;
}

// The operator at the file chooser: always the bench's own log file.
class LogFileAnswer : public PopupAnswerer {
  public:
    explicit LogFileAnswer(std::string path) : path_(std::move(path)) {}
    void message(const std::string& title, const std::string& text) override {
        std::fprintf(stderr, "live_bench: pop-up \"%s\": %s\n", title.c_str(), text.c_str());
    }
    int fileSelect(const std::string&, bool, std::string& path) override {
        path = path_;
        return VAL_NEW_FILE_SELECTED;
    }

  private:
    std::string path_;
};

// A button press as the operator makes it, through the widget.
void pressButton(int panel, int control) {
    if (auto* button = qobject_cast<QAbstractButton*>(ControlWidget(panel, control)))
        button->click();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct LogFigures {
    long lines = 0;
    long malformed = 0;
};

// Every line of the log must be one whole one-value record: four characters of a number
// and the instrument's CR, then the stored CR LF.
LogFigures checkLog(const QString& path) {
    static const QRegularExpression record("^[ -]{0,3}[0-9]{1,4}\r\r$");
    LogFigures figures;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return figures;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        ++figures.lines;
        if (line.size() != 6 || !record.match(QString::fromLatin1(line)).hasMatch())
            ++figures.malformed;
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchOptions options = parseOptions(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir logDir;
    const QString logPath = QDir(logDir.path()).filePath("live.log");
    LogFileAnswer chooser(logPath.toStdString());
    SetPopupAnswerer(&chooser);

    QProcess sim;
    QStringList simArguments{"--baud", QString::number(options.baud)};
    if (options.rate > 0)
        simArguments << "--rate" << QString::number(options.rate);
    sim.start(QUORVEL_SIM_PATH, simArguments);
    if (!sim.waitForStarted(5000)) {
        std::fprintf(stderr, "live_bench: quorvel-sim did not start\n");
        return 1;
    }
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    const QByteArray path = sim.readLine().trimmed();
    setenv("QUORVEL_COM1", path.constData(), 1);

    if (startVaskInterface(0, nullptr) != 0) {
        std::fprintf(stderr, "live_bench: the tool did not start\n");
        return 1;
    }
    pressButton(currentPanel, MAIN_CONNECT);
    if (!IsPanelVisible(connectedPanel)) {
        std::fprintf(stderr, "live_bench: no connection to %s\n", path.constData());
        return 1;
    }
    pressButton(currentPanel, MAIN_LIVE);
    const int livePanel = currentPanel;
    pressButton(livePanel, LIVE_LOG_FILE);

    // The stream runs from the moment the loop starts until the stop press.
    Clock::time_point streamStart{}, streamEnd{};
    QTimer watchStart;
    watchStart.setInterval(1);
    QObject::connect(&watchStart, &QTimer::timeout, [&] {
        if (liveRunning == 1) {
            streamStart = Clock::now();
            watchStart.stop();
        }
    });
    watchStart.start();
    QTimer::singleShot(static_cast<int>(options.seconds * 1000), [&] {
        streamEnd = Clock::now();
        pressButton(currentPanel, LIVE_STOP);
    });

    const double cpuBefore = cpuSeconds();
    pressButton(livePanel, LIVE_START);  // returns when the stop press has ended the run
    const double cpu = cpuSeconds() - cpuBefore;
    sim.terminate();
    sim.waitForFinished(5000);

    const double streamed = std::chrono::duration<double>(streamEnd - streamStart).count();
    const double lineRate = options.baud / (10.0 * 5);  // 10 bits a character, 5 a record
    const double rate = options.rate > 0 ? std::min(options.rate, lineRate) : lineRate;
    const double sent = streamed * rate;
    const unsigned long taken = liveRecordsShown;
    const LogFigures log = checkLog(logPath);

    std::printf("line %.0f baud, %.0f records/s, streamed %.2f s\n", options.baud, rate, streamed);
    std::printf("records received:      %lu (%.0f/s)\n", taken, taken / streamed);
    std::printf("records sent (approx): %.0f\n", sent);
    std::printf("lost (approx):         %.0f\n", sent - static_cast<double>(taken));
    std::printf("reads without record:  %lu\n", liveRecordsMissed);
    std::printf("log lines:             %ld, not a whole record: %ld\n", log.lines, log.malformed);
    if (taken > 0)
        std::printf("CPU per record:        %.1f us\n", cpu / static_cast<double>(taken) * 1e6);
    std::printf("CPU total:             %.3f s (%.0f%% of the run)\n", cpu,
                100.0 * cpu / std::max(streamed, 1e-9));
    SetPopupAnswerer(nullptr);
    return 0;
}

// Recorded runs at full size: makes this tool's CSV of any length at the line rate (with
// the stretch column and gaps, as a run that lost its line and came back), opens it on the
// Recordings page as the operator would and prints how long it took to its whole view and
// the resident memory it took, then how long a redraw takes after zooms and pans over it.
// With --shots, pictures of the page and of the chart exported as a PDF.
//
//   recording_bench --make FILE --hours H [--gaps N]
//   recording_bench --open FILE [--redraws N]
//   recording_bench --shots DIR --file FILE
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "app/vaskinterface.h"
#include "bench/bench_support.h"
#include "recordings/recordings_page.h"
#include "tests/harness/recording_files.h"
#include "toolkit/panels/chart_image.h"
#include "toolkit/panels/recording_chart.h"
#include "toolkit/panels/testing.h"

namespace {

const char* argument(int argc, char** argv, const char* name, const char* otherwise = nullptr) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return argv[i + 1];
    return otherwise;
}

// A level that rises and falls twice a day, with the noise of a real gauge, a surge at
// 03:17 that lasts one record, and the line lost now and then for a few minutes.
int make(const std::string& path, double hours, int gaps) {
    // Hours of records: the run lasts that long and the gaps' time more.
    MadeRecording made;
    const double gap = hours * 3600 * 0.003;
    made.seconds = hours * 3600 + gap * gaps * (gaps + 1) / 2;
    made.stretches = true;
    for (int g = 1; g <= gaps; ++g) made.gaps.push_back({made.seconds * g / (gaps + 1), gap * g});
    const auto surge = static_cast<long long>(made.rate * (3 * 3600 + 17 * 60));
    made.counts = [&](long long i) {
        const double t = static_cast<double>(i) / made.rate;
        if (i == surge)
            return 3900;
        const double tide = std::sin(t / (12.42 * 3600) * 2 * M_PI);
        return 1900 + static_cast<int>(800 * tide) + static_cast<int>(i * 7919 % 61) - 30;
    };
    long long records = 0;
    const double started = monotonicSeconds();
    if (!writeCsvRecording(path, made, &records)) {
        std::fprintf(stderr, "recording_bench: %s not written\n", path.c_str());
        return 1;
    }
    std::fprintf(reportStream(), "made %s: %lld records, %.0f MB, in %.1f s\n", path.c_str(),
                 records, static_cast<double>(QFileInfo(QString::fromStdString(path)).size()) / 1e6,
                 monotonicSeconds() - started);
    return 0;
}

void showPage(RecordingsPage& page) {
    page.resize(1100, 720);
    page.show();
    QApplication::processEvents();
}

// Reads the file as the page does, slice by slice between events, to the first picture.
bool openAndWait(RecordingsPage& page, const std::string& path) {
    page.open(path);
    while (page.reading()) QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!page.recording() || page.recording()->path != path)
        return false;
    page.chart()->repaint();
    return true;
}

double repaintMs(RecordingChart& chart) {
    const double started = monotonicSeconds();
    chart.repaint();
    return (monotonicSeconds() - started) * 1000;
}

int open(const std::string& path, int redraws) {
    FILE* report = reportStream();
    RecordingsPage page;
    showPage(page);
    const long before = residentKb();
    const CpuTime cpuBefore = cpuTime();
    const double started = monotonicSeconds();
    if (!openAndWait(page, path)) {
        std::fprintf(stderr, "recording_bench: %s not opened\n", path.c_str());
        return 1;
    }
    const double opened = monotonicSeconds() - started;
    const CpuTime cpuAfter = cpuTime();
    const double cpu = cpuAfter.user - cpuBefore.user + cpuAfter.system - cpuBefore.system;
    const Recording& r = *page.recording();
    std::fprintf(report, "  %s: %zu records, %.0f MB\n", path.c_str(), r.size(),
                 static_cast<double>(r.fileSize) / 1e6);
    std::fprintf(report, "  open to the whole view: %.3f s (CPU %.3f s)\n", opened, cpu);
    std::fprintf(report,
                 "  resident memory: %ld kB before, %ld kB after, peak %ld kB (records %zu kB)\n",
                 before, residentKb(), peakResidentKb(), r.bytes() / 1024);

    RecordingChart& chart = *page.chart();
    std::mt19937 random(7);
    const ChartView whole = chart.view();
    std::vector<double> zooms, pans;
    for (int i = 0; i < redraws; ++i) {
        std::uniform_real_distribution<double> scale(0, std::log10(whole.t1 - whole.t0));
        const double span = std::pow(10.0, scale(random));
        std::uniform_real_distribution<double> at(whole.t0, whole.t1 - span);
        const double t0 = at(random);
        const double started = monotonicSeconds();
        chart.zoomTo({t0, t0 + span, whole.y0, whole.y1});
        zooms.push_back((monotonicSeconds() - started) * 1000 + repaintMs(chart));
        const double panned = monotonicSeconds();
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&chart, &right);
        pans.push_back((monotonicSeconds() - panned) * 1000 + repaintMs(chart));
    }
    for (auto& [what, times] : {std::pair{"zoom", zooms}, std::pair{"pan", pans}}) {
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        std::fprintf(report,
                     "  %s and redraw over %d views: median %.2f ms, 95th %.2f ms, "
                     "slowest %.2f ms\n",
                     what, redraws, median(sorted), sorted[sorted.size() * 95 / 100],
                     sorted.back());
    }
    return 0;
}

QWidget* mainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("mainWindow"))
            return w;
    return nullptr;
}

int shots(const QString& dir, const std::string& path) {
    if (startVaskInterface(0, nullptr) != 0 || !mainWindow())
        return 1;
    QWidget* window = mainWindow();
    window->resize(1280, 860);
    PressShellEntry("Recordings");
    RecordingsPage& page = *recordingsPage();
    if (!openAndWait(page, path))
        return 1;
    QDir().mkpath(dir);
    RecordingChart& chart = *page.chart();
    auto save = [&](const char* name) {
        QApplication::processEvents();
        window->grab().save(dir + QLatin1Char('/') + QLatin1String(name));
    };
    const Recording& r = *page.recording();
    chart.showCrosshairAt(QPointF(chart.width() * 0.58, chart.height() * 0.4));
    save("recording-day.png");
    // The first gap, and a few minutes either side of it.
    const size_t after = r.stretchStarts.size() > 1 ? r.stretchStarts[1] : r.size() / 2;
    const double gapEnd = r.timeOf(after), gapStart = r.timeOf(after - 1);
    const float level = r.level(r.counts[after]);
    chart.zoomTo({gapStart - 300, gapEnd + 300, level - 0.25, level + 0.25});
    chart.showCrosshairAt(QPointF(chart.width() * 0.3, chart.height() * 0.45));
    save("recording-gap-zoom.png");
    chart.resetZoom();
    const QString problem = writeChartImage(
        dir + QStringLiteral("/recording-export.pdf"), {true, QSize(1100, 520)},
        [&](QPainter& p, const QRect& area) { chart.paintPlot(p, area, false); },
        QStringLiteral("Level"));
    if (!problem.isEmpty())
        std::fprintf(stderr, "recording_bench: %s\n", problem.toUtf8().constData());
    return problem.isEmpty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    quietPlatformNotes();
    QApplication app(argc, argv);
    reportStream();
    if (const char* file = argument(argc, argv, "--make"))
        return make(file, std::atof(argument(argc, argv, "--hours", "24")),
                    std::atoi(argument(argc, argv, "--gaps", "2")));
    if (const char* file = argument(argc, argv, "--open"))
        return open(file, std::atoi(argument(argc, argv, "--redraws", "200")));
    if (const char* dir = argument(argc, argv, "--shots"))
        return shots(QString::fromLocal8Bit(dir), argument(argc, argv, "--file", ""));
    std::fprintf(stderr,
                 "usage: recording_bench --make FILE --hours H [--gaps N] | --open FILE "
                 "[--redraws N] | --shots DIR --file FILE\n");
    return 2;
}

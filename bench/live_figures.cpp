#include "bench/live_figures.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {
// A trend that would add less than this over a ten-minute run is no growth: page-sized
// steps of the heap and the first fill of fixed buffers stay well below it.
constexpr double kSteadyKbPerTenMinutes = 256;
constexpr double kShortestVerdictSeconds = 300;
constexpr size_t kShownRows = 12;
}  // namespace

LogFigures checkLog(const QString& path) {
    // Four characters of a number and the instrument's CR, then the stored CR LF.
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

void printMemoryTrend(FILE* out, const std::vector<MemorySample>& samples) {
    if (samples.size() < 3) {
        std::fprintf(out, "resident memory: too few samples for a trend\n");
        return;
    }
    std::fprintf(out, "resident memory (VmRSS) during the run:\n  %8s %12s %10s\n", "time (s)",
                 "VmRSS (kB)", "records");
    const size_t step = std::max<size_t>(1, (samples.size() + kShownRows - 1) / kShownRows);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (i % step != 0 && i + 1 != samples.size())
            continue;
        std::fprintf(out, "  %8.1f %12ld %10lu\n", samples[i].seconds, samples[i].residentKb,
                     samples[i].records);
    }

    const double warmUp = samples.back().seconds / 5;
    double n = 0, st = 0, sr = 0, stt = 0, str = 0;
    for (const MemorySample& s : samples) {
        if (s.seconds < warmUp)
            continue;
        const double r = static_cast<double>(s.residentKb);
        n += 1;
        st += s.seconds;
        sr += r;
        stt += s.seconds * s.seconds;
        str += s.seconds * r;
    }
    const double denominator = n * stt - st * st;
    const double kbPerSecond = denominator > 0 ? (n * str - st * sr) / denominator : 0;
    const MemorySample& last = samples.back();
    const auto first = std::find_if(samples.begin(), samples.end(),
                                    [&](const MemorySample& s) { return s.seconds >= warmUp; });
    const double recordsPerSecond = last.seconds > 0 ? last.records / last.seconds : 0;
    const double bytesPerRecord = recordsPerSecond > 0 ? kbPerSecond * 1024 / recordsPerSecond : 0;
    std::fprintf(out, "  after warm-up (%.0f s): %ld kB, at the end: %ld kB\n", first->seconds,
                 first->residentKb, last.residentKb);
    std::fprintf(out, "  trend: %+.1f kB/min (%+.2f bytes per record)\n", kbPerSecond * 60,
                 bytesPerRecord);
    // The chart's recent points, kept whole, take the first minute and a half of a run to
    // fill: a shorter run shows that filling, not whether memory keeps growing.
    const bool steady = kbPerSecond * 600 < kSteadyKbPerTenMinutes;
    std::fprintf(out, "  verdict: %s\n",
                 last.seconds < kShortestVerdictSeconds
                     ? "too short to tell (run 5 minutes or more)"
                 : steady ? "does not grow with the run's length"
                          : "GROWS with the run's length");
}

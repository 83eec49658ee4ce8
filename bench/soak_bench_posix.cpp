// A long live run that loses its line again and again: `quorvel live --csv --raw` reads
// quorvel-sim's stream on a pseudo-terminal behind a symbolic link; every few minutes the
// simulator hangs up, as an adapter pulled out does, and a new one takes the link a few
// seconds later, as /dev/serial/by-id links follow an adapter put back. The run waits and
// goes on each time. Figures: records sent by the simulators, records in the CSV and the
// raw log, so those lost (every simulator hangs up, and the characters still in the
// terminal go with it); the stretches the CSV counts; and of the quorvel process at its first
// stretch and at its end, resident memory, open file handles (/proc/PID/fd) and CPU time.
//
// Eight hours at 9600 baud with 5-character records are 8 x 3600 x 192 = 5,529,600 records:
// at 96,000 baud about 48 minutes, which --records 5529600 runs.
//
//   soak_bench [--records N] [--baud N] [--lose-every S] [--away S]
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#ifndef QUORVEL_SIM_PATH
#define QUORVEL_SIM_PATH ""
#endif
#ifndef QUORVEL_CLI_PATH
#define QUORVEL_CLI_PATH ""
#endif

namespace {

constexpr int kRecordLength = 5;  // "1234\r" and its line end as the simulator sends it

struct Options {
    long records = 500000;
    double baud = 96000;
    double loseEvery = 120;  // seconds of streaming between hang-ups
    double away = 3;         // seconds without a simulator behind the link
};

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr,
                 "soak_bench: %s\nusage: soak_bench [--records N] [--baud N] [--lose-every S] "
                 "[--away S]\n",
                 why);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc)
            usage("every option takes a value");
        const double value = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--records") == 0)
            o.records = static_cast<long>(value);
        else if (std::strcmp(argv[i], "--baud") == 0)
            o.baud = value;
        else if (std::strcmp(argv[i], "--lose-every") == 0)
            o.loseEvery = value;
        else if (std::strcmp(argv[i], "--away") == 0)
            o.away = value;
        else
            usage("unknown option");
        ++i;
    }
    if (o.records <= 0 || o.baud <= 0 || o.loseEvery <= 1 || o.away < 0)
        usage("values must be positive");
    return o;
}

double monotonic() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// What /proc says of a process.
struct Sample {
    long residentKb = -1;
    long peakKb = -1;
    int handles = -1;
    double userSeconds = 0;
    double systemSeconds = 0;
};

long statusKb(const std::string& pid, const char* field) {
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

Sample sample(qint64 processId) {
    const std::string pid = std::to_string(processId);
    Sample s;
    s.residentKb = statusKb(pid, "VmRSS:");
    s.peakKb = statusKb(pid, "VmHWM:");
    const QDir fds(QString::fromStdString("/proc/" + pid + "/fd"));
    if (fds.exists())
        s.handles = static_cast<int>(
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
    std::ifstream in("/proc/" + pid + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    const size_t close = stat.rfind(')');
    if (close != std::string::npos) {
        const char* at = stat.c_str() + close + 2;
        unsigned long long user = 0, system = 0;
        for (int field = 3; field < 14 && *at; ++field) at = std::strchr(at, ' ') + 1;
        if (std::sscanf(at, "%llu %llu", &user, &system) == 2) {
            const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
            s.userSeconds = static_cast<double>(user) / tick;
            s.systemSeconds = static_cast<double>(system) / tick;
        }
    }
    return s;
}

void printSample(const char* when, const Sample& s) {
    std::printf(
        "  %-26s resident %6ld kB (peak %6ld kB), %3d open handles, CPU %7.2f s user + "
        "%6.2f s system\n",
        when, s.residentKb, s.peakKb, s.handles, s.userSeconds, s.systemSeconds);
}

// One simulator behind the link, hanging up by itself after `seconds`.
class Sim {
  public:
    Sim(const std::string& link, double baud, double seconds) {
        process_.start(QString::fromUtf8(QUORVEL_SIM_PATH),
                       {"--link", QString::fromStdString(link), "--baud", QString::number(baud),
                        "--no-drift", "--hang-up-after", QString::number(seconds, 'f', 1)});
        if (!process_.waitForStarted(5000))
            return;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(5000))
                return;
        started_ = true;
    }
    ~Sim() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }
    bool started() const { return started_; }
    // Waits for the hang-up; the live records it says it sent, -1 when it said nothing.
    long waitForHangUp() {
        while (!process_.waitForFinished(200)) {
            if (process_.state() == QProcess::NotRunning)
                break;
        }
        const std::string report = process_.readAllStandardError().toStdString();
        const size_t at = report.find("records sent: ");
        return at == std::string::npos ? -1 : std::atol(report.c_str() + at + 14);
    }

  private:
    QProcess process_;
    bool started_ = false;
};

long countLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    long lines = 0;
    char buffer[1 << 16];
    for (qint64 n; (n = file.read(buffer, sizeof buffer)) > 0;)
        for (qint64 i = 0; i < n; ++i) lines += buffer[i] == '\n';
    return lines;
}

long countOf(const std::string& text, const std::string& what) {
    long count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        usage("no temporary directory");
    const std::string link = dir.filePath("ttyQV").toStdString();
    const QString csv = dir.filePath("soak.csv");
    const QString raw = dir.filePath("soak.raw");
    const double lineRate = options.baud / (10.0 * kRecordLength);
    // A stretch's length: the last one as long as the records still wanted, and each long
    // enough for the return exchange (the list looked at each second, the wake-up's two
    // seconds, 'i', the block and 'g') before its records.
    constexpr double kReturnExchange = 5.0;
    const auto stretchSeconds = [&](long wanted) {
        return std::max(
            2 * kReturnExchange,
            std::min(options.loseEvery, static_cast<double>(wanted) / lineRate + kReturnExchange));
    };

    std::printf(
        "soak: quorvel live --csv --raw against quorvel-sim at %.0f baud (%.0f records/s), "
        "%ld records wanted, the line lost every %.0f s for %.0f s\n",
        options.baud, lineRate, options.records, options.loseEvery, options.away);
    std::fflush(stdout);
    const double began = monotonic();
    long sent = 0;
    int simulators = 0;
    auto sim = std::make_unique<Sim>(link, options.baud, stretchSeconds(options.records));
    if (!sim->started()) {
        std::fprintf(stderr, "soak_bench: quorvel-sim did not start\n");
        return 1;
    }
    ++simulators;
    QProcess quorvel;
    quorvel.setStandardOutputFile(dir.filePath("quorvel.out"));
    quorvel.setStandardErrorFile(dir.filePath("quorvel.err"));
    quorvel.start(QString::fromUtf8(QUORVEL_CLI_PATH),
                  {"--port", QString::fromStdString(link), "live", "--csv", csv, "--raw", raw});
    if (!quorvel.waitForStarted(5000)) {
        std::fprintf(stderr, "soak_bench: quorvel did not start\n");
        return 1;
    }
    // The first sample once records flow: the start exchange and the files' opening are behind.
    for (int i = 0; i < 200 && QFileInfo(csv).size() < 100 * 40; ++i) QThread::msleep(50);
    const Sample first = sample(quorvel.processId());

    for (;;) {
        const long stretch = sim->waitForHangUp();
        sent += std::max(stretch, 0L);
        const Sample now = sample(quorvel.processId());
        std::printf(
            "  stretch %2d: %9ld records sent (%10ld in all), %6.0f s into the run; "
            "resident %ld kB, %d handles, CPU %.1f s\n",
            simulators, stretch, sent, monotonic() - began, now.residentKb, now.handles,
            now.userSeconds + now.systemSeconds);
        std::fflush(stdout);
        if (sent >= options.records || quorvel.waitForFinished(0) ||
            quorvel.state() == QProcess::NotRunning) {
            break;
        }
        sim.reset();
        QThread::msleep(static_cast<unsigned long>(options.away * 1000));
        sim = std::make_unique<Sim>(link, options.baud, stretchSeconds(options.records - sent));
        if (!sim->started()) {
            std::fprintf(stderr, "soak_bench: quorvel-sim did not start again\n");
            break;
        }
        ++simulators;
    }
    // The last sample while the run waits for a line that does not come back.
    QThread::msleep(1500);
    const bool ranToTheEnd = quorvel.state() != QProcess::NotRunning;
    const Sample last = ranToTheEnd ? sample(quorvel.processId()) : Sample{};
    if (ranToTheEnd) {
        ::kill(static_cast<pid_t>(quorvel.processId()), SIGTERM);
        quorvel.waitForFinished(60000);
    }
    const double seconds = monotonic() - began;

    const long csvRecords = std::max(countLines(csv) - 1, 0L);
    // The raw log puts a line end behind each record as it came.
    const long rawRecords = countLines(raw);
    QFile errors(dir.filePath("quorvel.err"));
    errors.open(QIODevice::ReadOnly);
    const std::string err = errors.readAll().toStdString();
    std::printf("soak: %.0f s, quorvel ended with status %d%s\n", seconds, quorvel.exitCode(),
                ranToTheEnd ? "" : " before the soak's end");
    const size_t lastLine = err.find_last_of('\n', err.size() > 1 ? err.size() - 2 : 0);
    std::printf("  quorvel's last line:        %s",
                err.substr(lastLine == std::string::npos ? 0 : lastLine + 1).c_str());
    std::printf("  records sent:               %ld by %d simulators\n", sent, simulators);
    std::printf("  records in the CSV:         %ld (raw log: %ld)\n", csvRecords, rawRecords);
    std::printf("  lost:                       %ld (%.1f a hang-up)\n", sent - csvRecords,
                static_cast<double>(sent - csvRecords) / simulators);
    std::printf("  lines lost / back:          %ld / %ld\n", countOf(err, "line lost at "),
                countOf(err, "line back at "));
    std::printf("  quorvel at start and end:\n");
    printSample("first stretch streaming:", first);
    printSample("end (waiting for line):", last);
    const double cpu =
        last.userSeconds + last.systemSeconds - first.userSeconds - first.systemSeconds;
    std::printf(
        "  growth:                     resident %+ld kB, handles %+d, CPU %.1f s "
        "(%.1f us a record)\n",
        last.residentKb - first.residentKb, last.handles - first.handles, cpu,
        csvRecords > 0 ? cpu * 1e6 / static_cast<double>(csvRecords) : 0.0);
    return 0;
}

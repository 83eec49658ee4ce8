#include "bench/bench_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <utility>

#include "app/vaskinterface.h"
#include "tests/harness/failures.h"
#include "toolkit/panels/userint.h"

long stopAndCountRecords(SimProcess& sim) {
    sim.stop();
    static const QRegularExpression report("records sent: (\\d+)");
    const QRegularExpressionMatch match =
        report.match(QString::fromLocal8Bit(sim.errorOutput().c_str()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

RecordingPopups benchPopups(std::string logPath) {
    RecordingPopups popups;
    popups.onMessage = [](const RecordedMessage& shown) {
        std::fprintf(stderr, "pop-up \"%s\": %s\n", shown.title.c_str(), shown.text.c_str());
    };
    popups.answerFileSelect(std::move(logPath), VAL_NEW_FILE_SELECTED);
    return popups;
}

void printHarnessFailures(const char* program) {
    setHarnessFailureHandler([program](const char*, int, const std::string& text) {
        std::fprintf(stderr, "%s: %s\n", program, text.c_str());
    });
}

void quietPlatformNotes() {
    static QtMessageHandler standard = nullptr;
    standard = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith("This plugin does not support") ||
                message.contains("XDG_RUNTIME_DIR"))
                return;
            if (standard)
                standard(type, context, message);
        });
}

FILE* reportStream() {
    static FILE* report = [] {
        std::fflush(stdout);
        FILE* stream = fdopen(dup(STDOUT_FILENO), "w");
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
        setvbuf(stream, nullptr, _IOLBF, 0);
        return stream;
    }();
    return report;
}

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

CpuTime cpuTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

namespace {

// A figure of /proc/self/status, in kB: "VmRSS:", "VmHWM:".
long statusKb(const char* wanted) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == wanted) {
            long kb = -1;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

}  // namespace

long residentKb() {
    return statusKb("VmRSS:");
}

long peakResidentKb() {
    return statusKb("VmHWM:");
}

bool startToolAgainst(SimProcess& sim, const char* program) {
    if (!sim.started()) {
        std::fprintf(stderr, "%s: quorvel-sim did not start\n", program);
        return false;
    }
    sim.exportAs(1);
    if (startVaskInterface(0, nullptr) != 0) {
        std::fprintf(stderr, "%s: the tool did not start\n", program);
        return false;
    }
    return true;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Loading a settings history of any size: a file of random bytes (as a damaged disk or a
// wrong file might leave), a file of genuine entries, and four entries followed by one
// line without an end, each of the size given, loaded alone and by the History page as it
// comes into view. Prints the time of each and the peak resident memory it reached. The files are
// written first, so they are read from the page cache: the figures are the program's own work, not
// the disk's.
//
//   history_bench [--megabytes N]   (200 by default)
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "history/history.h"
#include "settings/history_page.h"

namespace {

bool resetPeak() {
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    return static_cast<bool>(refs.flush());
}

void writeRandomFile(const std::string& path, long long bytes) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(21);
    std::string chunk(1 << 20, '\0');
    for (long long written = 0; written < bytes; written += static_cast<long long>(chunk.size())) {
        for (size_t i = 0; i < chunk.size(); i += 8) {
            const uint64_t value = random();
            std::memcpy(&chunk[i], &value, 8);
        }
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
}

void writeEntriesFile(const std::string& path, long long bytes) {
    std::ofstream out(path, std::ios::binary);
    std::string text;
    for (int i = 0; i < 43; ++i) text += "1B,";
    long long written = 0;
    for (long entry = 0; written < bytes; ++entry) {
        char time[32];
        std::snprintf(time, sizeof time, "2026-%02ld-%02ld %02ld:%02ld:%02ld", 1 + entry % 12,
                      1 + entry % 28, entry % 24, entry % 60, entry % 59);
        const std::string line = formatHistoryLine(time, "kx write", kBeforeStage, "QV-0000012345",
                                                   "COM1", text.c_str());
        out << line;
        written += static_cast<long long>(line.size());
    }
}

// Four genuine entries, then one line of `bytes` with no line end, as a tool that went
// wrong might leave behind them.
void writeLongLineFile(const std::string& path, long long bytes) {
    writeEntriesFile(path, 1);
    std::string entries;
    {
        std::ifstream in(path, std::ios::binary);
        std::getline(in, entries);
    }
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 4; ++i) out << entries << '\n';
    const std::string chunk(1 << 20, 'x');
    for (long long written = 0; written < bytes; written += static_cast<long long>(chunk.size()))
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

void measure(FILE* report, const char* what, const std::string& path) {
    std::fprintf(report, "%s (%.1f MB):\n", what,
                 static_cast<double>(std::ifstream(path, std::ios::ate).tellg()) / 1e6);
    const long before = residentKb();
    const bool peakReset = resetPeak();
    double start = monotonicSeconds();
    const HistoryFile history = loadHistory(path);
    const double loaded = monotonicSeconds() - start;
    const long loadPeak = peakResidentKb();
    std::fprintf(report,
                 "  loadHistory: %.3f s, %zu entries, %lld damaged lines; peak resident %.1f MB"
                 " (%.1f MB before)%s\n",
                 loaded, history.entries.size(), history.damagedCount, loadPeak / 1024.0,
                 before / 1024.0, peakReset ? "" : " [peak not reset: the process's own peak]");
    for (const std::string& note : historyNotes(history))
        std::fprintf(report, "    note: %s\n", note.c_str());

    resetPeak();
    start = monotonicSeconds();
    {
        HistoryPage page;  // lists the files and loads the current one, as coming into view
        page.resize(760, 640);
        page.show();
        QCoreApplication::processEvents();
    }
    std::fprintf(report, "  History page shown and closed: %.3f s; peak resident %.1f MB\n",
                 monotonicSeconds() - start, peakResidentKb() / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    long long megabytes = 200;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--megabytes") == 0)
            megabytes = std::atoll(argv[i + 1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quietPlatformNotes();
    QApplication app(argc, argv);
    FILE* report = reportStream();
    QTemporaryDir folder;
    setHistoryFolder(folder.path().toStdString());
    const std::string path = currentHistoryFilePath();  // the page's file before any identify
    const long long bytes = megabytes * 1000 * 1000;

    writeRandomFile(path, bytes);
    measure(report, "settings history of random bytes", path);
    writeEntriesFile(path, bytes);
    measure(report, "settings history of genuine entries", path);
    writeLongLineFile(path, bytes);
    measure(report, "settings history of four entries and one long line", path);
    return 0;
}

#include "tests/harness/recording_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "link/live_record.h"
#include "link/record_csv.h"

namespace {

int defaultCounts(long long i, double rate) {
    const double hours = static_cast<double>(i) / rate / 3600;
    if (i == 100000)
        return 4095;  // one spike, eight and a half minutes in
    return 2048 + static_cast<int>(1200 * std::sin(hours * 6.283185307)) +
           static_cast<int>(i * 7919 % 41) - 20;
}

// A line as the window's CSV writes it, then CR LF; without its stretch when `stretch` is 0,
// as older CSVs were written.
std::string storedLine(const LiveRecord& record, double elapsed, double wall, int stretch) {
    std::string line = csvLine(record, elapsed, wall, std::max(stretch, 1));
    line.pop_back();
    if (stretch == 0)
        line.erase(line.rfind(','));
    return line + "\r\n";
}

// The header without its last column, stretch.
std::string headerWithoutStretch(bool twoValues) {
    std::string header = csvHeader(twoValues);
    return header.substr(0, header.rfind(','));
}

LiveRecord recordOf(int counts, int counts2, bool twoValues, double gaugeLength) {
    char text[16];
    if (twoValues)
        std::snprintf(text, sizeof text, "%4d, %4d\r", counts, counts2);
    else
        std::snprintf(text, sizeof text, "%4d\r", counts);
    LiveRecord record;
    parseLiveRecord(text, twoValues ? 11 : 5, static_cast<float>(gaugeLength), record);
    return record;
}

}  // namespace

bool writeCsvRecording(const std::string& path, const MadeRecording& made, long long* records) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                              std::fclose);
    if (!out)
        return false;
    const std::string header = headerWithoutStretch(made.twoValues);
    std::string text = header + (made.stretches ? ",stretch\r\n" : "\r\n");
    const auto total = static_cast<long long>(made.seconds * made.rate);
    long long written = 0;
    int stretch = 1;
    size_t gap = 0;
    for (long long i = 0; i < total; ++i) {
        const double elapsed = static_cast<double>(i) / made.rate;
        if (gap < made.gaps.size() && elapsed >= made.gaps[gap].at) {
            if (elapsed < made.gaps[gap].at + made.gaps[gap].length)
                continue;
            ++gap;
            ++stretch;
        }
        const int counts = made.counts ? made.counts(i) : defaultCounts(i, made.rate);
        const LiveRecord record =
            recordOf(counts, static_cast<int>(i % 4096), made.twoValues, made.gaugeLength);
        text +=
            storedLine(record, elapsed, made.startWallTime + elapsed, made.stretches ? stretch : 0);
        ++written;
        if (text.size() > (1u << 20)) {
            if (std::fwrite(text.data(), 1, text.size(), out.get()) != text.size())
                return false;
            text.clear();
        }
    }
    if (records)
        *records = written;
    return std::fwrite(text.data(), 1, text.size(), out.get()) == text.size();
}

std::string csvText(const std::vector<std::pair<double, int>>& records, double gaugeLength) {
    std::string text = headerWithoutStretch(false) + "\n";
    for (const auto& [elapsed, counts] : records) {
        const std::string line =
            csvLine(recordOf(counts, 0, false, gaugeLength), elapsed, 1796738700 + elapsed, 1);
        text += line.substr(0, line.rfind(',')) + "\n";
    }
    return text;
}

// This tool's CSV, read by the names of its header's columns, so every version of them
// reads: time_iso,elapsed_s,counts,level, then counts2,value2 with two values, then the
// stretch a record came in when the run went on after a lost line; a CSV saved from a raw
// log's span numbers its records instead of timing them (record,counts,level...).
//
// The gauge length is the one the file's levels name: a level is counts x length / 4095,
// and the length is a whole number of tenths (the instrument keeps it so), so the record
// with the most counts gives it exactly.
#include <QDateTime>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "link/record_stream.h"
#include "recording/record_lines.h"
#include "recording/recording.h"

namespace {

enum class Column { TimeIso, Elapsed, Counts, Level, Counts2, Value2, Stretch, Record };

struct ColumnName {
    const char* name;
    Column column;
};
constexpr ColumnName kColumns[] = {
    {"time_iso", Column::TimeIso}, {"elapsed_s", Column::Elapsed}, {"counts", Column::Counts},
    {"level", Column::Level},      {"counts2", Column::Counts2},   {"value2", Column::Value2},
    {"stretch", Column::Stretch},  {"record", Column::Record},
};
constexpr char kColumnList[] =
    "time_iso, elapsed_s, counts, level, counts2, value2, stretch, record";

// Levels below a tenth of the scale say too little of the length to judge it by.
constexpr uint16_t kJudgedCounts = 410;
constexpr uint64_t kLongestRunMs = UINT32_MAX;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits with an optional fraction ("12", "12.345"), as this tool writes its numbers. The
// fraction is gathered as a whole number: a division a digit would cost more than the rest
// of the line.
bool readDecimal(std::string_view text, uint64_t& whole, uint64_t& thousandths, double& value) {
    constexpr double kTenths[] = {1, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9};
    constexpr size_t kMostDigits = std::size(kTenths) - 1;
    const char* at = text.data();
    const char* end = at + text.size();
    whole = 0;
    while (at < end && isDigit(*at)) {
        if (whole > UINT32_MAX)
            return false;
        whole = whole * 10 + static_cast<uint64_t>(*at++ - '0');
    }
    if (at == text.data())
        return false;
    uint64_t fraction = 0;
    size_t digits = 0;
    if (at < end && *at == '.') {
        const char* first = ++at;
        for (; at < end && isDigit(*at); ++at)
            if (digits < kMostDigits) {
                fraction = fraction * 10 + static_cast<uint64_t>(*at - '0');
                ++digits;
            }
        if (at == first)
            return false;
    }
    uint64_t milli = fraction;
    for (size_t n = digits; n < 3; ++n) milli *= 10;
    for (size_t n = 3; n < digits; ++n) milli /= 10;
    thousandths = milli;
    value = static_cast<double>(whole) + static_cast<double>(fraction) * kTenths[digits];
    return at == end;
}

bool readWhole(std::string_view text, uint64_t most, uint64_t& value) {
    value = 0;
    if (text.empty())
        return false;
    for (char c : text) {
        if (!isDigit(c))
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > most)
            return false;
    }
    return true;
}

// "2026-12-08T14:05:00.125Z": the shape this tool writes, UTC to the millisecond. The
// first record's time is read whole; the others' are looked at for their shape alone, which
// is all a day of them can afford.
bool isoShaped(std::string_view text) {
    return text.size() == 24 && text[4] == '-' && text[10] == 'T' && text[13] == ':' &&
           text[19] == '.' && text[23] == 'Z' && isDigit(text[0]) && isDigit(text[22]);
}

bool isoWhole(std::string_view text) {
    constexpr std::string_view kShape = "0000-00-00T00:00:00.000Z";
    if (text.size() != kShape.size())
        return false;
    for (size_t i = 0; i < kShape.size(); ++i)
        if (kShape[i] == '0' ? !isDigit(text[i]) : text[i] != kShape[i])
            return false;
    return true;
}

std::string notATime(std::string_view text) {
    return "time_iso " + quoted(text) + " is not a time like 2026-12-08T14:05:00.125Z";
}

class CsvLines : public RecordLines {
  public:
    CsvLines(Recording& recording, std::vector<Column> columns)
        : recording_(recording), columns_(std::move(columns)) {
        recording_.kind = RecordingKind::Csv;
        for (Column c : columns_) {
            recording_.twoValues = recording_.twoValues || c == Column::Counts2;
            recording_.hasStretches = recording_.hasStretches || c == Column::Stretch;
            recording_.numbered = recording_.numbered || c == Column::Record;
        }
        recording_.lengthSource = GaugeLengthSource::File;
    }

    bool take(std::string_view line, std::string& reason) override;
    bool finish(std::string& reason) override;

  private:
    struct Row {
        uint64_t time = 0;
        uint64_t counts = 0, counts2 = 0, stretch = 1;
        double level = 0;
        std::string_view timeIso;
    };
    bool readField(Column column, std::string_view text, Row& row, std::string& reason);
    void judgeLength(const Row& row);
    void add(const Row& row);

    Recording& recording_;
    std::vector<Column> columns_;
    uint64_t lastTime_ = 0;
    uint64_t lastStretch_ = 0;
    // The record with the most counts so far, and the lengths the judged records name.
    uint64_t mostCounts_ = 0;
    double levelAtMost_ = 0;
    double shortest_ = 0, longest_ = 0;
    bool judged_ = false;
};

bool CsvLines::readField(Column column, std::string_view text, Row& row, std::string& reason) {
    uint64_t whole = 0, thousandths = 0;
    double value = 0;
    switch (column) {
        case Column::TimeIso:
            row.timeIso = text;
            if (isoShaped(text))
                return true;
            reason = notATime(text);
            return false;
        case Column::Elapsed:
            if (!readDecimal(text, whole, thousandths, value)) {
                reason = "elapsed_s " + quoted(text) + " is not a number of seconds";
                return false;
            }
            row.time = whole * 1000 + thousandths;
            if (row.time <= kLongestRunMs)
                return true;
            reason = "elapsed_s " + quoted(text) + " is longer than a run this tool reads";
            return false;
        case Column::Counts:
        case Column::Counts2:
            if (readWhole(text, kHighestCount, column == Column::Counts ? row.counts : row.counts2))
                return true;
            reason = std::string(column == Column::Counts ? "counts " : "counts2 ") + quoted(text) +
                     " is not a count from 0 to 4095";
            return false;
        case Column::Level:
        case Column::Value2:
            if (readDecimal(text, whole, thousandths, value)) {
                if (column == Column::Level)
                    row.level = value;
                return true;
            }
            reason = std::string(column == Column::Level ? "level " : "value2 ") + quoted(text) +
                     " is not a number";
            return false;
        case Column::Stretch:
            if (readWhole(text, INT32_MAX, row.stretch) && row.stretch > 0)
                return true;
            reason = "stretch " + quoted(text) + " is not a stretch number (1, 2, …)";
            return false;
        case Column::Record:
            if (readWhole(text, UINT32_MAX, row.time) && row.time > 0)
                return true;
            reason = "record " + quoted(text) + " is not a record number (1, 2, …)";
            return false;
    }
    return false;
}

bool CsvLines::take(std::string_view line, std::string& reason) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return true;
    Row row;
    size_t field = 0;
    for (size_t from = 0; from <= line.size(); ++field) {
        const size_t comma = std::min(line.find(',', from), line.size());
        if (field < columns_.size() &&
            !readField(columns_[field], line.substr(from, comma - from), row, reason))
            return false;
        from = comma + 1;
    }
    if (field != columns_.size()) {
        reason = std::to_string(field) + (field == 1 ? " value" : " values") +
                 " where the header names " + std::to_string(columns_.size()) + " columns";
        return false;
    }
    if (!recording_.empty() && row.time < lastTime_) {
        reason = std::string(recording_.numbered ? "record " : "elapsed_s ") +
                 "goes back from the line before";
        return false;
    }
    if (recording_.empty() && !row.timeIso.empty()) {
        if (!isoWhole(row.timeIso)) {
            reason = notATime(row.timeIso);
            return false;
        }
        const QDateTime at = QDateTime::fromString(
            QString::fromLatin1(row.timeIso.data(), static_cast<qsizetype>(row.timeIso.size())),
            Qt::ISODateWithMs);
        if (!at.isValid()) {
            reason = "time_iso " + quoted(row.timeIso) + " is not a time that exists";
            return false;
        }
        recording_.startWallTime = at.toMSecsSinceEpoch() / 1000.0 - row.time / 1000.0;
    }
    add(row);
    return true;
}

void CsvLines::add(const Row& row) {
    if (recording_.empty() || row.stretch != lastStretch_) {
        recording_.stretchStarts.push_back(recording_.size());
        recording_.stretchNames.push_back(static_cast<long long>(row.stretch));
    }
    lastStretch_ = row.stretch;
    lastTime_ = row.time;
    const auto counts = static_cast<uint16_t>(row.counts);
    recording_.times.push(static_cast<uint32_t>(row.time));
    recording_.counts.push(counts);
    recording_.levels.add(counts);
    if (recording_.twoValues)
        recording_.counts2.push(static_cast<uint16_t>(row.counts2));
    judgeLength(row);
}

void CsvLines::judgeLength(const Row& row) {
    if (row.counts > mostCounts_) {
        mostCounts_ = row.counts;
        levelAtMost_ = row.level;
    }
    if (row.counts < kJudgedCounts)
        return;
    const double length = row.level * kHighestCount / static_cast<double>(row.counts);
    shortest_ = judged_ ? std::min(shortest_, length) : length;
    longest_ = judged_ ? std::max(longest_, length) : length;
    judged_ = true;
}

bool CsvLines::finish(std::string&) {
    if (mostCounts_ == 0) {
        recording_.lengthSource = GaugeLengthSource::Default;
        return true;
    }
    const double tenths = std::round(levelAtMost_ * kHighestCount / mostCounts_ * 10);
    recording_.gaugeLength = tenths / 10;
    if (judged_ && std::round(shortest_ * 10) != std::round(longest_ * 10))
        recording_.notes.push_back(
            "the levels in the file do not all follow one gauge length: the chart shows the "
            "counts with the length of the highest reading");
    return true;
}

}  // namespace

std::unique_ptr<RecordLines> csvLinesFor(std::string_view header, Recording& recording,
                                         std::string& reason) {
    const bool crLf = !header.empty() && header.back() == '\r';
    if (crLf)
        header.remove_suffix(1);
    if (header.find(',') == std::string_view::npos)
        return nullptr;
    std::vector<Column> columns;
    bool seen[std::size(kColumns)] = {};
    for (size_t from = 0; from <= header.size();) {
        const size_t comma = std::min(header.find(',', from), header.size());
        const std::string_view name = header.substr(from, comma - from);
        from = comma + 1;
        size_t known = 0;
        while (known < std::size(kColumns) && name != kColumns[known].name) ++known;
        if (known == std::size(kColumns)) {
            reason = "the column " + quoted(name) + " is not one of this tool's CSV (" +
                     kColumnList + ")";
            return nullptr;
        }
        if (seen[known]) {
            reason = "the column " + quoted(name) + " is named twice";
            return nullptr;
        }
        seen[known] = true;
        columns.push_back(kColumns[known].column);
    }
    auto has = [&](Column c) { return seen[static_cast<size_t>(c)]; };
    const char* missing = !has(Column::Counts)                           ? "counts"
                          : !has(Column::Level)                          ? "level"
                          : has(Column::Counts2) && !has(Column::Value2) ? "value2"
                          : has(Column::Value2) && !has(Column::Counts2) ? "counts2"
                          : has(Column::Record)                          ? nullptr
                          : !has(Column::TimeIso)                        ? "time_iso"
                          : !has(Column::Elapsed)                        ? "elapsed_s"
                                                                         : nullptr;
    if (missing) {
        reason = std::string("the column \"") + missing + "\" is missing";
        return nullptr;
    }
    if (has(Column::Record) && (has(Column::TimeIso) || has(Column::Elapsed))) {
        reason = "the column \"record\" numbers records that time_iso and elapsed_s also time";
        return nullptr;
    }
    recording.header.assign(header);
    recording.crLf = crLf;
    return std::make_unique<CsvLines>(recording, std::move(columns));
}

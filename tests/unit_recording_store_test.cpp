// What a recording keeps and gives: a one-record spike in every view at every zoom, a gap
// between stretches as a break, the summary's figures against records whose values are
// known, and a span saved as CSV whole (the file's own lines) or not at all.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "recording/recording_columns.h"
#include "recording/recording_reader.h"
#include "recording/recording_summary.h"
#include "recording/span_csv.h"
#include "tests/harness/recording_files.h"

namespace {

void add(Recording& r, uint32_t ms, uint16_t counts, bool newStretch = false) {
    if (r.empty() || newStretch) {
        r.stretchStarts.push_back(r.size());
        r.stretchNames.push_back(static_cast<long long>(r.stretchStarts.size()));
    }
    r.times.push(ms);
    r.counts.push(counts);
    r.levels.add(counts);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Four hours at the line rate, level 1000 counts but for one record of 4000: whatever the span
// and however many columns, the spike is in exactly one column and nothing else is.
TEST(RecordingLevels, KeepAOneRecordSpikeAtEveryZoom) {
    Recording r;
    constexpr size_t kRecords = 3'000'000;
    constexpr size_t kSpike = 1'234'567;
    for (size_t i = 0; i < kRecords; ++i)
        add(r, static_cast<uint32_t>(i * 5), i == kSpike ? 4000 : 1000);
    const double spikeAt = r.timeOf(kSpike);
    for (double span = r.timeOf(kRecords - 1); span > 0.001; span /= 7) {
        for (size_t width : {97, 600, 1920}) {
            std::vector<CountsColumn> columns(width);
            const double t0 = std::max(0.0, spikeAt - span * 0.37);
            fillCountsColumns(r, t0, t0 + span, columns);
            size_t spikes = 0, others = 0;
            for (const CountsColumn& c : columns) {
                spikes += c.any && c.max == 4000;
                others += c.any && c.max != 4000 && !(c.min == 1000 && c.max == 1000);
            }
            EXPECT_EQ(spikes, 1u) << span << " s over " << width;
            EXPECT_EQ(others, 0u) << span << " s over " << width;
        }
    }
    // The least, greatest and mean counts of any run of records come exact.
    const CountsRange around = r.levels.range(r.counts, kSpike - 1000, kSpike + 12345);
    EXPECT_EQ(around.rows, 13345u);
    EXPECT_EQ(around.max, 4000);
    EXPECT_EQ(around.sum, 13345u * 1000 + 3000);
    EXPECT_LT(r.bytes(), kRecords * 7);
}

TEST(RecordingLevels, AGapBetweenStretchesIsABreakAndNothingElseIs) {
    Recording r;
    for (uint32_t ms = 0; ms < 60'000; ms += 5) add(r, ms, 1000);
    for (uint32_t ms = 120'000; ms < 180'000; ms += 5) add(r, ms, 3000, ms == 120'000);
    std::vector<CountsColumn> columns(300);
    fillCountsColumns(r, 0, 180, columns);
    EXPECT_TRUE(columns[50].any);
    EXPECT_FALSE(columns[150].any);
    std::vector<size_t> breaks;
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].breakBefore)
            breaks.push_back(i);
    EXPECT_EQ(breaks, std::vector<size_t>{200});
}

TEST(RecordingSummary, FiguresOfASpanComeFromItsRecordsAlone) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("known.csv").toStdString();
    // Counts 0, 1000, ..., 4000 at 0, 1, ..., 4 s: at 2.0 m a count is 2/4095 m.
    std::ofstream(path) << csvText({{0, 0}, {1, 1000}, {2, 2000}, {3, 3000}, {4, 4000}});
    const auto r = readRecording(path).recording;
    ASSERT_TRUE(r);
    const RecordingSummary middle = summarize(*r, 0.5, 3.0);
    EXPECT_EQ(middle.records, 3u);
    EXPECT_FLOAT_EQ(middle.least, 1000 * 2.0f / 4095);
    EXPECT_FLOAT_EQ(middle.greatest, 3000 * 2.0f / 4095);
    EXPECT_DOUBLE_EQ(middle.mean, 2000 * 2.0 / 4095);
    EXPECT_EQ(summaryLine(*r, middle, TimeShown::SinceStart),
              "From 1.000 s to 3.000 s: 3 records; level min 0.4884 m, max 1.4652 m, mean "
              "0.9768 m; records out of step: not kept in a CSV");
    EXPECT_EQ(summaryLine(*r, summarize(*r, 4.5, 9), TimeShown::SinceStart),
              "From 4.500 s to 9.000 s: no records");
    EXPECT_EQ(timeText(*r, 1, TimeShown::Clock).substr(0, 10), "2026-12-08");
    EXPECT_EQ(isoTimeText(*r, 1), "2026-12-08T14:05:01.000Z");

    // A raw log counts its records out of step within the span.
    const std::string raw = dir.filePath("known.log").toStdString();
    std::ofstream(raw, std::ios::binary) << " 100\r\r\n9999\r\r\n 300\r\r\n-001\r\r\n 500\r\r\n";
    const auto log = readRecording(raw).recording;
    ASSERT_TRUE(log);
    EXPECT_EQ(summaryLine(*log, summarizeAll(*log), TimeShown::SinceStart),
              "From record 1 to record 5: 3 records; level min 0.0488 m, max 0.2442 m, mean "
              "0.1465 m; records out of step: 2");
    EXPECT_EQ(*summarize(*log, 2, 3).outOfStep, 1u);
}

TEST(SpanCsv, IsTheFilesOwnLinesWholeOrNothing) {
    QTemporaryDir dir;
    MadeRecording made;
    made.seconds = 20;
    made.stretches = true;
    made.gaps = {{5, 2}};
    const std::string path = dir.filePath("run.csv").toStdString();
    ASSERT_TRUE(writeCsvRecording(path, made));
    const auto r = readRecording(path).recording;
    ASSERT_TRUE(r);
    const std::string whole = fileText(path);

    // Records 1500 to 2999 (past a row-offset mark, across the gap): the file's own lines.
    const std::string span = dir.filePath("span.csv").toStdString();
    ASSERT_EQ(saveSpanCsv(*r, 1500, 3000, span), "");
    const std::string header = "time_iso,elapsed_s,counts,level,stretch\r\n";
    size_t from = header.size();
    for (int line = 0; line < 1500; ++line) from = whole.find('\n', from) + 1;
    size_t to = from;
    for (int line = 0; line < 1500; ++line) to = whole.find('\n', to) + 1;
    EXPECT_EQ(fileText(span), header + whole.substr(from, to - from));
    ASSERT_EQ(saveSpanCsv(*r, 0, r->size(), span), "");
    EXPECT_EQ(fileText(span), whole);

    // A file changed since it was read is never copied from; what was saved stays.
    std::ofstream(path, std::ios::app) << "x";
    EXPECT_EQ(saveSpanCsv(*r, 0, 10, span),
              "the recording's file has changed since it was opened: open it again");
    EXPECT_EQ(fileText(span), whole);
    EXPECT_EQ(saveSpanCsv(*r, 0, 10, path), path + " is the recording itself");
    EXPECT_EQ(saveSpanCsv(*r, 0, 10, dir.path().toStdString()),
              dir.path().toStdString() + " is a directory");

    // A raw log's span: numbered records in the columns the reader takes back.
    const std::string raw = dir.filePath("run.log").toStdString();
    std::ofstream(raw, std::ios::binary) << " 100\r\r\n9999\r\r\n4095\r\r\n";
    const auto log = readRecording(raw).recording;
    ASSERT_TRUE(log);
    ASSERT_EQ(saveSpanCsv(*log, 0, 2, span), "");
    EXPECT_EQ(fileText(span), "record,counts,level\r\n1,100,0.0488\r\n3,4095,2.0000\r\n");
    const auto back = readRecording(span).recording;
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->numbered);
    EXPECT_EQ(back->gaugeLength, 2.0);
}

}  // namespace

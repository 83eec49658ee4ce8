// Reading recorded runs: every version of this tool's CSV columns (one value, two values,
// the stretch column after a reconnect, records numbered from a raw log's span), raw logs
// as the window and the command line write them, files cut off mid-line, and every refusal
// with its exact line.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

#include "link/live_record.h"
#include "link/record_csv.h"
#include "recording/recording_reader.h"
#include "tests/harness/recording_files.h"

namespace {

class RecordingFiles : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The recording in `text`, which must be read.
    std::unique_ptr<Recording> read(const std::string& text) {
        RecordingRead r = readRecording(write("recording", text));
        EXPECT_TRUE(r.recording) << r.refusal.reason;
        return std::move(r.recording);
    }
    // Why the file in `text` is refused, as the window and the command line say it.
    std::string refusal(const std::string& text) {
        const std::string path = write("refused.csv", text);
        const RecordingRead r = readRecording(path);
        EXPECT_FALSE(r.recording);
        return recordingProblem("refused.csv", r.refusal);
    }
    QTemporaryDir dir;
};

TEST_F(RecordingFiles, EveryVersionOfTheCsvColumnsReads) {
    // One value, CR LF as the window stores it, in blocks far smaller than the file.
    MadeRecording made;
    made.seconds = 30;
    const std::string path = write("one.csv", "");
    long long written = 0;
    ASSERT_TRUE(writeCsvRecording(path, made, &written));
    RecordingReader reader(path);
    int slices = 0;
    while (reader.readMore(4096)) ++slices;
    EXPECT_GT(slices, 10);
    auto one = reader.take();
    ASSERT_TRUE(one);
    EXPECT_EQ(static_cast<long long>(one->size()), written);
    EXPECT_EQ(one->kind, RecordingKind::Csv);
    EXPECT_FALSE(one->twoValues || one->hasStretches || one->numbered);
    EXPECT_EQ(one->header, "time_iso,elapsed_s,counts,level");
    EXPECT_TRUE(one->crLf);
    EXPECT_DOUBLE_EQ(one->timeOf(192), 1.0);
    EXPECT_DOUBLE_EQ(one->startWallTime, 1796738700);
    EXPECT_EQ(one->gaugeLength, 2.0);
    EXPECT_EQ(one->lengthSource, GaugeLengthSource::File);
    EXPECT_EQ(one->stretchStarts, std::vector<size_t>{0});
    EXPECT_TRUE(one->notes.empty());

    // Two values and the stretch column, a gap of a minute: two stretches.
    made.twoValues = made.stretches = true;
    made.seconds = 180;
    made.gaugeLength = 7.5;
    made.gaps = {{60, 60}};
    const std::string both = write("two.csv", "");
    ASSERT_TRUE(writeCsvRecording(both, made));
    const auto two = readRecording(both).recording;
    ASSERT_TRUE(two);
    EXPECT_TRUE(two->twoValues && two->hasStretches);
    EXPECT_EQ(two->header, "time_iso,elapsed_s,counts,level,counts2,value2,stretch");
    EXPECT_EQ(two->stretchStarts, (std::vector<size_t>{0, 60 * 192}));
    EXPECT_EQ(two->stretchNames, (std::vector<long long>{1, 2}));
    EXPECT_DOUBLE_EQ(two->timeOf(60 * 192), 120.0);
    EXPECT_EQ(two->gaugeLength, 7.5);
    EXPECT_EQ(two->counts2[5], 5);

    // Columns in another order, LF line ends, and records numbered instead of timed.
    const auto numbered = read("counts,level,record\n4095,2.5000,1\n0,0.0000,3\n");
    EXPECT_TRUE(numbered->numbered);
    EXPECT_EQ(numbered->size(), 2u);
    EXPECT_DOUBLE_EQ(numbered->timeOf(1), 3);
    EXPECT_EQ(numbered->gaugeLength, 2.5);
}

TEST_F(RecordingFiles, RawLogsAreNumberedAndKeepTheirRecordsOutOfStep) {
    // As the window stores them (the record's CR, then CR LF), with a value off the scale
    // and one that is no number: both out of step, both numbered.
    const auto raw = read(" 100\r\r\n4095\r\r\n9999\r\r\n12a4\r\r\n   0\r\r\n");
    EXPECT_EQ(raw->kind, RecordingKind::RawLog);
    EXPECT_TRUE(raw->numbered);
    EXPECT_EQ(raw->size(), 3u);
    EXPECT_EQ(raw->recordLines, 5u);
    EXPECT_DOUBLE_EQ(raw->timeOf(2), 5);
    EXPECT_EQ(raw->counts[1], 4095);
    EXPECT_EQ(raw->lengthSource, GaugeLengthSource::Default);
    EXPECT_EQ(raw->notes, std::vector<std::string>{"no times in a raw log: records are numbered"});

    // Two values as the command line writes them to standard output (LF alone).
    const auto two = read(" 100,  328\r\n 200,  330\r\n");
    EXPECT_TRUE(two->twoValues);
    EXPECT_FLOAT_EQ(two->secondValue(0), 20.5f);
}

TEST_F(RecordingFiles, AFileCutOffMidLineKeepsEveryWholeLine) {
    const std::string csv = csvText({{0.0, 100}, {0.5, 200}, {1.0, 300}});
    const auto cut = read(csv.substr(0, csv.size() - 9));
    EXPECT_EQ(cut->size(), 2u);
    EXPECT_EQ(cut->notes, std::vector<std::string>{
                              "line 4 has no line end (the file was cut off there) and was not "
                              "read"});
    const auto raw = read(" 100\r\r\n 2");
    EXPECT_EQ(raw->size(), 1u);
    EXPECT_EQ(raw->notes.back(),
              "line 2 has no line end (the file was cut off there) and was not read");
}

TEST_F(RecordingFiles, EveryRefusalNamesItsLineAndReason) {
    const std::string header = "time_iso,elapsed_s,counts,level\n";
    const std::string row = "2026-12-08T14:05:00.000Z,0.000,100,0.0488\n";
    const struct {
        std::string text, problem;
    } cases[] = {
        {"", "cannot read refused.csv: it is empty"},
        {"\n\n", "refused.csv, line 1: not a recording: it holds nothing but empty lines"},
        {"abc", "refused.csv, line 1: not a recording: it holds no whole line"},
        {"hello world\n",
         "refused.csv, line 1: not a recording: \"hello world\" is neither the header of this "
         "tool's CSV (time_iso,elapsed_s,counts,level…) nor a record of a raw log"},
        {"time,level\n",
         "refused.csv, line 1: the column \"time\" is not one of this tool's CSV (time_iso, "
         "elapsed_s, counts, level, counts2, value2, stretch, record)"},
        {"time_iso,counts,level,counts\n",
         "refused.csv, line 1: the column \"counts\" is named twice"},
        {"time_iso,elapsed_s,counts\n", "refused.csv, line 1: the column \"level\" is missing"},
        {"time_iso,elapsed_s,counts,level,counts2\n",
         "refused.csv, line 1: the column \"value2\" is missing"},
        {header + row + "2026-12-08T14:05:00.000Z,0.000,100\n",
         "refused.csv, line 3: 3 values where the header names 4 columns"},
        {header + "2026-12-08T14:05:00.000Z,0.000,5000,0.0488\n",
         "refused.csv, line 2: counts \"5000\" is not a count from 0 to 4095"},
        {header + "2026-12-08 14:05:00,0.000,100,0.0488\n",
         "refused.csv, line 2: time_iso \"2026-12-08 14:05:00\" is not a time like "
         "2026-12-08T14:05:00.125Z"},
        {header + "2026-02-30T14:05:00.000Z,0.000,100,0.0488\n",
         "refused.csv, line 2: time_iso \"2026-02-30T14:05:00.000Z\" is not a time that exists"},
        {header + "2026-12-08T14:05:00.000Z,-1,100,0.0488\n",
         "refused.csv, line 2: elapsed_s \"-1\" is not a number of seconds"},
        {header + "2026-12-08T14:05:00.000Z,2.000,100,0.0488\n" + row,
         "refused.csv, line 3: elapsed_s goes back from the line before"},
        {header + "2026-12-08T14:05:00.000Z,0.000,100,x\n",
         "refused.csv, line 2: level \"x\" is not a number"},
        {"counts,level,stretch\n", "refused.csv, line 1: the column \"time_iso\" is missing"},
        {"counts,level,record,stretch\n1,0.0005,1,0\n",
         "refused.csv, line 2: stretch \"0\" is not a stretch number (1, 2, …)"},
        {header + std::string(300, '1') + "\n",
         "refused.csv, line 2: the line is longer than any line of this tool's CSV or raw log"},
        {" 100\r\r\n 100,  328\r\r\n",
         "refused.csv, line 2: a record of 11 characters among records of 5"},
        {" 100\r\r\n10\r\r\n",
         "refused.csv, line 2: \"10\\x0D\\x0D\" is not a record of 5 or 11 characters"},
        {"99999\r\n-0001\r\n",
         "refused.csv, line 1: none of its 2 records is a reading (a count "
         "from 0 to 4095)"},
    };
    for (const auto& c : cases) EXPECT_EQ(refusal(c.text), c.problem) << c.text;

    EXPECT_EQ(recordingProblem("x", readRecording(write("", "") + "/absent").refusal),
              "cannot read x: there is no such file");
    EXPECT_EQ(recordingProblem("x", readRecording(dir.path().toStdString()).refusal),
              "cannot read x: it is a directory");
}

}  // namespace

namespace {

// The live log's CSV line prints its numbers as "%.3f" and "%.4f" would, its stretch last, halfway
// cases, negative values and the widest floats included, and times to the millisecond in UTC.
TEST(CsvLine, PrintsEveryNumberAsPrintfsFixedNotationWould) {
    const float values[] = {0.0f, 0.00005f, 0.12345f, -0.00004f, -1.5f, 4095.0f, 3.4e38f};
    for (const float value : values) {
        LiveRecord record;
        record.counts = -7;
        record.plotted = value;
        record.hasSecond = true;
        record.counts2 = 4095;
        record.second = -value;
        char expected[256];
        std::snprintf(expected, sizeof expected,
                      "2026-12-08T14:05:00.%03dZ,%.3f,-7,%.4f,4095,%.4f,3\n", 5, 1234.0005,
                      static_cast<double>(value), static_cast<double>(-value));
        EXPECT_EQ(csvLine(record, 1234.0005, 1796738700.005, 3), expected) << value;
    }
    LiveRecord one;
    one.counts = 194;
    one.plotted = 0.47369f;
    EXPECT_EQ(csvLine(one, 0.0, 1796738700.9996, 1),
              "2026-12-08T14:05:01.000Z,0.000,194,0.4737,1\n");
    // 1.0625 s is a tie at three decimals: both round it to the even digit.
    EXPECT_EQ(csvLine(one, 1.0625, 1796738700.0, 12),
              "2026-12-08T14:05:00.000Z,1.062,194,0.4737,12\n");

    // Times and levels of every size a run gives, ties and near-ties among them.
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> magnitude(-6, 10);
    for (int i = 0; i < 20000; ++i) {
        double elapsed = unit(random) * std::pow(10.0, magnitude(random));
        if (i % 4 == 0)  // a half of the last printed decimal, or next to one
            elapsed = (std::round(elapsed * 1000) + 0.5) / 1000 + (i % 8 == 0 ? 0 : 1e-12);
        one.plotted = static_cast<float>(unit(random) * std::pow(10.0, magnitude(random)));
        char expected[512];
        std::snprintf(expected, sizeof expected, "2026-12-08T14:05:00.000Z,%.3f,194,%.4f,1\n",
                      elapsed, static_cast<double>(one.plotted));
        ASSERT_EQ(csvLine(one, elapsed, 1796738700.0, 1), expected) << i;
    }
}

}  // namespace

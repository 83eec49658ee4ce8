// Records that are no readings, and logs whose file goes away during a run.
#include <algorithm>

#include "link/record_stream.h"
#include "tests/live_scenario.h"
#include "toolkit/panels/shell.h"

namespace {

class LiveRecords : public LiveScenario {};

TEST_F(LiveRecords, GarbageIsCountedKeptInTheRawLogAndNeitherPlottedNorInTheCsv) {
    instrument.block()[24] = 20;
    const std::string record = oneValueRecord();
    instrument.faults().recordTexts = {{20, "12a4\r"}, {40, "9999\r"}, {60, "-001\r"}};
    chooseLog(logPath("run.log"));
    runFor(1.0);

    EXPECT_EQ(liveRecordsBroken, 3u);
    ASSERT_GT(liveRecordsShown, 150u);
    const std::string readings = repeated(record + "\r\n", liveRecordsShown - 57);
    EXPECT_EQ(fileBytes(logPath("run.log")),
              repeated(record + "\r\n", 19) + "12a4\r\r\n" + repeated(record + "\r\n", 19) +
                  "9999\r\r\n" + repeated(record + "\r\n", 19) + "-001\r\r\n" + readings);
    const auto csv = lines(fileBytes(logPath("run.csv")));
    ASSERT_EQ(csv.size(), liveRecordsShown + 1);
    const std::string counts = "," + std::to_string(instrument.reportedCounts()) + ",";
    EXPECT_TRUE(std::all_of(csv.begin() + 1, csv.end(), [&](const std::string& row) {
        return row.find(counts) != std::string::npos;
    }));
    const auto plotted = points();
    ASSERT_EQ(plotted.size(), liveRecordsShown);
    EXPECT_TRUE(std::all_of(plotted.begin(), plotted.end(),
                            [&](double p) { return p == plotted.front(); }));
    EXPECT_EQ(ShellStatusField(StatusField::Records),
              std::to_string(liveRecordsShown) + " records, 3 out of step");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"records out of step, skipped in this run: 3"});
}

TEST_F(LiveRecords, WithTwoValuesEachMustBeAReading) {
    instrument.block()[42] = kRs232Data | kSecondChannel;
    instrument.faults().recordTexts = {
        {10, "1234, 12a4\r"}, {20, "99999, 328\r"}, {30, "1234,  328\r"}};
    chooseLog(logPath("two.log"));
    runFor(0.5);
    EXPECT_EQ(liveRecordsBroken, 2u);
    EXPECT_EQ(lines(fileBytes(logPath("two.csv"))).size(), liveRecordsShown + 1);
    EXPECT_EQ(points().size(), liveRecordsShown);
}

TEST(RecordValues, AReadingIsADecimalCountFrom0To4095AfterItsBlanks) {
    RecordValues values;
    for (const char* reading : {" 123\r", "4095\r", "0000\r", "   0\n", "  123"})
        EXPECT_TRUE(readRecordValues(reading, 5, values)) << reading;
    for (const char* garbage :
         {"4096\r", "12a4\r", "-001\r", "+123\r", "12 3\r", "    \r", "12345", "\0\0\0\0\r"}) {
        EXPECT_FALSE(readRecordValues(garbage, 5, values)) << garbage;
    }
    ASSERT_TRUE(readRecordValues("1234,  328\r", 11, values));
    EXPECT_EQ(values.counts, 1234);
    EXPECT_EQ(values.counts2, 328);
    for (const char* garbage : {"1234, 4096\r", "123456 328\r", "1234, 32 8\r", "1234;  328\r"})
        EXPECT_FALSE(readRecordValues(garbage, 11, values)) << garbage;
}

}  // namespace

namespace {

class TakeReadingRecords : public ToolFixture {};

TEST_F(TakeReadingRecords, AveragesReadingsOnlyWhateverElseComes) {
    instrument.setDrift(0);
    instrument.setLevel(0.1);
    for (int record = 5; record <= 500; record += 5)
        instrument.faults().recordTexts[record] = "9999\r";
    connect();
    openFromMain(MAIN_CALIBRATE);
    press(CAL_TAKE_A);
    float reading = -1;
    GetCtrlVal(currentPanel, CAL_READING_A, &reading);
    EXPECT_EQ(reading, static_cast<float>(instrument.reportedCounts()));
}

}  // namespace

// The descriptors a log holds, as Linux lists them in /proc/self/fd: choosing another file
// closes the older one, and the end of a run closes the log.
#include <filesystem>
#include <string>

#include "tests/live_scenario.h"

namespace {

size_t openDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

class LiveLogDescriptors : public LiveScenario {};

TEST_F(LiveLogDescriptors, ChoosingAnotherFileClosesTheOlderOne) {
    SetCtrlVal(livePanel, LIVE_CSV, 0);  // the raw logs alone
    const size_t before = openDescriptors();
    const std::string first = logPath("first.log"), second = logPath("second.log");
    chooseLog(first);
    chooseLog(second);
    EXPECT_EQ(openDescriptors(), before + 1);
    EXPECT_EQ(std::string(logFilePath), second);

    runFor(0.5);
    EXPECT_EQ(fileBytes(first), "");
    EXPECT_EQ(fileBytes(second), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace

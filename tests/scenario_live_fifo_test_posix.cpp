// A FIFO chosen as the log, which only POSIX systems make: refused before anything is
// written, so no write can block the window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/live_scenario.h"

namespace {

TEST_F(LiveScenario, AFifoIsRefusedAsALogSoNoWriteCanBlockTheWindow) {
    const std::string fifo = logPath("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    chooseLog(fifo);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"log file not opened: " + fifo + " is a FIFO"});
    EXPECT_EQ(logFileOpen, 0);
    runFor(0.3);
    EXPECT_GT(liveRecordsShown, 10u);
}

}  // namespace

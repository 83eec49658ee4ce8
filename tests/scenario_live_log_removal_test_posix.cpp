// Logs whose file or folder goes away during a run. Only POSIX systems let an open file
// be deleted; Windows refuses while the run holds it.
#include <filesystem>

#include "tests/live_scenario.h"

namespace {

class LiveLogRemoved : public LiveScenario {};

TEST_F(LiveLogRemoved, ALogWhoseFolderIsRemovedEndsLoggingWithOneLineAndTheRunGoesOn) {
    std::filesystem::create_directories(logDir / "sub");
    const std::string path = (logDir / "sub" / "run.log").string();
    chooseLog(path);
    clock.schedule(clock.now() + kStartExchange + 0.3,
                   [this] { std::filesystem::remove_all(logDir / "sub"); });
    runFor(1.0);
    EXPECT_EQ(messageLines(), std::vector<std::string>{
                                  "log file " + path +
                                  " is gone with its folder: logging stopped, the run goes on"});
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_EQ(csvFileOpen, 0);
    EXPECT_GT(liveRecordsShown, 150u);
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveLogRemoved, ALogFileDeletedDuringARunEndsLoggingWithOneLine) {
    const std::string path = logPath("run.log");
    chooseLog(path);
    clock.schedule(clock.now() + kStartExchange + 0.3, [path] { std::filesystem::remove(path); });
    runFor(1.0);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"log file " + path +
                                       " was deleted: logging stopped, the run goes on"});
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_GT(liveRecordsShown, 150u);
}

}  // namespace

// The settings history with a FIFO where its file should be, which only POSIX systems
// make: neither read nor written, and nothing waits for it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <atomic>
#include <csignal>
#include <thread>

#include "settings/history_page.h"
#include "tests/history_files_scenario.h"

namespace {

// Should an open block after all, the other end of the FIFO is opened after two seconds, so
// the test fails on its time instead of hanging; a write then meets no reader and fails.
class FifoUnblocker {
  public:
    explicit FifoUnblocker(std::string path) : path_(std::move(path)) {
        previous_ = std::signal(SIGPIPE, SIG_IGN);
        thread_ = std::thread([this] {
            for (int i = 0; i < 200 && !done_; ++i) usleep(10000);
            if (!done_)
                ::close(::open(path_.c_str(), O_RDWR | O_NONBLOCK));
        });
    }
    ~FifoUnblocker() {
        done_ = true;
        thread_.join();
        std::signal(SIGPIPE, previous_);
    }

  private:
    std::string path_;
    std::atomic<bool> done_{false};
    std::thread thread_;
    void (*previous_)(int) = nullptr;
};

TEST_F(HistoryFiles, AFifoIsNeitherReadNorWrittenAndNothingWaitsForIt) {
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0);
    FifoUnblocker unblocker(path());
    QElapsedTimer timer;
    timer.start();
    HistoryPage page;
    EXPECT_EQ(page.note(),
              QString::fromStdString("settings history not read: " + path() + " is a FIFO"));
    popups.confirmAnswer = 0;
    clearWire();
    writeByte7(99);
    EXPECT_LT(timer.elapsed(), 1000);
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].text,
              "The settings history cannot keep the block being replaced (" + path() +
                  " is a FIFO). Write anyway?");
    EXPECT_EQ(wire().find('w'), std::string::npos);
    EXPECT_EQ(instrument.block()[7], 230);
}

}  // namespace

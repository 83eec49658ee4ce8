// Connect on a device that another open already holds, reached through a link as
// /dev/serial/by-id does: the window keeps its "error code = %d" line, says below it who
// holds the device, and nothing reaches the line.
#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"

namespace {

class ConnectToAHeldDevice : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        SetSerialBackend(nullptr);
        char name[256] = {};
        ASSERT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
        device_ = name;
        link_ = links_.filePath("by-id-quorvel");
        ASSERT_TRUE(QFile::link(QString::fromUtf8(name), link_));
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
        qputenv("QUORVEL_COM2", link_.toUtf8());
    }
    void TearDown() override {
        qunsetenv("QUORVEL_COM2");
        CloseCom(1);
        CloseCom(2);
        ::close(slave_);
        ::close(master_);
        ToolFixture::TearDown();
    }
    // The system's name of this program, which the forked holder shares.
    static std::string programName() {
        std::string name;
        std::getline(std::ifstream("/proc/self/comm"), name);
        return name;
    }
    // Nothing at all came out of the line's far end.
    bool lineSilent() const {
        char c = 0;
        return ::read(master_, &c, 1) < 0;
    }

    int master_ = -1, slave_ = -1;
    std::string device_;
    QTemporaryDir links_;
    QString link_;
};

TEST_F(ConnectToAHeldDevice, AnotherProgramIsNamedBelowTheErrorCode) {
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t other = ::fork();
    if (other == 0) {
        const int held = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const char taken = held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        char wait = 0;
        const bool told = ::write(ready[1], &taken, 1) == 1;
        ::_exit(told && ::read(done[0], &wait, 1) == 1 ? 0 : 1);
    }
    char taken = 0;
    ASSERT_EQ(::read(ready[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');

    connect(2);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -6"});
    EXPECT_EQ(ShellMessageHint(), "The port cannot be opened: its device is in use by " +
                                      programName() + " (process " + std::to_string(other) +
                                      "). Close that program, then press Connect again.");
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(lineSilent());
    ASSERT_EQ(::write(done[1], "x", 1), 1);
    ::waitpid(other, nullptr, 0);
    for (const int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);

    clearMessages();
    ASSERT_EQ(OpenComConfig(2, "COM2", 9600, 0, 8, 1, 512, 512), 0);  // the lock went with it
}

TEST_F(ConnectToAHeldDevice, ThisWindowsOtherPortIsNamedAsSuch) {
    ASSERT_EQ(OpenComConfig(1, device_.c_str(), 9600, 0, 8, 1, 512, 512), 0);
    connect(2);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -6"});
    EXPECT_EQ(ShellMessageHint(),
              "The port cannot be opened: this window already has its device open through "
              "another port number. Choose that port and press Connect.");
    EXPECT_TRUE(lineSilent());
    CloseCom(1);
    EXPECT_EQ(OpenComConfig(2, "COM2", 9600, 0, 8, 1, 512, 512), 0);
}

}  // namespace

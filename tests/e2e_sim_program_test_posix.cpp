// quorvel-sim in real time over its pseudo-terminal: started, opened like a serial port,
// asked to identify itself and for its block, closed and reopened, woken, stopped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

double seconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Reads until `count` characters or `timeout` seconds, whichever comes first.
std::string readSome(int fd, size_t count, double timeout) {
    std::string got;
    const double end = seconds() + timeout;
    while (got.size() < count) {
        const double left = end - seconds();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0)
            break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

class SimProgram {
  public:
    explicit SimProgram(std::vector<std::string> args) {
        int out[2], in[2], err[2];
        if (pipe(out) != 0 || pipe(in) != 0 || pipe(err) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        args.insert(args.begin(), QUORVEL_SIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, QUORVEL_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(in[0]);
        close(err[1]);
        stderr_ = err[0];
        stdout_ = out[0];
        stdin_ = in[1];
        // The first line is the terminal's path.
        for (std::string c; (c = readSome(stdout_, 1, 5.0)) != "" && c != "\n";) path_ += c;
    }
    ~SimProgram() {
        if (pid_ > 0 && !stopped_)
            stop();
        close(stdout_);
        close(stdin_);
        close(stderr_);
    }

    const std::string& path() const { return path_; }
    void pressButton() { ASSERT_EQ(write(stdin_, "\n", 1), 1); }
    // SIGTERM; returns the exit status.
    int stop() {
        stopped_ = true;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Everything the program wrote on stderr; complete once it has stopped.
    std::string errors() { return readSome(stderr_, 65536, 0.5); }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1, stdin_ = -1, stderr_ = -1;
    bool stopped_ = false;
    std::string path_;
};

int openRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, B9600);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

TEST(SimProgramE2E, IdentifiesAndServesTheBlockAcrossAReopen) {
    const std::string link = "/tmp/quorvel-sim-e2e-" + std::to_string(getpid());
    SimProgram sim({"--link", link, "--serial", "QV-E2E-0000001"});
    ASSERT_FALSE(sim.path().empty());
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(sim.path(), target);

    int fd = openRaw(link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "i", 1), 1);
    EXPECT_EQ(readSome(fd, 20, 2.0), "<I>OKQV-E2E-0000001\r");
    close(fd);

    // The tool closes and reopens its port: the terminal keeps serving.
    fd = openRaw(sim.path());
    ASSERT_GE(fd, 0);
    const double sent = seconds();
    ASSERT_EQ(write(fd, "r", 1), 1);
    const std::string block = readSome(fd, 136, 2.0);
    const double took = seconds() - sent;
    ASSERT_EQ(block.size(), 136u);
    EXPECT_EQ(block.substr(0, 11), "<R>OK00,DF,");
    // 136 characters at 9600 baud take 0.14 s on the wire.
    EXPECT_GT(took, 0.12);
    close(fd);

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(access(link.c_str(), F_OK), -1);
}

TEST(SimProgramE2E, AsleepUntilTheOperatorPressesTheButton) {
    SimProgram sim({"--asleep"});
    ASSERT_FALSE(sim.path().empty());
    const int fd = openRaw(sim.path());
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "i", 1), 1);
    EXPECT_EQ(readSome(fd, 5, 0.3), "");
    sim.pressButton();
    usleep(100000);
    ASSERT_EQ(write(fd, "i", 1), 1);
    EXPECT_EQ(readSome(fd, 5, 2.0), "<I>OK");
    close(fd);
}

TEST(SimProgramE2E, ReportsTheLiveRecordsItSentWhenStopped) {
    SimProgram sim({"--rate", "100"});
    ASSERT_FALSE(sim.path().empty());
    const int fd = openRaw(sim.path());
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "g", 1), 1);
    ASSERT_EQ(readSome(fd, 5, 2.0), "<G>OK");
    std::string records = readSome(fd, 65536, 0.3);
    ASSERT_EQ(write(fd, "st", 2), 2);
    records += readSome(fd, 65536, 0.3);
    close(fd);
    ASSERT_EQ(sim.stop(), 0);

    ASSERT_GT(records.size(), 0u);
    EXPECT_EQ(records.size() % 5, 0u);
    const std::string report = "quorvel-sim: records sent: " + std::to_string(records.size() / 5);
    const std::string errors = sim.errors();
    EXPECT_NE(errors.find(report + "\n"), std::string::npos) << errors;
}

}  // namespace

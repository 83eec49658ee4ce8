// The real-time loop of quorvel-sim: poll, feed, write, sleep.
#include "sim/program/server.h"

#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

volatile sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
    stopRequested = 1;
}

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

timespec toTimespec(double seconds) {
    seconds = std::max(seconds, 0.0);
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
    return ts;
}

class Server {
  public:
    Server(sim::Instrument& instrument, PtyPort& port, double hangUpAfter, std::FILE* sentTo)
        : instrument_(instrument),
          port_(port),
          start_(monotonicSeconds()),
          hangUpAt_(hangUpAfter >= 0 ? hangUpAfter : kNever),
          sentTo_(sentTo) {}

    int run(const sigset_t& waitMask) {
        while (!stopRequested) {
            if (hangUpRequested_ || now() >= hangUpAt_) {
                port_.hangUp();
                std::fprintf(stderr, "quorvel-sim: hung up the line\n");
                return 0;
            }
            sendDue(now());
            pollfd fds[2] = {{port_.masterFd(), POLLIN, 0}, {0, POLLIN, 0}};
            const nfds_t count = stdinOpen_ ? 2 : 1;
            // A pause after a hang-up keeps a vanished peer from turning the loop into a spin.
            const double wait =
                hungUp_ ? 0.05
                        : std::min({1.0, instrument_.nextOutputTime() - now(), hangUpAt_ - now()});
            const timespec timeout = toTimespec(wait);
            hungUp_ = false;
            if (ppoll(fds, count, &timeout, &waitMask) < 0) {
                if (errno == EINTR)
                    continue;
                std::perror("quorvel-sim: ppoll");
                return 1;
            }
            if (fds[0].revents & POLLIN) {
                readLine();
            } else if (fds[0].revents & (POLLHUP | POLLERR)) {
                hungUp_ = true;
            }
            if (count > 1 && (fds[1].revents & (POLLIN | POLLHUP)))
                readOperator();
        }
        return 0;
    }

  private:
    double now() const { return monotonicSeconds() - start_; }

    void sendDue(double time) {
        out_.clear();
        instrument_.advanceTo(time, out_);
        if (out_.empty())
            return;
        std::string bytes;
        for (const auto& b : out_) bytes += static_cast<char>(b.byte);
        // Non-blocking: what the terminal cannot take (nobody reading) is lost.
        const ssize_t written = write(port_.masterFd(), bytes.data(), bytes.size());
        if (written < 0 && errno != EAGAIN) {
            hungUp_ = true;
        }
        if (sentTo_ && written > 0) {
            std::fwrite(bytes.data(), 1, static_cast<size_t>(written), sentTo_);
            std::fflush(sentTo_);
        }
    }

    void readLine() {
        unsigned char buffer[256];
        const ssize_t n = read(port_.masterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            hungUp_ = n == 0 || errno == EIO;
            return;
        }
        const double time = now();
        for (ssize_t i = 0; i < n; ++i) {
            sendDue(time);
            instrument_.receive(buffer[i], time);
        }
    }

    // Enter, or "b" and Enter, presses the instrument's button; "h" and Enter hangs up.
    void readOperator() {
        char buffer[256];
        const ssize_t n = read(0, buffer, sizeof buffer);
        if (n <= 0) {
            stdinOpen_ = false;  // no operator; keep serving
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\n') {
                typed_ += buffer[i];
                continue;
            }
            if (typed_.empty() || typed_ == "b" || typed_ == "B") {
                instrument_.pressButton();
                std::fprintf(stderr, "quorvel-sim: button pressed, the instrument is awake\n");
            } else if (typed_ == "h" || typed_ == "H") {
                hangUpRequested_ = true;
            }
            typed_.clear();
        }
    }

    static constexpr double kNever = 1e300;

    sim::Instrument& instrument_;
    PtyPort& port_;
    const double start_;
    const double hangUpAt_;  // seconds after the start
    bool hangUpRequested_ = false;
    std::vector<sim::TimedByte> out_;
    std::string typed_;
    bool stdinOpen_ = true;
    bool hungUp_ = false;
    std::FILE* sentTo_;
};

}  // namespace

int serve(sim::Instrument& instrument, PtyPort& port, double hangUpAfter, std::FILE* sentTo) {
    // The stop signals are blocked except inside ppoll, so none is lost between checks.
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGHUP);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    Server server(instrument, port, hangUpAfter, sentTo);
    return server.run(waitMask);
}

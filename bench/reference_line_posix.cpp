#include "bench/reference_line.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "bench/bench_support.h"

bool ReferenceLine::open() {
    close();
    fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return false;
    termios settings{};
    if (tcgetattr(fd_, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetspeed(&settings, B9600);
        settings.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd_, TCSANOW, &settings);
    }
    flush();
    return true;
}

void ReferenceLine::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void ReferenceLine::pause(double seconds) {
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(seconds);
    wait.tv_nsec = static_cast<long>((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
    while (nanosleep(&wait, &wait) != 0) {
    }
}

void ReferenceLine::flush() {
    tcflush(fd_, TCIFLUSH);
    tcflush(fd_, TCOFLUSH);
}

void ReferenceLine::send(char byte) {
    send(std::string(1, byte));
}

void ReferenceLine::send(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else {
            pollfd p{fd_, POLLOUT, 0};
            poll(&p, 1, 10);
        }
    }
    tcdrain(fd_);
}

std::string ReferenceLine::read(int count, double timeoutSeconds) {
    std::string got;
    const double end = monotonicSeconds() + timeoutSeconds;
    while (static_cast<int>(got.size()) < count) {
        const double left = end - monotonicSeconds();
        if (left <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0)
            continue;
        char buffer[256];
        const size_t want = std::min(sizeof buffer, static_cast<size_t>(count) - got.size());
        const ssize_t n = ::read(fd_, buffer, want);
        if (n > 0)
            got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

bool ReferenceLine::expect(const std::string& ack, char letter) {
    if (ack.size() < 2 || ack[1] != letter)
        healthy_ = false;
    return healthy_;
}

std::string blockWriteForm(const std::string& blockText) {
    std::string text = blockText.substr(0, 129);
    text.resize(129, ',');
    int sum = 0;
    auto digit = [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c))
                   ? std::stoi(std::string(1, c), nullptr, 16)
                   : 0;
    };
    for (int i = 0; i < 43; ++i) sum += 16 * digit(text[3 * i]) + digit(text[3 * i + 1]);
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02x", sum & 0xFF);
    text += checksum;
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

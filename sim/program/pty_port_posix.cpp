// Opening the pseudo-terminal pair in raw mode and keeping it alive between tool sessions.
#include "sim/program/pty_port.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

PtyPort::PtyPort() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        fail("posix_openpt");
        return;
    }
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname(master) == nullptr) {
        fail("grantpt/unlockpt");
        close(master);
        return;
    }
    slavePath_ = ptsname(master);
    heldSlave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (heldSlave_ < 0) {
        fail("open " + slavePath_);
        close(master);
        return;
    }
    termios raw{};
    if (tcgetattr(heldSlave_, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(heldSlave_, TCSANOW, &raw);
    }
    // Output nobody reads must never block the instrument: such bytes are lost, as on a
    // real line with nothing attached.
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
}

PtyPort::~PtyPort() {
    hangUp();
}

void PtyPort::hangUp() {
    if (!linkPath_.empty())
        unlink(linkPath_.c_str());
    linkPath_.clear();
    if (heldSlave_ >= 0)
        close(heldSlave_);
    heldSlave_ = -1;
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

bool PtyPort::link(const std::string& path) {
    unlink(path.c_str());
    if (symlink(slavePath_.c_str(), path.c_str()) != 0)
        return fail("symlink " + path);
    linkPath_ = path;
    return true;
}

bool PtyPort::fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    return false;
}

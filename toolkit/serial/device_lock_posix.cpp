// The device lock on POSIX systems: flock on a descriptor of the device, and who holds a
// device as Linux tells it in /proc (the flock table first, then every process's open
// files that this user may look at). Elsewhere the holder stays unknown.
#include "toolkit/serial/device_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "toolkit/serial/serial_line.h"

namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The process holding a flock on `device`'s inode, from /proc/locks; 0 when none is seen.
// A line reads "1: FLOCK  ADVISORY  WRITE 4242 00:05:1043 0 EOF" (the file system's
// device in hex, then the inode); "1: -> FLOCK ..." is a waiter, not a holder.
long flockHolder(const struct stat& device) {
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, advisory, mode, file;
        long pid = 0;
        if (!(fields >> number >> kind) || kind != "FLOCK")
            continue;
        if (!(fields >> advisory >> mode >> pid >> file) || pid <= 0)
            continue;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%lu", &major, &minor, &inode) == 3 &&
            major == ::major(device.st_dev) && minor == ::minor(device.st_dev) &&
            inode == device.st_ino)
            return pid;
    }
    return 0;
}

bool hasOpen(const std::string& process, const struct stat& device) {
    DIR* files = ::opendir(("/proc/" + process + "/fd").c_str());
    if (!files)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(files)) {
        struct stat st {};
        if (entry->d_name[0] != '.' &&
            ::stat(("/proc/" + process + "/fd/" + entry->d_name).c_str(), &st) == 0 &&
            sameFile(st, device)) {
            found = true;
            break;
        }
    }
    ::closedir(files);
    return found;
}

// Some process with `device` open among those whose files this user may see; 0 if none.
long openerOf(const struct stat& device) {
    DIR* processes = ::opendir("/proc");
    if (!processes)
        return 0;
    long pid = 0;
    while (const dirent* entry = ::readdir(processes)) {
        char* end = nullptr;
        const long number = std::strtol(entry->d_name, &end, 10);
        if (number > 0 && *end == '\0' && hasOpen(entry->d_name, device)) {
            pid = number;
            break;
        }
    }
    ::closedir(processes);
    return pid;
}

std::string programName(long pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? std::string("a program") : name;
}

}  // namespace

std::string resolvedDevicePath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    const std::string device = resolved ? resolved : path;
    std::free(resolved);
    return device;
}

DeviceLock::~DeviceLock() {
    if (held_ >= 0)
        ::close(static_cast<int>(held_));
}

bool DeviceLock::take(const std::string& device, OpenError& error) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
        return true;
    // Non-blocking: a terminal without carrier would otherwise hold the open.
    const int descriptor = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool taken = descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    // An open refused as busy is a terminal in another program's exclusive mode.
    const bool held = descriptor >= 0 ? !taken && errno == EWOULDBLOCK : errno == EBUSY;
    if (taken)
        held_ = descriptor;
    else if (descriptor >= 0)
        ::close(descriptor);
    if (!held)
        return true;  // no lock to be had here: the open goes on without it
    error.reason = ComOpenFailure::InUse;
    findDeviceHolder(device, error);
    return false;
}

void findDeviceHolder(const std::string& device, OpenError& error) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return;
    long pid = flockHolder(st);
    if (pid == 0)
        pid = openerOf(st);
    if (pid == 0)
        return;
    error.holder.here = pid == static_cast<long>(::getpid());
    error.holder.program = programName(pid) + " (process " + std::to_string(pid) + ")";
}

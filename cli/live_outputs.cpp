#include "cli/live_outputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/console.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"

namespace {

namespace fs = std::filesystem;

// Lines go out when this much has gathered or this long has passed, as in the window's log.
constexpr size_t kBatchBytes = 4096;
constexpr double kBatchSeconds = 0.1;
constexpr int kLongestLinkChain = 40;  // as the system gives up on a loop of links

bool isStandardOutput(const std::string& path) {
    return path.empty() || path == "-";
}

// Where a path leads: its symbolic links followed as far as they go, even to a file that
// is not there yet (which opening the link would create).
fs::path destination(const std::string& text) {
    std::error_code error;
    fs::path path = fs::absolute(text, error);
    for (int hop = 0; hop < kLongestLinkChain && fs::is_symlink(fs::symlink_status(path, error));
         ++hop) {
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    const fs::path resolved = fs::weakly_canonical(path, error);
    return (error || resolved.empty() ? path : resolved).lexically_normal();
}

std::string standardOutputProblem(int error) {
    if (error == EPIPE)
        return "standard output was closed by the program reading it";
    return std::string("standard output not written (") + std::strerror(error) + ")";
}

}  // namespace

bool LiveOutput::open(const std::string& path, Form form, std::string& problem) {
    path_ = path;
    form_ = form;
    if (isStandardOutput(path)) {
        if (!StandardOutputWritable()) {
            problem = "standard output is closed: nowhere to write the records";
            return false;
        }
        if (form == Form::Raw)
            SetStandardOutputBinary();
        return true;
    }
    const PathKind kind = GetPathKind(path.c_str());
    if (kind != PathKind::Absent && kind != PathKind::Regular) {
        problem = path + " is " + PathKindWords(kind) + ", not a regular file";
        return false;
    }
    handle_ = CVI_OpenFile(path.c_str(), VAL_WRITE_ONLY, VAL_TRUNCATE,
                           form == Form::Raw ? VAL_BINARY : VAL_ASCII);
    if (handle_ < 0) {
        problem = path + " cannot be opened (" + GetFileErrorText() + ")";
        return false;
    }
    return true;
}

void LiveOutput::add(const std::string& line) {
    if (!failed_)
        pending_ += line;
}

void LiveOutput::addRecord(const char* characters, size_t count) {
    if (failed_)
        return;
    pending_.append(characters, count);
    pending_ += "\r\n";
}

bool LiveOutput::write(bool now, std::string& problem) {
    const double at = CurrentClock().now();
    if (failed_ || pending_.empty() ||
        (!now && pending_.size() < kBatchBytes && at - written_ < kBatchSeconds))
        return true;
    written_ = at;
    const int size = static_cast<int>(pending_.size());
    if (handle_ >= 0) {
        failed_ = CVI_WriteFile(handle_, pending_.data(), size) != size;
        if (failed_)
            problem = path_ + " not written (" + GetFileErrorText() + ")";
    } else {
        errno = 0;
        failed_ = std::fwrite(pending_.data(), 1, pending_.size(), stdout) != pending_.size() ||
                  std::fflush(stdout) != 0;
        if (failed_) {
            problem = standardOutputProblem(errno);
            std::clearerr(stdout);
        }
    }
    pending_.clear();
    return !failed_;
}

bool LiveOutput::reopen(const std::string& path, std::string& problem) {
    close();
    pending_.clear();
    failed_ = !open(path, form_, problem);
    return !failed_;
}

void LiveOutput::close() {
    if (handle_ >= 0)
        CVI_CloseFile(handle_);
    handle_ = -1;
}

bool sameFile(const std::string& a, const std::string& b) {
    if (isStandardOutput(a) || isStandardOutput(b))
        return (isStandardOutput(a) || ReachesStandardOutput(a)) &&
               (isStandardOutput(b) || ReachesStandardOutput(b));
    std::error_code error;
    return fs::equivalent(a, b, error) || destination(a) == destination(b);
}

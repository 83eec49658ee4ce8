// Data files by handle: a small table of open std::FILE streams. In ASCII mode every
// line feed is stored as CR LF, as the log file's readers expect on every platform.
#include "toolkit/platform/files.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

struct OpenFile {
    std::FILE* stream = nullptr;
    bool ascii = false;
};

constexpr int kMaxOpenFiles = 64;
std::array<OpenFile, kMaxOpenFiles> openFiles;

OpenFile* fileFor(int handle) {
    if (handle < 0 || handle >= kMaxOpenFiles || !openFiles[handle].stream)
        return nullptr;
    return &openFiles[handle];
}

// Follows symbolic links; a path that cannot be examined is not a directory.
bool isDirectory(const char* path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// Opens the stream for the access and action asked; nullptr on failure.
std::FILE* openStream(const char* path, int readWrite, int action) {
    if (readWrite == VAL_READ_ONLY)
        return std::fopen(path, "rb");
    if (action == VAL_TRUNCATE)
        return std::fopen(path, readWrite == VAL_WRITE_ONLY ? "wb" : "w+b");
    if (action == VAL_APPEND)
        return std::fopen(path, readWrite == VAL_WRITE_ONLY ? "ab" : "a+b");
    // As is: keep the content and start at the first byte; create a missing file.
    std::FILE* stream = std::fopen(path, "r+b");
    if (!stream && errno == ENOENT)
        stream = std::fopen(path, "w+b");
    return stream;
}

}  // namespace

int CVI_OpenFile(const char* path, int readWrite, int action, int fileType) {
    if (!path || !*path || readWrite < VAL_READ_WRITE || readWrite > VAL_WRITE_ONLY ||
        action < VAL_TRUNCATE || action > VAL_OPEN_AS_IS || isDirectory(path))
        return -1;
    int handle = 0;
    while (handle < kMaxOpenFiles && openFiles[handle].stream) ++handle;
    if (handle == kMaxOpenFiles)
        return -1;
    std::FILE* stream = openStream(path, readWrite, action);
    if (!stream)
        return -1;
    openFiles[handle] = {stream, fileType == VAL_ASCII};
    return handle;
}

int CVI_WriteFile(int handle, const char* buffer, int count) {
    OpenFile* file = fileFor(handle);
    if (!file || count < 0 || (!buffer && count > 0))
        return -1;
    std::string stored;
    stored.reserve(static_cast<size_t>(count) + 8);
    for (int i = 0; i < count; ++i) {
        if (file->ascii && buffer[i] == '\n')
            stored += '\r';
        stored += buffer[i];
    }
    // Flushed at once, so a log holds every record even if the program dies.
    if (std::fwrite(stored.data(), 1, stored.size(), file->stream) != stored.size() ||
        std::fflush(file->stream) != 0)
        return -1;
    return count;
}

int CVI_CloseFile(int handle) {
    OpenFile* file = fileFor(handle);
    if (!file)
        return -1;
    const int result = std::fclose(file->stream);
    *file = {};
    return result == 0 ? 0 : -1;
}

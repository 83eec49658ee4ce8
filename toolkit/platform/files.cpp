// Data files by handle: a small table of open std::FILE streams. In ASCII mode every
// line feed is stored as CR LF, as the log file's readers expect on every platform.
#include "toolkit/platform/files.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "toolkit/platform/file_system.h"

namespace {

struct OpenFile {
    std::FILE* stream = nullptr;
    bool ascii = false;
};

constexpr int kMaxOpenFiles = 64;
std::array<OpenFile, kMaxOpenFiles> openFiles;
long long spaceLeft = -1;  // characters a write may still store; negative: no limit
std::string lastError;

void noteError(int error) {
    lastError = std::strerror(error);
}

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
    if (!stream) {
        noteError(errno);
        return -1;
    }
    openFiles[handle] = {stream, fileType == VAL_ASCII};
    return handle;
}

int CVI_WriteFile(int handle, const char* buffer, int count) {
    OpenFile* file = fileFor(handle);
    if (!file || count < 0 || (!buffer && count > 0))
        return -1;
    // Whole stretches between line feeds at a time: a live run writes half a megabyte a
    // minute through here.
    std::string stored;
    stored.reserve(static_cast<size_t>(count) + 8);
    const char* const end = buffer + count;
    for (const char* at = buffer; at < end;) {
        const char* feed =
            file->ascii ? static_cast<const char*>(std::memchr(at, '\n', end - at)) : nullptr;
        const char* stop = feed ? feed : end;
        stored.append(at, static_cast<size_t>(stop - at));
        if (feed)
            stored += "\r\n";
        at = feed ? feed + 1 : end;
    }
    size_t fits = stored.size();
    if (spaceLeft >= 0 && static_cast<long long>(fits) > spaceLeft)
        fits = static_cast<size_t>(spaceLeft);
    // Flushed at once, so a file holds every character taken even if the program dies.
    const size_t written = std::fwrite(stored.data(), 1, fits, file->stream);
    const bool flushed = std::fflush(file->stream) == 0;
    if (spaceLeft >= 0)
        spaceLeft -= static_cast<long long>(written);
    if (written == stored.size() && flushed)
        return count;
    noteError(fits < stored.size() ? ENOSPC : errno);
    if (!flushed || written == 0)
        return -1;
    // The characters of the caller's text that were stored whole.
    int taken = 0;
    for (size_t at = 0; taken < count && at < written; ++taken)
        at += file->ascii && buffer[taken] == '\n' ? 2 : 1;
    return taken;
}

int GetFileKind(const char* path) {
    switch (GetPathKind(path)) {
        case PathKind::Absent:
            return FILE_ABSENT;
        case PathKind::Regular:
            return FILE_REGULAR;
        default:
            return FILE_NOT_REGULAR;
    }
}

int GetFileLinkCount(int handle) {
    const OpenFile* file = fileFor(handle);
    return file ? OpenFileLinkCount(file->stream) : -1;
}

int AppendWholeToFile(const char* path, const char* text, int count) {
    if (!path || !*path || count < 0 || (!text && count > 0))
        return -1;
    const PathKind kind = GetPathKind(path);
    if (kind != PathKind::Absent && kind != PathKind::Regular) {
        lastError = std::string("it is ") + PathKindWords(kind);
        return -1;
    }
    std::error_code sizeError;
    const std::uintmax_t end =
        kind == PathKind::Absent ? 0 : std::filesystem::file_size(path, sizeError);
    std::FILE* stream = std::fopen(path, "ab");
    if (!stream) {
        noteError(errno);
        return -1;
    }
    size_t fits = static_cast<size_t>(count);
    if (spaceLeft >= 0 && static_cast<long long>(fits) > spaceLeft)
        fits = static_cast<size_t>(spaceLeft);
    const size_t written = std::fwrite(text, 1, fits, stream);
    int error = written < fits ? errno : 0;
    if (std::fflush(stream) != 0 && error == 0)
        error = errno;
    if (std::fclose(stream) != 0 && error == 0)
        error = errno;
    if (spaceLeft >= 0)
        spaceLeft -= static_cast<long long>(written);
    if (error == 0 && written == static_cast<size_t>(count))
        return 0;
    noteError(error != 0 ? error : ENOSPC);
    // Whatever part reached the file goes again, so the next entry starts on a line of its own.
    std::error_code ignored;
    if (!sizeError)
        std::filesystem::resize_file(path, end, ignored);
    return -1;
}

const char* GetFileErrorText() {
    return lastError.c_str();
}

void SetFileSpaceLimit(long long bytes) {
    spaceLeft = bytes;
}

int CVI_CloseFile(int handle) {
    OpenFile* file = fileFor(handle);
    if (!file)
        return -1;
    const int result = std::fclose(file->stream);
    if (result != 0)
        noteError(errno);
    *file = {};
    return result == 0 ? 0 : -1;
}

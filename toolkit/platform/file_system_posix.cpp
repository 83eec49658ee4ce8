// The file system on POSIX systems: stat and fstat, which look without opening.
#include <sys/stat.h>

#include "toolkit/platform/file_system.h"

PathKind GetPathKind(const char* path) {
    struct stat status {};
    if (!path || !*path || ::stat(path, &status) != 0)
        return PathKind::Absent;
    if (S_ISREG(status.st_mode))
        return PathKind::Regular;
    if (S_ISDIR(status.st_mode))
        return PathKind::Directory;
    if (S_ISFIFO(status.st_mode))
        return PathKind::Fifo;
    if (S_ISSOCK(status.st_mode))
        return PathKind::Socket;
    if (S_ISCHR(status.st_mode))
        return PathKind::CharacterDevice;
    if (S_ISBLK(status.st_mode))
        return PathKind::BlockDevice;
    return PathKind::Other;
}

int OpenFileLinkCount(std::FILE* stream) {
    struct stat status {};
    if (!stream || ::fstat(::fileno(stream), &status) != 0)
        return -1;
    return static_cast<int>(status.st_nlink);
}

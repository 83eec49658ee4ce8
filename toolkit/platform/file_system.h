// What the file system says of a path or of an open file, found without opening the path
// and without waiting: opening a FIFO waits for its other end, and opening a device may
// wait for the device or act on it, so a path is looked at before it is opened.
//
// The answers come from the POSIX or the Windows twin of this module.
#pragma once

#include <cstdio>

enum class PathKind {
    Absent,  // nothing there, or nothing that can be looked at
    Regular,
    Directory,
    Fifo,
    Socket,
    CharacterDevice,
    BlockDevice,
    Other,
};

// Follows symbolic links. Never opens the path.
PathKind GetPathKind(const char* path);
// "a regular file", "a directory", "a FIFO", ... as the end of a sentence about a path.
const char* PathKindWords(PathKind kind);

// How many names the file open as `stream` still has: 0 once it was deleted (or the
// folder it was in was removed), -1 when the system does not tell.
int OpenFileLinkCount(std::FILE* stream);

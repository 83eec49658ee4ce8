#include "toolkit/platform/file_system.h"

const char* PathKindWords(PathKind kind) {
    switch (kind) {
        case PathKind::Absent:
            return "absent";
        case PathKind::Regular:
            return "a regular file";
        case PathKind::Directory:
            return "a directory";
        case PathKind::Fifo:
            return "a FIFO";
        case PathKind::Socket:
            return "a socket";
        case PathKind::CharacterDevice:
            return "a character device";
        case PathKind::BlockDevice:
            return "a block device";
        case PathKind::Other:
            break;
    }
    return "not a regular file";
}

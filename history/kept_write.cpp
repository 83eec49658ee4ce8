#include "history/kept_write.h"

#include <cstring>

KeptWrite writeKept(const char* action, const char* readText, Reread reread,
                    const UnkeptWriteQuestion& goAhead) {
    char sent[kBlockWriteLength + 1];
    std::memcpy(sent, ioBuffer, sizeof sent);
    KeptWrite write;
    write.reread = reread;
    write.fault = findWriteFault(readText, sent);
    if (!write.fault) {
        write.before = keepBlockBeforeWrite(action, readText);
        if (!write.before.kept && !goAhead(write.before.reason)) {
            write.result = WriteResult::NotSent;
            write.declined = true;
            return write;
        }
        // The question may have let other work use ioBuffer: the text is put back first.
        std::memcpy(ioBuffer, sent, sizeof sent);
    }
    write.result = writeBlock(readText, reread, write.ack, &write.readBack);
    if (write.result == WriteResult::Written && write.before.kept)
        write.after = keepBlockWritten(action, sent);
    return write;
}

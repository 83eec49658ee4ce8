#include "history/write_verdict.h"

#include "link/reasons.h"

namespace {

std::string refusedAtW(const AckFrame& ack) {
    if (ack.status > 0)
        return "the instrument refused the write: 'w' was answered with " + ackText(ack);
    if (ack.status == 0)
        return "the instrument did not answer the write command 'w'; nothing was written";
    return "the answer to the write command 'w' could not be read (" + errorCodeText(ack.status) +
           "); nothing was written";
}

// After 'D' was missed the instrument has had the whole text: it may hold either block.
std::string refusedAtD(const AckFrame& ack) {
    if (ack.status > 0)
        return "the instrument did not take the block written (it may still hold the old one): "
               "it answered " +
               ackText(ack);
    if (ack.status == 0)
        return "the instrument did not acknowledge the block written: it may hold the old block "
               "or the new one";
    return "the acknowledgement of the block written could not be read (" +
           errorCodeText(ack.status) + "): the instrument may hold the old block or the new one";
}

WriteVerdict written(const KeptWrite& write) {
    if (write.reread == Reread::None)
        return {true, "written"};
    if (!write.readBack.compared)
        return {false, "written, but the block read back did not come whole: not compared"};
    if (write.readBack.differing != 0)
        return {false, readBackDifferenceText(write.readBack)};
    return {true, "written; the block read back matches"};
}

}  // namespace

WriteVerdict writeVerdict(const KeptWrite& write) {
    switch (write.result) {
        case WriteResult::Written:
            return written(write);
        case WriteResult::RefusedAtW:
            return {false, refusedAtW(write.ack)};
        case WriteResult::RefusedAtD:
            return {false, refusedAtD(write.ack)};
        case WriteResult::NotSent:
            break;
    }
    return {false, write.fault ? writeFaultText(*write.fault) : std::string()};
}

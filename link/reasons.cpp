#include "link/reasons.h"

#include <algorithm>
#include <cstdio>

#include "link/block_read.h"
#include "link/parameter_block.h"

std::string visibleCharacters(const char* text, int count) {
    std::string line;
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c <= 126) {
            line += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            line += escaped;
        }
    }
    return line;
}

std::string errorCodeText(int status) {
    return "error code = " + std::to_string(status);
}

std::string ackText(const AckFrame& ack) {
    if (ack.status < 0)
        return errorCodeText(ack.status);
    if (ack.status == 0)
        return kNoReplyText;
    return visibleCharacters(ack.text, std::min(ack.status, kAckFrameLength));
}

std::string blockReadFailureText(const BlockRead& read) {
    if (read.letterRefused)
        return ackText(read.ack);
    if (read.status < 0)
        return errorCodeText(read.status);
    if (read.checksumMismatch)
        return "settings not read: checksum does not match";
    if (read.received < kBlockTextLength)
        return "settings not read: " + std::to_string(read.received) + " of " +
               std::to_string(kBlockTextLength) + " characters came";
    return "settings not read: unexpected character at position " +
           std::to_string(read.badPosition);
}

std::string readBackDifferenceText(const ReadBack& readBack) {
    std::string bytes;
    int count = 0;
    for (int i = 0; i < kBlockBytes; ++i) {
        if (!(readBack.differing & (uint64_t{1} << i)))
            continue;
        bytes += (count++ ? ", " : "") + std::to_string(i);
    }
    return std::string("block read back differs from the one written in ") +
           (count == 1 ? "byte " : "bytes ") + bytes;
}

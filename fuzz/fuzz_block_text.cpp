// Fuzzes the settings block as text: a block read reply of arbitrary bytes goes into
// ioBuffer as a serial read leaves it, is judged by checkBlockRead, and only when accepted
// is decoded (bytes, gain and zero, clock cells), edited (bytes, clock cells, calibration
// fields) and finished into the write form.
//
// Input: byte 0 picks the read (129 characters, 131 with the checksum, or the clock's
// acknowledgement and text in one read of 134); the reply follows, at most that many
// bytes; whatever remains drives the edits through FuzzedDataProvider. The write form
// must be one the simulated instrument accepts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "link/block_read.h"
#include "link/calibration_fields.h"
#include "link/date_bytes.h"
#include "link/gain_zero.h"
#include "link/length_tables.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "sim/model/block.h"

namespace {

struct ReadForm {
    int count;
    int textOffset;
};
constexpr ReadForm kReadForms[] = {
    {kBlockTextLength, 0}, {kBlockReadWithChecksum, 0}, {kAckFrameLength + kBlockTextLength, 5}};

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int pairValue(const char* text) {
    const char pair[3] = {text[0], text[1], '\0'};
    return static_cast<int>(std::strtol(pair, nullptr, 16));
}

// The read form at `text`: hex pairs with a comma behind each.
bool wellFormed(const char* text) {
    for (int i = 0; i < kBlockTextLength; ++i) {
        if ((i % 3 == 2) ? text[i] != ',' : !isHex(text[i]))
            return false;
    }
    return true;
}

void checkVerdict(const BlockRead& check, int status, int textOffset) {
    FUZZ_CHECK(check.status == status);
    FUZZ_CHECK(check.received == (status - textOffset > 0 ? status - textOffset : 0));
    const char* text = ioBuffer + textOffset;
    if (check.ok) {
        FUZZ_CHECK(check.received >= kBlockTextLength && wellFormed(text));
    } else if (check.checksumMismatch) {
        // A whole text with two hex digits behind it whose value is not its checksum.
        FUZZ_CHECK(check.received >= kBlockTextLength + 2 && wellFormed(text));
        FUZZ_CHECK(isHex(text[kBlockTextLength]) && isHex(text[kBlockTextLength + 1]));
        FUZZ_CHECK(pairValue(text + kBlockTextLength) != blockTextChecksum(text));
    } else if (check.received >= kBlockTextLength) {
        FUZZ_CHECK(check.badPosition >= 0 && check.badPosition < kBlockTextLength);
        FUZZ_CHECK(!wellFormed(text));
    }
}

void checkDecoding(const char* text) {
    for (int i = 0; i < kBlockBytes; ++i) {
        const int value = hexPairValue(text + 3 * i);
        FUZZ_CHECK(fitsBlockByte(value) && value == pairValue(text + 3 * i));
        FUZZ_CHECK(fitsBcdCell(bcdPairValue(text + 3 * i)));
    }
    const GainZero present = decodeGainZero(text);
    FUZZ_CHECK(present.gain ==
               static_cast<int16_t>(pairValue(text + 9) * 256 + pairValue(text + 12)));
    FUZZ_CHECK(present.zero ==
               static_cast<int16_t>(pairValue(text + 15) * 256 + pairValue(text + 18)));
}

void editByte(FuzzedDataProvider& in) {
    const int index = in.ConsumeIntegralInRange(0, kBlockBytes - 1);
    const int value = in.ConsumeIntegral<int>();
    const int before = getBlockByte(index);
    putBlockByte(index, value);
    FUZZ_CHECK(getBlockByte(index) == (fitsBlockByte(value) ? value : before));
}

void editBcdCell(FuzzedDataProvider& in) {
    const int index = in.ConsumeIntegralInRange(0, kBlockBytes - 1);
    const int value = in.ConsumeIntegralInRange(-200, 200);
    const int before = getBlockByte(index);
    const bool written = putBcdPair(ioBuffer, 3 * index, value);
    FUZZ_CHECK(written == fitsBcdCell(value));
    if (written)
        FUZZ_CHECK(bcdPairValue(ioBuffer + 3 * index) == value);
    else
        FUZZ_CHECK(getBlockByte(index) == before);
}

// A table row's length most of the time, so that the lookup succeeds and the fields are
// written; otherwise any float.
float gaugeLengthFrom(FuzzedDataProvider& in, const LengthTable& table) {
    if (in.ConsumeBool() && !table.rows.empty())
        return table.rows[in.ConsumeIntegralInRange<size_t>(0, table.rows.size() - 1)].length;
    return in.ConsumeFloatingPoint<float>();
}

void editCalibration(FuzzedDataProvider& in) {
    const bool defaults = in.ConsumeBool();
    const LengthTable& table = defaults ? defaultLengthTable : calibrationLengthTable;
    const float gaugeLength = gaugeLengthFrom(in, table);
    const int gaugeType = in.ConsumeIntegralInRange(-1, kGaugeTypes);
    const GainZero old = decodeGainZero(ioBuffer);

    GainZeroResult computed;
    computed.newGain = kDefaultGain;
    computed.newZero = defaultZero(gaugeType);
    if (!defaults) {
        const float levelA = in.ConsumeFloatingPoint<float>();
        const float levelB = in.ConsumeFloatingPoint<float>();
        const float readingA = in.ConsumeFloatingPoint<float>();
        const float readingB = in.ConsumeFloatingPoint<float>();
        computed =
            computeGainZero(gaugeLength, levelA, levelB, readingA, readingB, old.gain, old.zero);
        if (computed.status != GainZeroStatus::Ok) {
            FUZZ_CHECK(computed.newGain == 0 && computed.newZero == 0);
            FUZZ_CHECK(gainZeroRefusalText(computed.status) != nullptr);
            return;
        }
        FUZZ_CHECK(old.gain != 0);
    }
    const auto setting = lookupLengthSetting(table, gaugeType, gaugeLength);
    if (!setting)
        return;

    char before[kIoBufferSize];
    std::memcpy(before, ioBuffer, sizeof before);
    writeCalibrationFields(ioBuffer, *setting, computed.newGain, computed.newZero, gaugeLength);
    FUZZ_CHECK(wellFormed(ioBuffer));
    FUZZ_CHECK(getBlockByte(1) == setting->scaleTrim && getBlockByte(2) == setting->rangeCode);
    const GainZero written = decodeGainZero(ioBuffer);
    FUZZ_CHECK(written.gain == static_cast<int16_t>(computed.newGain));
    FUZZ_CHECK(written.zero == static_cast<int16_t>(computed.newZero));
    FUZZ_CHECK(getBlockByte(kLengthTenthsByte) == (lengthTenths(gaugeLength) & 0xFF));
    for (int i = 0; i < kBlockBytes; ++i) {
        if (i < 1 || (i > 6 && i != kLengthTenthsByte))
            FUZZ_CHECK(std::memcmp(before + 3 * i, ioBuffer + 3 * i, 3) == 0);
    }
}

void checkWriteForm() {
    int sum = 0;
    for (int i = 0; i < kBlockBytes; ++i) sum += getBlockByte(i);
    const int checksum = finishBlockText();
    FUZZ_CHECK(checksum == (sum & 0xFF));
    FUZZ_CHECK(ioBuffer[kBlockWriteLength] == '\0' && std::strlen(ioBuffer) == kBlockWriteLength);
    FUZZ_CHECK(wellFormed(ioBuffer));
    for (int i = 0; i < kBlockWriteLength; ++i)
        FUZZ_CHECK(!std::islower(static_cast<unsigned char>(ioBuffer[i])));
    FUZZ_CHECK(isHex(ioBuffer[129]) && isHex(ioBuffer[130]));
    FUZZ_CHECK(pairValue(ioBuffer + kBlockTextLength) == checksum);
    // The instrument takes it, and reads the same bytes from it.
    const auto taken = sim::parseWriteForm(std::string_view(ioBuffer, kBlockWriteLength));
    FUZZ_CHECK(taken.has_value());
    for (int i = 0; i < kBlockBytes; ++i) FUZZ_CHECK((*taken)[i] == getBlockByte(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const ReadForm form = kReadForms[data[0] % 3];
    const size_t replyLength = std::min(size - 1, static_cast<size_t>(form.count));
    std::memset(ioBuffer, 0, sizeof ioBuffer);
    std::memcpy(ioBuffer, data + 1, replyLength);
    const int status = static_cast<int>(replyLength);

    const BlockRead check = checkBlockRead(status, form.textOffset);
    checkVerdict(check, status, form.textOffset);
    if (!check.ok)
        return 0;
    checkDecoding(ioBuffer + form.textOffset);
    if (form.textOffset != 0)
        return 0;  // the clock's combined read is only decoded, never written back

    FuzzedDataProvider in(data + 1 + replyLength, size - 1 - replyLength);
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 2)) {
            case 0:
                editByte(in);
                break;
            case 1:
                editBcdCell(in);
                break;
            default:
                editCalibration(in);
                break;
        }
    }
    checkWriteForm();
    return 0;
}

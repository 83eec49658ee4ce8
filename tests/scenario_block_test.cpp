// The block text: checksum, upper-casing and the judgement of what a block read brought.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "feedback/block_reports.h"
#include "link/block_read.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "tests/harness/tool_fixture.h"
#include "ui/vaskinterface_ids.h"

namespace {

std::string readFormText(const std::array<int, kBlockBytes>& block, bool lowerCase = false) {
    std::string text;
    for (int value : block) {
        char group[4];
        std::snprintf(group, sizeof group, lowerCase ? "%02x," : "%02X,", value);
        text += group;
    }
    return text;
}

// The read form of `block` in ioBuffer, as the instrument would send it; stale characters
// behind it, as an earlier exchange would leave them.
void loadReadForm(const std::array<int, kBlockBytes>& block, bool lowerCase = false) {
    std::memset(ioBuffer, 'x', sizeof ioBuffer);
    const std::string text = readFormText(block, lowerCase);
    std::memcpy(ioBuffer, text.data(), text.size());
}

std::array<int, kBlockBytes> filled(int value) {
    std::array<int, kBlockBytes> block;
    block.fill(value);
    return block;
}

std::string writeForm() {
    return std::string(ioBuffer, kBlockWriteLength);
}

TEST(BlockText, ChecksumOfAllZeroAndAllOnesBlocks) {
    loadReadForm(filled(0));
    EXPECT_EQ(finishBlockText(), 0);
    EXPECT_EQ(writeForm().substr(129), "00");

    loadReadForm(filled(255));
    EXPECT_EQ(finishBlockText(), 0xD5);  // 43 x 255 = 10965
    EXPECT_EQ(writeForm().substr(129), "D5");
}

TEST(BlockText, RewrittenByteEntersTheChecksumAndTheWriteFormEndsThere) {
    auto block = filled(0);
    block[kFlagByte] = 0x12;
    loadReadForm(block);
    putBlockByte(7, 60);
    finishBlockText();
    const std::string text = writeForm();
    EXPECT_EQ(text.substr(21, 2), "3C");
    EXPECT_EQ(text.substr(126, 2), "12");
    EXPECT_EQ(text[128], ',');
    EXPECT_EQ(text.substr(129, 2), "4E");
    EXPECT_EQ(ioBuffer[kBlockWriteLength], '\0');
}

TEST(BlockText, RewritingOneByteChangesExactlyItsTwoCharacters) {
    auto block = filled(0x5A);
    loadReadForm(block);
    const std::string before(ioBuffer, kBlockTextLength);
    putBlockByte(10, 10);
    std::string after(ioBuffer, kBlockTextLength);
    EXPECT_EQ(after.substr(30, 2), "0a");
    after.replace(30, 2, "5A");
    EXPECT_EQ(after, before);
}

TEST(BlockText, LowerCaseLettersGoBackUpperCasedInEveryByte) {
    std::array<int, kBlockBytes> block;
    for (int i = 0; i < kBlockBytes; ++i) block[i] = (i * 37 + 0xAB) & 0xFF;
    loadReadForm(block, true);
    putBlockByte(7, 255);
    finishBlockText();
    block[7] = 255;
    EXPECT_EQ(writeForm().substr(0, kBlockTextLength), readFormText(block));
    for (char c : writeForm()) EXPECT_FALSE(c >= 'a' && c <= 'f') << writeForm();
}

TEST(BlockRead, ACompleteWellFormedTextIsGoodWhetherOrNotTheChecksumFollowed) {
    loadReadForm(filled(0x3c), true);
    EXPECT_TRUE(checkBlockRead(kBlockTextLength).ok);  // 131 asked, 129 came
    EXPECT_TRUE(checkBlockRead(kBlockReadWithChecksum).ok);
}

TEST(BlockRead, NegativeShortOrMalformedTextIsAFailedRead) {
    loadReadForm(filled(0));
    const BlockRead negative = checkBlockRead(-3);
    EXPECT_FALSE(negative.ok);
    EXPECT_EQ(negative.status, -3);

    const BlockRead shortRead = checkBlockRead(100);
    EXPECT_FALSE(shortRead.ok);
    EXPECT_EQ(shortRead.received, 100);

    ioBuffer[3 * 20 + 2] = ';';
    const BlockRead badComma = checkBlockRead(kBlockTextLength);
    EXPECT_FALSE(badComma.ok);
    EXPECT_EQ(badComma.badPosition, 62);

    loadReadForm(filled(0));
    ioBuffer[3 * 42 + 1] = 'G';
    EXPECT_EQ(checkBlockRead(kBlockTextLength).badPosition, 127);
}

class BlockReadReport : public ToolFixture {};

TEST_F(BlockReadReport, OneLineSaysWhatCame) {
    loadReadForm(filled(0));
    addBlockReadFailureLine(checkBlockRead(-3));
    addBlockReadFailureLine(checkBlockRead(57));
    loadReadForm(filled(0));  // each line overwrote ioBuffer
    ioBuffer[4] = 'z';
    addBlockReadFailureLine(checkBlockRead(kBlockTextLength));
    EXPECT_EQ(messageLines(), (std::vector<std::string>{
                                  "error code = -3",
                                  "settings not read: 57 of 129 characters came",
                                  "settings not read: unexpected character at position 4",
                              }));
}

}  // namespace

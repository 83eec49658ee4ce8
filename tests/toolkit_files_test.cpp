// Data files by handle: ASCII line ends, and what opening does to an existing file; what a
// path is, looked at without opening it; appends that are whole or not at all; text from
// outside shown safely.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "toolkit/platform/utility.h"

namespace {

class DataFileTest : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    static std::string contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void write(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static int writeText(int handle, const std::string& text) {
        return CVI_WriteFile(handle, text.data(), static_cast<int>(text.size()));
    }

    QTemporaryDir dir_;
};

TEST_F(DataFileTest, AsciiModeStoresEachLineFeedAsCarriageReturnLineFeed) {
    const int handle =
        CVI_OpenFile(path("log.txt").c_str(), VAL_READ_WRITE, VAL_OPEN_AS_IS, VAL_ASCII);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(writeText(handle, "01234\n"), 6);  // counts what was given, not what was stored
    EXPECT_EQ(writeText(handle, "01000 00328\n"), 12);
    EXPECT_EQ(CVI_CloseFile(handle), 0);
    EXPECT_EQ(contents(path("log.txt")), "01234\r\n01000 00328\r\n");

    const int binary =
        CVI_OpenFile(path("raw.bin").c_str(), VAL_WRITE_ONLY, VAL_TRUNCATE, VAL_BINARY);
    ASSERT_GE(binary, 0);
    EXPECT_EQ(writeText(binary, "a\nb"), 3);
    EXPECT_EQ(CVI_CloseFile(binary), 0);
    EXPECT_EQ(contents(path("raw.bin")), "a\nb");
}

TEST_F(DataFileTest, OpeningAsIsOverwritesFromTheStartAndKeepsTheTail) {
    write(path("log.txt"), "OLD-RECORD-1\r\nOLD-RECORD-2\r\n");
    const int handle =
        CVI_OpenFile(path("log.txt").c_str(), VAL_READ_WRITE, VAL_OPEN_AS_IS, VAL_ASCII);
    ASSERT_GE(handle, 0);
    writeText(handle, "00042\n");
    CVI_CloseFile(handle);
    EXPECT_EQ(contents(path("log.txt")), "00042\r\nORD-1\r\nOLD-RECORD-2\r\n");
}

TEST_F(DataFileTest, TruncateEmptiesAndAppendAddsAtTheEnd) {
    write(path("t.txt"), "previous content");
    int handle = CVI_OpenFile(path("t.txt").c_str(), VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII);
    ASSERT_GE(handle, 0);
    writeText(handle, "new\n");
    CVI_CloseFile(handle);
    EXPECT_EQ(contents(path("t.txt")), "new\r\n");

    handle = CVI_OpenFile(path("t.txt").c_str(), VAL_WRITE_ONLY, VAL_APPEND, VAL_ASCII);
    ASSERT_GE(handle, 0);
    writeText(handle, "more\n");
    CVI_CloseFile(handle);
    EXPECT_EQ(contents(path("t.txt")), "new\r\nmore\r\n");
}

TEST_F(DataFileTest, FailuresGiveMinusOne) {
    EXPECT_EQ(
        CVI_OpenFile(dir_.path().toStdString().c_str(), VAL_READ_WRITE, VAL_OPEN_AS_IS, VAL_ASCII),
        -1);
    EXPECT_EQ(
        CVI_OpenFile(path("missing/dir/log.txt").c_str(), VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII),
        -1);
    EXPECT_EQ(CVI_OpenFile(path("absent.txt").c_str(), VAL_READ_ONLY, VAL_OPEN_AS_IS, VAL_ASCII),
              -1);
    EXPECT_EQ(CVI_WriteFile(-1, "x", 1), -1);
    EXPECT_EQ(CVI_CloseFile(-1), -1);

    // Handles are reused once closed; a closed handle takes no more writes.
    const int first = CVI_OpenFile(path("a").c_str(), VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII);
    ASSERT_GE(first, 0);
    EXPECT_EQ(CVI_CloseFile(first), 0);
    EXPECT_EQ(CVI_WriteFile(first, "x", 1), -1);
    EXPECT_EQ(CVI_CloseFile(first), -1);
    const int second = CVI_OpenFile(path("b").c_str(), VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII);
    EXPECT_EQ(second, first);
    CVI_CloseFile(second);
}

}  // namespace

namespace {

// A full disk: the characters that fit are stored, the write reports how many of the
// caller's were taken whole, and says why the rest were not.
TEST_F(DataFileTest, AFullDiskStoresWhatFitsAndSaysWhy) {
    const int handle =
        CVI_OpenFile(path("full.log").c_str(), VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII);
    ASSERT_GE(handle, 0);
    SetFileSpaceLimit(9);
    EXPECT_EQ(writeText(handle, "1234\n"), 5);
    EXPECT_EQ(writeText(handle, "5678\n"), 3);  // "567" fits, "8\r\n" does not
    EXPECT_STREQ(GetFileErrorText(), "No space left on device");
    EXPECT_EQ(writeText(handle, "9\n"), -1);
    SetFileSpaceLimit(-1);
    EXPECT_EQ(CVI_CloseFile(handle), 0);
    EXPECT_EQ(contents(path("full.log")), "1234\r\n567");
}

TEST_F(DataFileTest, OnlyRegularFilesAndFreeNamesCanBeTakenForWriting) {
    write(path("plain.log"), "x");
    EXPECT_EQ(GetFileKind(path("plain.log").c_str()), FILE_REGULAR);
    EXPECT_EQ(GetFileKind(path("new.log").c_str()), FILE_ABSENT);
    EXPECT_EQ(GetFileKind(dir_.path().toStdString().c_str()), FILE_NOT_REGULAR);
}

}  // namespace

namespace {

// An entry is appended whole or not at all: what a full disk cut short is taken back, so
// the next append starts on a line of its own.
TEST_F(DataFileTest, AnAppendThatDoesNotFitLeavesTheFileAsItWas) {
    write(path("history.txt"), "first\n");
    SetFileSpaceLimit(3);
    EXPECT_EQ(AppendWholeToFile(path("history.txt").c_str(), "second\n", 7), -1);
    EXPECT_STREQ(GetFileErrorText(), "No space left on device");
    EXPECT_EQ(contents(path("history.txt")), "first\n");
    SetFileSpaceLimit(-1);
    EXPECT_EQ(AppendWholeToFile(path("history.txt").c_str(), "third\n", 6), 0);
    EXPECT_EQ(contents(path("history.txt")), "first\nthird\n");
    EXPECT_EQ(AppendWholeToFile(path("new.txt").c_str(), "x\n", 2), 0);
    EXPECT_EQ(contents(path("new.txt")), "x\n");
}

TEST(VisibleTextTest, NothingFromOutsideCanCutOrHideWhatIsShown) {
    EXPECT_EQ(VisibleText(std::string("zz\0yy", 5)), "zz\\x00yy");
    EXPECT_EQ(VisibleText("a\x1b[2Jb\x7f"), "a\\x1B[2Jb\\x7F");
    EXPECT_EQ(VisibleText("bad \xff\xc3("), "bad \\xFF\\xC3(");
    EXPECT_EQ(VisibleText("evil\u202Etxt.exe"), "evil\\u{202E}txt.exe");
    EXPECT_EQ(VisibleText("7: 123 → 230\n\tnext"), "7: 123 → 230\n\tnext");
    EXPECT_TRUE(IsPlainText("QV-0000012345 → é"));
    EXPECT_FALSE(IsPlainText("kx\twrite"));
    EXPECT_FALSE(IsPlainText(std::string("zz\0", 3)));
    EXPECT_FALSE(IsPlainText("\xc3"));
}

}  // namespace

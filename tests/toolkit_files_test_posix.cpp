// What a path is on POSIX systems: a device file or a FIFO is never taken as a data file (a
// write to it could block or vanish), and an open file whose name is removed knows it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>

#include "toolkit/platform/utility.h"

namespace {

TEST(DataFileKinds, ADeviceIsNotARegularFile) {
    EXPECT_EQ(GetFileKind("/dev/null"), FILE_NOT_REGULAR);
}

// Nobody holds the FIFO's other end: an open would wait for ever.
TEST(DataFileKinds, APathIsLookedAtWithoutOpeningSoAFifoIsRefusedAtOnce) {
    QTemporaryDir dir_;
    const auto path = [&](const char* name) { return dir_.filePath(name).toStdString(); };
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(GetPathKind(path("pipe").c_str()), PathKind::Fifo);
    EXPECT_EQ(AppendWholeToFile(path("pipe").c_str(), "x\n", 2), -1);
    EXPECT_STREQ(GetFileErrorText(), "it is a FIFO");
    EXPECT_EQ(GetFileKind(path("pipe").c_str()), FILE_NOT_REGULAR);
    EXPECT_EQ(GetPathKind(dir_.path().toStdString().c_str()), PathKind::Directory);
    EXPECT_EQ(GetPathKind("/dev/null"), PathKind::CharacterDevice);
    EXPECT_EQ(GetPathKind(path("absent").c_str()), PathKind::Absent);
    EXPECT_STREQ(PathKindWords(PathKind::CharacterDevice), "a character device");
}

// A file that is open cannot be removed on every system; here it can.
TEST(DataFileKinds, AnOpenFileKnowsWhenItHasLostItsName) {
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    const int handle =
        CVI_OpenFile(path("log.txt").c_str(), VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(GetFileLinkCount(handle), 1);
    std::filesystem::remove(path("log.txt"));
    EXPECT_EQ(GetFileLinkCount(handle), 0);
    CVI_CloseFile(handle);
    EXPECT_EQ(GetFileLinkCount(handle), -1);
}

}  // namespace

// A device file is never taken as a data file: a write to it could block or vanish.
#include <gtest/gtest.h>

#include "toolkit/platform/utility.h"

namespace {

TEST(DataFileKinds, ADeviceIsNotARegularFile) {
    EXPECT_EQ(GetFileKind("/dev/null"), FILE_NOT_REGULAR);
}

}  // namespace

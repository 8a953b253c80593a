#include "platform/system/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/files/text_file.h"

namespace {

TEST(SystemError, EntryTextThenCauseThenTheSystemsMessage) {
    EXPECT_EQ(platform::ErrorWithCause("Striowin->iInitSerio->CreateFile", ENOENT),
              "Striowin->iInitSerio->CreateFile Cause: " + platform::SystemErrorText(ENOENT));
    platform::SetLastError(EACCES);
    EXPECT_EQ(platform::GetLastError(), EACCES);
}

TEST(SystemErrorDeathTest, FatalExitWritesTheTextAndEndsWithCode3) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(platform::FatalAppExitA("Bad pointer cast!"), ::testing::ExitedWithCode(3), "^Bad pointer cast!\n$");
}

}  // namespace

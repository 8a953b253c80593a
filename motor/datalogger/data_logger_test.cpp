#include "motor/datalogger/data_logger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/log_sink.h"
#include "platform/system/clock.h"
#include "testsupport/test_env.h"

namespace {

// The virtual clock of every test starts at 2026-01-01 00:00:00 UTC, a Thursday.
const std::string kStartTime = "Thu Jan  1 00:00:00 2026\n";

std::string Header(const std::string& login_time) {
    const std::string rule(73, '-');
    return rule + "\n" + std::string(20, ' ') + "Torvane Event Logger File\n" + "Login:\t" + login_time + "\n" + rule +
           "\n";
}

void AdvanceSeconds(uint64_t seconds) { platform::TheVirtualClock()->AdvanceMs(seconds * 1000); }

TEST(DataLogger, NewFileHoldsHeaderThenEverythingWrittenThenLogOut) {
    auto log = std::make_unique<DataLogger>(kIdentLogPath);
    EXPECT_EQ(Header(kStartTime), testsupport::ReadFile(testsupport::RuntimePath("TMP/ident.txt")));

    AdvanceSeconds(61);
    log->WriteEntryText("a%sb");
    log->WriteEntry("%d%n\\");
    log->WriteText("t1");
    log->Put("t2%");
    log->WriteLine("line");
    log->PutLine("put");
    log->PutLine(nullptr);
    log->WriteEntryText(nullptr);
    AdvanceSeconds(3600);
    log.reset();

    EXPECT_EQ(Header(kStartTime) +
                  "Thu Jan  1 00:01:01 2026\n\ta%sb\n\n"
                  "Thu Jan  1 00:01:01 2026\n\t%d%n\\\n\n"
                  "t1t2%line\nput\n\n"
                  "Thu Jan  1 00:01:01 2026\n\t\n\n"
                  "Thu Jan  1 01:01:01 2026\n\t*** Log out ***\n",
              testsupport::ReadFile(testsupport::RuntimePath("TMP/ident.txt")));
}

TEST(DataLogger, TimeTextIsTheLocalTimeOfTheClock) {
    EXPECT_EQ(kStartTime, DataLogger::GetTimeText());
    platform::TheVirtualClock()->SetWallSeconds(951782400 + 13 * 3600 + 5 * 60 + 9);  // 2000-02-29
    platform::SetTimeZoneOffset(3600);
    EXPECT_EQ("Tue Feb 29 14:05:09 2000\n", DataLogger::GetTimeText());
}

TEST(DataLogger, FileAboveTheLimitStartsAfreshOtherwiseItIsAppendedTo) {
    struct Case {
        int64_t size;
        bool started_afresh;
    };
    for (const Case c : {Case{kMaxLogFileBytes, false}, Case{kMaxLogFileBytes + 1, true}, Case{0, false}}) {
        SCOPED_TRACE(c.size);
        const auto path = testsupport::RuntimePath("TMP/DataLogger.txt");
        const std::string old(static_cast<size_t>(c.size), 'x');
        testsupport::WriteFile(path, old);
        { DataLogger log(kProgramLogPath); }
        const std::string expected =
            (c.started_afresh ? std::string() : old) + Header(kStartTime) + kStartTime + "\t*** Log out ***\n";
        const std::string content = testsupport::ReadFile(path);
        ASSERT_EQ(expected.size(), content.size());
        EXPECT_TRUE(content == expected);  // not EXPECT_EQ: a failure would print 3 MB
    }
}

TEST(DataLogger, LoggerThatCannotOpenItsFileIsSilent) {
    // A missing directory is not created, and a directory is not a log file.
    for (const char* path : {"..\\NOPE\\DataLogger.txt", "..\\TMP", ""}) {
        SCOPED_TRACE(path);
        {
            DataLogger log(path);
            log.WriteEntry("entry");
            log.WriteEntryText("entry");
            log.WriteText("text");
            log.Put("text");
            log.WriteLine("line");
            log.PutLine("line");
            EXPECT_EQ(path, log.GetPath());
        }
        EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("NOPE")));
        // Only the program log of the run-time tree is there, untouched.
        std::vector<std::string> tmp_files;
        for (const auto& entry : std::filesystem::directory_iterator(testsupport::RuntimePath("TMP"))) {
            tmp_files.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(std::vector<std::string>{"DataLogger.txt"}, tmp_files);
        EXPECT_EQ(Header(kStartTime), testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")));
    }
}

TEST(ProgramLog, IsOpenInTheRunTimeTreeAndTakesThePlatformLogLines) {
    const auto path = testsupport::RuntimePath("TMP/DataLogger.txt");
    EXPECT_EQ(Header(kStartTime), testsupport::ReadFile(path));

    AdvanceSeconds(2);
    TheDataLogger().WriteEntryText("NewActivDevice: 100%");
    ConnectLogSinkToDataLogger();
    platform::LogLine("Striowin->Open: %s");

    EXPECT_EQ(Header(kStartTime) +
                  "Thu Jan  1 00:00:02 2026\n\tNewActivDevice: 100%\n\n"
                  "Thu Jan  1 00:00:02 2026\n\tStriowin->Open: %s\n\n",
              testsupport::ReadFile(path));
}

}  // namespace

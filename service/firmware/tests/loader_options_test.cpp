// Options of the boot-loader tool by prefix, and option-file lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/firmware/loader_options.h"

namespace {

TEST(LoaderOptions, MatchedByPrefixInTheToolsOrder) {
    LoaderOptions o;
    const struct {
        const char* text;
        OptionResult result;
    } taken[] = {
        {"-d7", OptionResult::kTaken},
        {"-lgfirm.txt", OptionResult::kLogFile},
        {"-ns", OptionResult::kTaken},
        {"-p3", OptionResult::kTaken},
        {"-bb0", OptionResult::kTaken},
        {"-bl115200l", OptionResult::kTaken},
        {"-bOskel_bt.hx", OptionResult::kTaken},
        {"-lgate.hx", OptionResult::kLogFile},
        {"-lload.hx", OptionResult::kTaken},
        {"-2lsecond.hx", OptionResult::kTaken},
        {"-fC:\\fw\\a.hex", OptionResult::kTaken},
        {"-ifKelbo.inv", OptionResult::kTaken},
        {"-t", OptionResult::kTaken},
        {"-nc", OptionResult::kTaken},
        {"-?", OptionResult::kUsage},
    };
    for (const auto& c : taken) EXPECT_EQ(ParseLoaderOption(c.text, o, OptionSource::kCommandLine), c.result) << c.text;
    EXPECT_EQ(o.deviceType, 7);
    // "-lg" always names the log file, never a loader file beginning with "g".
    EXPECT_EQ(o.logFile, "ate.hx");
    EXPECT_EQ(o.loaderFile, "load.hx");
    EXPECT_EQ(o.port, 3u);
    EXPECT_EQ(o.bootstrapBaud, 0);
    EXPECT_EQ(o.lineBaud, 115200);
    EXPECT_EQ(o.booterFile, "Oskel_bt.hx");
    EXPECT_EQ(o.secondLoaderFile, "second.hx");
    EXPECT_EQ(o.firmwareFile, "C:\\fw\\a.hex");
    EXPECT_EQ(o.optionFile, "Kelbo.inv");
    EXPECT_TRUE(o.compareIdentification);
    EXPECT_TRUE(o.noChecksums);
}

TEST(LoaderOptions, RateOptionsAreRatesOnlyWithANumber) {
    const struct {
        const char* text;
        int32_t bootstrapBaud;
        int32_t lineBaud;
        const char* booter;
    } cases[] = {
        {"-bboot.hex", 9600, 57600, "boot.hex"},
        {"-bb19200", 19200, 57600, "booter.hex"},
        {"-bb0", 0, 57600, "booter.hex"},
        {"-bb 4800", 4800, 57600, "booter.hex"},
        {"-bb", 9600, 57600, "b"},
        {"-bb-x.hex", 9600, 57600, "b-x.hex"},
        {"-blink.hex", 9600, 57600, "link.hex"},
        {"-bl115200l", 9600, 115200, "booter.hex"},
        {"-bl 19200", 9600, 19200, "booter.hex"},
        {"-bl", 9600, 57600, "l"},
        {"-bl-x.hex", 9600, 57600, "l-x.hex"},
    };
    for (const auto& c : cases) {
        for (OptionSource source : {OptionSource::kCommandLine, OptionSource::kOptionFile}) {
            LoaderOptions o;
            o.bootstrapBaud = 9600;
            EXPECT_EQ(ParseLoaderOption(c.text, o, source), OptionResult::kTaken) << c.text;
            EXPECT_EQ(o.bootstrapBaud, c.bootstrapBaud) << c.text;
            EXPECT_EQ(o.lineBaud, c.lineBaud) << c.text;
            EXPECT_EQ(o.booterFile, c.booter) << c.text;
        }
    }
}

TEST(LoaderOptions, RefusedAsUnknown) {
    const struct {
        const char* text;
        OptionSource source;
    } cases[] = {
        {"", OptionSource::kOptionFile},
        {"-x", OptionSource::kCommandLine},
        {"d1", OptionSource::kCommandLine},
        {" -d1", OptionSource::kOptionFile},
        {"-ifother.inv", OptionSource::kOptionFile},
        {"-?", OptionSource::kOptionFile},
        // A device type outside the table, a line rate without baud code.
        {"-d8", OptionSource::kCommandLine},
        {"-d-1", OptionSource::kCommandLine},
        {"-d65536", OptionSource::kOptionFile},
        {"-bl12345", OptionSource::kCommandLine},
        {"-bl0", OptionSource::kOptionFile},
    };
    for (const auto& c : cases) {
        LoaderOptions o;
        EXPECT_EQ(ParseLoaderOption(c.text, o, c.source), OptionResult::kUnknown) << c.text;
        EXPECT_EQ(o.deviceType, 0) << c.text;
        EXPECT_EQ(o.lineBaud, 57600) << c.text;
        EXPECT_EQ(o.optionFile, "") << c.text;
    }
}

TEST(LoaderOptions, OptionFileLinesAreCutAtTheirFirstTab) {
    EXPECT_EQ(OptionFileLines("-d1\r\n-ffirm.hex\tcomment\n\n-bb0"),
              (std::vector<std::string>{"-d1", "-ffirm.hex", "", "-bb0"}));
}

}  // namespace

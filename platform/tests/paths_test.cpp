#include "platform/files/paths.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "testsupport/test_env.h"

namespace {

using platform::DirEntry;
using testsupport::RuntimePath;
using testsupport::WriteFile;

TEST(ToNativePath, TurnsWindowsFormIntoPosix) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"..\\TMP\\DataLogger.txt", "../TMP/DataLogger.txt"},
        {"C:\\dir\\f.00D", "/dir/f.00D"},
        {"d:relative\\x", "relative/x"},
        {"C:", ""},
        {"..\\FIRMDATA\\", "../FIRMDATA/"},
        {"/already/posix", "/already/posix"},
        {"mixed/sep\\name", "mixed/sep/name"},
        {"1:\\no drive", "1:/no drive"},  // only a letter makes a drive
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::ToNativePath(c.in), c.out) << c.in;
}

// Files stored with one spelling, found with another.
class CaseInsensitiveTree : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(RuntimePath("TMP/Scope.SDC"), "scope");
        WriteFile(RuntimePath("TMP/Sub/ParaPrint.INi"), "ini");
        std::filesystem::create_directories(RuntimePath("TMP/Empty"));
    }
};

TEST_F(CaseInsensitiveTree, FindExistingMatchesEachComponentWithoutCase) {
    struct Case {
        const char* in;
        std::optional<std::string> out;
    };
    const Case cases[] = {
        {"..\\TMP\\Scope.SDC", "../TMP/Scope.SDC"},
        {"..\\tmp\\scope.sdc", "../TMP/Scope.SDC"},
        {"..\\Tmp\\SUB\\paraprint.ini", "../TMP/Sub/ParaPrint.INi"},
        {"..\\tmp\\sub", "../TMP/Sub"},
        {"..\\tmp\\sub\\", "../TMP/Sub/"},
        {"..\\tmp\\missing.txt", std::nullopt},
        {"..\\tmp\\nodir\\scope.sdc", std::nullopt},
        {"..\\tmp\\scope.sdc\\x", std::nullopt},  // a file is no directory
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::FindExisting(c.in), c.out) << c.in;
}

TEST_F(CaseInsensitiveTree, FindExistingOfAbsolutePathIgnoresDrive) {
    std::string root = testsupport::RuntimeRoot().string();
    std::string windows = "C:" + root + "\\tmp\\SCOPE.sdc";
    EXPECT_EQ(platform::FindExisting(windows), root + "/TMP/Scope.SDC");
}

TEST(FindExisting, ExactSpellingWinsThenFirstInByteOrder) {
    WriteFile(RuntimePath("TMP/b.txt"), "lower");
    WriteFile(RuntimePath("TMP/B.TXT"), "upper");
    WriteFile(RuntimePath("TMP/B.txt"), "mixed");
    EXPECT_EQ(platform::FindExisting("..\\TMP\\b.txt"), "../TMP/b.txt");
    EXPECT_EQ(platform::FindExisting("..\\TMP\\B.txt"), "../TMP/B.txt");
    // "B.TXT" < "B.txt" < "b.txt" in byte order.
    EXPECT_EQ(platform::FindExisting("..\\TMP\\b.TXT"), "../TMP/B.TXT");
}

TEST(FindExisting, InnerComponentsMatchOnlyDirectories) {
    WriteFile(RuntimePath("TMP/DATA"), "a file that sorts first");
    WriteFile(RuntimePath("TMP/data/x.bin"), "x");
    EXPECT_EQ(platform::FindExisting("..\\TMP\\Data\\X.BIN"), "../TMP/data/x.bin");
}

TEST_F(CaseInsensitiveTree, ResolveForWriteReusesExistingSpellingElseKeepsGiven) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"..\\tmp\\scope.sdc", "../TMP/Scope.SDC"},  // existing file reused
        {"..\\tmp\\New.Txt", "../TMP/New.Txt"},      // new file as spelled
        {"..\\tmp\\sub\\New.Txt", "../TMP/Sub/New.Txt"},
        {"..\\tmp\\NoDir\\f.txt", "../TMP/NoDir/f.txt"},  // missing dir kept as given
        {"..\\tmp\\Empty\\", "../TMP/Empty/"},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::ResolveForWrite(c.in), c.out) << c.in;
}

TEST_F(CaseInsensitiveTree, ExistenceChecksTellFilesFromDirectories) {
    EXPECT_TRUE(platform::FileExists("..\\tmp\\SCOPE.SDC"));
    EXPECT_FALSE(platform::DirectoryExists("..\\tmp\\SCOPE.SDC"));
    EXPECT_TRUE(platform::DirectoryExists("..\\tmp\\empty"));
    EXPECT_TRUE(platform::DirectoryExists("..\\FIRMDATA\\"));
    EXPECT_FALSE(platform::FileExists("..\\tmp\\empty"));
    EXPECT_FALSE(platform::FileExists("..\\tmp\\none"));
    EXPECT_FALSE(platform::DirectoryExists("..\\tmp\\none"));
    EXPECT_FALSE(platform::FileExists(""));
}

TEST(WildcardMatch, MatchesWithoutCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.00D", "4120_001.00d", true},
        {"*.00D", "4120_001.00D", true},
        {"*.00D", "4120_001.00DX", false},
        {"*.*", "NoDot", true},
        {"*.*", ".hidden", true},
        {"*", "", true},
        {"?", "", false},
        {"?", "a", true},
        {"2_???_??", "2_110_03", true},
        {"2_???_??", "2_110_3", false},
        {"2_???_??", "2_110_034", false},
        {"4_120_*", "4_120_", true},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},
        {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {"Scope.SDC", "scope.sdc", true},
        {"", "", true},
        {"", "x", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

TEST(EqualNoCase, ComparesAsciiLettersOnly) {
    EXPECT_TRUE(platform::EqualNoCase("ParaPrint.INi", "PARAPRINT.ini"));
    EXPECT_FALSE(platform::EqualNoCase("abc", "abcd"));
    EXPECT_FALSE(platform::EqualNoCase("a[", "A{"));              // '[' and '{' are 0x20 apart, not letters
    EXPECT_FALSE(platform::EqualNoCase("\xC3\xA4", "\xC3\x84"));  // no folding beyond ASCII
}

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    return names;
}

TEST(ListDirectory, SortsByUpperCasedNameWithAttributes) {
    WriteFile(RuntimePath("TMP/b.00d"), "12345");
    WriteFile(RuntimePath("TMP/A.00D"), "1");
    WriteFile(RuntimePath("TMP/_x.00D"), "");  // '_' sorts after letters once upper-cased
    WriteFile(RuntimePath("TMP/c.txt"), "");
    std::filesystem::create_directories(RuntimePath("TMP/Motors.00D"));
    struct utimbuf times {
        1000000000, 1000000000
    };
    ASSERT_EQ(::utime(RuntimePath("TMP/b.00d").c_str(), &times), 0);

    std::vector<DirEntry> entries = platform::ListDirectory("..\\tmp\\*.00D");
    ASSERT_EQ(Names(entries), (std::vector<std::string>{"A.00D", "b.00d", "Motors.00D", "_x.00D"}));
    EXPECT_FALSE(entries[0].is_directory);
    EXPECT_EQ(entries[0].size, 1u);
    EXPECT_EQ(entries[1].size, 5u);
    EXPECT_EQ(entries[1].write_time, 1000000000);
    EXPECT_TRUE(entries[2].is_directory);
}

TEST(ListDirectory, WriteTimeKeepsTheFractionOfTheSecond) {
    WriteFile(RuntimePath("TMP/f.prg"), "x");
    const struct timespec times[2] = {{1000000000, 250000000}, {1000000000, 250000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, RuntimePath("TMP/f.prg").c_str(), times, 0), 0);
    std::vector<DirEntry> entries = platform::ListDirectory("..\\tmp\\f.prg");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].write_time, 1000000000);
    EXPECT_EQ(entries[0].write_time_ns, 250000000);
}

TEST(ListDirectory, AllFilesWithoutDotEntries) {
    WriteFile(RuntimePath("TMP/noext"), "");
    WriteFile(RuntimePath("TMP/sub/x"), "");
    EXPECT_EQ(Names(platform::ListDirectory("..\\TMP\\*.*")), (std::vector<std::string>{"noext", "sub"}));
}

TEST(ListDirectory, NamesEqualWithoutCaseKeepAFixedOrder) {
    WriteFile(RuntimePath("TMP/ab"), "");
    WriteFile(RuntimePath("TMP/AB"), "");
    WriteFile(RuntimePath("TMP/Ab"), "");
    EXPECT_EQ(Names(platform::ListDirectory("..\\TMP\\*")), (std::vector<std::string>{"AB", "Ab", "ab"}));
}

TEST(ListDirectory, MissingDirectoryOrEmptyPatternGivesNothing) {
    WriteFile(RuntimePath("TMP/f"), "");
    EXPECT_TRUE(platform::ListDirectory("..\\TMP\\missing\\*.*").empty());
    EXPECT_TRUE(platform::ListDirectory("..\\TMP\\").empty());
    EXPECT_TRUE(platform::ListDirectory("..\\TMP\\f\\*").empty());
    EXPECT_TRUE(platform::ListDirectory("").empty());
}

TEST(ListDirectory, WorkingDirectoryWhenPatternHasNoDirectory) {
    WriteFile(RuntimePath("bin/Listed.tst"), "");
    EXPECT_EQ(Names(platform::ListDirectory("*.TST")), (std::vector<std::string>{"Listed.tst"}));
    std::filesystem::remove(RuntimePath("bin/Listed.tst"));
}

}  // namespace

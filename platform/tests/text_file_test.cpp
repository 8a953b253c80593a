#include "platform/files/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/staged_file.h"
#include "testsupport/test_env.h"

namespace {

using testsupport::ReadFile;
using testsupport::RuntimePath;
using testsupport::WriteFile;
using Lines = std::vector<std::string>;

TEST(SplitLines, AcceptsLfAndCrLf) {
    struct Case {
        const char* text;
        Lines lines;
    };
    const Case cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},  // last line without LF is kept
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\r\nb", {"a\r", "b"}},  // only one CR before the LF goes
        {"a\rb\n", {"a\rb"}},        // a lone CR is data
        {"tail\r", {"tail\r"}},
        {"\n", {""}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::SplitLines(c.text), c.lines) << c.text;
}

TEST(JoinLines, EachLineGetsTheLineEnd) {
    EXPECT_EQ(platform::JoinLines({"a", "", "b"}, platform::LineEnd::kCrLf), "a\r\n\r\nb\r\n");
    EXPECT_EQ(platform::JoinLines({"a", "b"}, platform::LineEnd::kLf), "a\nb\n");
    EXPECT_EQ(platform::JoinLines({}, platform::LineEnd::kCrLf), "");
}

TEST(ReadFiles, TextReadsDropCrBeforeLfBinaryReadsKeepEverything) {
    const char raw[] = "L1\r\nL2\rX\nL3\r\r\nend\0\xff";
    const std::string bytes(raw, sizeof raw - 1);
    WriteFile(RuntimePath("TMP/Mixed.TXT"), bytes);
    EXPECT_EQ(platform::ReadBinaryFile("..\\tmp\\mixed.txt"), bytes);
    EXPECT_EQ(platform::ReadTextFile("..\\tmp\\mixed.txt"), std::string("L1\nL2\rX\nL3\r\nend\0\xff", 17));
    EXPECT_EQ(platform::ReadTextLines("..\\TMP\\MIXED.txt"),
              (Lines{"L1", "L2\rX", "L3\r", std::string("end\0\xff", 5)}));
}

TEST(ReadFiles, MissingFileOrDirectoryIsNull) {
    std::filesystem::create_directories(RuntimePath("TMP/dir"));
    EXPECT_FALSE(platform::ReadBinaryFile("..\\TMP\\none.txt"));
    EXPECT_FALSE(platform::ReadTextFile("..\\TMP\\dir"));
    EXPECT_FALSE(platform::ReadTextLines(""));
}

TEST(ReadFiles, EmptyFileIsEmptyNotNull) {
    WriteFile(RuntimePath("TMP/empty"), "");
    EXPECT_EQ(platform::ReadBinaryFile("..\\TMP\\empty"), "");
    EXPECT_EQ(platform::ReadTextLines("..\\TMP\\empty"), Lines{});
}

std::vector<std::string> TmpNames() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(RuntimePath("TMP")))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplaceFile, CreatesAndReplacesLeavingNoTemporaryFile) {
    std::string error = "untouched";
    ASSERT_TRUE(platform::ReplaceFile("..\\TMP\\Out.ini", "first\r\n", &error));
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(ReadFile(RuntimePath("TMP/Out.ini")), "first\r\n");
    ASSERT_TRUE(platform::ReplaceFile("..\\tmp\\OUT.INI", "second"));  // same file, other case
    EXPECT_EQ(ReadFile(RuntimePath("TMP/Out.ini")), "second");
    EXPECT_EQ(TmpNames(), (std::vector<std::string>{"Out.ini"}));
}

TEST(ReplaceFile, KeepsPermissionsOfTheReplacedFile) {
    WriteFile(RuntimePath("TMP/perm"), "old");
    ASSERT_EQ(::chmod(RuntimePath("TMP/perm").c_str(), 0640), 0);
    ASSERT_TRUE(platform::ReplaceFile("..\\TMP\\perm", "new"));
    struct stat st {};
    ASSERT_EQ(::stat(RuntimePath("TMP/perm").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ReplaceFile, MissingDirectoryFailsWithSystemReason) {
    std::string error;
    EXPECT_FALSE(platform::ReplaceFile("..\\TMP\\nodir\\f.txt", "x", &error));
    EXPECT_EQ(error, std::strerror(ENOENT));
    EXPECT_FALSE(std::filesystem::exists(RuntimePath("TMP/nodir")));
}

TEST(ReplaceFile, FailedWriteLeavesOldFileIntact) {
    WriteFile(RuntimePath("TMP/locked/keep.txt"), "old contents");
    ASSERT_EQ(::chmod(RuntimePath("TMP/locked").c_str(), 0500), 0);
    if (::geteuid() == 0) {
        ::chmod(RuntimePath("TMP/locked").c_str(), 0700);
        GTEST_SKIP() << "root writes into read-only directories";
    }
    std::string error;
    bool replaced = platform::ReplaceFile("..\\TMP\\LOCKED\\keep.txt", "new", &error);
    ::chmod(RuntimePath("TMP/locked").c_str(), 0700);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(error, std::strerror(EACCES));
    EXPECT_EQ(ReadFile(RuntimePath("TMP/locked/keep.txt")), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(RuntimePath("TMP/locked")),
                            std::filesystem::directory_iterator()),
              1);
}

// A write that fails halfway (here: the file size limit) must not leave a
// shortened file behind.
TEST(ReplaceFile, WriteFailingHalfwayLeavesOldFileIntact) {
    WriteFile(RuntimePath("TMP/keep.txt"), "old contents");
    constexpr rlim_t kLimitBytes = 4;
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = kLimitBytes;
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::string error;
    bool replaced = platform::ReplaceFile("..\\TMP\\KEEP.TXT", std::string(100, 'n'), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(error, std::strerror(EFBIG));
    EXPECT_EQ(ReadFile(RuntimePath("TMP/keep.txt")), "old contents");
    EXPECT_EQ(TmpNames(), (std::vector<std::string>{"keep.txt"}));
}

TEST(ReplaceFile, TargetThatIsADirectoryStaysAndTemporaryIsRemoved) {
    WriteFile(RuntimePath("TMP/target/inner"), "x");
    std::string error;
    EXPECT_FALSE(platform::ReplaceFile("..\\TMP\\target", "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile(RuntimePath("TMP/target/inner")), "x");
    EXPECT_EQ(TmpNames(), (std::vector<std::string>{"target"}));
}

TEST(StagedFile, ASetOfFilesChangesOnlyWhenCommitted) {
    WriteFile(RuntimePath("TMP/Scope.SDC"), "old header");
    {
        platform::StagedFile header;
        platform::StagedFile values;
        ASSERT_TRUE(header.Open("..\\TMP\\scope.sdc"));
        ASSERT_TRUE(values.Open("..\\TMP\\Scope.DAT"));
        ASSERT_TRUE(header.Write("new header"));
        ASSERT_TRUE(values.Write("1;2"));
        ASSERT_TRUE(values.Commit());
        // The header is dropped uncommitted: it keeps its old bytes.
    }
    EXPECT_EQ(ReadFile(RuntimePath("TMP/Scope.SDC")), "old header");
    EXPECT_EQ(ReadFile(RuntimePath("TMP/Scope.DAT")), "1;2");
    EXPECT_EQ(TmpNames(), (std::vector<std::string>{"Scope.DAT", "Scope.SDC"}));
}

TEST(OpenFile, ReadsFindExistingFilesWritesKeepSpelling) {
    WriteFile(RuntimePath("TMP/Scope.SDC"), "abc");
    std::FILE* f = platform::OpenFile("..\\tmp\\scope.sdc", "rt");
    ASSERT_NE(f, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, f), 3u);
    std::fclose(f);
    EXPECT_STREQ(buffer, "abc");

    f = platform::OpenFile("..\\tmp\\SCOPE.sdc", "a");
    ASSERT_NE(f, nullptr);
    std::fputs("d\n", f);  // text modes write bytes as given
    std::fclose(f);
    EXPECT_EQ(ReadFile(RuntimePath("TMP/Scope.SDC")), "abcd\n");

    f = platform::OpenFile("..\\tmp\\New.Dat", "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(std::filesystem::exists(RuntimePath("TMP/New.Dat")));
}

TEST(OpenFile, MissingFileFailsWithErrno) {
    errno = 0;
    EXPECT_EQ(platform::OpenFile("..\\TMP\\none", "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(platform::OpenFile("..\\TMP\\none", ""), nullptr);
    EXPECT_EQ(platform::OpenFile("..\\TMP\\none", nullptr), nullptr);
}

TEST(RemoveFile, RemovesFilesOnly) {
    WriteFile(RuntimePath("TMP/Gone.txt"), "x");
    std::filesystem::create_directories(RuntimePath("TMP/dir"));
    EXPECT_TRUE(platform::RemoveFile("..\\tmp\\GONE.TXT"));
    EXPECT_FALSE(std::filesystem::exists(RuntimePath("TMP/Gone.txt")));
    EXPECT_FALSE(platform::RemoveFile("..\\tmp\\GONE.TXT"));
    EXPECT_FALSE(platform::RemoveFile("..\\tmp\\dir"));
    EXPECT_TRUE(std::filesystem::exists(RuntimePath("TMP/dir")));
}

TEST(SystemErrorText, IsTheSystemsText) {
    EXPECT_EQ(platform::SystemErrorText(ENOENT), std::strerror(ENOENT));
    EXPECT_FALSE(platform::SystemErrorText(99999).empty());
}

}  // namespace

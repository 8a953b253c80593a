#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/command_line.h"
#include "parameters/values/dstring.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_application.h"

namespace {

std::vector<std::string> Split(const std::string& line, const std::string& module) {
    char* argv[kMaxArguments] = {};
    const int count = SplitCommandLine(argv, line.c_str(), module);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        words.emplace_back(argv[i]);
        GwStrDelete(argv[i]);
    }
    return words;
}

TEST(CommandLineTest, SplitsWordsQuotesAndSeparators) {
    std::string many;
    for (int i = 0; i < 200; ++i) many += "w" + std::to_string(i) + " ";
    std::vector<std::string> first128 = {"/opt/torvan"};
    for (int i = 0; i < 127; ++i) first128.push_back("w" + std::to_string(i));

    struct Case {
        std::string line;
        std::string module;
        std::vector<std::string> words;
    } cases[] = {
        {"  a \"b c\"\t\td", "/opt/torvan", {"/opt/torvan", "a", "b c", "d"}},
        {"  a \"b c\"\t\td", "", {"Selk", "a", "b c", "d"}},
        {" \t\r\n  ", "/opt/torvan", {"/opt/torvan"}},
        {"a \t \r\n b", "m", {"m", "a", "b"}},
        {"\"x\ty z\"w", "m", {"m", "x\ty zw"}},
        {"\"\"", "m", {"m"}},
        {many, "/opt/torvan", first128},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Split(c.line, c.module), c.words) << c.line;
    }
}

TEST(CommandLineTest, ModulePathIsTheProgramsOwn) {
    const std::string path = ModulePathForArguments();
    EXPECT_FALSE(path.empty());
    EXPECT_LE(path.size(), kMaxModulePathLength);
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

// Switches: "/W" or "-w" with the directory in the same argument, any other
// switch ignored, the last plain argument the start file.
TEST(CommandLineTest, ArgumentRulesPickDirectoryAndStartFile) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::create_directories(before / "sub");
    struct Case {
        std::vector<std::string> args;
        std::string startFile;
        bool changes;
    } cases[] = {
        {{"torvan", "-Wsub", "x", "y", "/Q"}, "y", true},
        {{"torvan", "/wsub", "x", "y", "/Q"}, "y", true},
        {{"torvan", "/Qsub", "-X", "a.00D"}, "a.00D", false},
        {{"torvan"}, "", false},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
        dstring startFile;
        EXPECT_TRUE(ApplyCommandLineArguments(static_cast<int>(argv.size()), argv.data(), startFile));
        EXPECT_STREQ(startFile.Text(), c.startFile.c_str()) << c.args[1 % c.args.size()];
        EXPECT_EQ(std::filesystem::current_path() == before / "sub", c.changes) << c.args[1 % c.args.size()];
        std::filesystem::current_path(before);
    }
    // A directory that does not exist leaves the working directory alone.
    std::string arg = "-Wmissing";
    char* argv[] = {const_cast<char*>("torvan"), arg.data()};
    dstring startFile;
    EXPECT_FALSE(ApplyCommandLineArguments(2, argv, startFile));
    EXPECT_EQ(std::filesystem::current_path(), before);
}

}  // namespace

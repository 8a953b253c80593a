#include "platform/system/program_start.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/files/registry_store.h"
#include "platform/files/text_file.h"
#include "platform/system/dynamic_library.h"
#include "platform/tests/scoped_env.h"
#include "testsupport/test_env.h"

namespace {

using platform::ProgramStart;
using platform_test::ScopedEnv;
using Words = std::vector<std::string>;

// The helper program built beside this test; it writes its arguments to
// ../TMP/argv.txt and exits with their count.
std::string ProbePath() { return platform::ExecutableDirectory() + "/torvan_argv_probe"; }

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::WriteFile(testsupport::RuntimePath("TMP/Prog 1.prg"), "P1\n"); }
};

TEST_F(ProgramStartTest, CommandsTheSystemRuns) {
    ScopedEnv visual("VISUAL", nullptr);
    ScopedEnv editor("EDITOR", "code --wait");
    struct Case {
        ProgramStart start;
        Words expected;
    } cases[] = {
        // the editor alias with a quoted path that exists
        {{"notepad.exe", {"notepad.exe", "\"..\\TMP\\Prog 1.prg\""}, true}, {"code", "--wait", "../TMP/Prog 1.prg"}},
        // a new file in an existing directory, unquoted, and an option that is no path
        {{"notepad.exe", {"notepad.exe", "/p", "..\\tmp\\TmpPosProg.prg"}, true},
         {"code", "--wait", "/p", "../TMP/TmpPosProg.prg"}},
        // help viewer: the opener gets the document only
        {{"C:\\WINDOWS\\hh.exe", {"-mapid1200 ", "..\\LANGUAGE\\049\\Torvan.chm"}, false},
         {"xdg-open", "..\\LANGUAGE\\049\\Torvan.chm"}},
        {{"explorer", {"explorer", "..\\userdata"}, false}, {"xdg-open", "../userdata"}},
        // no shell: a text with shell syntax stays one argument
        {{"explorer", {"explorer", "x & del *.00D; rm -rf ~"}, false}, {"xdg-open", "x & del *.00D; rm -rf ~"}},
        // a reader started with the quoted document as its only argument
        {{"/opt/reader/bin/reader", {"\"..\\TMP\\Prog 1.prg\""}, false},
         {"/opt/reader/bin/reader", "../TMP/Prog 1.prg"}},
        // the quoted document started as a program
        {{"\"..\\TMP\\Prog 1.prg\"", {"\"..\\TMP\\Prog 1.prg\""}, false}, {"../TMP/Prog 1.prg"}},
        // a tool named with quotes, its own name as the first argument
        {{"\"plottool\"", {"\"plottool\"", "\"..\\TMP\\Scope.SDC\""}, false}, {"plottool", "../TMP/Scope.SDC"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start.program);
        EXPECT_EQ(platform::NativeCommand(c.start), c.expected);
    }
}

TEST_F(ProgramStartTest, RegistryAliasOverridesTheBuiltInOnes) {
    ASSERT_EQ(platform::TheRegistry().SetValue(platform::kProgramAliasKey, "NOTEPAD.EXE", "\"/opt/my editor/edit\" -w"),
              platform::RegistryStatus::kOk);
    EXPECT_EQ(platform::NativeCommand({"notepad.exe", {"notepad.exe", "a.txt"}, true}),
              (Words{"/opt/my editor/edit", "-w", "a.txt"}));
}

TEST_F(ProgramStartTest, TestsRecordStartsAndRunNothingByDefault) {
    EXPECT_EQ(platform::StartProgram(ProbePath(), {ProbePath(), "x"}, true), 0);
    EXPECT_EQ(platform::OpenWithDesktop("..\\userdata"), 0);
    EXPECT_EQ(platform::RecordedProgramStarts(),
              (std::vector<ProgramStart>{{ProbePath(), {ProbePath(), "x"}, true},
                                         {"explorer", {"explorer", "..\\userdata"}, false}}));
    EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("TMP/argv.txt")));
}

TEST_F(ProgramStartTest, WaitedStartRemovesQuotesAndReturnsTheExitCode) {
    platform::UseRealProgramStarts();
    const Words args = {"\"" + ProbePath() + "\"", "\"..\\TMP\\Prog 1.prg\"", "-mapid1200 ", "\"\""};
    EXPECT_EQ(platform::StartProgram("\"" + ProbePath() + "\"", args, true), 3);
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/argv.txt")), "../TMP/Prog 1.prg\n-mapid1200 \n\n");
    ASSERT_EQ(platform::RecordedProgramStarts().size(), 1u);
    EXPECT_EQ(platform::RecordedProgramStarts()[0].args, args);  // the Windows form, quotes and all

    EXPECT_EQ(platform::StartProgram("false", {"false"}, true), 1);
    EXPECT_EQ(platform::StartProgram("true.exe", {"true.exe"}, true), 0);  // ".exe" dropped when needed
}

TEST_F(ProgramStartTest, StartWithoutWaitingRuns) {
    platform::UseRealProgramStarts();
    EXPECT_EQ(platform::StartProgram(ProbePath(), {ProbePath(), "..\\TMP\\Prog 1.prg"}, false), 0);
    platform::WaitForStartedPrograms();
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/argv.txt")), "../TMP/Prog 1.prg\n");
}

TEST_F(ProgramStartTest, MissingProgramFailsWithTheSystemsReason) {
    platform::UseRealProgramStarts();
    for (bool wait : {false, true}) {
        errno = 0;
        EXPECT_EQ(platform::StartProgram("no-such-viewer.exe", {"no-such-viewer.exe", "x"}, wait), -1);
        EXPECT_EQ(platform::SystemErrorText(errno), platform::SystemErrorText(ENOENT));
    }
    errno = 0;
    EXPECT_EQ(platform::StartProgram("..\\TMP\\Prog 1.prg", {"x"}, true), -1);  // not executable
    EXPECT_EQ(errno, EACCES);
}

}  // namespace

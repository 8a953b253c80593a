#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main/app_context.h"
#include "app/main/main_object.h"
#include "app/mainwindow/docking_manager.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "app/shell/callback_tables.h"
#include "app/shell/main_window_parts.h"
#include "app/shell/program_exit.h"
#include "app/shell/program_main.h"
#include "parameters/values/dstring.h"
#include "paratools/print/para_print_settings.h"
#include "platform/system/dynamic_library.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

// Runs `main` over definition sets written into the tree's bin/ and puts the
// shipped files back afterwards.
class ProgramMainTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& [file, bytes] : saved_) testsupport::WriteFile(Bin(file), bytes);
        DestroyMainObject();
    }

    static std::filesystem::path Bin(const std::string& file) { return testsupport::RuntimePath("bin/" + file); }

    void Replace(const std::string& file, const std::string& bytes) {
        Save(file);
        testsupport::WriteFile(Bin(file), bytes);
    }
    void Remove(const std::string& file) {
        Save(file);
        std::filesystem::remove(Bin(file));
    }
    void Save(const std::string& file) {
        if (!saved_.count(file)) saved_[file] = testsupport::ReadFile(Bin(file));
    }

    static int RunMain(std::vector<std::string> args = {}) {
        args.insert(args.begin(), "torvan");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        return shell::main(static_cast<int>(argv.size()), argv.data());
    }

    static bool AnyTableRegistered() { return GwRcMgr::lookup_function(kInterpreterName) != nullptr; }

    std::map<std::string, std::string> saved_;
};

TEST_F(ProgramMainTest, DefinitionFilesLoadInOrderAndTheFirstMissingOneEndsTheStart) {
    Remove("oem.cgw");
    EXPECT_EQ(RunMain(), 1);
    EXPECT_EQ(GwRcMgr::used_files(), (std::vector<std::string>{"torvan.cgw", "plot.cgw"}));
    const auto& log = testsupport::LoggedLines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "GwRcMgr::use: cannot read \"oem.cgw\"");
    EXPECT_FALSE(AnyTableRegistered());
    EXPECT_EQ(GetMain(), nullptr);
}

TEST_F(ProgramMainTest, AllSeventeenFilesThenEveryTable) {
    Replace("Grelo.cgw", "dialogframe MainWindow { rect = 0, 0, 100, 100 }\n");
    EXPECT_EQ(RunMain(), 0);
    EXPECT_EQ(GwRcMgr::used_files(), DefinitionFiles());
    EXPECT_EQ(GwRcMgr::used_files().back(), "Grelo.cgw");
    EXPECT_TRUE(AnyTableRegistered());
    EXPECT_NE(GwRcMgr::lookup_function("CB_IdentOk"), nullptr);
    EXPECT_NE(GetMain(), nullptr);
}

// The second table has an entry without a function: the first stays
// registered, nothing after it is, and main ends with 1 before making Main.
TEST_F(ProgramMainTest, ARefusedTableEndsTheStart) {
    static constexpr GwFuncDesc kFirst[] = {{"FirstTableEntry", CB_CanExitTorvel}, {nullptr, nullptr}};
    static constexpr GwFuncDesc kBroken[] = {{"BrokenEntry", nullptr}, {nullptr, nullptr}};
    static constexpr GwFuncDesc kThird[] = {{"ThirdTableEntry", CB_CanExitTorvel}, {nullptr, nullptr}};
    const std::vector<const GwFuncDesc*> tables = {kFirst, kBroken, kThird};
    ReplaceCallbackTables(&tables);
    EXPECT_EQ(RunMain(), 1);
    ReplaceCallbackTables(nullptr);
    EXPECT_NE(GwRcMgr::lookup_function("FirstTableEntry"), nullptr);
    EXPECT_EQ(GwRcMgr::lookup_function("ThirdTableEntry"), nullptr);
    EXPECT_EQ(GetMain(), nullptr);
}

TEST_F(ProgramMainTest, AMainWindowThatIsNoApplicationFrameGetsNoRun) {
    Replace("Grelo.cgw", "dialogframe MainWindow { rect = 0, 0, 100, 100 }\n");
    bool ran = false;
    gwtest::ScriptModal(
        "", [&](GwCore*) { ran = true; }, 1);
    EXPECT_EQ(RunMain(), 0);
    EXPECT_FALSE(ran);
    EXPECT_EQ(gwtest::UnusedAnswers(), 1);
    EXPECT_EQ(App().GetDockingManager(), nullptr);
    EXPECT_EQ(MainWindowObject(), nullptr);
}

TEST_F(ProgramMainTest, AnApplicationFrameRunsModallyWithItsIconAndIsEndedAfterwards) {
    Replace("Grelo.cgw", "applframe MainWindow { rect = 0, 0, 300, 200 }\n");
    GwCore* seen = nullptr;
    std::string icon;
    bool printSettingsOpen = false;
    gwtest::ScriptModal("MainWindow", [&](GwCore* window) {
        seen = window;
        icon = window->icon();
        printSettingsOpen = ProgramPrintSettings() != nullptr;
        SetMainWindow(window);
        MessageBoxesEnabled = true;
        window->close();
    });
    EXPECT_EQ(RunMain(), 0);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(icon, "Icon1");
    // The program's print settings live from the start to the end of the run.
    EXPECT_TRUE(printSettingsOpen);
    EXPECT_EQ(ProgramPrintSettings(), nullptr);
    EXPECT_FALSE(GwRcMgr::is_valid_child(seen));
    // Nothing shows a box over the ended frame.
    EXPECT_EQ(GetMainWindow(), nullptr);
    EXPECT_FALSE(MessageBoxesEnabled);
}

TEST_F(ProgramMainTest, AFrameEndedDuringItsRunIsNotTouchedAgain) {
    Replace("Grelo.cgw", "applframe MainWindow { rect = 0, 0, 300, 200 }\n");
    gwtest::ScriptModal("MainWindow", [](GwCore* window) { window->destroy(); });
    EXPECT_EQ(RunMain(), 0);
    EXPECT_EQ(MainWindowObject(), nullptr);
}

// The main window's create callback ends a frame without its state line: the
// run ends at once and nothing touches the ended frame.
TEST_F(ProgramMainTest, AMainWindowWithoutBusStateEndsItsRunAtOnce) {
    Replace("Grelo.cgw", "applframe MainWindow { rect = 0, 0, 300, 200; on create = MainWindow_create }\n");
    EXPECT_EQ(RunMain(), 0);
    EXPECT_EQ(MainWindowObject(), nullptr);
    EXPECT_EQ(GetMainWindow(), nullptr);
    EXPECT_EQ(App().GetDockingManager(), nullptr);
}

TEST_F(ProgramMainTest, AnExceptionShowsMessage143ClosesTheListedWindowsAndLogs) {
    Replace("Grelo.cgw", "applframe MainWindow { rect = 0, 0, 300, 200 }\n");
    GwCore* tool = nullptr;
    gwtest::ScriptModal("MainWindow", [&](GwCore* window) {
        SetMainWindow(window);
        MessageBoxesEnabled = true;
        tool = new GwDialogFrame("ToolWindow", window);
        tool->show();
        TheWindowHandler().Add(tool, 0);
        throw std::runtime_error("fault");
    });
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    const std::string logBefore = testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt"));
    EXPECT_EQ(RunMain(), 1);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_NE(gwtest::Boxes()[0].text.find("!"), std::string::npos);
    EXPECT_EQ(TheWindowHandler().Count(), 0);
    EXPECT_FALSE(gwtest::IsVisible("ToolWindow"));
    const std::string log = testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt"));
    ASSERT_GT(log.size(), logBefore.size());
    const std::string entry = "\tException termination of application\n\n";
    ASSERT_GT(log.size(), entry.size() + 25);
    EXPECT_EQ(log.substr(log.size() - entry.size() - 25), "Thu Jan  1 00:00:00 2026\n" + entry);
}

TEST_F(ProgramMainTest, TheStartFileIsKeptForTheEndOfStartUp) {
    Remove("oem.cgw");
    EXPECT_EQ(RunMain({"x.00D", "/Q", "y.prg"}), 1);
    EXPECT_STREQ(StartFileText().Text(), "y.prg");
}

// A "TestTool" module stays loaded unless its init function returns 0.
TEST(TestToolModuleTest, StaysLoadedOnlyWhenItsInitFunctionReturnsNonZero) {
    const std::string path = platform::ExecutableDirectory() + "/libtorvan_testtool_probe.so";
    for (const char* result : {"0", "7"}) {
        ASSERT_EQ(::setenv("TORVAN_TESTTOOL", "torvan_testtool_probe", 1), 0);
        ASSERT_EQ(::setenv("TORVAN_TESTTOOL_RESULT", result, 1), 0);
        LoadTestToolModule();
        ::unsetenv("TORVAN_TESTTOOL");
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        EXPECT_EQ(handle != nullptr, std::string(result) != "0") << result;
        if (handle != nullptr) ::dlclose(handle);
    }
}

}  // namespace

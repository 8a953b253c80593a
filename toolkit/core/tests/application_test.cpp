// Application start and end, the module class, argument strings and help.
#include <gtest/gtest.h>

#include <map>

#include "platform/system/dynamic_library.h"
#include "toolkit/core/gw_application.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_tokens.h"
#include "toolkit/core/tests/toolkit_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace toolkit_test {
namespace {

class Application : public ToolkitTest {};

int g_destroyed = 0;
int CountDestroy(GwCore*, GwEvent*, GwUD) {
    ++g_destroyed;
    return 1;
}

TEST_F(Application, CleanupDestroysRemainingWindowsAndStopsTimers) {
    ASSERT_TRUE(GwInitApplication(nullptr, nullptr, 1));
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    GwCore* dialog = GwRcMgr::load(main, "Settings", 1);
    main->show();
    main->start_timer(100);
    g_destroyed = 0;
    main->set_callback(GwCB_DESTROY, CountDestroy);
    dialog->set_callback(GwCB_DESTROY, CountDestroy);
    Calls().clear();
    GwCleanupApplication(1);
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_FALSE(GwRcMgr::is_valid_child(main));
    EXPECT_FALSE(GwRcMgr::is_valid_child(dialog));
    gwtest::Advance(1000);
    EXPECT_TRUE(Calls().empty()) << "no timer of a destroyed window runs";
}

TEST_F(Application, HooksStartNull) {
    EXPECT_EQ(inter_init, nullptr);
    EXPECT_EQ(gwsql_init, nullptr);
    EXPECT_EQ(gwsql_exit, nullptr);
    EXPECT_EQ(inter_exit, nullptr);
}

int g_init_calls = 0;
int InitTestFunc() { return ++g_init_calls; }

TEST_F(Application, ModuleNamedByTheDatabaseLoadsAndFindsItsFunction) {
    platform::RegisterModule("testtool", {{"init_test_func", reinterpret_cast<void*>(&InitTestFunc)}});
    const char* name = GwRcMgr::value("TestTool");
    ASSERT_NE(name, nullptr);
    GwModule module(name);
    ASSERT_TRUE(module.is_loaded());
    auto fn = reinterpret_cast<int (*)()>(module.symbol("init_test_func"));
    ASSERT_NE(fn, nullptr);
    g_init_calls = 0;
    EXPECT_EQ(fn(), 1);
    EXPECT_EQ(module.symbol("no_such_function"), nullptr);
    module.set_unload(true);
}

TEST_F(Application, MissingModuleIsNotLoadedAndHasNoFunctions) {
    GwModule module("no_such_test_tool");
    EXPECT_FALSE(module.is_loaded());
    EXPECT_EQ(module.symbol("init_test_func"), nullptr);
}

TEST_F(Application, ArgumentStringsAreDuplicatedAndFreed) {
    char* copy = GwStrDup("-W..\\userdata");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "-W..\\userdata");
    GwStrDelete(copy);
    EXPECT_EQ(GwStrDup(nullptr), nullptr);
    GwStrDelete(nullptr);
}

TEST_F(Application, HelpRequestsAreRecorded) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->show_help(2);
    auto help = gwtest::Effects("help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].widget, "MainWindow");
    EXPECT_EQ(help[0].value, "2 rk_help 1200");
}

TEST(Tokens, DefaultSeparatorsSplitWithoutEmptyTokens) {
    EXPECT_EQ(GwSplitTokens("W1 W2"), (std::vector<std::string>{"W1", "W2"}));
    EXPECT_EQ(GwSplitTokens(" A,,B;\tC\r\nD "), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_TRUE(GwSplitTokens(" ,; ").empty());
}

}  // namespace
}  // namespace toolkit_test

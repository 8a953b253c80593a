// Callbacks bound by name: the tables, what a callback receives, and when
// the toolkit calls create, show and close callbacks.
#include <gtest/gtest.h>

#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/tests/toolkit_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace toolkit_test {
namespace {

class Callbacks : public ToolkitTest {};

GwEvent g_seen_event;
GwUD g_seen_ud;
GwCore* g_seen_widget = nullptr;

int Remember(GwCore* w, GwEvent* ev, GwUD ud) {
    g_seen_widget = w;
    g_seen_event = ev != nullptr ? *ev : GwEvent();
    g_seen_ud = ud;
    return 1;
}

TEST_F(Callbacks, ClickRunsTheBoundCallbackWithWidgetEventAndUserData) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->show();
    Calls().clear();
    ASSERT_TRUE(gwtest::Click("MainWindow/BT_Save"));
    ASSERT_EQ(CallNames(), std::vector<std::string>{"CB_Save"});
    const Call& call = Calls()[0];
    EXPECT_EQ(call.widget, main->child("BT_Save"));
    EXPECT_EQ(call.type, GwCB_ACTIVATE);
    EXPECT_EQ(call.user_data, "online");
}

int First(GwCore*, GwEvent*, GwUD) { return 11; }
int Second(GwCore*, GwEvent*, GwUD) { return 22; }

TEST_F(Callbacks, SameNameInTwoTablesBindsTheFirstRegistration) {
    const GwFuncDesc table_a[] = {{"interpreter", First}, {nullptr, nullptr}};
    const GwFuncDesc table_b[] = {{"interpreter", Second}, {"CB_OnlyInB", Second}, {nullptr, nullptr}};
    ASSERT_EQ(GwRcMgr::use_func_desc(table_a), 1);
    ASSERT_EQ(GwRcMgr::use_func_desc(table_b), 1);
    EXPECT_EQ(GwRcMgr::lookup_function("interpreter"), &First);
    EXPECT_EQ(GwRcMgr::lookup_function("CB_OnlyInB"), &Second);

    WriteDefinitionFile("interp.cgw",
                        "dialogframe D {\n"
                        "  button A { on activate = interpreter \"a\" }\n"
                        "  button B { on activate = interpreter \"b\" }\n"
                        "}\n");
    ASSERT_TRUE(GwRcMgr::use("interp.cgw"));
    GwCore* d = GwRcMgr::load(nullptr, "D", 1);
    GwEvent ev;
    EXPECT_EQ(d->child("A")->fire(GwCB_ACTIVATE, ev), 11);
    EXPECT_EQ(d->child("B")->fire(GwCB_ACTIVATE, ev), 11);
}

TEST_F(Callbacks, MalformedTablesAreRefusedWhole) {
    const GwFuncDesc name_only[] = {{"CB_Good", First}, {"CB_NoFunction", nullptr}, {nullptr, nullptr}};
    const GwFuncDesc function_only[] = {{nullptr, First}, {nullptr, nullptr}};
    const GwFuncDesc empty_name[] = {{"", First}, {nullptr, nullptr}};
    const GwFuncDesc empty_table[] = {{nullptr, nullptr}};
    EXPECT_EQ(GwRcMgr::use_func_desc(nullptr), 0);
    EXPECT_EQ(GwRcMgr::use_func_desc(name_only), 0);
    EXPECT_EQ(GwRcMgr::use_func_desc(function_only), 0);
    EXPECT_EQ(GwRcMgr::use_func_desc(empty_name), 0);
    EXPECT_EQ(GwRcMgr::lookup_function("CB_Good"), nullptr) << "a refused table registers nothing";
    EXPECT_EQ(GwRcMgr::use_func_desc(empty_table), 1);
}

TEST_F(Callbacks, CreateRunsOnceAtFirstShowNeverInLoad) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    EXPECT_TRUE(Calls().empty()) << "no callback runs inside load";
    main->set_user_data(GwUD(static_cast<void*>(main)));
    main->show();
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"CB_Create", "CB_Show"}));
    EXPECT_EQ(Calls()[0].user_data, "main");
    main->hide();
    main->show();
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"CB_Create", "CB_Show", "CB_Show"}))
        << "hide and show again is a redraw: show, no second create";
}

int RefuseClose(GwCore*, GwEvent*, GwUD) { return 0; }

TEST_F(Callbacks, CloseCallbackReturningZeroRefusesTheClose) {
    GwCore* dialog = GwRcMgr::load(nullptr, "Settings", 1);
    dialog->set_close_mode(GwCLOSE_DESTROY);
    dialog->show();
    dialog->set_callback(GwCB_CLOSE, RefuseClose);
    EXPECT_FALSE(gwtest::Close(dialog));
    EXPECT_TRUE(GwRcMgr::is_valid_child(dialog));
    EXPECT_TRUE(dialog->is_visible());
    dialog->set_callback(GwCB_CLOSE, nullptr);
    EXPECT_TRUE(gwtest::Close(dialog));
    EXPECT_FALSE(GwRcMgr::is_valid_child(dialog)) << "close mode 2 destroys";
}

int DestroyOwnFrame(GwCore* w, GwEvent*, GwUD) {
    w->frame()->destroy();
    return 1;
}

TEST_F(Callbacks, FrameDestroyedByItsCreateCallbackEndsItsModalRunAtOnce) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->set_callback(GwCB_CREATE, DestroyOwnFrame);
    // No modal script: a run that ends before the user could act needs none.
    main->go();
    EXPECT_FALSE(GwRcMgr::is_valid_child(main));
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST_F(Callbacks, ButtonPressAndReleaseCarryTheirCodes) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->show();
    main->child("BT_Save")->set_callback(GwCB_BUTTON, Remember, GwUD(7));
    ASSERT_TRUE(gwtest::PressButton("MainWindow/BT_Save"));
    EXPECT_EQ(g_seen_event.reason, GwBUTTON_DOWN);
    EXPECT_EQ(g_seen_ud.integer(), 7);
    ASSERT_TRUE(gwtest::ReleaseButton("MainWindow/BT_Save"));
    EXPECT_EQ(g_seen_event.reason, GwBUTTON_UP);
    EXPECT_EQ(g_seen_widget, main->child("BT_Save"));
}

TEST_F(Callbacks, DisabledOrHiddenButtonsRefuseClicks) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->show();
    std::vector<std::string> failures;
    gwtest::SetFailureReporter([&](const std::string& m) { failures.push_back(m); });
    main->child("MainContainer")->disable();
    EXPECT_FALSE(gwtest::Click("MainWindow/BT_Save")) << "a disabled parent disables its children";
    main->child("MainContainer")->enable();
    main->child("BT_Save")->hide();
    EXPECT_FALSE(gwtest::Click("MainWindow/BT_Save"));
    EXPECT_TRUE(Calls().size() == 2) << "only create and show ran";
    EXPECT_EQ(failures.size(), 2u);
}

TEST_F(Callbacks, NamedEventsReachTheirBinding) {
    WriteDefinitionFile("ole.cgw",
                        "dialogframe PlcEditorX {\n"
                        "  olecontrol EditorControl {\n"
                        "    class_id = \"{00000000-0000-0000-0000-000000000001}\"\n"
                        "    on FileToArchive = CB_Save \"archive\"\n"
                        "  }\n"
                        "}\n");
    ASSERT_TRUE(GwRcMgr::use("ole.cgw"));
    GwCore* w = GwRcMgr::load(nullptr, "PlcEditorX", 1);
    GwCore* control = w->child("EditorControl");
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->is_class(GwOLECONTROL_CLASS));
    EXPECT_EQ(control->attribute_text("class_id"), "{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(gwtest::Fire(control, "FileToArchive"), 1);
    ASSERT_EQ(CallNames(), std::vector<std::string>{"CB_Save"});
    EXPECT_EQ(Calls()[0].user_data, "archive");
}

}  // namespace
}  // namespace toolkit_test

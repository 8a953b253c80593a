// What the program's windows do through the test driver: keys on any
// widget, help, moving widgets to another parent, opening menus, tree
// popups and clicks, maximising and centring on the virtual screen, the
// stacking order, and scrolled containers. Each table holds the refusals too.
#include <gtest/gtest.h>

#include "platform/base/log_sink.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_application.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tests3/spine_fixture.h"
#include "toolkit/tree/gw_tree.h"

namespace spine_test {
namespace {

using Lines = std::vector<std::string>;

class Windows : public SpineTest {
protected:
    // Driver refusals as lines instead of test failures.
    void CaptureFailures() {
        gwtest::SetFailureReporter([this](const std::string& m) { failures.push_back(m); });
    }
    Lines failures;
};

TEST_F(Windows, KeysReachAnyWidgetBindingFirstThenTheKind) {
    struct Case {
        const char* target;
        int key;
        bool taken;
        Lines notes;
        std::function<void(GwCore* main)> check;
    };
    const Case cases[] = {
        {"Field", 'a', true, {"Field key key=97"}, [](GwCore* m) { EXPECT_EQ(m->child("Field")->text(), "a"); }},
        {"Locked", 'a', false, {"Locked key key=97"}, [](GwCore* m) { EXPECT_EQ(m->child("Locked")->text(), ""); }},
        {"Locked", GwKEY_F1, false, {"Locked key key=4208"}, nullptr},
        {"Field", GwKEY_F1, true, {"Field key key=4208", "Field help key=4208"}, nullptr},
        {"State", GwKEY_F1, true, {"State help key=4208"}, nullptr},
        {"State", 'x', false, {}, nullptr},
        {"Rows", GwKEY_RETURN, true, {"Rows key key=13", "Rows activate row=1"}, nullptr},
        {"", GwKEY_RETURN, true, {"OK activate"}, nullptr},
        // Escape closes dialogs, not the application's frame.
        {"Rows", GwKEY_ESCAPE, false, {"Rows key key=27"}, [](GwCore* m) { EXPECT_TRUE(m->is_visible()); }},
        {"", GwKEY_ESCAPE, false, {}, [](GwCore* m) { EXPECT_TRUE(m->is_visible()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " key " + std::to_string(c.key));
        GwCore* main = Show("Main");
        static_cast<GwItemList*>(main->child("Rows"))->select(1);
        GwCore* target = c.target[0] != '\0' ? main->child(c.target) : main;
        EXPECT_EQ(gwtest::PressKey(target, c.key), c.taken);
        EXPECT_EQ(Notes(), c.notes);
        if (c.check) c.check(main);
        main->destroy();
    }
}

TEST_F(Windows, ReturnAndEscapeEndAModalDialog) {
    struct Case {
        int key;
        int result;
    };
    for (const Case& c : {Case{GwKEY_RETURN, GwRESULT_YES}, Case{GwKEY_ESCAPE, GwRESULT_CANCEL}}) {
        SCOPED_TRACE(c.key);
        GwCore* dialog = GwRcMgr::load(nullptr, "Confirm", 1);
        gwtest::ScriptModal("Confirm", [&](GwCore* w) { EXPECT_TRUE(gwtest::PressKey(w->child("Question"), c.key)); });
        EXPECT_EQ(dialog->go(), c.result);
    }
}

TEST_F(Windows, HelpTextComesFromTheDefinitionAndItsDisplayIsRecorded) {
    GwCore* state = Show("Main")->child("State");
    EXPECT_EQ(state->help_text(), "Shows the drive state");
    state->show_help_text();
    state->set_help_text("Drive state");
    state->show_help_text();
    Lines shown;
    for (const GwEffect& e : gwtest::Effects("help text")) shown.push_back(e.widget + ": " + e.value);
    EXPECT_EQ(shown, (Lines{"Main.State: Shows the drive state", "Main.State: Drive state"}));
}

TEST_F(Windows, SetParentRefusesCyclesAndDeadWidgets) {
    GwCore* main = Show("Main");
    GwCore* child = GwRcMgr::load(nullptr, "Child", 1);
    GwCore* gone = GwRcMgr::load(nullptr, "Child", 1);
    gone->destroy();
    struct Case {
        GwCore* widget;
        GwCore* parent;
        bool moved;
        const char* identifier;
    };
    const Case cases[] = {
        {child, main, true, "Main.Child"},
        {main->child("State"), main->child("Row0"), true, "Main.Params.Row0.State"},
        {main, main, false, "Main"},
        {main, main->child("Name1"), false, "Main"},
        {child, gone, false, "Main.Child"},
        {gone, main, false, "Child"},
        {child, nullptr, true, "Child"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(c.widget->set_parent(c.parent), c.moved);
        EXPECT_EQ(c.widget->identifier(), c.identifier);
    }
    EXPECT_EQ(gwtest::Find("Main/Row0/State"), main->child("State"));
}

TEST_F(Windows, OpeningAMenuRunsItsCreateOnceAndItsShowEveryTime) {
    GwCore* main = Show("Main");
    GwCore* popup = GwRcMgr::load(nullptr, "DevicePopup", 1);
    CaptureFailures();
    struct Case {
        const char* what;
        std::function<void()> before;
        gwtest::Target menu;
        bool opened;
        Lines notes;
    };
    const Case cases[] = {
        // The menu bar's menus were made with their frame.
        {"first open", nullptr, "Main/Window", true, {"Window show"}},
        {"a hidden popup", nullptr, popup, true, {"DevicePopup show"}},
        {"again", nullptr, popup, true, {"DevicePopup show"}},
        {"disabled", [main] { main->child("Window")->disable(); }, "Main/Window", false, {}},
        {"in a hidden frame",
         [main] {
             main->child("Window")->enable();
             main->hide();
         },
         "Main/Window",
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.before) c.before();
        Notes().clear();
        failures.clear();
        EXPECT_EQ(gwtest::OpenMenu(c.menu), c.opened);
        EXPECT_EQ(Notes(), c.notes);
        EXPECT_EQ(failures.size(), c.opened ? 0u : 1u);
    }
    EXPECT_EQ(gwtest::Effects("menu open").size(), 3u);
}

GwTreeEntry* Entry(const char* id, GwCore* popup) {
    auto* e = new GwTreeEntry(GwUD(), id, 1);
    e->set_id(id);
    e->set_popup(popup);
    return e;
}

TEST_F(Windows, TreeEntriesTakePopupsAndClicksAsTheUserGivesThem) {
    GwCore* main = Show("Main");
    auto* tree = main->child<GwTree>("Devices");
    GwCore* popup = GwRcMgr::load(nullptr, "DevicePopup", 1);
    GwCore* dead_popup = GwRcMgr::load(nullptr, "DevicePopup", 1);
    GwTreeEntry* root = Entry("net", nullptr);
    tree->set_entries(root);
    tree->add_entry(root, Entry("drive", popup));
    tree->add_entry(root, Entry("scope", dead_popup));
    tree->expand_entry(root, true);
    dead_popup->destroy();
    CaptureFailures();
    struct Case {
        const char* what;
        std::function<bool()> act;
        bool done;
        Lines notes;
        const char* selected;
    };
    const Case cases[] = {
        {"popup",
         [&] { return gwtest::OpenEntryPopup(tree, "drive"); },
         true,
         {"Devices select entry=drive", "DevicePopup show"},
         "drive"},
        {"popup destroyed", [&] { return gwtest::OpenEntryPopup(tree, "scope"); }, false, {}, "drive"},
        {"no popup", [&] { return gwtest::OpenEntryPopup(tree, "net"); }, false, {}, "drive"},
        {"click",
         [&] { return gwtest::ClickTreeEntry(tree, "net"); },
         true,
         {"Devices select entry=net", "Devices mouse entry=net state=1"},
         "net"},
        {"popup on a deleted entry",
         [&] {
             tree->delete_entry(root->child(0));
             return gwtest::OpenEntryPopup(tree, "drive");
         },
         false,
         {},
         "net"},
        {"double click",
         [&] { return gwtest::ClickTreeEntry(tree, "scope", GwMOUSE_BUTTON1 | GwMOUSE_DOUBLE); },
         true,
         {"Devices select entry=scope", "Devices mouse entry=scope state=513", "Devices activate entry=scope"},
         "scope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Notes().clear();
        EXPECT_EQ(c.act(), c.done);
        EXPECT_EQ(Notes(), c.notes);
        ASSERT_NE(tree->selected_entry(), nullptr);
        EXPECT_EQ(tree->selected_entry()->id(), c.selected);
    }
    EXPECT_EQ(failures,
              (Lines{"\"Main.Devices\" refused a popup on \"scope\"",
                     "\"Main.Devices\" refused a popup on \"net\"",
                     "\"Main.Devices\" has no entry \"drive\""}));
    GwTreeEntry* loose = Entry("loose", popup);
    EXPECT_FALSE(tree->user_context_menu(loose));  // an entry of no tree
    delete loose;
}

TEST_F(Windows, FramesMaximiseRestoreAndCentreOnTheVirtualScreen) {
    GwCore* child = Show("Child");
    EXPECT_EQ(GwScreenSize(), (GwDimension{1280, 1024}));
    struct Step {
        const char* what;
        std::function<void()> act;
        GwRect rect;
        int state;
        Lines notes;
    };
    // clang-format off
    const Step steps[] = {
        {"maximise", [&] { child->maximize(); }, {0, 0, 1280, 1024}, GwSTATE_MAXIMIZED, {"Child resize"}},
        {"restore", [&] { child->restore(); }, {10, 20, 200, 100}, GwSTATE_NORMAL, {"Child resize"}},
        {"restore a normal frame", [&] { child->restore(); }, {10, 20, 200, 100}, GwSTATE_NORMAL, {}},
        {"centre", [&] { child->center(); }, {540, 462, 200, 100}, GwSTATE_NORMAL, {"Child resize"}},
        {"centre on a smaller screen", [&] { GwSetScreenSize({800, 600}); child->center(); }, {300, 250, 200, 100},
         GwSTATE_NORMAL, {"Child resize"}},
        {"minimise", [&] { child->minimize(); }, {300, 250, 200, 100}, GwSTATE_MINIMIZED, {}},
        {"restore a minimised frame", [&] { child->restore(); }, {300, 250, 200, 100}, GwSTATE_NORMAL, {"Child show"}},
        {"maximise, minimise, restore", [&] { child->maximize(); child->minimize(); child->restore(); },
         {300, 250, 200, 100}, GwSTATE_NORMAL, {"Child resize", "Child resize", "Child show"}},
    };
    // clang-format on
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Notes().clear();
        s.act();
        EXPECT_EQ(child->rect(), s.rect);
        EXPECT_EQ(child->frame_state(), s.state);
        EXPECT_EQ(Notes(), s.notes);
    }
    GwCore* owned = GwRcMgr::load(Show("Main"), "Child", 1);
    owned->center();  // on its owner, Main at 100,100 400 x 300
    EXPECT_EQ(owned->rect(), (GwRect{200, 200, 200, 100}));
}

TEST_F(Windows, AClientAreaKeepsTheWindowsSizeWhicheverOfThemIsResized) {
    GwCore* sized = Show("Sized");
    GwCore* client = sized->child("Client");
    ASSERT_EQ(sized->client_area(), client);
    // A first control that does not fill its window, and a window without
    // one, have no client area.
    EXPECT_EQ(Show("Main")->client_area(), nullptr);
    EXPECT_EQ(Show("Child")->client_area(), nullptr);
    struct Step {
        const char* what;
        std::function<void()> act;
        GwRect window;
        GwDimension client;
        Lines notes;
    };
    // clang-format off
    const Step steps[] = {
        {"the window manager", [&] { EXPECT_TRUE(gwtest::ResizeWindow(sized, {420, 310})); },
         {50, 60, 420, 310}, {420, 310}, {"Client resize"}},
        {"the same size again", [&] { EXPECT_TRUE(gwtest::ResizeWindow(sized, {420, 310})); },
         {50, 60, 420, 310}, {420, 310}, {}},
        {"the program sizes the client area", [&] { client->set_dimension({350, 250}); },
         {50, 60, 350, 250}, {350, 250}, {"Client resize"}},
        {"maximise", [&] { sized->maximize(); }, {0, 0, 1280, 1024}, {1280, 1024}, {"Client resize"}},
        {"restore", [&] { sized->restore(); }, {50, 60, 350, 250}, {350, 250}, {"Client resize"}},
        {"a move", [&] { sized->move(5, 6); }, {5, 6, 350, 250}, {350, 250}, {}},
    };
    // clang-format on
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Notes().clear();
        s.act();
        EXPECT_EQ(sized->rect(), s.window);
        EXPECT_EQ(client->dimension(), s.client);
        EXPECT_EQ(client->position(), (GwPosition{0, 0}));
        EXPECT_EQ(Notes(), s.notes);
    }
    EXPECT_EQ(sized->least_usable_size(), (GwDimension{150, 100}));
    EXPECT_EQ(sized->definition_rect(), (GwRect{50, 60, 300, 200}));

    // Only a live frame is resized by the window manager.
    CaptureFailures();
    EXPECT_FALSE(gwtest::ResizeWindow(client, {10, 10}));
    sized->destroy();
    EXPECT_FALSE(GwUserResizeWindow(sized, {10, 10}));
    EXPECT_EQ(failures.size(), 1u);
}

TEST_F(Windows, AFrameIsOnTheScreenWhenEnoughOfItCanBeReached) {
    struct Case {
        GwRect rect;
        bool on;
    };
    const Case cases[] = {
        {{0, 0, 300, 200}, true},
        {{1240, 984, 300, 200}, true},
        {{1241, 100, 300, 200}, false},
        {{100, 985, 300, 200}, false},
        {{-260, -160, 300, 200}, true},
        {{-261, 100, 300, 200}, false},
        {{1270, 1014, 10, 10}, true},
        {{1280, 0, 10, 10}, false},
        {{5000, 5000, 300, 200}, false},
        {{-32000, -32000, 160, 24}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rect.x) + "," + std::to_string(c.rect.y));
        EXPECT_EQ(GwOnScreen(c.rect), c.on);
    }
}

TEST_F(Windows, AnEntryIsConfirmedOnceByReturnOrByLeavingTheField) {
    struct Case {
        const char* what;
        std::function<void(GwCore* window)> act;
        Lines notes;
    };
    // clang-format off
    const Case cases[] = {
        {"typed, then Return, then away", [](GwCore* w) {
             w->child("Alias")->set_focus();
             gwtest::Type(w->child("Alias"), "ab\n");
             w->child("Other")->set_focus();
         }, {"Alias change", "Alias change", "Alias confirm"}},
        {"typed, then away twice", [](GwCore* w) {
             w->child("Alias")->set_focus();
             gwtest::Type(w->child("Alias"), "ab");
             w->child("Other")->set_focus();
             w->child("Alias")->set_focus();
             w->child("Other")->set_focus();
         }, {"Alias change", "Alias change", "Alias confirm"}},
        {"typed, then to another program", [](GwCore* w) {
             gwtest::Type(w->child("Alias"), "a");
             EXPECT_TRUE(gwtest::LeaveField(w->child("Alias")));
             EXPECT_TRUE(gwtest::LeaveField(w->child("Alias")));
         }, {"Alias change", "Alias confirm"}},
        {"Return confirms also without typing", [](GwCore* w) {
             gwtest::PressKey(w->child("Alias"), GwKEY_RETURN);
             gwtest::PressKey(w->child("Alias"), GwKEY_RETURN);
         }, {"Alias confirm", "Alias confirm"}},
        {"a text the program sets is no entry", [](GwCore* w) {
             w->child("Alias")->set_focus();
             w->child("Alias")->set_text("set");
             w->child("Other")->set_focus();
         }, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GwCore* window = Show("Sized");
        Notes().clear();
        c.act(window);
        Lines notes;
        for (const std::string& n : Notes())
            if (n.rfind("Alias ", 0) == 0) notes.push_back(n);
        EXPECT_EQ(notes, c.notes);
        window->destroy();
    }
}

TEST_F(Windows, ClosingAWindowStopsTheTimersInsideIt) {
    GwCore* window = Show("Sized");
    GwCore* ticker = window->child("Ticker");
    ticker->start_timer(100);
    window->start_timer(100);
    gwtest::Advance(100);
    EXPECT_EQ(Notes(), (Lines{"Ticker timer"}));

    ASSERT_TRUE(gwtest::Close(window));
    EXPECT_FALSE(window->is_shown());
    EXPECT_FALSE(ticker->is_timer_running());
    EXPECT_FALSE(window->is_timer_running());
    Notes().clear();
    gwtest::Advance(500);
    EXPECT_EQ(Notes(), Lines{});

    // A refused close leaves the window and its timers running.
    window->show();
    window->set_callback(GwCB_CLOSE, [](GwCore*, GwEvent*, GwUD) { return 0; });
    ticker->start_timer(100);
    EXPECT_FALSE(gwtest::Close(window));
    EXPECT_TRUE(ticker->is_timer_running());
}

TEST_F(Windows, ShowingFocusingAndRaisingOrderTheTopLevelWindows) {
    GwCore* main = Show("Main");
    GwCore* child = Show("Child");
    GwCore* other = GwRcMgr::load(nullptr, "Child", 1);
    other->set_name("Other");
    auto names = [] {
        std::string out;
        for (GwCore* w : GwStackingOrder()) out += (out.empty() ? "" : " ") + w->name();
        return out + " / " + (GwActiveWindow() != nullptr ? GwActiveWindow()->name() : "-");
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* order;
    };
    // clang-format off
    const Step steps[] = {
        {"two shown", [] {}, "Main Child / Child"},
        {"focus in Main", [&] { main->child("Field")->set_focus(); }, "Child Main / Main"},
        {"raise", [&] { child->raise(); }, "Main Child / Child"},
        {"raise a hidden frame", [&] { other->raise(); }, "Main Child Other / Child"},
        {"hide the top", [&] { child->hide(); }, "Main Child Other / Main"},
        {"destroy", [&] { child->destroy(); other->destroy(); }, "Main / Main"},
    };
    // clang-format on
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(names(), s.order);
    }
}

TEST_F(Windows, AScrolledContainerMovesItsFirstItemAsTheUserScrolls) {
    GwCore* main = Show("Main");
    auto* params = main->child<GwScrolledContainer>("Params");
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(params->item_count(), 10);
    EXPECT_EQ(params->visible_count(), 3);
    EXPECT_EQ(params->row(1), main->child("Row1"));
    EXPECT_EQ(params->row(3), nullptr);
    EXPECT_EQ(params->row(-1), nullptr);
    CaptureFailures();
    struct Step {
        const char* what;
        std::function<bool()> act;
        bool done;
        int first;
        Lines notes;
    };
    // clang-format off
    const Step steps[] = {
        {"scroll", [] { return gwtest::Scroll("Main/Params", 4); }, true, 4, {"Params scroll value=4"}},
        {"to where it is", [] { return gwtest::Scroll("Main/Params", 4); }, true, 4, {}},
        {"past the end", [] { return gwtest::Scroll("Main/Params", 9); }, true, 7, {"Params scroll value=7"}},
        {"before the start", [] { return gwtest::Scroll("Main/Params", -1); }, true, 0, {"Params scroll value=0"}},
        {"by the program", [&] { params->set_first_visible(2); return true; }, true, 2, {}},
        {"fewer items", [&] { params->set_item_count(4); return true; }, true, 1, {}},
        {"disabled", [&] { params->disable(); return gwtest::Scroll(params, 0); }, false, 1, {}},
    };
    // clang-format on
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Notes().clear();
        EXPECT_EQ(s.act(), s.done);
        EXPECT_EQ(params->first_visible(), s.first);
        EXPECT_EQ(Notes(), s.notes);
    }
    EXPECT_EQ(failures, (Lines{"\"Main.Params\" refused scrolling"}));
    // A definition that promises more rows than it holds.
    params->set_visible_count(4);
    EXPECT_EQ(params->visible_count(), 4);
    EXPECT_EQ(params->first_visible(), 0);  // 4 items, 4 rows
    EXPECT_EQ(params->row(2), main->child("Row2"));
    EXPECT_EQ(params->row(3), nullptr);
}

TEST_F(Windows, ResourcesForAScreen) {
    GwCore* state = Show("Main")->child("State");
    GwFontInfo font = state->font_info();
    EXPECT_EQ(font.face, "Courier");
    EXPECT_EQ(font.points, 12);
    state->set_font("Arial");
    EXPECT_EQ(state->font_info().face, "Arial");
    EXPECT_EQ(state->font_info().points, kGwDefaultFontPoints);
    EXPECT_EQ(GwRcMgr::bitmap_image("led_on"), "pictures/led_on.png");
    EXPECT_EQ(GwRcMgr::bitmap_image("LED_OFF"), "");
    ASSERT_TRUE(GwRcMgr::use_text("bitmaps {\n  Motor = 32, 32, \"motor.png\"\n  Abs = 8, 8, \"/img/abs.png\"\n}\n",
                                  "defs/extra.cgw"));
    EXPECT_EQ(GwRcMgr::bitmap_image("Motor"), "defs/motor.png");
    EXPECT_EQ(GwRcMgr::bitmap_image("Abs"), "/img/abs.png");
    EXPECT_FALSE(GwRcMgr::use_text("bitmaps {\n  Bad = 8, 8, \"\"\n}\n", "bad.cgw"));
}

TEST_F(Windows, AKindWhoseLibraryIsNotLoadedIsLogged) {
    GwSetKindFactory(GwTREE_CLASS, nullptr);
    GwCore* main = GwRcMgr::load(nullptr, "Main", 1);
    GwSetKindFactory(GwTREE_CLASS, [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwTree(n, p); });
    EXPECT_EQ(main->child<GwTree>("Devices"), nullptr);
    EXPECT_EQ(testsupport::LoggedLines(),
              (Lines{"GwRcMgr::load: \"Devices\" (spine.cgw line 27) is a tree but the toolkit's tree library is not "
                     "loaded; it is made as a plain widget"}));
}

TEST(StartUp, TheTestToolComesFromTheEnvironmentBeforeAnyFile) {
    ::setenv("TORVAN_TESTTOOL", "testtool_env", 1);
    const char* before = GwRcMgr::value("TestTool");
    std::string early = before != nullptr ? before : "(none)";
    ASSERT_TRUE(GwRcMgr::use_text("database {\n  TestTool = \"from_file\"\n}\n", "tool.cgw"));
    std::string later = GwRcMgr::value("TestTool");
    ::unsetenv("TORVAN_TESTTOOL");
    GwRcMgr::reset();
    EXPECT_EQ(early, "testtool_env");
    EXPECT_EQ(later, "from_file");
    EXPECT_EQ(GwRcMgr::value("TestTool"), nullptr);
}

TEST(StartUp, ATableHoldingTheInterpreterRegisters) {
    const GwFuncDesc table[] = {{"interpreter", interpreter}, {"CB_Other", interpreter}, {nullptr, nullptr}};
    ASSERT_EQ(GwRcMgr::use_func_desc(table), 1);
    EXPECT_EQ(GwRcMgr::lookup_function("interpreter"), &interpreter);
    EXPECT_EQ(interpreter(nullptr, nullptr, GwUD()), 0);
}

}  // namespace
}  // namespace spine_test

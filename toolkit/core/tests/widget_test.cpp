// Widget behaviour the program relies on: handles after destruction, typed
// input rules, toggles, lists, combos, sliders, pictures, geometry.
#include <gtest/gtest.h>

#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/core/tests/toolkit_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace toolkit_test {
namespace {

class Widgets : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        main_ = GwRcMgr::load(nullptr, "MainWindow", 1);
        main_->show();
        Calls().clear();
    }
    GwCore* main_ = nullptr;
};

std::vector<std::string> g_events;

int Note(GwCore* w, GwEvent* ev, GwUD) {
    g_events.push_back(w->name() + " " + GwCallbackTypeName(ev->type) + " " + std::to_string(ev->value));
    return 1;
}

TEST_F(Widgets, DestroyedWidgetsStayQueryableAndInvalid) {
    GwCore* container = main_->child("MainContainer");
    GwCore* state = main_->child("State1");
    g_events.clear();
    container->set_callback(GwCB_DESTROY, Note);
    state->set_callback(GwCB_DESTROY, Note);
    container->destroy();
    EXPECT_EQ(g_events, (std::vector<std::string>{"MainContainer destroy 0", "State1 destroy 0"}));
    EXPECT_FALSE(GwRcMgr::is_valid_child(container));
    EXPECT_FALSE(GwRcMgr::is_valid_child(state));
    EXPECT_TRUE(GwRcMgr::is_valid_child(main_));
    EXPECT_EQ(main_->child("State1"), nullptr);
    // A stale handle reads as an empty, invisible widget that still has its name.
    EXPECT_EQ(state->name(), "State1");
    EXPECT_FALSE(state->is_visible());
    state->set_text("ignored");
    state->show();
    state->destroy();
    EXPECT_EQ(g_events.size(), 2u) << "destroy runs once";

    int on_stack = 0;
    EXPECT_FALSE(GwRcMgr::is_valid_child(reinterpret_cast<GwCore*>(&on_stack))) << "foreign pointers are invalid";
    EXPECT_FALSE(GwRcMgr::is_valid_child(nullptr));
}

TEST_F(Widgets, StaleHandlesNeverSeeANewWidgetAtTheirAddress) {
    GwCore* old = GwRcMgr::load(nullptr, "Settings", 1);
    old->destroy();
    // Many windows later the old handle must still read as invalid.
    for (int i = 0; i < 200; ++i) GwRcMgr::load(nullptr, "Settings", 1)->destroy();
    for (int i = 0; i < 50; ++i) {
        GwCore* fresh = GwRcMgr::load(nullptr, "Settings", 1);
        EXPECT_NE(fresh, old);
    }
    EXPECT_FALSE(GwRcMgr::is_valid_child(old));
}

TEST_F(Widgets, DisconnectedFrameIsNoLongerFoundOrValid) {
    GwCore* box = GwRcMgr::load(main_, "Settings", 1);
    ASSERT_EQ(main_->child("Settings"), box);
    GwRcMgr::disconnect_frame(box);
    EXPECT_EQ(main_->child("Settings"), nullptr);
    EXPECT_FALSE(GwRcMgr::is_valid_child(box));
    box->hide();
    box->destroy();
}

TEST_F(Widgets, RenamingRebindsAndClearedIdsAreNotFound) {
    GwCore* number = main_->child("Number");
    number->set_name("_PN_750[3]");
    EXPECT_EQ(main_->child("Number"), nullptr);
    EXPECT_EQ(main_->child("_PN_750[3]"), number);
    number->clear_id();
    EXPECT_EQ(main_->child("_PN_750[3]"), nullptr);
}

struct TypingCase {
    int format_type;
    const char* format;
    const char* pattern;
    int length;
    int precision;
    const char* typed;
    const char* text;
};

TEST_F(Widgets, TypedInputFollowsTheFormat) {
    const TypingCase cases[] = {
        {GwFORMAT_INTEGER, "", "", 5, -1, "-12a3", "-123"},
        {GwFORMAT_INTEGER, "", "", 3, -1, "12345", "123"},
        {GwFORMAT_INTEGER, "", "", 0, -1, "1-2", "12"},
        {GwFORMAT_DECIMAL, "", "", 8, 2, "-3.14159", "-3.14"},
        {GwFORMAT_DECIMAL, "", "", 8, 2, "1.2.3", "1.23"},
        {GwFORMAT_DECIMAL, "", "", 0, 0, "7.5", "75"},
        {GwFORMAT_MASKED, "XX~", "~~H", 3, -1, "1fgH", "1FH"},
        {GwFORMAT_MASKED, "XXXX~", "~~~~H", 5, -1, "00ff1", "00FFH"},
        {GwFORMAT_MASKED, "XXXXXXXX~", "~~~~~~~~H", 9, -1, "DEADBEEF", "DEADBEEFH"},
        {GwFORMAT_TEXT, "", "", 4, -1, "MODE X", "MODE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " as format type " + std::to_string(c.format_type));
        auto* edit = dynamic_cast<GwEdit*>(main_->child("Hex"));
        edit->set_format_type(c.format_type);
        edit->set_format(c.format);
        edit->set_pattern(c.pattern);
        edit->set_length(c.length);
        edit->set_precision(c.precision);
        edit->set_text("");
        gwtest::Type(edit, c.typed);
        EXPECT_EQ(edit->text(), c.text);
    }
}

// A screen's line edit hands over its whole text after each edit.
TEST_F(Widgets, WholeTextsFromAnEditorFollowTheFormat) {
    struct Case {
        int format_type;
        const char* format;
        const char* pattern;
        int length;
        const char* before;
        const char* edited;
        bool taken;
        const char* text;
        int cursor;
    };
    const Case cases[] = {
        {GwFORMAT_MASKED, "XX~", "~~H", 3, "", "1", true, "1H", 0},
        {GwFORMAT_MASKED, "XX~", "~~H", 3, "1H", "1gH", false, "1H", 1},
        {GwFORMAT_MASKED, "XX~", "~~H", 3, "1H", "1fH", true, "1FH", 2},
        {GwFORMAT_MASKED, "XX~", "~~H", 3, "1FH", "1F2H", false, "1FH", 3},
        {GwFORMAT_INTEGER, "", "", 4, "12", "1a2", false, "12", 2},
        {GwFORMAT_INTEGER, "", "", 4, "12", "-12", true, "-12", 2},
        {GwFORMAT_TEXT, "", "", 4, "MODE", "MODEX", false, "MODE", 4},
        {GwFORMAT_TEXT, "", "", 0, "caret", "cart", true, "cart", 3},
    };
    auto* edit = dynamic_cast<GwEdit*>(main_->child("Hex"));
    int changes = 0;
    edit->bind(GwCB_CHANGE, [&changes](GwCore*, GwEvent*) {
        ++changes;
        return 1;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.edited);
        edit->set_format_type(c.format_type);
        edit->set_format(c.format);
        edit->set_pattern(c.pattern);
        edit->set_length(c.length);
        edit->set_text(c.before);
        const size_t beeps = gwtest::Effects("beep").size();
        changes = 0;
        EXPECT_EQ(edit->user_edit(c.edited, static_cast<int>(std::string(c.edited).size()) - 1), c.taken);
        EXPECT_EQ(edit->text(), c.text);
        EXPECT_EQ(changes, c.taken ? 1 : 0);
        EXPECT_EQ(gwtest::Effects("beep").size() - beeps, c.taken ? 0u : 1u);
        if (c.taken) {
            EXPECT_EQ(edit->cursor_position(), c.cursor);
        }
    }
    edit->set_read_only(true);
    EXPECT_FALSE(edit->user_edit("AB", 2));
}

TEST_F(Widgets, ProgramSetTextIsStoredAsGiven) {
    auto* edit = dynamic_cast<GwEdit*>(main_->child("Hex"));
    edit->set_text("not hex at all");
    EXPECT_EQ(edit->text(), "not hex at all");
    EXPECT_EQ(edit->length(), 5);
    EXPECT_EQ(edit->format(), "XXXX~");
}

TEST_F(Widgets, RefusedKeysBeepAndLimitsHold) {
    auto* number = dynamic_cast<GwEdit*>(main_->child("Number"));
    EXPECT_TRUE(gwtest::Type(number, "123"));
    EXPECT_FALSE(gwtest::Type(number, "4")) << "max length 3";
    EXPECT_EQ(number->text(), "123");
    EXPECT_EQ(gwtest::Effects("beep").size(), 1u);
    EXPECT_TRUE(gwtest::Type(number, "\b9"));
    EXPECT_EQ(number->text(), "129");
    EXPECT_TRUE(gwtest::Replace(number, "7"));
    EXPECT_EQ(number->text(), "7");
}

int RefuseDigits(GwCore*, GwEvent* ev, GwUD) { return ev->key >= '0' && ev->key <= '9' ? 0 : 1; }

TEST_F(Widgets, KeyCallbackMayRefuseInputAndReturnActivates) {
    auto* number = dynamic_cast<GwEdit*>(main_->child("Number"));
    number->set_callback(GwCB_KEY, RefuseDigits);
    g_events.clear();
    number->set_callback(GwCB_ACTIVATE, Note);
    EXPECT_FALSE(gwtest::Type(number, "5"));
    EXPECT_TRUE(gwtest::Type(number, "ab\n"));
    EXPECT_EQ(number->text(), "ab");
    EXPECT_EQ(g_events, std::vector<std::string>{"Number activate 0"});
}

TEST_F(Widgets, PasswordFieldsShowStarsToTheUser) {
    auto* number = dynamic_cast<GwEdit*>(main_->child("Number"));
    number->set_password(true);
    number->set_text("4711");
    EXPECT_EQ(number->text(), "4711");
    EXPECT_EQ(gwtest::Effects("text").back().value, "****");
}

TEST_F(Widgets, RadiosKeepOneOnAndOnlyUserClicksFireChanges) {
    auto* sort = dynamic_cast<GwRadioGroup*>(main_->child("Sort"));
    g_events.clear();
    sort->item(0)->set_callback(GwCB_CHANGE, Note);
    sort->item(1)->set_callback(GwCB_CHANGE, Note);
    sort->set_item(1, true);
    EXPECT_EQ(sort->selected_item(), 1);
    EXPECT_FALSE(sort->item_value(0));
    EXPECT_TRUE(g_events.empty()) << "a program set fires nothing";
    ASSERT_TRUE(gwtest::Select(sort, 0));
    EXPECT_EQ(sort->selected_item(), 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"1 change 0", "0 change 1"}));
}

TEST_F(Widgets, CheckBoxClickFlipsAndReportsTheNewValue) {
    auto* check = new GwToggle("Changed", main_->child("MainContainer"), GwCHECK_CLASS);
    check->show();
    g_events.clear();
    check->set_callback(GwCB_CHANGE, Note);
    EXPECT_TRUE(gwtest::Toggle(check));
    EXPECT_TRUE(gwtest::Toggle(check));
    EXPECT_EQ(g_events, (std::vector<std::string>{"Changed change 1", "Changed change 0"}));
}

int FillRow(GwCore* row, GwEvent* ev, GwUD) {
    row->set_text("Property " + std::to_string(ev->row));
    static_cast<GwToggle*>(row)->set_checked(ev->row % 2 == 0);
    return 1;
}

TEST_F(Widgets, ToggleListRowsComeFromTheFillCallback) {
    auto* list = new GwToggleList("PropList", main_);
    list->set_callback(GwCB_FILL, FillRow);
    list->set_row_count(3);
    ASSERT_EQ(list->row_count(), 3);
    EXPECT_EQ(list->item_text(2), "Property 2");
    EXPECT_TRUE(list->item_on(0));
    EXPECT_FALSE(list->item_on(1));
    list->set_row_count(1);
    EXPECT_EQ(list->row_count(), 1);
    EXPECT_EQ(list->row(1), nullptr);
    list->enable_item(0, false);
    EXPECT_FALSE(list->item_enabled(0));
}

TEST_F(Widgets, ListCellsSelectionAndOutOfRange) {
    auto* list = dynamic_cast<GwMultiList*>(main_->child("Devices"));
    EXPECT_EQ(list->first_selected(), -1);
    list->add_row("3|Ruvex 4120");
    list->add_row("12|Pesco");
    EXPECT_EQ(list->row_count(), 2);
    EXPECT_EQ(list->cell(1, 1), "Pesco");
    EXPECT_EQ(list->cell(1, 1, 4), "Pes") << "as into a buffer of four bytes";
    EXPECT_EQ(list->cell(2, 0), "");
    EXPECT_EQ(list->cell(0, 2), "") << "beyond the columns";
    list->set_cell(0, 5, "x");
    list->set_cell(9, 0, "x");
    EXPECT_EQ(list->row_text(0), "3|Ruvex 4120");
    list->set_cell(0, 1, "Ruvex");
    EXPECT_EQ(list->row_text(0), "3|Ruvex");
    ASSERT_TRUE(gwtest::Select(list, 1));
    EXPECT_EQ(list->first_selected(), 1);
    list->delete_row(0);
    EXPECT_EQ(list->first_selected(), 0);
    list->clear();
    EXPECT_EQ(list->first_selected(), -1);
}

TEST_F(Widgets, SortedListKeepsInsertionIndexes) {
    auto* list = dynamic_cast<GwMultiList*>(main_->child("Devices"));
    list->add_row("12|b");
    list->add_row("3|a");
    list->add_row("100|c");
    list->set_sort_column(0);  // numeric
    EXPECT_EQ(list->row_text(0), "3|a");
    EXPECT_EQ(list->row_text(2), "100|c");
    EXPECT_EQ(list->row_insertion_index(0), 1);
    list->add_row("7|d");
    EXPECT_EQ(list->row_text(1), "7|d");
    list->set_sorting_type(0, GwSORT_NONE);
    EXPECT_EQ(list->row_text(0), "12|b") << "unsorted is insertion order";
}

int NoteRow(GwCore* w, GwEvent* ev, GwUD) {
    g_events.push_back(w->name() + " " + GwCallbackTypeName(ev->type) + " row " + std::to_string(ev->row) + " clicks " +
                       std::to_string(ev->click_count));
    return 1;
}

TEST_F(Widgets, DoubleClickSelectsAndActivatesTheRow) {
    auto* list = dynamic_cast<GwMultiList*>(main_->child("Devices"));
    list->add_row("1|a");
    list->add_row("2|b");
    g_events.clear();
    list->set_callback(GwCB_ACTIVATE, NoteRow);
    ASSERT_TRUE(gwtest::DoubleClick(list, 1));
    EXPECT_EQ(list->first_selected(), 1);
    EXPECT_EQ(g_events, std::vector<std::string>{"Devices activate row 1 clicks 2"});
}

TEST_F(Widgets, ComboKeepsItsEditTextWhenRefilled) {
    auto* font = dynamic_cast<GwCombo*>(main_->child("Font"));
    ASSERT_TRUE(gwtest::SelectText(font, "10"));
    EXPECT_EQ(font->selection_text(), "10");
    EXPECT_EQ(font->text(), "10");
    font->delete_all();
    EXPECT_EQ(font->first_selected(), -1);
    EXPECT_EQ(font->text(), "10");
    font->append("14");
    font->insert("6", 0);
    EXPECT_EQ(font->item_text(0), "6");
    EXPECT_EQ(font->find("14"), 1);
    EXPECT_EQ(font->visible_items(), 12);
}

TEST_F(Widgets, SliderValuesStayInRangeAndGaugesRefuseMoves) {
    auto* speed = dynamic_cast<GwSlider*>(main_->child("Speed"));
    speed->set_value(5000);
    EXPECT_EQ(speed->value(), 3000.0);
    speed->set_value(-1);
    EXPECT_EQ(speed->value(), 0.0);
    g_events.clear();
    speed->set_callback(GwCB_CHANGE, Note);
    EXPECT_TRUE(gwtest::MoveSlider(speed, 1500));
    EXPECT_EQ(g_events.size(), 1u);
    auto* gauge = new GwSlider("ActVal", main_, GwGAUGE_CLASS);
    gauge->show();
    std::vector<std::string> failures;
    gwtest::SetFailureReporter([&](const std::string& m) { failures.push_back(m); });
    EXPECT_FALSE(gwtest::MoveSlider(gauge, 10));
    EXPECT_EQ(failures.size(), 1u);
}

TEST_F(Widgets, UnknownBitmapLeavesThePictureEmpty) {
    auto* logo = dynamic_cast<GwPicture*>(main_->child("Logo"));
    EXPECT_EQ(logo->bitmap(), "LED_ON");
    EXPECT_FALSE(logo->set_bitmap("LED_ERR"));
    EXPECT_EQ(logo->bitmap(), "");
    EXPECT_EQ(logo->bitmap_size(), (GwDimension{0, 0}));
    EXPECT_TRUE(logo->set_bitmap("3_APP_0.BMP"));
    logo->resize_to_bitmap();
    EXPECT_EQ(logo->dimension(), (GwDimension{120, 80}));
}

TEST_F(Widgets, EverySetOfGeometryIsARelayout) {
    GwCore* container = main_->child("MainContainer");
    g_events.clear();
    container->set_callback(GwCB_RESIZE, Note);
    container->set_rect(container->rect());
    container->set_dimension({400, 300});
    EXPECT_EQ(g_events.size(), 2u);
    EXPECT_EQ(container->rect(), (GwRect{0, 0, 400, 300}));
    EXPECT_EQ(container->text_width("Ready"), 35);
}

TEST_F(Widgets, VisibilityAndEnablementAreIndependentAndInherited) {
    GwCore* container = main_->child("MainContainer");
    GwCore* state = main_->child("State1");
    container->hide();
    EXPECT_FALSE(state->is_visible());
    EXPECT_TRUE(state->is_shown());
    EXPECT_TRUE(state->is_enabled());
    EXPECT_EQ(state->state(), GwSTATE_BIT_ENABLED);
    container->show();
    EXPECT_EQ(state->state(), GwSTATE_BIT_ENABLED | GwSTATE_BIT_VISIBLE);
    GwCore* child_window = GwRcMgr::load(main_, "Settings", 1);
    main_->hide();
    child_window->show();
    EXPECT_TRUE(child_window->is_visible()) << "a child window's visibility is its own";
}

int CountChildren(GwCore*, GwUD ud) {
    ++*ud.pointer_as<int>();
    return 1;
}

int StopAtLabel(GwCore* w, GwUD ud) {
    ++*ud.pointer_as<int>();
    return w->is_class(GwLABEL_CLASS) ? 0 : 1;
}

TEST_F(Widgets, WalkVisitsDescendantsInOrderAndStopsOnZero) {
    int count = 0;
    EXPECT_EQ(main_->walk_through_children(CountChildren, GwUD(static_cast<void*>(&count))), 1);
    EXPECT_EQ(count, 15);
    count = 0;
    EXPECT_EQ(main_->walk_through_children(StopAtLabel, GwUD(static_cast<void*>(&count))), 0);
    EXPECT_EQ(count, 2) << "MainContainer, then State1 stops the walk";
}

TEST_F(Widgets, CopyMakesADeepCopyWithNamesAndBindings) {
    GwCore* target = new GwContainer("Target", main_);
    GwCore* copy = main_->child("MainContainer")->copy_to(target);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->parent(), target);
    EXPECT_EQ(copy->child("State1")->text(), "Ready");
    EXPECT_NE(copy->child("BT_Save"), main_->child("BT_Save"));
    EXPECT_NE(copy->child("BT_Save")->lookup_callback(GwCB_ACTIVATE), nullptr);
    EXPECT_EQ(dynamic_cast<GwCombo*>(copy->child("Font"))->count(), 3);
}

}  // namespace
}  // namespace toolkit_test

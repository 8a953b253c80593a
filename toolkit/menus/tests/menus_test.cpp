// Menus built from definitions and at run time, toggle items, toolbar tools,
// popups and the tab book, as the program's main window uses them.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_tab_book.h"
#include "toolkit/kindstest/kinds_fixture.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace kinds_test {
namespace {

std::vector<int> g_chosen;

int CB_ChooseDevice(GwCore*, GwEvent*, GwUD address) {
    g_chosen.push_back(static_cast<int>(address.integer()));
    return 1;
}

class Menus : public KindsTest {
protected:
    void SetUp() override {
        KindsTest::SetUp();
        g_chosen.clear();
    }
};

TEST_F(Menus, RuntimeItemsRunTheirCallbackWithTheirBusAddress) {
    GwCore* menu = main_->child("M_ChooseDevice");
    ASSERT_NE(menu, nullptr);
    for (int address : {3, 17}) {
        char name[8];
        std::snprintf(name, sizeof name, "%02d", address);
        auto* item = new GwMenuItem(name, menu, "Device " + std::to_string(address));
        item->set_activate_callback(CB_ChooseDevice, GwUD(address));
        item->show();
    }
    ASSERT_EQ(menu->child_count(), 2);
    EXPECT_EQ(menu->child(0)->name(), "03");
    EXPECT_EQ(menu->child(1)->text(), "Device 17");

    EXPECT_TRUE(gwtest::ChooseMenuItem("MainWindow/M_ChooseDevice/17"));
    EXPECT_TRUE(gwtest::ChooseMenuItem("MainWindow/M_ChooseDevice/03"));
    EXPECT_EQ(g_chosen, (std::vector<int>{17, 3}));

    // A disabled item, a disabled menu and a destroyed item run nothing.
    auto* item03 = dynamic_cast<GwMenuItem*>(menu->child("03"));
    item03->disable();
    EXPECT_NONFATAL_FAILURE(gwtest::ChooseMenuItem(item03), "refused being chosen");
    item03->enable();
    menu->disable();
    EXPECT_FALSE(item03->choose());
    menu->enable();
    menu->child("17")->destroy();
    EXPECT_EQ(menu->child("17"), nullptr);
    EXPECT_EQ(menu->child_count(), 1);
    EXPECT_EQ(g_chosen, (std::vector<int>{17, 3}));
}

TEST_F(Menus, ItemsThatCannotBeChosen) {
    GwCore* view = main_->child("View");
    // A fresh item stays hidden and without text until the program shows it.
    auto* fresh = new GwMenuItem("TiPane", view);
    EXPECT_FALSE(fresh->is_shown());
    EXPECT_EQ(fresh->text(), "");
    fresh->set_activate_callback(CB_ChooseDevice, GwUD(1));
    EXPECT_FALSE(fresh->choose());
    // The separator of the definition (empty name) is never chosen.
    auto* separator = dynamic_cast<GwMenuItem*>(view->child(1));
    ASSERT_NE(separator, nullptr);
    EXPECT_TRUE(separator->is_separator());
    EXPECT_FALSE(separator->choose());
    // An item the definition hides.
    EXPECT_FALSE(dynamic_cast<GwMenuItem*>(main_->child("Hidden"))->choose());
    EXPECT_TRUE(g_chosen.empty());
    EXPECT_TRUE(Notes().empty());

    EXPECT_TRUE(gwtest::ChooseMenuItem("MainWindow/SioMonitor"));
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CB_Note SioMonitor activate monitor"}));
}

TEST_F(Menus, ToggleItemValueFromUserAndProgram) {
    auto* defined = dynamic_cast<GwToggleItem*>(main_->child("TiNetList"));
    ASSERT_NE(defined, nullptr);
    EXPECT_EQ(defined->value(), 1) << "checked = yes";
    EXPECT_TRUE(gwtest::ChooseMenuItem(defined));
    EXPECT_EQ(defined->value(), 0);
    defined->set_value(1);  // the program: no callback
    EXPECT_TRUE(gwtest::ChooseMenuItem(defined));
    EXPECT_EQ(Notes(),
              (std::vector<std::string>{"CB_Note TiNetList change  value=0", "CB_Note TiNetList change  value=0"}));

    auto* made = new GwToggleItem("TiPane", main_->child("View"), "Pane");
    EXPECT_EQ(made->kind(), GwTOGGLEITEM_CLASS);
    EXPECT_TRUE(made->is_class(GwMENUITEM_CLASS));
    made->show();
    made->set_value(7);
    EXPECT_EQ(made->value(), 1);
}

TEST_F(Menus, ToolsKeepTheirUserDataAndFollowEnablement) {
    GwCore* tool = main_->child("TB_Bus")->child("TK_SeDev");
    ASSERT_NE(dynamic_cast<GwTool*>(tool), nullptr);
    EXPECT_EQ(tool->user_data().string(), "5");
    EXPECT_EQ(tool->tip_text(), "Search device");
    tool->disable();
    EXPECT_FALSE(dynamic_cast<GwTool*>(tool)->choose());
    tool->enable();
    tool->set_text("Level 4");
    EXPECT_TRUE(gwtest::ChooseMenuItem(tool));
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CB_Note TK_SeDev activate search"}));
    EXPECT_EQ(gwtest::Text(tool), "Level 4");
}

TEST_F(Menus, PopupItemsOnlyWhileThePopupIsShown) {
    GwCore* popup = GwRcMgr::load(main_, "ParaPopup", 1);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->is_class(GwMENU_CLASS));
    auto* item = dynamic_cast<GwMenuItem*>(popup->child("DeleteFromUserGroup"));
    EXPECT_FALSE(item->choose()) << "loaded hidden";
    popup->show();
    EXPECT_TRUE(item->choose());
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CB_Note DeleteFromUserGroup activate "}));
}

TEST_F(Menus, TabBookIncludesPagesAndActivatesTheFirst) {
    auto* book = dynamic_cast<GwTabBook*>(main_->child("Book"));
    ASSERT_NE(book, nullptr);
    GwCore* general = book->child("General");
    GwCore* leveling = book->child("Leveling");
    EXPECT_FALSE(book->is_page_included(leveling));
    EXPECT_TRUE(book->activate_first_page());
    EXPECT_EQ(book->active_page(), general);

    EXPECT_TRUE(book->include_page(leveling, true));
    EXPECT_TRUE(book->include_page(general, false));
    EXPECT_EQ(book->active_page(), leveling) << "leaving out the active page activates the first included";
    EXPECT_FALSE(book->include_page(main_->child("MenuBar"), true)) << "not a page of the book";
    book->include_page(leveling, false);
    book->include_page(book->child("Expert"), false);
    EXPECT_EQ(book->active_page(), nullptr);
    EXPECT_FALSE(book->activate_first_page());
}

TEST_F(Menus, ClickingATabActivatesOnlyAnIncludedPage) {
    auto* book = dynamic_cast<GwTabBook*>(main_->child("Book"));
    ASSERT_NE(book, nullptr);
    std::vector<int> selected;
    book->bind(GwCB_SELECT, [&](GwCore*, GwEvent* ev) {
        selected.push_back(ev->value);
        return 1;
    });
    book->activate_first_page();
    EXPECT_FALSE(book->user_select_page(book->child("Leveling"))) << "left out";
    EXPECT_FALSE(book->user_select_page(main_->child("MenuBar"))) << "not a page";
    EXPECT_TRUE(book->user_select_page(book->child("Expert")));
    EXPECT_EQ(book->active_page(), book->child("Expert"));
    EXPECT_EQ(selected, (std::vector<int>{2})) << "the index counts the pages, included or not";
    book->disable();
    EXPECT_FALSE(book->user_select_page(book->child("General")));
    EXPECT_EQ(book->active_page(), book->child("Expert"));
}

}  // namespace
}  // namespace kinds_test

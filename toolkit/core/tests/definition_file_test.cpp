// Definition files: reading, loading windows from them, errors by file and
// line, language variants, database values and attributes kept for later.
#include <gtest/gtest.h>

#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/tests/toolkit_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace toolkit_test {
namespace {

class DefinitionFile : public ToolkitTest {};

TEST_F(DefinitionFile, LoadedWindowHasEveryNestedChildByName) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->is_class(GwAPPLFRAME_CLASS));
    EXPECT_EQ(main->title(), "Torvan");
    EXPECT_EQ(main->rect(), (GwRect{0, 0, 800, 600}));
    EXPECT_FALSE(main->is_shown()) << "a loaded window waits hidden until shown";

    struct Expected {
        const char* name;
        GwKind kind;
    };
    const Expected children[] = {
        {"MainContainer", GwCONTAINER_CLASS},
        {"State1", GwLABEL_CLASS},
        {"Number", GwEDIT_CLASS},
        {"Hex", GwFORMATEDIT_CLASS},
        {"BT_Save", GwPUSHBUTTON_CLASS},
        {"Sort", GwRADIOGROUP_CLASS},
        {"Devices", GwMULTILIST_CLASS},
        {"Font", GwCOMBO_CLASS},
        {"Speed", GwSLIDER_CLASS},
        {"Logo", GwPICTURE_CLASS},
        {"WaitIcon", GwMEDIA_CLASS},
        {"Custom", GwGENERIC_CLASS},
    };
    for (const auto& c : children) {
        SCOPED_TRACE(c.name);
        GwCore* w = main->frame_child(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->kind(), c.kind);
        EXPECT_EQ(w->frame(), main);
    }
    GwCore* state = main->child("State1");
    EXPECT_EQ(state->text(), "Ready");
    EXPECT_EQ(state->parent(), main->child("MainContainer"));
    EXPECT_EQ(state->identifier(), "MainWindow.MainContainer.State1");
    EXPECT_EQ(main->child("MainContainer")->child(0), state) << "children keep their file order";
    EXPECT_TRUE(main->child("Hex")->is_class(GwEDIT_CLASS)) << "a format edit is an edit";

    auto* sort = dynamic_cast<GwRadioGroup*>(main->child("Sort"));
    ASSERT_NE(sort, nullptr);
    EXPECT_EQ(sort->selected_item(), 0);
    auto* devices = dynamic_cast<GwMultiList*>(main->child("Devices"));
    ASSERT_NE(devices, nullptr);
    EXPECT_EQ(devices->column_count(), 2);
    EXPECT_EQ(devices->column_title(1), "Type");
    EXPECT_EQ(devices->column_width(0), 40);
    EXPECT_EQ(devices->sorting_type(0), GwSORT_NUMBER);
    EXPECT_EQ(devices->visible_count(), 5);
    auto* font = dynamic_cast<GwCombo*>(main->child("Font"));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->count(), 3);
    EXPECT_EQ(font->item_text(2), "12");
    EXPECT_EQ(dynamic_cast<GwPicture*>(main->child("Logo"))->bitmap_size(), (GwDimension{16, 16}));
    EXPECT_EQ(dynamic_cast<GwSlider*>(main->child("Speed"))->end(), 3000.0);
    EXPECT_EQ(main->help_topic(), "1200");
}

TEST_F(DefinitionFile, EveryLoadMakesAFreshWindow) {
    GwCore* first = GwRcMgr::load(nullptr, "Settings", 1);
    GwCore* second = GwRcMgr::load(nullptr, "Settings", 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    first->child("Name")->set_text("one");
    EXPECT_EQ(second->child("Name")->text(), "");
}

TEST_F(DefinitionFile, UnknownNameLoadsNothingAndExistsHasNoSideEffect) {
    EXPECT_EQ(GwRcMgr::load(nullptr, "NoSuchWindow", 1), nullptr);
    EXPECT_FALSE(GwRcMgr::exists("NoSuchWindow"));
    EXPECT_TRUE(GwRcMgr::exists("Settings"));
    EXPECT_EQ(gwtest::Find("Settings"), nullptr) << "exists must not make a window";
}

TEST_F(DefinitionFile, LoadWithParentMakesTheWindowItsChild) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    GwCore* box = GwRcMgr::load(main, "x_ErrorBox", 1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parent(), main);
    EXPECT_EQ(box->frame(), box) << "a child window is its own frame";
    EXPECT_EQ(box->owner(), main);
    EXPECT_TRUE(GwRcMgr::is_valid_child(main, box));
}

TEST_F(DefinitionFile, NamesFoundRegardlessOfLetterCase) {
    WriteDefinitionFile("Grelo.cgw", "label Hello { text = \"hi\" }\n");
    EXPECT_TRUE(GwRcMgr::use("grelo.CGW"));
    EXPECT_EQ(GwRcMgr::used_files().back(), "grelo.CGW");
    EXPECT_TRUE(GwRcMgr::exists("Hello"));
}

TEST_F(DefinitionFile, MissingFileFailsWithALogLine) {
    testsupport::ClearLoggedLines();
    EXPECT_FALSE(GwRcMgr::use("absent.cgw"));
    ASSERT_EQ(testsupport::LoggedLines().size(), 1u);
    EXPECT_EQ(testsupport::LoggedLines()[0], "GwRcMgr::use: cannot read \"absent.cgw\"");
}

TEST_F(DefinitionFile, SyntaxErrorNamesFileAndLineAndKeepsNothing) {
    struct Case {
        const char* text;
        const char* log;
    };
    const Case cases[] = {
        {"label A {\n text = \"open\n}\n", "GwRcMgr::use: broken.cgw line 2: unterminated string"},
        {"label A {\n text = \"x\"\n", "GwRcMgr::use: broken.cgw line 3: missing \"}\" of \"A\""},
        {"dialogframe A {\n\n  knob B { }\n}\n", "GwRcMgr::use: broken.cgw line 3: unknown widget kind \"knob\""},
        {"label A {\n text \"x\"\n}\n", "GwRcMgr::use: broken.cgw line 2: expected \"{\""},
        {"label A {\n on activate = \n}\n", "GwRcMgr::use: broken.cgw line 2: expected a callback name"},
        {"label A { text = x y }\n", "GwRcMgr::use: broken.cgw line 1: expected the end of the line"},
        {"bitmaps {\n LED = 16\n}\n", "GwRcMgr::use: broken.cgw line 2: a bitmap needs a width and a height"},
        {"} \n", "GwRcMgr::use: broken.cgw line 1: expected a widget kind, \"database\" or \"bitmaps\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteDefinitionFile("broken.cgw", std::string("label Before { }\n") + c.text);
        testsupport::ClearLoggedLines();
        EXPECT_FALSE(GwRcMgr::use("broken.cgw"));
        ASSERT_EQ(testsupport::LoggedLines().size(), 1u);
        // The file starts with one good line, so every line number is one more.
        std::string log = c.log;
        size_t at = log.find("line ") + 5;
        size_t end = log.find(':', at);
        log.replace(at, end - at, std::to_string(std::stoi(log.substr(at, end - at)) + 1));
        EXPECT_EQ(testsupport::LoggedLines()[0], log);
        EXPECT_FALSE(GwRcMgr::exists("Before")) << "nothing of a malformed file is kept";
    }
}

TEST_F(DefinitionFile, DeepNestingIsAnErrorNotACrash) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "container C" + std::to_string(i) + " {\n";
    for (int i = 0; i < 200; ++i) text += "}\n";
    WriteDefinitionFile("deep.cgw", text);
    testsupport::ClearLoggedLines();
    EXPECT_FALSE(GwRcMgr::use("deep.cgw"));
    ASSERT_EQ(testsupport::LoggedLines().size(), 1u);
    EXPECT_EQ(testsupport::LoggedLines()[0], "GwRcMgr::use: deep.cgw line 65: widgets nested too deeply");
}

TEST_F(DefinitionFile, LanguageSelectsTextVariants) {
    GwRcMgr::set_language(49);
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    EXPECT_EQ(main->title(), "Torvan DE");
    EXPECT_EQ(main->child("State1")->text(), "Ready") << "no variant: the plain text";
}

TEST_F(DefinitionFile, DatabaseValuesByNameOrNull) {
    EXPECT_STREQ(GwRcMgr::value("TestTool"), "testtool");
    EXPECT_STREQ(GwRcMgr::value("Graph1"), "red");
    EXPECT_STREQ(GwRcMgr::value("AxisFont"), "Arial,8");
    EXPECT_EQ(GwRcMgr::value("Graph2"), nullptr);
    EXPECT_TRUE(GwPicture::is_loadable("3_app_0.bmp")) << "bitmap names ignore letter case";
    EXPECT_FALSE(GwPicture::is_loadable("NIX.PCX"));
}

TEST_F(DefinitionFile, AttributesTheToolkitDoesNotKnowStayReadable) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    const auto* shape = main->child("Custom")->attribute("shape");
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(*shape, (std::vector<std::string>{"round", "3"}));
    EXPECT_EQ(main->child("Custom")->attribute("colour"), nullptr);
}

TEST_F(DefinitionFile, UnregisteredCallbackIsLoggedAtLoadAndLeftUnbound) {
    testsupport::ClearLoggedLines();
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    ASSERT_EQ(testsupport::LoggedLines().size(), 1u);
    EXPECT_EQ(testsupport::LoggedLines()[0],
              "GwRcMgr::load: callback \"CB_NotInAnyTable\" of \"MainWindow.MainContainer.BT_Missing\" "
              "(window.cgw line 33) is not registered");
    GwCore* button = main->child("BT_Missing");
    EXPECT_EQ(button->lookup_callback(GwCB_ACTIVATE), nullptr);
    main->show();
    EXPECT_TRUE(gwtest::Click(button)) << "clicking an unbound button does nothing harmful";
}

TEST_F(DefinitionFile, LaterDefinitionOfANameReplacesTheEarlier) {
    WriteDefinitionFile("second.cgw", "dialogframe Settings {\n title = \"Other\"\n}\n");
    testsupport::ClearLoggedLines();
    ASSERT_TRUE(GwRcMgr::use("second.cgw"));
    EXPECT_EQ(GwRcMgr::load(nullptr, "Settings", 1)->title(), "Other");
    ASSERT_EQ(testsupport::LoggedLines().size(), 1u);
    EXPECT_EQ(testsupport::LoggedLines()[0],
              "GwRcMgr::use: second.cgw line 1: \"Settings\" replaces the definition from window.cgw");
}

}  // namespace
}  // namespace toolkit_test

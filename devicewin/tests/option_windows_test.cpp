// Option buttons and the windows they open by the selected value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/option_windows.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"

namespace devicewintest {
namespace {

constexpr int kOption = 412;  // "OPT" USIGN8 0..2, texts NONE CAN PROFI

constexpr char kIndexWindow[] =
    "dialogframe 4_OPT_ { container Entries { label CanFirst { text = \"CAN\" }\n"
    " label Profi { text = \"PROFI\" }\n label 4_OPT_CanLater { text = \"CAN\" } } }\n";
constexpr char kCanWindows[] = "dialogframe 4_OPT_CanLater { label Inside { } }\ndialogframe CanFirst { }\n";
constexpr char kIndexWithoutCan[] = "dialogframe 4_OPT_ { container Entries { label Profi { text = \"PROFI\" } } }\n";
constexpr char kNamedWindow[] = "dialogframe 4_OPT_CAN { label Inside { } }\n";

class OptionTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        sim::DriveParameter* option = table.PutFullRange(kOption, "OPT", "USIGN8", 1);
        option->minimum = 0;
        option->maximum = 2;
        option->flags |= sim::kFlagValueTexts;
        option->value_texts = {{0, "NONE"}, {1, "CAN"}, {2, "PROFI"}};
        return table;
    }
    // The device window with the option button (aux text as given) and its
    // combo selecting CAN, beside the option definitions.
    GwCore* OpenOptions(const std::vector<const char*>& definitions, const char* aux = "") {
        for (const char* text : definitions) {
            EXPECT_TRUE(GwRcMgr::use_text(text, "options.cgw"));
        }
        OpenWindow(std::string("combo _PN_412 { items = \"NONE\", \"CAN\", \"PROFI\"\n"
                               " on change = CB_DvFctParaChanged_SetOptionState; user_data = \"4_OPT_\" }\n"
                               "button 412 { aux_text = \"") +
                       aux + "\" }\n",
                   MakeContext(true));
        dynamic_cast<GwCombo*>(W("_PN_412"))->select(1);
        return W("412");
    }
    // Windows of the main window of that name (listed or hidden).
    int WindowsNamed(const std::string& name) {
        int count = 0;
        for (GwCore* child : window_->children()) count += child->name() == name ? 1 : 0;
        return count;
    }
};

TEST_F(OptionTest, TheButtonIsActiveWhileAWindowExistsForTheValue) {
    struct Case {
        const char* name;
        std::vector<const char*> definitions;
        const char* aux;
        bool enabled;
        bool shown;
    };
    const Case cases[] = {
        {"neither", {"dialogframe 4_OPT_PROFI { }\n"}, "", false, true},
        {"neither, hidden", {}, "hide", true, false},
        {"index entry", {kIndexWindow, kCanWindows}, "", true, true},
        {"named window, the index without CAN", {kNamedWindow, kIndexWithoutCan}, "", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GwCore* button = OpenOptions(c.definitions, c.aux);
        EXPECT_EQ(SetOptionState(button, nullptr, GwUD("4_OPT_")), 1);
        EXPECT_EQ(button->is_enabled(), c.enabled);
        EXPECT_EQ(button->is_shown(), c.shown);
        if (!c.enabled || !c.shown) {
            const int listed = TheWindowHandler().Count();
            CB_CallOption(button, nullptr, GwUD("4_OPT_"));
            EXPECT_EQ(TheWindowHandler().Count(), listed) << "pressing it opens nothing";
        }
    }
}

TEST_F(OptionTest, ChangingTheComboReevaluatesTheButtonAtOnce) {
    GwCore* button = OpenOptions({kNamedWindow});
    auto* combo = dynamic_cast<GwCombo*>(W("_PN_412"));
    Drive().ClearCapture();
    combo->select(2);
    EXPECT_EQ(CB_DvFctParaChanged_SetOptionState(combo, nullptr, GwUD("4_OPT_")), 1);
    EXPECT_FALSE(button->is_enabled());
    combo->select(1);
    CB_DvFctParaChanged_SetOptionState(combo, nullptr, GwUD("4_OPT_"));
    EXPECT_TRUE(button->is_enabled());
    for (const std::string& t : Heard()) EXPECT_NE(t.rfind("W ", 0), 0u) << "nothing is taken over: " << t;
}

TEST_F(OptionTest, EvaluatingLeavesNoWindowBehind) {
    GwCore* button = OpenOptions({kIndexWindow, kCanWindows, kNamedWindow});
    for (int i = 0; i < 100; ++i) SetOptionState(button, nullptr, GwUD("4_OPT_"));
    EXPECT_TRUE(button->is_enabled());
    EXPECT_EQ(WindowsNamed("4_OPT_"), 0);
    EXPECT_EQ(WindowsNamed("4_OPT_CAN"), 0);
    EXPECT_EQ(WindowsNamed("4_OPT_CanLater"), 0);
}

TEST_F(OptionTest, TheLaterIndexEntryOpensFreshOnEveryPress) {
    GwCore* button = OpenOptions({kIndexWindow, kCanWindows});
    EXPECT_EQ(CB_CallOption(button, nullptr, GwUD("4_OPT_")), 1);
    GwRef<> first(TheWindowHandler().FindByName("4_OPT_CanLater"));
    ASSERT_NE(first.get(), nullptr);
    EXPECT_EQ(TheWindowHandler().FindByName("CanFirst"), nullptr);
    EXPECT_EQ(first->user_data().pointer(), static_cast<void*>(contexts_.back().get()));
    EXPECT_EQ(first->modality(), 1);
    EXPECT_EQ(first->close_mode(), 2);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(first.get()));
    EXPECT_TRUE(first->is_shown());

    CB_CallOption(button, nullptr, GwUD("4_OPT_"));
    GwCore* second = TheWindowHandler().FindByName("4_OPT_CanLater");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first.get(), nullptr) << "the first window was closed";
    EXPECT_GE(TheWindowHandler().IndexOf(second), 0);
    EXPECT_EQ(WindowsNamed("4_OPT_"), 0);
}

}  // namespace
}  // namespace devicewintest

// Taking a window's changed widgets over into the virtual drive, saving the
// device or its file set, and the question when a setup window is hidden.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_save.h"
#include "devicewin/take_over.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// Five edits in walk order, each with a text the drive accepts, and the
// take-over button.
constexpr char kFiveEdits[] =
    "formatedit A_PN_12 { text = \"7\" }\n"
    "formatedit B_PN_14 { text = \"8\" }\n"
    "formatedit C_PN_28 { text = \"9\" }\n"
    "formatedit D_PN_20 { text = \"3\" }\n"
    "formatedit E_PN_36 { text = \"4\" }\n"
    "button BT_TakeIt { }\n"
    "button BT_Save { }\n";
const char* const kEditNames[] = {"A_PN_12", "B_PN_14", "C_PN_28", "D_PN_20", "E_PN_36"};

class TakeOverTest : public DeviceWindowTest {
public:
    void MarkAll() {
        for (const char* name : kEditNames) SetWidgetChanged(W(name), true);
    }
    // The codes of the writes the drive heard ("20012").
    std::vector<std::string> WrittenCodes() {
        std::vector<std::string> codes;
        for (const std::string& t : Heard()) {
            if (t.rfind("W ", 0) == 0) codes.push_back(t.substr(2, t.find('=') - 2));
        }
        return codes;
    }
    size_t Reads() {
        size_t n = 0;
        for (const std::string& t : Heard()) n += t.rfind("R ", 0) == 0;
        return n;
    }
    GwEvent event_;
};

TEST_F(TakeOverTest, TheWalkStopsAtTheFirstRefusedWidget) {
    TestContext* context = MakeContext(true);
    OpenWindow(kFiveEdits, context);
    MarkAll();
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20028").Times(sim::kForever));
    Drive().ClearCapture();
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(CB_DvFctTakeIt(W("BT_TakeIt"), &event_, GwUD()), 1);
    EXPECT_EQ(WrittenCodes(), (std::vector<std::string>{"20012", "20014", "20028"}));
    EXPECT_EQ(Drive().Table().Find(kSpeed)->value, 7u);
    EXPECT_EQ(Drive().Table().Find(14)->value, 8u);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_NE(NewBoxes()[0].text.find(GetMain()->ParaBaseErrorText(context->Base.get())), std::string::npos);
    EXPECT_TRUE(W("BT_TakeIt")->is_enabled());
    for (const char* name : {"C_PN_28", "D_PN_20", "E_PN_36"}) EXPECT_TRUE(IsWidgetChanged(W(name))) << name;
    EXPECT_FALSE(context->Modified);
    EXPECT_TRUE(window_->is_visible());
}

TEST_F(TakeOverTest, AcceptedWidgetsAreWrittenInWalkOrderAndTheWindowReadAgain) {
    for (bool anyChanged : {true, false}) {
        SCOPED_TRACE(anyChanged ? "five changed" : "none changed");
        TestContext* context = MakeContext(true);
        OpenWindow(kFiveEdits, context);
        if (anyChanged) MarkAll();
        Drive().ClearCapture();
        EXPECT_EQ(CB_DvFctTakeIt(W("BT_TakeIt"), &event_, GwUD()), 1);
        const std::vector<std::string> expected = {"20012", "20014", "20028", "20020", "20036"};
        EXPECT_EQ(WrittenCodes(), anyChanged ? expected : std::vector<std::string>{});
        EXPECT_GE(Reads(), 5u);
        EXPECT_EQ(Heard().back().rfind("R ", 0), 0u);
        EXPECT_FALSE(W("BT_TakeIt")->is_enabled());
        EXPECT_TRUE(context->Modified);
        window_->destroy();
    }
}

TEST_F(TakeOverTest, OkTakesOverAndHides) {
    TestContext* context = MakeContext(false);
    OpenWindow(kFiveEdits, context);
    MarkAll();
    EXPECT_EQ(CB_DvFctOK(W("BT_TakeIt"), &event_, GwUD()), 1);
    EXPECT_TRUE(context->Modified);
    EXPECT_FALSE(window_->is_visible());
    double v = 0.0;
    EXPECT_EQ(context->Base->GetValueDouble(kSpeed, &v, 0), 0);
    EXPECT_EQ(v, 7.0);
}

TEST_F(TakeOverTest, TakeItForControlTakesOnlyTheDialogsWidgets) {
    TestContext* context = MakeContext(true);
    OpenWindow(
        "formatedit Out_PN_12 { text = \"7\" }\n"
        "dialogframe Dlg { formatedit In_PN_14 { text = \"8\" }\n button BT_TakeIt { } }\n",
        context);
    GwCore* dialog = W("Dlg");
    dialog->set_user_data(GwUD(static_cast<void*>(context)));
    SetWidgetChanged(W("Out_PN_12"), true);
    SetWidgetChanged(dialog->child("In_PN_14"), true);
    Drive().ClearCapture();
    EXPECT_EQ(TakeItForControl(dialog, &event_, GwUD()), 1);
    EXPECT_EQ(WrittenCodes(), (std::vector<std::string>{"20014"}));
    EXPECT_TRUE(IsWidgetChanged(W("Out_PN_12")));
    EXPECT_TRUE(context->Modified);
}

TEST_F(TakeOverTest, OkIgnoringTheRunModeClosesTheControlWindowsOnline) {
    ListedOnlineWindow("DeviceControl");
    ListedOnlineWindow("4_AOC_Jog");
    TestContext* context = MakeContext(true);
    OpenWindow(kFiveEdits, context);
    NewLogText();
    EXPECT_EQ(CB_DvFctOK_IgnoreRm(W("BT_TakeIt"), &event_, GwUD()), 1);
    EXPECT_NE(NewLogText().find("IgnoreNextRunModeChange adjusted"), std::string::npos);
    EXPECT_EQ(TheWindowHandler().FindByName("DeviceControl"), nullptr);
    EXPECT_EQ(TheWindowHandler().FindByName("4_AOC_Jog"), nullptr);
    EXPECT_FALSE(window_->is_visible());
    EXPECT_TRUE(context->Modified);
}

class SaveTest : public TakeOverTest {};

TEST_F(SaveTest, OnlineSaveLogsAndStoresTheDataSet) {
    for (bool titled : {true, false}) {
        TestContext* context = MakeContext(true);
        OpenWindow(kFiveEdits, context);
        if (titled) window_->set_title("Title");
        context->Modified = true;
        // The signature watch of the main window.
        auto* watch = new GwContainer(kMainContainerName, mainWindow_);
        watch->show();
        NewLogText();
        Drive().ClearCapture();
        EXPECT_EQ(CB_SaveDevice(W("BT_Save"), &event_, GwUD()), 1);
        const std::string log = NewLogText();
        if (titled) {
            EXPECT_NE(log.find("Save device data activated in window -> \"Title\"\n"), std::string::npos) << log;
        } else {
            EXPECT_NE(log.find("Save device data activated in window -> \"\n"), std::string::npos) << log;
        }
        EXPECT_EQ(WrittenCodes(), (std::vector<std::string>{"20150"}));
        EXPECT_FALSE(context->Modified);
        // The signature watch ran and set its next tick.
        EXPECT_TRUE(watch->is_timer_running());
        watch->destroy();
        window_->destroy();
    }
}

TEST_F(SaveTest, OpenControlWindowsAreAskedAboutFirst) {
    for (int answer : {GwRESULT_NO, GwRESULT_YES}) {
        ListedOnlineWindow("DeviceControl");
        TestContext* context = MakeContext(true);
        OpenWindow(kFiveEdits, context);
        context->Modified = true;
        Drive().ClearCapture();
        MarkBoxes();
        gwtest::AnswerBox(answer);
        CB_SaveDevice(W("BT_Save"), &event_, GwUD());
        ASSERT_FALSE(NewBoxes().empty());
        EXPECT_EQ(NewBoxes()[0].kind, "question");
        EXPECT_NE(NewBoxes()[0].text.find("The manual control window is open"), std::string::npos);
        if (answer == GwRESULT_NO) {
            EXPECT_TRUE(WrittenCodes().empty());
            EXPECT_NE(TheWindowHandler().FindByName("DeviceControl"), nullptr);
            EXPECT_TRUE(context->Modified);
            TheWindowHandler().CloseByName("DeviceControl");
        } else {
            EXPECT_EQ(WrittenCodes(), (std::vector<std::string>{"20150"}));
            EXPECT_EQ(TheWindowHandler().FindByName("DeviceControl"), nullptr);
            EXPECT_FALSE(context->Modified);
        }
        window_->destroy();
    }
}

TEST_F(SaveTest, RefusedSaveKeepsTheModifiedFlag) {
    TestContext* context = MakeContext(true);
    OpenWindow(kFiveEdits, context);
    context->Modified = true;
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20150").Times(sim::kForever));
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    CB_SaveDevice(W("BT_Save"), &event_, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_TRUE(context->Modified);
}

TEST_F(SaveTest, OfflineSaveWritesTheFileSet) {
    TestContext* context = MakeContext(false);
    OpenWindow(kFiveEdits, context);
    context->Modified = true;
    const std::filesystem::path dir = std::filesystem::current_path() / "saved";
    std::filesystem::create_directories(dir);
    context->Base->InitFile((dir / "set.00D").string().c_str());
    Drive().ClearCapture();
    MarkBoxes();
    const uint32_t before = platform::GetTickCount();
    CB_SaveDevice(W("BT_Save"), &event_, GwUD());
    EXPECT_GE(platform::GetTickCount() - before, kFileSaveShowMs);
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(NewBoxes().empty());
    for (const char* name : {"set.00D", "set.00X", "set.00T"}) EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_TRUE(context->Modified);

    context->Base->InitFile((dir / "missing" / "set.00D").string().c_str());
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    CB_SaveDevice(W("BT_Save"), &event_, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_NE(NewBoxes()[0].text.find(GetMain()->ParaBaseErrorText(context->Base.get())), std::string::npos);
}

TEST_F(SaveTest, HidingTheSetupWindowAsksWhetherToSave) {
    struct Case {
        const char* what;
        bool online;
        bool modified;
        bool pending;
        int answer;  // 0: no question expected
        const char* question;
        bool saved;
        bool saveButton;
    };
    // clang-format off
    const Case cases[] = {
        {"online, yes", true, true, false, GwRESULT_YES, "Store them in the device", true, true},
        {"online, no", true, true, false, GwRESULT_NO, "Store them in the device", false, true},
        {"offline, yes", false, true, false, GwRESULT_YES, "Store them in the file", true, true},
        {"offline, no", false, true, false, GwRESULT_NO, "Store them in the file", false, true},
        {"uncoupling pending", true, true, true, 0, nullptr, false, true},
        {"nothing changed", true, false, false, 0, nullptr, false, true},
        {"no save button", true, true, false, GwRESULT_YES, "Store them in the device", true, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestContext* context = MakeContext(c.online);
        OpenWindow(c.saveButton ? kFiveEdits : "formatedit A_PN_12 { }", context);
        const std::filesystem::path file = std::filesystem::current_path() / "hide.00D";
        std::filesystem::remove(file);
        if (!c.online) context->Base->InitFile(file.string().c_str());
        context->Modified = c.modified;
        UncouplingPending = c.pending;
        Drive().ClearCapture();
        MarkBoxes();
        if (c.answer != 0) gwtest::AnswerBox(c.answer);
        EXPECT_EQ(Hide_CB_SetupMain(window_, &event_, GwUD()), 1);
        UncouplingPending = false;
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        if (c.question == nullptr) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_FALSE(boxes.empty());
            EXPECT_NE(boxes[0].text.find(c.question), std::string::npos);
        }
        const bool written =
            c.online ? WrittenCodes() == std::vector<std::string>{"20150"} : std::filesystem::exists(file);
        EXPECT_EQ(written, c.saved);
        EXPECT_FALSE(context->Modified);
        window_->destroy();
    }
}

TEST_F(SaveTest, TakeItSaveAndCloseDoesAllThree) {
    TestContext* context = MakeContext(true);
    OpenWindow(kFiveEdits, context);
    SetWidgetChanged(W("A_PN_12"), true);
    Drive().ClearCapture();
    EXPECT_EQ(CB_TakeItSaveDeviceAndCloseWindow(W("BT_TakeIt"), &event_, GwUD()), 1);
    EXPECT_EQ(WrittenCodes(), (std::vector<std::string>{"20012", "20150"}));
    EXPECT_FALSE(context->Modified);
    EXPECT_FALSE(window_->is_visible());
}

}  // namespace
}  // namespace devicewintest

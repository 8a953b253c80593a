// The host's calls of the editor control, observed through the recording
// control: openings from a device window and of a source file, the window
// list's callbacks, the binding of the control and the editor's following of
// the active device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/window_handler.h"
#include "families/plc_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/com/com_variant.h"
#include "plceditor/interface/sindel_ids.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_editor_wrapper.h"
#include "plchost/plc_host_state.h"
#include "plchost/tests/plc_host_fixture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace plchosttest {
namespace {

using Calls = std::vector<std::string>;

const Calls kReopening = {"1", "10 3.1 768", "1", "9 ..\\TMP\\PlcIn.txt", "3", "2"};

TEST_F(PlcHostTest, FirstOpeningBindsTheControlAndOpensTheDeviceProgram) {
    for (int i = 0; i < sim::kPlcProgramWords; ++i) Program(0).elements[i] = 0xA000 + i;
    OpenFromDeviceWindow();
    Calls first = {"7 ..\\TMP\\PlcOut.txt", "8 ..\\FIRMDATA\\"};
    first.insert(first.end(), kReopening.begin(), kReopening.end());
    EXPECT_EQ(EditorCalls(), first);
    EXPECT_EQ(PlcInBytes().substr(0, 20), "0000A000\r\n0000A001\r\n");
    EXPECT_EQ(PlcInBytes().size(), 768u * 10);
    ASSERT_NE(PlcEditorWindow(), nullptr);
    EXPECT_TRUE(PlcEditorWindow()->is_visible());
    EXPECT_EQ(ThePlcEditorX().control(), PlcEditorWindow()->child(kPlcEditorControl));
    EXPECT_EQ(PlcParaBase, contexts_.back()->Base.get()) << "the window's base";

    GwCore* window = PlcEditorWindow();
    ClearEditorCalls();
    gwtest::Click(W("Editor"));
    EXPECT_EQ(EditorCalls(), kReopening);
    EXPECT_EQ(PlcEditorWindow(), window) << "the window is reused";
    EXPECT_TRUE(NewBoxTexts().empty());
}

TEST_F(PlcHostTest, VersionAndLengthComeFromTheWindowsBase) {
    struct Case {
        const char* what;
        bool online;
        bool lacksVersion;
        const char* call;
    };
    const Case cases[] = {
        {"online base", true, false, "10 3.1 768"},
        {"offline base, stored values", false, false, "10 2.5 512"},
        {"base without 527 and 528", true, true, "10 0 0"},
    };
    for (const Case& c : cases) {
        OpenDeviceWindow(c.online);
        ParaBase* base = contexts_.back()->Base.get();
        base->SetValueDouble(kPlcVersionParameter, 2.5);
        base->SetValueDouble(kPlcArrayLengthParameter, 512);
        if (c.lacksVersion) {
            *base->GetEntry(kPlcVersionParameter) = ParameterEntry{};
            *base->GetEntry(kPlcArrayLengthParameter) = ParameterEntry{};
        }
        ClearEditorCalls();
        gwtest::Click(W("Editor"));
        const Calls calls = EditorCalls();
        EXPECT_NE(std::find(calls.begin(), calls.end(), std::string(c.call)), calls.end()) << c.what;
    }
}

TEST_F(PlcHostTest, DeviceWithoutPlcProjectOpensNothing) {
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    OpenFromDeviceWindow();
    EXPECT_EQ(NewBoxTexts(), std::vector<std::string>{"warning: The device holds no PLC project!"});
    EXPECT_TRUE(EditorCalls().empty());
    EXPECT_EQ(PlcEditorWindow(), nullptr);
}

TEST_F(PlcHostTest, SourceFileIsChosenInTheUserDataDirectory) {
    OpenDeviceWindow(true);
    gwtest::CancelFile();
    EXPECT_EQ(CB_CallPlcProgrammEditor(W("Editor"), nullptr, GwUD("File")), 1);
    EXPECT_TRUE(EditorCalls().empty());
    EXPECT_EQ(PlcEditorWindow(), nullptr);
    const GwFileRequest& cancelled = GwRecorder::FileRequests().back();
    EXPECT_EQ(cancelled.title, "Ablaufprogramm wählen");
    EXPECT_EQ(cancelled.filter, "*.plc|*.plc|");
    EXPECT_EQ(cancelled.directory, GetUserDataDir());

    gwtest::AnswerFile("..\\userdata\\Conveyor.plc");
    CB_CallPlcProgrammEditor(W("Editor"), nullptr, GwUD("File"));
    EXPECT_EQ(EditorCalls(),
              (Calls{"7 ..\\TMP\\PlcOut.txt", "8 ..\\FIRMDATA\\", "1", "4 ..\\userdata\\Conveyor.plc", "3", "2"}));

    ClearEditorCalls();
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    gwtest::AnswerFile("..\\userdata\\Conveyor.plc");
    CB_CallPlcProgrammEditor(W("Editor"), nullptr, GwUD("File"));
    EXPECT_EQ(EditorCalls(), (Calls{"1", "4 ..\\userdata\\Conveyor.plc", "3"})) << "no project: offline only";
}

TEST_F(PlcHostTest, WindowListRaisesAndClosesTheEditor) {
    OpenFromDeviceWindow();
    GwCore* window = PlcEditorWindow();
    WindowHandler& list = TheWindowHandler();
    ASSERT_GE(list.IndexOf(window), 0);
    EXPECT_FALSE(list.IsOnlineWindow(window)) << "listed with online flag 0";
    ClearEditorCalls();
    list.Activate(window);
    EXPECT_EQ(EditorCalls(), Calls{"6"});
    ClearEditorCalls();
    list.Close(window);
    EXPECT_EQ(EditorCalls(), Calls{"5"});
    EXPECT_LT(list.IndexOf(window), 0);
    EXPECT_EQ(PlcEditorWindow(), window) << "the window stays loaded";
    EXPECT_FALSE(window->is_visible());

    gwtest::Click(W("Editor"));
    ASSERT_GE(list.IndexOf(window), 0);
    ClearEditorCalls();
    FireEditorEvent(sindel::kPlcOnCancel);
    EXPECT_LT(list.IndexOf(window), 0);
    EXPECT_TRUE(EditorCalls().empty()) << "the control's cancel only unlists the window";
}

TEST_F(PlcHostTest, OnlyAnOleControlNamedExactlySoIsBound) {
    ASSERT_TRUE(GwRcMgr::use_text(R"(
dialogframe WrongName { olecontrol plceditorcontrol { wrapper = PlcEditorX } }
dialogframe NotOle { button PlcEditorControl { text = "x" } }
dialogframe Nested { container Box { olecontrol PlcEditorControlX { wrapper = PlcEditorX } } }
)",
                                  "plc_bind.cgw"));
    for (const char* name : {"WrongName", "NotOle", "Nested"}) {
        GwCore* window = GwRcMgr::load(mainWindow_, name, 1);
        ASSERT_NE(window, nullptr) << name;
        EXPECT_EQ(cb_create_PLCEditor(window, nullptr, GwUD()), 1);
        EXPECT_EQ(ThePlcEditorX().control(), nullptr) << name;
        window->destroy();
    }
    EXPECT_TRUE(EditorCalls().empty());
}

TEST_F(PlcHostTest, EditorFollowsTheActiveDevice) {
    UpdatePlcEditorOnline();
    EXPECT_TRUE(EditorCalls().empty()) << "no editor loaded";
    OpenFromDeviceWindow();
    ClearEditorCalls();
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
    UpdatePlcEditorOnline();
    EXPECT_EQ(EditorCalls(), (Calls{"3", "2"}));
    ClearEditorCalls();
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    UpdatePlcEditorOnline();
    EXPECT_EQ(EditorCalls(), Calls{"3"});
}

TEST_F(PlcHostTest, ContextDestructionDropsTheWindowsBase) {
    OpenFromDeviceWindow();
    ASSERT_EQ(PlcParaBase, contexts_.back()->Base.get());
    window_->destroy();
    contexts_.clear();
    EXPECT_EQ(PlcParaBase, nullptr);
    ClearEditorCalls();
    CB_CallPlcProgrammEditor(nullptr, nullptr, GwUD());
    EXPECT_EQ(EditorCalls(), (Calls{"1", "10 0 0", "1", "9 ..\\TMP\\PlcIn.txt", "3", "2"}))
        << "the program comes from the active device";
}

}  // namespace
}  // namespace plchosttest

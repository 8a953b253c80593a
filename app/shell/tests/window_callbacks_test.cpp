#include "app/shell/window_callbacks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main/app_context.h"
#include "app/main/editor_context.h"
#include "app/main/main_display.h"
#include "app/mainwindow/docking_manager.h"
#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "app/shell/data_set_callbacks.h"
#include "app/shell/tests/shell_fixture.h"
#include "bus/can/can_open_tarn.h"
#include "bus/serial/tarn_bus.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "parameters/parabase/para_base.h"
#include "paratools/compare/compare_window.h"
#include "paratools/compare/para_compare_base.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/postab_editor.h"
#include "paratools/print/print_wizard.h"
#include "sim/can_bus.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace {

using shelltest::ShellTest;

constexpr char kEditorDefinition[] = "dialogframe ParameterEditor { title = \"Parameters [device]\" }\n";

class WindowCallbackTest : public ShellTest {};

// The two tests run in this order: the second finds what the first left.
class StateBetweenTestsTest : public ShellTest {};

TEST_F(StateBetweenTestsTest, ParameterEditorPrintWizardAndCompareWindowOpenTogether) {
    Activate();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_EQ(CB_CallParameterEditor(nullptr, nullptr, GwUD("online")), 1);
    ASSERT_NE(Listed("ParameterEditor"), nullptr);
    EXPECT_NE(GetParameterEditor(), nullptr);
    EXPECT_NE(TheParameterEditorContext().Base, nullptr);

    EXPECT_EQ(CB_PrintADevPara(nullptr, nullptr, GwUD()), 1);
    ASSERT_NE(Listed("PrintPara0"), nullptr);
    EXPECT_NE(ThePrintWizard().base, nullptr);

    GwCore* compare = GwRcMgr::load(frame_, kCompareWindow);
    ASSERT_NE(compare, nullptr);
    TheWindowHandler().Add(compare, 0);
    compare->show();
    ASSERT_TRUE(gwtest::Click("ParaCompare/Options"));
    dynamic_cast<GwToggle*>(gwtest::Get("CompareOptions/Level6"))->set_checked(true);
    ASSERT_TRUE(gwtest::Click("CompareOptions/OK"));
    EXPECT_EQ(TheCompareBase().Options.Level, 6);
}

TEST_F(StateBetweenTestsTest, TheNextTestFindsEveryOneOfTheirStatesAtItsStart) {
    EXPECT_EQ(GetParameterEditor(), nullptr);
    EXPECT_EQ(GetPosTabEditor(), nullptr);
    EXPECT_EQ(TheParameterEditorContext().Base, nullptr);
    EXPECT_EQ(TheParameterEditorContext().Mode, kEditorModeOnline);
    EXPECT_EQ(NextListRow, 0);

    const PrintWizardState& wizard = ThePrintWizard();
    EXPECT_EQ(wizard.base, nullptr);
    EXPECT_EQ(wizard.settings, nullptr);
    EXPECT_EQ(wizard.printJob, nullptr);
    EXPECT_TRUE(wizard.properties.empty());
    EXPECT_TRUE(wizard.rememberedDirectory.empty());

    EXPECT_EQ(TheCompareBase().Options.Level, CompareOptions{}.Level);
    EXPECT_FALSE(TheCompareBase().TableLoaded);

    EXPECT_EQ(App().GetDockingManager(), nullptr);
    EXPECT_EQ(TheWindowHandler().Count(), 0);
}

TEST_F(WindowCallbackTest, ParameterEditorOpensOnlineOrOnAnOfflineCopyAndNothingForOtherUserData) {
    Activate();
    TheWindowHandler().CloseAllOnExit();
    Define(kEditorDefinition);

    EXPECT_EQ(CB_CallParameterEditor(nullptr, nullptr, GwUD("Online")), 1);
    EXPECT_EQ(Listed("ParameterEditor"), nullptr);

    EXPECT_EQ(CB_CallParameterEditor(nullptr, nullptr, GwUD("online")), 1);
    GwCore* editor = Listed("ParameterEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(TheParameterEditorContext().Mode, kEditorModeOnline);
    EXPECT_EQ(TheParameterEditorContext().Base, main_->ActiveParaBase());
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(editor));
    EXPECT_EQ(editor->document_option(), 1);
    EXPECT_EQ(editor->title(), "Parameters ");
    EXPECT_EQ(editor->user_data().string(), "online");
    EXPECT_TRUE(editor->is_visible());

    EXPECT_FALSE(main_->OwnParaBase().TableLoaded);
    EXPECT_EQ(CB_CallParameterEditor(nullptr, nullptr, GwUD("offline")), 1);
    editor = Listed("ParameterEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(TheParameterEditorContext().Mode, kEditorModeOffline);
    EXPECT_EQ(editor->user_data().string(), "offline");
    uint16_t type = 0;
    EXPECT_EQ(main_->OwnParaBase().GetValueU16(91, &type), 0);
    EXPECT_EQ(type, maintest::kTypeNumber);
    EXPECT_EQ(TheWindowHandler().Count(), 1);
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(WindowCallbackTest, OfflineCopyWithoutAnActiveDeviceCopiesNothing) {
    Define(kEditorDefinition);
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_EQ(CB_CallParameterEditor(nullptr, nullptr, GwUD("offline")), 1);
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"info: No device is online!"});
    EXPECT_EQ(Listed("ParameterEditor"), nullptr);
    EXPECT_FALSE(main_->OwnParaBase().TableLoaded);
    EXPECT_NE(TheParameterEditorContext().Mode, kEditorModeOffline);
}

TEST_F(WindowCallbackTest, SetupMainOnlineOpensTheFamilyWindowRaisesItOrFallsBackToTheEditor) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_EQ(OpenSetupMainOnline(), 0);
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"info: No device is online!"});

    Activate();
    TheWindowHandler().CloseAllOnExit();
    Define(kEditorDefinition);
    EXPECT_EQ(OpenSetupMainOnline(), 1);
    GwCore* editor = Listed("ParameterEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->user_data().string(), "online");
    EXPECT_EQ(TheParameterEditorContext().Mode, kEditorModeOnline);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(editor));

    Define("dialogframe 4_SetupMain { title = \"Setup\" }\n");
    EXPECT_EQ(OpenSetupMainOnline(), 1);
    GwCore* setup = Listed("4_SetupMain");
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->user_data().string(), "online");
    EXPECT_EQ(setup->document_option(), 1);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(setup));
    const int listed = TheWindowHandler().Count();
    EXPECT_EQ(OpenSetupMainOnline(), 1);
    EXPECT_EQ(Listed("4_SetupMain"), setup);
    EXPECT_EQ(TheWindowHandler().Count(), listed);
    EXPECT_TRUE(NewBoxes().empty());
}

// The manual-mode tool asks the risk note before it takes a drive over.
TEST_F(WindowCallbackTest, TheManualModeToolCallsTheDeviceControl) {
    Activate();
    SetUserLevel(4);
    GwCore* tool = frame_->child("TD_Ctrl");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->callback_name(GwCB_ACTIVATE), "CB_CallDeviceControl");
    gwtest::AnswerModal(2, "RiskNote_ManualMode");
    ASSERT_TRUE(gwtest::ChooseMenuItem(tool));
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
    EXPECT_EQ(Listed("DeviceControl"), nullptr);
}

TEST_F(WindowCallbackTest, InformationWindowShowsTheLabelTitleAndVersion) {
    EXPECT_EQ(CB_ShowProgramInfo(nullptr, nullptr, GwUD()), 1);
    EXPECT_EQ(gwtest::Text("Information/Title"), "Torvan");
    EXPECT_EQ(gwtest::Text("Information/Version"), "Version 0.1");
}

// Without the definitions nothing can be loaded.
TEST(WindowCallbackWithoutDefinitions, IdentUserReturns0WhenItCannotBeLoaded) {
    EXPECT_EQ(CB_IdentUser(nullptr, nullptr, GwUD()), 0);
}

TEST_F(WindowCallbackTest, PosTabFileEditorOpensFilesOfDeviceKind4Only) {
    MakeFileSet("Table");
    MakeFileSetOfType("Other", 3120);
    TheWindowHandler().CloseAllOnExit();
    Define("dialogframe PosTabEditor { title = \"Table [none]\" }\n");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);

    gwtest::CancelFile();
    EXPECT_EQ(CB_CallPosTabFileEditor(nullptr, nullptr, GwUD()), 0);
    gwtest::AnswerFile("..\\userdata\\Other.00D");
    EXPECT_EQ(CB_CallPosTabFileEditor(nullptr, nullptr, GwUD()), 1);
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"error: This window works only with devices of class 4!"});
    EXPECT_EQ(Listed("PosTabEditor"), nullptr);

    gwtest::AnswerFile("..\\userdata\\Table.00D");
    EXPECT_EQ(CB_CallPosTabFileEditor(nullptr, nullptr, GwUD()), 1);
    GwCore* editor = Listed("PosTabEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->user_data().string(), "..\\userdata\\Table.00D");
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(editor));
    EXPECT_EQ(editor->title(), "Table  [..\\userdata\\Table.00D]");

    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].filter, "Parameter files|*.00D|All files|*|");
    EXPECT_EQ(requests[0].title, "Choose parameter file");
    EXPECT_EQ(requests[0].directory, GetUserDataDir());
    EXPECT_EQ(requests[2].directory, "..\\userdata\\Other.00D");
}

TEST(PosTabTitleTest, TheTitleNamesTheFile) {
    const struct {
        const char* title;
        const char* want;
    } cases[] = {
        {"Position tables [device]", "Position tables [p.01d]"},
        {"Tables", "Tables [p.01d]"},
        {"[device]", " [p.01d]"},
        {"", " [p.01d]"},
    };
    for (const auto& c : cases) EXPECT_EQ(TitleForFile(c.title, "p.01d"), c.want) << c.title;
}

// The Ruvex setup window's position-table button: online the editor of the
// device, on a parameter file the editor on the table file beside it.
class RuvexPosTabTest : public ShellTest {
protected:
    GwCore* SetupWindow(bool online) {
        Activate();
        context_ = std::make_unique<devicewintest::TestContext>(nullptr, *main_->ActiveParaBase(), online);
        context_->Base->SetPath(kDFilePath, "..\\userdata\\axis.00D");
        Define("dialogframe RuvexSetup { button Tables { } }\n");
        GwCore* window = GwRcMgr::load(frame_, "RuvexSetup", 1);
        window->set_user_data(GwUD(static_cast<void*>(context_.get())));
        window->show();
        return window->child("Tables");
    }
    std::unique_ptr<devicewintest::TestContext> context_;
};

TEST_F(RuvexPosTabTest, OnAFileTheEditorWorksOnTheTableFileModally) {
    GwCore* button = SetupWindow(false);
    TheWindowHandler().CloseAllOnExit();
    // The table file of a class-4 device, which the editor reads.
    ParaBase table;
    table.InitFile("..\\userdata\\axis.01d");
    ASSERT_EQ(table.CopyBase(*main_->ActiveParaBase()), 0);
    table.GetEntry(91)->value = 4120;
    ASSERT_EQ(table.WriteFileBase(), 0);
    // A listed editor is closed first.
    GwCore* earlier = GwRcMgr::load(frame_, "PosTabEditor", 1);
    TheWindowHandler().Add(earlier, 1);
    earlier->show();
    const GwRef<> earlierRef(earlier);
    EXPECT_EQ(CB_4_CallPosTabFileEditor(button, nullptr, GwUD()), 1);
    EXPECT_EQ(earlierRef.get(), nullptr);
    GwCore* editor = Listed("PosTabEditor");
    EXPECT_TRUE(NewBoxes().empty());
    ASSERT_NE(editor, nullptr);
    // The editor works on the table file in file mode.
    ASSERT_NE(GetPosTabEditor(), nullptr);
    EXPECT_TRUE(GetPosTabEditor()->FileMode);
    EXPECT_EQ(GetPosTabEditor()->FilePath, "..\\userdata\\axis.01d");
    EXPECT_EQ(editor->title(), "Position tables [..\\userdata\\axis.01d]");
    EXPECT_EQ(editor->modality(), 1);
    EXPECT_EQ(editor->owner(), button->frame());
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(editor));
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    for (const char* extension : {"D", "T", "X"}) {
        std::filesystem::remove(testsupport::RuntimePath(std::string("userdata/axis.01") + extension));
    }
}

TEST_F(RuvexPosTabTest, OnlineTheDeviceEditorOpens) {
    GwCore* button = SetupWindow(true);
    TheWindowHandler().CloseAllOnExit();
    EXPECT_EQ(CB_4_CallPosTabFileEditor(button, nullptr, GwUD()), 1);
    GwCore* editor = Listed("PosTabEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(editor));
    EXPECT_EQ(editor->title(), "Position tables ");
}

TEST_F(RuvexPosTabTest, AMissingDefinitionShowsError7WithoutParent) {
    GwCore* button = SetupWindow(false);
    GwRcMgr::reset();
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    EXPECT_EQ(CB_4_CallPosTabFileEditor(button, nullptr, GwUD()), 1);
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    ASSERT_FALSE(gwtest::Boxes().empty());
    EXPECT_EQ(gwtest::Boxes().back().text, "A window or one of its elements could not be loaded!");
    // No parent given: the box stands over the main window.
    EXPECT_EQ(gwtest::Boxes().back().parent, "MainWindow");
}

TEST_F(WindowCallbackTest, WindowMenuListsTheOpenWindowsOnceAndRaisesTheChosenOne) {
    GwCore* menu = frame_->child("M_Window");
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(gwtest::OpenMenu(menu));
    EXPECT_EQ(menu->child("M_Alpha"), nullptr);
    EXPECT_FALSE(gwtest::IsEnabled(menu->child("M_CloseAll")));

    Define("dialogframe Alpha { title = \"First window\" }\ndialogframe Beta { }\n");
    GwCore* alpha = GwRcMgr::load(frame_, "Alpha", 1);
    GwCore* beta = GwRcMgr::load(frame_, "Beta", 1);
    for (GwCore* w : {alpha, beta}) {
        w->show();
        TheWindowHandler().Add(w, 0);
    }
    ASSERT_TRUE(gwtest::OpenMenu(menu));
    ASSERT_TRUE(gwtest::OpenMenu(menu));
    int items = 0;
    for (GwCore* child : menu->children()) items += child->is_alive() && child->name().rfind("M_", 0) == 0;
    EXPECT_EQ(items, 4);  // "M_CloseAll", "M_NetList" and one per window
    EXPECT_TRUE(gwtest::IsEnabled(menu->child("M_CloseAll")));
    EXPECT_EQ(gwtest::Text(menu->child("M_Alpha")), "First window");
    ASSERT_NE(menu->child("M_Beta"), nullptr);

    beta->minimize();
    EXPECT_TRUE(gwtest::Click(menu->child("M_Beta")));
    EXPECT_NE(beta->frame_state(), 2);
}

TEST_F(WindowCallbackTest, ExtrasMenuFollowsLevelDeviceAndBus) {
    AddDrive(maintest::kAddress);
    AddDrive(4, maintest::ActivationTable(9100));
    OpenSerialBus();
    GwCore* menu = frame_->child("Extras");
    ASSERT_NE(menu, nullptr);
    // Shown and enabled: LoadFirmware shown, enabled; Debug and
    // RunModeDefaults shown; ParaEdit shown; MF_Part shown; SioMonitor
    // enabled.
    enum Bus { kSerial, kCan, kNone };
    struct Case {
        int address;  // -1: no device online
        int level;
        Bus bus;
        const char* expected;
    };
    const Case cases[] = {
        {maintest::kAddress, 3, kSerial, "LF:-+ DB:- PE:+ MF:- SM:-"},
        {maintest::kAddress, 4, kSerial, "LF:++ DB:- PE:+ MF:+ SM:-"},
        {maintest::kAddress, 5, kSerial, "LF:++ DB:- PE:+ MF:+ SM:+"},
        {maintest::kAddress, 6, kSerial, "LF:++ DB:+ PE:+ MF:+ SM:+"},
        {4, 6, kSerial, "LF:-- DB:+ PE:+ MF:+ SM:+"},
        {4, 4, kSerial, "LF:-- DB:- PE:+ MF:+ SM:-"},
        {-1, 6, kSerial, "LF:++ DB:- PE:- MF:+ SM:+"},
        {-1, 3, kSerial, "LF:-+ DB:- PE:- MF:- SM:-"},
        {-1, 6, kCan, "LF:+- DB:- PE:- MF:+ SM:-"},
        {-1, 3, kCan, "LF:-- DB:- PE:- MF:- SM:-"},
        {-1, 6, kNone, "LF:+- DB:- PE:- MF:+ SM:-"},
        {-1, 4, kNone, "LF:+- DB:- PE:- MF:+ SM:-"},
    };
    sim::RegisterVirtualCanAdapter();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    for (const Case& c : cases) {
        main_->UncoupleAllDevices();
        if (c.bus != kSerial && main_->GetSerialBus() != nullptr) main_->CloseTarnBus();
        if (c.bus == kCan && main_->GetCanBus() == nullptr) {
            ASSERT_TRUE(main_->OpenCanBus(3, kHardwareUsb, 0, 0, true));
        }
        if (c.bus == kNone && main_->GetCanBus() != nullptr) main_->CloseCanBus();
        if (c.address >= 0) {
            // Uncoupling dropped the bus's records of the drives.
            for (auto& [address, drive] : drives_) {
                main_->GetSerialBus()->AddDevice(address, static_cast<uint16_t>(drive->Table().type_number), 1.3f);
            }
            ASSERT_TRUE(main_->SetActiveDevice(c.address)) << ::testing::PrintToString(NewBoxes());
        }
        SetUserLevel(static_cast<uint16_t>(c.level));
        ASSERT_TRUE(gwtest::OpenMenu(menu));
        auto sign = [](bool on) { return on ? "+" : "-"; };
        auto in = [&](const char* name) { return menu->child(name); };
        const std::string seen =
            std::string("LF:") + sign(in("LoadFirmware")->is_shown()) + sign(in("LoadFirmware")->is_enabled()) +
            " DB:" + sign(in("Debug")->is_shown()) + " PE:" + sign(in("ParaEdit")->is_shown()) +
            " MF:" + sign(frame_->child("MF_Part")->is_shown()) + " SM:" + sign(in("SioMonitor")->is_enabled());
        EXPECT_EQ(seen, c.expected) << "address " << c.address << " level " << c.level << " bus " << c.bus;
        EXPECT_EQ(in("RunModeDefaults")->is_shown(), in("Debug")->is_shown());
    }
}

TEST_F(WindowCallbackTest, ReopeningOpensEachMarkedWindowWhoseEntryIsEnabled) {
    Activate();
    TheWindowHandler().CloseAllOnExit();
    Define(
        "dialogframe BusMonitor { }\ndialogframe DebugDevice { }\ndialogframe DigitalScope { }\n"
        "dialogframe 4_SetupMain { }\ndialogframe PosTabEditor { title = \"Table\" }\n");
    struct Case {
        const char* entry;
        const char* section;  // null: no profile check
        const char* window;
    };
    const Case cases[] = {
        {"MK_Bdiag", "Pos_SioMonitor", "BusMonitor"},
        {"Debug", "Pos_DebugDevice", "DebugDevice"},
        {"MD_Scope", "Pos_DigitalScope", "DigitalScope"},
        {"MD_Edit", nullptr, "4_SetupMain"},
        {"AllPOS_PosTabEditor", "Pos_PosTabEditor", "PosTabEditor"},
    };
    GwProfile* profile = MainProfile();
    ASSERT_NE(profile, nullptr);
    for (const Case& row : cases) {
        // enabled, marked -> opens; disabled, marked -> no; enabled, not
        // marked -> no (the row without a section opens when enabled).
        for (int variant = 0; variant < 3; ++variant) {
            TheWindowHandler().CloseAllOnExit();
            for (const Case& other : cases) frame_->child(other.entry)->disable();
            const bool enabled = variant != 1;
            const bool marked = variant != 2;
            if (enabled) frame_->child(row.entry)->enable();
            if (row.section != nullptr) {
                ASSERT_TRUE(profile->select_section(row.section, true));
                profile->write_int("autostart", marked ? 1 : 0);
            }
            ReopenAutostartWindows();
            const bool expected = enabled && (marked || row.section == nullptr);
            EXPECT_EQ(Listed(row.window) != nullptr, expected) << row.entry << " variant " << variant;
            EXPECT_EQ(TheWindowHandler().Count(), expected ? 1 : 0) << row.entry << " variant " << variant;
        }
    }
    EXPECT_TRUE(NewBoxes().empty());

    // An activation reopens them.
    TheWindowHandler().CloseAllOnExit();
    frame_->child("MD_Edit")->enable();
    main_->UncoupleAllDevices();
    main_->GetSerialBus()->AddDevice(maintest::kAddress, maintest::kTypeNumber, 1.3f);
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
    EXPECT_NE(Listed("4_SetupMain"), nullptr);
}

}  // namespace

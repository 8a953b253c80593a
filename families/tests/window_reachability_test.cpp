// Every window of the shipped definitions can be opened by a user: a window
// is reached from the main window, a popup or a window the program's own code
// opens, through the quoted window names of the bindings in windows already
// reached (a firmware variant "4_200_X" counts as reached under the base name
// "4_X" it is looked up by). And, clicked in the shipped setup windows, some
// of the buttons that open the family windows do open them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/main/editor_context.h"
#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/setup_context.h"
#include "families/setup_main_window.h"
#include "families/tests/shipped_definitions.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// The windows the program's code opens by names of its own, fixed or
// composed; every other window must be named by a binding.
const char* const kOpenedByCode[] = {
    // Message boxes, activity and progress messages (app/services).
    "x_ErrorBox",
    "x_WarningBox",
    "x_InfoBox",
    "x_QuestionBox",
    "AnimatedStateMessage",
    "NonAnimatedStateMessage",
    "ProgressMessage",
    "NonAnimatedProgressMessage",
    // The main window's commands (app/shell/window_callbacks, program_exit,
    // option_book, app/main/user_levels, app/notes/risk_note).
    "IdentUser",
    "UserProfileText",
    "ExitTorvel",
    "Options",
    "PosTabEditor",
    "Information",
    "DebugDevice",
    "DigitalScope",
    "RiskNote_AdjustmentChanged",
    "RiskNote_ManualMode",
    "RiskNote_Tuning",
    // The setup main window "<family>_SetupMain" of the active device or an
    // opened file, looked up per firmware version (app/shell).
    "3_SetupMain",
    "4_SetupMain",
    "5_SetupMain",
    // Parameter tools (paratools: editor, partial base, compare, print).
    "ParameterEditor",
    "ParaSearch",
    "ParaEdit",
    "ParaField",
    "ChooseUsedPara",
    "EntryEdit",
    "CompareOptions",
    "CompareResult",
    "PrintPara0",
    "PrintPara1",
    "PrintPara2",
    "PrintPara3",
    "ParaComment",
    "ShowParaPrint",
    // Network list and bus monitors (app/mainwindow, bus/monitor).
    "NetList",
    "SioMonitor",
    "BusMonitor",
    // Device windows' helpers (devicewin): manual control, parameter
    // properties, the scope channel popup, and the bit windows the stems
    // "5_BitEdit_" and "5_BitState_" compose with the element width.
    "DeviceControl",
    "Parameter_Properties",
    "DS_Popup",
    "5_BitEdit_Byte",
    "5_BitEdit_Word",
    "5_BitEdit_DWord",
    "5_BitState_Byte",
    "5_BitState_Word",
    "5_BitState_DWord",
    // Firmware download, debug watch, scope, plot and PLC host.
    "ChooseLoaderDevice",
    "ProgressFirmld",
    "DebugOptions",
    "ChooseScopeEntry",
    "PlotTool",
    "PWGridSize",
    "PlcEditorX",
    "5_PLC_Main",
    "5_NewPLC_Main",
    // Data-set copy (parameters/datasetcopy, families/ruvex_data_set_copy).
    "3_CopyDataToDevice",
    "3_CopyDeviceToFile",
    "4_CopyDataToDevice",
    "4_CopyDeviceToFile",
    // Run-mode descriptions and option-module pictures
    // (families/run_mode_descriptions).
    "3_Hollin",
    "4_200_Hollin",
    "4_Introduction",
    // Marlo identification progress (families/marlo_identification) and the
    // control windows CB_CallCtrlWindow composes from its button's prefix
    // "3_Ctrl_" and the value text of parameter 300.
    "3_IdentProgressWin",
    "3_IdentProgressWinNonAnimated",
    "3_Ctrl_VFC",
    "3_Ctrl_FOR",
    "3_Ctrl_SFC",
    // The Pesco hand-mode window "5_AOC_<entry>" of CB5_CallHandMode
    // (families/pesco_setup_extras) and the rated point (motor/tuning).
    "5_AOC_1",
    "1_CalcRatedPoint",
    // Ruvex side windows (families/ruvex_scaling_windows,
    // ruvex_encoder_functions, ruvex_motor_functions).
    "4_NA_Main",
    "4_Enc_F0",
    "4_Enc_F1",
    "4_Enc_F2",
    "4_200_Motordata",
    "4_200_Motordata_Synchron",
    "4_200_FirstCom2",
    "4_200_FirstCom2_Synchron"};

// Windows kept in the definitions that nothing opens: the text viewer's
// create callback reads the file its user data names, but print output goes
// to the viewer the system registers, so no code loads it.
const char* const kWithoutOpener[] = {"TextViewer"};

// The top-level definitions of every shipped file.
std::vector<GwDefinition> ShippedWindows() {
    std::vector<GwDefinition> windows;
    for (const GwDefinitionFile& file : ShippedDefinitionFiles()) {
        for (const auto& window : file.windows) windows.push_back(*window);
    }
    return windows;
}

// The user data of the bindings in a definition and below it
// ("on x = F "arg"").
std::vector<std::string> BoundArguments(const GwDefinition& def) {
    std::vector<std::string> arguments;
    ForEachDefinition(def, [&](const GwDefinition& d) {
        for (const GwBindingDef& binding : d.bindings) {
            if (binding.has_user_data) arguments.push_back(binding.user_data);
        }
    });
    return arguments;
}

// The family digit and the base of a device window name, as the version
// lookup takes them apart: "4_X" and "4_200_X" both give 4 and "X".
bool SplitDeviceName(const std::string& name, std::string* family, std::string* base) {
    static const std::regex device(R"(^([1-9])_(?:[0-9]{3}_)?(.+)$)");
    std::smatch m;
    if (!std::regex_match(name, m, device)) return false;
    *family = m[1].str();
    *base = m[2].str();
    return true;
}

// The windows a name opens: itself, and for a device window name the
// family's window of the same base and each firmware variant of it.
std::vector<std::string> WindowsOpenedBy(const std::string& name,
                                         const std::map<std::string, const GwDefinition*>& windows) {
    std::vector<std::string> opened;
    if (windows.count(name)) opened.push_back(name);
    std::string family, base;
    if (!SplitDeviceName(name, &family, &base)) return opened;
    for (const auto& [other, def] : windows) {
        std::string otherFamily, otherBase;
        if (other != name && SplitDeviceName(other, &otherFamily, &otherBase) && otherFamily == family &&
            otherBase == base) {
            opened.push_back(other);
        }
    }
    return opened;
}

// The dialog frames of the blocks no user can open, in name order.
std::vector<std::string> UnreachableWindows(const std::vector<GwDefinition>& definitions) {
    std::map<std::string, const GwDefinition*> windows;
    std::vector<const GwDefinition*> pending;
    for (const GwDefinition& def : definitions) {
        if (def.kind == GwDIALOGFRAME_CLASS) {
            windows[def.name] = &def;
        } else {
            pending.push_back(&def);  // main window, popups, templates
        }
    }
    std::set<std::string> reached;
    auto reach = [&](const std::string& name) {
        for (const std::string& opened : WindowsOpenedBy(name, windows)) {
            if (reached.insert(opened).second) pending.push_back(windows.at(opened));
        }
    };
    for (const char* name : kOpenedByCode) reach(name);
    while (!pending.empty()) {
        const GwDefinition* def = pending.back();
        pending.pop_back();
        for (const std::string& argument : BoundArguments(*def)) reach(argument);
    }
    std::vector<std::string> unreachable;
    for (const auto& [name, def] : windows) {
        if (!reached.count(name)) unreachable.push_back(def->file + " " + name);
    }
    return unreachable;
}

TEST(WindowReachabilityTest, EveryShippedWindowIsOpenedByABindingOrByTheCode) {
    const std::vector<GwDefinition> windows = ShippedWindows();
    std::vector<std::string> expected;
    for (const GwDefinition& def : windows) {
        for (const char* name : kWithoutOpener) {
            if (def.kind == GwDIALOGFRAME_CLASS && def.name == name) expected.push_back(def.file + " " + name);
        }
    }
    EXPECT_EQ(expected.size(), std::size(kWithoutOpener));
    EXPECT_EQ(UnreachableWindows(windows), expected);
}

TEST(WindowReachabilityTest, TheCodesWindowNamesAreShippedWindows) {
    std::set<std::string> frames;
    for (const GwDefinition& def : ShippedWindows()) {
        if (def.kind == GwDIALOGFRAME_CLASS) frames.insert(def.name);
    }
    for (const char* name : kOpenedByCode) EXPECT_TRUE(frames.count(name)) << name;
}

TEST(WindowReachabilityTest, ReachesThroughBindingsOfReachedWindowsAndFirmwareVariants) {
    const std::string text =
        "# a comment with a brace {\n"
        "applframe MainWindow { menuitem A { text = \"{\"; on activate = CB_CallDeviceWindow \"4_Motor\" } }\n"
        "dialogframe 4_Motor { button B { on activate = CB_CallDeviceWindow \"4_Database\" } }\n"
        "dialogframe 4_Database { }\n"
        "dialogframe 4_700_Motor { }\n"
        "dialogframe 5_Motor { }\n"
        "dialogframe 4_Orphan { button C { on activate = CB_CallDeviceWindow \"4_OrphansChild\" } }\n"
        "dialogframe 4_OrphansChild { }\n"
        "popup 4_Popup { menuitem P { on activate = M4_Show \"4_FromPopup\" } }\n"
        "dialogframe 4_FromPopup { }\n"
        "dialogframe 4_200_FromCode { }\n";
    // 4_700_Motor opens under its base name; 5_Motor is another family's; a
    // window named only by an unreachable window stays unreachable; the code
    // opens "4_SetupMain" and so none of an unrelated base.
    EXPECT_EQ(
        UnreachableWindows(ParsedDefinitions(text, "t.cgw")),
        (std::vector<std::string>{"t.cgw 4_200_FromCode", "t.cgw 4_Orphan", "t.cgw 4_OrphansChild", "t.cgw 5_Motor"}));
}

const std::vector<std::string> kSetupMainWindows = {"3_SetupMain", "4_SetupMain", "4_200_SetupMain", "5_SetupMain"};

TEST(WindowReachabilityTest, EveryButtonOfTheSetupMainWindowsActs) {
    int windows = 0;
    for (const GwDefinition& window : ShippedWindows()) {
        if (window.kind != GwDIALOGFRAME_CLASS ||
            std::find(kSetupMainWindows.begin(), kSetupMainWindows.end(), window.name) == kSetupMainWindows.end())
            continue;
        ++windows;
        ForEachDefinition(window, [&](const GwDefinition& def) {
            if (def.kind != GwPUSHBUTTON_CLASS) return;
            const bool acts = std::any_of(
                def.bindings.begin(), def.bindings.end(), [](const GwBindingDef& b) { return b.event == "activate"; });
            EXPECT_TRUE(acts) << window.name << " " << def.name;
        });
    }
    EXPECT_EQ(windows, static_cast<int>(kSetupMainWindows.size()));
}

class ShippedSetupButtonsTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.Find(92)->value = maintest::FloatBits(205.5f);
        sim::DriveParameter* mode = table.PutFullRange(kRunModeParameter, "MODE", "INT16", 14);
        mode->minimum = 0;
        mode->maximum = 30;
        // The run mode chosen for installation, with its value texts.
        sim::DriveParameter* chosen = table.PutFullRange(152, "APPL", "USIGN8", 2);
        chosen->minimum = 0;
        chosen->maximum = 2;
        chosen->value_texts = {{0, "Off"}, {1, "Torque"}, {2, "Speed"}};
        chosen->flags |= sim::kFlagValueTexts;
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        GwRcMgr::use_func_desc(kSetupMainCallbacks);
        TheParameterEditorContext().Base = main_->ActiveParaBase();
    }
};

// The application list of every setup main window holds the run modes the
// drive offers for installation (the value texts of 152) when it shows.
TEST_F(ShippedSetupButtonsTest, TheRunModeListShowsTheRunModesToInstall) {
    ASSERT_TRUE(UseShippedFiles({"marlo.cgw", "marlo_v200.cgw", "ruvex.cgw", "pesco.cgw"}));
    for (const std::string& name : kSetupMainWindows) {
        SCOPED_TRACE(name);
        GwRef<> setup(GwRcMgr::load(mainWindow_, name.c_str(), 1));
        ASSERT_TRUE(setup);
        setup->set_user_data(GwUD(kSetupOnlineUserData));
        TheWindowHandler().Add(setup.get(), 1);
        setup->show();
        auto* list = dynamic_cast<GwCombo*>(setup->child("_PN_152"));
        ASSERT_NE(list, nullptr);
        std::vector<std::string> items;
        for (int i = 0; i < list->count(); ++i) items.push_back(list->item_text(i));
        EXPECT_EQ(items, (std::vector<std::string>{"Off (0)", "Torque (1)", "Speed (2)"}));
        TheWindowHandler().Close(setup.get());
        if (setup) setup->destroy();
    }
}

bool Overlap(const GwRect& a, const GwRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The buttons of the setup main windows, as loaded: inside the area that
// holds them, clear of one another, and wide enough for their captions
// (about 7 pixels a character and 20 of margin).
TEST_F(ShippedSetupButtonsTest, SetupMainButtonsFitTheirCaptionsWithoutOverlapping) {
    ASSERT_TRUE(UseShippedFiles({"marlo.cgw", "ruvex.cgw", "pesco.cgw"}));
    for (const std::string& name : kSetupMainWindows) {
        SCOPED_TRACE(name);
        GwRef<> window(GwRcMgr::load(mainWindow_, name.c_str(), 1));
        ASSERT_TRUE(window);
        int buttons = 0;
        std::vector<GwCore*> areas{window.get()};
        while (!areas.empty()) {
            GwCore* area = areas.back();
            areas.pop_back();
            std::vector<GwCore*> row;
            for (GwCore* child : area->children()) {
                if (dynamic_cast<GwPushButton*>(child) == nullptr) {
                    areas.push_back(child);
                    continue;
                }
                ++buttons;
                const GwRect r = child->rect();
                EXPECT_LE(static_cast<int>(child->label().size()) * 7 + 20, r.width) << child->name();
                EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= area->rect().width &&
                            r.y + r.height <= area->rect().height)
                    << child->name() << " in " << area->name();
                for (GwCore* other : row)
                    EXPECT_FALSE(Overlap(r, other->rect())) << child->name() << " " << other->name();
                row.push_back(child);
            }
        }
        EXPECT_GT(buttons, 10);
        window->destroy();
    }
}

TEST_F(ShippedSetupButtonsTest, ButtonsOfTheSetupWindowsOpenTheFamilyWindows) {
    struct Case {
        std::vector<const char*> Files;
        const char* Setup;
        const char* Button;
        const char* Opened;
        bool Folded;  // the show folds the function rows away
    };
    const Case cases[] = {
        {{"pesco.cgw"}, "5_SetupMain", "MotorDatabase", "5_NewMotor", true},
        {{"pesco.cgw"}, "5_SetupMain", "Controller", "5_ControllerSetup", true},
        {{"ruvex.cgw"}, "4_SetupMain", "SpeedCtrl", "4_SpeedCtrlAdjust", false},
        {{"marlo.cgw", "marlo_v200.cgw"}, "3_SetupMain", "ControlSettings", "3_200_Control", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Setup) + " " + c.Button);
        ASSERT_TRUE(UseShippedFiles(c.Files));
        GwRef<> setup(GwRcMgr::load(mainWindow_, c.Setup, 1));
        ASSERT_TRUE(setup);
        setup->set_user_data(GwUD(kSetupOnlineUserData));
        TheWindowHandler().Add(setup.get(), 1);
        setup->show();
        ASSERT_TRUE(setup->user_data().is_pointer());
        EXPECT_EQ(TheWindowHandler().FindByName(c.Opened), nullptr);
        GwCore* button = setup->child(c.Button);
        ASSERT_NE(button, nullptr);
        GwCore* row = button->parent();
        EXPECT_EQ(row->rect().height == 0, c.Folded);
        // Folded rows come out first, as the user unfolds them.
        if (c.Folded) EXPECT_TRUE(gwtest::Click(setup->child("More")));
        EXPECT_GE(row->rect().height, button->rect().y + button->rect().height);
        EXPECT_TRUE(gwtest::Click(button));
        GwRef<> opened(TheWindowHandler().FindByName(c.Opened));
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->parent(), setup.get());
        EXPECT_TRUE(opened->is_visible());
        TheWindowHandler().Close(opened.get());
        TheWindowHandler().Close(setup.get());
        if (setup) setup->destroy();
    }
}

}  // namespace
}  // namespace devicewintest

// The first run of the program as a user meets it: the shipped definition
// files and "Torvan.ini", the run command's drive at address 1 on COM1 (the
// in-memory line, on the virtual clock), the start-up sequence, what the main
// window shows, and the exit through "ExitTorvel". A second run finds the
// drive's descriptions in the cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/services/window_handler.h"
#include "app/shell/program_main.h"
#include "app/shell/startup_sequence.h"
#include "bus/base/basic_bus.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/serial_port.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/drive_table.h"
#include "sim/virtual_drive.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tree/gw_tree.h"

namespace {

constexpr int kDriveAddress = 1;
constexpr uint32_t kStartTimerMs = 2500;
// Where the run command lays the drive's description file: the language
// folder, under the name of the drive's class and firmware version.
constexpr char kDriveDescriptionFile[] = "LANGUAGE/044/4_001_30.PIT";

// What the user saw once the start-up sequence had run.
struct Seen {
    std::string title;
    std::string busState;
    std::vector<std::string> netListRows;
    std::string userLevel;
    bool startupFinished = false;
};

class FirstRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"bin/Torvan.ini", "bin/dvname.ini"}) saved_[file] = testsupport::ReadFile(Path(file));
        std::string error;
        std::optional<sim::DriveTable> table = sim::DriveTable::Load(sim::StockFixturePath("run_drive.tbl"), &error);
        ASSERT_TRUE(table) << error;
        drive_ = std::make_unique<sim::VirtualDrive>(std::move(*table), kDriveAddress);
        drive_->AttachTo(line_);
        platform::SetSerialPortOpener(line_.Opener("COM1"));
        for (const std::filesystem::path& file : CacheFiles()) std::filesystem::remove(file);
    }
    void TearDown() override {
        platform::SetSerialPortOpener(nullptr);
        for (const auto& [file, bytes] : saved_) testsupport::WriteFile(Path(file), bytes);
        for (const std::filesystem::path& file : CacheFiles()) std::filesystem::remove(file);
        std::filesystem::remove(Path(kDriveDescriptionFile));
    }

    static std::filesystem::path Path(const std::string& relative) { return testsupport::RuntimePath(relative); }

    static std::vector<std::filesystem::path> CacheFiles() {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(Path("FIRMDATA"))) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    // Runs the program: the start timer fires, the user reads the main
    // window, asks to close it and confirms in "ExitTorvel".
    int Run(Seen& seen, const std::function<void(GwCore*)>& use = nullptr) {
        // Each run is a fresh program.
        StartupDoneFlag = false;
        StartupStepsFinished = false;
        gwtest::ScriptModal("MainWindow", [&](GwCore* frame) {
            gwtest::Advance(kStartTimerMs);
            seen.startupFinished = StartupStepsFinished;
            seen.title = frame->title();
            seen.busState = gwtest::Text(frame->child("BusState"));
            if (auto* rows = GwRcMgr::is_valid_child(frame->child("NetList"))
                                 ? frame->child("NetList")->child<GwMultiList>("DeviceList")
                                 : nullptr) {
                for (int i = 0; i < rows->count(); ++i) seen.netListRows.push_back(rows->row_text(i));
            }
            seen.userLevel = gwtest::Text(frame->child("TB_UserLevel"));
            if (use) use(frame);
            gwtest::ScriptModal("ExitTorvel", [](GwCore* exit) { gwtest::Click(exit->child("Button")); });
            gwtest::Close(frame);
        });
        char program[] = "torvan";
        char* argv[] = {program, nullptr};
        return shell::main(1, argv);
    }

    std::map<std::string, std::string> saved_;
    platform::MemorySerialLine line_;
    std::unique_ptr<sim::VirtualDrive> drive_;
};

// A description read of the parameter table; every device-list rebuild also
// asks for the name of parameter 130, the alias probe.
bool IsTableDescriptionRead(const std::string& request) { return request.rfind("R30", 0) == 0 && request != "R30130"; }

GwCore* Editor() { return TheWindowHandler().FindByName("ParameterEditor"); }

// The drive's activation opens its family's setup window; the user opens the
// parameter editor from its tool.
GwCore* OpenEditor(GwCore* frame) {
    gwtest::Click(frame->child("TD_Edit"));
    return Editor();
}

std::vector<std::string> ProfileSections() {
    GwProfile profile(testsupport::RuntimePath("bin/Torvan.ini").string());
    std::vector<std::string> sections;
    for (int i = 0; i < profile.section_count(); ++i) sections.push_back(profile.section_name(i));
    return sections;
}

TEST_F(FirstRunTest, StartsFindsTheDriveShowsItAndEndsCleanly) {
    Seen seen;
    bool setupShown = false;
    ASSERT_EQ(Run(seen,
                  [&](GwCore*) {
                      GwCore* setup = TheWindowHandler().FindByName("4_SetupMain");
                      setupShown = setup != nullptr && setup->is_visible();
                  }),
              0);
    // The drive's activation opened its family's setup window.
    EXPECT_TRUE(setupShown);
    EXPECT_TRUE(seen.startupFinished);
    EXPECT_EQ(seen.title, "Torvan - 1-Ruvex4120 - [Position control]");
    EXPECT_EQ(seen.busState, "RS232 : 9600 Baud");
    EXPECT_EQ(seen.netListRows, std::vector<std::string>{"1|Ruvex4120||"});
    EXPECT_EQ(seen.userLevel, "Expert");
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_EQ(GetMain(), nullptr);

    // The frame's place, the network list's, the setup window's (the
    // activation opened the family's setup window for the drive) and one
    // section per docking frame, after the shipped sections (the first,
    // unnamed, holds the file's comment).
    EXPECT_EQ(ProfileSections(),
              (std::vector<std::string>{"",
                                        "Options",
                                        "AutoStart",
                                        "Directories",
                                        "TarnBus",
                                        "CANOpen",
                                        "AliasNames",
                                        "Pos_MainWindow",
                                        "Pos_4_SetupMain",
                                        "Pos_NetList",
                                        "NetListPane",
                                        "MessagePane",
                                        "DeviceState",
                                        "Ruvex_IO_State",
                                        "Ruvex_State",
                                        "Ruvex_PosMod_State",
                                        "Ruvex_Reference"}));
    std::vector<std::string> cache;
    for (const std::filesystem::path& file : CacheFiles()) cache.push_back(file.filename().string());
    EXPECT_EQ(cache, (std::vector<std::string>{"4120_001.30D", "4120_001.30T", "4120_001.30X"}));
    const std::string log = testsupport::ReadFile(Path("TMP/DataLogger.txt"));
    EXPECT_NE(log.find("\tNewActivDevice: Torvan - 1-Ruvex4120 - [Position control]\n"), std::string::npos) << log;
    const std::vector<std::string> first = drive_->Capture().Requests();
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), IsTableDescriptionRead));

    // The second run, as a fresh process, takes the descriptions from the
    // cache.
    platform::RunResetHooks();
    platform::SetSerialPortOpener(line_.Opener("COM1"));
    drive_->ClearCapture();
    Seen again;
    ASSERT_EQ(Run(again), 0);
    EXPECT_EQ(again.title, seen.title);
    const std::vector<std::string> second = drive_->Capture().Requests();
    EXPECT_FALSE(second.empty());
    EXPECT_FALSE(std::any_of(second.begin(), second.end(), IsTableDescriptionRead));
}

// The run command's drive looks like a real drive: a few hundred parameters
// in named groups, with units and descriptions, and a state that leaves
// "Initialising" once it has started up.
TEST_F(FirstRunTest, TheRunDriveHasNamedGroupsUnitsDescriptionsAndBecomesReady) {
    testsupport::WriteFile(Path(kDriveDescriptionFile), testsupport::ReadFile(sim::StockFixturePath("run_drive.PIT")));
    Seen seen;
    std::vector<std::string> states;
    std::vector<std::string> groups;
    std::vector<std::string> rows;
    int present = 0;
    int measured = 0;  // numbers that are neither named by value texts nor bit fields
    int withUnit = 0;
    int withDescription = 0;
    ASSERT_EQ(Run(seen,
                  [&](GwCore* frame) {
                      auto* list = frame->child("NetList")->child<GwMultiList>("DeviceList");
                      for (int tick = 0; tick < 4 && list != nullptr && list->count() == 1; ++tick) {
                          gwtest::Advance(tick == 0 ? 500 : 3000);
                          states.push_back(list->cell(0, 3));
                      }
                      ParaBase* base = GetMain()->ActiveParaBase();
                      for (int n = 0; n < kParameterCount; ++n) {
                          if (!base->IsPresent(n)) continue;
                          ++present;
                          withDescription += *base->GetParameterDescription(n) != '\0';
                          const ParameterEntry& e = *base->GetEntry(n);
                          if (e.type == kTypeString || (e.flags & (kFlagValueTexts | kFlagHex)) != 0) continue;
                          ++measured;
                          withUnit += *base->GetParameterUnit(n) != '\0';
                      }
                      OpenEditor(frame);
                      auto* tree = dynamic_cast<GwTree*>(gwtest::Find("ParameterEditor/GroupTree"));
                      if (tree != nullptr) tree->expand_entry(gwtest::FindTreeEntry(tree, "Root"));
                      groups = gwtest::TreeRows("ParameterEditor/GroupTree");
                      if (gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "_MOT")) {
                          auto* paraList = dynamic_cast<GwMultiList*>(gwtest::Find("ParameterEditor/ParaList"));
                          for (int i = 0; paraList != nullptr && i < paraList->count(); ++i)
                              rows.push_back(paraList->row_text(i));
                      }
                  }),
              0);
    // The drive answers "Initialising" to its first read of the state (the
    // table read at activation, or a docked state window's first tick); the
    // network list's refreshes find it ready.
    EXPECT_EQ(states, std::vector<std::string>(4, "Ready to switch on"));
    EXPECT_GE(present, 200);
    EXPECT_GT(withUnit * 2, measured) << withUnit << " of " << measured;
    EXPECT_EQ(withDescription, present);
    // The root (the device type) and one entry per group, each named and
    // described.
    ASSERT_GE(groups.size(), 10u);
    EXPECT_EQ(groups[0], "Ruvex4120");
    for (const std::string& group : groups) {
        EXPECT_EQ(group.find("()"), std::string::npos) << group;
    }
    EXPECT_NE(std::find(groups.begin(), groups.end(), "  (_MOT) Motor data"), groups.end())
        << testing::PrintToString(groups);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "158|MOCNM|0|Rated current (rms)|4.1|A|pt_epara"), rows.end())
        << testing::PrintToString(rows);
}

// The File menu of the shipped main window: a parameter file opens in the
// parameter editor on a base of its own (the entry's user data keeps the
// chosen file instead of the family's setup window), and the user
// identification opens over the main window.
TEST_F(FirstRunTest, FileMenuOpensAParameterFileAndTheUserIdentification) {
    Seen seen;
    bool editorOnFile = false;
    std::string editorTitle;
    bool identShown = false;
    ASSERT_EQ(Run(seen,
                  [&](GwCore* frame) {
                      TheWindowHandler().CloseAllOnExit();
                      // A parameter file set saved from the drive.
                      for (const char* letter : {"D", "X", "T"}) {
                          testsupport::WriteFile(
                              Path(std::string("userdata/Saved.00") + letter),
                              testsupport::ReadFile(Path(std::string("FIRMDATA/4120_001.30") + letter)));
                      }
                      gwtest::AnswerFile(Path("userdata/Saved.00D").string());
                      gwtest::Click("MainWindow/MenuBar/M_File/M_OpenParaFile");
                      GwCore* editor = TheWindowHandler().FindByName("ParameterEditor");
                      editorTitle = editor != nullptr ? editor->title() : "";
                      editorOnFile = editor != nullptr && editor->is_visible() &&
                                     TheParameterEditorContext().Mode != kEditorModeOnline &&
                                     TheParameterEditorContext().Base != GetMain()->ActiveParaBase();
                      gwtest::Click("MainWindow/MenuBar/M_File/M_IdentUser");
                      GwCore* ident = frame->child("IdentUser");
                      identShown = GwRcMgr::is_valid_child(ident) && ident->is_visible();
                      if (identShown) ident->hide();
                  }),
              0);
    EXPECT_TRUE(editorOnFile);
    EXPECT_EQ(editorTitle, "Parameter editor  [" + Path("userdata/Saved.00D").string() + "]");
    EXPECT_TRUE(identShown);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

// A window's stored size, in the format other tools read: "Dim" is that of
// the window's first control, its client area.
std::string PosSection(const std::string& window) {
    GwProfile profile(testsupport::RuntimePath("bin/Torvan.ini").string());
    if (!profile.select_section(("Pos_" + window).c_str())) return "<none>";
    return std::string("Pos=") + profile.read("Pos") + " Dim=" + profile.read("Dim");
}

// The size the user gave the parameter editor with the window manager comes
// back at the next run; the main window and the network list store their
// whole size, not that of a menu bar or a child.
TEST_F(FirstRunTest, AWindowSizeTheUserLeftComesBackAtTheNextRun) {
    Seen seen;
    ASSERT_EQ(Run(seen,
                  [](GwCore* frame) {
                      ASSERT_NE(OpenEditor(frame), nullptr);
                      EXPECT_TRUE(gwtest::ResizeWindow(Editor(), {700, 450}));
                      Editor()->move(100, 80);
                  }),
              0);
    EXPECT_EQ(PosSection("ParameterEditor"), "Pos=100,80 Dim=700,450");
    EXPECT_EQ(PosSection("MainWindow"), "Pos=0,0 Dim=1280,1024");
    EXPECT_EQ(PosSection("NetList"), "Pos=100,100 Dim=520,400");

    platform::RunResetHooks();
    platform::SetSerialPortOpener(line_.Opener("COM1"));
    GwRect again;
    ASSERT_EQ(Run(seen, [&](GwCore* frame) { again = OpenEditor(frame) != nullptr ? Editor()->rect() : GwRect(); }), 0);
    EXPECT_EQ(again, (GwRect{100, 80, 700, 450}));
}

// A stored pair that was never saved, a size below the window's least usable
// one and a place off the screen give way to the definition's own.
TEST_F(FirstRunTest, AStoredPlacementTheWindowCannotBeUsedAtGivesWayToTheDefinitions) {
    struct Case {
        const char* stored;
        GwRect editor;
    };
    const Case cases[] = {
        {"Pos=100,80\nDim=10,10\n", {100, 80, 760, 520}},
        {"Pos=100,80\nDim=300,200\n", {100, 80, 760, 520}},
        {"Pos=100,80\n", {100, 80, 760, 520}},
        {"Pos=5000,5000\nDim=700,450\n", {40, 40, 700, 450}},
        {"Pos=-690,80\nDim=700,450\n", {40, 40, 700, 450}},
    };
    const std::string shipped = testsupport::ReadFile(Path("bin/Torvan.ini"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        testsupport::WriteFile(Path("bin/Torvan.ini"), shipped + "[Pos_ParameterEditor]\n" + c.stored);
        platform::RunResetHooks();
        platform::SetSerialPortOpener(line_.Opener("COM1"));
        Seen seen;
        GwRect editor;
        ASSERT_EQ(
            Run(seen, [&](GwCore* frame) { editor = OpenEditor(frame) != nullptr ? Editor()->rect() : GwRect(); }), 0);
        EXPECT_EQ(editor, c.editor);
    }
}

// The compare window opens from the tool "Compare device with file" and from
// the Tools menu.
TEST_F(FirstRunTest, TheCompareWindowOpensFromItsToolAndItsMenuEntry) {
    Seen seen;
    std::vector<std::string> opened;
    ASSERT_EQ(Run(seen,
                  [&](GwCore* frame) {
                      for (const char* entry : {"MainWindow/TB_Standard/CompareDeviceWithFile",
                                                "MainWindow/MenuBar/M_Tools/M_ParaCompare"}) {
                          TheWindowHandler().CloseAllOnExit();
                          ASSERT_TRUE(gwtest::ChooseMenuItem(entry));
                          GwCore* compare = TheWindowHandler().FindByName("ParaCompare");
                          if (compare == nullptr || compare->owner() != frame) continue;
                          opened.push_back(entry);
                          // A drive is online: the first set is the device.
                          EXPECT_TRUE(compare->child<GwToggle>("Toggle1_Device")->is_checked());
                          EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(compare));
                      }
                  }),
              0);
    EXPECT_EQ(opened,
              (std::vector<std::string>{"MainWindow/TB_Standard/CompareDeviceWithFile",
                                        "MainWindow/MenuBar/M_Tools/M_ParaCompare"}));
    EXPECT_TRUE(gwtest::Boxes().empty());
}

// "Close all" closes the network list with its timer: nothing ticks in a
// closed window.
TEST_F(FirstRunTest, CloseAllLeavesNoTimerTickingInAClosedWindow) {
    Seen seen;
    bool netListClosed = false;
    ASSERT_EQ(Run(seen,
                  [&](GwCore* frame) {
                      GwCore* netList = frame->child("NetList");
                      ASSERT_TRUE(GwRcMgr::is_valid_child(netList) && netList->is_visible());
                      ASSERT_TRUE(gwtest::OpenMenu("MainWindow/MenuBar/M_Window"));
                      ASSERT_TRUE(gwtest::ChooseMenuItem("MainWindow/MenuBar/M_Window/M_CloseAll"));
                      netListClosed = !netList->is_visible();
                      gwtest::Advance(10000);
                  }),
              0);
    EXPECT_TRUE(netListClosed);
    const std::string log = testsupport::ReadFile(Path("TMP/DataLogger.txt"));
    EXPECT_EQ(log.find("Emergency timer stop"), std::string::npos) << log;
}

// One alias typed into the network list and confirmed (Return, then the
// focus goes elsewhere) is written to the drive once and refreshes the
// active device's views once.
TEST_F(FirstRunTest, AnAliasIsWrittenOnceWhenTheEntryIsConfirmed) {
    Seen seen;
    size_t writes = 0;
    size_t refreshes = 0;
    ASSERT_EQ(Run(seen,
                  [&](GwCore* frame) {
                      GwCore* alias = frame->child("NetList")->child("AD_Alias");
                      const std::string logBefore = testsupport::ReadFile(Path("TMP/DataLogger.txt"));
                      drive_->ClearCapture();
                      alias->set_focus();
                      ASSERT_TRUE(gwtest::Replace(alias, "Axis-X\n"));
                      frame->child("NetList")->child("DeviceList")->set_focus();
                      for (const std::string& request : drive_->Capture().Requests())
                          writes += request.rfind("W", 0) == 0 && request.find("130") != std::string::npos ? 1 : 0;
                      const std::string log =
                          testsupport::ReadFile(Path("TMP/DataLogger.txt")).substr(logBefore.size());
                      for (size_t at = log.find("NewActivDevice"); at != std::string::npos;
                           at = log.find("NewActivDevice", at + 1))
                          ++refreshes;
                  }),
              0);
    EXPECT_EQ(drive_->Table().Find(130)->text, "Axis-X");
    EXPECT_EQ(writes, 1u);
    EXPECT_EQ(refreshes, 1u);
}

// Choosing the drive again gives it a new setup context; the parameter editor
// the user opened online goes on with the new one.
TEST_F(FirstRunTest, AnOpenEditorGoesOnWhenTheDriveIsChosenAgain) {
    Seen seen;
    bool editorShown = false;
    ASSERT_EQ(Run(seen,
                  [&](GwCore* frame) {
                      ASSERT_NE(OpenEditor(frame), nullptr);
                      gwtest::Advance(3000);
                      ASSERT_TRUE(GetMain()->SetActiveDevice(kDriveAddress));
                      gwtest::Advance(6000);
                      editorShown = Editor() != nullptr && Editor()->is_visible();
                  }),
              0);
    EXPECT_TRUE(editorShown);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

}  // namespace

// The motor database browser of families 4 and 5 on a virtual drive: the
// tree over a motor directory on disk, the directory chooser, the properties
// window over a motor file read offline, and the take of the motor data
// group into the drive.
#include "families/motor_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/motor_tree_entries.h"
#include "parameters/parabase/on_off_base.h"
#include "platform/files/registry_store.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tree/gw_tree.h"

namespace devicewintest {
namespace {

constexpr int kRatedCurrent = 852;
constexpr int kRatedSpeed = 157;
constexpr int kPoles = 158;
constexpr int kVoltage = 156;
constexpr int kMotorType4 = 857;
constexpr int kMotorType5 = 839;
constexpr int kLockedMotor = 860;  // motor data the drive does not take

// The windows of both browsers, as the setup windows' definitions hold them.
std::string MotorWindows() {
    std::string text =
        "bitmaps {\n FMotor_o = 16, 16, \"pictures/FMotor_o.png\"\n FMotor_c = 16, 16, \"pictures/FMotor_c.png\"\n"
        " TMotor = 16, 16, \"pictures/TMotor.png\"\n}\n";
    for (const std::string n : {"4", "5"}) {
        text += "dialogframe " + n +
                "_NewMotor {\n rect = 0, 0, 300, 400\n tree MotorTree { rect = 0, 0, 280, 300 }\n" +
                " button Take { }\n}\n";
        text += "dialogframe " + n + "_Other {\n rect = 0, 0, 300, 400\n button Take { }\n}\n";
        text += "popup " + n + "_ChangeMotDir { menuitem Dir { text = \"Directory\"; on activate = M" + n +
                "_SetNewDir } }\n";
        text += "popup " + n + "_MotorPopup { menuitem Props { text = \"Properties\" } }\n";
        text += "dialogframe " + n + "_MotorProps {\n rect = 0, 0, 300, 300\n edit _PN_153 { }\n edit _PN_" +
                (n == "4" ? "857" : "839") +
                " { }\n edit _PN_852 { }\n edit _PN_158 { }\n edit _PN_157 { }\n edit _PN_156 { }\n}\n";
    }
    return text;
}

const GwFuncDesc kMotorCallbacks[] = {
    {"M4_SetNewDir", M4_SetNewDir},
    {"M5_SetNewDir", M5_SetNewDir},
    {nullptr, nullptr},
};

class MotorDatabaseTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        auto motor = [&table](int number, const char* name, const char* type, uint32_t value) {
            sim::DriveParameter* p = table.PutFullRange(number, name, type, value);
            p->sc_group = kMotorDataGroup;
            return p;
        };
        sim::DriveParameter* ident = table.Find(kIdentMode);
        ident->sc_group = kMotorDataGroup;
        ident->flags |= sim::kFlagValueTexts;
        ident->value_texts = {{0, "Off"}, {1, "Auto"}, {2, "Manual"}};
        motor(kRatedSpeed, "NSPD", "USIGN16", 1000);
        motor(kPoles, "POLES", "USIGN8", 2);
        motor(kVoltage, "VOLT", "USIGN16", 230);
        motor(kMotorType5, "MTYP5", "USIGN16", 1);
        sim::DriveParameter* current = motor(kRatedCurrent, "IRATE", "FLOAT32", maintest::FloatBits(1.0f));
        current->minimum = maintest::FloatBits(0.0f);
        current->maximum = maintest::FloatBits(100.0f);
        motor(kMotorType4, "MTYP4", "USIGN16", 1);
        motor(kLockedMotor, "MLOCK", "USIGN16", 1)->write_level = 15;
        table.Find(kList)->sc_group = 1;  // in the data set, not motor data
        // The download handshake and its end mark.
        sim::DriveParameter* handshake = table.PutFullRange(sim::kHandshakeParameter, "DLHS", "INT16", 0);
        handshake->minimum = static_cast<uint32_t>(-32768);
        handshake->maximum = 32767;
        table.PutFullRange(15, "DLEND", "USIGN8", 0)->maximum = 1;
        table.handshake.enabled = true;
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        GwRcMgr::use_func_desc(kMotorCallbacks);
        ASSERT_TRUE(GwRcMgr::use_text(MotorWindows(), "motors.cgw"));
        directory_ = testsupport::RuntimePath("MOTORS").string();
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_ + "/a/b/c");
        WriteMotor("a/x.00D", 3500);
        WriteMotor("z.00D", 4000);
        // Named as a motor but for the case of its extension.
        testsupport::WriteFile(directory_ + "/y.00d", "not a motor");
        for (int family : {4, 5}) TheMotorDatabaseState(family)->Directory = directory_;
    }

    // A motor file of the drive's table with its own rated speed, 852 = 2.5,
    // the motor type 2, and 156 not valid (not part of the motor's data).
    void WriteMotor(const std::string& relative, int speed) {
        OnOffBase file(*main_->ActiveParaBase(), false);
        file.GetEntry(kRatedSpeed)->value = speed;
        file.GetEntry(kRatedCurrent)->value = static_cast<int32_t>(maintest::FloatBits(2.5f));
        file.GetEntry(kIdentMode)->value = 2;
        file.GetEntry(kMotorType4)->value = 2;
        file.GetEntry(kMotorType5)->value = 2;
        file.GetEntry(kLockedMotor)->value = 7;
        file.GetEntry(kList)->value = 7;
        file.GetEntry(kVoltage)->valid = 0;
        file.InitFile((directory_ + "/" + relative).c_str());
        ASSERT_EQ(file.WriteFileBase(), 0) << file.MessageBuffer;
    }
    std::string MotorPath(const std::string& relative) { return directory_ + "\\" + relative; }

    // The take window of a family on a setup window with `context`, its
    // tree shown.
    GwCore* OpenNewMotor(int family, DeviceSetupContext* context) {
        OpenWindow("button Refresh { }", MakeContext(true));
        GwCore* window = GwRcMgr::load(window_, (std::to_string(family) + "_NewMotor").c_str());
        EXPECT_NE(window, nullptr);
        window->set_user_data(GwUD(static_cast<void*>(context)));
        window->show();
        (family == 4 ? M4_ShowMotorTree : M5_ShowMotorTree)(Tree(window), nullptr, GwUD());
        return window;
    }
    static GwTree* Tree(GwCore* window) { return window->frame_child<GwTree>(kMotorTreeName); }
    // Every file of the run-time tree outside the motor directory and the
    // log folder, and the registry store, with their contents: where a
    // profile would keep a choice.
    std::map<std::string, std::string> ProfileFiles() const {
        std::map<std::string, std::string> files;
        const std::filesystem::path root = testsupport::RuntimePath("");
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            const std::string relative = std::filesystem::relative(entry.path(), root).string();
            if (relative.rfind("MOTORS", 0) == 0 || relative.rfind("TMP", 0) == 0) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files[relative] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        std::ifstream registry(platform::TheRegistry().path(), std::ios::binary);
        files["registry"] = std::string(std::istreambuf_iterator<char>(registry), {});
        return files;
    }
    static void Select(GwCore* window, const std::string& id) {
        ASSERT_TRUE(gwtest::SelectTreeEntry(Tree(window), id));
    }

    std::string directory_;
};

TEST_F(MotorDatabaseTest, TreeShowsFoldersWithMotorsAndMotorsInListingOrder) {
    GwCore* window = OpenNewMotor(4, MakeContext(true));
    GwTree* tree = Tree(window);
    GwTreeEntry* root = tree->entries();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(), directory_);
    ASSERT_EQ(root->child_count(), 2);
    GwTreeEntry* folder = root->child(0);
    GwTreeEntry* z = root->child(1);
    EXPECT_EQ(folder->text(), "a");
    EXPECT_EQ(z->text(), "z");
    ASSERT_EQ(folder->child_count(), 1);  // "b" holds no motor
    GwTreeEntry* x = folder->child(0);
    EXPECT_EQ(x->text(), "x");
    EXPECT_EQ(x->user_data().string(), MotorPath("a\\x.00D"));
    EXPECT_EQ(z->user_data().string(), MotorPath("z.00D"));
    EXPECT_EQ(root->user_data().string(), "");
    EXPECT_EQ(folder->user_data().string(), "");
    EXPECT_NE(dynamic_cast<GwTreeFolderMotor*>(folder), nullptr);
    EXPECT_NE(dynamic_cast<GwTreeMotor*>(x), nullptr);

    // Bitmaps: open and closed folders, motors; the directory shows open.
    EXPECT_EQ(gwtest::TreeRows(tree),
              (std::vector<std::string>{directory_ + " [FMotor_o]", "  a [FMotor_c]", "  z [TMotor]"}));
    tree->expand_entry(folder, true);
    EXPECT_EQ(gwtest::TreeRows(tree)[1], "  a [FMotor_o]");
    EXPECT_EQ(gwtest::TreeRows(tree)[2], "    x [TMotor]");

    // Popups: folders the folder popup, motors the motor popup.
    GwCore* folderPopup = window->frame_child("4_ChangeMotDir");
    GwCore* motorPopup = window->frame_child("4_MotorPopup");
    MotorDatabaseState& state = *TheMotorDatabaseState(4);
    ASSERT_NE(state.FolderPopup.get(), nullptr);
    ASSERT_NE(state.MotorPopup.get(), nullptr);
    (void)folderPopup;
    (void)motorPopup;
    EXPECT_EQ(root->popup(), state.FolderPopup.get());
    EXPECT_EQ(folder->popup(), state.FolderPopup.get());
    EXPECT_EQ(x->popup(), state.MotorPopup.get());
    EXPECT_EQ(z->popup(), state.MotorPopup.get());
    EXPECT_TRUE(gwtest::OpenEntryPopup(tree, "x"));
    EXPECT_EQ(tree->selected_entry(), x);
    EXPECT_TRUE(gwtest::OpenEntryPopup(tree, "a"));
}

TEST_F(MotorDatabaseTest, EveryShowReadsTheDiskAgain) {
    GwCore* window = OpenNewMotor(5, MakeContext(true));
    EXPECT_EQ(Tree(window)->entries()->child_count(), 2);
    WriteMotor("a/b/w.00D", 3000);
    M5_ShowMotorTree(Tree(window), nullptr, GwUD());
    GwTreeEntry* a = Tree(window)->entries()->child(0);
    ASSERT_EQ(a->child_count(), 2);
    EXPECT_EQ(a->child(0)->text(), "b");
    EXPECT_EQ(a->child(0)->child(0)->user_data().string(), MotorPath("a\\b\\w.00D"));

    // A directory that cannot be listed: an empty root.
    TheMotorDatabaseState(5)->Directory = directory_ + "\\missing";
    M5_ShowMotorTree(Tree(window), nullptr, GwUD());
    EXPECT_EQ(Tree(window)->entries()->text(), directory_ + "\\missing");
    EXPECT_EQ(Tree(window)->entries()->child_count(), 0);
    EXPECT_FALSE(DirectoryHasMotors(directory_ + "\\missing"));
    EXPECT_FALSE(DirectoryHasMotors(directory_ + "\\a\\b\\c"));
    EXPECT_TRUE(DirectoryHasMotors(directory_ + "\\a"));
}

TEST_F(MotorDatabaseTest, WindowWithoutContextGetsNoTree) {
    GwCore* window = OpenNewMotor(4, nullptr);
    EXPECT_EQ(Tree(window)->entries(), nullptr);
}

TEST_F(MotorDatabaseTest, NewDirectoryIsChosenAsFolderAndRebuildsTheTree) {
    GwCore* window = OpenNewMotor(4, MakeContext(true));
    GwTreeEntry* before = Tree(window)->entries();
    const size_t requests = GwRecorder::FileRequests().size();
    gwtest::CancelFile();
    EXPECT_EQ(M4_SetNewDir(window->child("Take"), nullptr, GwUD()), 0);
    ASSERT_EQ(GwRecorder::FileRequests().size(), requests + 1);
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.id, "id");
    EXPECT_TRUE(request.folder_mode);
    EXPECT_EQ(request.directory, directory_);
    EXPECT_EQ(request.title, "Choose directory");
    EXPECT_EQ(Tree(window)->entries(), before);
    EXPECT_EQ(TheMotorDatabaseState(4)->Directory, directory_);

    const std::string other = directory_ + "/a";
    gwtest::AnswerFile(other);
    const std::map<std::string, std::string> filesBefore = ProfileFiles();
    // Chosen from the folder popup, as the user does.
    ASSERT_TRUE(gwtest::OpenEntryPopup(Tree(window), "a"));
    gwtest::Fire(TheMotorDatabaseState(4)->FolderPopup->child("Dir"), "activate");
    EXPECT_EQ(TheMotorDatabaseState(4)->Directory, other);
    // The choice lives as long as the program: no profile keeps it.
    EXPECT_EQ(ProfileFiles(), filesBefore);
    GwTreeEntry* root = Tree(window)->entries();
    EXPECT_EQ(root->text(), other);
    ASSERT_EQ(root->child_count(), 1);
    EXPECT_EQ(root->child(0)->text(), "x");
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    // Family 5 keeps its own directory.
    EXPECT_EQ(TheMotorDatabaseState(5)->Directory, directory_);
}

TEST_F(MotorDatabaseTest, PropertiesShowTheMotorFileOffline) {
    for (int family : {4, 5}) {
        SCOPED_TRACE(family);
        const std::string n = std::to_string(family);
        auto properties = family == 4 ? M4_ShowMotorProperties : M5_ShowMotorProperties;
        GwCore* window = OpenNewMotor(family, MakeContext(true));
        Select(window, "x");
        const std::string name = n + "_MotorProps";
        EXPECT_EQ(properties(window->child("Take"), nullptr, GwUD(name)), 1);
        GwCore* shown = TheWindowHandler().FindByName(name.c_str());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->title(), MotorPath("a\\x.00D"));
        EXPECT_EQ(shown->child("_PN_852")->text(), "2.50");
        EXPECT_EQ(shown->child("_PN_153")->text(), "Manual");
        EXPECT_EQ(shown->child("_PN_157")->text(), "3500");
        EXPECT_EQ(shown->child(family == 4 ? "_PN_857" : "_PN_839")->text(), "2");
        EXPECT_EQ(shown->child("_PN_158")->text(), "2");
        EXPECT_EQ(shown->modality(), 1);
        EXPECT_EQ(shown->close_mode(), 2);
        EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(shown));
        MotorDatabaseState& state = *TheMotorDatabaseState(family);
        ASSERT_TRUE(shown->user_data().is_pointer());
        EXPECT_EQ(shown->user_data().pointer_as<DeviceSetupContext>(), state.Context.get());
        EXPECT_FALSE(state.Context->Base->IsOnline());
        EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);

        // Again for z: the listed window is closed and loaded afresh.
        Select(window, "z");
        ClearCaptures();
        properties(window->child("Take"), nullptr, GwUD(name));
        GwCore* again = TheWindowHandler().FindByName(name.c_str());
        ASSERT_NE(again, nullptr);
        EXPECT_FALSE(GwRcMgr::is_valid_child(shown));
        EXPECT_EQ(again->child("_PN_157")->text(), "4000");
        EXPECT_TRUE(Heard().empty());  // offline: the file only

        // A folder selected: loaded, never shown.
        Select(window, "a");
        properties(window->child("Take"), nullptr, GwUD(name));
        EXPECT_EQ(TheWindowHandler().FindByName(name.c_str()), nullptr);
        window_->destroy();
    }
}

TEST_F(MotorDatabaseTest, DamagedMotorFileGivesError5ForTheMotorBase) {
    struct Case {
        int family;
    };
    for (const Case c : {Case{4}, Case{5}}) {
        SCOPED_TRACE(c.family);
        testsupport::WriteFile(directory_ + "/z.00D", "damaged");
        GwCore* window = OpenNewMotor(c.family, MakeContext(true));
        Select(window, "z");
        MarkBoxes();
        const std::string name = std::to_string(c.family) + "_MotorProps";
        (c.family == 4 ? M4_ShowMotorProperties : M5_ShowMotorProperties)(window->child("Take"), nullptr, GwUD(name));
        EXPECT_EQ(TheWindowHandler().FindByName(name.c_str()), nullptr);
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Device access error");
        EXPECT_NE(boxes[0].text.find(MotorParameterBase(c.family).MessageBuffer), std::string::npos) << boxes[0].text;

        // The take from the take window: error 5 and result 0; the window stays.
        MarkBoxes();
        ClearCaptures();
        EXPECT_EQ((c.family == 4 ? CB_4_TakeMotor : CB_5_TakeMotor)(window->child("Take"), nullptr, GwUD()), 0);
        EXPECT_EQ(NewBoxes().size(), 1u);
        EXPECT_FALSE(NewBoxes().empty() || NewBoxes()[0].parent != "MainWindow.DevWin." + window->name());
        EXPECT_TRUE(GwRcMgr::is_valid_child(window));
        EXPECT_TRUE(Heard().empty());
        window_->destroy();
    }
}

// The writes of a take of motor x: the handshake around the motor data the
// drive takes (860 is beyond its write level, 156 not valid in the file, 20
// not motor data), the polls, then the end mark.
std::vector<std::string> MotorTake() {
    return {"W 20080=FFFFFFFF",
            "W 20153=2",
            "W 20157=DAC",
            "W 20158=2",
            "W 20839=2",
            "W 20852=40200000",
            "W 20857=2",
            "W 20080=FFFFFFFE",
            "R 20080",
            "W 20015=1"};
}

TEST_F(MotorDatabaseTest, TakeWritesTheMotorDataGroupThenClosesTheWindow) {
    for (int family : {4, 5}) {
        SCOPED_TRACE(family);
        GwCore* window = OpenNewMotor(family, MakeContext(true));
        GwCore* parent = window_;
        Select(window, "x");
        ClearCaptures();
        EXPECT_EQ((family == 4 ? CB_4_TakeMotor : CB_5_TakeMotor)(window->child("Take"), nullptr, GwUD()), 1);
        EXPECT_EQ(Heard(), MotorTake());
        OnOffBase& motor = MotorParameterBase(family);
        for (int number : {kIdentMode, kRatedSpeed, kPoles, kMotorType4, kMotorType5, kRatedCurrent, kLockedMotor}) {
            EXPECT_EQ(motor.GetEntry(number)->transfer, 1) << number;
        }
        for (int number : {kVoltage, kList, kSpeed}) EXPECT_EQ(motor.GetEntry(number)->transfer, 0) << number;
        EXPECT_EQ(Drive().Table().Find(kRatedSpeed)->value, 3500u);
        EXPECT_EQ(Drive().Table().Find(kList)->value, 5u);
        EXPECT_FALSE(GwRcMgr::is_valid_child(window));
        EXPECT_TRUE(GwRcMgr::is_valid_child(parent));
        parent->destroy();
    }
}

TEST_F(MotorDatabaseTest, TakeWithoutAnOnlineTargetWritesNothing) {
    // Offline target: closed without a write.
    GwCore* window = OpenNewMotor(4, MakeContext(false));
    Select(window, "x");
    ClearCaptures();
    EXPECT_EQ(CB_4_TakeMotor(window->child("Take"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));

    // A folder selected: nothing at all.
    window = OpenNewMotor(4, MakeContext(true));
    Select(window, "a");
    ClearCaptures();
    EXPECT_EQ(CB_4_TakeMotor(window->child("Take"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(GwRcMgr::is_valid_child(window));

    // The context that built the tree is gone (its setup window made anew):
    // no drive is written to, the window closes as for a missing target.
    Select(window, "x");
    window->set_user_data(GwUD(static_cast<void*>(MakeContext(true))));
    contexts_.erase(contexts_.end() - 3);
    ClearCaptures();
    EXPECT_EQ(CB_4_TakeMotor(window->child("Take"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
}

TEST_F(MotorDatabaseTest, TakeFromAnotherWindowUsesTheMotorLastRead) {
    for (int family : {4, 5}) {
        SCOPED_TRACE(family);
        const std::string n = std::to_string(family);
        auto take = family == 4 ? CB_4_TakeMotor : CB_5_TakeMotor;
        GwCore* window = OpenNewMotor(family, MakeContext(true));
        GwCore* other = GwRcMgr::load(window_, (n + "_Other").c_str());
        other->show();
        // Before any motor was read nothing is marked, and nothing of the
        // motor data reaches the drive.
        ClearCaptures();
        EXPECT_EQ(take(other->child("Take"), nullptr, GwUD()), 1);
        for (const std::string& heard : Heard()) EXPECT_EQ(heard.find("W 20157"), std::string::npos) << heard;
        EXPECT_FALSE(GwRcMgr::is_valid_child(other));

        Select(window, "x");
        (family == 4 ? M4_ShowMotorProperties : M5_ShowMotorProperties)(
            window->child("Take"), nullptr, GwUD(n + "_MotorProps"));
        other = GwRcMgr::load(window_, (n + "_Other").c_str());
        other->show();
        ClearCaptures();
        EXPECT_EQ(take(other->child("Take"), nullptr, GwUD()), 1);
        EXPECT_EQ(Heard(), MotorTake());
        window_->destroy();
    }
}

TEST_F(MotorDatabaseTest, FailedWriteShowsError5AndKeepsTheWindow) {
    for (int family : {4, 5}) {
        SCOPED_TRACE(family);
        GwCore* window = OpenNewMotor(family, MakeContext(true));
        Select(window, "x");
        Drive().Table().handshake.busy_polls = sim::kHandshakeBusyForever;
        MarkBoxes();
        EXPECT_EQ((family == 4 ? CB_4_TakeMotor : CB_5_TakeMotor)(window->child("Take"), nullptr, GwUD()), 1);
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        // Family 4 names the active device's error, family 5 the target's.
        if (family == 5) {
            EXPECT_NE(boxes[0].text.find("Timeout during data transmission"), std::string::npos) << boxes[0].text;
        }
        EXPECT_EQ(boxes[0].parent, "MainWindow.DevWin." + window->name());
        EXPECT_TRUE(GwRcMgr::is_valid_child(window));
        Drive().Table().handshake.busy_polls = 0;
        window_->destroy();
    }
}

}  // namespace
}  // namespace devicewintest

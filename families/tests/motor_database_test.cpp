// The motor database browser of families 4 and 5 on a virtual drive: the
// tree over a motor directory on disk, the directory chooser, the properties
// window over a motor file read offline, and the take of the motor data
// group into the drive.
#include "families/motor_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/motor_tree_entries.h"
#include "parameters/parabase/on_off_base.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_rcmgr.h"
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
        text += "dialogframe " + n + "_NewMotor {\n rect = 0, 0, 300, 400\n tree MotorTree { rect = 0, 0, 280, 300 }\n" +
                " button Take { }\n}\n";
        text += "dialogframe " + n + "_Other {\n rect = 0, 0, 300, 400\n button Take { }\n}\n";
        text += "popup " + n + "_ChangeMotDir { menuitem Dir { text = \"Directory\" } }\n";
        text += "popup " + n + "_MotorPopup { menuitem Props { text = \"Properties\" } }\n";
        text += "dialogframe " + n + "_MotorProps {\n rect = 0, 0, 300, 300\n edit _PN_153 { }\n edit _PN_" +
                (n == "4" ? "857" : "839") +
                " { }\n edit _PN_852 { }\n edit _PN_158 { }\n edit _PN_157 { }\n edit _PN_156 { }\n}\n";
    }
    return text;
}

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
        motor(kRatedCurrent, "IRATE", "FLOAT32", maintest::FloatBits(1.0f));
        motor(kMotorType4, "MTYP4", "USIGN16", 1);
        motor(kLockedMotor, "MLOCK", "USIGN16", 1)->write_level = 15;
        table.Find(kList)->sc_group = 1;  // in the data set, not motor data
        table.handshake.enabled = true;
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
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

    // Bitmaps: open and closed folders, motors.
    tree->expand_entry(root, true);
    EXPECT_EQ(gwtest::TreeRows(tree), (std::vector<std::string>{directory_ + " [FMotor_o]", "  a [FMotor_c]",
                                                                 "  z [TMotor]"}));
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
    EXPECT_EQ(M4_SetNewDir(window->child("Take"), nullptr, GwUD()), 1);
    EXPECT_EQ(TheMotorDatabaseState(4)->Directory, other);
    GwTreeEntry* root = Tree(window)->entries();
    EXPECT_EQ(root->text(), other);
    ASSERT_EQ(root->child_count(), 1);
    EXPECT_EQ(root->child(0)->text(), "x");
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    // Family 5 keeps its own directory.
    EXPECT_EQ(TheMotorDatabaseState(5)->Directory, directory_);
}

}  // namespace
}  // namespace devicewintest

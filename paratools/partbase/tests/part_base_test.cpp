// The partial parameter-base editor: opening it on a file base, moving
// parameters between its trees, marking, saving, closing, and the entry
// dialog.
#include <gtest/gtest.h>

#include "app/mainwindow/main_window.h"
#include "app/services/window_handler.h"
#include "parameters/parabase/entry_record.h"
#include "parameters/parabase/value_text_table.h"
#include "paratools/partbase/part_base_editor.h"
#include "paratools/tree/para_tree.h"
#include "paratools/tree/tests/tree_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tree/gw_tree.h"

namespace treetest {
namespace {

using Lines = std::vector<std::string>;

constexpr char kPath[] = "..\\userdata\\part.00D";
constexpr char kFile[] = "userdata/part.00D";
constexpr char kUsed[] = "ChooseUsedPara/UsedPara";
constexpr char kUnused[] = "ChooseUsedPara/UnusedPara";

// 100 and 101 in "Control" (101 not used), the array 200 in "Motor", 300 in
// "IO" (not used), 120 a choice of value texts, 130 a signed and 140 a
// decimal parameter, both not used.
std::vector<Param> EditorParams() {
    return {
        {.number = 100, .name = "SPEED", .value = 1500, .kpGroup = kControlGroup, .scGroup = kDriveSC},
        {.number = 101, .name = "TORQ", .kpGroup = kControlGroup, .used = false},
        {.number = 200, .name = "ABC", .elements = 4},
        {.number = 300, .name = "IN1", .kpGroup = kIoGroup, .scGroup = kDriveSC, .used = false},
    };
}

std::vector<Param> DialogParams() {
    return {
        {.number = 120,
         .name = "CHOIC",
         .type = kTypeUsign8,
         .value = 1,
         .maximum = 3,
         .flags = kFlagValueTexts,
         .used = false,
         .kind = '0',
         .defaultValue = 2},
        {.number = 130, .name = "S16", .type = kTypeInt16, .value = 5, .maximum = 1000, .used = false, .minimum = -100},
        {.number = 131, .name = "U16", .value = 5, .maximum = 1000, .used = false},
        {.number = 140,
         .name = "FLT",
         .type = kTypeFloat32,
         .value = 0x3FC00000,
         .maximum = 0x43960000,
         .used = false,
         .minimum = static_cast<int32_t>(0xC1A00000)},
    };
}

class PartBaseTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        ASSERT_NE(GwRcMgr::use_func_desc(PartBaseCallbacks()), 0);
    }

    // Writes the base to the user data folder and opens the editor on it.
    GwCore* Open(std::vector<Param> params, uint16_t typeNumber = 4120, const char* path = kPath) {
        std::unique_ptr<ParaBase> base = FixtureBase(params, typeNumber);
        if (params.size() > 0 && params[0].number == 120) {
            ValueTextTable& texts = base->GetValueTextTable();
            texts.AddFirstText(120, "Off");
            for (const char* t : {"Slow", "Mid", "Fast"}) texts.AddNextText(120, t);
        }
        base->InitFile(path);
        if (std::string(path) == kPath) {
            EXPECT_EQ(base->WriteFileBase(), 0) << base->MessageBuffer;
            written_ = testsupport::ReadFile(testsupport::RuntimePath(kFile));
        }
        base_ = base.get();
        GwCore* window = OpenPartBaseEditor(std::move(base));
        EXPECT_NE(window, nullptr);
        return window;
    }

    static GwTree* Tree(const char* path) { return dynamic_cast<GwTree*>(gwtest::Get(path)); }

    // Parameters whose transfer flag is set in the D file.
    static std::vector<int> UsedInFile() {
        const std::string bytes = testsupport::ReadFile(testsupport::RuntimePath(kFile));
        std::vector<int> used;
        for (size_t i = 0; i + kEntryRecordSize <= bytes.size(); i += kEntryRecordSize) {
            if (bytes[i + entry_record::kTransfer] != 0) used.push_back(static_cast<int>(i / kEntryRecordSize));
        }
        return used;
    }

    std::vector<int> UsedInBase() const {
        std::vector<int> used;
        for (int p = 0; p < kParameterCount; ++p) {
            if (base_->IsPresent(p) && base_->GetEntry(p)->transfer != 0) used.push_back(p);
        }
        return used;
    }

    void Move(const char* tree, const char* id) {
        ASSERT_TRUE(gwtest::SelectTreeEntry(tree, id));
        ASSERT_TRUE(gwtest::Click(tree == std::string(kUsed) ? "ChooseUsedPara/ToUnused" : "ChooseUsedPara/ToUsed"));
    }

    // Opens the entry dialog on a node of "UnusedPara".
    GwCore* EditUnused(const char* id) {
        EXPECT_TRUE(gwtest::SelectTreeEntry(kUnused, id));
        EXPECT_TRUE(gwtest::Click("ChooseUsedPara/EditUnused"));
        return gwtest::Find("EntryEdit");
    }

    ParaBase* base_ = nullptr;
    std::string written_;
};

TEST_F(PartBaseTest, OpensOwningTheBaseWithBothTrees) {
    GwCore* window = Open(EditorParams());
    EXPECT_EQ(GetPartialBaseTitle(), "Partial parameter base");
    EXPECT_EQ(window->title(), "Partial parameter base [..\\userdata\\part.00D]");
    EXPECT_GE(TheWindowHandler().IndexOf(window), 0);
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(window));
    EXPECT_EQ(PartBase(), base_);
    EXPECT_EQ(Tree(kUsed)->entries()->text(), "part");
    EXPECT_EQ(Outline(Tree(kUsed)),
              Lines({"File",
                     "  Device_-1",
                     "    Menu_0",
                     "      200-ABC",
                     "        200-ABC-0",
                     "        200-ABC-1",
                     "        200-ABC-2",
                     "        200-ABC-3",
                     "    Menu_1",
                     "      100-SPEED"}));
    EXPECT_EQ(Outline(Tree(kUnused)),
              Lines({"File", "  Device_-1", "    Menu_1", "      101-TORQ", "    Menu_2", "      300-IN1"}));
    EXPECT_FALSE(IsPartBaseModified());

    // A later title keeps the first one's text; the first editor goes.
    SetPartialBaseTitle("Teilbasis");
    GwCore* second = Open({{.number = 100, .name = "SPEED"}}, 4120, "..\\userdata\\other.00D");
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    EXPECT_EQ(second->title(), "Teilbasis [..\\userdata\\other.00D]");
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(PartBaseTest, MovesMakeAndDropFolders) {
    Open(EditorParams());
    Move(kUnused, "300-IN1");
    EXPECT_EQ(Outline(Tree(kUnused)), Lines({"File", "  Device_-1", "    Menu_1", "      101-TORQ"}));
    EXPECT_EQ(Outline(Tree(kUsed)).back(), "      300-IN1");
    EXPECT_EQ(Outline(Tree(kUsed)).at(Outline(Tree(kUsed)).size() - 2), "    Menu_2");
    EXPECT_EQ(FindEntry(Tree(kUsed), "Menu_2")->text(), "IO");
    EXPECT_TRUE(IsPartBaseModified());
    // The marks in the base wait for a save.
    EXPECT_EQ(base_->GetEntry(300)->transfer, 0);

    // An array moves with its elements; the folder it empties goes.
    Move(kUsed, "200-ABC");
    EXPECT_EQ(FindEntry(Tree(kUsed), "Menu_0"), nullptr);
    ASSERT_NE(FindEntry(Tree(kUnused), "200-ABC-3"), nullptr);
    EXPECT_EQ(FindEntry(Tree(kUnused), "200-ABC-3")->parent()->id(), "200-ABC");

    // A folder joins its twin on the other side.
    Move(kUsed, "Menu_1");
    EXPECT_EQ(Outline(Tree(kUsed)), Lines({"File", "  Device_-1", "    Menu_2", "      300-IN1"}));
    EXPECT_EQ(Outline(Tree(kUnused)),
              Lines({"File",
                     "  Device_-1",
                     "    Menu_1",
                     "      101-TORQ",
                     "      100-SPEED",
                     "    Menu_0",
                     "      200-ABC",
                     "        200-ABC-0",
                     "        200-ABC-1",
                     "        200-ABC-2",
                     "        200-ABC-3"}));
}

TEST_F(PartBaseTest, RootsDevicesAndElementsDoNotMove) {
    Open(EditorParams());
    const Lines used = Outline(Tree(kUsed));
    const Lines unused = Outline(Tree(kUnused));
    for (const char* id : {"File", "Device_-1", "200-ABC-1"}) {
        SCOPED_TRACE(id);
        Move(kUsed, id);
        EXPECT_EQ(Outline(Tree(kUsed)), used);
        EXPECT_EQ(Outline(Tree(kUnused)), unused);
    }
    EXPECT_FALSE(IsPartBaseModified());
}

TEST_F(PartBaseTest, TreeButtonSelectsAndMovesOnDoubleClick) {
    Open(EditorParams());
    ExpandAll(Tree(kUsed));
    ExpandAll(Tree(kUnused));
    ASSERT_TRUE(gwtest::ClickTreeEntry(kUsed, "100-SPEED", 0x001));
    EXPECT_EQ(Tree(kUsed)->selected_entry()->id(), "100-SPEED");
    EXPECT_NE(FindEntry(Tree(kUsed), "100-SPEED"), nullptr);
    ASSERT_TRUE(gwtest::ClickTreeEntry(kUsed, "100-SPEED", 0x001 | 0x200));
    EXPECT_EQ(FindEntry(Tree(kUsed), "100-SPEED"), nullptr);
    EXPECT_NE(FindEntry(Tree(kUnused), "100-SPEED"), nullptr);
    // Without the button bit nothing moves.
    ASSERT_TRUE(gwtest::ClickTreeEntry(kUnused, "101-TORQ", 0x200));
    EXPECT_EQ(FindEntry(Tree(kUsed), "101-TORQ"), nullptr);
}

TEST_F(PartBaseTest, SavingMarksExactlyTheUsedTree) {
    Open(EditorParams());
    EXPECT_EQ(UsedInFile(), std::vector<int>({100, 200}));
    Move(kUnused, "300-IN1");
    Move(kUsed, "100-SPEED");
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/File/Save"));
    EXPECT_EQ(UsedInFile(), std::vector<int>({200, 300}));
    EXPECT_FALSE(IsPartBaseModified());
    auto reloaded = std::make_unique<ParaBase>(dstring(kPath));
    ASSERT_EQ(reloaded->TableLoaded, 1);
    EXPECT_EQ(reloaded->GetEntry(300)->transfer, 1);
    EXPECT_EQ(reloaded->GetEntry(100)->transfer, 0);
}

TEST_F(PartBaseTest, SaveAsWritesTheChosenFileAndRetitles) {
    Open(EditorParams());
    Move(kUnused, "300-IN1");
    gwtest::AnswerFile("..\\userdata\\copy.00D");
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/File/SaveAs"));
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.filter, "*.??D");
    EXPECT_EQ(request.directory, "..\\userdata");
    EXPECT_EQ(gwtest::Get("ChooseUsedPara")->title(), "Partial parameter base [..\\userdata\\copy.00D]");
    EXPECT_EQ(std::string(base_->GetPath(kDFilePath)), "..\\userdata\\copy.00D");
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath(kFile)), written_);
    auto copy = std::make_unique<ParaBase>(dstring("..\\userdata\\copy.00D"));
    EXPECT_EQ(copy->GetEntry(300)->transfer, 1);
    EXPECT_FALSE(IsPartBaseModified());
}

struct DriveCase {
    const char* what;
    uint16_t typeNumber;
    int scMaximum;
    std::vector<int> driveUsed;
    std::vector<int> driveUnused;
};

TEST_F(PartBaseTest, DriveMarkingTakesTheDriveParameters) {
    const DriveCase cases[] = {
        {"SC group named DRIVE", 4120, 3, {100, 300}, {8, 11, 91, 101, 200}},
        {"kind 3: the entry flag", 3100, 3, {101}, {8, 11, 91, 100, 200, 300}},
        {"no group named DRIVE", 4120, 1, {100, 200}, {100, 200}},
    };
    for (const DriveCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Param> params = EditorParams();
        params[1].flags = 0x01;
        Open(params, c.typeNumber);
        base_->GetEntry(11)->maximum = c.scMaximum;
        ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/DriveUsed"));
        EXPECT_EQ(UsedInBase(), c.driveUsed);
        ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/DriveUnused"));
        EXPECT_EQ(UsedInBase(), c.driveUnused);
        EXPECT_EQ(IsPartBaseModified(), c.scMaximum != 1);
        // The trees show the marks.
        GwTree* used = Tree(kUsed);
        for (int p : c.driveUnused) {
            if (p < 100) continue;  // no SC group: never in a tree
            EXPECT_NE(FindEntry(used, (std::to_string(p) + "-" + base_->GetParameterName(p)).c_str()), nullptr) << p;
        }
        gwtest::SetDefaultBoxAnswer(GwRESULT_NO, "question");
        ASSERT_TRUE(gwtest::Close("ChooseUsedPara"));
    }
}

TEST_F(PartBaseTest, MassMarkingRebuildsBothTrees) {
    Open(EditorParams());
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/AllUsed"));
    EXPECT_EQ(Outline(Tree(kUnused)), Lines({"File", "  Device_-1"}));
    EXPECT_EQ(UsedInBase(), std::vector<int>({8, 11, 91, 100, 101, 200, 300}));
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/AllUnused"));
    EXPECT_EQ(Outline(Tree(kUsed)), Lines({"File", "  Device_-1"}));
    EXPECT_TRUE(UsedInBase().empty());
    EXPECT_TRUE(IsPartBaseModified());
}

TEST_F(PartBaseTest, ClosingAfterAMoveAsksAndNoDiscards) {
    GwCore* window = Open(EditorParams());
    Move(kUnused, "300-IN1");
    gwtest::AnswerBox(GwRESULT_NO);
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/Exit"));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "question");
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    EXPECT_EQ(TheWindowHandler().IndexOf(window), -1);
    EXPECT_EQ(PartBase(), nullptr);
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath(kFile)), written_);

    // Yes saves first; an unchanged editor closes without asking.
    Open(EditorParams());
    Move(kUnused, "300-IN1");
    gwtest::AnswerBox(GwRESULT_YES);
    ASSERT_TRUE(gwtest::Close("ChooseUsedPara"));
    EXPECT_EQ(UsedInFile(), std::vector<int>({100, 200, 300}));
    Open(EditorParams());
    ASSERT_TRUE(gwtest::Close("ChooseUsedPara"));
    EXPECT_EQ(gwtest::Boxes().size(), 2u);
}

TEST_F(PartBaseTest, AFailedSaveKeepsTheChangesAndTheWindow) {
    GwCore* window = Open(EditorParams(), 4120, "..\\missing\\part.00D");
    Move(kUnused, "300-IN1");
    gwtest::AnswerBox(GwRESULT_OK);
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/File/Save"));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_TRUE(IsPartBaseModified());

    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(gwtest::Close("ChooseUsedPara"));
    EXPECT_EQ(gwtest::Boxes().size(), 3u);
    EXPECT_TRUE(GwRcMgr::is_valid_child(window));
    EXPECT_EQ(PartBase(), base_);
    EXPECT_NE(FindEntry(Tree(kUsed), "300-IN1"), nullptr);
    EXPECT_GE(TheWindowHandler().IndexOf(window), 0);
}

TEST_F(PartBaseTest, ChoiceDialogListsEveryValueAndChangesTheFileBaseOnly) {
    Open(DialogParams());
    GwCore* dialog = EditUnused("120-CHOIC");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->is_visible());
    EXPECT_EQ(dialog->title(), "Parameter value");
    EXPECT_EQ(gwtest::Text("EntryEdit/Name"), "120-CHOIC");
    EXPECT_EQ(gwtest::Text("EntryEdit/Art"), "flüchtig");
    EXPECT_EQ(gwtest::Text("EntryEdit/Min"), "Off");
    EXPECT_EQ(gwtest::Text("EntryEdit/Max"), "Fast");
    EXPECT_EQ(gwtest::Text("EntryEdit/Def"), "Mid");
    auto* list = dynamic_cast<GwCombo*>(gwtest::Get("EntryEdit/ValText"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->is_visible());
    EXPECT_FALSE(gwtest::IsVisible("EntryEdit/Val"));
    Lines items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item_text(i));
    EXPECT_EQ(items, Lines({"Off", "Slow", "Mid", "Fast"}));
    EXPECT_EQ(list->first_selected(), 1);

    ASSERT_TRUE(gwtest::Select("EntryEdit/ValText", 3));
    EXPECT_EQ(base_->GetEntry(120)->value, 3);
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath(kFile)), written_);
    EXPECT_FALSE(IsPartBaseModified());
    ASSERT_TRUE(gwtest::Click("EntryEdit/StdVal"));
    EXPECT_EQ(base_->GetEntry(120)->value, 2);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(PartBaseTest, TypedValuesAreTakenOnlyWhenWhollyANumber) {
    Open(DialogParams());
    const struct {
        const char* id;
        const char* text;
        int number;
        int32_t stored;
    } cases[] = {
        {"130-S16", "-7", 130, -7},
        {"130-S16", "12abc", 130, -7},
        {"130-S16", "12.5", 130, -7},
        {"131-U16", "-5", 131, 5},
        {"131-U16", "42", 131, 42},
        {"131-U16", "4 2", 131, 42},
        {"140-FLT", "2.5", 140, 0x40200000},
        {"140-FLT", "2.5x", 140, 0x40200000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " " + c.text);
        GwCore* dialog = EditUnused(c.id);
        ASSERT_NE(dialog, nullptr);
        auto* val = dynamic_cast<GwEdit*>(gwtest::Get("EntryEdit/Val"));
        ASSERT_TRUE(val->is_visible());
        val->set_text(c.text);
        gwtest::Fire(val, "activate");
        EXPECT_EQ(static_cast<int32_t>(base_->GetEntry(c.number)->value), c.stored);
    }
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(PartBaseTest, RebuildingLetsGoOfTheDialogsNode) {
    Open(DialogParams());
    GwCore* dialog = EditUnused("130-S16");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(gwtest::ChooseMenuItem("ChooseUsedPara/AllUsed"));
    EXPECT_FALSE(dialog->is_visible());
    EXPECT_TRUE(dialog->user_data().is_empty());
    gwtest::Advance(3000);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

}  // namespace
}  // namespace treetest

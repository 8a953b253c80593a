// The parameter tree: nodes, ids and texts by kind, the builder's filters,
// icons, popups and edit kinds.
#include <gtest/gtest.h>

#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "paratools/tree/para_tree.h"
#include "paratools/tree/tests/tree_fixture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_bitmap.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tree/gw_tree.h"

namespace treetest {
namespace {

using Lines = std::vector<std::string>;

struct TreeCase {
    const char* what;
    std::vector<Param> params;
    int filter;
    int access;
    bool loaded;
    Lines outline;
};

class ParaTreeTest : public TreeTest {};

TEST_F(ParaTreeTest, FileTreesFollowTheirFilters) {
    const Param array{.number = 200, .name = "ABC", .elements = 4};
    const Param speed{.number = 100, .name = "SPEED", .kpGroup = kControlGroup};
    const Param torque{.number = 101, .name = "TORQ", .kpGroup = kControlGroup, .used = false};
    const Param io{.number = 300, .name = "IN1", .kpGroup = kIoGroup, .used = false};
    const Param noSC{.number = 301, .name = "IN2", .kpGroup = kIoGroup, .scGroup = 0};
    const Param locked{.number = 302, .name = "LOCK", .kpGroup = kIoGroup, .access = 0x51};
    // clang-format off
    const TreeCase cases[] = {
        {"array parameter with its elements",
         {array},
         kFilterValid,
         kAccessSCGroup,
         true,
         {"File", "  Device_-1", "    Menu_0", "      200-ABC", "        200-ABC-0", "        200-ABC-1",
          "        200-ABC-2", "        200-ABC-3"}},
        {"used: groups without a used parameter have no folder",
         {speed, torque, io, noSC},
         kFilterUsed,
         kAccessSCGroup,
         true,
         {"File", "  Device_-1", "    Menu_1", "      100-SPEED"}},
        {"unused",
         {speed, torque, io, noSC},
         kFilterUnused,
         kAccessSCGroup,
         true,
         {"File", "  Device_-1", "    Menu_1", "      101-TORQ", "    Menu_2", "      300-IN1"}},
        {"SC group 0 counts under another access mode",
         {io, noSC},
         kFilterValid,
         kAccessReadOrWrite,
         true,
         {"File", "  Device_-1", "    Menu_2", "      300-IN1", "      301-IN2"}},
        {"writable at the level only", {io, locked}, kFilterValid, kAccessWrite, true,
         {"File", "  Device_-1", "    Menu_2", "      300-IN1"}},
        {"a filter that takes no group", {speed}, 7, kAccessSCGroup, true, {"File", "  Device_-1"}},
        {"a base that is not loaded", {speed}, kFilterValid, kAccessSCGroup, false, {}},
    };
    // clang-format on
    GwTree* tree = MakeTree();
    ASSERT_NE(tree, nullptr);
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<ParaBase> base = FixtureBase(c.params);
        base->TableLoaded = c.loaded ? 1 : 0;
        ParaTree builder("motor", c.access, kParaTreeOfFile, 4, c.filter, tree, base.get(), false);
        EXPECT_EQ(Outline(tree), c.outline);
        EXPECT_EQ(builder.Root(), tree->entries());
        tree->set_entries(nullptr);
    }
}

TEST_F(ParaTreeTest, NodesCarryIdsTextsAndValues) {
    std::unique_ptr<ParaBase> base =
        FixtureBase({{.number = 200, .name = "ABC", .elements = 4},
                     {.number = 100, .name = "SPEED", .value = 1500, .kpGroup = kControlGroup}});
    GwTree* tree = MakeTree();
    ParaTree builder("motor", kAccessSCGroup, kParaTreeOfFile, 4, kFilterValid, tree, base.get(), false);

    EXPECT_EQ(tree->entries()->text(), "motor");
    EXPECT_EQ(FindEntry(tree, "Device_-1")->text(), GetDeviceTypeName(4120));
    EXPECT_EQ(FindEntry(tree, "Menu_0")->text(), "Motor");
    EXPECT_EQ(FindEntry(tree, "Menu_1")->text(), "Control loop");
    EXPECT_EQ(FindEntry(tree, "200-ABC")->text(), "200-ABC Array ABC");
    EXPECT_EQ(FindEntry(tree, "100-SPEED")->text(), "100-SPEED Speed limit");
    auto* element = dynamic_cast<ParaTreeEntry*>(FindEntry(tree, "200-ABC-2"));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->text(), "200-ABC-2");
    EXPECT_EQ(element->GetKind(), kParaTreePara);
    EXPECT_EQ(element->GetElement(), 2);
    EXPECT_EQ(element->font(), "propfont");
    // Only final ids are found, and the root by its own.
    EXPECT_EQ(FindEntry(tree, "Para_200_2"), nullptr);
    EXPECT_EQ(FindEntry(tree, "Field_200"), nullptr);
    EXPECT_EQ(FindEntry(tree, "File"), tree->entries());
    EXPECT_EQ(FindEntry(tree, "nothing"), nullptr);

    // Values go to the file base's table; SetValue answers 1 even when the
    // base refuses, with the base's message.
    EXPECT_EQ(element->SetValue(7), 1);
    EXPECT_EQ(element->GetValueText(), "7");
    auto* speed = dynamic_cast<ParaTreeEntry*>(FindEntry(tree, "100-SPEED"));
    EXPECT_EQ(speed->GetValueText(), "1500");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(speed->SetValue(70000), 1);
    EXPECT_EQ(speed->GetValueText(), "1500");
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind("error: ", 0), 0u);
    EXPECT_NE(BoxTexts()[0].find("SPEED"), std::string::npos);

    // The used mark follows the entry, present entries only.
    speed->SetUsed(false);
    EXPECT_EQ(base->GetEntry(100)->transfer, 0);
    speed->SetUsed(true);
    EXPECT_EQ(base->GetEntry(100)->transfer, 1);
}

TEST_F(ParaTreeTest, DeviceTreesShowOnlyAddressesWithADrive) {
    AddDrive(maintest::kAddress, DriveTable());
    AddDrive(7, DriveTable());
    GwTree* tree = MakeTree();
    {
        ParaTree none("bus", kAccessReadOrWrite, kParaTreeOfAllDevices, 4, kFilterValid, tree, nullptr, true);
        EXPECT_EQ(tree->entries(), nullptr);
    }
    Activate();
    ParaTree all("bus", kAccessReadOrWrite, kParaTreeOfAllDevices, 4, kFilterValid, tree, nullptr, true);
    EXPECT_EQ(tree->entries(), nullptr);  // roots only: not given to the tree
    ASSERT_NE(all.Root(), nullptr);
    std::vector<std::string> devices;
    for (GwTreeEntry* child : all.Root()->children()) devices.push_back(child->id());
    EXPECT_EQ(devices, Lines({"Device_3", "Device_7"}));
    EXPECT_EQ(all.DeviceNode(3)->GetKind(), kParaTreeActiveDevice);
    EXPECT_EQ(all.DeviceNode(3)->text(), std::string(main_->GetDeviceLabel(3)) + " (Speed)");
    EXPECT_EQ(all.DeviceNode(7)->GetKind(), kParaTreeDevice);
    EXPECT_EQ(all.DeviceNode(7)->text(), main_->GetDeviceLabel(7));
    EXPECT_EQ(all.DeviceNode(7)->Bitmap()->name(), "tr_icdev.bmp");
    EXPECT_EQ(all.DeviceNode(3)->Bitmap()->name(), "tr_acdev.bmp");
    EXPECT_TRUE(all.Root()->IsAllDevices());

    ParaTree active("bus", kAccessReadOrWrite, kParaTreeOfActiveDevice, 4, kFilterValid, tree, nullptr, false);
    EXPECT_EQ(Outline(tree).at(1), "  Device_3");
    EXPECT_FALSE(active.Root()->IsAllDevices());
    auto* mode = dynamic_cast<ParaTreeEntry*>(FindEntry(tree, "151-MODE "));
    ASSERT_NE(mode, nullptr);
    // Names from a drive keep their blanks. A device node reads its value
    // from the drive.
    drives_.at(maintest::kAddress)->Table().Find(151)->value = 1;
    ClearCaptures();
    EXPECT_EQ(mode->GetValue(), 1.0);
    EXPECT_FALSE(Requests().empty());
}

TEST_F(ParaTreeTest, IconsFollowKindWritabilityAndOpenState) {
    std::unique_ptr<ParaBase> base = FixtureBase(
        {{.number = 100, .name = "SPEED", .access = 0x11}, {.number = 101, .name = "TORQ", .access = 0x61}});
    GwTree* tree = MakeTree();
    ParaTree builder("motor", kAccessSCGroup, kParaTreeOfFile, 4, kFilterValid, tree, base.get(), false);
    tree->expand_entry(tree->entries(), true);
    tree->expand_entry(FindEntry(tree, "Device_-1"), true);
    EXPECT_EQ(
        gwtest::TreeRows(tree),
        Lines({"motor [foldo]", "  " + std::string(GetDeviceTypeName(4120)) + " [tr_acdev.bmp]", "    Motor [foldc]"}));
    tree->expand_entry(FindEntry(tree, "Menu_0"), true);
    EXPECT_EQ(gwtest::TreeRows(tree),
              Lines({"motor [foldo]",
                     "  " + std::string(GetDeviceTypeName(4120)) + " [tr_acdev.bmp]",
                     "    Motor [foldo]",
                     "      100-SPEED Speed limit [tr_para.bmp]",
                     "      101-TORQ Torque [tr_nepar.bmp]"}));
}

TEST_F(ParaTreeTest, EachNodeKindOpensItsPopup) {
    AddDrive(maintest::kAddress, DriveTable());
    Activate();
    std::unique_ptr<ParaBase> base = FixtureBase({{.number = 200, .name = "ABC", .elements = 2}});
    GwTree* files = MakeTree();
    ParaTree fileTree("motor", kAccessSCGroup, kParaTreeOfFile, 4, kFilterValid, files, base.get(), false);
    GwTree* devices = MakeTree();
    ParaTree busTree("bus", kAccessReadOrWrite, kParaTreeOfAllDevices, 4, kFilterValid, devices, nullptr, false);
    ExpandAll(files);
    ExpandAll(devices);
    const struct {
        GwTree* tree;
        const char* id;
        const char* popup;
    } cases[] = {
        {files, "File", "TP_File"},
        {files, "Device_-1", "TP_Device"},
        {files, "Menu_0", "TP_Menu"},
        {files, "200-ABC", "TP_Field"},
        {files, "200-ABC-1", "TP_Para"},
        {devices, "Bus", "TP_Bus"},
        {devices, "Device_3", "TP_ActiveDevice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const size_t before = gwtest::Effects("menu open").size();
        ASSERT_TRUE(gwtest::OpenEntryPopup(c.tree, c.id));
        const std::vector<GwEffect> opened = gwtest::Effects("menu open");
        ASSERT_EQ(opened.size(), before + 1);
        EXPECT_EQ(opened.back().widget, std::string("MainWindow.") + c.popup);
        EXPECT_EQ(c.tree->selected_entry()->id(), c.id);
    }
}

TEST(ParaTreeEditKind, ByTypeCodeAndFlags) {
    const struct {
        char type;
        int plain;
        int flag04;
        int flag20;
    } cases[] = {
        {kTypeBegriff, kEditNone, kEditNone, kEditNone},
        {kTypeBinary8, kEditNone, kEditNone, kEditNone},
        {kTypeUsign8, kEditInteger, kEditChoice, kEditChoice},
        {kTypeBinary16, kEditNone, kEditNone, kEditNone},
        {kTypeUsign16, kEditInteger, kEditInteger, kEditInteger},
        {kTypeFixpt16, kEditDecimal, kEditDecimal, kEditDecimal},
        {kTypePassword, kEditInteger, kEditInteger, kEditInteger},
        {kTypeInt16, kEditInteger, kEditInteger, kEditInteger},
        {kTypeInt32Q16, kEditDecimal, kEditDecimal, kEditDecimal},
        {kTypeFloat32, kEditDecimal, kEditDecimal, kEditDecimal},
        {kTypeErrStruc, kEditText, kEditText, kEditText},
        {kTypeString, kEditText, kEditText, kEditText},
        {kTypeInt8, kEditInteger, kEditInteger, kEditInteger},
        {kTypeInt32, kEditInteger, kEditInteger, kEditInteger},
        {kTypeUsign32, kEditInteger, kEditInteger, kEditInteger},
        {'?', kEditNone, kEditNone, kEditNone},
        {'/', kEditNone, kEditNone, kEditNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(ParaTreeEditKindOf(c.type, 0), c.plain);
        EXPECT_EQ(ParaTreeEditKindOf(c.type, 0x04), c.flag04);
        EXPECT_EQ(ParaTreeEditKindOf(c.type, 0x20), c.flag20);
    }
}

TEST_F(ParaTreeTest, StructureNodesHaveNothingToEdit) {
    std::unique_ptr<ParaBase> base = FixtureBase({{.number = 100, .name = "SPEED", .type = kTypeString}});
    GwTree* tree = MakeTree();
    ParaTree builder("motor", kAccessSCGroup, kParaTreeOfFile, 4, kFilterValid, tree, base.get(), false);
    auto* folder = dynamic_cast<ParaTreeEntry*>(FindEntry(tree, "Menu_0"));
    EXPECT_EQ(folder->GetEditKind(), kEditNone);
    auto* text = dynamic_cast<ParaTreeEntry*>(FindEntry(tree, "100-SPEED"));
    EXPECT_EQ(text->GetEditKind(), kEditText);
    EXPECT_EQ(text->SetValueText(nullptr), 1);
    EXPECT_EQ(text->GetValueText(), "");
    EXPECT_EQ(text->SetValueText("abc"), 1);
    EXPECT_EQ(text->GetValueText(), "abc");
}

}  // namespace
}  // namespace treetest

// The setup main windows of families 3, 4 and 5 on a virtual drive: the
// context each window makes, its title and offline marks, the save button's
// label across windows, the show callbacks' setup enable, keypad label and
// compact layout, and the offline file buttons of family 4.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/window_handler.h"
#include "bus/base/basic_bus.h"
#include "devicewin/device_window_callbacks.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/run_mode_window.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/marlo_setup_context.h"
#include "families/pesco_setup_context.h"
#include "families/plc_context.h"
#include "families/ruvex_setup_context.h"
#include "families/setup_main_window.h"
#include "families/tests/shipped_definitions.h"
#include "parameters/parabase/on_off_base.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// One setup main window per family with the parts its callbacks use.
std::string SetupMainDefinition(int family, const std::string& titleFormat) {
    const std::string n = std::to_string(family);
    return "dialogframe " + n + "_SetupMain {\n rect = 0, 0, 600, 500\n on create = Create_CB_" + n +
           "_SetupMain\n on show = Show_CB_" + n + "_SetupMain\n" +
           " container Client { rect = 0, 0, 300, 400; aux_text = \"" + titleFormat +
           "\" }\n"
           " label OfflineState { text = \"Offline\" }\n"
           " button BT_Save { text = \"Save to device\" }\n"
           " button BT_Dravo { text = \"Keypad\" }\n"
           " button Setup { text = \"Setup\" }\n"
           " button PosModHandMode { }\n button PosModProgramEditor { }\n button PosModDataEditor { }\n"
           " container ContFunc { rect = 0, 100, 200, 50 }\n"
           " container ContVal { rect = 0, 160, 200, 30 }\n"
           " container ContSave { rect = 0, 300, 100, 20 }\n}\n";
}

constexpr int kFamilies[] = {3, 4, 5};

class SetupMainTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.type_number = 3012;
        table.Find(91)->value = 3012;
        table.Find(92)->value = FloatBits(205.5f);
        sim::DriveParameter* mode = table.PutFullRange(kRunModeParameter, "MODE", "INT16", 2);
        mode->minimum = static_cast<uint32_t>(-1);
        mode->maximum = 30;
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        GwRcMgr::use_func_desc(kSetupMainCallbacks);
        Define("Setup %s");
        TheParameterEditorContext().Base = main_->ActiveParaBase();
        BusDeviceRecord* record = main_->GetActiveBus()->GetDevice(maintest::kAddress);
        record->typeText = "X3";
        record->alias.Clear();
    }
    void Define(const std::string& titleFormat) {
        std::string text;
        for (int family : kFamilies) text += SetupMainDefinition(family, titleFormat);
        ASSERT_TRUE(GwRcMgr::use_text(text, "setupmain.cgw"));
    }
    // Loads the family's window with the opener's user data and shows it.
    GwCore* Open(int family, const char* userData) {
        const std::string name = std::to_string(family) + "_SetupMain";
        window_ = GwRcMgr::load(mainWindow_, name.c_str(), 1);
        EXPECT_NE(window_, nullptr);
        if (window_ == nullptr) return nullptr;
        window_->set_user_data(GwUD(userData));
        window_->show();
        return window_;
    }
    static DeviceSetupContext* ContextOf(GwCore* window) {
        return window->user_data().is_pointer() ? window->user_data().pointer_as<DeviceSetupContext>() : nullptr;
    }
    static uint32_t FloatBits(float f) { return maintest::FloatBits(f); }
    void SetRunMode(int mode) { Drive().Table().Find(kRunModeParameter)->value = static_cast<uint32_t>(mode); }
};

TEST_F(SetupMainTest, CreateMakesTheFamilysContextMarkedOnlineOrOffline) {
    for (int family : kFamilies) {
        for (const char* userData : {"online", "offline", "Online", ""}) {
            SCOPED_TRACE(std::to_string(family) + " " + userData);
            GwCore* window = Open(family, userData);
            ASSERT_NE(window, nullptr);
            const bool online = std::string(userData) == "online";
            DeviceSetupContext* context = ContextOf(window);
            ASSERT_NE(context, nullptr);
            EXPECT_EQ(context, TheSetupMainState(family)->Context);
            EXPECT_EQ(context->Base->IsOnline(), online);
            const bool ofClass = family == 3   ? dynamic_cast<MarloSetupContext*>(context) != nullptr
                                 : family == 4 ? dynamic_cast<RuvexSetupContext*>(context) != nullptr
                                               : dynamic_cast<PescoSetupContext*>(context) != nullptr;
            EXPECT_TRUE(ofClass);
            const std::string expected =
                online ? "Setup 3-X3" : std::string("Setup ") + main_->ActiveParaBase()->GetPath(kDFilePath);
            EXPECT_EQ(window->title(), expected);
            EXPECT_EQ(window->child("OfflineState")->is_visible(), !online);
            window->destroy();
        }
    }
}

TEST_F(SetupMainTest, TitleNamesTheAliasAndAnEmptyFormatGivesNoTitle) {
    main_->GetActiveBus()->GetDevice(maintest::kAddress)->alias = "Press 7";
    EXPECT_EQ(Open(4, "online")->title(), "Setup Press 7");
    window_->destroy();
    Define("");
    EXPECT_EQ(Open(4, "online")->title(), "");
    window_->destroy();
    EXPECT_EQ(Open(3, "offline")->title(), "");
}

TEST_F(SetupMainTest, SaveLabelGoesOfflineAndComesBackOnline) {
    GwCore* offline = Open(3, "offline");
    EXPECT_EQ(offline->child("BT_Save")->label(), "Save");
    offline->destroy();
    // A second offline window keeps the label it had first, not message 89.
    Open(3, "offline")->destroy();
    EXPECT_EQ(TheSetupMainState(3)->SaveLabel, "Save to device");
    EXPECT_EQ(Open(3, "online")->child("BT_Save")->label(), "Save to device");
}

TEST_F(SetupMainTest, SecondWindowReplacesTheContextAndClosesItsSideWindows) {
    GwCore* first = Open(3, "online");
    DeviceSetupContext* firstContext = ContextOf(first);
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe 3_Side { close_mode = 2 }\n", "side.cgw"));
    GwCore* side = GwRcMgr::load(mainWindow_, "3_Side", 1);
    side->set_user_data(GwUD(static_cast<void*>(firstContext)));
    TheWindowHandler().Add(side, 1);
    side->show();
    GwRef<> sideRef(side);
    first->destroy();

    GwCore* second = Open(3, "offline");
    DeviceSetupContext* secondContext = ContextOf(second);
    ASSERT_NE(secondContext, nullptr);
    EXPECT_EQ(PlcParaBase, secondContext->Base.get());
    EXPECT_EQ(sideRef.get(), nullptr);
    EXPECT_EQ(TheWindowHandler().FindByName("3_Side"), nullptr);
}

TEST_F(SetupMainTest, ShowEnablesSetupByTheRunModesPage) {
    struct Case {
        float version;
        int runMode;
        bool enabled;
    };
    const Case cases[] = {
        {205.0f, 5, true},
        {205.0f, 21, false},  // page 0 on the 200 line
        {205.0f, 26, false},
        {205.0f, -1, false},  // beyond the table either way
        {310.0f, 21, true},
    };
    for (int family : {3, 5}) {
        for (const Case& c : cases) {
            if (family == 5 && c.version == 310.0f) continue;
            SCOPED_TRACE(std::to_string(family) + " " + std::to_string(c.version) + " " + std::to_string(c.runMode));
            Drive().Table().Find(92)->value = FloatBits(c.version);
            double version = 0.0;
            ASSERT_EQ(main_->ActiveParaBase()->ReadValueDouble(92, &version), 0);
            SetRunMode(c.runMode);
            GwCore* window = Open(family, "online");
            DeviceSetupContext* context = ContextOf(window);
            context->Modified = true;
            window->hide();
            window->show();
            EXPECT_FALSE(context->Modified);
            const int page = context->SetupPageOf(static_cast<int>(c.runMode));
            if (family == 3) {
                EXPECT_EQ(window->child("Setup")->is_enabled(), c.enabled);
            }
            EXPECT_EQ(window->child("Setup")->is_enabled(), page != 0);
            window->destroy();
        }
    }
}

TEST_F(SetupMainTest, FailedRunModeReadShowsError5AndLeavesTheWindow) {
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20151").Times(sim::kForever));
    MarkBoxes();
    GwCore* window = Open(3, "online");
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].parent, window->identifier());
    EXPECT_EQ(window->child("Client")->rect(), (GwRect{0, 0, 300, 400}));
    EXPECT_EQ(window->child("BT_Dravo")->label(), "Keypad");
    EXPECT_FALSE(TheSetupMainState(3)->RectsRecorded);
}

TEST_F(SetupMainTest, KeypadLabelComesFromTheOptions) {
    GwProfile* profile = MainProfile();
    ASSERT_NE(profile, nullptr);
    profile->select_section("Options", true);
    profile->write("Dravo", "Keypad KX");
    EXPECT_EQ(Open(5, "online")->child("BT_Dravo")->label(), "Keypad KX");
    window_->destroy();
    const std::string path = profile->path();
    profile->clear();
    EXPECT_EQ(Open(3, "online")->child("BT_Dravo")->label(), "Keypad");
    profile->load(path.c_str());
}

TEST_F(SetupMainTest, CompactLayoutIsRecordedOnceForTheFamily) {
    const GwRect compact[] = {{0, 100, 200, 0}, {0, 0, 300, 340}, {0, 100, 200, 30}, {0, 240, 100, 20}};
    const GwRect full[] = {{0, 100, 200, 50}, {0, 0, 300, 400}, {0, 160, 200, 30}, {0, 300, 100, 20}};
    auto expectLayout = [](GwCore* window, const GwRect(&rects)[4]) {
        EXPECT_EQ(window->child("ContFunc")->rect(), rects[kContFuncRect]);
        EXPECT_EQ(window->child("Client")->rect(), rects[kFirstControlRect]);
        EXPECT_EQ(window->child("ContVal")->rect(), rects[kContValRect]);
        EXPECT_EQ(window->child("ContSave")->rect(), rects[kContSaveRect]);
    };
    GwCore* window = Open(3, "online");
    expectLayout(window, compact);
    window->hide();
    window->show();
    expectLayout(window, compact);
    window->destroy();

    window = Open(3, "offline");
    expectLayout(window, compact);
    DeviceSetupContext* context = ContextOf(window);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(context->Rects[static_cast<size_t>(i)], full[i]);
    EXPECT_FALSE(context->Expanded);
    CB_SwitchSize(window->child("ContSave"), nullptr, GwUD());
    expectLayout(window, full);
    EXPECT_TRUE(context->Expanded);
}

class RuvexSetupMainTest : public SetupMainTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.type_number = 4012;
        table.Find(91)->value = 4012;
        return table;
    }
};

TEST_F(RuvexSetupMainTest, OfflineFileButtonsFollowTheFilesBesideTheDataSet) {
    testsupport::WriteFile(testsupport::RuntimePath("userdata/x.00D"), "");
    testsupport::WriteFile(testsupport::RuntimePath("userdata/X.PRG"), "");
    OnOffBase file(*main_->ActiveParaBase(), false);
    file.SetPath(kDFilePath, testsupport::RuntimePath("userdata/x.00D").string().c_str());
    TheParameterEditorContext().Base = &file;
    GwCore* window = Open(4, "offline");
    EXPECT_FALSE(window->child("PosModHandMode")->is_enabled());
    EXPECT_TRUE(window->child("PosModProgramEditor")->is_enabled());
    EXPECT_FALSE(window->child("PosModDataEditor")->is_enabled());
    window->destroy();

    testsupport::WriteFile(testsupport::RuntimePath("userdata/X.01D"), "");
    window = Open(4, "offline");
    EXPECT_TRUE(window->child("PosModDataEditor")->is_enabled());
}

TEST_F(RuvexSetupMainTest, OnlineLeavesTheRunModeSelectionsButtons) {
    for (const auto& [mode, shown] : {std::pair{14, true}, std::pair{11, false}}) {
        SetRunMode(mode);
        GwCore* window = Open(4, "online");
        window->child("PosModProgramEditor")->disable();
        window->hide();
        window->show();
        EXPECT_EQ(window->child("PosModHandMode")->is_visible(), shown);
        EXPECT_TRUE(window->child("PosModHandMode")->is_enabled());
        EXPECT_FALSE(window->child("PosModProgramEditor")->is_enabled());
        EXPECT_TRUE(window->child("PosModDataEditor")->is_enabled());
        window->destroy();
    }
}

}  // namespace
}  // namespace devicewintest

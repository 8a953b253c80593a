// The run-mode descriptions of the setup main windows on a virtual drive:
// application pictures from "APP_<code>.ini" with the option module's
// picture, introduction pages copied into the window, and the family-5
// run-mode text files.
#include "families/run_mode_descriptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr char kPictureWindow[] =
    "picture 3_APP_ { rect = 300, 10, 50, 40 }\n combo _PN_152 { }\n label Modified { }\n button hollin { }";

// A drive of `code` and firmware `version` whose 151 and 152 name their run
// modes "None", "Speed", "Torque", "Position".
class RunModeTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.type_number = static_cast<uint32_t>(code_);
        // A firmware of its own: the descriptions cached for another test's
        // drive of that type do not apply.
        table.version = static_cast<uint32_t>(version_ * 20.0f) + 1;
        table.Find(91)->value = static_cast<uint32_t>(code_);
        table.Find(92)->value = maintest::FloatBits(version_);
        for (int number : {151, 152}) {
            sim::DriveParameter* p = table.PutFullRange(number, number == 151 ? "MODE" : "APPL", "USIGN8", 2);
            p->minimum = static_cast<uint32_t>(minimum_);
            p->maximum = 3;
            p->flags |= sim::kFlagValueTexts;
            p->value_texts = {{0, "None"}, {1, "Speed"}, {2, "Torque"}, {3, "Position"}};
        }
        return table;
    }
    void TearDown() override {
        for (const char* file : {"bin/APP_3000.ini", "bin/APP_4000.ini"}) RemoveTreeFile(file);
        DeviceWindowTest::TearDown();
    }
    GwCombo* List() { return dynamic_cast<GwCombo*>(W("_PN_152")); }
    // Opens the body on an online context with the list filled and `entry`
    // selected.
    void Open(const std::string& body, int entry) {
        OpenWindow(body, MakeContext(true));
        for (const char* item : {"None", "Speed", "Torque", "Position"}) List()->append(item);
        List()->select_item(entry);
    }
    std::string Bitmap() { return dynamic_cast<GwPicture*>(W("3_APP_"))->bitmap(); }

    int code_ = 3012;
    float version_ = 205.5f;
    int minimum_ = 0;
};

TEST_F(RunModeTest, PictureNameComesFromTheProfileOrTheBuiltInName) {
    WriteTreeFile("bin/APP_3000.ini", "[200]\n2=PicA\n3=\n[300]\n2=PicB\n");
    EXPECT_EQ(ApplicationPictureName(3012, 205.5, 2), "PicA");
    EXPECT_EQ(ApplicationPictureName(3999, 209.9, 2), "PicA");
    EXPECT_EQ(ApplicationPictureName(3012, 305.0, 2), "PicB");
    EXPECT_EQ(ApplicationPictureName(3012, 205.5, 3), "3_APP_3");  // empty value
    EXPECT_EQ(ApplicationPictureName(3012, 205.5, 1), "3_APP_1");  // no key
    EXPECT_EQ(ApplicationPictureName(3012, 190.0, 2), "3_APP_2");  // no section
    EXPECT_EQ(ApplicationPictureName(4012, 205.0, 2), "4_APP_2");  // no file
}

TEST_F(RunModeTest, SelectShowsTheProfilesPictureAndEnablesTheOptionModuleByItsPicture) {
    WriteTreeFile("bin/APP_3000.ini", "[200]\n2=PicA\n");
    GwRcMgr::add_bitmap("PicA", 40, 30);
    GwRcMgr::add_bitmap("3_APP_2", 40, 30);
    for (bool optionPicture : {false, true}) {
        SCOPED_TRACE(optionPicture);
        if (optionPicture) GwRcMgr::add_bitmap("PicA_1", 40, 30);
        Open(kPictureWindow, 2);
        W("hollin")->set_sensitive(!optionPicture);
        EXPECT_EQ(CB_3_SelectRunMode(List(), nullptr, GwUD()), 1);
        EXPECT_EQ(Bitmap(), "PicA");
        EXPECT_EQ(W("hollin")->is_enabled(), optionPicture);
        window_->destroy();
    }
    RemoveTreeFile("bin/APP_3000.ini");
    Open(kPictureWindow, 2);
    CB_3_SelectRunMode(List(), nullptr, GwUD());
    EXPECT_EQ(Bitmap(), "3_APP_2");
    EXPECT_FALSE(W("hollin")->is_enabled());
}

TEST_F(RunModeTest, ShowSelectsTheRunningModeAndMarksAChosenOneNotYetRunning) {
    GwRcMgr::add_bitmap("3_APP_2", 40, 30);
    struct Case {
        uint32_t running;
        uint32_t chosen;
        bool marked;
    };
    for (const Case& c : {Case{2, 2, false}, Case{2, 3, true}, Case{1, 1, false}}) {
        SCOPED_TRACE(std::to_string(c.running) + " " + std::to_string(c.chosen));
        Drive().Table().Find(151)->value = c.running;
        Drive().Table().Find(152)->value = c.chosen;
        Open(kPictureWindow, 0);
        if (c.marked) {
            W("Modified")->hide();
        } else {
            W("Modified")->show();
        }
        EXPECT_EQ(CB_3_ShowRunMode(W("3_APP_"), nullptr, GwUD()), 1);
        EXPECT_EQ(List()->first_selected(), static_cast<int>(c.running));
        EXPECT_EQ(W("Modified")->is_visible(), c.marked);
        EXPECT_EQ(Bitmap(), c.running == 2 ? "3_APP_2" : "");
        window_->destroy();
    }
}

TEST_F(RunModeTest, FailedReadShowsError5AndEndsTheShow) {
    GwRcMgr::add_bitmap("3_APP_2", 40, 30);
    // 152 first: a fault stays for the rest of the test.
    for (const char* code : {"20152", "20151"}) {
        for (int answer : {GwRESULT_OK, 2}) {
            SCOPED_TRACE(std::string(code) + " " + std::to_string(answer));
            Open(kPictureWindow, 0);
            Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For(code).Times(sim::kForever));
            MarkBoxes();
            gwtest::AnswerBox(answer);
            CB_3_ShowRunMode(W("3_APP_"), nullptr, GwUD());
            const std::vector<GwBoxRecord> boxes = NewBoxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].kind, "error");
            EXPECT_EQ(List()->first_selected(), 0);
            EXPECT_EQ(Bitmap(), "");
            window_->destroy();
        }
    }
}

TEST_F(RunModeTest, OptionModuleWindowTakesTheProfilesPictureThroughTheVersionedLookup) {
    WriteTreeFile("bin/APP_3000.ini", "[200]\n2=PicA\n");
    GwRcMgr::add_bitmap("PicA_1", 40, 30);
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe 3_200_Hollin { picture Picture { } }\n", "hollin.cgw"));
    Open(kPictureWindow, 2);
    EXPECT_EQ(CB_3_ShowHollin(W("hollin"), nullptr, GwUD()), 1);
    GwCore* hollin = window_->child("3_200_Hollin");
    ASSERT_NE(hollin, nullptr);
    EXPECT_TRUE(hollin->is_visible());
    EXPECT_EQ(dynamic_cast<GwPicture*>(hollin->first_control())->bitmap(), "PicA_1");
}

class Firmware200RunModeTest : public RunModeTest {
public:
    Firmware200RunModeTest() {
        code_ = 4012;
        version_ = 205.0f;
        minimum_ = 1;
    }
};

TEST_F(Firmware200RunModeTest, TheListCountsFromTheMinimumAndThePictureTakesItsBitmapsSize) {
    GwRcMgr::add_bitmap("4_APP_3", 64, 48);
    GwRcMgr::add_bitmap("4_200_APP_3_1", 20, 20);
    WriteTreeFile("bin/APP_4000.ini", "[200]\n3=Other\n");
    GwRcMgr::add_bitmap("Other", 10, 10);
    RemoveTreeFile("bin/APP_4000.ini");
    Drive().Table().Find(151)->value = 3;
    Drive().Table().Find(152)->value = 3;
    Open(kPictureWindow, 0);
    // The running run mode 3 is the entry 3 (the list starts at the entry
    // of value 1 only for the picture).
    List()->select_item(2);
    CB_4_200_SelectRunMode(List(), nullptr, GwUD());
    EXPECT_EQ(Bitmap(), "4_APP_3");
    EXPECT_EQ(W("3_APP_")->dimension(), (GwDimension{50, 40}));  // select keeps the size

    Drive().Table().Find(151)->value = 2;
    CB_4_200_ShowRunMode(W("3_APP_"), nullptr, GwUD());
    EXPECT_EQ(List()->first_selected(), 2);
    EXPECT_EQ(Bitmap(), "4_APP_3");
    EXPECT_EQ(W("3_APP_")->dimension(), (GwDimension{64, 48}));

    // The option module's picture never comes from the profile.
    WriteTreeFile("bin/APP_4000.ini", "[200]\n3=Other\n");
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe 4_200_Hollin { picture Picture { } }\n", "hollin.cgw"));
    EXPECT_EQ(CB_4_200_ShowHollin(W("hollin"), nullptr, GwUD()), 1);
    GwCore* hollin = window_->child("4_200_Hollin");
    ASSERT_NE(hollin, nullptr);
    EXPECT_TRUE(hollin->is_visible());
    EXPECT_EQ(dynamic_cast<GwPicture*>(hollin->first_control())->bitmap(), "4_200_APP_3_1");
}

constexpr char kIntroductionWindow[] =
    "combo _PN_152 { }\n label Modified { }\n container IntroCont { rect = 0, 0, 200, 100 }";

// Introduction windows of the firmware lines: the page of each run mode
// holds its text as first child.
constexpr char kIntroductions[] =
    "dialogframe 4_Introduction {\n"
    " container Speed { label SpeedText { text = \"Common speed\"; rect = 5, 5, 80, 20 } }\n"
    " container Torque { label TorqueText { text = \"Common torque\"; rect = 5, 5, 80, 20 } }\n}\n"
    "dialogframe 4_510_Introduction {\n"
    " container Speed { label SpeedText { text = \"Speed of 510\"; rect = 5, 5, 80, 20 } }\n}\n"
    "dialogframe 4_100_Introduction {\n"
    " container Speed { label SpeedText { text = \"Speed of 100\"; rect = 5, 5, 80, 20 } }\n}\n";

class IntroductionTest : public RunModeTest {
public:
    IntroductionTest() { code_ = 4012; }
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = RunModeTest::MakeTable();
        table.Find(90)->value = 0;  // no firmware line of its own
        return table;
    }
    void SetUp() override {
        RunModeTest::SetUp();
        ASSERT_TRUE(GwRcMgr::use_text(kIntroductions, "introductions.cgw"));
    }
    // The texts IntroCont holds, in order.
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (GwCore* child : W("IntroCont")->children()) texts.push_back(child->text());
        return texts;
    }
    bool NoIntroductionLeft() {
        return window_->child("4_Introduction") == nullptr && window_->child("4_510_Introduction") == nullptr &&
               window_->child("4_100_Introduction") == nullptr;
    }
};

TEST_F(IntroductionTest, ShowCopiesTheRunningModesPageOfTheFirmwareLine) {
    struct Case {
        float version;
        uint32_t running;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {512.0f, 1, {"Speed of 510"}},
        {512.0f, 2, {}},  // the window of the 510 line has no page "Torque"
        {100.0f, 1, {"Common speed"}},
        {305.0f, 1, {"Common speed"}},  // no window of the 300 line
        {512.0f, 3, {}},                // no page "Position"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + " " + std::to_string(c.running));
        Drive().Table().Find(92)->value = maintest::FloatBits(c.version);
        Drive().Table().Find(151)->value = c.running;
        Open(kIntroductionWindow, 0);
        EXPECT_EQ(CB_4_ShowRunMode(W("IntroCont"), nullptr, GwUD()), 1);
        EXPECT_EQ(Shown(), c.shown);
        if (!c.shown.empty()) {
            EXPECT_EQ(W("IntroCont")->first_control()->position(), (GwPosition{1, 1}));
            EXPECT_TRUE(W("IntroCont")->first_control()->is_visible());
        }
        EXPECT_TRUE(NoIntroductionLeft());
        window_->destroy();
    }
}

TEST_F(IntroductionTest, SelectReplacesThePageByTheSelectedModes) {
    Drive().Table().Find(92)->value = maintest::FloatBits(100.0f);
    Open(kIntroductionWindow, 0);
    CB_4_ShowRunMode(W("IntroCont"), nullptr, GwUD());
    ASSERT_EQ(Shown(), std::vector<std::string>{"Common torque"});
    List()->select_item(1);
    EXPECT_EQ(CB_4_SelectRunMode(List(), nullptr, GwUD()), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Common speed"});
    EXPECT_TRUE(NoIntroductionLeft());
    // A run mode without a page changes nothing.
    List()->select_item(3);
    CB_4_SelectRunMode(List(), nullptr, GwUD());
    EXPECT_EQ(Shown(), std::vector<std::string>{"Common speed"});
    EXPECT_TRUE(NoIntroductionLeft());
}

class RunModeTextTest : public RunModeTest {
public:
    RunModeTextTest() { code_ = 5123; }
    void TearDown() override {
        RemoveTreeFile("LANGUAGE/044/BA5_Speed.TXT");
        RunModeTest::TearDown();
    }
};

TEST_F(RunModeTextTest, ShowAndSelectReadTheModesTextFile) {
    WriteTreeFile("LANGUAGE/044/BA5_Speed.TXT", "Runs at a set speed.\r\nSecond line.\r\n");
    Drive().Table().Find(151)->value = 1;
    Drive().Table().Find(152)->value = 1;
    Open("combo _PN_152 { }\n label Modified { }\n text Shown { }\n text BaText { }", 0);
    EXPECT_EQ(CB_5_ShowRunMode(W("Shown"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("Shown")->text(), "Runs at a set speed.\nSecond line.");
    EXPECT_EQ(List()->first_selected(), 1);
    EXPECT_FALSE(W("Modified")->is_visible());
    EXPECT_EQ(CB_5_SelectRunMode(List(), nullptr, GwUD()), 1);
    EXPECT_EQ(W("BaText")->text(), " Runs at a set speed.\nSecond line.");

    List()->select_item(2);  // "Torque" has no file
    CB_5_SelectRunMode(List(), nullptr, GwUD());
    EXPECT_EQ(W("BaText")->text(), " ");
    Drive().Table().Find(151)->value = 2;
    CB_5_ShowRunMode(W("Shown"), nullptr, GwUD());
    EXPECT_EQ(W("Shown")->text(), "");
}

}  // namespace
}  // namespace devicewintest

// Setup contexts: the class by family, the read rule of their own base, the
// setup page tables by firmware line, the state checks, the PLC base link and
// the positioning-program editor setting.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/services/app_files.h"
#include "families/marlo_setup_context.h"
#include "families/pesco_setup_context.h"
#include "families/pos_prog_editor.h"
#include "families/ruvex_setup_context.h"
#include "families/setup_context_factory.h"
#include "families/tests/families_fixture.h"
#include "families/tmp_base_context.h"
#include "families/zov_setup_context.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using familiestest::FamiliesTest;
using familiestest::FloatBits;

class SetupContextTest : public FamiliesTest {
protected:
    void Version(float table, std::optional<float> drive) {
        const auto tableBits = static_cast<int32_t>(FloatBits(table));
        if (drive) {
            Both(92, "VERS", kTypeFloat32, tableBits, FloatBits(*drive));
        } else {
            TableOnly(92, "VERS", kTypeFloat32, tableBits);
        }
    }
};

TEST_F(SetupContextTest, FamilyChoosesTheClass) {
    struct Case {
        int family;
        const char* expected;
    } cases[] = {{3, "Marlo"},
                 {4, "Ruvex"},
                 {5, "Pesco"},
                 {6, "Pesco"},
                 {7, "Pesco"},
                 {8, "Zov"},
                 {0, "none"},
                 {1, "none"},
                 {2, "none"},
                 {9, "none"}};
    for (const Case& c : cases) {
        std::unique_ptr<DeviceSetupContext> context = CreateSetupContextForFamily(c.family, nullptr, *base_, false);
        const char* got = context == nullptr                                           ? "none"
                          : dynamic_cast<MarloSetupContext*>(context.get()) != nullptr ? "Marlo"
                          : dynamic_cast<RuvexSetupContext*>(context.get()) != nullptr ? "Ruvex"
                          : dynamic_cast<PescoSetupContext*>(context.get()) != nullptr ? "Pesco"
                          : dynamic_cast<ZovSetupContext*>(context.get()) != nullptr   ? "Zov"
                                                                                       : "other";
        EXPECT_STREQ(got, c.expected) << c.family;
    }
}

TEST_F(SetupContextTest, OwnBaseReadsTheDriveOnlyWhenMadeOnline) {
    Version(300.0f, 425.0f);
    RuvexSetupContext online(nullptr, *base_, true);
    EXPECT_EQ(drive_->Capture().Bytes().empty(), false);
    EXPECT_EQ(Heard(), "R20092");
    EXPECT_EQ(online.SetupPageTableLength, 18);
    EXPECT_TRUE(online.Base->IsOnline());
    EXPECT_NE(online.Base.get(), base_.get());

    drive_->ClearCapture();
    RuvexSetupContext offline(nullptr, *base_, false);
    EXPECT_EQ(Heard(), "");
    EXPECT_EQ(offline.SetupPageTableLength, 17);
    EXPECT_FALSE(offline.Base->IsOnline());
    EXPECT_STREQ(offline.SpecialsPageName, "4_Specials");
    EXPECT_EQ(offline.RunModeParameter, 151);
    EXPECT_EQ(offline.SaveParameter, 150);
    EXPECT_STREQ(offline.ApplicationListName, "_PN_152");
}

TEST_F(SetupContextTest, SetupPageTableFollowsTheFirmwareLine) {
    struct Case {
        const char* what;
        int family;
        float table;
        std::optional<float> drive;  // none: the device read fails
        bool online;
        int length;
        int32_t mode2;  // the page of run mode 2 tells the tables of one length apart
    } cases[] = {
        {"Marlo takes the stored 205 even online", 3, 205.0f, 300.0f, true, 26, 1},
        {"Marlo stored 300", 3, 300.0f, 205.0f, true, 26, 2},
        {"Pesco 205 from the drive", 5, 300.0f, 205.0f, true, 20, 202},
        {"Pesco read fails", 6, 205.0f, std::nullopt, true, 24, 2},
        {"Pesco offline 209", 7, 209.5f, std::nullopt, false, 20, 202},
        {"Ruvex 505", 4, 300.0f, 505.0f, true, 18, 1},
        {"Ruvex 430", 4, 430.0f, std::nullopt, false, 17, 1},
        {"Ruvex read fails", 4, 425.0f, std::nullopt, true, 17, 1},
    };
    for (const Case& c : cases) {
        Version(c.table, c.drive);
        std::unique_ptr<DeviceSetupContext> context = CreateSetupContextForFamily(c.family, nullptr, *base_, c.online);
        ASSERT_NE(context, nullptr) << c.what;
        EXPECT_EQ(context->SetupPageTableLength, c.length) << c.what;
        EXPECT_EQ(context->SetupPageOf(2), c.mode2) << c.what;
        EXPECT_EQ(context->SetupPageOf(c.length), 0) << c.what;
        EXPECT_EQ(context->SetupPageOf(-1), 0) << c.what;
        drive_->Table() = sim::DriveTable();
    }
    PescoSetupContext pesco(nullptr, *base_, false);
    ASSERT_EQ(pesco.HandModeTableLength, 24);
    EXPECT_EQ(pesco.HandModeTable[11], 0);
    EXPECT_EQ(pesco.HandModeTable[12], 1);
    EXPECT_EQ(pesco.HandModeTable[20], 1);
    EXPECT_EQ(pesco.HandModeTable[21], 0);
}

TEST_F(SetupContextTest, ZovHasNoRunModePagesAndTheSetupControlComesFromTheWindow) {
    ZovSetupContext zov(nullptr, *base_, false);
    EXPECT_EQ(zov.RunModeParameter, 0);
    EXPECT_EQ(zov.SaveParameter, 150);
    EXPECT_EQ(zov.ApplicationListName, nullptr);
    EXPECT_EQ(zov.SetupPageTable, nullptr);
    EXPECT_EQ(zov.SetupPageOf(0), 0);
    EXPECT_EQ(zov.Rects[kContSaveRect], (GwRect{0, 0, 10, 10}));
    EXPECT_FALSE(zov.Expanded);
    EXPECT_FALSE(zov.Modified);
}

TEST_F(SetupContextTest, StateChecksAndTheirReadFailures) {
    EnableBoxes();
    using Check = bool (DeviceSetupContext::*)();
    const Check status = &DeviceSetupContext::CheckStatusWordBit;
    const Check statusAlt = &DeviceSetupContext::CheckStatusWordBitAlt;
    const Check mode = &DeviceSetupContext::CheckModeSelection;
    const Check modeAlt = &DeviceSetupContext::CheckModeSelectionAlt;
    struct Case {
        const char* what;
        int family;
        Check check;
        int number;                 // the parameter the check reads (0: none)
        std::optional<uint32_t> v;  // on the drive; none: the read fails
        int number2 = 0;
        uint32_t v2 = 0;
        bool expected = false;
        size_t boxes = 0;
    } cases[] = {
        {"Ruvex 403 bit 4", 4, status, 403, 0x10, 0, 0, true},
        {"Ruvex 403 other bits", 4, status, 403, 0xFFEF, 0, 0, false},
        {"Ruvex 403 fails", 4, status, 403, std::nullopt, 0, 0, true, 1},
        {"Marlo 403 bit 4", 3, status, 403, 0x10, 0, 0, true},
        {"Pesco 410 bit 14", 5, status, 410, 0x4000, 0, 0, true},
        {"Pesco 410 fails", 6, status, 410, std::nullopt, 0, 0, true, 1},
        {"Zov never", 8, status, 0, 0, 0, 0, false},
        {"Ruvex alt 403 bit 0", 4, statusAlt, 403, 1, 0, 0, true},
        {"Ruvex alt fails silently", 4, statusAlt, 403, std::nullopt, 0, 0, true, 0},
        {"Zov alt 403 bit 0", 8, statusAlt, 403, 0xFFFE, 0, 0, false},
        {"Pesco alt 410 bit 3", 7, statusAlt, 410, 0x8, 0, 0, true},
        {"Ruvex mode both differ", 4, mode, 579, 0, 578, 7, true},
        {"Ruvex mode 579 is 4", 4, mode, 579, 4, 578, 0, false},
        {"Marlo mode 578 is 4", 3, mode, 579, 1, 578, 4, false},
        {"Ruvex mode fails", 4, mode, 579, std::nullopt, 578, 0, false, 1},
        {"Pesco mode 579 is 1", 5, mode, 579, 1, 0, 0, false},
        {"Pesco mode 579 is 4", 5, mode, 579, 4, 0, 0, true},
        {"Ruvex alt mode 578 is 7", 4, modeAlt, 579, 0, 578, 7, false},
        {"Ruvex alt mode none 7", 4, modeAlt, 579, 4, 578, 4, true},
        {"Marlo alt mode never", 3, modeAlt, 0, 0, 0, 0, false},
        {"Pesco alt mode never", 5, modeAlt, 0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        if (c.number != 0) {
            if (c.v) {
                Both(c.number, "STATE", kTypeUsign16, 0, *c.v);
            } else {
                TableOnly(c.number, "STATE", kTypeUsign16, 0);
            }
        }
        if (c.number2 != 0) Both(c.number2, "MODE", kTypeUsign16, 0, c.v2);
        std::unique_ptr<DeviceSetupContext> context = CreateSetupContextForFamily(c.family, nullptr, *base_, true);
        const size_t before = gwtest::Boxes().size();
        EXPECT_EQ(((*context).*(c.check))(), c.expected) << c.what;
        EXPECT_EQ(gwtest::Boxes().size() - before, c.boxes) << c.what << ": " << context->Base->MessageBuffer;
        drive_->Table() = sim::DriveTable();
        for (int n : {403, 410, 578, 579}) base_->GetEntry(n)->number = 0;
    }
}

TEST_F(SetupContextTest, TemporaryBaseContextRefusesStateChecks) {
    EnableBoxes();
    TmpBaseContext context(nullptr, *base_, false);
    EXPECT_FALSE(context.CheckStatusWordBit());
    EXPECT_FALSE(context.CheckStatusWordBitAlt());
    EXPECT_FALSE(context.CheckModeSelection());
    EXPECT_FALSE(context.CheckModeSelectionAlt());
    ASSERT_EQ(gwtest::Boxes().size(), 4u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
}

TEST_F(SetupContextTest, PlcBaseBelongsToTheNewestPlcContextAndEitherEndClearsIt) {
    EXPECT_EQ(PlcParaBase, nullptr);
    auto marlo = std::make_unique<MarloSetupContext>(nullptr, *base_, false);
    EXPECT_EQ(PlcParaBase, marlo->Base.get());
    auto pesco = std::make_unique<PescoSetupContext>(nullptr, *base_, false);
    EXPECT_EQ(PlcParaBase, pesco->Base.get());
    { RuvexSetupContext ruvex(nullptr, *base_, false); }
    EXPECT_EQ(PlcParaBase, pesco->Base.get());
    marlo.reset();
    EXPECT_EQ(PlcParaBase, nullptr);
    pesco.reset();
    EXPECT_EQ(PlcParaBase, nullptr);
}

TEST_F(SetupContextTest, PositioningProgramEditorSetting) {
    const std::filesystem::path profile = testsupport::RuntimePath("bin/Torvan.ini");
    const std::string shipped = testsupport::ReadFile(profile);
    struct Restore {
        std::filesystem::path path;
        std::string bytes;
        ~Restore() { testsupport::WriteFile(path, bytes); }
    } restore{profile, shipped};
    EXPECT_STREQ(GetPosProgEditor(), "notepad.exe");
    testsupport::WriteFile(profile, "[Options]\nLanguage=44\n[Externals]\nPosProgEditor=\n");
    OpenApplicationFiles();
    EXPECT_STREQ(GetPosProgEditor(), "notepad.exe");
    testsupport::WriteFile(profile, "[Options]\nLanguage=44\n[Externals]\nPosProgEditor=vi\n");
    OpenApplicationFiles();
    EXPECT_STREQ(GetPosProgEditor(), "vi");
    // Without the section the last value read stays.
    testsupport::WriteFile(profile, "[Options]\nLanguage=44\n");
    OpenApplicationFiles();
    EXPECT_STREQ(GetPosProgEditor(), "vi");
}

}  // namespace

// Value texts of the setup contexts: operand prefixes, the "Dispatcher" and
// "EXPLORER-PARA" routes through the firmware texts with their plain-number
// fall-backs, and the reload of the firmware's own texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "families/marlo_setup_context.h"
#include "families/pesco_setup_context.h"
#include "families/ruvex_setup_context.h"
#include "families/tests/families_fixture.h"
#include "families/zov_setup_context.h"
#include "parameters/values/dstring.h"
#include "testsupport/test_env.h"

namespace {

using familiestest::FamiliesTest;
using familiestest::FloatBits;

constexpr char kVersionTexts[] =
    "[Dispatcher]\n"
    "OPH=Operands\n"
    "OPF=Missing\n"
    "SEL=Selected\n"
    "[Operands]\n"
    "5=Heater\n"
    "6=Six\n"
    "[Selected]\n"
    "EXPLORER-PARA=470\n"
    "Mode A=ModeA\n"
    "Mode B=Nowhere\n"
    "[ModeA]\n"
    "7=Seven\n"
    "[MMM  ]\n"
    "5=Untrimmed\n";

class ValueTextTest : public FamiliesTest {
protected:
    void SetUp() override {
        FamiliesTest::SetUp();
        TableOnly(92, "VERS", kTypeFloat32, static_cast<int32_t>(FloatBits(205.5f)));
        TableOnly(460, "OPH", kTypeUsign16, 0);
        TableOnly(461, "MMM", kTypeUsign16, 0);
        TableOnly(462, "SEL", kTypeUsign16, 0);
        TableOnly(464, "OPH", kTypeUsign16, 0);
        TableOnly(465, "OPF", kTypeUsign16, 0);
        TableOnly(470, "PICK", kTypeString, 0);
        base_->SetTextObject(470, std::make_unique<dstring>("Mode A"));
    }
    void TearDown() override {
        for (const std::filesystem::path& p : written_) std::filesystem::remove(p);
        FamiliesTest::TearDown();
    }
    void Write(const std::string& relative, const std::string& text) {
        written_.push_back(testsupport::RuntimePath(relative));
        testsupport::WriteFile(written_.back(), text);
    }
    void DeviceCode(uint16_t code) { TableOnly(91, "TYPE", kTypeUsign16, code); }
    static std::string Text(DeviceSetupContext& context, int number, int32_t value) {
        dstring out;
        context.GetValueText(out, number, value);
        return out.Text();
    }

    std::vector<std::filesystem::path> written_;
};

TEST_F(ValueTextTest, OperandPrefixesAndDispatcherRoutes) {
    Write("LANGUAGE/044/3_205_50.IXT", kVersionTexts);
    DeviceCode(3012);
    MarloSetupContext marlo(nullptr, *base_, false);
    struct Case {
        int number;
        int32_t value;
        const char* expected;
    } cases[] = {
        {460, 5, "H005 = Heater"},
        {460, 9, "H009"},              // no text for the value
        {464, 5, "Heater"},            // no prefix
        {465, 7, "F007"},              // routed to a section that does not exist
        {461, 5, "M005 = Untrimmed"},  // no route: the untrimmed name is the section
        {462, 7, "Z07 = Seven"},       // the selector's shown value picks the section
        {470, 3, "3"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(marlo, c.number, c.value), c.expected) << c.number << " " << c.value;

    // A selected section that does not exist gives the plain number, prefix
    // and all.
    marlo.Base->GetTextObject(470)->AssignText("Mode B");
    EXPECT_EQ(Text(marlo, 462, 7), "7");
}

TEST_F(ValueTextTest, ZovWithoutPrefixesOthersPlainNumbers) {
    Write("LANGUAGE/044/9_205_50.IXT", kVersionTexts);
    DeviceCode(9001);
    ZovSetupContext zov(nullptr, *base_, false);
    EXPECT_EQ(Text(zov, 460, 5), "Heater");
    EXPECT_EQ(Text(zov, 460, 9), "9");
    RuvexSetupContext ruvex(nullptr, *base_, false);
    EXPECT_EQ(Text(ruvex, 460, 5), "5");
    // No version file: no "Dispatcher", so the prefix or the number.
    DeviceCode(5001);
    PescoSetupContext pesco(nullptr, *base_, false);
    EXPECT_EQ(Text(pesco, 460, 5), "H005");
    EXPECT_EQ(Text(pesco, 470, 5), "5");
}

TEST_F(ValueTextTest, FirmwareTextsLoadOnlyAfterTheNameWasReadFromTheDevice) {
    Write("LANGUAGE/044/3_205_50.IXT", kVersionTexts);
    Write("FIRMDATA/FwOne.txt", "[Operands]\n5=Boiler\n");
    Both(91, "TYPE", kTypeUsign16, 3012, 3012);
    Both(92, "VERS", kTypeFloat32, static_cast<int32_t>(FloatBits(205.5f)), FloatBits(205.5f));
    TableOnly(468, "FWNAM", kTypeString, 0);
    base_->GetEntry(468)->valid = 0;
    drive_->Table().PutFullRange(468, "FWNAM", "STRING", 0)->text = "FwOne";
    MarloSetupContext marlo(nullptr, *base_, true);
    drive_->ClearCapture();

    marlo.ReloadFirmwareTexts();
    EXPECT_EQ(Heard(), "");
    EXPECT_EQ(Text(marlo, 460, 5), "H005 = Heater");

    // As a whole-table read from the device marks it.
    marlo.Base->GetEntry(468)->valid = 1;
    marlo.ReloadFirmwareTexts();
    EXPECT_EQ(Heard(), "R20468");
    EXPECT_STREQ(marlo.FirmwareName.Text(), "FwOne");
    // The firmware's values replace the version profile's key by key.
    EXPECT_EQ(Text(marlo, 460, 5), "H005 = Boiler");
    EXPECT_EQ(Text(marlo, 460, 6), "H006 = Six");

    // The same name again reloads nothing, unless the PLC host asks.
    Write("FIRMDATA/FwOne.txt", "[Operands]\n5=Kettle\n");
    marlo.ReloadFirmwareTexts();
    EXPECT_EQ(Text(marlo, 460, 5), "H005 = Boiler");
    FirmwareTextsReloadRequest = true;
    marlo.ReloadFirmwareTexts();
    EXPECT_FALSE(FirmwareTextsReloadRequest);
    EXPECT_EQ(Text(marlo, 460, 5), "H005 = Kettle");
}

}  // namespace

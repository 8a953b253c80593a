#include "families/tests/ruvex_motor_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/services/window_handler.h"
#include "families/ruvex_encoder_functions.h"
#include "families/ruvex_motor_functions.h"
#include "platform/base/format.h"
#include "sim/drive_table.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// The callbacks the windows the tests open fire by themselves (show and
// close); the tests call the others.
const GwFuncDesc kWindowCallbacks[] = {
    {"CB_4_200_ExitEncoderOffsetDetection", CB_4_200_ExitEncoderOffsetDetection},
    {"CB4_Mot_ShowEncoderFunc", CB4_Mot_ShowEncoderFunc},
    {"CB4_ShowEncSim", CB4_ShowEncSim},
    {"CB_ShowResolutionOfEncoderSim", CB_ShowResolutionOfEncoderSim},
    {"CB_4_700_DvFctShowToggleContainerMotor", CB_4_700_DvFctShowToggleContainerMotor},
    {"CB4_ShowMotorIdentfication", CB4_ShowMotorIdentfication},
    {nullptr, nullptr},
};

}  // namespace

sim::DriveTable RuvexMotorTest::MakeTable() {
    std::string error;
    auto table = sim::DriveTable::Load(sim::StockFixturePath("ruvex_motor_drive.tbl"), &error);
    EXPECT_TRUE(table.has_value()) << error;
    if (!table) return sim::DriveTable();
    for (int number : missing_) table->Remove(number);
    return *table;
}

void RuvexMotorTest::SetUp() {
    DeviceWindowTest::SetUp();
    for (const char* file : {"bin/ruvex.cgw", "bin/ruvex_v200.cgw", "bin/ruvex_v700.cgw"}) {
        ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath(file).c_str())) << file;
    }
    GwRcMgr::use_func_desc(kWindowCallbacks);
}

void RuvexMotorTest::TearDown() {
    // The parameter descriptions the activation cached for the drive's type
    // and firmware: the next test's drive may have other parameters.
    const sim::DriveTable& table = Drive().Table();
    const std::string stem =
        platform::Format("FIRMDATA/%u_%06.2f", table.type_number, static_cast<double>(table.version) / 20.0);
    DeviceWindowTest::TearDown();
    for (const char* extension : {"D", "X", "T"}) RemoveTreeFile(stem + extension);
}

std::vector<std::string> RuvexMotorTest::Writes() {
    std::vector<std::string> writes;
    for (const std::string& t : Heard()) {
        if (t.rfind("W ", 0) == 0) writes.push_back(t);
    }
    return writes;
}

std::vector<Timed> RuvexMotorTest::TimedOf(const std::string& code, uint64_t startUs) {
    std::vector<Timed> out;
    for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
        if (t.text.find(code) == std::string::npos) continue;
        out.push_back({t.text, (t.time_us - startUs) / 1000});
    }
    return out;
}

void RuvexMotorTest::MarkTexts() { textsSeen_ = gwtest::Effects("text").size(); }

std::set<std::string> RuvexMotorTest::ShownTexts() {
    const std::vector<GwEffect> effects = gwtest::Effects("text");
    std::set<std::string> texts;
    for (size_t i = std::min(textsSeen_, effects.size()); i < effects.size(); ++i) texts.insert(effects[i].value);
    return texts;
}

size_t RuvexMotorTest::EffectCount(const std::string& what, GwCore* widget) {
    size_t count = 0;
    for (const GwEffect& effect : gwtest::Effects(what)) count += effect.widget == widget->identifier();
    return count;
}

void RuvexMotorTest::CloseListed() { TheWindowHandler().CloseAll(); }

}  // namespace devicewintest

#include "parameters/datasetcopy/tests/copy_fixture.h"

#include <filesystem>

#include "app/notes/risk_note.h"
#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace copytest {

namespace {

const GwFuncDesc kCallbacks[] = {
    {"CB3_DoCopyFileData2Device", CB3_DoCopyFileData2Device},
    {"CB3_DoCopyDevice2File", CB3_DoCopyDevice2File},
    {"CB_CenterMessage", CB_CenterMessage},
    {nullptr, nullptr},
};

// Names the SC groups 1 to 3 through the value-text dispatcher.
constexpr char kDescriptionFile[] =
    "[parameterdescription]\nP092=Firmware version\n"
    "[ValueTextDispatcher]\nSCGRP=SCGroupNames\n"
    "[SCGroupNames]\n1=Motor\n2=Brake\n3=Limits\n";

}  // namespace

sim::DriveTable CopyTable(uint16_t typeNumber, bool plcProject) {
    sim::DriveTable table = maintest::ActivationTable(typeNumber);
    table.PutFullRange(11, "SCGRP", "USIGN8", 0)->maximum = 3;
    table.PutFullRange(15, "DLEND", "USIGN8", 0);
    sim::DriveParameter* handshake = table.PutFullRange(80, "DLHS", "INT16", 0);
    handshake->minimum = static_cast<uint32_t>(-32768);
    handshake->maximum = 32767;
    table.handshake.enabled = true;
    table.PutFullRange(89, "SCRPT", "STRING", 0)->text = "Pump A";
    table.PutFullRange(120, "MODE", "USIGN8", 1)->sc_group = 1;
    table.PutFullRange(121, "DIR", "USIGN8", 0)->sc_group = 1;
    table.PutFullRange(123, "SPEED", "INT32", 1500)->sc_group = 3;
    table.PutFullRange(150, "STORE", "USIGN8", 0);
    table.PutFullRange(450, "PLCRUN", "USIGN8", 1);
    table.PutFullRange(452, "PLCST", "USIGN16", 2);
    if (plcProject) table.PutFullRange(468, "PLCPJ", "USIGN8", 0);
    return table;
}

void CopyTest::SetUp() {
    MainTest::SetUp();
    ASSERT_NE(GwRcMgr::use_func_desc(kCallbacks), 0);
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/marlo.cgw").c_str()));
    WriteTreeFile("LANGUAGE/044/tarn_std.PIT", kDescriptionFile);
}

void CopyTest::TearDown() {
    MainTest::TearDown();
    for (const auto& [address, drive] : drives_) {
        const std::string cache = platform::Format("FIRMDATA/%u_001.30", drive->Table().type_number);
        for (const char* extension : {"D", "X", "T"})
            std::filesystem::remove(testsupport::RuntimePath(cache + extension));
    }
}

void CopyTest::ActivateDrive(sim::DriveTable table) {
    AddDrive(maintest::kAddress, std::move(table));
    Activate();
}

std::vector<std::string> CopyTest::Heard() { return Drive().Capture().TelegramTexts(); }

void CopyTest::WriteFileSet(const std::string& name, const std::function<void(ParaBase&)>& change) {
    ParaBase file;
    file.InitFile((kUserData + name).c_str());
    ASSERT_EQ(file.CopyBase(*main_->ActiveParaBase()), 0) << file.MessageBuffer;
    if (change) change(file);
    ASSERT_EQ(file.WriteFileBase(), 0) << file.MessageBuffer;
}

std::vector<std::string> CopyTest::ActivityTexts() {
    std::vector<std::string> texts;
    for (const GwEffect& e : gwtest::Effects("text"))
        if (e.value.find(" ...") != std::string::npos) texts.push_back(e.value);
    return texts;
}

GwCore* CopyTest::Caller() {
    if (caller_ == nullptr) caller_ = ListedOnlineWindow("MarloSetup");
    return caller_;
}

}  // namespace copytest

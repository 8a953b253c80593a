#include "plchost/tests/plc_host_fixture.h"

#include <cstdio>
#include <map>

#include "app/main/main_object.h"
#include "platform/com/com_objects.h"
#include "platform/com/com_registry.h"
#include "platform/com/com_variant.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/interface/sindel_ids.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_state_windows.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace plchosttest {

namespace {

constexpr char kDeviceWindowBody[] = "button Editor { text = \"PLC editor\"; on activate = CB_CallPlcProgrammEditor }";

}  // namespace

void PlcHostTest::SetUp() {
    ClearEditorCalls();
    DeviceWindowTest::SetUp();
    RegisterRecordingEditor();
    ASSERT_NE(GwRcMgr::use_func_desc(PlcEditorCallbacks()), 0);
    ASSERT_NE(GwRcMgr::use_func_desc(PlcStateCallbacks()), 0);
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/pesco.cgw").c_str()));
    MarkBoxes();
}

sim::DriveTable PlcHostTest::MakeTable() {
    sim::DriveTable table = devicewintest::DeviceWindowTable();
    sim::AddPlc(table, layout_);
    return table;
}

GwCore* PlcHostTest::OpenDeviceWindow(bool online) { return OpenWindow(kDeviceWindowBody, MakeContext(online)); }

void PlcHostTest::OpenFromDeviceWindow(bool online) {
    OpenDeviceWindow(online);
    gwtest::Click(W("Editor"));
}

std::string PlcHostTest::PlcInBytes() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/PlcIn.txt")); }

void PlcHostTest::WritePlcOut(const std::string& bytes) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/PlcOut.txt"), bytes);
}

std::vector<std::string> PlcHostTest::NewBoxTexts() const {
    std::vector<std::string> texts;
    for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.kind + ": " + box.text);
    return texts;
}

sim::DriveParameter& PlcHostTest::Program(int k) { return *Drive().Table().Find(sim::kPlcProgramFirstParameter + k); }

}  // namespace plchosttest

#include "app/shell/tests/shell_fixture.h"

#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "app/shell/callback_tables.h"
#include "app/shell/window_callbacks.h"
#include "parameters/parabase/para_base.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace shelltest {

void ShellTest::SetUp() {
    MainTest::SetUp();
    InstallAutostartWindowsReopener();
    for (const GwFuncDesc* table : CallbackTables()) ASSERT_NE(GwRcMgr::use_func_desc(table), 0);
    frame_ = GwRcMgr::load(nullptr, "MainWindow", 1);
    ASSERT_NE(frame_, nullptr);
    frame_->show();
    ASSERT_EQ(GetMainWindow(), frame_);
    frame_->stop_timer();
    if (GwCore* container = frame_->child("MainContainer")) container->stop_timer();
    // Every activation reopens the setup window while its entry is enabled;
    // the tests that want it enable it.
    frame_->child("MD_Edit")->disable();
}

GwCore* ShellTest::Listed(const std::string& name) {
    for (GwCore* w = TheWindowHandler().First(); w != nullptr; w = TheWindowHandler().Next()) {
        if (w->name() == name) return w;
    }
    return nullptr;
}

void ShellTest::Define(const std::string& text) { ASSERT_TRUE(GwRcMgr::use_text(text, "fixture.cgw")); }

void ShellTest::MakeFileSet(const std::string& stem) {
    if (main_->ActiveParaBase() == nullptr) Activate();
    for (const char* letter : {"D", "X", "T"}) {
        WriteTreeFile("userdata/" + stem + ".00" + letter, testsupport::ReadFile(CachePath(letter)));
    }
}

void ShellTest::MakeFileSetOfType(const std::string& stem, uint16_t type) {
    MakeFileSet(stem);
    ParaBase base;
    base.InitFile(("..\\userdata\\" + stem + ".00D").c_str());
    ASSERT_EQ(base.ReadFileBase(), 0);
    ASSERT_EQ(base.SetValueU16(91, type), 0);
    ASSERT_EQ(base.WriteFileBase(), 0);
}

std::vector<std::string> ShellTest::NewBoxes() {
    std::vector<std::string> texts;
    const auto& boxes = gwtest::Boxes();
    for (size_t i = boxesSeen_; i < boxes.size(); ++i) texts.push_back(boxes[i].kind + ": " + boxes[i].text);
    boxesSeen_ = boxes.size();
    return texts;
}

}  // namespace shelltest

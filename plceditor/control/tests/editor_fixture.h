// A control created through the object layer with its editor window open,
// for the tests of the window's commands and files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/list_box.h"
#include "plceditor/adapter/status_bar.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/tests/sindel_host.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace sindel {

class EditorTest : public ::testing::Test {
protected:
    // A profile written before the window opens, as CR LF text.
    void WriteProfile(const std::string& text) { testsupport::WriteFile(ProfilePath(), text); }
    static std::filesystem::path ProfilePath() { return testsupport::RuntimePath("bin/PlcEdit.ini"); }

    PlcEditorDialog& Open() {
        host_ = std::make_unique<SindelHost>();
        editor_ = &host_->Create();
        return *editor_;
    }
    void SetUp() override {}

    EditControl& Edit() { return *editor_->Edit(); }
    std::string Text() { return Edit().text(); }
    // Clicks a command of the menu or the toolbar.
    void Command(int id) { gwtest::ChooseMenuItem("PlcEditorDialog/Menu" + std::to_string(id)); }
    std::string Title() { return EditorWindow()->title(); }

    std::unique_ptr<SindelHost> host_;
    PlcEditorDialog* editor_ = nullptr;
};

}  // namespace sindel

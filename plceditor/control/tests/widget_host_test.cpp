// The control placed in a window, as the program's PLC host places it: the
// host tells the toolkit the control's events, and bindings by event name in
// the window's definition then reach the host's callbacks with the events'
// arguments. The toolkit knows no control of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/com_registry.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/tests/sindel_host.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/hosting/gw_ole_control.h"
#include "toolkit/hosting/gw_variant.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace sindel {
namespace {

using namespace platform;

class PlcEditorX : public GwOleControlWrapper {
public:
    PlcEditorX() : GwOleControlWrapper("PlcEditorX") {}
    std::string GetClassId() const override { return GuidToString(CLSID_Sindel); }
};

std::vector<std::string> g_calls;

int CB_ProjectName(GwCore* w, GwEvent* ev, GwUD ud) {
    std::string line = w->name() + " " + ev->name + " " + ud.string();
    for (int i = 0; GwOleEventArgument(ev, i) != nullptr; ++i) {
        bool flag = false;
        const VARIANT* arg = GwOleEventArgument(ev, i);
        line += " [" +
                (arg->vt == VT_BOOL && Succeeded(VariantToBool(*arg, &flag)) ? (flag ? "TRUE" : "FALSE")
                                                                             : GwStringFromVARIANT(arg).str()) +
                "]";
    }
    g_calls.push_back(line);
    return 1;
}

int CB_Cancel(GwCore* w, GwEvent* ev, GwUD) {
    g_calls.push_back(w->name() + " " + ev->name);
    return 1;
}

const GwFuncDesc kCallbacks[] = {{"CB_ProjectName", CB_ProjectName}, {"CB_Cancel", CB_Cancel}, {nullptr, nullptr}};

constexpr char kDefinitions[] = R"(
dialogframe PlcHost {
    olecontrol PlcControl {
        wrapper = PlcEditorX
        on PlcUpDateProjName = CB_ProjectName "project"
        on PlcOnCancel = CB_Cancel
    }
}
)";

class WidgetHost : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        ASSERT_EQ(RegisterServer(SindelHost::ModulePath()), S_OK);
        ASSERT_NE(GwRcMgr::use_func_desc(kCallbacks), 0);
        ASSERT_TRUE(GwRcMgr::use_text(kDefinitions, "plchost.cgw"));
    }

    // Loads the host window, binds the wrapper and opens the editor; the
    // editor object behind the window the control opened.
    PlcEditorDialog* OpenEditor() {
        GwCore* window = GwRcMgr::load(nullptr, "PlcHost", 1);
        if (window == nullptr) return nullptr;
        auto* control = dynamic_cast<GwOleControl*>(window->child("PlcControl"));
        if (control == nullptr || !control->has_object()) return nullptr;
        control->set_wrapper(&wrapper_);
        if (wrapper_.InvokeBool(kPlcCreate, {}) != TRUE) return nullptr;
        return PlcEditorDialog::FromWindow(EditorWindow());
    }

    PlcEditorX wrapper_;
};

TEST_F(WidgetHost, EventsReachTheBindingsOnceTheHostRegisteredThem) {
    GwRegisterControlEvents(CLSID_Sindel, DIID__DSindelEvents, kSindelEvents);
    PlcEditorDialog* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    editor->Control().FirePlcUpDateProjName("PROJ1", true);
    EXPECT_TRUE(gwtest::Close(EditorWindow()));
    EXPECT_EQ(
        g_calls,
        (std::vector<std::string>{"PlcControl PlcUpDateProjName project [PROJ1] [TRUE]", "PlcControl PlcOnCancel"}));
}

TEST_F(WidgetHost, WithoutTheHostsRegistrationTheControlWorksButNoEventArrives) {
    PlcEditorDialog* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    editor->Control().FirePlcUpDateProjName("PROJ1", true);
    EXPECT_TRUE(gwtest::Close(EditorWindow()));
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
}  // namespace sindel

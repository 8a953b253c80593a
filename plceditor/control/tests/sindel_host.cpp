#include "plceditor/control/tests/sindel_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/reset_hooks.h"
#include "platform/com/com_registry.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace sindel {

using namespace platform;

namespace {
// The control's profile lives in the working directory, which the test main
// does not empty between tests.
ResetHook g_forget_profile([] { std::filesystem::remove(testsupport::RuntimePath("bin/PlcEdit.ini")); });
}  // namespace

HRESULT HostSink::QueryInterface(const IID& iid, void** out) {
    return AnswerQuery<IDispatch>(this, iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID__DSindelEvents, out);
}

HRESULT HostSink::Invoke(DISPID member, std::span<VARIANT> args, VARIANT*) {
    HRESULT hr = CheckDispatchCall(kSindelEvents, member, args, nullptr);
    EXPECT_EQ(hr, S_OK) << "event " << member;
    ReceivedEvent event{member, {}};
    for (const VARIANT& arg : args) {
        std::string text;
        bool flag = false;
        if (arg.vt == VT_BOOL && Succeeded(VariantToBool(arg, &flag)))
            text = flag ? "TRUE" : "FALSE";
        else
            VariantToText(arg, &text);
        event.args.push_back(text);
    }
    events.push_back(event);
    if (auto it = answers.find(member); it != answers.end() && !args.empty()) SetByRefText(args[0], it->second);
    if (on_event) on_event(member);
    return S_OK;
}

std::string SindelHost::ModulePath() { return ExecutableDirectory() + "/libSindel.so"; }

SindelHost::SindelHost() {
    EXPECT_EQ(RegisterServer(ModulePath()), S_OK);
    EXPECT_EQ(CreateInstance(CLSID_Sindel, IID_IDispatch, control_.Put()), S_OK);
    if (control_) {
        EXPECT_EQ(ConnectEvents(control_.Get(), DIID__DSindelEvents, &sink, &cookie_), S_OK);
    }
}

SindelHost::~SindelHost() { Release(); }

void SindelHost::Release() {
    if (!control_) return;
    DisconnectEvents(control_.Get(), DIID__DSindelEvents, cookie_);
    control_.Reset();
}

std::string SindelHost::Call(DISPID id, std::vector<VARIANT> args, HRESULT* hr) {
    VARIANT result;
    HRESULT code = control_ ? control_->Invoke(id, args, &result) : E_POINTER;
    if (hr != nullptr) *hr = code;
    for (VARIANT& arg : args) VariantClear(&arg);
    if (result.vt != VT_BOOL) return "";
    return result.boolVal == VARIANT_TRUE ? "TRUE" : "FALSE";
}

PlcEditorDialog& SindelHost::Create() {
    EXPECT_EQ(Call(kPlcCreate), "TRUE");
    PlcEditorDialog* editor = PlcEditorDialog::FromWindow(EditorWindow());
    if (editor == nullptr) throw std::runtime_error("no editor window");
    return *editor;
}

GwCore* EditorWindow() { return gwtest::Find(PlcEditorDialog::kWindowName); }

}  // namespace sindel

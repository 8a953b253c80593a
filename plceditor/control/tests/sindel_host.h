// The tests' host of the control: it registers libSindel.so into the test's
// registry store, creates the control by class id through the object layer,
// connects an event sink and calls methods by dispatch number, as the
// program's control hosting does.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/com_objects.h"
#include "plceditor/interface/sindel_ids.h"

class GwCore;

namespace sindel {

class PlcEditorDialog;

// One event as the host received it: its number and its arguments as text
// (strings as they are, booleans "TRUE"/"FALSE").
struct ReceivedEvent {
    platform::DISPID id;
    std::vector<std::string> args;
    bool operator==(const ReceivedEvent&) const = default;
};

class HostSink final : public platform::IDispatch {
public:
    platform::HRESULT QueryInterface(const platform::IID& iid, void** out) override;
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }  // lives in the test
    platform::HRESULT Invoke(platform::DISPID member, std::span<platform::VARIANT> args,
                             platform::VARIANT* result) override;

    uint32_t refs = 1;
    std::vector<ReceivedEvent> events;
    // What the host writes into a by-reference name, per event; missing:
    // the name is left alone.
    std::map<platform::DISPID, std::string> answers;
    // Runs inside each event, after it was recorded.
    std::function<void(platform::DISPID)> on_event;
};

class SindelHost {
public:
    // Registers the module (the test fails when that does not give S_OK),
    // creates one control and connects the sink.
    SindelHost();
    ~SindelHost();
    SindelHost(const SindelHost&) = delete;
    SindelHost& operator=(const SindelHost&) = delete;

    static std::string ModulePath();

    // Calls a method; the result as "TRUE", "FALSE" or "" (none), and the
    // call's code in *hr.
    std::string Call(platform::DISPID id, std::vector<platform::VARIANT> args = {}, platform::HRESULT* hr = nullptr);
    // PlcCreate, and the editor object behind the window it opened.
    PlcEditorDialog& Create();

    platform::IDispatch* control() const { return control_.Get(); }
    // Lets go of the control (disconnecting first).
    void Release();

    HostSink sink;

private:
    platform::ComPtr<platform::IDispatch> control_;
    uint32_t cookie_ = 0;
};

// The editor window the control opened (the first, when there are several).
GwCore* EditorWindow();

}  // namespace sindel

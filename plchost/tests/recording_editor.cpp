#include "plchost/tests/recording_editor.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/com/com_objects.h"
#include "platform/com/com_registry.h"
#include "platform/com/com_variant.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/interface/sindel_ids.h"

namespace plchosttest {

namespace {

using namespace platform;

constexpr char kRecordingModule[] = "librecording_editor.so";

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

ModuleUsage& Usage() {
    static ModuleUsage usage;
    return usage;
}

std::string ArgumentText(const VARIANT& value) {
    std::string text;
    if (Succeeded(VariantToText(value, &text))) return text;
    double number = 0;
    if (Succeeded(VariantToDouble(value, &number))) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%g", number);
        return buffer;
    }
    return "?";
}

class RecordingEditor;
RecordingEditor*& Newest() {
    static RecordingEditor* newest = nullptr;
    return newest;
}

class RecordingEditor final : public IDispatch, public IConnectionPointContainer {
public:
    RecordingEditor() {
        Usage().ObjectCreated();
        Newest() = this;
    }

    HRESULT QueryInterface(const IID& iid, void** out) override {
        if (iid == IID_IConnectionPointContainer) return AnswerQuery<IConnectionPointContainer>(this, true, out);
        return AnswerQuery<IDispatch>(this, iid == IID_IUnknown || iid == IID_IDispatch, out);
    }
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override {
        const uint32_t left = refs_.Remove();
        if (left == 0) delete this;
        return left;
    }
    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override {
        if (point == nullptr) return E_POINTER;
        *point = events == sindel::DIID__DSindelEvents ? &events_ : nullptr;
        if (*point == nullptr) return E_NOINTERFACE;
        events_.AddRef();
        return S_OK;
    }
    HRESULT Invoke(DISPID member, std::span<VARIANT> args, VARIANT* result) override {
        const DispatchMember* described = nullptr;
        const HRESULT hr = CheckDispatchCall(sindel::kSindelMethods, member, args, &described);
        if (Failed(hr)) return hr;
        std::string call = std::to_string(member);
        for (const VARIANT& arg : args) call += " " + ArgumentText(arg);
        Calls().push_back(call);
        if (result != nullptr) *result = described->result == VT_BOOL ? VariantFromBool(true) : VARIANT{};
        return S_OK;
    }

    ConnectionPoint& Events() { return events_; }

private:
    ~RecordingEditor() override {
        if (Newest() == this) Newest() = nullptr;
        Usage().ObjectDestroyed();
    }

    RefCount refs_;
    ConnectionPoint events_{*static_cast<IDispatch*>(this), sindel::DIID__DSindelEvents};
};

HRESULT RecordingGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!(clsid == sindel::CLSID_Sindel)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new ClassFactory(Usage(), [] { return static_cast<IDispatch*>(new RecordingEditor); });
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

}  // namespace

std::vector<std::string> EditorCalls() { return Calls(); }
void ClearEditorCalls() { Calls().clear(); }

void FireEditorEvent(DISPID event, std::vector<VARIANT> args) {
    ASSERT_NE(Newest(), nullptr);
    Newest()->Events().Fire(event, args);
    for (VARIANT& arg : args) VariantClear(&arg);
}

std::string FireEditorPathEvent(DISPID event) {
    if (Newest() == nullptr) {
        ADD_FAILURE() << "no recording control";
        return std::string();
    }
    return Newest()->Events().FireWithPathBuffer(event);
}

void RegisterRecordingEditor() {
    RegisterModule(kRecordingModule, {{"DllGetClassObject", reinterpret_cast<void*>(&RecordingGetClassObject)}});
    ClassRegistration registration;
    registration.clsid = sindel::CLSID_Sindel;
    registration.name = "Recording editor";
    registration.module_path = kRecordingModule;
    ASSERT_EQ(RegisterClassServer(registration), S_OK);
}

}  // namespace plchosttest

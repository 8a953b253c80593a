#include "toolkit/hosting/gw_ole_control.h"

#include <map>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/com/com_registry.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_widget_store.h"

using namespace platform;

namespace {

struct ControlEvents {
    IID events;
    std::vector<DispatchMember> members;
};

std::map<std::string, ControlEvents>& EventTables() {
    static std::map<std::string, ControlEvents> tables;
    return tables;
}

const bool g_registered = [] {
    GwSetKindFactory(GwOLECONTROL_CLASS,
                     [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwOleControl(n, p); });
    return true;
}();

// Each host registers the events of the controls it places.
platform::ResetHook ResetState([] { EventTables().clear(); });

std::map<std::string, GwComObject*>& Wrappers() {
    static std::map<std::string, GwComObject*> wrappers;
    return wrappers;
}

}  // namespace

// --- wrappers -------------------------------------------------------------------

GwComObject::GwComObject(const std::string& name) : name_(name) { Wrappers()[name] = this; }

GwComObject::~GwComObject() {
    auto it = Wrappers().find(name_);
    if (it != Wrappers().end() && it->second == this) Wrappers().erase(it);
}

GwComObject* GwComObject::find(const std::string& name) {
    auto it = Wrappers().find(name);
    return it != Wrappers().end() ? it->second : nullptr;
}

GwOleControlWrapper::~GwOleControlWrapper() {
    if (control_ != nullptr) control_->wrapper_ = nullptr;
}

HRESULT GwOleControlWrapper::Invoke(DISPID id, std::span<VARIANT> args, VARIANT* result) {
    if (control_ == nullptr) return E_FAIL;
    return control_->invoke(id, args, result);
}

BOOL GwOleControlWrapper::InvokeBool(DISPID id, std::vector<VARIANT> args) {
    VARIANT result;
    HRESULT hr = Invoke(id, args, &result);
    for (VARIANT& a : args) VariantClear(&a);
    bool flag = false;
    bool ok = Succeeded(hr) && Succeeded(VariantToBool(result, &flag));
    VariantClear(&result);
    return ok && flag ? TRUE : FALSE;
}

bool GwOleControlWrapper::InvokeVoid(DISPID id, std::vector<VARIANT> args) {
    HRESULT hr = Invoke(id, args, nullptr);
    for (VARIANT& a : args) VariantClear(&a);
    return Succeeded(hr);
}

// --- events ---------------------------------------------------------------------

void GwRegisterControlEvents(const CLSID& clsid, const IID& events, std::span<const DispatchMember> members) {
    EventTables()[GuidToString(clsid)] = ControlEvents{events, {members.begin(), members.end()}};
}

VARIANT* GwOleEventArgument(const GwEvent* event, int index) {
    if (event == nullptr || event->type != GwCB_NONE || event->name.empty() || event->data == nullptr) return nullptr;
    const auto* args = static_cast<const GwOleEventArgs*>(event->data);
    return index >= 0 && index < args->count ? &args->args[index] : nullptr;
}

// Receives the control's events and fires the callbacks bound to their names.
class GwOleControl::EventSink final : public IDispatch {
public:
    EventSink(GwOleControl* control, std::vector<DispatchMember> members)
        : control_(control), members_(std::move(members)) {}

    HRESULT QueryInterface(const IID& iid, void** out) override {
        return AnswerQuery<IDispatch>(this, iid == IID_IUnknown || iid == IID_IDispatch || iid == events_, out);
    }
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override {
        uint32_t left = refs_.Remove();
        if (left == 0) delete this;
        return left;
    }

    HRESULT Invoke(DISPID member, std::span<VARIANT> args, VARIANT*) override {
        const DispatchMember* found = nullptr;
        HRESULT hr = CheckDispatchCall(members_, member, args, &found);
        if (Failed(hr)) return hr;
        if (control_ == nullptr || !control_->is_alive()) return S_OK;
        GwDispatchGuard guard;
        GwOleEventArgs event_args{args.data(), static_cast<int>(args.size())};
        GwEvent ev;
        ev.data = &event_args;
        control_->fire_named(std::string(found->name), ev);
        return S_OK;
    }

    void Detach() { control_ = nullptr; }
    void set_events(const IID& events) { events_ = events; }

private:
    ~EventSink() override = default;
    RefCount refs_;
    GwOleControl* control_;
    std::vector<DispatchMember> members_;
    IID events_{};
};

// --- the control widget ------------------------------------------------------------

GwOleControl::GwOleControl(const std::string& name, GwCore* parent) : GwCore(GwOLECONTROL_CLASS, name, parent) {}

GwOleControl::~GwOleControl() { Release(); }

void GwOleControl::on_destroyed() { Release(); }

void GwOleControl::Release() {
    if (wrapper_ != nullptr) {
        wrapper_->control_ = nullptr;
        wrapper_ = nullptr;
    }
    if (sink_ != nullptr) {
        sink_->Detach();
        if (object_ && cookie_ != 0) DisconnectEvents(object_.Get(), events_, cookie_);
        sink_->Release();
        sink_ = nullptr;
        cookie_ = 0;
    }
    object_.Reset();
}

void GwOleControl::set_wrapper(GwOleControlWrapper* wrapper) {
    if (!is_alive() || wrapper == wrapper_) return;
    if (wrapper_ != nullptr) wrapper_->control_ = nullptr;
    if (wrapper != nullptr && wrapper->control_ != nullptr) wrapper->control_->wrapper_ = nullptr;
    wrapper_ = wrapper;
    if (wrapper_ != nullptr) wrapper_->control_ = this;
}

bool GwOleControl::create_object(const CLSID& clsid) {
    if (!is_alive()) return false;
    Release();
    HRESULT hr = CreateInstance(clsid, IID_IDispatch, object_.Put());
    if (Failed(hr) || !object_) {
        object_.Reset();
        platform::LogLine("GwOleControl: \"" + identifier() + "\" cannot create " + GuidToString(clsid) + " (HRESULT " +
                          std::to_string(hr) + ")");
        return false;
    }
    auto table = EventTables().find(GuidToString(clsid));
    if (table != EventTables().end()) {
        events_ = table->second.events;
        sink_ = new EventSink(this, table->second.members);
        sink_->set_events(events_);
        if (Failed(ConnectEvents(object_.Get(), events_, sink_, &cookie_))) {
            platform::LogLine("GwOleControl: \"" + identifier() + "\" cannot connect to the events of " +
                              GuidToString(clsid));
            cookie_ = 0;
        }
    }
    return true;
}

HRESULT GwOleControl::invoke(DISPID id, std::span<VARIANT> args, VARIANT* result) {
    if (!is_alive() || !object_) return E_FAIL;
    GwDispatchGuard guard;  // events inside the call may destroy widgets
    // A reference of our own: an event callback may destroy this control.
    ComPtr<IDispatch> object = object_;
    return object->Invoke(id, args, result);
}

void GwOleControl::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    std::string class_id = def.text("class_id", language, "");
    std::string wrapper_name = def.text("wrapper", language, "");
    if (class_id.empty() && !wrapper_name.empty()) {
        if (GwComObject* wrapper = GwComObject::find(wrapper_name)) {
            class_id = wrapper->GetClassId();
        } else {
            platform::LogLine("GwOleControl: \"" + identifier() + "\" names the unknown wrapper \"" + wrapper_name +
                              "\"");
            return;
        }
    }
    if (class_id.empty()) return;
    std::optional<CLSID> clsid = GuidFromString(class_id);
    if (!clsid) {
        platform::LogLine("GwOleControl: \"" + identifier() + "\" has the malformed class id \"" + class_id + "\"");
        return;
    }
    create_object(*clsid);
}

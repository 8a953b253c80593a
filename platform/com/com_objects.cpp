// Class factory, connection point and dispatch call checks.
#include "platform/com/com_objects.h"

#include <algorithm>

namespace platform {

HRESULT ClassFactory::QueryInterface(const IID& iid, void** out) {
    return AnswerQuery<IClassFactory>(this, iid == IID_IUnknown || iid == IID_IClassFactory, out);
}

uint32_t ClassFactory::Release() {
    uint32_t left = refs_.Remove();
    if (left == 0) delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, const IID& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    IUnknown* object = make_();
    if (object == nullptr) return E_FAIL;
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();  // the caller's reference, if any, is the one from the query
    return hr;
}

HRESULT ClassFactory::LockServer(bool lock) {
    if (lock)
        usage_.Lock();
    else
        usage_.Unlock();
    return S_OK;
}

ConnectionPoint::~ConnectionPoint() = default;

HRESULT ConnectionPoint::QueryInterface(const IID& iid, void** out) {
    return AnswerQuery<IConnectionPoint>(this, iid == IID_IUnknown || iid == IID_IConnectionPoint, out);
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, uint32_t* cookie) {
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    ComPtr<IDispatch> dispatch;
    if (Failed(sink->QueryInterface(events_, dispatch.Put())) &&
        Failed(sink->QueryInterface(IID_IDispatch, dispatch.Put())))
        return E_NOINTERFACE;
    *cookie = next_cookie_++;
    sinks_.emplace_back(*cookie, std::move(dispatch));
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(uint32_t cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](const auto& sink) { return sink.first == cookie; });
    if (it == sinks_.end()) return E_FAIL;
    sinks_.erase(it);
    return S_OK;
}

void ConnectionPoint::Fire(DISPID event, std::span<VARIANT> args) {
    // A copy, so a sink that disconnects (or connects) while called does not
    // disturb the walk, and every sink stays alive for its call.
    auto sinks = sinks_;
    for (auto& [cookie, sink] : sinks) sink->Invoke(event, args, nullptr);
}

std::string ConnectionPoint::FireWithPathBuffer(DISPID event) {
    BSTR buffer = AllocPathBuffer();
    VARIANT arg = VariantByRefString(&buffer);
    Fire(event, std::span<VARIANT>(&arg, 1));
    std::string answer = BstrText(buffer);
    SysFreeString(buffer);
    return answer;
}

namespace {

HRESULT FindEventPoint(IUnknown* object, const IID& events, ComPtr<IConnectionPoint>* point) {
    if (object == nullptr) return E_POINTER;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = object->QueryInterface(IID_IConnectionPointContainer, container.Put());
    if (Failed(hr)) return hr;
    return container->FindConnectionPoint(events, point->Put());
}

}  // namespace

HRESULT ConnectEvents(IUnknown* object, const IID& events, IUnknown* sink, uint32_t* cookie) {
    ComPtr<IConnectionPoint> point;
    HRESULT hr = FindEventPoint(object, events, &point);
    return Failed(hr) ? hr : point->Advise(sink, cookie);
}

HRESULT DisconnectEvents(IUnknown* object, const IID& events, uint32_t cookie) {
    ComPtr<IConnectionPoint> point;
    HRESULT hr = FindEventPoint(object, events, &point);
    return Failed(hr) ? hr : point->Unadvise(cookie);
}

HRESULT CheckDispatchCall(std::span<const DispatchMember> table, DISPID id, std::span<const VARIANT> args,
                          const DispatchMember** member) {
    auto it = std::find_if(table.begin(), table.end(), [id](const DispatchMember& m) { return m.id == id; });
    if (it == table.end()) return DISP_E_MEMBERNOTFOUND;
    if (args.size() != it->param_count) return DISP_E_BADPARAMCOUNT;
    for (size_t i = 0; i < args.size(); ++i) {
        const VARIANT& arg = args[i];
        VARTYPE type = it->params[i];
        std::string text;
        int32_t number = 0;
        double real = 0;
        bool flag = false;
        HRESULT hr = DISP_E_TYPEMISMATCH;
        if (type == (VT_BYREF | VT_BSTR))
            hr = arg.vt == type ? (arg.pbstrVal != nullptr ? S_OK : E_POINTER) : DISP_E_TYPEMISMATCH;
        else if (type == VT_BSTR)
            hr = VariantToText(arg, &text);
        else if (type == VT_I4)
            hr = VariantToLong(arg, &number);
        else if (type == VT_R8)
            hr = VariantToDouble(arg, &real);
        else if (type == VT_BOOL)
            hr = VariantToBool(arg, &flag);
        if (Failed(hr)) return hr;
    }
    if (member != nullptr) *member = &*it;
    return S_OK;
}

}  // namespace platform

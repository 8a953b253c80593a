// Ready-made parts for modules that serve objects: the module's usage count,
// a class factory, an event connection point, and the check of a dispatch
// call against a table of members.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/com_interfaces.h"

namespace platform {

// Answers QueryInterface for an interface the object has: with `offered`
// the object's `self` pointer and a new reference, else E_NOINTERFACE.
template <typename Interface>
HRESULT AnswerQuery(Interface* self, bool offered, void** out) {
    if (out == nullptr) return E_POINTER;
    if (!offered) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = self;
    self->AddRef();
    return S_OK;
}

// Living objects and server locks of one module; the module may be unloaded
// when both are zero.
class ModuleUsage {
public:
    void ObjectCreated() { ++objects_; }
    void ObjectDestroyed() { --objects_; }
    void Lock() { ++locks_; }
    void Unlock() { --locks_; }
    // S_OK when nothing is in use, else S_FALSE.
    HRESULT CanUnloadNow() const { return objects_ == 0 && locks_ == 0 ? S_OK : S_FALSE; }

private:
    std::atomic<int> objects_{0};
    std::atomic<int> locks_{0};
};

// The reference count of an object that deletes itself.
class RefCount {
public:
    uint32_t Add() { return ++count_; }
    uint32_t Remove() { return --count_; }

private:
    std::atomic<uint32_t> count_{1};
};

// Makes objects of one class. `make` returns a new object holding one
// reference, or null when it cannot.
class ClassFactory final : public IClassFactory {
public:
    using Maker = std::function<IUnknown*()>;
    ClassFactory(ModuleUsage& usage, Maker make) : usage_(usage), make_(std::move(make)) {}

    HRESULT QueryInterface(const IID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override;
    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) override;
    HRESULT LockServer(bool lock) override;

private:
    ~ClassFactory() override = default;
    ModuleUsage& usage_;
    Maker make_;
    RefCount refs_;
};

// The connection point of one event interface, a member of the object that
// fires the events; its references are the owner's. Sinks are called in the
// order they were connected, synchronously.
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IUnknown& owner, const IID& events) : owner_(owner), events_(events) {}
    ~ConnectionPoint() override;
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    const IID& events() const { return events_; }

    HRESULT QueryInterface(const IID& iid, void** out) override;
    uint32_t AddRef() override { return owner_.AddRef(); }
    uint32_t Release() override { return owner_.Release(); }
    // The sink must answer the event interface or IDispatch; cookies start at 1.
    HRESULT Advise(IUnknown* sink, uint32_t* cookie) override;
    HRESULT Unadvise(uint32_t cookie) override;

    // Calls every connected sink; a sink may disconnect while it is called.
    void Fire(DISPID event, std::span<VARIANT> args);
    // Fires an event whose one argument is a path the sink fills in: the sink
    // gets a kPathBufferChars buffer holding a blank, may replace it, and the
    // text up to its first NUL comes back (" " when the sink left it alone).
    std::string FireWithPathBuffer(DISPID event);

    size_t SinkCount() const { return sinks_.size(); }

private:
    IUnknown& owner_;
    IID events_;
    uint32_t next_cookie_ = 1;
    std::vector<std::pair<uint32_t, ComPtr<IDispatch>>> sinks_;
};

// Connects `sink` to the events `events` of `object` through its connection
// point container.
HRESULT ConnectEvents(IUnknown* object, const IID& events, IUnknown* sink, uint32_t* cookie);
HRESULT DisconnectEvents(IUnknown* object, const IID& events, uint32_t cookie);

// One method or event of a dispatch interface.
inline constexpr size_t kMaxDispatchParams = 4;
struct DispatchMember {
    DISPID id;
    std::string_view name;
    uint8_t param_count;
    std::array<VARTYPE, kMaxDispatchParams> params;  // VT_BSTR, VT_BYREF | VT_BSTR, VT_R8, VT_I4, VT_BOOL
    VARTYPE result;                                  // VT_EMPTY for none
};

// The member of `table` with that id, checked against the call:
// DISP_E_MEMBERNOTFOUND for an unknown id, DISP_E_BADPARAMCOUNT for another
// number of arguments, DISP_E_TYPEMISMATCH for an argument that cannot be
// read as its parameter's type.
HRESULT CheckDispatchCall(std::span<const DispatchMember> table, DISPID id, std::span<const VARIANT> args,
                          const DispatchMember** member);

}  // namespace platform

// The interfaces of the object layer: reference counting and interface
// queries, class factories, calls by dispatch number and event connections.
// Objects live in loadable modules and are used by the program that hosts
// them; all calls happen on the user-interface thread.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "platform/com/com_types.h"
#include "platform/com/com_variant.h"

namespace platform {

class IUnknown {
public:
    // S_OK with an added reference in *out, or E_NOINTERFACE with *out null.
    virtual HRESULT QueryInterface(const IID& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    // The object deletes itself when the last reference goes.
    virtual uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    // A new object; `outer` must be null (no aggregation).
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) = 0;
    // Keeps the module loaded while locked.
    virtual HRESULT LockServer(bool lock) = 0;
};

// Calls by dispatch number with the arguments in their natural order and no
// type information. An event sink is a dispatch object too: the source calls
// its Invoke, and the sink may replace strings passed by reference.
class IDispatch : public IUnknown {
public:
    // `result` may be null when the caller wants none.
    virtual HRESULT Invoke(DISPID member, std::span<VARIANT> args, VARIANT* result) = 0;
};

class IConnectionPoint : public IUnknown {
public:
    virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(uint32_t cookie) = 0;
};

class IConnectionPointContainer : public IUnknown {
public:
    virtual HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) = 0;
};

// Holds one reference to an interface and releases it when it goes.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
        if (ptr_ != nullptr) ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already holds.
    static ComPtr Adopt(T* ptr) {
        ComPtr result;
        result.ptr_ = ptr;
        return result;
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    void Reset() {
        if (ptr_ != nullptr) std::exchange(ptr_, nullptr)->Release();
    }
    // For calls that hand out a new reference through a void** or T**
    // argument: `object->QueryInterface(iid, ptr.Put())`.
    class OutParameter {
    public:
        explicit OutParameter(ComPtr& owner) : owner_(owner) {}
        OutParameter(const OutParameter&) = delete;
        ~OutParameter() { owner_.ptr_ = typed_ != nullptr ? typed_ : static_cast<T*>(raw_); }
        operator void**() { return &raw_; }
        operator T**() { return &typed_; }

    private:
        ComPtr& owner_;
        void* raw_ = nullptr;
        T* typed_ = nullptr;
    };
    OutParameter Put() {
        Reset();
        return OutParameter(*this);
    }

private:
    T* ptr_ = nullptr;
};

}  // namespace platform

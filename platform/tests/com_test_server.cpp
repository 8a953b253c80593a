// A module that serves one class by class id, as the PLC editor control
// does: registration entry points, a class factory, methods by dispatch
// number and events through a connection point. The object-layer tests load
// it through the registry store.
#include <cstdio>
#include <span>

#include "platform/com/com_objects.h"
#include "platform/com/com_registry.h"
#include "platform/system/dynamic_library.h"

using namespace platform;

namespace {

constexpr CLSID kTestEditorClass = GuidLiteral("{1CF1C014-F30F-416D-9DED-864034B11B8D}");
constexpr GUID kTestLibrary = GuidLiteral("{0E5D4C21-7B1A-4F43-9C9E-3A5D1B7E8F60}");
constexpr IID kTestEditorEvents = GuidLiteral("{6ADB8206-08CA-40F1-94A4-5E93925A8070}");
constexpr char kProgId[] = "Torvan.TestEditor.1";

enum : DISPID { kDescribe = 1, kAskForFile = 2, kAnnounce = 3 };
enum : DISPID { kFileWanted = 1, kAnnounced = 2 };

constexpr DispatchMember kMethods[] = {
    {kDescribe, "Describe", 3, {VT_BSTR, VT_R8, VT_I4}, VT_BSTR},
    {kAskForFile, "AskForFile", 0, {}, VT_BSTR},
    {kAnnounce, "Announce", 1, {VT_BSTR}, VT_BOOL},
};

ModuleUsage g_usage;

class TestEditor final : public IDispatch, public IConnectionPointContainer {
public:
    TestEditor() { g_usage.ObjectCreated(); }

    HRESULT QueryInterface(const IID& iid, void** out) override {
        if (iid == IID_IConnectionPointContainer) return AnswerQuery<IConnectionPointContainer>(this, true, out);
        return AnswerQuery<IDispatch>(this, iid == IID_IUnknown || iid == IID_IDispatch, out);
    }
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override {
        uint32_t left = refs_.Remove();
        if (left == 0) delete this;
        return left;
    }

    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override {
        if (point == nullptr) return E_POINTER;
        *point = events == kTestEditorEvents ? &events_ : nullptr;
        if (*point == nullptr) return E_NOINTERFACE;
        events_.AddRef();
        return S_OK;
    }

    HRESULT Invoke(DISPID member, std::span<VARIANT> args, VARIANT* result) override {
        HRESULT hr = CheckDispatchCall(kMethods, member, args, nullptr);
        if (Failed(hr)) return hr;
        VARIANT answer;
        switch (member) {
            case kDescribe: {
                std::string text;
                double number = 0;
                int32_t count = 0;
                VariantToText(args[0], &text);
                VariantToDouble(args[1], &number);
                VariantToLong(args[2], &count);
                char line[512];
                std::snprintf(line, sizeof line, "%s|%g|%d", text.c_str(), number, static_cast<int>(count));
                answer = VariantFromString(line);
                break;
            }
            case kAskForFile:
                answer = VariantFromString(events_.FireWithPathBuffer(kFileWanted));
                break;
            case kAnnounce: {
                events_.Fire(kAnnounced, args.subspan(0, 1));
                answer = VariantFromBool(true);
                break;
            }
        }
        if (result != nullptr)
            *result = answer;
        else
            VariantClear(&answer);
        return S_OK;
    }

private:
    ~TestEditor() override { g_usage.ObjectDestroyed(); }

    RefCount refs_;
    ConnectionPoint events_{*static_cast<IDispatch*>(this), kTestEditorEvents};
};

std::string OwnPath() { return ModulePathOf(reinterpret_cast<const void*>(&OwnPath)); }

TypeLibraryRegistration TypeLibrary() {
    TypeLibraryRegistration library;
    library.library = kTestLibrary;
    library.name = "TestEditorLib";
    library.module_path = OwnPath();
    library.help_dir = "TestEditor.hlp";
    library.interfaces = {{kTestEditorEvents, "_DTestEditorEvents"}};
    return library;
}

}  // namespace

extern "C" HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!(clsid == kTestEditorClass)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new ClassFactory(g_usage, [] { return static_cast<IDispatch*>(new TestEditor); });
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT DllCanUnloadNow() { return g_usage.CanUnloadNow(); }

extern "C" HRESULT DllRegisterServer() {
    if (Failed(RegisterTypeLibrary(TypeLibrary()))) return SELFREG_E_TYPELIB;
    ClassRegistration registration;
    registration.clsid = kTestEditorClass;
    registration.name = "Test Editor";
    registration.module_path = OwnPath();
    registration.prog_id = kProgId;
    registration.items = {
        {"Control", "", "", true},
        {"MiscStatus\\1", "", "132241", false},
        {"TypeLib", "", GuidToString(kTestLibrary), false},
    };
    if (Failed(RegisterClassServer(registration))) return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" HRESULT DllUnregisterServer() {
    if (Failed(UnregisterTypeLibrary(TypeLibrary()))) return SELFREG_E_TYPELIB;
    if (Failed(UnregisterClassServer(kTestEditorClass, kProgId))) return SELFREG_E_CLASS;
    return S_OK;
}

// The module's entry points: self-registration, the class objects of the
// control and its property page, and whether the module may be unloaded.
#include "platform/system/dynamic_library.h"
#include "plceditor/control/sindel_ctrl.h"
#include "plceditor/control/sindel_prop_page.h"
#include "plceditor/control/sindel_registration.h"

using namespace platform;

namespace {

// Every profile value of the control and its editor lives in this file,
// relative to the working directory.
constexpr char kProfileName[] = ".\\PlcEdit.ini";

ModuleUsage g_usage;

std::string OwnPath() { return ModulePathOf(reinterpret_cast<const void*>(&OwnPath)); }

IUnknown* NewControl() { return static_cast<IDispatch*>(new sindel::CSindelCtrl(g_usage, kProfileName)); }
IUnknown* NewPropPage() { return new sindel::CSindelPropPage(g_usage); }

}  // namespace

extern "C" HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    ClassFactory::Maker maker;
    if (clsid == sindel::CLSID_Sindel)
        maker = &NewControl;
    else if (clsid == sindel::CLSID_SindelPropPage)
        maker = &NewPropPage;
    else
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new ClassFactory(g_usage, maker);
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT DllCanUnloadNow() { return g_usage.CanUnloadNow(); }

extern "C" HRESULT DllRegisterServer() { return sindel::RegisterSindel(OwnPath()); }

extern "C" HRESULT DllUnregisterServer() { return sindel::UnregisterSindel(OwnPath()); }

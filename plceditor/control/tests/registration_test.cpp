#include <gtest/gtest.h>

#include "platform/com/com_registry.h"
#include "platform/files/registry_store.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/control/tests/sindel_host.h"
#include "testsupport/test_env.h"

namespace sindel {
namespace {

using namespace platform;

std::string Value(const std::string& key, const std::string& name = "") {
    std::string data;
    RegistryStatus status = TheRegistry().ReadValue(key, name, 1024, &data);
    return status == RegistryStatus::kOk ? data : "<" + std::to_string(static_cast<int>(status)) + ">";
}

// Hosts name the control by these texts (a window definition's class_id, the
// registry of an installed system), so they never change.
TEST(Registration, IdsKeepTheirTextForms) {
    const struct {
        platform::GUID id;
        const char* text;
    } ids[] = {
        {LIBID_SINDELLib, "{9B8BFB5E-F6AA-44FF-B639-61BCEF4F7C61}"},
        {DIID__DSindel, "{46C33905-8DC2-40D1-AC13-C0EF1CD184E0}"},
        {DIID__DSindelEvents, "{8DDB9CB9-FE98-4413-BBFA-B21255A12EEC}"},
        {CLSID_Sindel, "{43F3343B-9143-4288-B37D-C24462B36189}"},
        {CLSID_SindelPropPage, "{F3E1984F-5F97-4016-8EA0-FA600C14E64D}"},
    };
    for (const auto& id : ids) EXPECT_EQ(GuidToString(id.id), id.text);
}

TEST(Registration, WritesTheControlPageAndTypeLibrary) {
    const std::string module = SindelHost::ModulePath();
    ASSERT_EQ(testsupport::ReadFile(TheRegistry().path()), "");
    ASSERT_EQ(RegisterServer(module), S_OK);

    const std::string control = "HKCR\\CLSID\\" + GuidToString(CLSID_Sindel);
    const std::string page = "HKCR\\CLSID\\" + GuidToString(CLSID_SindelPropPage);
    const std::string library = "HKCR\\TypeLib\\" + GuidToString(LIBID_SINDELLib) + "\\1.0";
    const struct {
        std::string key, name, data;
    } expected[] = {
        {control, "", "Sindel Control"},
        {control + "\\InprocServer32", "", module},
        {control + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {control + "\\ProgID", "", "SINDEL.SindelCtrl.1"},
        {control + "\\MiscStatus\\1", "", "132241"},
        {control + "\\ToolboxBitmap32", "", module + ", 1"},
        {control + "\\TypeLib", "", GuidToString(LIBID_SINDELLib)},
        {control + "\\Version", "", "1.0"},
        {"HKCR\\SINDEL.SindelCtrl.1", "", "Sindel Control"},
        {"HKCR\\SINDEL.SindelCtrl.1\\CLSID", "", GuidToString(CLSID_Sindel)},
        {page, "", "Sindel Property Page"},
        {page + "\\InprocServer32", "", module},
        {page + "\\ProgID", "", "SINDEL.SindelPropPage.1"},
        {library, "", "SINDELLib"},
        {library + "\\0\\linux", "", module},
        {library + "\\HELPDIR", "", "Sindel.hlp"},
        {"HKCR\\Interface\\" + GuidToString(DIID__DSindel), "", "_DSindel"},
        {"HKCR\\Interface\\" + GuidToString(DIID__DSindelEvents), "", "_DSindelEvents"},
    };
    for (const auto& e : expected) EXPECT_EQ(Value(e.key, e.name), e.data) << e.key << " " << e.name;
    EXPECT_EQ(TheRegistry().KeyExists(control + "\\Control"), RegistryStatus::kOk);

    CLSID clsid{};
    EXPECT_EQ(ClassIdFromProgId("SINDEL.SindelCtrl.1", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Sindel);
}

TEST(Registration, UnregisteringRemovesExactlyWhatWasWrittenAndAgainFailsAtTheTypeLibrary) {
    const std::string module = SindelHost::ModulePath();
    EXPECT_EQ(UnregisterServer(module), SELFREG_E_TYPELIB);
    ASSERT_EQ(TheRegistry().SetValue("HKCR\\.plc", "", "plcfile"), RegistryStatus::kOk);
    const std::string before = testsupport::ReadFile(TheRegistry().path());
    ASSERT_EQ(RegisterServer(module), S_OK);
    ASSERT_EQ(UnregisterServer(module), S_OK);
    EXPECT_EQ(testsupport::ReadFile(TheRegistry().path()), before);
    EXPECT_EQ(UnregisterServer(module), SELFREG_E_TYPELIB);
    ComPtr<IDispatch> object;
    EXPECT_EQ(CreateInstance(CLSID_Sindel, IID_IDispatch, object.Put()), REGDB_E_CLASSNOTREG);
}

TEST(Registration, ClassObjectsOfControlAndPageAndUnloadWhenUnused) {
    ASSERT_EQ(RegisterServer(SindelHost::ModulePath()), S_OK);
    ModuleHandle module = LoadLibraryA(SindelHost::ModulePath());
    ASSERT_NE(module, nullptr);
    auto get_class_object = reinterpret_cast<DllGetClassObjectFunction>(GetProcAddress(module, kDllGetClassObject));
    auto can_unload = reinterpret_cast<DllCanUnloadNowFunction>(GetProcAddress(module, kDllCanUnloadNow));
    ASSERT_NE(get_class_object, nullptr);
    ASSERT_NE(can_unload, nullptr);

    ComPtr<IClassFactory> factory;
    EXPECT_EQ(get_class_object(LIBID_SINDELLib, IID_IClassFactory, factory.Put()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(factory);

    ComPtr<IUnknown> page;
    ASSERT_EQ(CreateInstance(CLSID_SindelPropPage, IID_IUnknown, page.Put()), S_OK);
    ComPtr<IDispatch> not_dispatch;
    EXPECT_EQ(page->QueryInterface(IID_IDispatch, not_dispatch.Put()), E_NOINTERFACE);
    ComPtr<IDispatch> control;
    ASSERT_EQ(CreateInstance(CLSID_Sindel, IID_IDispatch, control.Put()), S_OK);
    ComPtr<IUnknown> as_interface;
    EXPECT_EQ(control->QueryInterface(DIID__DSindel, as_interface.Put()), S_OK);
    EXPECT_EQ(can_unload(), S_FALSE);
    page.Reset();
    EXPECT_EQ(can_unload(), S_FALSE);
    control.Reset();
    as_interface.Reset();
    EXPECT_EQ(can_unload(), S_OK);
    FreeLibrary(module);
}

}  // namespace
}  // namespace sindel

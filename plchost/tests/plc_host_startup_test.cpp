// The host's start-up: the editor control installed beside the program is
// registered when the registry store does not name an existing module for
// its class, and the editor window then holds the control with its object.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main/tests/main_fixture.h"
#include "platform/com/com_registry.h"
#include "platform/com/com_types.h"
#include "platform/files/registry_store.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/interface/sindel_ids.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_editor_wrapper.h"
#include "plchost/plc_host_startup.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/hosting/gw_ole_control.h"

namespace {

std::string StoredModule() {
    std::string path;
    platform::TheRegistry().ReadValue(
        "HKEY_CLASSES_ROOT\\CLSID\\" + platform::GuidToString(sindel::CLSID_Sindel) + "\\InprocServer32",
        "",
        4096,
        &path);
    return path;
}

void NameModule(const std::string& path) {
    platform::ClassRegistration registration;
    registration.clsid = sindel::CLSID_Sindel;
    registration.name = "Sindel";
    registration.module_path = path;
    ASSERT_EQ(platform::RegisterClassServer(registration), platform::S_OK);
}

class PlcHostStartupTest : public maintest::MainTest {};

TEST_F(PlcHostStartupTest, ControlBesideTheProgramIsRegisteredWhenTheStoreLacksIt) {
    const std::filesystem::path beside = platform::ExecutableDirectory() + "/" + kPlcEditorModuleName;
    ASSERT_TRUE(std::filesystem::exists(beside));
    struct Case {
        const char* what;
        const char* named;  // module the store names first; null: the class is unknown
    };
    const Case cases[] = {{"unknown class", nullptr}, {"module gone", "/no/such/folder/libSindel.so"}};
    for (const Case& c : cases) {
        platform::UnregisterClassServer(sindel::CLSID_Sindel, "");
        if (c.named != nullptr) NameModule(c.named);
        EXPECT_TRUE(RegisterPlcEditorModule()) << c.what;
        ASSERT_FALSE(StoredModule().empty()) << c.what;
        EXPECT_TRUE(std::filesystem::equivalent(StoredModule(), beside)) << c.what << ": " << StoredModule();
    }

    OpenPlcEditor("", false);
    ASSERT_NE(PlcEditorWindow(), nullptr);
    auto* control = PlcEditorWindow()->child<GwOleControl>(kPlcEditorControl);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->has_object());
    EXPECT_EQ(ThePlcEditorX().control(), control);
    ClosePlcEditorControl();
}

TEST_F(PlcHostStartupTest, StoreNamingAnExistingModuleIsLeftAlone) {
    const std::string existing = platform::ExecutablePath();
    NameModule(existing);
    EXPECT_TRUE(RegisterPlcEditorModule());
    EXPECT_EQ(StoredModule(), existing);
}

}  // namespace

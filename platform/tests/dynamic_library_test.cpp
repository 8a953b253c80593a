#include "platform/system/dynamic_library.h"

#include <gtest/gtest.h>

#include "platform/base/reset_hooks.h"
#include "platform/files/registry_store.h"
#include "testsupport/test_env.h"

namespace {

int FakeInit() { return 7; }
int FakeClose() { return 8; }

using FakeFunction = int (*)();
using AnswerFunction = int (*)();

constexpr char kLoadableModule[] = "libtorvan_loadable_test.so";

TEST(DynamicLibrary, RegisteredModuleIsFoundByEitherSpelling) {
    platform::RegisterModule(
        "pcan_usb.dll",
        {{"CAN_Init", reinterpret_cast<void*>(&FakeInit)}, {"CAN_Close", reinterpret_cast<void*>(&FakeClose)}});
    for (const char* name : {"pcan_usb.dll", "pcan_usb", "PCAN_USB.DLL"}) {
        SCOPED_TRACE(name);
        platform::ModuleHandle module = platform::LoadLibraryA(name);
        ASSERT_NE(module, nullptr);
        auto init = reinterpret_cast<FakeFunction>(platform::GetProcAddress(module, "CAN_Init"));
        ASSERT_NE(init, nullptr);
        EXPECT_EQ(init(), 7);
        EXPECT_EQ(platform::GetProcAddress(module, "CAN_SpecialFunktion"), nullptr);
        EXPECT_TRUE(platform::FreeLibrary(module));
    }
    EXPECT_EQ(platform::LoadLibraryA("pcan_dng.dll"), nullptr);
    platform::UnregisterModule("PCAN_USB");
    EXPECT_EQ(platform::LoadLibraryA("pcan_usb.dll"), nullptr);
}

TEST(DynamicLibrary, RegistrationsEndWithTheTest) {
    platform::RegisterModule("pcan_dng.dll", {{"CAN_Init", reinterpret_cast<void*>(&FakeInit)}});
    platform::RunResetHooks();
    EXPECT_EQ(platform::LoadLibraryA("pcan_dng.dll"), nullptr);
}

TEST(DynamicLibrary, LibraryBesideTheExecutableIsFoundByItsWindowsName) {
    platform::ModuleHandle module = platform::LoadLibraryA("torvan_loadable_test.dll");
    ASSERT_NE(module, nullptr);
    auto answer = reinterpret_cast<AnswerFunction>(platform::GetProcAddress(module, "TorvanLoadableAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(platform::ModulePathOf(reinterpret_cast<const void*>(answer)),
              platform::ExecutableDirectory() + "/" + kLoadableModule);
    EXPECT_EQ(platform::GetProcAddress(module, "NoSuchSymbol"), nullptr);
    EXPECT_TRUE(platform::FreeLibrary(module));
}

TEST(DynamicLibrary, NameMapInTheStoreNamesTheFile) {
    ASSERT_EQ(platform::TheRegistry().SetValue(
                  platform::kLibraryMapKey, "pcan_usb.dll", platform::ExecutableDirectory() + "/" + kLoadableModule),
              platform::RegistryStatus::kOk);
    platform::ModuleHandle module = platform::LoadLibraryA("PCAN_USB");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(platform::GetProcAddress(module, "TorvanLoadableAnswer"), nullptr);
    platform::FreeLibrary(module);
}

TEST(DynamicLibrary, MissingLibraryOrSymbolGivesNull) {
    EXPECT_EQ(platform::LoadLibraryA("no_such_driver.dll"), nullptr);
    EXPECT_EQ(platform::LoadLibraryA(""), nullptr);
    EXPECT_EQ(platform::LoadLibraryA("..\\TMP\\missing.dll"), nullptr);
    EXPECT_EQ(platform::GetProcAddress(nullptr, "CAN_Init"), nullptr);
    EXPECT_FALSE(platform::FreeLibrary(nullptr));
}

TEST(DynamicLibrary, FileThatIsNoLibraryIsLoggedAndGivesNull) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/broken.so"), "not an ELF file");
    EXPECT_EQ(platform::LoadLibraryA("..\\TMP\\broken.so"), nullptr);
    ASSERT_EQ(testsupport::LoggedLines().size(), 1u);
    EXPECT_EQ(testsupport::LoggedLines()[0].rfind("LoadLibrary: \"../TMP/broken.so\" cannot be loaded: ", 0), 0u)
        << testsupport::LoggedLines()[0];
}

TEST(DynamicLibrary, ExecutablePathIsThisTestProgram) {
    EXPECT_EQ(platform::ExecutablePath(), platform::ExecutableDirectory() + "/platform_test");
    EXPECT_EQ(platform::ModulePathOf(reinterpret_cast<const void*>(&FakeInit)), platform::ExecutablePath());
    EXPECT_EQ(platform::ModulePathOf(nullptr), "");
}

}  // namespace

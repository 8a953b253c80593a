#include "app/services/tests/services_fixture.h"

#include <unistd.h>

#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

const GwFuncDesc kCallbacks[] = {
    {"CB_Info_StartVideo", CB_Info_StartVideo},
    {nullptr, nullptr},
};

std::filesystem::path FixtureRoot() { return testsupport::RuntimePath("TMP/fixture"); }

}  // namespace

ParaBase* FakeBase(int n) {
    static char storage[8];
    return reinterpret_cast<ParaBase*>(&storage[n]);
}

void ServicesTest::SetUp() {
    std::filesystem::create_directories(FixtureRoot() / "bin");
    std::filesystem::create_directories(FixtureRoot() / "TMP");
    ASSERT_EQ(chdir((FixtureRoot() / "bin").c_str()), 0);
    SetServicesHooks(&hooks);
    ASSERT_NE(GwRcMgr::use_func_desc(kCallbacks), 0);
}

void ServicesTest::TearDown() {
    CloseApplicationFiles();
    ASSERT_EQ(chdir(testsupport::RuntimePath("bin").c_str()), 0);
}

void ServicesTest::WriteTreeFile(const std::string& relative, const std::string& text) {
    testsupport::WriteFile(FixtureRoot() / relative, text);
}

void ServicesTest::OpenFiles(const std::string& messages, const std::string& mainProfile) {
    if (!mainProfile.empty()) WriteTreeFile("bin/Torvan.ini", mainProfile);
    WriteTreeFile("LANGUAGE/007/TORVAN.MSG", messages);
    OpenApplicationFiles();
}

void ServicesTest::UseShippedDefinitions() {
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
}

GwCore* ServicesTest::MakeMainWindow() {
    GwCore* main = new GwApplFrame("MainWindow");
    main->show();
    SetMainWindow(main);
    MessageBoxesEnabled = true;
    return main;
}

std::string ServicesTest::ProgramLog() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")); }

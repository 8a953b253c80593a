#include "paratools/print/tests/paratools_fixture.h"

#include <unistd.h>

#include <filesystem>

#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "parameters/parabase/para_types.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "parameters/parabase/value_text_table.h"
#include "platform/system/clock.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"

namespace paratoolstest {

namespace {

std::filesystem::path FixtureRoot() { return testsupport::RuntimePath("TMP/fixture"); }

std::string Profile(int language) {
    return "[Options]\r\nLanguage=" + std::to_string(language) + "\r\n[Directories]\r\nUserdataDir=..\\userdata\r\n";
}

}  // namespace

ParameterEntry& Define(ParaBase& base, const Param& p, int elements) {
    ParameterEntry& e = parabasetest::Define(base,
                                             {.number = p.number,
                                              .name = p.name,
                                              .type = p.type,
                                              .maximum = p.maximum,
                                              .value = p.value,
                                              .flags = p.flags,
                                              .unit = p.unit,
                                              .access = p.access,
                                              .defaultValue = p.defaultValue},
                                             elements);
    e.kind = p.kind;
    e.KPGroup = p.kpGroup;
    e.SCGroup = p.scGroup;
    return e;
}

void DefineIdentity(ParaBase& base) {
    Define(base, {.number = 8, .name = "KPGRP", .type = kTypeUsign8, .maximum = 2, .flags = kFlagValueTexts});
    Define(base, {.number = 11, .name = "SCGRP", .type = kTypeUsign8, .maximum = 2, .flags = kFlagValueTexts});
    Define(base, {.number = 91, .name = "TYPE", .value = 4120});
    Define(base, {.number = 92, .name = "VERS", .type = kTypeFloat32, .value = 0x40666666});
    ValueTextTable& texts = base.GetValueTextTable();
    texts.AddFirstText(8, "Drive");
    texts.AddNextText(8, "Motor");
    texts.AddNextText(8, "Control");
    texts.AddFirstText(11, "None");
    texts.AddNextText(11, "Set");
    texts.AddNextText(11, "Extra");
    base.TableLoaded = 1;
    base.EntryCount = 1000;
}

void DefineHeaderParameters(ParaBase& base) {
    Define(base, {.number = 106, .name = "CRIDX", .type = kTypeUsign8, .value = 2, .maximum = 255});
    Define(base, {.number = 115, .name = "CSXOR", .value = 0x55});
    Define(base, {.number = 116, .name = "CSADD", .value = 4660});
    Define(base, {.number = 127, .name = "S_NR", .type = kTypeUsign32, .value = 123456, .maximum = -1});
}

void ParaToolsTest::SetUp() {
    for (const char* dir : {"bin", "TMP", "userdata", "LANGUAGE/044", "LANGUAGE/049"})
        std::filesystem::create_directories(FixtureRoot() / dir);
    const std::string messages = testsupport::ReadFile(testsupport::RuntimePath("LANGUAGE/044/TORVAN.MSG"));
    WriteTreeFile("LANGUAGE/044/TORVAN.MSG", messages);
    WriteTreeFile("LANGUAGE/049/TORVAN.MSG", messages);
    WriteTreeFile("bin/dvname.ini", "[DeviceTypName]\r\n4120=VD-4120\r\n");
    ASSERT_EQ(chdir((FixtureRoot() / "bin").c_str()), 0);
    platform::SetTimeZoneOffset(0);
    if (platform::VirtualClock* clock = platform::TheVirtualClock())
        clock->SetWallSeconds(1767282180);  // 2026-01-01 15:43
    SetServicesHooks(&hooks);
    UseLanguage(49);
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
    mainWindow = new GwApplFrame("MainWindow");
    mainWindow->show();
    SetMainWindow(mainWindow);
    MessageBoxesEnabled = true;
}

void ParaToolsTest::TearDown() {
    CloseApplicationFiles();
    ASSERT_EQ(chdir(testsupport::RuntimePath("bin").c_str()), 0);
}

void ParaToolsTest::UseLanguage(int language) {
    WriteTreeFile("bin/Torvan.ini", Profile(language));
    OpenApplicationFiles();
    SetUserDataDirFromProfile();
}

void ParaToolsTest::WriteTreeFile(const std::string& relative, const std::string& text) {
    testsupport::WriteFile(FixtureRoot() / relative, text);
}

std::string ParaToolsTest::ReadTreeFile(const std::string& relative) {
    return testsupport::ReadFile(FixtureRoot() / relative);
}

std::string ParaToolsTest::TreePath(const std::string& relative) { return (FixtureRoot() / relative).string(); }

std::vector<PrintProperty> ParaToolsTest::Properties(int width) {
    std::vector<PrintProperty> p;
    for (int i = 0; i < 21; ++i) p.push_back({"C" + std::to_string(i), width});
    return p;
}

PrintFrameTexts ParaToolsTest::Frame() {
    PrintFrameTexts f;
    for (int i = 0; i <= 10; ++i) f.texts.push_back("F" + std::to_string(i));
    return f;
}

}  // namespace paratoolstest

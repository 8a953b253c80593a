// Shared set-up of the parameter tools' tests: a run-time tree of the test's
// own under TMP/ (its bin/ is the working directory) with the shipped message
// file under languages 44 and 49 and a main profile of the chosen language,
// the shipped window definitions, a main window with boxes enabled, and a
// small parameter base of device class 4.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/services/services_hooks.h"
#include "parameters/parabase/para_base.h"
#include "paratools/print/para_print_job.h"

class GwCore;

namespace paratoolstest {

// One parameter of a fixture base: present and in the data set.
struct Param {
    int number = 0;
    const char* name = "";
    char type = '4';  // USIGN16
    int32_t value = 0;
    int32_t defaultValue = 0;
    int32_t maximum = 0xFFFF;
    uint8_t kpGroup = 0;
    uint8_t scGroup = 1;
    uint8_t access = 0x11;
    const char* unit = "";
    uint16_t flags = 0;
    char kind = '2';
};

ParameterEntry& Define(ParaBase& base, const Param& p, int elements = 0);
// Identity 91 = 4120, 92 = 3.6, keypad groups "Drive", "Motor", "Control"
// (parameter 8), SC groups (parameter 11), and the table marked loaded.
void DefineIdentity(ParaBase& base);
// Checksums 115/116, revision 106 and serial number 127 with the names that
// make them appear in the header.
void DefineHeaderParameters(ParaBase& base);

class FakeHooks : public ServicesHooks {
public:
    const char* ActiveBusName() override { return nullptr; }
    const char* ActiveBusErrorText() override { return ""; }
    ParaBase* ActiveParaBase() override { return activeBase; }
    ParaBase* WorkingParaBase() override { return nullptr; }
    const char* ParaBaseErrorText(ParaBase* base) override { return base->MessageBuffer; }
    bool ParaBaseHasBus(ParaBase* base) override { return base == activeBase && online; }
    bool IsParaWriteLockHeld() override { return false; }
    bool HasOnlineDevice() override { return online; }
    void UncoupleAllDevices() override {}

    ParaBase* activeBase = nullptr;
    bool online = false;
};

class ParaToolsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Rewrites the main profile with another language and reopens the files.
    void UseLanguage(int language);
    void WriteTreeFile(const std::string& relative, const std::string& text);
    std::string ReadTreeFile(const std::string& relative);
    // The fixture tree's path of a file, for checking what exists.
    std::string TreePath(const std::string& relative);

    // The 21 columns "C0".."C20" of width 8, and frame texts "F0".."F10".
    static std::vector<PrintProperty> Properties(int width = 8);
    static PrintFrameTexts Frame();

    FakeHooks hooks;
    GwCore* mainWindow = nullptr;
};

}  // namespace paratoolstest

// Shared set-up of the services tests: a small run-time tree of the test's
// own under TMP/ (its bin/ is the working directory, so the shipped tree
// stays as installed), the shipped window definitions, a main window, and
// application hooks that the test fills in.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/services/services_hooks.h"

class GwCore;

// Stands in for the application object above the bus and parameter layers.
class FakeHooks : public ServicesHooks {
public:
    const char* ActiveBusName() override { return busName.empty() ? nullptr : busName.c_str(); }
    const char* ActiveBusErrorText() override { return busError.c_str(); }
    ParaBase* ActiveParaBase() override { return activeBase; }
    ParaBase* WorkingParaBase() override { return workingBase; }
    const char* ParaBaseErrorText(ParaBase* base) override { return baseErrors[base].c_str(); }
    bool ParaBaseHasBus(ParaBase* base) override { return basesOnBus.count(base) != 0; }
    bool IsParaWriteLockHeld() override { return writeLockHeld; }
    void UncoupleAllDevices() override { ++uncoupleCalls; }

    std::string busName;
    std::string busError;
    ParaBase* activeBase = nullptr;
    ParaBase* workingBase = nullptr;
    std::map<ParaBase*, std::string> baseErrors;
    std::map<ParaBase*, bool> basesOnBus;
    bool writeLockHeld = false;
    int uncoupleCalls = 0;
};

// Distinct parameter-base pointers for the hooks; never dereferenced.
ParaBase* FakeBase(int n);

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file of the fixture tree (path relative to its root, "bin/..").
    void WriteTreeFile(const std::string& relative, const std::string& text);
    // Writes "bin/Torvan.ini" (when not empty) and the message file of the
    // language it names (7 by default), then opens the application files.
    void OpenFiles(const std::string& messages, const std::string& mainProfile = kDefaultProfile);
    // Reads the shipped window definitions.
    void UseShippedDefinitions();
    // A shown application frame registered as the main window; boxes are
    // enabled from then on.
    GwCore* MakeMainWindow();
    // The program log written since the test began.
    static std::string ProgramLog();

    static constexpr const char* kDefaultProfile = "[Options]\nLanguage=7\n";

    FakeHooks hooks;
};

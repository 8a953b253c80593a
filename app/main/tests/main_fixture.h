// Set-up of the application object's tests: the shipped window definitions
// and message texts, a shown main window, virtual drives on the in-memory
// serial line (COM1), a standard description file, "Type4.xdl" in the
// working directory, and the application object made by CreateMainObject.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"

namespace maintest {

inline constexpr int kAddress = 3;
inline constexpr uint16_t kTypeNumber = 4120;
inline constexpr uint32_t kVersionSteps = 26;  // 1.3

// Records what the application object asked of the main window.
class RecordingDisplay : public MainDisplay {
public:
    void RefreshBusDisplay() override { calls.push_back("RefreshBusDisplay"); }
    void RefreshActiveDeviceViews() override { calls.push_back("RefreshActiveDeviceViews"); }
    void UpdateMainTitle() override { calls.push_back("UpdateMainTitle"); }
    void ClearActiveDeviceFields() override { calls.push_back("ClearActiveDeviceFields"); }
    void FillDeviceMenus() override { calls.push_back("FillDeviceMenus"); }
    void FillDeviceList() override { calls.push_back("FillDeviceList"); }
    void UpdateLevelDependentTools() override { calls.push_back("UpdateLevelDependentTools"); }
    void SaveDockingLayout() override { calls.push_back("SaveDockingLayout"); }
    void ReopenAutostartWindows() override { calls.push_back("ReopenAutostartWindows"); }
    void ShowUserLevelText(const std::string& text) override { userLevelText = text; }
    size_t Count(const std::string& call) const;

    std::vector<std::string> calls;
    std::string userLevelText;
};

// A drive table with the parameters activation reads: 88 "PWRON", 90 to 92,
// 115 and 116, 127 "S_NR", 130 "NAME", 151, 165 "UDSAC", 403.
sim::DriveTable ActivationTable(uint32_t typeNumber = kTypeNumber, uint32_t versionSteps = kVersionSteps);
uint32_t FloatBits(float f);

class MainTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A drive at the address on the serial line.
    sim::VirtualDrive& AddDrive(int address, sim::DriveTable table = ActivationTable());
    // Opens the serial bus on COM1 at 9600 baud, active, and registers the
    // drives as found devices (without a search).
    void OpenSerialBus();
    // Opens the bus and activates the drive at kAddress, asserting success.
    void Activate();
    // Requests the drive at the address heard since its capture was cleared.
    std::vector<std::string> Requests(int address = kAddress);
    void ClearCaptures();
    // Writes a file of the run-time tree that TearDown removes again, or gives
    // its earlier bytes back when it existed.
    void WriteTreeFile(const std::string& relative, const std::string& bytes);
    void RemoveTreeFile(const std::string& relative);
    // Replaces the main profile "Torvan.ini" (restored by TearDown) and makes
    // the application object again on it.
    void UseMainProfile(const std::string& text);
    // What the program log gained since the last call (or the test began).
    std::string NewLogText();
    // The program log written since the test began.
    static std::string ProgramLog();
    // "kind: text" of every box shown.
    static std::vector<std::string> BoxTexts();
    static std::string CachePath(const std::string& extension = "D");
    // An online window of the main window (or of `parent`) in the window
    // list, as device windows are.
    GwCore* ListedOnlineWindow(const char* name, GwCore* parent = nullptr);
    // Removes the cache file set of the standard drive.
    static void RemoveCache();

    Main* main_ = nullptr;
    GwCore* mainWindow_ = nullptr;
    RecordingDisplay display_;
    platform::MemorySerialLine line_;
    std::map<int, std::unique_ptr<sim::VirtualDrive>> drives_;

private:
    // Each written file with the bytes it had before (none: it was new).
    std::vector<std::pair<std::filesystem::path, std::optional<std::string>>> written_;
    std::string shippedProfile_;
    size_t logSeen_ = 0;
};

}  // namespace maintest

// Set-up of the debug watch's tests: the application object's fixture with a
// family-5 drive of firmware 2.15 (type 5012, class 5000) on COM1 that has a
// memory image behind parameters 30 to 32, the watch's callbacks registered,
// and a "State1" field on the main window.
#pragma once

#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"

class GwMultiList;

namespace watchtest {

inline constexpr uint16_t kWatchTypeNumber = 5012;
inline constexpr uint32_t kWatchVersionSteps = 43;  // 2.15
inline constexpr char kCacheFile[] = "TMP/MAPFILE_5_V2_15.TMP";
inline constexpr char kCacheProgramPath[] = "..\\TMP\\MAPFILE_5_V2_15.TMP";
inline constexpr char kMapFile[] = "FIRMDATA/fw215.map";
inline constexpr char kMapProgramPath[] = "..\\FIRMDATA\\fw215.map";

class DebugWatchTest : public maintest::MainTest {
protected:
    void SetUp() override;
    void TearDown() override;

    sim::VirtualDrive& Drive() { return *drives_.at(maintest::kAddress); }
    // The drive's memory; w0 at the address and w1 two bytes above.
    void SetWords(uint32_t address, uint16_t w0, uint16_t w1 = 0);
    // What the drive heard since its capture was cleared ("W 20031=F0").
    std::vector<std::string> Heard();

    // Loads "DebugDevice" under the main window, lists it online and shows it
    // (its create and show callbacks run).
    GwCore* OpenWatch();
    static GwMultiList* List(GwCore* window);
    static std::vector<std::string> Rows(GwCore* window);
    static std::vector<std::string> SymbolNames(GwCore* window);

    // The fixture MAP file and the golden cache in the run-time tree.
    void InstallMapFile();
    void InstallCache();
    static std::string TestFile(const std::string& relative);
    static std::string TreeFile(const std::string& relative);
    // Runs the type dialog of the next modal run with the button of `type`.
    static void ChooseType(const std::string& type);
};

}  // namespace watchtest

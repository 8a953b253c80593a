// Set-up of the data-set copy tests: the application object with a drive of
// the copy's parameters active on the virtual serial line, the shipped
// script windows, a device window that calls the first steps, and parameter
// base file sets made from the device's base.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"

class ParaBase;

namespace copytest {

inline constexpr uint16_t kMarloType = 3120;
// Folder of the test's file sets, in the program's form and in the tree.
inline constexpr char kUserData[] = "..\\userdata\\";

// The activation's parameters, and 11 (SC groups up to 3, named by the
// description file), 15 and 80 (the download's end and handshake), the
// script 89 ("Pump A"), the set 120, 121 (group 1) and 123 (group 3), the
// store command 150, the PLC's 450 and 452 (reads 2), and with a PLC project
// 468 "PLCPJ".
sim::DriveTable CopyTable(uint16_t typeNumber = kMarloType, bool plcProject = false);

class CopyTest : public maintest::MainTest {
protected:
    void SetUp() override;
    // Also removes the cache file sets of the drives activated, so the next
    // test reads its drive's table anew.
    void TearDown() override;

    // Adds the drive at maintest::kAddress and makes it the active device.
    void ActivateDrive(sim::DriveTable table = CopyTable());
    sim::VirtualDrive& Drive() { return *drives_.at(maintest::kAddress); }
    // "R 20452", "W 20450=0": what the drive heard since the capture was
    // cleared.
    std::vector<std::string> Heard();
    // Writes the device's base as the file set "..\userdata\<name>" after
    // `change`.
    void WriteFileSet(const std::string& name, const std::function<void(ParaBase&)>& change = {});
    // Texts the activity windows showed (those ending in " ...").
    static std::vector<std::string> ActivityTexts();
    // A device window (listed, online) whose widgets call the first steps.
    GwCore* Caller();

private:
    GwCore* caller_ = nullptr;
};

}  // namespace copytest

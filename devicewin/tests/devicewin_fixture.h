// Set-up of the device-window tests: the application object with a shown
// main window, the active device a virtual drive on the in-memory serial line
// whose table holds a parameter for every widget kind, a description file
// whose dispatcher names the companion parameter's values, and device
// windows made from definitions of the test's own, carrying a setup context
// on the active device's base (online or offline).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "families/setup_context.h"
#include "toolkit/core/gw_recorder.h"

class GwCore;

namespace devicewintest {

// The drive's parameters beyond those the activation reads.
inline constexpr int kKeypadGroups = 8;  // "KPGRP" the keypad groups "DRIVE" and "MOTOR"
// "SPEED" INT16 -32768..32767, unit "rpm", EEPROM, read level 3, write level 5,
// keypad group "MOTOR", with a description.
inline constexpr int kSpeed = 12;
inline constexpr int kList = 20;          // "LIST" USIGN8 2..9, value 5
inline constexpr int kCompanion = 21;     // "COMP" USIGN8 0..9, value 4, dispatched texts
inline constexpr int kToggles = 24;       // "TGLS" USIGN16 array {0, 3}
inline constexpr int kBits = 25;          // "BITS" USIGN16, value 0x8002
inline constexpr int kRadio = 26;         // "RADIO" USIGN8 0..255, value 200
inline constexpr int kWideRadio = 27;     // "WIDE" USIGN16 0..256
inline constexpr int kReal = 28;          // "REAL" INT32Q16 0..100, value 12.34
inline constexpr int kHexWord = 31;       // "HEXW" USIGN16 hexadecimal
inline constexpr int kText = 32;          // "TEXT" STRING
inline constexpr int kStatus = 33;        // "STAT" USIGN16 0xF4
inline constexpr int kLocked = 34;        // "LOCKD" USIGN16, write level 15
inline constexpr int kModeText = 35;      // "MTXT" USIGN8 with value texts
inline constexpr int kSelect = 36;        // "SEL" USIGN8 1..5, value 1
inline constexpr int kTable = 37;         // "TAB" USIGN16 array of 5
inline constexpr int kSignedTable = 38;   // "STAB" INT16 array of 5
inline constexpr int kHexTable = 39;      // "HTAB" USIGN16 hexadecimal array of 3
inline constexpr int kUnits = 107;        // the unit texts
inline constexpr int kSave = 150;         // "SAVE" USIGN8 0..1
inline constexpr int kApplication = 152;  // "APPL" USIGN8 0..5, value texts
inline constexpr int kIdentMode = 153;    // "MIDNT" USIGN8 0..2
inline constexpr int kCommand = 550;      // "CMD" USIGN16 0..100
inline constexpr int kGroupIndex = 300;   // "GRPIX" USIGN16 0..5, value 2

sim::DriveTable DeviceWindowTable();
// The word field of the bit window and scrolled field tests, with its
// description: 420 "FLD" USIGN16 0..65535, an array of 100 elements.
inline constexpr int kWordField = 420;
sim::DriveParameter* PutWordField(sim::DriveTable& table, std::vector<uint32_t> elements);

// Whether `expected` appears in `heard` in this order (other telegrams may
// come between).
bool InOrder(const std::vector<std::string>& heard, const std::vector<std::string>& expected);
// How often `text` stands in `heard`.
size_t Count(const std::vector<std::string>& heard, const std::string& text);

// A setup context without a family.
class TestContext : public DeviceSetupContext {
public:
    using DeviceSetupContext::DeviceSetupContext;
    bool CheckStatusWordBit() override { return false; }
    bool CheckStatusWordBitAlt() override { return false; }
    bool CheckModeSelection() override { return false; }
    bool CheckModeSelectionAlt() override { return false; }
};

// Public, so that the lambdas of case tables reach it.
class DeviceWindowTest : public maintest::MainTest {
public:
    using maintest::MainTest::NewLogText;

    void SetUp() override;
    void TearDown() override;
    // The drive's table; DeviceWindowTable unless a test needs another.
    virtual sim::DriveTable MakeTable() { return DeviceWindowTable(); }

    // A context on a copy of the active device's base.
    TestContext* MakeContext(bool online);
    // Defines "DevWin" with the body and opens it under the main window,
    // shown, with the context as its user data (none when null).
    GwCore* OpenWindow(const std::string& body, DeviceSetupContext* context);
    // A case of a table: a window with the body on a fresh context (the last
    // of contexts_), the boxes marked, and the widget of that name.
    GwCore* OpenCase(bool online, const std::string& body, const std::string& widget);
    // A widget of the last window opened, by name.
    GwCore* W(const std::string& path);
    // What the drive heard since the capture was cleared ("R 20025").
    std::vector<std::string> Heard();
    sim::VirtualDrive& Drive() { return *drives_.at(maintest::kAddress); }
    // Destroys the window (as the user's closing does) and destroys enough
    // later ones that the toolkit frees its memory once no callback runs: a
    // pointer kept to it then reads freed memory.
    void DestroyAndFree(GwCore* window);
    // The boxes shown since the last MarkBoxes (or the test began).
    void MarkBoxes();
    std::vector<GwBoxRecord> NewBoxes() const;

    // The rate of the drive and the serial bus; set before SetUp.
    int32_t baud_ = 9600;
    std::vector<std::unique_ptr<TestContext>> contexts_;
    GwCore* window_ = nullptr;
    size_t boxesSeen_ = 0;
};

}  // namespace devicewintest

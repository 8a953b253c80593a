// Set-up of the tests of the Ruvex motor and encoder pages: the device-window
// fixture on the motor fixture drive ("ruvex_motor_drive.tbl", firmware 205),
// the Ruvex window definitions loaded, and what the tests read back: the
// drive's writes, its telegrams of one parameter with their time, the texts
// shown and the windows the callbacks listed.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"

namespace devicewintest {

inline constexpr int kDriveState = 403;
constexpr uint32_t State(int state) { return static_cast<uint32_t>(state) << 12; }

struct Timed {
    std::string text;
    uint64_t ms = 0;  // from the start given
};

class RuvexMotorTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override;
    void SetUp() override;
    void TearDown() override;

    // The writes the drive heard since its capture was cleared.
    std::vector<std::string> Writes();
    // Telegrams of one code ("20163") with their time in ms from `startUs`.
    std::vector<Timed> TimedOf(const std::string& code, uint64_t startUs);
    // Every text a widget was given since MarkTexts (or the test began).
    void MarkTexts();
    std::set<std::string> ShownTexts();
    // How often the widget was shown since the test began.
    size_t EffectCount(const std::string& what, GwCore* widget);
    // Closes the windows the callbacks listed.
    void CloseListed();

protected:
    // Parameters the drive does not have.
    std::vector<int> missing_;
    size_t textsSeen_ = 0;
};

// The drive without the identification state, the commutation and the
// encoder simulation.
class RuvexBareMotorTest : public RuvexMotorTest {
public:
    RuvexBareMotorTest() { missing_ = {832, 886, 889}; }
};

}  // namespace devicewintest

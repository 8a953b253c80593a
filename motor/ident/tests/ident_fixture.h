// Set-up of the identification tests: the active device a virtual drive of
// the chosen family with the identification's parameters, its recorder and
// its identification unit turned on, and the identification window on a
// setup context of the device's base.
#pragma once

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"

namespace identtest {

inline constexpr uint16_t kPescoType = 5012;
inline constexpr uint16_t kRuvexType = 4120;
// 2.15 in steps of 0.05.
inline constexpr uint32_t kVersionSteps = 43;

inline constexpr char kIdentWindowBody[] =
    "button Start { }\n"
    "toggle RatedTorque { }\n";

class IdentTest : public devicewintest::DeviceWindowTest {
public:
    explicit IdentTest(uint16_t typeNumber = kPescoType) : typeNumber_(typeNumber) {}

    sim::DriveTable MakeTable() override;
    void SetUp() override;
    void TearDown() override;

    // The identification window on a fresh context, the boxes marked and the
    // captures cleared.
    void Open(const std::string& body = kIdentWindowBody, bool online = true, bool confirmRisk = true);
    // The permanent-magnet motor of the synchronous run: Rs 0.5 Ohm, L 5 mH;
    // 1.5 kW, 50 Hz, 1500 /min, 5 A.
    void UseSynchronousMotor();
    // The start callback on the window's start button.
    int Start();
    // A drive parameter's value, as a float.
    float Value(int number);
    float Element(int number, size_t element);
    void SetValue(int number, float value);
    // Writes the drive heard, in order.
    std::vector<std::string> Writes();
    // What the program wrote to `number` ("W 20120=40000000" and the array
    // forms), as floats.
    std::vector<float> WrittenValues(int number, int element = -1);
    std::string IdentLog();
    // Telegram texts of a float write ("W 20120=3F800000") and a read.
    static std::string W(int number, float value);
    static std::string R(int number);
    // The element write of a FLOAT32 array.
    static std::string WE(int number, int element, float value);
    // The "text" of each box since MarkBoxes, as "kind: text".
    std::vector<std::string> BoxTexts();

    uint16_t typeNumber_;
    sim::MotorIdentUnit& Unit() { return Drive().Table().motor_ident; }
};

// Whether `expected` appears in `heard` in this order.
bool InOrder(const std::vector<std::string>& heard, const std::vector<std::string>& expected);
size_t Count(const std::vector<std::string>& heard, const std::string& text);

}  // namespace identtest

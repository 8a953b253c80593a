// The device control panels on a virtual drive: the take-over and its
// protections, the keys by device state, the operations on the control word
// and the reference, and the shut-down that writes the saved values back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/user_level.h"
#include "bus/serial/tarn_bus.h"
#include "devicewin/device_control.h"
#include "devicewin/tests/device_control_fixture.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/system/token_source.h"
#include "sim/drive_faults.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// The panel's state after a refused read of 403 (error message 1; the state
// without an online device) and for a device of no known kind (255).
void ExpectStatesWithoutAKnownDevice(DeviceControlTest& test, DeviceControl& panel, uint8_t noDevice,
                                     uint8_t unknownKind) {
    Main* main = GetMain();
    test.Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20403"));
    test.MarkBoxes();
    EXPECT_EQ(panel.UpdateDeviceState(), noDevice);
    ASSERT_EQ(test.NewBoxes().size(), 1u);
    // Message 1 shows the bus's own error text.
    EXPECT_EQ(test.NewBoxes()[0].text, "Device canceled last telegram!");
    TarnBus* bus = main->GetSerialBus();
    const BusDeviceRecord record = *bus->GetDevice(maintest::kAddress);
    bus->AddDevice(maintest::kAddress, 7000, record.version);
    EXPECT_EQ(panel.UpdateDeviceState(), unknownKind);
    bus->AddDevice(maintest::kAddress, record.typeNumber, record.version);
}

TEST_F(DeviceControlTest, MarloTakeOverForcesItsTableAndHoldsTheWriteLock) {
    Drive().ClearCapture();
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    const std::vector<std::string> writes = Writes();
    EXPECT_EQ(writes.front(), "20084=41200000");
    EXPECT_EQ(Numbers(writes), (std::vector<int>{84, 150, 152, 280, 281, 260, 300, 510, 320, 597, 300, 15, 15}));
    EXPECT_EQ(writes[4], "20281=3");
    EXPECT_EQ(writes[9], "20597=1");
    // Each forced value is written right after its old value was read.
    const std::vector<std::string> heard = Heard();
    for (int number : {150, 152, 280, 281, 260, 300, 510, 320, 597}) {
        const std::string code = std::to_string(20000 + number);
        auto write = std::find_if(
            heard.begin(), heard.end(), [&](const std::string& t) { return t.rfind("W " + code, 0) == 0; });
        ASSERT_NE(write, heard.begin());
        EXPECT_EQ(*(write - 1), "R " + code) << number;
    }
    ParaBase* base = GetMain()->ActiveParaBase();
    EXPECT_EQ(base->WriteValueU8(150, 1), 12);
    EXPECT_EQ(base->WriteValueU16(406, 1), kParaOk);
}

TEST_F(DeviceControlTest, MarloLimitsAndStartReference) {
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    struct Case {
        float p650, p303, p306, p305, p307, p301, p302;
        const char* refused;
        double limit, start;
    } cases[] = {
        {1.0f, 3000, 2500, 100, 100, 5, 3, nullptr, 2500, 3},
        {2.0f, 3000, 2500, 1000, 1200, 5, 3, nullptr, 1000, 3},
        {1.0f, 3000, 2500, 100, 100, 5, 3, "20305", 1600, 3},
        {1.0f, 3000, 2500, 100, 100, 5, 3, "20302", 2500, 0},
    };
    for (const Case& c : cases) {
        SetFloat(650, c.p650), SetFloat(303, c.p303), SetFloat(306, c.p306), SetFloat(305, c.p305);
        SetFloat(307, c.p307), SetFloat(301, c.p301), SetFloat(302, c.p302);
        if (c.refused != nullptr) Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For(c.refused));
        EXPECT_TRUE(panel->SetCtrlType(0));
        EXPECT_EQ(panel->RefMax, c.limit) << c.p650;
        EXPECT_EQ(panel->RefMin, -c.limit) << c.p650;
        EXPECT_EQ(panel->StartRef, c.start) << c.p650;
    }
}

// The condition parameters 211 to 213 and 222 present, each 0 (outside M).
// A type of its own: the program keeps a type's parameter list.
class MarloConditionTest : public DeviceControlTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = MarloTable(3101);
        for (int n : {211, 212, 213, 222}) table.PutFullRange(n, "C", "USIGN8", 0);
        return table;
    }
};

TEST_F(MarloConditionTest, ConditionsDecideWhichEntriesAreSavedAndForced) {
    struct Case {
        int number;
        uint32_t value;
        std::vector<int> forced;  // condition-bound entries written
    } cases[] = {
        {222, 2, {222}},
        {222, 4, {}},
        {211, 15, {211, 212, 213}},
        {211, 4, {}},
    };
    for (const Case& c : cases) {
        for (int n : {211, 212, 213, 222}) Table().Find(n)->value = n == c.number ? c.value : 0;
        Drive().ClearCapture();
        auto panel = std::make_unique<Marlo_Control>();
        ASSERT_TRUE(panel->Opened) << c.number;
        std::vector<int> forced;
        for (int n : Numbers(Writes())) {
            if (n >= 210 && n <= 223) forced.push_back(n);
        }
        EXPECT_EQ(forced, c.forced) << c.number << " " << c.value;
        for (int n : {211, 212, 213, 222}) EXPECT_TRUE(TheParaWriteLock().IsProtected(n)) << n;
        panel.reset();
    }
}

TEST_F(MarloConditionTest, AConditionReadThatFailsKeepsThePanelClosed) {
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20222").Times(sim::kForever));
    MarkBoxes();
    auto panel = std::make_unique<Marlo_Control>();
    EXPECT_FALSE(panel->Opened);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
}

TEST_F(DeviceControlTest, ShutDownStopsTheDriveAndWritesTheSavedValuesBack) {
    SetState(2);
    Table().control_word.rules = {{0, 2}};
    Table().handshake.busy_polls = 2;
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    SetState(3);
    Drive().ClearCapture();
    MarkBoxes();
    panel.reset();
    EXPECT_EQ(Numbers(Writes()),
              (std::vector<int>{551, 551, 84, 80, 597, 320, 510, 300, 260, 281, 280, 152, 150, 80, 15, 15}));
    const std::vector<std::string> writes = Writes();
    ASSERT_EQ(writes.size(), 16u);
    EXPECT_EQ(writes[2], "20084=0");
    EXPECT_EQ(writes[4], "20597=7");
    EXPECT_EQ(writes[7], "20300=0");
    // The handshake is polled once a second until the drive has taken the set.
    std::vector<uint64_t> polls;
    for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
        if (t.text == "R 20080") polls.push_back(t.time_us);
    }
    ASSERT_EQ(polls.size(), 3u);
    EXPECT_GE(polls[1] - polls[0], 1000000u);
    EXPECT_GE(polls[2] - polls[1], 1000000u);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_EQ(GetMain()->ActiveParaBase()->WriteValueU8(150, 1), kParaOk);
}

TEST_F(DeviceControlTest, ARefusedOrLateRestoreIsShownAndCommitsNothing) {
    Table().PutFullRange(7, "SEVENP", "USIGN8", 0);
    struct Case {
        int busyPolls;
        uint32_t result;
        const char* text;
    } cases[] = {
        {0, 7, "New value of parameter 7-"},
        {sim::kHandshakeBusyForever, 0, "Timeout during data transmission of parameterbase to device"},
    };
    for (const Case& c : cases) {
        auto panel = std::make_unique<Marlo_Control>();
        ASSERT_TRUE(panel->Opened);
        Table().handshake.busy_polls = c.busyPolls;
        Table().handshake.result = c.result;
        Drive().ClearCapture();
        MarkBoxes();
        panel.reset();
        EXPECT_NE(Numbers(Writes()).back(), 15) << c.text;
        ASSERT_EQ(NewBoxes().size(), 1u) << c.text;
        EXPECT_EQ(NewBoxes()[0].kind, "error");
        EXPECT_TRUE(BoxSays(NewBoxes(), c.text)) << NewBoxes()[0].text;
        EXPECT_FALSE(TheParaWriteLock().IsHeld());
    }
}

TEST_F(DeviceControlTest, AFailedTakeOverPutsBackWhatItForced) {
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20260").Times(sim::kForever));
    Drive().ClearCapture();
    auto panel = std::make_unique<Marlo_Control>();
    EXPECT_FALSE(panel->Opened);
    // The refused write of 260 is not taken, so it is not in the capture.
    EXPECT_EQ(Numbers(Writes()), (std::vector<int>{84, 150, 152, 280, 281, 80, 281, 280, 152, 150, 80, 84}));
    EXPECT_EQ(Writes()[6], "20281=7");
    EXPECT_EQ(Writes().back(), "20084=0");
    Drive().ClearCapture();
    panel.reset();
    EXPECT_TRUE(Writes().empty());
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

TEST_F(DeviceControlTest, ShutDownWithoutTheDriveEndsOnANegativeAnswer) {
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    Drive().AddFault(sim::DriveFault::Silence().Times(sim::kForever));
    Drive().ClearCapture();
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);  // the bus error of the state read
    gwtest::AnswerBox(2);
    panel.reset();
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(BoxSays(NewBoxes(), "No connection to the drive"));
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

TEST_F(DeviceControlTest, RefusalsOpenNothing) {
    TheParaWriteLock().Acquire(5);
    MarkBoxes();
    auto locked = std::make_unique<Marlo_Control>();
    EXPECT_FALSE(locked->Opened);
    EXPECT_TRUE(BoxSays(NewBoxes(), "The parameters are locked by another window"));
    locked.reset();
    EXPECT_TRUE(TheParaWriteLock().Release(5));

    SetState(3);
    Drive().ClearCapture();
    MarkBoxes();
    auto running = std::make_unique<Marlo_Control>();
    EXPECT_FALSE(running->Opened);
    EXPECT_TRUE(Writes().empty());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "info");
}

TEST_F(DeviceControlTest, EachPanelOwnsTheLockWithItsOwnToken) {
    std::vector<int32_t> draws{0, 77, 91};
    size_t next = 0;
    platform::SetTokenSource([&] { return draws[next++]; });
    auto first = std::make_unique<Marlo_Control>();
    EXPECT_EQ(first->OwnerToken, 77);
    EXPECT_FALSE(TheParaWriteLock().Acquire(78));
    first.reset();
    auto second = std::make_unique<Marlo_Control>();
    EXPECT_EQ(second->OwnerToken, 91);
    EXPECT_FALSE(TheParaWriteLock().Acquire(78));
    second.reset();
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

TEST_F(DeviceControlTest, MarloKeysFollowTheDeviceState) {
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    struct Case {
        uint32_t state;
        double refMin;
        ControlKeys keys;
    } cases[] = {
        {2, -1, {true, false, false, false, false}},
        {3, -1, {false, true, false, false, false}},
        {4, -1, {false, true, true, true, false}},
        {4, 0.0, {false, true, false, true, false}},
        {9, -1, {false, false, false, false, true}},
        {12, -1, {false, true, false, false, false}},
        {14, -1, {false, false, false, false, false}},
        {15, -1, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        SetState(c.state);
        panel->RefMin = c.refMin;
        EXPECT_EQ(panel->UpdateDeviceState(), c.state);
        EXPECT_EQ(panel->IsStartEnabled(), c.keys.Start) << c.state;
        EXPECT_EQ(panel->IsStopEnabled(), c.keys.Stop) << c.state;
        EXPECT_EQ(panel->IsReverseEnabled(), c.keys.Reverse) << c.state << " " << c.refMin;
        EXPECT_EQ(panel->IsHaltEnabled(), c.keys.Halt) << c.state;
        EXPECT_EQ(panel->IsErrorResetEnabled(), c.keys.ErrorReset) << c.state;
    }
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20403"));
    MarkBoxes();
    EXPECT_EQ(panel->UpdateDeviceState(), 13);
    EXPECT_EQ(NewBoxes().size(), 1u);
    SetState(2);
}

TEST_F(DeviceControlTest, MarloOperationsOnTheControlWordAndTheReference) {
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    SetFloat(284, 12.5f);
    struct Case {
        const char* name;
        bool (DeviceControl::*operation)();
        std::vector<std::string> heard;
    } cases[] = {
        {"Start", &DeviceControl::Start, {"R 20551", "W 20551=15"}},
        {"Stop", &DeviceControl::Stop, {"R 20551", "W 20551=0"}},
        {"Halt", &DeviceControl::Halt, {"R 20551", "W 20551=15", "W 20284=0"}},
        {"ErrorReset", &DeviceControl::ErrorReset, {"R 20551", "W 20551=10", "W 20551=90", "R 20551", "W 20551=0"}},
    };
    for (const Case& c : cases) {
        Table().Find(551)->value = 0x10;
        Drive().ClearCapture();
        EXPECT_TRUE(((*panel).*c.operation)()) << c.name;
        EXPECT_EQ(Heard(), c.heard) << c.name;
    }
    SetFloat(284, 12.5f);
    Drive().ClearCapture();
    EXPECT_TRUE(panel->Reverse());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20284", "W 20284=C1480000"}));
    SetFloat(400, 33.0f);
    EXPECT_EQ(panel->GetActVal(), 33.0);
    EXPECT_EQ(panel->GetActValUnit(), "Hz");
}

class RuvexControlTest : public DeviceControlTest {
public:
    RuvexControlTest() { typeNumber_ = 4100; }
    std::unique_ptr<Ruvex_Control> Make(float firmware, float flag981) {
        SetFloat(92, firmware);
        SetFloat(981, flag981);
        return std::make_unique<Ruvex_Control>();
    }
};

TEST_F(RuvexControlTest, TheFirmwareLineDecidesTheScalingOfTheReference) {
    auto panel = Make(600.0f, 1.0f);
    ASSERT_TRUE(panel->Opened);
    EXPECT_EQ(TheRuvexControlState().Variant, 1);
    Table().Find(300)->value = 0;
    Drive().ClearCapture();
    EXPECT_TRUE(panel->SetRefVal(10.0));
    EXPECT_EQ(Writes(), (std::vector<std::string>{"20284=44160000"}));  // 600.0
    EXPECT_EQ(panel->GetRefVal(), 10.0);
    panel.reset();
    // A drive of another line does not inherit the scaling.
    auto next = Make(500.0f, 1.0f);
    ASSERT_TRUE(next->Opened);
    EXPECT_EQ(TheRuvexControlState().Variant, 0);
    Table().Find(300)->value = 0;
    Drive().ClearCapture();
    EXPECT_TRUE(next->SetRefVal(10.0));
    EXPECT_EQ(Writes(), (std::vector<std::string>{"20284=41200000"}));  // 10.0
}

TEST_F(RuvexControlTest, AtTheBasicLevelTheTypesStartAtOne) {
    auto panel = Make(500.0f, 0.0f);
    ASSERT_TRUE(panel->Opened);
    EXPECT_EQ(panel->GetCtrlTypeCount(), 3);
    Drive().ClearCapture();
    panel->SetCtrlType(0);
    EXPECT_EQ(Writes().front(), "20300=1");
}

TEST_F(RuvexControlTest, AboveTheBasicLevelTypeZeroAndTheSavedSpeedLimits) {
    SetUserLevel(5);
    Drive().ClearCapture();
    auto panel = Make(600.0f, 0.0f);
    ASSERT_TRUE(panel->Opened);
    const std::vector<int> numbers = Numbers(Writes());
    auto at = std::find(numbers.begin(), numbers.end(), 365);
    ASSERT_NE(at, numbers.end());
    EXPECT_EQ(*(at + 1), 1);
    EXPECT_EQ(panel->GetCtrlTypeCount(), 4);
    SetFloat(844, 3000.0f);
    SetFloat(856, 120.0f);
    EXPECT_TRUE(panel->SetCtrlType(0));
    EXPECT_NEAR(panel->RefMax, 6000.0 * 60.0, 1e-6);
    EXPECT_NEAR(panel->RefMin, -6000.0 * 60.0, 1e-6);
    panel.reset();
    SetFloat(92, 200.0f);
    auto second = std::make_unique<Ruvex_Control>();
    ASSERT_TRUE(second->Opened);
    EXPECT_EQ(TheRuvexControlState().Variant, 2);
    SetFloat(960, 0.0f);
    EXPECT_FALSE(second->SetCtrlType(2));
}

TEST_F(RuvexControlTest, AMarloPanelLeavesARuvexDriveAlone) {
    Drive().ClearCapture();
    MarkBoxes();
    auto panel = std::make_unique<Marlo_Control>();
    EXPECT_FALSE(panel->Opened);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(RuvexControlTest, StatesKeysAndActualValues) {
    auto panel = Make(500.0f, 0.0f);
    ASSERT_TRUE(panel->Opened);
    struct Case {
        uint32_t state;
        bool stop, ctrlType;
    } cases[] = {{3, true, false},
                 {4, true, false},
                 {6, true, false},
                 {11, true, false},
                 {12, true, true},
                 {13, true, true},
                 {2, false, true}};
    for (const Case& c : cases) {
        SetState(c.state);
        panel->UpdateDeviceState();
        EXPECT_EQ(panel->IsStopEnabled(), c.stop) << c.state;
        EXPECT_EQ(panel->IsCtrlTypeEnabled(), c.ctrlType) << c.state;
    }
    // Halt only with a control type other than 0 (300 holds 2: type 1 at
    // the basic level).
    SetState(4);
    panel->UpdateDeviceState();
    EXPECT_TRUE(panel->IsHaltEnabled());
    Table().Find(300)->value = 1;
    EXPECT_FALSE(panel->IsHaltEnabled());
    // Leaving the error state resets the error bit and stops the drive.
    SetState(9);
    panel->UpdateDeviceState();
    SetState(1);
    Table().Find(551)->value = 0x95;
    Drive().ClearCapture();
    EXPECT_EQ(panel->UpdateDeviceState(), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"20551=15", "20551=95", "20551=0"}));
    // Type 0 shows 844 x 77 / 60 from the stored 300 and 844.
    SetFloat(844, 3000.0f);
    SetFloat(77, 2.0f);
    ParaBase* base = GetMain()->ActiveParaBase();
    base->WriteValueDouble(844, 3000.0);
    TheParaWriteLock().Release(panel->OwnerToken);
    ASSERT_EQ(base->WriteValueU8(300, 0), kParaOk);
    EXPECT_DOUBLE_EQ(panel->GetActVal(), 100.0);
    EXPECT_EQ(panel->GetActValUnit(), "Hz");
}

class PescoControlTest : public DeviceControlTest {
public:
    PescoControlTest() { typeNumber_ = 5100; }
};

TEST_F(PescoControlTest, ControlTypesGiveTheirUnitsAndLimits) {
    auto panel = std::make_unique<Pesco_Control>();
    ASSERT_TRUE(panel->Opened);
    SetFloat(803, 200.0f), SetFloat(852, 50.0f), SetFloat(813, 3000.0f), SetFloat(157, 10.0f), SetFloat(400, 42.0f);
    EXPECT_TRUE(panel->SetCtrlType(1));
    EXPECT_EQ(panel->GetActValUnit(), "Nm");
    EXPECT_DOUBLE_EQ(panel->RefMax, 100.0);
    EXPECT_TRUE(panel->SetCtrlType(2));
    EXPECT_EQ(panel->GetActValUnit(), "1/min");
    EXPECT_DOUBLE_EQ(panel->RefMin, -300.0);
    EXPECT_TRUE(panel->SetCtrlType(3));
    EXPECT_EQ(panel->GetActValUnit(), "inc");
    EXPECT_EQ(panel->RefMax, 65535.9);
    EXPECT_EQ(panel->StartRef, 42.0);
    EXPECT_FALSE(panel->SetCtrlType(4));
}

TEST_F(PescoControlTest, OperationsOnTheControlWord) {
    auto panel = std::make_unique<Pesco_Control>();
    ASSERT_TRUE(panel->Opened);
    struct Case {
        const char* name;
        bool (DeviceControl::*operation)();
        std::vector<std::string> writes;
    } cases[] = {
        {"Start", &DeviceControl::Start, {"20551=11"}},
        {"Stop", &DeviceControl::Stop, {"20551=10"}},
        {"Halt", &DeviceControl::Halt, {"20284=0"}},
        {"ErrorReset", &DeviceControl::ErrorReset, {"20074=3F800000"}},
    };
    for (const Case& c : cases) {
        Table().Find(551)->value = c.writes[0] == "20551=10" ? 0x11 : 0x10;
        Drive().ClearCapture();
        EXPECT_TRUE(((*panel).*c.operation)()) << c.name;
        EXPECT_EQ(Writes(), c.writes) << c.name;
    }
}

TEST_F(DeviceControlTest, MarloStatesWithoutAKnownDevice) {
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    ExpectStatesWithoutAKnownDevice(*this, *panel, 13, 14);
}

TEST_F(RuvexControlTest, RuvexStatesWithoutAKnownDevice) {
    auto panel = Make(500.0f, 0.0f);
    ASSERT_TRUE(panel->Opened);
    ExpectStatesWithoutAKnownDevice(*this, *panel, 12, 13);
}

TEST_F(PescoControlTest, PescoStatesWithoutAKnownDevice) {
    auto panel = std::make_unique<Pesco_Control>();
    ASSERT_TRUE(panel->Opened);
    ExpectStatesWithoutAKnownDevice(*this, *panel, 10, 11);
}

// The unit by the stored control type, the firmware line and the name of 981.
TEST_F(RuvexControlTest, TheActualValueUnitFollowsTheStoredControlType) {
    struct Case {
        float firmware;
        uint32_t type;
        const char* unit;
    } cases[] = {
        {500.0f, 0, "Hz"},
        {500.0f, 1, "Nm"},
        {500.0f, 2, "1/min"},
        {200.0f, 2, "m/s"},
        {500.0f, 3, "r"},
    };
    for (const Case& c : cases) {
        auto panel = Make(c.firmware, 0.0f);
        ASSERT_TRUE(panel->Opened) << c.unit;
        Table().Find(300)->value = c.type;
        uint8_t stored = 0;
        ASSERT_EQ(GetMain()->ActiveParaBase()->ReadValueU8(300, &stored), kParaOk);
        EXPECT_EQ(panel->GetActValUnit(), c.unit) << c.firmware << " " << c.type;
    }
}

// 981 named "UNTAC" gives its own display text as the unit of type 2.
class RuvexUnitParameterTest : public RuvexControlTest {
public:
    RuvexUnitParameterTest() { typeNumber_ = 4101; }
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = MarloTable(typeNumber_);
        sim::DriveParameter* unit = table.PutFullRange(981, "UNTAC", "USIGN8", 1);
        unit->flags |= sim::kFlagValueTexts;
        unit->value_texts = {{0, "1/min"}, {1, "mm/s"}};
        table.Find(300)->value = 2;
        return table;
    }
};

TEST_F(RuvexUnitParameterTest, TypeTwoShowsTheUnitOf981) {
    SetFloat(92, 500.0f);
    auto panel = std::make_unique<Ruvex_Control>();
    ASSERT_TRUE(panel->Opened);
    Table().Find(300)->value = 2;
    uint8_t stored = 0;
    ASSERT_EQ(GetMain()->ActiveParaBase()->ReadValueU8(300, &stored), kParaOk);
    uint8_t unit = 0;
    ASSERT_EQ(GetMain()->ActiveParaBase()->ReadValueU8(981, &unit), kParaOk);
    EXPECT_EQ(panel->GetActValUnit(), "mm/s");
}

TEST_F(PescoControlTest, TheActualValueFollowsTheDrivesControlType) {
    auto panel = std::make_unique<Pesco_Control>();
    ASSERT_TRUE(panel->Opened);
    SetFloat(14, 11.0f);
    SetFloat(77, 22.0f);
    struct Case {
        uint32_t type;
        const char* read;  // the parameter read after 300, if any
        double actual;
    } cases[] = {
        {0, "R 20077", 22.0},
        {1, "R 20014", 11.0},
        {2, "R 20077", 22.0},
        {3, nullptr, 0.0},
    };
    for (const Case& c : cases) {
        Table().Find(300)->value = c.type;
        Drive().ClearCapture();
        EXPECT_EQ(panel->GetActVal(), c.actual) << c.type;
        std::vector<std::string> expected{"R 20300"};
        if (c.read != nullptr) expected.push_back(c.read);
        EXPECT_EQ(Heard(), expected) << c.type;
    }
}

// The condition parameters 222 and 180 present on a Pesco or Ruvex drive.
class ConditionDriveTest : public DeviceControlTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = MarloTable(typeNumber_);
        for (int n : {222, 180}) table.PutFullRange(n, "C", "USIGN8", 0);
        return table;
    }
    // The condition-bound entries the take-over wrote with the condition
    // parameter at `value`; each entry is protected either way.
    template <typename Panel>
    std::vector<int> ForcedWith(int number, uint32_t value) {
        Table().Find(number)->value = value;
        Drive().ClearCapture();
        auto panel = std::make_unique<Panel>();
        EXPECT_TRUE(panel->Opened) << number;
        EXPECT_TRUE(TheParaWriteLock().IsProtected(number)) << number;
        std::vector<int> forced;
        for (int n : Numbers(Writes())) {
            if (n == number) forced.push_back(n);
        }
        return forced;
    }
};

class PescoConditionTest : public ConditionDriveTest {
public:
    PescoConditionTest() { typeNumber_ = 5103; }
};

class RuvexConditionTest : public ConditionDriveTest {
public:
    RuvexConditionTest() { typeNumber_ = 4103; }
};

TEST_F(PescoConditionTest, TheRangeOneToSevenMakesAnEntryActive) {
    EXPECT_EQ(ForcedWith<Pesco_Control>(222, 7), (std::vector<int>{222}));
    EXPECT_TRUE(ForcedWith<Pesco_Control>(222, 8).empty());
}

TEST_F(RuvexConditionTest, OnlyFortySixMakesTheEntryOf180Active) {
    SetFloat(92, 500.0f);
    EXPECT_EQ(ForcedWith<Ruvex_Control>(180, 46), (std::vector<int>{180}));
    EXPECT_TRUE(ForcedWith<Ruvex_Control>(180, 45).empty());
}

}  // namespace
}  // namespace devicewintest

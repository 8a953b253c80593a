// The value windows laid out by mode and control type, the positioning
// module, the Marlo data set and the Pesco drive set, docked for the active
// drive and polled on the virtual clock.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "devicewin/tests/state_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace statewintest {
namespace {

// A group's display: the "value" text, the "unit" text and whether the
// group is enabled.
struct Shown {
    std::string value;
    std::string unit;
    bool enabled;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << "{\"" << s.value << "\", \"" << s.unit << "\", " << s.enabled << "}";
}

int CountResize(GwCore*, GwEvent*, GwUD counter) {
    ++*counter.pointer_as<int>();
    return 1;
}

class ValueWindowTest : public StateWindowTest {
protected:
    size_t Tick(const char* pane, int times = 1) {
        MarkBoxes();
        for (int i = 0; i < times; ++i) gwtest::Fire(Pane(pane), "timer");
        return NewBoxes().size();
    }
    std::map<std::string, Shown> Groups(const char* pane, const std::vector<const char*>& names) {
        std::map<std::string, Shown> shown;
        for (const char* name : names)
            shown[name] = {Value(pane, name), Unit(pane, name), In(pane, name)->is_enabled()};
        return shown;
    }
    void NameRunMode(int address) { Parameter(address, 151).name = "ASTPR"; }
    int Reads(int address, const std::string& code) {
        int n = 0;
        for (const std::string& t : Heard(address)) n += t == "R " + code;
        return n;
    }
};

const std::vector<const char*> kRuvexGroups = {"ssoll", "sist", "ds", "nsoll", "nist", "msoll", "mist", "iist"};

TEST_F(ValueWindowTest, FamilyFourDocksItsValueAndPositioningWindowsWithEveryWidget) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    EXPECT_TRUE(NewBoxes().empty());
    for (const char* pane : {"Ruvex_State", "Ruvex_Reference", "Ruvex_PosMod_State"}) {
        auto* frame = dynamic_cast<GwDockingFrame*>(frame_->child(pane));
        ASSERT_NE(frame, nullptr) << pane;
        EXPECT_TRUE(frame->is_shown()) << pane;
        EXPECT_TRUE(Pane(pane)->is_timer_running()) << pane;
        EXPECT_EQ(Pane(pane)->timer_interval(), 500u) << pane;
    }
    // 151 has another name: mode -1 at show time, every group disabled; the
    // ticks lay out by the control type, each of them.
    for (const char* group : kRuvexGroups) EXPECT_FALSE(In("Ruvex_Reference", group)->is_enabled()) << group;
    for (uint32_t controlType : {1u, 2u, 0u}) {
        Parameter(kRuvexAddress, 300).value = controlType;
        Tick("Ruvex_Reference");
        EXPECT_EQ(In("Ruvex_Reference", "nist")->is_enabled(), controlType != 0) << controlType;
        EXPECT_EQ(In("Ruvex_Reference", "nsoll")->is_enabled(), controlType == 2) << controlType;
    }
}

// The mode (151 named "ASTPR") and the control type against what each group
// shows; the cases run in order on one window, so "msoll" keeps what the
// case before gave it in the control-type branch.
TEST_F(ValueWindowTest, RuvexLaysOutByModeAndControlType) {
    AddModel(kRuvexAddress);
    NameRunMode(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    const Shown off{"", "", false};
    struct Case {
        int mode;
        int controlType;
        bool unitUnreadable;
        std::map<std::string, Shown> groups;
    };
    const Case cases[] = {
        {1,
         0,
         false,
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", off},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {0,
         0,
         false,
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", {"", "", false}},
          {"nist", {"", "[1/min]", false}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {5,
         0,
         false,
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", {"406.00", "[1/min]", true}},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {12,
         0,
         false,
         {{"ssoll", {"755", "[mm]", true}},
          {"sist", {"754", "[mm]", true}},
          {"ds", {"756", "[mm]", true}},
          {"nsoll", {"77.00", "[1/min]", true}},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {0,
         7,
         false,
         {{"ssoll", {"", "[mm]", false}},
          {"sist", {"", "[mm]", false}},
          {"ds", {"", "[mm]", false}},
          {"nsoll", {"", "[1/min]", false}},
          {"nist", {"", "[1/min]", false}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"", "[Nm]", false}},
          {"iist", {"", "[A]", false}}}},
        {13,
         0,
         true,
         {{"ssoll", {"755", "[incr]", true}},
          {"sist", {"754", "[incr]", true}},
          {"ds", {"756", "[incr]", true}},
          {"nsoll", {"77.00", "[1/min]", true}},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {20,
         1,
         false,
         {{"ssoll", {"", "[incr]", false}},
          {"sist", {"", "[incr]", false}},
          {"ds", {"", "[incr]", false}},
          {"nsoll", {"", "[1/min]", false}},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {0,
         2,
         false,
         {{"ssoll", {"", "[incr]", false}},
          {"sist", {"", "[incr]", false}},
          {"ds", {"", "[incr]", false}},
          {"nsoll", {"406.00", "[1/min]", true}},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
        {0,
         3,
         false,
         {{"ssoll", {"", "[incr]", false}},
          {"sist", {"", "[incr]", false}},
          {"ds", {"79", "[Ink]", true}},
          {"nsoll", {"", "[1/min]", false}},
          {"nist", {"77.00", "[1/min]", true}},
          {"msoll", {"76.00", "[Nm]", true}},
          {"mist", {"76.00", "[Nm]", true}},
          {"iist", {"75.00", "[A]", true}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " control type " + std::to_string(c.controlType));
        Parameter(kRuvexAddress, 151).value = static_cast<uint32_t>(c.mode);
        Parameter(kRuvexAddress, 300).value = static_cast<uint32_t>(c.controlType);
        // The mode is the stored 151: the drive's value reaches the table
        // through a read of it.
        uint16_t stored = 0;
        ASSERT_EQ(main_->ActiveParaBase()->ReadValueU16(151, &stored), 0);
        if (c.unitUnreadable) {
            DriveAt(kRuvexAddress).AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20766"));
        }
        EXPECT_EQ(Tick("Ruvex_Reference"), 0u);
        EXPECT_EQ(Groups("Ruvex_Reference", kRuvexGroups), c.groups);
    }
    EXPECT_EQ(Pane("Ruvex_Reference")->timer_interval(), 2000u);
}

TEST_F(ValueWindowTest, RuvexLaysOutAgainOnEveryFourthTickAChangedModeAndEveryTickOfModeZero) {
    AddModel(kRuvexAddress);
    NameRunMode(kRuvexAddress);
    Parameter(kRuvexAddress, 151).value = 1;
    ActivateModel(kRuvexAddress);
    int resizes = 0;
    Pane("Ruvex_Reference")->set_callback(GwCB_RESIZE, CountResize, GwUD(static_cast<void*>(&resizes)));
    std::vector<int> laidOut;
    for (int tick = 0; tick < 9; ++tick) {
        const int before = resizes;
        Tick("Ruvex_Reference");
        if (resizes != before) laidOut.push_back(tick);
    }
    EXPECT_EQ(laidOut, (std::vector<int>{0, 4, 8}));
    // A changed mode, then mode 0 on every tick.
    Parameter(kRuvexAddress, 151).value = 0;
    Parameter(kRuvexAddress, 300).value = 1;
    uint16_t stored = 0;
    main_->ActiveParaBase()->ReadValueU16(151, &stored);
    resizes = 0;
    Tick("Ruvex_Reference", 3);
    EXPECT_EQ(resizes, 3);

    // A control type that cannot be read ends the tick without values.
    Parameter(kRuvexAddress, 77).value = 99;
    DriveAt(kRuvexAddress).AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20300"));
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    ClearCaptures();
    EXPECT_GE(Tick("Ruvex_Reference"), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(Reads(kRuvexAddress, "20077"), 0);
    EXPECT_EQ(Value("Ruvex_Reference", "nist"), "77.00");
    EXPECT_TRUE(Pane("Ruvex_Reference")->is_timer_running());
}

TEST_F(ValueWindowTest, RuvexVersion200ScalesItsSpeedAndEmptiesItWithoutAScale) {
    AddModel(kRuvex200Address);
    ActivateModel(kRuvex200Address);
    ASSERT_NE(frame_->child("Ruvex_200_Reference"), nullptr);
    EXPECT_EQ(frame_->child("Ruvex_Reference"), nullptr);
    Parameter(kRuvex200Address, 997).value = 1500;
    EXPECT_EQ(Tick("Ruvex_200_Reference"), 0u);
    const std::vector<const char*> groups = {"vsoll", "vist", "nsoll", "nist", "iist", "mist", "sbrake"};
    const std::map<std::string, Shown> expected = {{"vsoll", {"293.00", "[m/s]", true}},
                                                   {"vist", {"77.00", "[m/s]", true}},
                                                   {"nsoll", {"30", "[1/min]", true}},
                                                   {"nist", {"999", "[1/min]", true}},
                                                   {"iist", {"75.00", "[A]", true}},
                                                   {"mist", {"76.00", "[Nm]", true}},
                                                   {"sbrake", {"940.00", "[mm]", true}}};
    EXPECT_EQ(Groups("Ruvex_200_Reference", groups), expected);
    Parameter(kRuvex200Address, 844).value = 0;
    Tick("Ruvex_200_Reference");
    EXPECT_EQ(Value("Ruvex_200_Reference", "nsoll"), "");
    EXPECT_EQ(Value("Ruvex_200_Reference", "nist"), "999");
    Parameter(kRuvex200Address, 300).value = 1;
    Tick("Ruvex_200_Reference");
    EXPECT_EQ(Value("Ruvex_200_Reference", "nsoll"), "1500");
}

TEST_F(ValueWindowTest, MarloReadsOneEntryPerTickAndFollowsItsControlType) {
    AddModel(kMarloAddress);
    Parameter(kMarloAddress, 300).value = 1;
    ActivateModel(kMarloAddress);
    const char* pane = "Marlo_Reference";
    const std::vector<std::pair<const char*, const char*>> order = {
        {"fsoll", "406.00"}, {"fist", "400.00"}, {"nist", "401.00"}, {"mist", "14.00"}};
    for (const auto& [group, text] : order) {
        ClearCaptures();
        EXPECT_EQ(Tick(pane), 0u);
        EXPECT_EQ(Value(pane, group), text) << group;
        EXPECT_TRUE(In(pane, group)->is_enabled()) << group;
    }
    EXPECT_EQ(Unit(pane, "fsoll"), "[Hz]");  // from the definition
    EXPECT_EQ(Pane(pane)->timer_interval(), 1000u);

    // A refused read shows error 5; the same entry is read next time.
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    DriveAt(kMarloAddress).AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20406"));
    Parameter(kMarloAddress, 406).value = 50;
    EXPECT_GE(Tick(pane), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(Value(pane, "fsoll"), "406.00");
    Tick(pane);
    EXPECT_EQ(Value(pane, "fsoll"), "50.00");

    // Six ticks so far: the seventh lays out and sees the control type 0;
    // the three actual values are disabled and emptied on every tick.
    Parameter(kMarloAddress, 300).value = 0;
    for (int tick = 0; tick < 2; ++tick) {
        Tick(pane);
        for (const char* group : {"fist", "nist", "mist"}) {
            EXPECT_FALSE(In(pane, group)->is_enabled()) << group;
            EXPECT_EQ(Value(pane, group), "") << group;
        }
    }
    EXPECT_EQ(Value(pane, "fsoll"), "50.00");
}

TEST_F(ValueWindowTest, MarloLaysOutOnTheSixthTicksAndShowsOnlyOnline) {
    AddModel(kMarloAddress);
    Parameter(kMarloAddress, 300).value = 1;
    ActivateModel(kMarloAddress);
    const char* pane = "Marlo_Reference";
    int resizes = 0;
    Pane(pane)->set_callback(GwCB_RESIZE, CountResize, GwUD(static_cast<void*>(&resizes)));
    std::vector<int> laidOut;
    for (int tick = 0; tick < 13; ++tick) {
        const int before = resizes;
        Tick(pane);
        if (resizes != before) laidOut.push_back(tick);
    }
    EXPECT_EQ(laidOut, (std::vector<int>{0, 6, 12}));

    // Without a device online the show lays out nothing and starts nothing.
    ASSERT_TRUE(
        GwRcMgr::use_text("dialogframe OwnMarlo {\n on create = Marlo_Create_Val\n on show = Marlo_Show_Val\n"
                          " container fsoll { }\n container fist { }\n container nist { }\n"
                          " container mist { enabled = no }\n}\n",
                          "ownmarlo.cgw"));
    main_->UncoupleAllDevices();
    GwCore* window = GwRcMgr::load(frame_, "OwnMarlo", 1);
    window->show();
    EXPECT_FALSE(window->is_timer_running());
    EXPECT_FALSE(window->child("mist")->is_enabled());
}

TEST_F(ValueWindowTest, MarloVersion200TakesItsSpeedUnitFromTheDrive) {
    AddModel(kMarlo200Address);
    Parameter(kMarlo200Address, 902).text = "mm/s";
    // A drive of version 2.00 without 902.
    constexpr int kBareAddress = 10;
    sim::DriveTable bare = StateWindowTable(3120, 40);
    sim::DriveTable without;
    without.type_number = bare.type_number;
    without.version = bare.version;
    for (int number = 0; number <= sim::kHighestParameter; ++number) {
        if (const sim::DriveParameter* p = bare.Find(number); p != nullptr && number != 902) without.Put(*p);
    }
    AddDrive(kBareAddress, without);
    const char* pane = "Marlo_200_Reference";
    for (int address : {kMarlo200Address, kBareAddress}) {
        SCOPED_TRACE(address);
        ActivateModel(address);
        ASSERT_NE(Pane(pane), nullptr);
        const std::string speed = address == kBareAddress ? "[m/s]" : "[mm/s]";
        EXPECT_EQ(Unit(pane, "vsoll"), speed);
        EXPECT_EQ(Unit(pane, "vist"), speed);
        EXPECT_EQ(Unit(pane, "nist"), "[1/min]");
        EXPECT_EQ(Unit(pane, "iist"), "[A]");
        EXPECT_EQ(Unit(pane, "mist"), "[Nm]");
        EXPECT_EQ(Unit(pane, "sbrake"), "[mm]");
        EXPECT_FALSE(In(pane, "vist")->is_enabled());  // control type 0
        EXPECT_EQ(Tick(pane, 6), 0u);
        EXPECT_EQ(Value(pane, "vsoll"), "950.00");
        EXPECT_EQ(Value(pane, "iist"), "409.00");
        EXPECT_EQ(Value(pane, "sbrake"), "940.00");
        EXPECT_EQ(Value(pane, "vist"), "");
    }
}

TEST_F(ValueWindowTest, PescoShowsItsGroupsByControlType) {
    AddModel(kPescoAddress);
    ActivateModel(kPescoAddress);
    const char* pane = "Pesco_Reference";
    const std::vector<const char*> names = {
        "ssoll", "sist", "ds", "nsoll", "nist", "nistDrive", "msoll", "mist", "imot"};
    struct Case {
        int controlType;
        std::string positionUnit;  // the text of 792
        std::map<std::string, Shown> groups;
    };
    const Shown off{"", "", false};
    const Shown imot{"408.00", "[A]", true};
    const Case cases[] = {
        {0,
         "deg",
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", {"406.00", "[1/min]", true}},
          {"nist", {"77.00", "[1/min]", true}},
          {"nistDrive", off},
          {"msoll", off},
          {"mist", off},
          {"imot", imot}}},
        {1,
         "deg",
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", off},
          {"nist", {"77.00", "[1/min]", true}},
          {"nistDrive", off},
          {"msoll", {"406.00", "[Nm]", true}},
          {"mist", {"14.00", "[Nm]", true}},
          {"imot", imot}}},
        {2,
         "deg",
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", {"406.00", "[1/min]", true}},
          {"nist", {"77.00", "[1/min]", true}},
          {"nistDrive", off},
          {"msoll", {"14.00", "[Nm]", true}},
          {"mist", {"14.00", "[Nm]", true}},
          {"imot", imot}}},
        {3,
         "deg",
         {{"ssoll", {"755", "[deg]", true}},
          {"sist", {"754", "[deg]", true}},
          {"ds", {"756", "[deg]", true}},
          {"nsoll", off},
          {"nist", {"77.00", "[1/min]", true}},
          {"nistDrive", {"752", "[rps]", true}},
          {"msoll", off},
          {"mist", {"14.00", "[Nm]", true}},
          {"imot", imot}}},
        {3,
         "",
         {{"ssoll", {"755", "", true}},
          {"sist", {"754", "", true}},
          {"ds", {"756", "", true}},
          {"nsoll", off},
          {"nist", {"77.00", "[1/min]", true}},
          {"nistDrive", {"752", "[rps]", true}},
          {"msoll", off},
          {"mist", {"14.00", "[Nm]", true}},
          {"imot", imot}}},
        {4,
         "deg",
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", off},
          {"nist", {"77.00", "[1/min]", true}},
          {"nistDrive", off},
          {"msoll", off},
          {"mist", off},
          {"imot", imot}}},
        {9,
         "deg",
         {{"ssoll", off},
          {"sist", off},
          {"ds", off},
          {"nsoll", off},
          {"nist", off},
          {"nistDrive", off},
          {"msoll", off},
          {"mist", off},
          {"imot", imot}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.controlType) + " \"" + c.positionUnit + "\"");
        Parameter(kPescoAddress, 300).value = static_cast<uint32_t>(c.controlType);
        Parameter(kPescoAddress, 792).text = c.positionUnit;
        // Nine ticks read every entry once, each laying out (mode 0).
        EXPECT_EQ(Tick(pane, 9), 0u);
        EXPECT_EQ(Groups(pane, names), c.groups);
    }
    EXPECT_EQ(Pane(pane)->timer_interval(), 1000u);
}

TEST_F(ValueWindowTest, PescoLaysOutAgainOnEveryTenthTick) {
    AddModel(kPescoAddress);
    NameRunMode(kPescoAddress);  // 151 = 2
    ActivateModel(kPescoAddress);
    int resizes = 0;
    Pane("Pesco_Reference")->set_callback(GwCB_RESIZE, CountResize, GwUD(static_cast<void*>(&resizes)));
    std::vector<int> laidOut;
    for (int tick = 0; tick < 21; ++tick) {
        const int before = resizes;
        Tick("Pesco_Reference");
        if (resizes != before) laidOut.push_back(tick);
    }
    EXPECT_EQ(laidOut, (std::vector<int>{0, 10, 20}));
}

TEST_F(ValueWindowTest, PositioningModuleShowsStateProgramAndLine) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    const char* pane = "Ruvex_PosMod_State";
    ClearCaptures();
    EXPECT_EQ(Tick(pane), 0u);
    EXPECT_EQ(In(pane, "PosState")->text(), "Positioning module state 3");
    EXPECT_EQ(In(pane, "PosProg")->text(), "2");
    EXPECT_EQ(In(pane, "PosLine")->text(), "17");
    EXPECT_EQ(Pane(pane)->timer_interval(), 2000u);
    Parameter(kRuvexAddress, 744).value = 255;
    ClearCaptures();
    Tick(pane);
    EXPECT_EQ(In(pane, "PosProg")->text(), "-");
    EXPECT_EQ(In(pane, "PosLine")->text(), "-");
    EXPECT_EQ(Reads(kRuvexAddress, "20745"), 0);
}

TEST_F(ValueWindowTest, PositioningStateOfADriveWithout757IsUnknown) {
    sim::VirtualDrive& drive = AddModel(kRuvexAddress);
    sim::DriveTable table = StateWindowTable(maintest::kTypeNumber);
    sim::DriveTable without;
    without.type_number = table.type_number;
    without.version = table.version;
    for (int number = 0; number <= sim::kHighestParameter; ++number) {
        if (const sim::DriveParameter* p = table.Find(number); p != nullptr && number != 757) without.Put(*p);
    }
    drive.Table() = without;
    ActivateModel(kRuvexAddress);
    EXPECT_EQ(Tick("Ruvex_PosMod_State"), 0u);
    EXPECT_EQ(In("Ruvex_PosMod_State", "PosState")->text(), "???");
}

TEST_F(ValueWindowTest, DataSetAndDriveSetWindowsShowTheirParameters) {
    AddModel(kMarloAddress);
    AddModel(kPescoAddress);
    ActivateModel(kMarloAddress);
    EXPECT_EQ(Tick("Marlo_Set"), 0u);
    EXPECT_EQ(In("Marlo_Set", "uds")->text(), "77");
    EXPECT_EQ(In("Marlo_Set", "cds")->text(), "4");
    EXPECT_EQ(Pane("Marlo_Set")->timer_interval(), 4000u);
    ActivateModel(kPescoAddress);
    EXPECT_EQ(Tick("Pesco_DriveSet"), 0u);
    EXPECT_EQ(In("Pesco_DriveSet", "ChosenDS")->text(), "2");
    EXPECT_EQ(In("Pesco_DriveSet", "ActiveDS")->text(), "3");
    EXPECT_EQ(Pane("Pesco_DriveSet")->timer_interval(), 3000u);
}

TEST_F(ValueWindowTest, ARefusedTickTouchesNothingAndRestartsNothing) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    ASSERT_TRUE(
        GwRcMgr::use_text("dialogframe OwnPos {\n on timer = Ruvex_Timer_PosMod\n label PosState { }\n"
                          " label PosProg { }\n label PosLine { }\n}\n",
                          "ownpos.cgw"));
    GwCore* window = GwRcMgr::load(frame_, "OwnPos", 1);
    window->show();
    gwtest::Fire(window, "timer");
    ASSERT_EQ(window->child("PosProg")->text(), "2");
    main_->UncoupleAllDevices();
    window->stop_timer();
    gwtest::Fire(window, "timer");
    EXPECT_EQ(window->child("PosProg")->text(), "2");
    EXPECT_FALSE(window->is_timer_running());
}

}  // namespace
}  // namespace statewintest

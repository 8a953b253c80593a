// The parameter freeze around a controller test, against a virtual drive:
// what it reads and writes on the way in and out, the write lock it holds
// meanwhile, the window it disables, and its failures.
#include "families/parameter_freeze.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/system/token_source.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"

namespace devicewintest {
namespace {

constexpr int32_t kToken = 4711;
constexpr char kPage[] = "button Test { }";

class FreezeTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.version = 2251;
        for (auto [number, value] : {std::pair{280, 10}, {281, 20}, {289, 30}, {290, 40}, {284, 7}, {260, 5}}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("P" + std::to_string(number)).c_str(), "INT16", value);
            p->minimum = static_cast<uint32_t>(-1000);
            p->maximum = 1000;
        }
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        platform::SetTokenSource([] { return kToken; });
    }
    void TearDown() override {
        TheParaWriteLock().Reset();
        DeviceWindowTest::TearDown();
    }
    // Opens the page on a context; the capture and the boxes start afresh.
    ParaBase* Open(bool online) {
        TestContext* context = MakeContext(online);
        OpenWindow(kPage, context);
        Drive().ClearCapture();
        MarkBoxes();
        return context->Base.get();
    }
    std::unique_ptr<ParameterFreeze> Freeze(ParaBase* base) {
        return std::make_unique<ParameterFreeze>(base, W("Test"));
    }
    bool FrameEnabled() { return window_->is_enabled(); }
    int32_t OnDrive(int number) { return static_cast<int16_t>(Drive().Table().Find(number)->value); }
};

const std::vector<std::string> kFreezeTelegrams = {
    "R 20280",
    "R 20281",
    "R 20289",
    "R 20290",
    "W 20280=0",
    "W 20281=0",
    "W 20289=0",
    "W 20290=0",
    "W 20284=0",
    "R 20260",
};
const std::vector<std::string> kRestoreTelegrams = {
    "W 20280=A",
    "W 20281=14",
    "W 20289=1E",
    "W 20290=28",
    "W 20260=5",
};

TEST_F(FreezeTest, HoldsTheValuesAtZeroUnderTheLockAndWritesThemBack) {
    ParaBase* base = Open(true);
    auto freeze = Freeze(base);
    ASSERT_TRUE(freeze->Active());
    EXPECT_EQ(freeze->OwnerToken(), kToken);
    EXPECT_EQ(Heard(), kFreezeTelegrams);
    EXPECT_FALSE(FrameEnabled());
    EXPECT_TRUE(NewBoxes().empty());
    for (int number : {280, 281, 289, 290, 284}) EXPECT_TRUE(TheParaWriteLock().IsProtected(number)) << number;

    // Another writer is refused before the drive hears anything.
    Drive().ClearCapture();
    EXPECT_EQ(GetMain()->ActiveParaBase()->WriteValueDouble(280, 7.0), kParaInvalidData);
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(OnDrive(280), 0);

    // A second freeze finds the lock taken.
    auto second = Freeze(base);
    EXPECT_FALSE(second->Active());
    EXPECT_TRUE(Heard().empty());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "The parameters are locked by another window!");
    EXPECT_TRUE(TheParaWriteLock().IsHeld());
    second.reset();
    EXPECT_TRUE(TheParaWriteLock().IsProtected(280));

    MarkBoxes();
    EXPECT_TRUE(freeze->Restore());
    EXPECT_EQ(Heard(), kRestoreTelegrams);
    EXPECT_TRUE(FrameEnabled());
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_EQ(OnDrive(290), 40);
    EXPECT_EQ(OnDrive(284), 0);
    // The scope's end restores nothing twice.
    Drive().ClearCapture();
    freeze.reset();
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_TRUE(Freeze(base)->Active());
}

TEST_F(FreezeTest, TheEndOfTheScopeRestores) {
    ParaBase* base = Open(true);
    { ParameterFreeze freeze(base, W("Test")); }
    std::vector<std::string> expected = kFreezeTelegrams;
    expected.insert(expected.end(), kRestoreTelegrams.begin(), kRestoreTelegrams.end());
    EXPECT_EQ(Heard(), expected);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

TEST_F(FreezeTest, ARefusedRestoreStopsThereAndFreesTheLock) {
    ParaBase* base = Open(true);
    auto freeze = Freeze(base);
    ASSERT_TRUE(freeze->Active());
    Drive().ClearCapture();
    Drive().Table().Find(289)->read_only = true;
    EXPECT_FALSE(freeze->Restore());
    const std::vector<std::string> heard = Heard();
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0], "W 20280=A");
    EXPECT_EQ(heard[1], "W 20281=14");
    for (const std::string& t : heard) {
        EXPECT_EQ(t.find("20290"), std::string::npos) << t;
        EXPECT_EQ(t.find("20260"), std::string::npos) << t;
    }
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text,
              "RS232 transmission error in parameter 289-P289 : \nInvalid writeaccess to parameter!");
    EXPECT_TRUE(FrameEnabled());
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_FALSE(TheParaWriteLock().IsProtected(290));
    Drive().Table().Find(289)->read_only = false;
    EXPECT_TRUE(Freeze(base)->Active());
}

TEST_F(FreezeTest, AConstructionThatFailsPutsBackWhatItWroteAndFreesTheLock) {
    struct Case {
        const char* name;
        std::function<void(sim::VirtualDrive&)> breakDrive;
        std::vector<std::string> writes;  // the writes heard, in order
        const char* error;
    } cases[] = {
        {"refused write of 289",
         [](sim::VirtualDrive& drive) { drive.Table().Find(289)->read_only = true; },
         {"W 20280=0", "W 20281=0", "W 20289=0", "W 20280=A", "W 20281=14"},
         "RS232 transmission error in parameter 289-P289 : \nInvalid writeaccess to parameter!"},
        {"refused write of 290",
         [](sim::VirtualDrive& drive) { drive.Table().Find(290)->read_only = true; },
         {"W 20280=0", "W 20281=0", "W 20289=0", "W 20290=0", "W 20280=A", "W 20281=14", "W 20289=1E"},
         "RS232 transmission error in parameter 290-P290 : \nInvalid writeaccess to parameter!"},
        {"failed read of 281",
         [](sim::VirtualDrive& drive) { drive.AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20281")); },
         {},
         "RS232 transmission error in parameter 281-P281 : \nDevice canceled last telegram!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParaBase* base = Open(true);
        c.breakDrive(Drive());
        {
            ParameterFreeze freeze(base, W("Test"));
            EXPECT_FALSE(freeze.Active());
            EXPECT_TRUE(FrameEnabled());
            EXPECT_FALSE(TheParaWriteLock().IsHeld());
        }
        std::vector<std::string> writes;
        for (const std::string& t : Heard()) {
            if (t.rfind("W ", 0) == 0) writes.push_back(t);
        }
        // Nothing is written back at the scope's end either.
        EXPECT_EQ(writes, c.writes);
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].kind, "error");
        EXPECT_EQ(NewBoxes()[0].text, c.error);
        for (int n : {289, 290}) Drive().Table().Find(n)->read_only = false;
        for (auto [number, value] : {std::pair{280, 10u}, {281, 20u}, {289, 30u}, {290, 40u}}) {
            Drive().Table().Find(number)->value = value;
        }
    }
}

TEST_F(FreezeTest, OfflineOnlyTheTableChanges) {
    ParaBase* base = Open(false);
    auto freeze = Freeze(base);
    ASSERT_TRUE(freeze->Active());
    double value = -1;
    for (int number : {280, 281, 289, 290, 284}) {
        ASSERT_EQ(base->GetValueDouble(number, &value), 0);
        EXPECT_EQ(value, 0.0) << number;
    }
    EXPECT_FALSE(FrameEnabled());
    EXPECT_TRUE(freeze->Restore());
    for (auto [number, expected] : {std::pair{280, 10.0}, {281, 20.0}, {289, 30.0}, {290, 40.0}, {260, 5.0}}) {
        ASSERT_EQ(base->GetValueDouble(number, &value), 0);
        EXPECT_EQ(value, expected) << number;
    }
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(OnDrive(280), 10);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

}  // namespace
}  // namespace devicewintest

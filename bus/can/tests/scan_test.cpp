// Network scan and device search of the CANopen bus on the virtual clock:
// nodes registered with type and version, the short reply wait and its
// restoration, and the node range.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/services/basic_slider.h"
#include "bus/can/tests/can_fixture.h"
#include "testsupport/test_env.h"

namespace cantest {
namespace {

class RecordingSlider : public BasicSlider {
public:
    void SetMinimum(unsigned) override {}
    void SetMaximum(unsigned n) override { maximum = n; }
    void SetStep(unsigned) override {}
    void SetValue(unsigned value) override { values.push_back(value); }
    void StepIt() override {}
    void StepBy(unsigned) override {}
    int GetValue() override { return values.empty() ? 0 : static_cast<int>(values.back()); }
    int GetMinimum() override { return 0; }
    int GetMaximum() override { return static_cast<int>(maximum); }
    int GetStep() override { return 1; }

    unsigned maximum = 0;
    std::vector<unsigned> values;
};

// Nodes the program addressed, from the SDO requests it wrote.
std::set<int> AddressedNodes() {
    std::set<int> nodes;
    for (const sim::CapturedFrame& f : sim::TheVirtualCanBus().Capture())
        if (f.from_program && f.frame.id >= 0x600 && f.frame.id < 0x680)
            nodes.insert(static_cast<int>(f.frame.id - 0x600));
    return nodes;
}

class ScanTest : public CanBusTest {};

TEST_F(ScanTest, RegistersEveryAnsweringNodeWithTypeAndVersion) {
    AddNode(3, StandardTable(4120, 100));
    AddNode(7, StandardTable(5001, 620));
    AddNode(31);  // answers, but the device table has no place for it
    CCanOpenTarn& bus = Open();
    bus.SetSdoTimeout(750);
    RecordingSlider slider;

    const uint64_t start = NowMs();
    ASSERT_TRUE(bus.CheckDevice(&slider));
    // 29 silent nodes at 100 ms each; the two drives answer at once.
    EXPECT_EQ(NowMs() - start, 29u * kSdoScanTimeoutMs);
    EXPECT_EQ(bus.GetSdoTimeout(), 750u);

    EXPECT_EQ(bus.GetDeviceCount(), 2);
    ASSERT_NE(bus.GetDevice(3), nullptr);
    EXPECT_EQ(bus.GetDevice(3)->typeNumber, 4120);
    EXPECT_FLOAT_EQ(bus.GetDevice(3)->version, 5.0f);
    ASSERT_NE(bus.GetDevice(7), nullptr);
    EXPECT_EQ(bus.GetDevice(7)->typeNumber, 5001);
    EXPECT_FLOAT_EQ(bus.GetDevice(7)->version, 31.0f);
    EXPECT_EQ(bus.GetDevice(0), nullptr);

    std::set<int> expected;
    for (int node = 0; node <= 31; ++node) expected.insert(node);
    EXPECT_EQ(AddressedNodes(), expected);
    EXPECT_EQ(slider.maximum, 32u);
    EXPECT_EQ(slider.values.back(), 32u);
}

int LogCount(const std::string& text) {
    const std::string log = testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt"));
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) ++count;
    return count;
}

TEST_F(ScanTest, SearchAndScanAskNodes0To31AndLeaveNode31Unregistered) {
    const std::string node31Entry =
        "CANopen device search: node 31 answered, but the device table holds nodes 0 to 30 only; not registered";
    const struct {
        const char* name;
        bool scan;
        std::vector<int> present;
        int lastAsked;
        std::set<int> registered;
        int error;  // 0: success
    } cases[] = {
        {"scan", true, {3, 31}, 31, {3}, 0},
        {"scan with node 31 alone", true, {31}, 31, {}, kCanErrorNoDeviceFound},
        {"search with node 31 alone", false, {31}, 31, {}, kCanErrorNoDeviceFound},
        {"search stops at the first", false, {5, 31}, 5, {5}, 0},
    };
    for (const auto& c : cases) {
        nodes_.clear();
        Adapter().Reset();
        for (int node : c.present) AddNode(node);
        CCanOpenTarn& bus = Open();
        RecordingSlider slider;
        const int logged = LogCount(node31Entry);
        const bool ok = c.scan ? bus.CheckDevice(&slider) : bus.ConnectDevice(&slider);
        EXPECT_EQ(ok, c.error == 0) << c.name;
        if (c.error != 0) {
            EXPECT_EQ(bus.GetLastError(), c.error) << c.name;
        }

        std::set<int> asked;
        std::vector<unsigned> values;
        for (int node = 0; node <= c.lastAsked; ++node) {
            asked.insert(node);
            values.push_back(static_cast<unsigned>(node + 1));
        }
        EXPECT_EQ(AddressedNodes(), asked) << c.name;
        EXPECT_EQ(slider.maximum, 32u) << c.name;
        EXPECT_EQ(slider.values, values) << c.name;
        std::set<int> registered;
        for (int node = 0; node <= kHighestDeviceAddress; ++node)
            if (bus.GetDevice(node) != nullptr) registered.insert(node);
        EXPECT_EQ(registered, c.registered) << c.name;
        EXPECT_EQ(bus.GetDeviceCount(), static_cast<int16_t>(c.registered.size())) << c.name;
        const bool node31Answered = c.lastAsked == 31;
        EXPECT_EQ(LogCount(node31Entry) - logged, node31Answered ? 1 : 0) << c.name;
        bus_.reset();
    }
}

TEST_F(ScanTest, NoNodeGivesError2AndAnEmptyTable) {
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {4});
    EXPECT_FALSE(bus.CheckDevice(nullptr));
    EXPECT_EQ(bus.GetLastError(), kCanErrorNoDeviceFound);
    EXPECT_EQ(bus.GetCategoryCount(2), 1u);
    EXPECT_EQ(bus.GetDeviceCount(), 0);
    EXPECT_EQ(bus.GetDevice(4), nullptr);
    EXPECT_EQ(bus.GetSdoTimeout(), kSdoReplyTimeoutMs);

    EXPECT_FALSE(bus.ConnectDevice(nullptr));
    EXPECT_EQ(bus.GetLastError(), kCanErrorNoDeviceFound);
    EXPECT_EQ(bus.GetSdoTimeout(), kSdoReplyTimeoutMs);
}

TEST_F(ScanTest, TheSearchRegistersTheFirstNodeThatAnswers) {
    AddNode(7, StandardTable(5001, 620));
    AddNode(3, StandardTable(4120, 100));
    CCanOpenTarn& bus = Open();
    const uint64_t start = NowMs();
    ASSERT_TRUE(bus.ConnectDevice(nullptr));
    EXPECT_EQ(NowMs() - start, 3u * kSdoScanTimeoutMs);
    EXPECT_EQ(bus.GetDeviceCount(), 1);
    ASSERT_NE(bus.GetDevice(3), nullptr);
    EXPECT_EQ(bus.GetDevice(3)->typeNumber, 4120);
    EXPECT_EQ(bus.GetDevice(7), nullptr);
    EXPECT_EQ(bus.GetSdoTimeout(), kSdoReplyTimeoutMs);
}

TEST_F(ScanTest, TheSearchAsksTheOwnNodeFirstWhenItHasARecord) {
    sim::CanDriveNode& own = AddNode(kOwnNode, StandardTable(4120, 200));
    AddNode(0);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {kOwnNode});
    ASSERT_TRUE(bus.ConnectDevice(nullptr));
    EXPECT_EQ(AddressedNodes(), std::set<int>{kOwnNode});
    EXPECT_FLOAT_EQ(bus.GetDevice(kOwnNode)->version, 10.0f);

    // A silent own node fails the search; the table keeps its record.
    own.AddFault(sim::CanFault::Silence().Times(sim::kForever));
    EXPECT_FALSE(bus.ConnectDevice(nullptr));
    EXPECT_EQ(bus.GetLastError(), kCanErrorSdoTimeout);
    EXPECT_NE(bus.GetDevice(kOwnNode), nullptr);
    EXPECT_EQ(bus.GetSdoTimeout(), kSdoReplyTimeoutMs);
}

}  // namespace
}  // namespace cantest

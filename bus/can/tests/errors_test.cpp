// The CANopen bus's failures: abort codes, reply time-outs on the clock the
// test controls, missing device records, element widths, error categories
// and the error texts' keys.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bus/can/tests/can_fixture.h"
#include "testsupport/test_env.h"

namespace cantest {
namespace {

using sim::CanFault;

class ErrorTest : public CanBusTest {};

TEST_F(ErrorTest, AbortCodesMapToBusErrorsAndCategories) {
    struct Case {
        uint32_t abort;
        int error;
        uint32_t category;
    };
    const Case cases[] = {
        {0x06010000, kCanErrorUnsupportedAccess, 9},
        {0x06020000, kCanErrorNoObject, 10},
        {0x06090030, kCanErrorValueRange, 11},
        {0x06090011, kCanErrorAbort, 12},
        {0x08000000, kCanErrorAbort, 12},
        {0x00000000, kCanErrorAbort, 12},
    };
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.abort);
        EXPECT_EQ(CanAbortToError(c.abort), c.error);
        node.AddFault(CanFault::Abort(c.abort));
        const uint32_t before = bus.GetCategoryCount(static_cast<int>(c.category));
        EXPECT_FALSE(bus.WriteParameterValue(kValueParameter, 1, 2));
        EXPECT_EQ(bus.GetLastError(), c.error);
        EXPECT_EQ(bus.GetLastAbortCode(), c.abort);
        EXPECT_EQ(bus.GetCategoryCount(static_cast<int>(c.category)), before + 1);
        EXPECT_EQ(bus.GetLastCategory(), c.category);
    }
}

TEST_F(ErrorTest, TheDrivesOwnRefusalsComeAsAborts) {
    sim::CanDriveNode& node = AddNode(2);
    node.Table().Find(kValueParameter)->maximum = 100;
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    EXPECT_FALSE(bus.WriteParameterValue(kValueParameter, 101, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueRange);
    EXPECT_FALSE(bus.WriteParameterValue(kTypeParameter, 1, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorUnsupportedAccess);
    int32_t value = 0;
    EXPECT_FALSE(bus.ReadParameterValue(999, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorNoObject);
    // A success leaves the last error as it was.
    EXPECT_TRUE(bus.ReadParameterValue(kValueParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorNoObject);
}

// Each slot against a drive that never answers, on the virtual clock.
TEST_F(ErrorTest, EverySlotWithoutReplyEndsAfterTheReplyWaitWithItsCode) {
    AddNode(2).AddFault(CanFault::Silence().Times(sim::kForever));
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    int32_t value = 0;
    dstring text;
    uint16_t elements[3] = {1, 2, 3};
    struct Case {
        const char* slot;
        std::function<bool()> call;
        int error;
    };
    const Case cases[] = {
        {"ReadParameterValue", [&] { return bus.ReadParameterValue(kValueParameter, value, 2); }, kCanErrorSdoTimeout},
        {"WriteParameterValue", [&] { return bus.WriteParameterValue(kValueParameter, 1, 2); }, kCanErrorSdoTimeout},
        {"ReadParameterText", [&] { return bus.ReadParameterText(kTextParameter, text, 2); }, kCanErrorSdoTimeout},
        {"WriteParameterText", [&] { return bus.WriteParameterText(kTextParameter, "x", 2); }, kCanErrorTransfer},
        {"ReadBlock",
         [&] {
             uint16_t count = 3;
             return bus.ReadBlock(kArrayParameter, elements, 0, count, 2, 2);
         },
         kCanErrorTransfer},
        {"WriteBlock", [&] { return bus.WriteBlock(kArrayParameter, elements, 0, 3, 2, 2); }, kCanErrorSdoTimeout},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        Adapter().ClearCapture();
        const uint32_t failed = BusRequestCounters.failed;
        const uint64_t start = NowMs();
        EXPECT_FALSE(c.call());
        EXPECT_EQ(NowMs() - start, kSdoReplyTimeoutMs) << "one request, one wait";
        // The request, and the abort that frees a drive that heard it late.
        ASSERT_EQ(Written().size(), 2u);
        EXPECT_EQ(Written()[1].substr(0, 8), "602: 80 ");
        EXPECT_TRUE(Written()[1].ends_with(" 00 00 04 05"));
        EXPECT_EQ(bus.GetLastError(), c.error);
        EXPECT_EQ(BusRequestCounters.failed, failed + 1);
    }
    EXPECT_EQ(bus.GetCategoryCount(7), 4u);
    EXPECT_EQ(bus.GetCategoryCount(15), 2u);
    EXPECT_STREQ(bus.GetErrorText(), "CANOpen_M05");

    // The request registers fail with the slots they use.
    ParameterEntry entry;
    bool notPresent = true;
    EXPECT_FALSE(bus.ReadParameterInfo(kValueParameter, entry, notPresent, 2));
    EXPECT_FALSE(notPresent);
    EXPECT_EQ(bus.ReadValueText(kEnumParameter, 1, text, 2), nullptr);
}

// A full transmit queue refuses the request: the transfer ends at once with
// the adapter's error, not at the end of a reply wait for a frame that never
// went out, and the log says what the adapter answered.
TEST_F(ErrorTest, ARequestTheAdapterRefusesEndsTheTransferAtOnce) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    Adapter().ClearCapture();
    Adapter().RefuseWrites(1);
    int32_t value = 0;
    const uint64_t start = NowMs();
    EXPECT_FALSE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_LT(NowMs() - start, 10u);
    EXPECT_EQ(bus.GetLastError(), kCanErrorAdapterRefused);
    EXPECT_EQ(bus.GetCategoryCount(5), 1u);
    EXPECT_STREQ(bus.GetErrorText(), "CANOpen_M04");
    EXPECT_TRUE(Written().empty());
    EXPECT_NE(testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt"))
                  .find("the adapter refused the SDO request to node 2 (CAN_Write 0x0001, adapter status 0x0001)"),
              std::string::npos);
    ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_EQ(value, 5000);

    // Refused in the middle of a segmented transfer: the drive, which is in
    // it, is sent the abort once the adapter takes frames again.
    node.Table().Find(kTextParameter)->text = "Spindle axis 2";
    Adapter().ClearCapture();
    Adapter().RefuseWrites(1, 1);
    dstring text;
    EXPECT_FALSE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorAdapterRefused);
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 40 82 20 00 00 00 00 00", "602: 80 82 20 00 00 00 00 08"}));
    EXPECT_EQ(node.AbortsHeard(), std::vector<uint32_t>{sim::kAbortGeneral});
    EXPECT_FALSE(node.TransferOpen());
    EXPECT_EQ(Adapter().RefusedWrites(), 2);
}

TEST_F(ErrorTest, AReplyWithinTheWaitIsTaken) {
    AddNode(2).AddFault(CanFault::Delay(1999'000));
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    int32_t value = 0;
    const uint64_t start = NowMs();
    ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_EQ(NowMs() - start, 1999u);
    EXPECT_EQ(value, 5000);
}

TEST_F(ErrorTest, SlotsForANodeWithoutRecordFailWithoutTrafficButTheValueReadGoesOut) {
    AddNode(5);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    int32_t value = 0;
    dstring text;
    uint16_t elements[2] = {};
    uint16_t count = 2;
    EXPECT_FALSE(bus.ReadBlock(kArrayParameter, elements, 0, count, 2, 5));
    EXPECT_FALSE(bus.ReadParameterText(kTextParameter, text, 5));
    EXPECT_FALSE(bus.WriteBlock(kArrayParameter, elements, 0, 2, 2, 5));
    EXPECT_FALSE(bus.WriteParameterText(kTextParameter, "x", 5));
    EXPECT_FALSE(bus.WriteParameterValue(kValueParameter, 1, 5));
    EXPECT_EQ(bus.GetLastError(), kCanErrorNoDeviceRecord);
    EXPECT_EQ(bus.GetCategoryCount(1), 5u);
    EXPECT_TRUE(Written().empty());

    ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 5));
    EXPECT_EQ(value, 5000);
    EXPECT_FALSE(bus.ReadParameterValue(kTypeParameter, value, 128));
    EXPECT_EQ(bus.GetLastError(), kCanErrorNoDeviceRecord);
    EXPECT_EQ(Written(), (std::vector<std::string>{"605: 40 5B 20 00 00 00 00 00"}));
}

TEST_F(ErrorTest, BlocksOfAnotherElementWidthAreRefusedBeforeAnyRequest) {
    AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    uint8_t bytes[6] = {};
    uint16_t count = 2;
    EXPECT_FALSE(bus.ReadBlock(kArrayParameter, bytes, 0, count, 3, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueRange);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(bus.WriteBlock(kArrayParameter, bytes, 0, 2, 3, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueRange);
    EXPECT_TRUE(Written().empty());

    // Elements beyond what a subindex can address are not read as others.
    EXPECT_FALSE(bus.WriteBlock(kArrayParameter, bytes, 255, 1, 1, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueRange);
    EXPECT_TRUE(Written().empty());
}

}  // namespace
}  // namespace cantest

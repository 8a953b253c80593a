// The SDO transfers of the CANopen bus against the virtual drive, byte for
// byte from the virtual bus's capture: expedited and segmented, uploads that
// would not fit their buffers, and replies that belong to another request.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "bus/can/tests/can_fixture.h"

namespace cantest {
namespace {

using sim::CanFault;

class SdoTest : public CanBusTest {};

TEST_F(SdoTest, ValueWriteAndReadAreExpeditedTransfers) {
    sim::CanDriveNode& node2 = AddNode(2);
    AddNode(1);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});

    ASSERT_TRUE(bus.WriteParameterValue(kValueParameter, 0x1234, 2));
    EXPECT_EQ(node2.Table().Find(kValueParameter)->value, 0x1234u);
    int32_t value = 0;
    ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 1));  // node 1 has no record
    EXPECT_EQ(value, 5000);
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 22 64 20 00 34 12 00 00", "601: 40 5B 20 00 00 00 00 00"}));

    std::vector<std::string> replies;
    for (const sim::CapturedFrame& f : Adapter().Capture())
        if (!f.from_program) replies.push_back(sim::HexFrameBytes(f.frame));
    EXPECT_EQ(replies, (std::vector<std::string>{"60 64 20 00 00 00 00 00", "43 5B 20 00 88 13 00 00"}));
    EXPECT_EQ(bus.GetLastError(), 0);
}

TEST_F(SdoTest, ParameterNumbersFrom4096AreObjectIndexesThemselves) {
    sim::CanDriveNode& node = AddNode(2);
    node.AddFault(CanFault::RawReply({0x43, 0x88, 0x13, 0x00, 0x2A, 0, 0, 0}).For(0x1388));
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    int32_t value = 0;
    ASSERT_TRUE(bus.ReadParameterValue(5000, value, 2));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 40 88 13 00 00 00 00 00"}));
}

TEST_F(SdoTest, BlockElementsGoOneByOneToTheirSubindexes) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});

    const int16_t written[2] = {-5, 7};
    ASSERT_TRUE(bus.WriteBlock(kSignedArrayParameter, written, 3, 2, 2, 2));
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 2A C9 20 04 FB FF 00 00", "602: 2A C9 20 05 07 00 00 00"}));
    EXPECT_EQ(node.Table().Find(kSignedArrayParameter)->elements[3], static_cast<uint32_t>(-5));

    // Reads stop where the device has no more elements.
    Adapter().ClearCapture();
    uint16_t out[4] = {};
    uint16_t count = 4;
    ASSERT_TRUE(bus.ReadBlock(kArrayParameter, out, 38, count, 2, 2));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(out[0], 114);
    EXPECT_EQ(out[1], 117);
    EXPECT_EQ(Written(),
              (std::vector<std::string>{
                  "602: 40 C8 20 27 00 00 00 00", "602: 40 C8 20 28 00 00 00 00", "602: 40 C8 20 29 00 00 00 00"}));

    // Drives of families 3 and 4 count elements from subindex 0.
    Adapter().ClearCapture();
    CanArraySubindexOffset = 0;
    count = 1;
    ASSERT_TRUE(bus.ReadBlock(kArrayParameter, out, 38, count, 2, 2));
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 40 C8 20 26 00 00 00 00"}));
}

TEST_F(SdoTest, ATextGoesWithItsTerminatorInSegmentsOfSeven) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});

    ASSERT_TRUE(bus.WriteParameterText(kTextParameter, "Spindle 2", 2));
    EXPECT_EQ(Written(),
              (std::vector<std::string>{
                  "602: 21 82 20 00 0A 00 00 00", "602: 00 53 70 69 6E 64 6C 65", "602: 19 20 32 00 00 00 00 00"}));
    EXPECT_EQ(node.Table().Find(kTextParameter)->text, "Spindle 2");

    Adapter().ClearCapture();
    ASSERT_TRUE(bus.WriteParameterText(kTextParameter, "Ab", 2));
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 26 82 20 00 41 62 00 00"}));
    EXPECT_EQ(node.Table().Find(kTextParameter)->text, "Ab");
}

TEST_F(SdoTest, ATextUploadFollowsTheSegmentsWithToggle) {
    sim::CanDriveNode& node = AddNode(2);
    node.Table().Find(kTextParameter)->text = "Axis number one, left";  // 21 characters
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    dstring text;
    ASSERT_TRUE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_STREQ(text.Text(), "Axis number one, left");
    EXPECT_EQ(Written(),
              (std::vector<std::string>{"602: 40 82 20 00 00 00 00 00",
                                        "602: 60 00 00 00 00 00 00 00",
                                        "602: 70 00 00 00 00 00 00 00",
                                        "602: 60 00 00 00 00 00 00 00"}));

    node.Table().Find(kTextParameter)->text = "";
    ASSERT_TRUE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_STREQ(text.Text(), "");
}

TEST_F(SdoTest, DescriptionsAndValueTextsComeThroughTheRequestRegisters) {
    sim::CanDriveNode& node = AddNode(2);
    sim::DriveParameter units;
    units.number = 107;
    units.name = "UNITS";
    units.type = sim::FindDriveType("USIGN8");
    units.value_texts = {{3, "rpm"}};
    node.Table().Put(units);
    sim::DriveParameter* p = node.Table().Find(kEnumParameter);
    p->name = "MODEXY";
    p->unit_index = 3;
    p->kind = '1';
    p->read_level = 2;
    p->write_level = 3;
    p->keypad_group = 5;
    p->sc_group = 10;
    p->default_value = 1;
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});

    ParameterEntry entry;
    bool notPresent = true;
    ASSERT_TRUE(bus.ReadParameterInfo(kEnumParameter, entry, notPresent, 2));
    EXPECT_FALSE(notPresent);
    EXPECT_EQ(entry.number, kEnumParameter);
    EXPECT_STREQ(entry.name, "MODEX");
    EXPECT_STREQ(entry.unit, "rpm");
    EXPECT_EQ(entry.kind, '1');
    EXPECT_EQ(entry.type, '2');
    EXPECT_EQ(entry.maximum, 1);
    EXPECT_EQ(entry.defaultValue, 1);
    EXPECT_EQ(entry.access, 0x32);
    EXPECT_EQ(entry.flags, sim::kFlagValueTexts);
    EXPECT_EQ(entry.KPGroup, 5);
    EXPECT_EQ(entry.SCGroup, 10);
    // The number goes to 34 as text with its terminator.
    EXPECT_EQ(Written().front(), "602: 22 22 20 00 31 32 30 00");

    dstring text;
    EXPECT_STREQ(bus.ReadValueText(kEnumParameter, 1, text, 2), "On");
    EXPECT_STREQ(bus.ReadValueText(kEnumParameter, 7, text, 2), "");
    EXPECT_EQ(bus.ReadValueText(999, 0, text, 2), nullptr);
    EXPECT_FALSE(bus.ReadParameterInfo(999, entry, notPresent, 2));
    EXPECT_TRUE(notPresent);
}

// Replies scripted for one object: the initiate reply, then segments.
void Script(sim::CanDriveNode& node, uint16_t object, std::vector<std::vector<uint8_t>> replies) {
    for (auto& reply : replies) node.AddFault(CanFault::RawReply(std::move(reply)).For(object));
}

std::vector<uint8_t> SizeReply(uint16_t object, uint8_t subindex, uint32_t size) {
    return {0x41,
            static_cast<uint8_t>(object),
            static_cast<uint8_t>(object >> 8),
            subindex,
            static_cast<uint8_t>(size),
            static_cast<uint8_t>(size >> 8),
            0,
            0};
}

TEST_F(SdoTest, UploadsThatWouldNotFitTheirBufferFailWithoutWritingPastIt) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});

    // A value read of nine bytes is a value longer than four bytes.
    node.Table().Find(kTextParameter)->text = "123456789";
    int32_t value = 0;
    EXPECT_FALSE(bus.ReadParameterValue(kTextParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueTooLong);

    // A text beyond the transfer buffer is refused at its size.
    node.Table().Find(kTextParameter)->text = std::string(100, 'x');
    Adapter().ClearCapture();
    dstring text;
    EXPECT_FALSE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorTransfer);
    EXPECT_EQ(Written(), (std::vector<std::string>{"602: 40 82 20 00 00 00 00 00", "602: 80 82 20 00 05 00 04 05"}))
        << "no segment is asked for; the abort frees the drive";

    // A block element that comes segmented is no element of 4 bytes: a
    // value longer than 4 bytes.
    Script(node, Object(kArrayParameter), {SizeReply(Object(kArrayParameter), 1, 6)});
    uint32_t elements[2] = {};
    uint16_t count = 2;
    EXPECT_FALSE(bus.ReadBlock(kArrayParameter, elements, 0, count, 4, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueTooLong);
    EXPECT_EQ(count, 0);

    // A device that announces four bytes and sends segments without end.
    std::vector<std::vector<uint8_t>> endless{SizeReply(Object(kValueParameter), 0, 4)};
    for (int i = 0; i < 16; ++i) endless.push_back({static_cast<uint8_t>(i % 2 ? 0x10 : 0x00), 1, 2, 3, 4, 5, 6, 7});
    Script(node, Object(kValueParameter), endless);
    EXPECT_FALSE(bus.ReadParameterValue(kValueParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueTooLong);
    EXPECT_EQ(node.FaultsLeft(), 1u) << "stops at the segment that would not fit";
}

// Whatever makes the master give a transfer up, the drive hears an abort
// with the reason, leaves the transfer, and takes the next request as new.
TEST_F(SdoTest, ATransferTheMasterGivesUpIsAbortedSoTheDriveIsFreeAgain) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    int32_t value = 0;
    dstring text;
    const struct {
        const char* what;
        std::string text;  // of kTextParameter
        std::function<bool()> call;
        uint32_t abort;
    } cases[] = {
        {"a text over 99 bytes",
         std::string(100, 't'),
         [&] { return bus.ReadParameterText(kTextParameter, text, 2); },
         sim::kAbortOutOfMemory},
        {"a value over 100 bytes",
         std::string(101, 'v'),
         [&] { return bus.ReadParameterValue(kTextParameter, value, 2); },
         sim::kAbortOutOfMemory},
        {"a block element over 4 bytes",
         "123456789",
         [&] {
             // The text read as element 0 at subindex 0: nine bytes, segmented.
             CanArraySubindexOffset = 0;
             uint32_t element = 0;
             uint16_t count = 1;
             return bus.ReadBlock(kTextParameter, &element, 0, count, 4, 2);
         },
         sim::kAbortOutOfMemory},
        {"a reply that comes after the wait",
         "Axis one",
         [&] {
             node.AddFault(CanFault::Delay(2500'000));
             return bus.ReadParameterText(kTextParameter, text, 2);
         },
         sim::kAbortTimedOut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        node.Table().Find(kTextParameter)->text = c.text;
        const size_t heard = node.AbortsHeard().size();
        EXPECT_FALSE(c.call());
        ASSERT_EQ(node.AbortsHeard().size(), heard + 1);
        EXPECT_EQ(node.AbortsHeard().back(), c.abort);
        EXPECT_FALSE(node.TransferOpen());
        ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 2));
        EXPECT_EQ(value, 5000);
    }
    // A drive that aborts ends the transfer itself and is owed nothing.
    node.AddFault(CanFault::Abort(sim::kAbortGeneral));
    EXPECT_FALSE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_EQ(node.AbortsHeard().size(), 4u);
}

TEST_F(SdoTest, AValueReadOfALongerObjectTakesItsSegmentsBeforeItFails) {
    sim::CanDriveNode& node = AddNode(2);
    node.Table().Find(kTextParameter)->text = "123456789";
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    int32_t value = 0;
    EXPECT_FALSE(bus.ReadParameterValue(kTextParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorValueTooLong);
    EXPECT_EQ(bus.GetCategoryCount(6), 1u);
    // The drive's transfer ends with its last segment, so the next request
    // finds it ready.
    EXPECT_EQ(Written(),
              (std::vector<std::string>{
                  "602: 40 82 20 00 00 00 00 00", "602: 60 00 00 00 00 00 00 00", "602: 70 00 00 00 00 00 00 00"}));
    ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_EQ(value, 5000);
}

TEST_F(SdoTest, ASegmentedUploadWithoutSizeGivesTheBytesReceived) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    const uint16_t object = Object(kTextParameter);
    Script(node,
           object,
           {{0x40, static_cast<uint8_t>(object), static_cast<uint8_t>(object >> 8), 0, 0, 0, 0, 0},
            {0x00, 'S', 'p', 'i', 'n', 'd', 'l', 'e'},
            {0x1B, ' ', '2', 0, 0, 0, 0, 0}});
    dstring text;
    ASSERT_TRUE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_STREQ(text.Text(), "Spindle 2");
    EXPECT_EQ(Written(),
              (std::vector<std::string>{
                  "602: 40 82 20 00 00 00 00 00", "602: 60 00 00 00 00 00 00 00", "602: 70 00 00 00 00 00 00 00"}));
}

TEST_F(SdoTest, SegmentRepliesOutOfStepAreAProtocolError) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    Script(node,
           Object(kTextParameter),
           {SizeReply(Object(kTextParameter), 0, 10), {0x10, 'a', 'b', 'c', 'd', 'e', 'f', 'g'}});
    dstring text;
    EXPECT_FALSE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorTransfer);

    // Fewer bytes than announced.
    Script(node, Object(kTextParameter), {SizeReply(Object(kTextParameter), 0, 10), {0x0B, 'a', 'b', 'c', 0, 0, 0, 0}});
    EXPECT_FALSE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorTransfer);
}

TEST_F(SdoTest, RepliesThatNameAnotherObjectBelongToAnotherRequest) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    // The reply to the first read comes after its wait has ended, while the
    // second read waits for its own.
    node.AddFault(CanFault::Delay(2100'000).For(Object(kTypeParameter)));
    node.AddFault(CanFault::Delay(300'000).For(Object(kValueParameter)));
    node.Table().Find(kValueParameter)->value = 77;

    int32_t value = 0;
    const uint64_t start = NowMs();
    EXPECT_FALSE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorSdoTimeout);
    EXPECT_EQ(NowMs() - start, 2000u);
    ASSERT_TRUE(bus.ReadParameterValue(kValueParameter, value, 2));
    EXPECT_EQ(value, 77);

    // An abort for another object is no answer either.
    node.AddFault(CanFault::RawReply({0x80, 0x5C, 0x20, 0x00, 0x00, 0x00, 0x02, 0x06}).For(Object(kTypeParameter)));
    EXPECT_FALSE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorSdoTimeout);

    // A reply from another node never reaches the request's reply object.
    node.AddFault(CanFault::Silence());
    Adapter().Inject(sim::CanFrame::Data(0x583, {0x43, 0x5B, 0x20, 0x00, 0x01, 0x00, 0x00, 0x00}), 10'000);
    EXPECT_FALSE(bus.ReadParameterValue(kTypeParameter, value, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorSdoTimeout);

    // A download confirmed for another object is not confirmed.
    node.AddFault(CanFault::RawReply({0x60, 0x64, 0x20, 0x01, 0, 0, 0, 0}).For(Object(kValueParameter)));
    EXPECT_FALSE(bus.WriteParameterValue(kValueParameter, 5, 2));
    EXPECT_EQ(bus.GetLastError(), kCanErrorSdoTimeout);
}

TEST_F(SdoTest, AnUploadReplyOfAnotherKindIsAProtocolError) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    node.AddFault(CanFault::RawReply({0x60, 0x64, 0x20, 0x00, 0, 0, 0, 0}).For(Object(kValueParameter)));
    size_t length = 99;
    uint8_t buffer[4];
    EXPECT_EQ(bus.CanSdoUpload(Object(kValueParameter), 0, buffer, sizeof buffer, length, 2), kSdoProtocolError);
    EXPECT_EQ(length, 0u);
}

TEST_F(SdoTest, ADownloadAnsweredByAnythingButItsConfirmationFails) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});
    const uint8_t value[4] = {1, 2, 3, 4};
    // An upload reply naming the right object is still no confirmation.
    node.AddFault(CanFault::RawReply({0x43, 0x64, 0x20, 0x00, 0, 0, 0, 0}).For(Object(kValueParameter)));
    EXPECT_EQ(bus.CanSdoDownload(Object(kValueParameter), 0, sizeof value, value, 2), kSdoProtocolError);
    // The confirmed download goes through.
    EXPECT_EQ(bus.CanSdoDownload(Object(kValueParameter), 0, sizeof value, value, 2), kSdoOk);
    EXPECT_EQ(node.Table().Find(kValueParameter)->value, 0x04030201u);
}

}  // namespace
}  // namespace cantest

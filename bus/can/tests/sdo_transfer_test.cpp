// The SDO client transfer on its own: each request it gives and what each
// reply makes of it, with no adapter, worker or clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bus/can/sdo_transfer.h"

namespace {

constexpr uint16_t kIndex = 0x2082;
constexpr uint8_t kSubindex = 0;

SdoFrame F(std::initializer_list<uint8_t> bytes) {
    SdoFrame frame{};
    size_t i = 0;
    for (uint8_t b : bytes) frame[i++] = b;
    return frame;
}

std::string Hex(const SdoFrame& frame) {
    std::string text;
    for (uint8_t b : frame) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", b);
        if (!text.empty()) text += ' ';
        text += pair;
    }
    return text;
}

// One exchange of a conversation: the request the transfer must give, the
// reply it gets and the step that makes.
struct Exchange {
    std::string request;
    SdoFrame reply;
    SdoStep step;
};

struct TransferCase {
    const char* name;
    SdoTransfer transfer;
    std::vector<Exchange> conversation;
    int result;
    std::string data;  // of an upload
    uint32_t abortCode = 0;
};

SdoFrame Initiate(uint8_t command, uint32_t value = 0) {
    return F({command,
              0x82,
              0x20,
              kSubindex,
              static_cast<uint8_t>(value),
              static_cast<uint8_t>(value >> 8),
              static_cast<uint8_t>(value >> 16),
              static_cast<uint8_t>(value >> 24)});
}

SdoFrame Segment(uint8_t command, const std::string& bytes) {
    SdoFrame frame{};
    frame[0] = command;
    for (size_t i = 0; i < bytes.size() && i < 7; ++i) frame[i + 1] = static_cast<uint8_t>(bytes[i]);
    return frame;
}

const std::string kInitiateUpload = "40 82 20 00 00 00 00 00";
const std::string kSegment0 = "60 00 00 00 00 00 00 00";
const std::string kSegment1 = "70 00 00 00 00 00 00 00";

// Runs the case's conversation and checks the result.
void Converse(TransferCase& c) {
    for (size_t i = 0; i < c.conversation.size(); ++i) {
        const Exchange& e = c.conversation[i];
        ASSERT_FALSE(c.transfer.Finished()) << c.name << " before exchange " << i;
        EXPECT_EQ(Hex(c.transfer.Request()), e.request) << c.name << " exchange " << i;
        EXPECT_EQ(c.transfer.TakeReply(e.reply), e.step) << c.name << " exchange " << i;
    }
    ASSERT_TRUE(c.transfer.Finished()) << c.name;
    EXPECT_EQ(c.transfer.Result(), c.result) << c.name;
}

TEST(SdoTransfer, Uploads) {
    const SdoFrame abort = Initiate(0x80, 0x06020000);
    const SdoFrame otherAbort = F({0x80, 0x5C, 0x20, 0x00, 0x00, 0x00, 0x02, 0x06});
    // clang-format off
    std::vector<TransferCase> cases = {
        {"expedited", SdoTransfer::Upload(kIndex, kSubindex, 4),
         {{kInitiateUpload, Initiate(0x43, 0x04030201), SdoStep::kFinished}}, SdoTransfer::kOk, "\x01\x02\x03\x04"},
        {"expedited into less than four bytes", SdoTransfer::Upload(kIndex, kSubindex, 2),
         {{kInitiateUpload, Initiate(0x4B, 0x0201), SdoStep::kFinished}}, SdoTransfer::kTooLong, ""},
        {"segmented with size and toggle", SdoTransfer::Upload(kIndex, kSubindex, 99),
         {{kInitiateUpload, Initiate(0x41, 10), SdoStep::kNext},
          {kSegment0, Segment(0x00, "Axis nu"), SdoStep::kNext},
          {kSegment1, Segment(0x19, "mbe"), SdoStep::kFinished}},
         SdoTransfer::kOk, "Axis numbe"},
        {"segmented without size gives the bytes received", SdoTransfer::Upload(kIndex, kSubindex, 99),
         {{kInitiateUpload, Initiate(0x40), SdoStep::kNext}, {kSegment0, Segment(0x07, "Abcd"), SdoStep::kFinished}},
         SdoTransfer::kOk, "Abcd"},
        {"size beyond the room is refused at once", SdoTransfer::Upload(kIndex, kSubindex, 4),
         {{kInitiateUpload, Initiate(0x41, 9), SdoStep::kFinished}}, SdoTransfer::kTooLong, ""},
        {"size beyond the room is drained to its end", SdoTransfer::Upload(kIndex, kSubindex, 4, SdoOverflow::kDrain),
         {{kInitiateUpload, Initiate(0x41, 9), SdoStep::kNext},
          {kSegment0, Segment(0x00, "1234567"), SdoStep::kNext},
          {kSegment1, Segment(0x1B, "89"), SdoStep::kFinished}},
         SdoTransfer::kTooLong, ""},
        {"size beyond any transfer", SdoTransfer::Upload(kIndex, kSubindex, 200, SdoOverflow::kDrain),
         {{kInitiateUpload, Initiate(0x41, 101), SdoStep::kFinished}}, SdoTransfer::kTooLong, ""},
        {"no size, more than the room", SdoTransfer::Upload(kIndex, kSubindex, 4),
         {{kInitiateUpload, Initiate(0x40), SdoStep::kNext}, {kSegment0, Segment(0x00, "1234567"), SdoStep::kFinished}},
         SdoTransfer::kTooLong, ""},
        {"fewer bytes than announced", SdoTransfer::Upload(kIndex, kSubindex, 99),
         {{kInitiateUpload, Initiate(0x41, 10), SdoStep::kNext}, {kSegment0, Segment(0x09, "abcd"), SdoStep::kFinished}},
         SdoTransfer::kProtocolError, ""},
        {"segment out of step", SdoTransfer::Upload(kIndex, kSubindex, 99),
         {{kInitiateUpload, Initiate(0x41, 10), SdoStep::kNext}, {kSegment0, Segment(0x10, "abcdefg"), SdoStep::kFinished}},
         SdoTransfer::kProtocolError, ""},
        {"initiate reply of another kind", SdoTransfer::Upload(kIndex, kSubindex, 4),
         {{kInitiateUpload, Initiate(0x60), SdoStep::kFinished}}, SdoTransfer::kProtocolError, ""},
        {"abort", SdoTransfer::Upload(kIndex, kSubindex, 4), {{kInitiateUpload, abort, SdoStep::kFinished}},
         SdoTransfer::kAborted, "", 0x06020000},
        {"abort during the segments", SdoTransfer::Upload(kIndex, kSubindex, 99),
         {{kInitiateUpload, Initiate(0x41, 10), SdoStep::kNext}, {kSegment0, abort, SdoStep::kFinished}},
         SdoTransfer::kAborted, "", 0x06020000},
        {"replies naming another object are not ours", SdoTransfer::Upload(kIndex, kSubindex, 4),
         {{kInitiateUpload, otherAbort, SdoStep::kIgnored},
          {kInitiateUpload, F({0x43, 0x5B, 0x20, 0x00, 1, 0, 0, 0}), SdoStep::kIgnored},
          {kInitiateUpload, Initiate(0x43, 7), SdoStep::kFinished}},
         SdoTransfer::kOk, std::string("\x07\0\0\0", 4)},
    };
    // clang-format on
    // Segments without end are cut off where they would pass a transfer's size.
    TransferCase endless{"segments without end",
                         SdoTransfer::Upload(kIndex, kSubindex, 4, SdoOverflow::kDrain),
                         {{kInitiateUpload, Initiate(0x41, 4), SdoStep::kNext}},
                         SdoTransfer::kTooLong,
                         ""};
    for (int i = 0; i < 15; ++i)
        endless.conversation.push_back({i % 2 ? kSegment1 : kSegment0,
                                        Segment(i % 2 ? 0x10 : 0x00, "1234567"),
                                        i < 14 ? SdoStep::kNext : SdoStep::kFinished});
    cases.push_back(endless);

    for (TransferCase& c : cases) {
        ASSERT_NO_FATAL_FAILURE(Converse(c));
        if (c.result == SdoTransfer::kOk) {
            EXPECT_EQ(std::string(c.transfer.Data().begin(), c.transfer.Data().end()), c.data) << c.name;
        }
        EXPECT_EQ(c.transfer.AbortCode(), c.abortCode) << c.name;
    }
}

TEST(SdoTransfer, Downloads) {
    const uint8_t two[2] = {0x34, 0x12};
    const uint8_t four[4] = {1, 2, 3, 4};
    const uint8_t ten[10] = {'S', 'p', 'i', 'n', 'd', 'l', 'e', ' ', '2', 0};
    // clang-format off
    std::vector<TransferCase> cases = {
        {"expedited two bytes", SdoTransfer::Download(kIndex, kSubindex, two, 2),
         {{"2A 82 20 00 34 12 00 00", Initiate(0x60), SdoStep::kFinished}}, SdoTransfer::kOk, ""},
        {"expedited four bytes", SdoTransfer::Download(kIndex, kSubindex, four, 4),
         {{"22 82 20 00 01 02 03 04", Initiate(0x60), SdoStep::kFinished}}, SdoTransfer::kOk, ""},
        {"segmented ten bytes", SdoTransfer::Download(kIndex, kSubindex, ten, 10),
         {{"21 82 20 00 0A 00 00 00", Initiate(0x60), SdoStep::kNext},
          {"00 53 70 69 6E 64 6C 65", F({0x20}), SdoStep::kNext},
          {"19 20 32 00 00 00 00 00", F({0x30}), SdoStep::kFinished}},
         SdoTransfer::kOk, ""},
        {"confirmation of another kind", SdoTransfer::Download(kIndex, kSubindex, four, 4),
         {{"22 82 20 00 01 02 03 04", Initiate(0x43), SdoStep::kFinished}}, SdoTransfer::kProtocolError, ""},
        {"confirmation for another object", SdoTransfer::Download(kIndex, kSubindex, four, 4),
         {{"22 82 20 00 01 02 03 04", F({0x60, 0x82, 0x20, 0x01}), SdoStep::kIgnored},
          {"22 82 20 00 01 02 03 04", Initiate(0x60), SdoStep::kFinished}},
         SdoTransfer::kOk, ""},
        {"segment confirmation out of step", SdoTransfer::Download(kIndex, kSubindex, ten, 10),
         {{"21 82 20 00 0A 00 00 00", Initiate(0x60), SdoStep::kNext},
          {"00 53 70 69 6E 64 6C 65", F({0x30}), SdoStep::kFinished}},
         SdoTransfer::kProtocolError, ""},
        {"value range abort", SdoTransfer::Download(kIndex, kSubindex, four, 4),
         {{"22 82 20 00 01 02 03 04", Initiate(0x80, 0x06090030), SdoStep::kFinished}}, SdoTransfer::kAborted, "",
         0x06090030},
        {"nothing to write", SdoTransfer::Download(kIndex, kSubindex, four, 0), {}, SdoTransfer::kProtocolError, ""},
    };
    // clang-format on
    for (TransferCase& c : cases) {
        ASSERT_NO_FATAL_FAILURE(Converse(c));
        EXPECT_EQ(c.transfer.AbortCode(), c.abortCode) << c.name;
        // A finished transfer takes nothing more.
        EXPECT_EQ(c.transfer.TakeReply(Initiate(0x60)), SdoStep::kFinished) << c.name;
        EXPECT_EQ(c.transfer.Result(), c.result) << c.name;
    }
}

}  // namespace

// The routing-netlink messages of the adapter libraries: requests against
// golden bytes, answers built as the kernel sends them (and cut short), and
// the kernel's own answers on this machine.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "bus/socketcan/link_netlink.h"
#include "bus/socketcan/linux_can_system.h"

namespace socketcan_test {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& bytes, const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

Bytes U16(uint16_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }
Bytes U32(uint32_t v) {
    return {static_cast<uint8_t>(v),
            static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

// An attribute as the kernel writes it: length, type, payload, padding.
Bytes Attribute(uint16_t type, const Bytes& payload) {
    Bytes bytes = U16(static_cast<uint16_t>(4 + payload.size()));
    Append(bytes, U16(type));
    Append(bytes, payload);
    bytes.resize((bytes.size() + 3) & ~size_t{3}, 0);
    return bytes;
}

Bytes Text(const std::string& text) { return Bytes(text.c_str(), text.c_str() + text.size() + 1); }

Bytes Message(uint16_t type, uint32_t sequence, const Bytes& body) {
    Bytes bytes = U32(static_cast<uint32_t>(16 + body.size()));
    Append(bytes, U16(type));
    Append(bytes, U16(0));
    Append(bytes, U32(sequence));
    Append(bytes, U32(4321));
    Append(bytes, body);
    return bytes;
}

constexpr uint16_t kNewLink = 16;
constexpr uint16_t kError = 2;
constexpr uint16_t kIfName = 3;
constexpr uint16_t kMtu = 4;
constexpr uint16_t kLinkInfo = 18;
constexpr uint16_t kInfoKind = 1;
constexpr uint16_t kInfoData = 2;
constexpr uint16_t kCanBitTiming = 1;
constexpr uint16_t kCanState = 4;
constexpr uint16_t kNested = 0x8000;

Bytes LinkAnswer(uint32_t sequence, int index, uint32_t flags, const Bytes& attributes) {
    Bytes body = {0, 0, 0x18, 0x01};  // family, pad, type 280 (CAN)
    Append(body, U32(static_cast<uint32_t>(index)));
    Append(body, U32(flags));
    Append(body, U32(0));
    Append(body, attributes);
    return Message(kNewLink, sequence, body);
}

Bytes CanLinkInfo(const std::string& kind, uint32_t bitrate, uint16_t nestedFlag = 0) {
    Bytes info = Attribute(kInfoKind, Text(kind));
    if (bitrate != 0) {
        Bytes timing = U32(bitrate);
        for (int i = 0; i < 7; ++i) Append(timing, U32(static_cast<uint32_t>(i + 1)));
        Bytes data = Attribute(kCanBitTiming, timing);
        Append(data, Attribute(kCanState, U32(0)));
        Append(info, Attribute(kInfoData | nestedFlag, data));
    }
    return Attribute(kLinkInfo | nestedFlag, info);
}

Bytes ErrorAnswer(uint32_t sequence, int error) {
    Bytes body = U32(static_cast<uint32_t>(-error));
    Append(body, Bytes(16, 0));  // the request's header
    return Message(kError, sequence, body);
}

TEST(LinkNetlink, RequestsHaveTheKernelsLayout) {
    EXPECT_EQ(socketcan::GetLinkRequest("vcan9", 7),
              (Bytes{0x2C, 0, 0,    0, 0x12, 0,   0x01, 0,   7,   0, 0, 0, 0, 0, 0, 0,  //
                     0,    0, 0,    0, 0,    0,   0,    0,   0,   0, 0, 0, 0, 0, 0, 0,  //
                     0x0A, 0, 0x03, 0, 'v',  'c', 'a',  'n', '9', 0, 0, 0}));

    Bytes up = {0x54, 0, 0,    0, 0x10, 0,    0x05, 0, 9, 0, 0, 0, 0, 0, 0, 0,  //
                0,    0, 0,    0, 4,    0,    0,    0, 1, 0, 0, 0, 1, 0, 0, 0,  //
                0x34, 0, 0x12, 0,                                               // link info
                0x08, 0, 0x01, 0, 'c',  'a',  'n',  0,                          // kind
                0x28, 0, 0x02, 0,                                               // driver data
                0x24, 0, 0x01, 0, 0x20, 0xA1, 0x07, 0};                         // bit timing, 500000
    up.resize(up.size() + 28, 0);
    EXPECT_EQ(socketcan::SetLinkRequest(4, true, 500000, 9), up);

    EXPECT_EQ(socketcan::SetLinkRequest(4, false, 0, 10),
              (Bytes{0x20, 0, 0, 0, 0x10, 0, 0x05, 0, 10, 0, 0, 0, 0, 0, 0, 0,  //
                     0,    0, 0, 0, 4,    0, 0,    0, 0,  0, 0, 0, 1, 0, 0, 0}));
}

TEST(LinkNetlink, AnswersGiveKindStateAndBitRate) {
    struct Case {
        const char* what;
        Bytes answer;
        int error;
        int index;
        std::string kind;
        bool up;
        uint32_t bitrate;
    };
    Bytes named = Attribute(kIfName, Text("can0"));
    Append(named, Attribute(kMtu, U32(16)));
    Bytes canUp = named;
    Append(canUp, CanLinkInfo("can", 500000));
    const Case cases[] = {
        {"adapter up", LinkAnswer(7, 5, 0x41, canUp), 0, 5, "can", true, 500000},
        {"nested flags", LinkAnswer(7, 5, 0x1, CanLinkInfo("can", 250000, kNested)), 0, 5, "can", true, 250000},
        {"virtual, down", LinkAnswer(7, 9, 0, CanLinkInfo("vcan", 0)), 0, 9, "vcan", false, 0},
        {"not a can kind keeps no rate", LinkAnswer(7, 2, 1, CanLinkInfo("xcan", 500000)), 0, 2, "xcan", true, 0},
        {"no link info", LinkAnswer(7, 1, 1, named), 0, 1, "", true, 0},
        {"no such device", ErrorAnswer(7, ENODEV), ENODEV, 0, "", false, 0},
        {"an error answer without error", ErrorAnswer(7, 0), EBADMSG, 0, "", false, 0},
        {"another request's answer", LinkAnswer(8, 5, 1, canUp), EBADMSG, 0, "", false, 0},
        {"nothing", Bytes{}, EBADMSG, 0, "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const socketcan::LinkState link = socketcan::ReadLinkAnswer(c.answer.data(), c.answer.size(), 7);
        EXPECT_EQ(link.error, c.error);
        if (c.error != 0) continue;
        EXPECT_EQ(link.index, c.index);
        EXPECT_EQ(link.kind, c.kind);
        EXPECT_EQ(link.up, c.up);
        EXPECT_EQ(link.bitrate, c.bitrate);
    }
}

TEST(LinkNetlink, AnswersCutShortOrLyingAboutLengthsAreRefused) {
    Bytes answer = LinkAnswer(7, 5, 1, CanLinkInfo("can", 500000));
    // Every shorter answer, with its header's length kept or made to fit.
    for (size_t size = 0; size < answer.size(); ++size) {
        SCOPED_TRACE(size);
        Bytes cut(answer.begin(), answer.begin() + static_cast<long>(size));
        EXPECT_EQ(socketcan::ReadLinkAnswer(cut.data(), cut.size(), 7).error, EBADMSG);
        if (size >= 16) {
            const Bytes length = U32(static_cast<uint32_t>(size));
            std::copy(length.begin(), length.end(), cut.begin());
            const socketcan::LinkState link = socketcan::ReadLinkAnswer(cut.data(), cut.size(), 7);
            if (link.error == 0) {
                EXPECT_EQ(link.index, 5);
            }
        }
    }
    // An attribute longer than its message.
    Bytes lying = LinkAnswer(7, 5, 1, Attribute(kLinkInfo, Attribute(kInfoKind, Text("can"))));
    lying[32] = 0xFF;
    EXPECT_EQ(socketcan::ReadLinkAnswer(lying.data(), lying.size(), 7).error, EBADMSG);
}

TEST(LinkNetlink, AcknowledgementsGiveTheKernelsError) {
    const Bytes ok = ErrorAnswer(3, 0);
    EXPECT_EQ(socketcan::ReadAcknowledgement(ok.data(), ok.size(), 3), 0);
    const Bytes refused = ErrorAnswer(3, EPERM);
    EXPECT_EQ(socketcan::ReadAcknowledgement(refused.data(), refused.size(), 3), EPERM);
    EXPECT_EQ(socketcan::ReadAcknowledgement(ok.data(), ok.size(), 4), EBADMSG);
    const Bytes other = LinkAnswer(3, 1, 1, {});
    EXPECT_EQ(socketcan::ReadAcknowledgement(other.data(), other.size(), 3), EBADMSG);
    EXPECT_EQ(socketcan::ReadAcknowledgement(ok.data(), 18, 3), EBADMSG);
}

TEST(LinkNetlink, TheKernelAnswersForTheLoopbackAndAnAbsentInterface) {
    socketcan::LinuxCanSystem kernel;
    const socketcan::LinkState loopback = kernel.QueryLink("lo");
    ASSERT_EQ(loopback.error, 0) << std::strerror(loopback.error);
    EXPECT_GT(loopback.index, 0);
    EXPECT_TRUE(loopback.up);
    EXPECT_EQ(loopback.bitrate, 0u);
    EXPECT_NE(loopback.kind, socketcan::kCanLinkKind);
    EXPECT_EQ(kernel.QueryLink("vcan9").error, ENODEV);
    // A well-formed request for a link that does not exist: refused for the
    // link, or for the right to configure links, never as malformed.
    socketcan::LinkState absent;
    absent.index = 0x7FFFFFF0;
    const int error = kernel.SetLinkDown(absent);
    EXPECT_TRUE(error == ENODEV || error == EPERM) << std::strerror(error);
    const int socket = kernel.OpenSocket("vcan9");
    EXPECT_LT(socket, 0) << "no interface vcan9, whether or not the kernel has CAN sockets";
}

}  // namespace
}  // namespace socketcan_test

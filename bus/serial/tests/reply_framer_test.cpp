// The reply framer on its own: bytes in, one verdict out, with the parts of a
// framed reply; no line, clock or bus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus/serial/reply_framer.h"
#include "bus/serial/striowin.h"

namespace {

// Address character, STX, body, ETX and the check character.
std::string Frame(char address, const std::string& body) {
    std::string frame{address, '\x02'};
    frame += body;
    frame += '\x03';
    uint8_t bcc = 0;
    for (size_t i = 2; i < frame.size(); ++i) bcc ^= static_cast<uint8_t>(frame[i]);
    return frame + static_cast<char>(bcc);
}

struct FramerCase {
    const char* name;
    std::string bytes;
    int capacity;
    FramerVerdict verdict;
    int taken;         // bytes taken until the verdict
    std::string held;  // the buffer's content at the verdict
    std::string body;  // of a framed reply
};

TEST(ReplyFramer, EveryOutcome) {
    const std::string reply = Frame('E', "20091=1388");
    std::string badCheck = reply;
    badCheck.back() = static_cast<char>(badCheck.back() ^ 1);
    // A body whose check character is NAK: NAK after ETX is no refusal.
    std::string nakBody = "20091=1";
    nakBody += static_cast<char>(Frame('E', nakBody).back() ^ 0x15);
    const std::string nakCheck = Frame('E', nakBody);
    ASSERT_EQ(nakCheck.back(), '\x15');
    const std::string withNul = std::string("E") + '\0' + reply.substr(1);

    // clang-format off
    const FramerCase cases[] = {
        {"framed reply", reply, 146, FramerVerdict::kFramed, static_cast<int>(reply.size()), reply, "20091=1388"},
        {"need more before the check character", reply.substr(0, reply.size() - 1), 146, FramerVerdict::kNeedMore,
         static_cast<int>(reply.size() - 1), reply.substr(0, reply.size() - 1), ""},
        {"bytes after the verdict are not taken", reply + "XY", 146, FramerVerdict::kFramed,
         static_cast<int>(reply.size()), reply, "20091=1388"},
        {"nak as check character", nakCheck, 146, FramerVerdict::kFramed, static_cast<int>(nakCheck.size()), nakCheck,
         nakBody},
        {"nul before stx dropped", withNul, 146, FramerVerdict::kFramed, static_cast<int>(withNul.size()), reply,
         "20091=1388"},
        {"empty body", Frame('A', ""), 146, FramerVerdict::kFramed, 4, Frame('A', ""), ""},
        {"ack as second byte", "E\x06", 146, FramerVerdict::kAck, 2, "E\x06", ""},
        {"ack elsewhere is no answer", "EA\x06", 146, FramerVerdict::kNeedMore, 3, "EA\x06", ""},
        {"nak as second byte", "E\x15", 146, FramerVerdict::kNak, 2, "E\x15", ""},
        {"nak inside the body", "E\x02" "20\x15", 146, FramerVerdict::kNak, 5, "E\x02" "20\x15", ""},
        {"no stx", "EX20091=1388\x03\x06", 146, FramerVerdict::kBadFrame, 14, "EX20091=1388\x03\x06", ""},
        {"etx right after the address", std::string("E\x03") + "\x03", 146, FramerVerdict::kBadFrame, 3,
         "E\x03\x03", ""},
        {"wrong check character", badCheck, 146, FramerVerdict::kBadCheck, static_cast<int>(badCheck.size()),
         badCheck, ""},
        {"etx fills the buffer", "E\x02" "123456\x03", 9, FramerVerdict::kBufferFull, 9, "E\x02" "123456\x03", ""},
        {"a byte beyond the buffer", "E\x02" "12345678", 9, FramerVerdict::kTooLong, 10, "E\x02" "1234567", ""},
    };
    // clang-format on
    for (const FramerCase& c : cases) {
        std::vector<uint8_t> buffer(static_cast<size_t>(c.capacity) + 4, 0xAA);
        ReplyFramer framer(buffer.data(), c.capacity);
        FramerVerdict verdict = FramerVerdict::kNeedMore;
        int taken = 0;
        for (char byte : c.bytes) {
            if (verdict != FramerVerdict::kNeedMore) break;
            verdict = framer.Take(static_cast<uint8_t>(byte));
            ++taken;
        }
        EXPECT_EQ(verdict, c.verdict) << c.name;
        EXPECT_EQ(framer.Verdict(), c.verdict) << c.name;
        EXPECT_EQ(taken, c.taken) << c.name;
        if (c.verdict != FramerVerdict::kTooLong) {
            EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + framer.Count()), c.held) << c.name;
        }
        EXPECT_EQ(std::string(framer.Body()), c.body) << c.name;
        if (c.verdict == FramerVerdict::kFramed) {
            EXPECT_EQ(framer.AddressChar(), c.held[0]) << c.name;
            EXPECT_EQ(buffer[static_cast<size_t>(framer.EtxIndex())], 0x03) << c.name;
        }
        for (size_t i = static_cast<size_t>(c.capacity); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xAA) << c.name << ": written beyond the buffer";
        // A verdict stands; later bytes change nothing.
        if (c.verdict != FramerVerdict::kNeedMore) {
            EXPECT_EQ(framer.Take('\x15'), c.verdict) << c.name;
        }
    }
}

TEST(ReplyFramer, VerdictsCarryThePortLayersCodes) {
    const struct {
        FramerVerdict verdict;
        int code;
    } cases[] = {
        {FramerVerdict::kFramed, kSerioOk},
        {FramerVerdict::kAck, kSerioOk},
        {FramerVerdict::kNak, kSerioNak},
        {FramerVerdict::kBadFrame, kSerioBadFrame},
        {FramerVerdict::kBadCheck, kSerioBadCheck},
        {FramerVerdict::kTooLong, kSerioTooLong},
        {FramerVerdict::kBufferFull, kSerioBufferFull},
        {FramerVerdict::kNeedMore, kSerioPartialReply},
    };
    for (const auto& c : cases) EXPECT_EQ(FramerResultCode(c.verdict), c.code) << static_cast<int>(c.verdict);
}

TEST(ReplyFramer, ABufferWithoutRoomTakesNothing) {
    ReplyFramer framer(nullptr, 10);
    EXPECT_EQ(framer.Room(), 0);
    EXPECT_EQ(framer.Take('E'), FramerVerdict::kTooLong);
}

}  // namespace

// Decoding what the virtual drive heard into telegram requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/drive_capture.h"

namespace {

// Adds each byte heard (or sent, for `sent`) one millisecond after the last.
void Hear(sim::DriveCapture& capture, const std::string& bytes, uint64_t& time, bool sent = false) {
    for (char c : bytes) {
        time += 1000;
        capture.Add({!sent, static_cast<uint8_t>(c), time, false});
    }
}

TEST(DriveCapture, TelegramsAreTheReadsAndWritesHeardWithTheirValues) {
    sim::DriveCapture capture;
    uint64_t time = 0;
    // A read at address 5, its reply and the closing EOT.
    Hear(capture,
         "\x04"
         "E20452\x05",
         time);
    Hear(capture,
         "E\x02"
         "20452=2\x03"
         "2",
         time,
         true);
    Hear(capture, "\x04", time);
    const uint64_t writeStart = time + 1000;
    // A write whose check character happens to be EOT, and a block write.
    Hear(capture,
         "\x04"
         "E\x02"
         "20450=0\x03\x04",
         time);
    Hear(capture, "E\x06", time, true);
    Hear(capture,
         "\x04\x04"
         "E\x02"
         "702010000002=00010002\x03"
         "A",
         time);
    // A garbled character inside a read is left out; a lone EOT starts nothing.
    Hear(capture,
         "\x04"
         "E200",
         time);
    capture.Add({true, 0x7F, time + 1, true});
    Hear(capture, "91\x05\x04", time);

    EXPECT_EQ(capture.TelegramTexts(),
              (std::vector<std::string>{"R 20452", "W 20450=0", "W 702010000002=00010002", "R 20091"}));
    const std::vector<sim::HeardTelegram> telegrams = capture.Telegrams();
    ASSERT_EQ(telegrams.size(), 4u);
    EXPECT_EQ(telegrams[0].time_us, 1000u);
    EXPECT_EQ(telegrams[1].time_us, writeStart);
}

}  // namespace

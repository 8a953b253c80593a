// Feeds arbitrary reply bytes to the reply framer alone. The first input byte
// sets the buffer's size; the rest are the reply, taken byte by byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "bus/serial/reply_framer.h"
#include "bus/serial/striowin.h"

namespace {

// The receive buffer of the telegram protocol, and one beyond.
constexpr int kLargestCapacity = 147;

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int capacity = 1 + data[0] % kLargestCapacity;
    std::vector<uint8_t> buffer(static_cast<size_t>(capacity));
    ReplyFramer framer(buffer.data(), capacity);
    FramerVerdict verdict = FramerVerdict::kNeedMore;
    for (size_t i = 1; i < size; ++i) {
        verdict = framer.Take(data[i]);
        Check(framer.Count() <= capacity && framer.Room() == capacity - framer.Count());
    }
    if (verdict == FramerVerdict::kFramed) {
        const int etx = framer.EtxIndex();
        Check(etx >= 2 && etx + 1 < framer.Count());
        Check(buffer[1] == kSTX && buffer[static_cast<size_t>(etx)] == kETX);
        uint8_t bcc = 0;
        for (int p = 2; p <= etx; ++p) bcc ^= buffer[static_cast<size_t>(p)];
        Check(bcc == buffer[static_cast<size_t>(etx) + 1]);
        Check(framer.Body().size() == static_cast<size_t>(etx - 2));
    }
    if (verdict == FramerVerdict::kAck) Check(buffer[1] == kACK);
    return 0;
}

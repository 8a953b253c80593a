// Fuzz target of the booter file reader: any text gives the booter's 32
// bytes or the bad-file code, and 32 bytes read are written back and read
// again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<uint8_t> bytes;
    const int result = ParseBooterText(text, bytes);
    if (result != 0) {
        if (result != booter_code::kBadFile) std::abort();
        return 0;
    }
    if (bytes.size() != kBooterBytes) std::abort();
    std::string again;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        again += pair;
        again += i % 16 == 15 ? "\r\n" : " ";
    }
    std::vector<uint8_t> back;
    if (ParseBooterText(again, back) != 0 || back != bytes) std::abort();
    return 0;
}

// Capture of the virtual drive's traffic.
#include "sim/drive_capture.h"

#include <cstdio>

namespace sim {

std::string DriveCapture::ToDrive() const {
    std::string out;
    for (const CapturedByte& b : bytes_)
        if (b.to_drive && !b.garbled) out += static_cast<char>(b.byte);
    return out;
}

std::string DriveCapture::FromDrive() const {
    std::string out;
    for (const CapturedByte& b : bytes_)
        if (!b.to_drive) out += static_cast<char>(b.byte);
    return out;
}

size_t DriveCapture::GarbledCount() const {
    size_t count = 0;
    for (const CapturedByte& b : bytes_) count += b.garbled ? 1 : 0;
    return count;
}

std::string DriveCapture::Dump() const {
    std::string out;
    char line[64];
    for (const CapturedByte& b : bytes_) {
        std::snprintf(line, sizeof line, "%10llu us  %s %02X%s\n",
                      static_cast<unsigned long long>(b.time_us), b.to_drive ? ">" : "<", b.byte,
                      b.garbled ? " garbled" : "");
        out += line;
    }
    return out;
}

std::string HexBytes(const std::string& bytes) {
    std::string out;
    char pair[4];
    for (char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", static_cast<uint8_t>(c));
        if (!out.empty()) out += ' ';
        out += pair;
    }
    return out;
}

}  // namespace sim

namespace sim {

std::vector<std::string> DriveCapture::Requests() const {
    constexpr char kEot = 0x04;
    constexpr char kStx = 0x02;
    constexpr char kEnq = 0x05;
    std::vector<std::string> requests;
    enum class State { kOutside, kAddress, kCode } state = State::kOutside;
    std::string code;
    for (const CapturedByte& b : bytes_) {
        if (!b.to_drive || b.garbled) continue;
        const char c = static_cast<char>(b.byte);
        if (c == kEot) {
            state = State::kAddress;
        } else if (state == State::kAddress) {
            code.clear();
            state = State::kCode;
        } else if (state == State::kCode && (c == kEnq || c == kStx)) {
            requests.push_back((c == kStx ? "W" : "R") + code);
            state = State::kOutside;
        } else if (state == State::kCode) {
            code += c;
        }
    }
    return requests;
}

}  // namespace sim

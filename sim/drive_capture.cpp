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
        std::snprintf(line,
                      sizeof line,
                      "%10llu us  %s %02X%s\n",
                      static_cast<unsigned long long>(b.time_us),
                      b.to_drive ? ">" : "<",
                      b.byte,
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
    constexpr char kEtx = 0x03;
    constexpr char kEnq = 0x05;
    std::vector<std::string> requests;
    enum class State { kOutside, kAddress, kCode, kValue, kCheck } state = State::kOutside;
    std::string code;
    for (const CapturedByte& b : bytes_) {
        if (!b.to_drive || b.garbled) continue;
        const char c = static_cast<char>(b.byte);
        // EOT starts a telegram (and ends a run of them); only as a check
        // character is it data.
        if (c == kEot && state != State::kCheck) {
            state = State::kAddress;
            continue;
        }
        switch (state) {
            case State::kCheck:  // a write's check character may be any byte
                state = State::kOutside;
                break;
            case State::kValue:
                if (c == kEtx) {
                    requests.push_back("W" + code.substr(0, code.find('=')));
                    state = State::kCheck;
                } else {
                    code += c;
                }
                break;
            case State::kAddress:
                code.clear();
                state = State::kCode;
                break;
            case State::kCode:
                if (c == kEnq) {
                    requests.push_back("R" + code);
                    state = State::kOutside;
                } else if (c == kStx) {
                    state = State::kValue;
                } else {
                    code += c;
                }
                break;
            case State::kOutside:
                break;
        }
    }
    return requests;
}

}  // namespace sim

namespace sim {

std::vector<HeardTelegram> DriveCapture::Telegrams() const {
    constexpr char kEot = 0x04;
    constexpr char kStx = 0x02;
    constexpr char kEtx = 0x03;
    constexpr char kEnq = 0x05;
    std::vector<HeardTelegram> telegrams;
    enum class State { kOutside, kAddress, kCode, kValue, kCheck } state = State::kOutside;
    HeardTelegram current;
    for (const CapturedByte& b : bytes_) {
        if (!b.to_drive || b.garbled) continue;
        const char c = static_cast<char>(b.byte);
        // A write's check character may be any byte, EOT among them.
        if (state == State::kCheck) {
            state = State::kOutside;
            continue;
        }
        // EOT starts a telegram; the EOT that ends an exchange starts none
        // until an address follows it.
        if (c == kEot) {
            current.time_us = b.time_us;
            state = State::kAddress;
            continue;
        }
        switch (state) {
            case State::kAddress:
                current.text = "R ";
                state = State::kCode;
                break;
            case State::kCode:
                if (c == kEnq) {
                    telegrams.push_back(current);
                    state = State::kOutside;
                } else if (c == kStx) {
                    current.text[0] = 'W';
                    state = State::kValue;
                } else {
                    current.text += c;
                }
                break;
            case State::kValue:
                if (c == kEtx) {
                    telegrams.push_back(current);
                    state = State::kCheck;
                } else {
                    current.text += c;
                }
                break;
            case State::kOutside:
            case State::kCheck:
                break;
        }
    }
    return telegrams;
}

std::vector<std::string> DriveCapture::TelegramTexts() const {
    std::vector<std::string> texts;
    for (const HeardTelegram& t : Telegrams()) texts.push_back(t.text);
    return texts;
}

}  // namespace sim

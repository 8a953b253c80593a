// Hand-built telegrams for the virtual drive's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

inline constexpr char kEot = '\x04';
inline constexpr char kStx = '\x02';
inline constexpr char kEtx = '\x03';
inline constexpr char kEnq = '\x05';
inline constexpr char kAck = '\x06';
inline constexpr char kNak = '\x15';

inline char AddressChar(int address) { return static_cast<char>('@' + address); }

inline std::string ReadRequest(int address, const std::string& code) {
    return std::string{kEot, AddressChar(address)} + code + kEnq;
}

// `body` is code '=' value; the check character is worked out here.
inline std::string WriteRequest(int address, const std::string& body) {
    std::string checked = body + kEtx;
    char check = 0;
    for (char c : checked) check ^= c;
    return std::string{kEot, AddressChar(address), kStx} + checked + check;
}

inline std::string Text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace simtest

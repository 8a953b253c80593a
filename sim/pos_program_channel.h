// The positioning-program channel of a family-4 drive: one text parameter
// that takes commands and program lines and answers listings and program
// lines, one reply per read. Off unless a test turns it on.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim {

inline constexpr int kPosProgramChannelParameter = 751;
// Ends a listing, a program sent by the drive and a program received by it.
inline constexpr char kPosProgramEndMarker[] =
    "\x1b"
    "E";

struct PosProgramChannel {
    bool enabled = false;
    // The programs the drive holds, by their two-character number, in order.
    std::map<std::string, std::vector<std::string>> programs;
    // The replies "%DIR" queues; when empty, one "P<nn>" per program.
    std::vector<std::string> listing;
    // Whether "%DIR" ends the listing with the end marker.
    bool listing_ends = true;
    // Whether "%RDP<nn>" ends the program's lines with the end marker.
    bool programs_end = true;
    // Texts the drive refuses to take (the write fails, nothing is kept).
    std::set<std::string> refused;
    // The answer to a read while no reply is queued; none: the read is
    // refused.
    std::optional<std::string> idle_reply;

    // Set by the drive: the programs stored by "%SAV", each as the lines
    // received since "%CLPxx". (The texts written, in order, are the
    // parameter's text log.)
    std::vector<std::vector<std::string>> saved;

    bool Serves(int number) const { return enabled && number == kPosProgramChannelParameter; }
    bool Refuses(const std::string& text) const { return refused.count(text) != 0; }
    // A text written to the channel.
    void Hear(const std::string& text);
    // The next queued reply, else the idle reply; false (the read is
    // refused) when there is neither.
    bool NextReply(std::string* text);

private:
    std::deque<std::string> replies_;
    std::vector<std::string> receiving_;
    bool received_end_ = false;
};

}  // namespace sim

#include "sim/pos_program_channel.h"

namespace sim {

void PosProgramChannel::Hear(const std::string& text) {
    if (text == "%DIR") {
        if (listing.empty()) {
            for (const auto& [number, lines] : programs) replies_.push_back("P" + number);
        } else {
            replies_.insert(replies_.end(), listing.begin(), listing.end());
        }
        if (listing_ends) replies_.push_back(kPosProgramEndMarker);
    } else if (text.rfind("%RDP", 0) == 0) {
        const auto found = programs.find(text.substr(4));
        if (found != programs.end()) replies_.insert(replies_.end(), found->second.begin(), found->second.end());
        if (programs_end) replies_.push_back(kPosProgramEndMarker);
    } else if (text.rfind("%CLP", 0) == 0) {
        receiving_.clear();
        received_end_ = false;
    } else if (text == "%SAV") {
        saved.push_back(receiving_);
        receiving_.clear();
    } else if (text == "END") {
        receiving_.clear();
        received_end_ = true;
    } else if (text == kPosProgramEndMarker) {
        received_end_ = true;
    } else if (!received_end_) {
        receiving_.push_back(text);
    }
}

bool PosProgramChannel::NextReply(std::string* text) {
    if (replies_.empty()) {
        if (!idle_reply.has_value()) return false;
        *text = *idle_reply;
        return true;
    }
    *text = replies_.front();
    replies_.pop_front();
    return true;
}

}  // namespace sim

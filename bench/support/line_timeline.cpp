#include "bench/support/line_timeline.h"

#include <algorithm>

namespace bench {

namespace {

constexpr uint8_t kEot = 0x04;

}  // namespace

LineTimeline AnalyseLine(const std::vector<sim::CapturedByte>& bytes, uint64_t character_us, uint64_t start_us,
                         uint64_t end_us) {
    // Captured times are arrival times; order the characters as they were
    // on the line.
    std::vector<sim::CapturedByte> line(bytes);
    std::stable_sort(line.begin(), line.end(), [](const sim::CapturedByte& a, const sim::CapturedByte& b) {
        return a.time_us < b.time_us;
    });
    LineTimeline t;
    const sim::CapturedByte* previous = nullptr;
    for (const sim::CapturedByte& c : line) {
        (c.to_drive ? t.characters_to_drive : t.characters_from_drive) += 1;
        if (c.to_drive && c.byte == kEot) ++t.eot_characters;
        const uint64_t begin = c.time_us - std::min(c.time_us, character_us);
        if (previous == nullptr) {
            t.before_first_us = begin - std::min(begin, start_us);
        } else {
            const uint64_t gap = begin - std::min(begin, previous->time_us);
            if (previous->to_drive && !c.to_drive) {
                t.drive_turnaround_us += gap;
            } else if (!previous->to_drive && c.to_drive) {
                t.program_reaction_us += gap;
                t.largest_reaction_us = std::max(t.largest_reaction_us, gap);
                ++t.reactions;
            } else if (c.to_drive) {
                t.program_gap_us += gap;
            } else {
                t.drive_gap_us += gap;
            }
        }
        previous = &c;
    }
    if (previous != nullptr) t.after_last_us = end_us - std::min(end_us, previous->time_us);
    t.wire_us = (t.characters_to_drive + t.characters_from_drive) * character_us;
    t.eot_wire_us = t.eot_characters * character_us;
    return t;
}

}  // namespace bench

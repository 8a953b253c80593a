// Where the virtual time of a run on the in-memory serial line went: the
// characters on the wire in both directions, and the gaps between them by
// who was to send next (the drive answering a request, the program reacting
// to a reply, the program between two of its own sends).
#pragma once

#include <cstdint>
#include <vector>

#include "sim/drive_capture.h"

namespace bench {

struct LineTimeline {
    uint64_t characters_to_drive = 0;
    uint64_t characters_from_drive = 0;
    uint64_t eot_characters = 0;  // EOT sent by the program
    uint64_t wire_us = 0;         // all characters x the character time
    uint64_t eot_wire_us = 0;
    uint64_t drive_turnaround_us = 0;  // request's last character to the reply's first
    uint64_t program_reaction_us = 0;  // reply's last character to the program's next
    uint64_t program_gap_us = 0;       // between two characters of the program
    uint64_t drive_gap_us = 0;         // inside the drive's replies
    uint64_t before_first_us = 0;      // from the start to the first character
    uint64_t after_last_us = 0;        // from the last character to the end
    uint64_t largest_reaction_us = 0;
    uint64_t reactions = 0;  // replies the program reacted to
};

// Splits [start_us, end_us] by the capture of a drive that the program alone
// talked to at one rate (`character_us` per character).
LineTimeline AnalyseLine(const std::vector<sim::CapturedByte>& bytes, uint64_t character_us, uint64_t start_us,
                         uint64_t end_us);

}  // namespace bench

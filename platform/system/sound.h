// The program's sounds: a sound file named in the program's Windows form and
// a tone. Every request is recorded in order. Nothing is played while output
// is off (tests, headless runs); with output on, a player program is started
// without waiting and never through a shell ("paplay", else "aplay"; an
// alias under kProgramAliasKey may name another), and a tone is played from a
// short tone file written to "..\TMP".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr std::string_view kSoundPlayers[] = {"paplay", "aplay"};
// Where the tone files are written, in the program's Windows form.
inline constexpr std::string_view kToneDirectory = "..\\TMP";

struct SoundRequest {
    std::string file;  // empty for a tone
    uint32_t frequencyHz = 0;
    uint32_t durationMs = 0;
    bool operator==(const SoundRequest&) const = default;
};

void PlaySoundFile(std::string_view path);
void Beep(uint32_t frequencyHz, uint32_t durationMs);

// Requests since the last reset, in order.
std::vector<SoundRequest> RecordedSounds();
// Off at start and after every reset.
void SetSoundOutput(bool on);

}  // namespace platform

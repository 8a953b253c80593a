#include "platform/system/sound.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <optional>

#include "platform/base/format.h"
#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/program_start.h"

namespace platform {

namespace {

struct SoundState {
    std::mutex Mutex;
    std::vector<SoundRequest> Recorded;
    bool Output = false;
};

SoundState& TheSoundState() {
    static SoundState state;
    return state;
}

const ResetHook kResetSoundState([] {
    SoundState& state = TheSoundState();
    std::lock_guard<std::mutex> lock(state.Mutex);
    state.Recorded.clear();
    state.Output = false;
});

// The tone file's format: 8-bit mono PCM.
constexpr uint32_t kToneSampleRate = 8000;
// Tones are cut to this length, so a wrong request cannot fill the disk.
constexpr uint32_t kLongestToneMs = 10000;
constexpr uint32_t kHighestToneHz = 20000;
constexpr double kToneAmplitude = 100.0;
constexpr double kSilence = 128.0;

// Records the request; true when it is to be played.
bool Record(const SoundRequest& request) {
    SoundState& state = TheSoundState();
    std::lock_guard<std::mutex> lock(state.Mutex);
    state.Recorded.push_back(request);
    return state.Output;
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string ToneWave(uint32_t frequencyHz, uint32_t durationMs) {
    const uint32_t samples = static_cast<uint32_t>(uint64_t{kToneSampleRate} * durationMs / 1000);
    std::string wave = "RIFF";
    PutLittleEndian(wave, 36 + samples, 4);
    wave += "WAVEfmt ";
    PutLittleEndian(wave, 16, 4);
    PutLittleEndian(wave, 1, 2);  // PCM
    PutLittleEndian(wave, 1, 2);  // mono
    PutLittleEndian(wave, kToneSampleRate, 4);
    PutLittleEndian(wave, kToneSampleRate, 4);  // bytes per second
    PutLittleEndian(wave, 1, 2);                // block alignment
    PutLittleEndian(wave, 8, 2);                // bits per sample
    wave += "data";
    PutLittleEndian(wave, samples, 4);
    const double step = 2.0 * std::numbers::pi * frequencyHz / kToneSampleRate;
    for (uint32_t i = 0; i < samples; ++i) {
        wave += static_cast<char>(static_cast<uint8_t>(std::lround(kSilence + kToneAmplitude * std::sin(step * i))));
    }
    return wave;
}

// Starts the first player that starts; one log line when none does.
void Play(const std::string& nativePath) {
    for (std::string_view player : kSoundPlayers) {
        if (StartProgram(player, {std::string(player), nativePath}, false) == 0) return;
    }
    LogLine("Sound: no player could be started for " + nativePath);
}

}  // namespace

void PlaySoundFile(std::string_view path) {
    if (!Record({std::string(path), 0, 0})) return;
    std::optional<std::string> found = FindExisting(path);
    if (!found) {
        LogLine("Sound: the sound file " + std::string(path) + " does not exist");
        return;
    }
    Play(*found);
}

void Beep(uint32_t frequencyHz, uint32_t durationMs) {
    if (!Record({"", frequencyHz, durationMs})) return;
    if (frequencyHz == 0 || frequencyHz > kHighestToneHz || durationMs == 0) {
        LogLine(Format("Sound: no tone of %u Hz for %u ms", frequencyHz, durationMs));
        return;
    }
    const std::string path =
        std::string(kToneDirectory) + Format("\\tone_%u_%u.wav", frequencyHz, std::min(durationMs, kLongestToneMs));
    std::string error;
    if (!ReplaceFile(path, ToneWave(frequencyHz, std::min(durationMs, kLongestToneMs)), &error)) {
        LogLine("Sound: the tone file " + path + " cannot be written: " + error);
        return;
    }
    Play(ResolveForWrite(path));
}

std::vector<SoundRequest> RecordedSounds() {
    SoundState& state = TheSoundState();
    std::lock_guard<std::mutex> lock(state.Mutex);
    return state.Recorded;
}

void SetSoundOutput(bool on) {
    SoundState& state = TheSoundState();
    std::lock_guard<std::mutex> lock(state.Mutex);
    state.Output = on;
}

}  // namespace platform

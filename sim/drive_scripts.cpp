// Scripted reads, command parameters and the drive's own identification.
#include <algorithm>
#include <cstring>

#include "sim/drive_table.h"

namespace sim {

namespace {

// `percent` (or any small count) in the parameter's own form.
uint32_t PercentAs(const DriveParameter& p, int percent) {
    if (p.type != nullptr && p.type->is_float) {
        const float f = static_cast<float>(percent);
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return bits;
    }
    return static_cast<uint32_t>(percent);
}

}  // namespace

void DriveTable::ScriptReads(int number, std::vector<ReadStep> steps) {
    read_scripts_.erase(
        std::remove_if(
            read_scripts_.begin(), read_scripts_.end(), [number](const ReadScript& s) { return s.number == number; }),
        read_scripts_.end());
    if (!steps.empty()) read_scripts_.push_back({number, std::move(steps), 0, 0});
}

void DriveTable::ScriptCommand(int number, uint32_t written, std::vector<ReadStep> reads) {
    command_scripts_.push_back({number, written, std::move(reads), 0});
}

void DriveTable::ScriptCommandReturn(int number, uint32_t written, uint64_t after_us) {
    command_scripts_.push_back({number, written, {}, after_us});
}

void DriveTable::StepReadScript(int number) {
    auto script = std::find_if(
        read_scripts_.begin(), read_scripts_.end(), [number](const ReadScript& s) { return s.number == number; });
    DriveParameter* p = Find(number);
    if (script == read_scripts_.end() || p == nullptr) return;
    while (script->current < script->steps.size()) {
        const ReadStep& step = script->steps[script->current];
        const bool used = step.reads == kUntilTime ? now_us_ >= step.until_us : script->reads_done >= step.reads;
        if (!used) break;
        p->value = step.value;  // a step passed over still leaves its value
        ++script->current;
        script->reads_done = 0;
    }
    if (script->current >= script->steps.size()) {
        read_scripts_.erase(script);  // the last value stays
        return;
    }
    p->value = script->steps[script->current].value;
    ++script->reads_done;
}

void DriveTable::AfterScriptedWrite(int number, uint32_t raw) {
    read_scripts_.erase(
        std::remove_if(
            read_scripts_.begin(), read_scripts_.end(), [number](const ReadScript& s) { return s.number == number; }),
        read_scripts_.end());
    for (const CommandScript& command : std::vector<CommandScript>(command_scripts_)) {
        if (command.number != number || command.written != raw) continue;
        if (!command.reads.empty()) {
            std::vector<ReadStep> steps = command.reads;
            for (ReadStep& step : steps) {
                if (step.reads == kUntilTime && step.until_us != ReadStep::Forever(0).until_us)
                    step.until_us += now_us_;
            }
            ScriptReads(number, std::move(steps));
        }
        if (command.zero_after_us != 0) ScheduleValue(number, 0, now_us_ + command.zero_after_us);
    }
    if (number == kStopCommandParameter) FollowStopCommand(raw);
    MoveMotorIdent(number, raw);
    if (number != kIdentCommandParameter || !identification.enabled) return;
    MoveIdentification();
    if (raw == 0) {
        identification.running = false;
        return;
    }
    identification.running = true;
    identification.started_us = now_us_;
    ++identification.starts;
    if (DriveParameter* progress = Find(kIdentProgressParameter)) progress->value = PercentAs(*progress, 0);
}

void DriveTable::FollowStopCommand(uint32_t raw) {
    const DriveParameter* command = Find(kStopCommandParameter);
    const DriveParameter* state = Find(kDriveStateParameter);
    if (!stop.enabled || command == nullptr || state == nullptr || raw != PercentAs(*command, 1)) return;
    const bool highNibble = control_word.high_nibble;
    const uint32_t current = highNibble ? (state->value >> 12) & 0xFu : state->value & 0xFFFFu;
    if (current != 5 && current != 7) return;
    const uint32_t stopped = highNibble ? (state->value & ~0xF000u) | (2u << 12) : (state->value & ~0xFFFFu) | 2u;
    ScheduleValue(kDriveStateParameter, stopped, now_us_ + stop.after_us);
    ++stop.stops;
}

void DriveTable::MoveIdentification() {
    if (!identification.enabled || !identification.running) return;
    DriveParameter* progress = Find(kIdentProgressParameter);
    DriveParameter* command = Find(kIdentCommandParameter);
    const uint64_t elapsed = now_us_ - identification.started_us;
    const uint64_t duration = std::max<uint64_t>(identification.duration_us, 1);
    const int percent = static_cast<int>(std::min<uint64_t>(elapsed * 100 / duration, 100));
    const int shown = std::min(percent, identification.ends_at);
    if (progress != nullptr) progress->value = PercentAs(*progress, shown);
    if (shown < identification.ends_at) return;
    identification.running = false;
    if (command != nullptr) command->value = 0;
}

}  // namespace sim

// Parameter table of the virtual drive: types, range checks and writes.
#include "sim/drive_table.h"

#include <algorithm>

#include <cstring>

namespace sim {

namespace {

constexpr DriveType kTypes[] = {
    {'0', "BEGRIFF", 0, false, false, false},
    {'1', "BINARY8", 0, false, false, false},
    {'2', "USIGN8", 1, false, false, false},
    {'3', "BINARY16", 0, false, false, false},
    {'4', "USIGN16", 2, false, false, false},
    {'5', "FIXPT16", 2, false, false, false},
    {'6', "PASSWORD", 0, false, false, false},
    {'7', "INT16", 2, true, false, false},
    {'8', "INT32Q16", 4, true, false, false},
    {'9', "FLOAT32", 4, false, true, false},
    {':', "ERR_STRUC", 4, false, false, false},
    {';', "STRING", 0, false, false, true},
    {'<', "INT8", 1, true, false, false},
    {'=', "INT32", 4, true, false, false},
    {'>', "USIGN32", 4, false, false, false},
};

float AsFloat(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

}  // namespace

const DriveType* FindDriveType(std::string_view name) {
    for (const DriveType& type : kTypes)
        if (name == type.name) return &type;
    return nullptr;
}

const DriveType* FindDriveTypeByCode(char code) {
    for (const DriveType& type : kTypes)
        if (code == type.code) return &type;
    return nullptr;
}

bool DriveParameter::InRange(uint32_t raw) const {
    if (type == nullptr || type->is_string) return true;
    if (type->is_float) {
        float f = AsFloat(raw);
        return f >= AsFloat(minimum) && f <= AsFloat(maximum);  // false for NaN
    }
    if (type->is_signed) {
        auto s = static_cast<int32_t>(raw);
        return s >= static_cast<int32_t>(minimum) && s <= static_cast<int32_t>(maximum);
    }
    return raw >= minimum && raw <= maximum;
}

uint32_t DriveParameter::Widen(uint32_t element) const {
    if (type == nullptr || type->width <= 0 || type->width >= 4) return element;
    const int bits = type->width * 8;
    const uint32_t mask = (uint32_t{1} << bits) - 1;
    element &= mask;
    if (type->is_signed && (element & (uint32_t{1} << (bits - 1))) != 0) element |= ~mask;
    return element;
}

DriveParameter* DriveTable::Find(int number) {
    auto it = parameters_.find(number);
    return it == parameters_.end() ? nullptr : &it->second;
}

const DriveParameter* DriveTable::Find(int number) const {
    auto it = parameters_.find(number);
    return it == parameters_.end() ? nullptr : &it->second;
}

void DriveTable::Remove(int number) { parameters_.erase(number); }

void DriveTable::Put(DriveParameter parameter) {
    if (parameter.type == nullptr) parameter.type = FindDriveType("INT32");
    const int number = parameter.number;
    parameters_[number] = std::move(parameter);
}

DriveParameter* DriveTable::PutFullRange(int number, const char* name, const char* type, uint32_t value) {
    DriveParameter p;
    p.number = number;
    p.name = name;
    p.type = FindDriveType(type);
    if (p.type == nullptr) p.type = FindDriveType("INT32");
    p.minimum = p.type->is_signed ? 0x80000000u : 0;
    p.maximum = p.type->is_signed ? 0x7FFFFFFFu : 0xFFFFFFFFu;
    p.value = value;
    Put(std::move(p));
    return Find(number);
}

uint16_t DriveTable::WriteValue(int number, uint32_t raw) {
    DriveParameter* p = Find(number);
    if (p == nullptr) return kStatusNoParameter;
    if (p->read_only) return kStatusWriteAccess;
    if (p->IsArray() || p->type->is_string || !p->InRange(raw)) return kStatusInvalidValue;
    const bool sameSelection = p->value == raw;
    p->value = raw;
    p->settling.pending = false;
    if (number == kHandshakeParameter && handshake.enabled && raw == kHandshakeSetEnd) {
        handshake.checking = true;
        handshake.polls_left = handshake.busy_polls;
    }
    // Asked again for the mode it is already switching to, the drive goes on
    // counting; a new selection starts the change over.
    if (number == kRunModeSelectParameter && run_mode.enabled && !(run_mode.pending && sameSelection)) {
        run_mode.pending = true;
        run_mode.reads_left = run_mode.reads_before;
    }
    if (number == kControlWordParameter) FollowControlWord(raw);
    AfterScriptedWrite(number, raw);
    return 0;
}

void MemoryImage::SetWord(uint32_t address, uint16_t word) {
    bytes[address] = static_cast<uint8_t>(word & 0xFF);
    bytes[address + 1] = static_cast<uint8_t>(word >> 8);
}

uint16_t MemoryImage::WordAt(uint32_t address) const {
    auto byteAt = [this](uint32_t at) -> uint16_t {
        const auto it = bytes.find(at);
        return it != bytes.end() ? it->second : 0;
    };
    return static_cast<uint16_t>(byteAt(address) | (byteAt(address + 1) << 8));
}

void DriveTable::FollowControlWord(uint32_t raw) {
    DriveParameter* state = Find(kDriveStateParameter);
    if (state == nullptr) return;
    if (raw == 0) FollowMotionCommand(command_motion.command_parameter, "STOP B");
    for (const ControlWordRule& rule : control_word.rules) {
        if (rule.written != raw) continue;
        if (control_word.high_nibble) {
            state->value = (state->value & ~0xF000u) | ((rule.state & 0xFu) << 12);
        } else {
            state->value = (state->value & ~0xFFFFu) | (rule.state & 0xFFFFu);
        }
        return;
    }
}

void DriveTable::FollowMotionCommand(int number, const std::string& text) {
    DriveParameter* state = Find(kDriveStateParameter);
    if (!command_motion.enabled || number != command_motion.command_parameter || state == nullptr) return;
    auto withState = [state](uint32_t drive_state) { return (state->value & ~0xF000u) | ((drive_state & 0xFu) << 12); };
    if (text.rfind("GO", 0) == 0) {
        state->value = withState(command_motion.moving_state);
    } else if (text == "STOP B" && !command_motion.keeps_moving) {
        if (command_motion.stop_after_us == 0)
            state->value = withState(command_motion.standing_state);
        else
            ScheduleValue(
                kDriveStateParameter, withState(command_motion.standing_state), now_us_ + command_motion.stop_after_us);
    }
}

void DriveTable::ScheduleValue(int number, uint32_t raw, uint64_t at_us) {
    timed_values_.push_back({number, raw, at_us});
}

void DriveTable::ApplyDueValues(uint64_t now_us) {
    now_us_ = now_us;
    std::vector<TimedValue> waiting;
    for (const TimedValue& timed : timed_values_) {
        if (timed.at_us > now_us) {
            waiting.push_back(timed);
        } else if (DriveParameter* p = Find(timed.number)) {
            p->value = timed.value;
        }
    }
    timed_values_ = std::move(waiting);
    CountPlcActivity(now_us);
}

void DriveTable::CountPlcActivity(uint64_t now_us) {
    if (!plc.enabled) return;
    DriveParameter* counters = Find(kPlcActivityParameter);
    if (plc.counted_until_us == 0 || counters == nullptr || counters->elements.size() < 2 ||
        plc.counter_period_us == 0) {
        plc.counted_until_us = now_us;
        return;
    }
    if (now_us < plc.counted_until_us + plc.counter_period_us) return;
    const uint64_t periods = (now_us - plc.counted_until_us) / plc.counter_period_us;
    plc.counted_until_us += periods * plc.counter_period_us;
    for (int program = 0; program < 2; ++program)
        if (plc.running[program]) counters->elements[program] += static_cast<uint32_t>(periods);
}

void DriveTable::BeforeValueRead(int number) {
    if (number == kMemoryWordParameter && memory.enabled) {
        const DriveParameter* low = Find(kMemoryAddressLowParameter);
        const DriveParameter* high = Find(kMemoryAddressHighParameter);
        DriveParameter* word = Find(kMemoryWordParameter);
        if (low != nullptr && high != nullptr && word != nullptr) {
            const uint32_t address = ((high->value & 0xFFFF) << 16) | (low->value & 0xFFFF);
            word->value = memory.WordAt(address & ~1u);
        }
    }
    MoveIdentification();
    StepReadScript(number);
    if (DriveParameter* p = Find(number); p != nullptr && p->settling.pending) {
        if (p->settling.reads_left > 0) {
            --p->settling.reads_left;
        } else {
            p->settling.pending = false;
            p->value = p->settling.value;
        }
    }
    if (number == kRunModeReportParameter && run_mode.pending && run_mode.reads_left != kRunModeNeverFollows) {
        if (run_mode.reads_left > 0) {
            --run_mode.reads_left;
        } else {
            run_mode.pending = false;
            const DriveParameter* selected = Find(kRunModeSelectParameter);
            DriveParameter* reported = Find(number);
            if (selected != nullptr && reported != nullptr) reported->value = selected->value;
        }
    }
    if (number != kHandshakeParameter || !handshake.checking) return;
    if (handshake.polls_left == kHandshakeBusyForever) return;
    if (handshake.polls_left > 0) {
        --handshake.polls_left;
        return;
    }
    handshake.checking = false;
    if (DriveParameter* p = Find(number)) p->value = handshake.result;
}

uint16_t DriveTable::WriteText(int number, const std::string& text) {
    DriveParameter* p = Find(number);
    if (p == nullptr) return kStatusNoParameter;
    if (p->read_only) return kStatusWriteAccess;
    if (!p->type->is_string || text.size() > kMaxTextLength) return kStatusInvalidValue;
    if (pos_programs.Serves(number) && pos_programs.Refuses(text)) return kStatusInvalidValue;
    p->text = text;
    p->text_log.push_back(text);
    if (pos_programs.Serves(number)) pos_programs.Hear(text);
    FollowMotionCommand(number, text);
    return 0;
}

uint16_t DriveTable::WriteElements(int number, size_t first, const std::vector<uint32_t>& elements) {
    DriveParameter* p = Find(number);
    if (p == nullptr) return kStatusNoParameter;
    if (p->read_only) return kStatusWriteAccess;
    if (!p->IsArray() || first > p->elements.size() || elements.size() > p->elements.size() - first)
        return kStatusInvalidValue;
    for (uint32_t element : elements)
        if (!p->InRange(p->Widen(element))) return kStatusInvalidValue;
    for (size_t i = 0; i < elements.size(); ++i) p->elements[first + i] = p->Widen(elements[i]);
    if (plc.enabled && std::find(plc.program_parameters.begin(), plc.program_parameters.end(), number) !=
                           plc.program_parameters.end()) {
        if (DriveParameter* state = Find(kPlcLoadStateParameter)) state->value = plc.load_state_after_load;
    }
    return 0;
}

std::string StockFixturePath(const std::string& name) {
    std::string path(TORVAN_SIM_FIXTURE_DIR);
    path.append("/").append(name);
    return path;
}

}  // namespace sim

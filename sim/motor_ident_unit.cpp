// The identification unit's motors and its answers to the command parameter.
#include "sim/motor_ident_unit.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "sim/drive_table.h"

namespace sim {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr uint8_t kRecordedSampleBytes = 64;

}  // namespace

double SimMotor::MagnetisingAt(double im) const { return im <= knee ? lh : lh * knee / im; }

double SimMotor::MagnetisingFor(double current, double omega) const {
    // Im falls as Lh grows while Lh(Im) falls as Im grows, so L - Lh(Im(L))
    // rises with L: its zero lies between 0 and lh.
    auto im = [&](double l) {
        return current * std::abs(std::complex<double>(rr, omega * ls)) /
               std::abs(std::complex<double>(rr, omega * (ls + l)));
    };
    double low = 0.0, high = lh;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        if (mid - MagnetisingAt(im(mid)) < 0.0) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return 0.5 * (low + high);
}

std::complex<double> SimMotor::Impedance(double current, double omega) const {
    const std::complex<double> j(0.0, 1.0);
    if (!induction) return rs + j * omega * ls;
    const double l = MagnetisingFor(current, omega);
    const std::complex<double> rotor = rr + j * omega * ls;
    return rs + j * omega * ls + j * omega * l * rotor / (rr + j * omega * (ls + l));
}

void DriveTable::MoveMotorIdent(int number, uint32_t raw) {
    if (!motor_ident.enabled || number != kMotorIdentCommandParameter) return;
    DriveParameter* state = Find(kMotorIdentStateParameter);
    if (state == nullptr) return;
    const float command = std::bit_cast<float>(raw);
    // The drive clears the command when it has done it.
    auto end = [&](float endState, uint64_t after_us) {
        ScheduleValue(kMotorIdentStateParameter, std::bit_cast<uint32_t>(endState), now_us_ + after_us);
        ScheduleValue(kMotorIdentCommandParameter, std::bit_cast<uint32_t>(0.0f), now_us_ + after_us);
    };
    if (command == 1.0f) {
        end(0.0f, motor_ident.reset_delay_us);
        return;
    }
    if (command == 4.0f && type_number / 1000 != 4) {
        // The encoder-offset detection of families 5 to 7.
        ++motor_ident.encoder_offset_runs;
        state->value = std::bit_cast<uint32_t>(1.0f);
        end(motor_ident.encoder_offset_end, motor_ident.encoder_offset_us);
        return;
    }
    const bool firstStep = command == 3.0f || command == 4.0f;
    if (command != 2.0f && !firstStep) return;
    const int step = motor_ident.steps++;
    motor_ident.step_commands.push_back(command);
    state->value = std::bit_cast<uint32_t>(1.0f);
    uint64_t duration = motor_ident.first_step_us;
    if (firstStep) {
        if (DriveParameter* gain = Find(800)) gain->value = std::bit_cast<uint32_t>(motor_ident.first_step_gain);
        if (DriveParameter* reset = Find(motor_ident.reset_time_parameter))
            reset->value = std::bit_cast<uint32_t>(motor_ident.first_step_reset_ms);
        samples.assign(kRecordedSampleBytes, 0);
        for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i);
        sample_position = 0;
    } else {
        const DriveParameter* current = Find(kMotorIdentCurrentParameter);
        const DriveParameter* timing = Find(kMotorIdentTimingParameter);
        const DriveParameter* frequency = Find(kMotorIdentFrequencyParameter);
        DriveParameter* response = Find(kMotorIdentResponseParameter);
        if (current == nullptr || timing == nullptr || frequency == nullptr || response == nullptr) return;
        const double amplitude = std::bit_cast<float>(current->elements.at(0));
        const double hz = std::bit_cast<float>(frequency->IsArray() ? frequency->elements.at(0) : frequency->value);
        const std::complex<double> voltage = motor_ident.motor.Impedance(amplitude, kTwoPi * hz) * amplitude;
        response->elements.at(0) = std::bit_cast<uint32_t>(static_cast<float>(voltage.imag()));
        response->elements.at(1) = std::bit_cast<uint32_t>(static_cast<float>(voltage.real()));
        response->elements.at(2) = std::bit_cast<uint32_t>(0.0f);
        response->elements.at(3) = std::bit_cast<uint32_t>(static_cast<float>(amplitude));
        duration = static_cast<uint64_t>(std::llround(std::bit_cast<float>(timing->elements.at(2)) * 1e6));
    }
    const auto script = std::find_if(motor_ident.scripts.begin(),
                                     motor_ident.scripts.end(),
                                     [step](const MotorIdentScript& s) { return s.step == step; });
    if (script == motor_ident.scripts.end()) {
        end(2.0f, duration);
        return;
    }
    const MotorIdentFault fault = script->fault;
    motor_ident.scripts.erase(script);
    switch (fault) {
        case MotorIdentFault::kFail:
            end(3.0f, duration);
            break;
        case MotorIdentFault::kStayRunning:
            break;
        case MotorIdentFault::kDropOnce:
            // The drive forgets the command; the next one is counted afresh.
            end(0.0f, duration / 2);
            break;
    }
}

}  // namespace sim

// The full read of a parameter set (ReadBusBase) from the virtual drive over
// the in-memory serial line, where every character takes ten bit times on
// the virtual clock. The figure is the virtual time of the read against the
// wire time of the same characters; the details split the difference into
// the drive's turnarounds and the program's reactions, and give the real CPU
// time per telegram of the program's side.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "app/services/app_files.h"
#include "bench/support/bench_env.h"
#include "bench/support/full_set_table.h"
#include "bench/support/line_timeline.h"
#include "bench/support/poll_step_clock.h"
#include "bench/support/serial_drive.h"
#include "bus/serial/tarn_telegram.h"
#include "parameters/parabase/para_base.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"

namespace {

// How finely a yield of the receive loop moves the virtual clock.
enum PollStep : int64_t {
    kTestClockStep = 0,  // the test clock's millisecond
    kTenthCharacter = 1,
    kHundredthCharacter = 2,
};

uint64_t YieldStepUs(PollStep step, uint64_t character_us) {
    switch (step) {
        case kTestClockStep:
            return 1000;
        case kTenthCharacter:
            return std::max<uint64_t>(1, character_us / 10);
        case kHundredthCharacter:
            return std::max<uint64_t>(1, character_us / 100);
    }
    return 1000;
}

// CPU time the drive's side takes for what it heard in a run: the same
// characters fed once more to a drive of its own. Timing the drive inside the
// run would cost two clock reads per character, more than the drive itself.
uint64_t DriveReplayCpuNs(const sim::DriveTable& table, int32_t baud, const sim::DriveCapture& capture) {
    sim::VirtualDrive replay(table, bench::kSerialDriveAddress, baud);
    const uint64_t start = bench::ThreadCpuNs();
    for (const sim::CapturedByte& c : capture.Bytes())
        if (c.to_drive && !c.garbled) benchmark::DoNotOptimize(replay.Receive(c.byte, c.time_us));
    return bench::ThreadCpuNs() - start;
}

void SerialFullSetRead(benchmark::State& state) {
    const auto baud = static_cast<int32_t>(state.range(0));
    const auto step = static_cast<PollStep>(state.range(1));
    const bool settle = state.range(2) != 0;
    const uint64_t character_us = platform::CharacterTimeUs(baud);

    OpenApplicationFiles();
    bench::WriteStandardDescriptionFile();
    const sim::DriveTable table = bench::FullSetTable();

    bench::LineTimeline line_time;
    double virtual_us = 0;
    // Virtual times repeat exactly from run to run; CPU time does not, and
    // its least over the runs is the one least disturbed by the machine.
    double program_cpu_ns = std::numeric_limits<double>::max();
    double telegrams = 0;
    double yields = 0;
    double waits_us = 0;
    for (auto _ : state) {
        bench::PollStepClock& clock = bench::InstallPollStepClock(YieldStepUs(step, character_us));
        {
            bench::SerialDrive serial(table, baud);
            if (!serial.IsOpen()) {
                state.SkipWithError("the serial bus did not open");
                break;
            }
            sim::VirtualDrive& drive = serial.Drive();
            serial.Bus().SetWriteSettleWait(settle);
            ParaBase base(&serial.Bus(), bench::kSerialDriveAddress);
            drive.ClearCapture();

            const uint64_t start_us = clock.NowUs();
            const uint64_t yields_before = clock.Yields();
            const uint64_t waits_before = clock.SleepUs() + clock.BusyWaitUs();
            const uint32_t telegrams_before = TelegramNumber;
            const uint64_t cpu_before = bench::ThreadCpuNs();
            const int result = base.ReadBusBase();
            const uint64_t cpu = bench::ThreadCpuNs() - cpu_before;
            const uint64_t end_us = clock.NowUs();

            if (result != 0 || bench::EntriesInDataSet(base) != bench::FullSetPresentCount()) {
                state.SkipWithError(("the read failed: " + std::string(base.MessageBuffer)).c_str());
                break;
            }
            state.SetIterationTime(static_cast<double>(end_us - start_us) / 1e6);
            const sim::DriveCapture capture = drive.Capture();
            line_time = bench::AnalyseLine(capture.Bytes(), character_us, start_us, end_us);
            virtual_us = static_cast<double>(end_us - start_us);
            const uint64_t drive_cpu = DriveReplayCpuNs(table, baud, capture);
            program_cpu_ns = std::min(program_cpu_ns, static_cast<double>(cpu - std::min(cpu, drive_cpu)));
            telegrams = TelegramNumber - telegrams_before;
            yields = static_cast<double>(clock.Yields() - yields_before);
            waits_us = static_cast<double>(clock.SleepUs() + clock.BusyWaitUs() - waits_before);
        }
    }
    CloseApplicationFiles();
    if (telegrams == 0) return;

    const double wire = static_cast<double>(line_time.wire_us);
    bench::ReportFigure(state, virtual_us / 1e6, wire / 1e6, "s per set", "wire time of the same characters");
    state.counters["telegrams"] = telegrams;
    state.counters["cpu_us_per_telegram"] = program_cpu_ns / telegrams / 1e3;
    state.counters["polls_per_telegram"] = yields / telegrams;
    state.counters["poll_step_us"] = static_cast<double>(YieldStepUs(step, character_us));
    // Shares of the difference, in units of the wire time.
    state.counters["drive_turnaround"] = static_cast<double>(line_time.drive_turnaround_us) / wire;
    state.counters["program_reaction"] = static_cast<double>(line_time.program_reaction_us) / wire;
    state.counters["program_gaps"] = static_cast<double>(line_time.program_gap_us) / wire;
    state.counters["reply_gaps"] = static_cast<double>(line_time.drive_gap_us) / wire;
    state.counters["before_after"] = static_cast<double>(line_time.before_first_us + line_time.after_last_us) / wire;
    state.counters["eot_share_of_wire"] = static_cast<double>(line_time.eot_wire_us) / wire;
    state.counters["mean_reaction_us"] =
        line_time.reactions > 0 ? static_cast<double>(line_time.program_reaction_us) / line_time.reactions : 0;
    state.counters["largest_reaction_us"] = static_cast<double>(line_time.largest_reaction_us);
    state.counters["sleeps_and_busy_waits_us"] = waits_us;
}

constexpr int kRuns = 3;

void SerialArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"baud", "poll", "settle"});
    for (int64_t baud : {9600, 57600, 115200}) {
        b->Args({baud, kTenthCharacter, 0});
        b->Args({baud, kHundredthCharacter, 0});
        b->Args({baud, kTestClockStep, 0});
    }
    b->Args({9600, kTenthCharacter, 1});
}

BENCHMARK(SerialFullSetRead)->Apply(SerialArguments)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(kRuns);

}  // namespace

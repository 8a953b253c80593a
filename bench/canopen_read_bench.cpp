// The full read of the same parameter set (ReadBusBase) over the CANopen bus
// at 1 Mbit/s, from the virtual drive as a CANopen node on the virtual CAN
// bus. The master's worker runs on its own thread as in the program; the
// GUI thread's reply waits move the virtual clock by the real time they
// take, so the figure is the time the read takes against the bit time of the
// frames it exchanged.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/services/app_files.h"
#include "bench/support/bench_env.h"
#include "bench/support/full_set_table.h"
#include "bus/can/can_driver_api.h"
#include "bus/can/can_open_tarn.h"
#include "parameters/parabase/para_base.h"
#include "platform/system/clock.h"
#include "sim/can_bus.h"
#include "sim/can_drive_node.h"

namespace {

constexpr int kOwnNode = 1;
constexpr int kDriveNode = 1;
constexpr int32_t kOneMegabitId = 7;
constexpr double kBitUs = 1.0;  // at 1 Mbit/s

// Bits of a standard data frame without stuffing: start, 11-bit identifier,
// RTR, IDE, r0, 4-bit length, the data, 15-bit CRC and its delimiter, the
// acknowledge slot and delimiter, 7 end bits, and 3 bits of interframe space.
constexpr int kFrameBitsWithoutData = 1 + 11 + 3 + 4 + 16 + 2 + 7 + 3;

// The worker's pause after each SDO reply, and how long such a sleep really
// takes on this machine.
constexpr uint32_t kReplyPauseMs = 2;
constexpr int kPauseSamples = 50;

double RealSleepUs(uint32_t ms) {
    const uint64_t start = bench::RealNs();
    for (int i = 0; i < kPauseSamples; ++i) platform::RealClock().Sleep(ms);
    return static_cast<double>(bench::RealNs() - start) / kPauseSamples / 1e3;
}

int FrameBits(const sim::CanFrame& frame) {
    return kFrameBitsWithoutData + (frame.remote ? 0 : 8 * frame.length);
}

void CanOpenFullSetRead(benchmark::State& state) {
    OpenApplicationFiles();
    bench::WriteStandardDescriptionFile();
    sim::RegisterVirtualCanAdapter();
    sim::VirtualCanBus& adapter = sim::TheVirtualCanBus();

    double virtual_us = 0;
    double real_us = 0;
    double cpu_ns = 0;
    double frames = 0;
    double frame_bits = 0;
    double requests = 0;
    for (auto _ : state) {
        platform::InstallClock(std::make_unique<platform::VirtualClock>());
        adapter.Reset();
        sim::CanDriveNode node(bench::FullSetTable(), kDriveNode);
        node.AttachTo(adapter);
        CanAdapterSettings settings;
        settings.hardwareId = kHardwareUsb;
        settings.baudRateId = kOneMegabitId;
        {
            CCanOpenTarn bus(kOwnNode, &settings, CanWorkerMode::kThread);
            if (!bus.IsOpen()) {
                state.SkipWithError("the CANopen bus did not open");
                break;
            }
            bus.AddDevice(kDriveNode, bench::kFullSetDeviceCode, bench::kFullSetVersion);
            ParaBase base(&bus, kDriveNode);
            adapter.ClearCapture();

            const uint64_t start_us = platform::TheClock().NowUs();
            const uint64_t real_start = bench::RealNs();
            const uint64_t cpu_start = bench::ThreadCpuNs();
            const int result = base.ReadBusBase();
            cpu_ns = static_cast<double>(bench::ThreadCpuNs() - cpu_start);
            real_us = static_cast<double>(bench::RealNs() - real_start) / 1e3;
            virtual_us = static_cast<double>(platform::TheClock().NowUs() - start_us);
            if (result != 0 || bench::EntriesInDataSet(base) != bench::FullSetPresentCount()) {
                state.SkipWithError(("the read failed: " + std::string(base.MessageBuffer)).c_str());
                break;
            }
            state.SetIterationTime(virtual_us / 1e6);
            frames = 0;
            frame_bits = 0;
            requests = 0;
            for (const sim::CapturedFrame& captured : adapter.Capture()) {
                ++frames;
                frame_bits += FrameBits(captured.frame);
                if (captured.from_program) ++requests;
            }
        }
        adapter.Reset();
    }
    CloseApplicationFiles();
    if (frames == 0) return;

    const double wire_us = frame_bits * kBitUs;
    bench::ReportFigure(state, virtual_us / 1e6, wire_us / 1e6, "s per set", "frames x bit time at 1 Mbit/s");
    // The virtual bus hands frames over at once, so the figure is the
    // program's own time; on a cable the frames' time comes on top.
    state.counters["ratio_with_frames_on_cable"] = (virtual_us + wire_us) / wire_us;
    state.counters["frames"] = frames;
    state.counters["sdo_requests"] = requests;
    state.counters["us_per_request"] = virtual_us / requests;
    state.counters["wire_us_per_request"] = wire_us / requests;
    state.counters["real_over_virtual"] = real_us / virtual_us;
    state.counters["gui_cpu_us_per_request"] = cpu_ns / requests / 1e3;
    state.counters["reply_pause_real_us"] = RealSleepUs(kReplyPauseMs);
}

BENCHMARK(CanOpenFullSetRead)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

// The full read of the same parameter set (ReadBusBase) over the CANopen bus
// at 1 Mbit/s, from the virtual drive as a CANopen node on the virtual CAN
// bus. The master's worker runs on its own thread as in the program; the
// GUI thread's reply waits move the virtual clock by the real time they
// take, so the figure is the time the read takes against the bit time of the
// frames it exchanged. A second benchmark takes the worker's processor time
// while the bus is open and idle, a third how late the first frame after a
// quiet spell is taken.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

int FrameBits(const sim::CanFrame& frame) { return kFrameBitsWithoutData + (frame.remote ? 0 : 8 * frame.length); }

// A fresh virtual clock and adapter with the drive of the full set as its
// node, and the settings of a bus on it at 1 Mbit/s.
struct VirtualCable {
    explicit VirtualCable(sim::VirtualCanBus& adapter) : node(bench::FullSetTable(), kDriveNode) {
        platform::InstallClock(std::make_unique<platform::VirtualClock>());
        adapter.Reset();
        node.AttachTo(adapter);
        settings.hardwareId = kHardwareUsb;
        settings.baudRateId = kOneMegabitId;
    }

    // The bus on the cable with its worker on its own thread, or null (and
    // the benchmark skipped) when it did not open.
    std::unique_ptr<CCanOpenTarn> OpenBus(benchmark::State& state) const {
        auto bus = std::make_unique<CCanOpenTarn>(kOwnNode, &settings, CanWorkerMode::kThread);
        if (bus->IsOpen()) return bus;
        state.SkipWithError("the CANopen bus did not open");
        return nullptr;
    }

    sim::CanDriveNode node;
    CanAdapterSettings settings;
};

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
        VirtualCable cable(adapter);
        {
            const std::unique_ptr<CCanOpenTarn> opened = cable.OpenBus(state);
            if (!opened) break;
            CCanOpenTarn& bus = *opened;
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
}

BENCHMARK(CanOpenFullSetRead)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

// Processor time of the whole process, in nanoseconds, and the times its
// threads gave up the processor to wait.
struct ProcessUsage {
    uint64_t cpu_ns;
    uint64_t waits;
};

ProcessUsage TakeProcessUsage() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval& t) {
        return static_cast<uint64_t>(t.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(t.tv_usec) * 1000u;
    };
    return {ns(usage.ru_utime) + ns(usage.ru_stime), static_cast<uint64_t>(usage.ru_nvcsw)};
}

// How much of one processor core the bus takes while it is open and nothing
// is asked of it, once the opening has settled: the calling thread sleeps,
// so the process's processor time over that real time is the worker's. The
// figure is a share of one core against the 2% a desktop program may spend
// waiting; the worker's wake-ups per second show the same without the
// machine's cost of a wake-up.
constexpr auto kIdleSettle = std::chrono::milliseconds(300);
constexpr auto kIdleSpan = std::chrono::seconds(3);
constexpr double kIdleShareLimit = 0.02;

// Argument 1: the adapter signals received frames; 0: it does not, and the
// worker has to look for them.
void RegisterAdapter(const benchmark::State& state) {
    sim::RegisterVirtualCanAdapter(state.range(0) != 0 ? "" : kCanReceiveDescriptorName);
}

void CanOpenIdleWorker(benchmark::State& state) {
    RegisterAdapter(state);
    sim::VirtualCanBus& adapter = sim::TheVirtualCanBus();
    double share = 0;
    double wakeups_per_s = 0;
    for (auto _ : state) {
        VirtualCable cable(adapter);
        {
            const std::unique_ptr<CCanOpenTarn> bus = cable.OpenBus(state);
            if (!bus) break;
            std::this_thread::sleep_for(kIdleSettle);
            const ProcessUsage start = TakeProcessUsage();
            const uint64_t real_start = bench::RealNs();
            std::this_thread::sleep_for(kIdleSpan);
            const ProcessUsage end = TakeProcessUsage();
            const double real_ns = static_cast<double>(bench::RealNs() - real_start);
            share = static_cast<double>(end.cpu_ns - start.cpu_ns) / real_ns;
            // The sleeping thread itself gives up the processor once.
            wakeups_per_s = static_cast<double>(end.waits - start.waits - 1) / (real_ns / 1e9);
            state.SetIterationTime(share);
        }
        adapter.Reset();
    }
    bench::ReportFigure(state, share, kIdleShareLimit, "share of one core", "2% of one core");
    state.counters["worker_cpu_percent"] = share * 100;
    state.counters["worker_wakeups_per_s"] = wakeups_per_s;
}

BENCHMARK(CanOpenIdleWorker)->ArgName("signalled")->Arg(1)->Arg(0)->UseManualTime()->Iterations(1);

// How long after it arrives the worker hands the program the first frame
// after a quiet spell (a PDO here; an emergency or a guarding answer alike):
// each sample lets the bus fall quiet, then a frame comes from the drive and
// the program asks for it until it is there. The figure is the slowest
// sample's median against the 2 ms a drive's process data may wait, with
// the slowest sample beside it (on a loaded machine that one is the
// scheduler's); the worker's wake-ups by the adapter's receive signal show
// how it learned of the frames.
constexpr auto kQuietSpell = std::chrono::milliseconds(150);
constexpr int kFirstAnswerSamples = 20;
constexpr double kFirstAnswerLimitMs = 2.0;
constexpr uint32_t kPdoIn1CobId = 0x181;

void CanOpenFirstAnswerAfterQuiet(benchmark::State& state) {
    RegisterAdapter(state);
    sim::VirtualCanBus& adapter = sim::TheVirtualCanBus();
    std::vector<double> latencies_ms;
    double woken_by_frames = 0;
    for (auto _ : state) {
        VirtualCable cable(adapter);
        {
            const std::unique_ptr<CCanOpenTarn> bus = cable.OpenBus(state);
            if (!bus) break;
            const uint64_t woken_before = bus->GetWorkerWaits().onReceive;
            latencies_ms.clear();
            for (int i = 0; i < kFirstAnswerSamples; ++i) {
                std::this_thread::sleep_for(kQuietSpell);
                CanDataValues data{};
                const uint64_t start = bench::RealNs();
                adapter.Inject(sim::CanFrame::Data(kPdoIn1CobId, {1, 2, 3, 4, 5, 6, 7, static_cast<uint8_t>(i)}));
                while (!bus->ReadPdoIn1(data)) {}
                latencies_ms.push_back(static_cast<double>(bench::RealNs() - start) / 1e6);
            }
            woken_by_frames = static_cast<double>(bus->GetWorkerWaits().onReceive - woken_before);
        }
        adapter.Reset();
    }
    if (latencies_ms.empty()) return;
    std::sort(latencies_ms.begin(), latencies_ms.end());
    const double median = latencies_ms[latencies_ms.size() / 2];
    state.SetIterationTime(median / 1e3);
    bench::ReportFigure(state, median, kFirstAnswerLimitMs, "ms to the first frame (median)", "2 ms");
    state.counters["slowest_ms"] = latencies_ms.back();
    state.counters["samples"] = static_cast<double>(latencies_ms.size());
    state.counters["worker_woken_by_frames"] = woken_by_frames;
}

BENCHMARK(CanOpenFirstAnswerAfterQuiet)->ArgName("signalled")->Arg(1)->Arg(0)->UseManualTime()->Iterations(1);

}  // namespace

#include "platform/system/clock.h"

#include <chrono>
#include <cstdio>
#include <mutex>

#include "platform/system/event_pump.h"

namespace platform {

namespace {

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::mutex g_clock_mutex;
std::unique_ptr<Clock> g_clock;
std::atomic<Clock*> g_clock_ptr{nullptr};

std::optional<int32_t> g_zone_offset;

}  // namespace

RealClock::RealClock() : start_ns_(SteadyNs()) {}

uint64_t RealClock::NowUs() { return static_cast<uint64_t>(SteadyNs() - start_ns_) / 1000; }

uint32_t RealClock::Tick() { return static_cast<uint32_t>(SteadyNs() / 1000000); }

void RealClock::Sleep(uint32_t ms) {
    if (ms == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

void RealClock::BusyWait(uint32_t ms) {
    Deadline deadline(ms);
    while (!deadline.Expired()) {
        std::this_thread::yield();
    }
}

int64_t RealClock::WallSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

VirtualClock::VirtualClock(uint32_t start_tick, int64_t start_wall_seconds)
    : start_tick_(start_tick), start_wall_seconds_(start_wall_seconds), owner_(std::this_thread::get_id()) {}

uint64_t VirtualClock::NowUs() { return now_us_.load(); }

uint32_t VirtualClock::Tick() { return start_tick_ + static_cast<uint32_t>(now_us_.load() / 1000); }

void VirtualClock::Sleep(uint32_t ms) {
    if (!OwnedByThisThread()) {
        RealClock().Sleep(ms);
        return;
    }
    AdvanceMs(ms == 0 ? 1 : ms);
}

void VirtualClock::BusyWait(uint32_t ms) {
    if (!OwnedByThisThread()) {
        RealClock().Sleep(ms);
        return;
    }
    AdvanceMs(ms);
}

int64_t VirtualClock::WallSeconds() { return start_wall_seconds_ + static_cast<int64_t>(now_us_.load() / 1000000); }

void VirtualClock::AdvanceUs(uint64_t us) { now_us_.fetch_add(us); }

void VirtualClock::AdvanceToUs(uint64_t us) {
    uint64_t now = now_us_.load();
    while (us > now && !now_us_.compare_exchange_weak(now, us)) {}
}

void VirtualClock::SetWallSeconds(int64_t seconds) {
    start_wall_seconds_ = seconds - static_cast<int64_t>(now_us_.load() / 1000000);
}

void VirtualClock::TakeOwnership() { owner_ = std::this_thread::get_id(); }

bool VirtualClock::OwnedByThisThread() const { return owner_ == std::this_thread::get_id(); }

Clock& TheClock() {
    Clock* clock = g_clock_ptr.load();
    if (clock != nullptr) return *clock;
    std::lock_guard<std::mutex> lock(g_clock_mutex);
    if (!g_clock) {
        g_clock = std::make_unique<RealClock>();
        g_clock_ptr.store(g_clock.get());
    }
    return *g_clock;
}

void InstallClock(std::unique_ptr<Clock> clock) {
    std::lock_guard<std::mutex> lock(g_clock_mutex);
    if (!clock) clock = std::make_unique<RealClock>();
    if (auto* v = dynamic_cast<VirtualClock*>(clock.get())) v->TakeOwnership();
    g_clock_ptr.store(clock.get());
    // The old clock is kept alive until the next install, never freed under a reader.
    static std::unique_ptr<Clock> previous;
    previous = std::move(g_clock);
    g_clock = std::move(clock);
}

VirtualClock* TheVirtualClock() { return dynamic_cast<VirtualClock*>(&TheClock()); }

void SetTimeZoneOffset(std::optional<int32_t> seconds_east) { g_zone_offset = seconds_east; }

std::tm LocalTime(int64_t wall_seconds) {
    std::tm out{};
    if (g_zone_offset) {
        time_t shifted = static_cast<time_t>(wall_seconds + *g_zone_offset);
        gmtime_r(&shifted, &out);
    } else {
        time_t t = static_cast<time_t>(wall_seconds);
        localtime_r(&t, &out);
    }
    return out;
}

std::tm LocalNow() { return LocalTime(TheClock().WallSeconds()); }

std::string CTimeText(int64_t wall_seconds) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm t = LocalTime(wall_seconds);
    char buf[64];
    std::snprintf(buf,
                  sizeof buf,
                  "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n",
                  kDays[t.tm_wday % 7],
                  kMonths[t.tm_mon % 12],
                  t.tm_mday,
                  t.tm_hour,
                  t.tm_min,
                  t.tm_sec,
                  1900 + t.tm_year);
    return buf;
}

}  // namespace platform

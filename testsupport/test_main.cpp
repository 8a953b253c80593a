// The main of every test executable.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"
#include "testsupport/runtime_tree.h"
#include "testsupport/test_env.h"

namespace testsupport {

namespace {

std::filesystem::path g_root;
std::vector<std::string> g_logged;
std::mutex g_log_mutex;

// A minute of real time per test: it names a test that hangs, and no test
// waits on the real clock for its result, so a machine under load (the
// sanitizer build of a long window test on two busy cores takes several
// times its idle time) stays far inside it. TORVAN_WATCHDOG_MS shortens it
// for the test that checks the watchdog itself.
std::chrono::milliseconds DefaultWatchdogLimit() {
    if (const char* ms = std::getenv("TORVAN_WATCHDOG_MS")) return std::chrono::milliseconds(std::atol(ms));
    return std::chrono::seconds(60);
}

// What became of each test, one line as it happens ("listed", "started",
// then "passed", "failed" or "skipped", and the test's full name), in the file
// beside the XML result ("<name>.cases"). GoogleTest writes its XML only at
// the end; when the watchdog or a crash ends the process early, this file
// still tells the counting script which tests passed and which never did.
class CaseLog {
public:
    void Open() {
        const std::string output = GTEST_FLAG_GET(output);
        const std::string prefix = "xml:";
        if (output.rfind(prefix, 0) != 0) return;
        std::filesystem::path path = output.substr(prefix.size());
        path.replace_extension(".cases");
        file_ = std::fopen(path.c_str(), "w");
    }
    void Close() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (file_ != nullptr) std::fclose(file_);
        file_ = nullptr;
    }
    void Write(const char* what, const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (file_ == nullptr) return;
        std::fprintf(file_, "%s %s\n", what, name.c_str());
        std::fflush(file_);
    }

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

CaseLog g_cases;

// Fails the process when one test runs longer than the limit in real time, so
// a wait that never ends shows up as a failure instead of a hung CI run.
class Watchdog {
public:
    Watchdog() : thread_([this] { Run(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void Arm(const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex_);
        name_ = name;
        armed_ = true;
        start_ = std::chrono::steady_clock::now();
        limit_ = DefaultWatchdogLimit();
        deadline_ = start_ + limit_;
        cv_.notify_all();
    }
    // A new limit for the running test, counted from its start.
    void SetLimit(std::chrono::milliseconds limit) {
        std::lock_guard<std::mutex> lock(mutex_);
        limit_ = limit;
        deadline_ = start_ + limit_;
        cv_.notify_all();
    }
    void Disarm() {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
        cv_.notify_all();
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!quit_) {
            if (!armed_) {
                cv_.wait(lock);
                continue;
            }
            if (cv_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stderr,
                             "\n[  WATCHDOG] %s ran longer than %lld ms in real time: failed\n",
                             name_.c_str(),
                             static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                g_cases.Write("failed", name_);
                std::_Exit(3);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable cv_;
    bool quit_ = false;
    bool armed_ = false;
    std::string name_;
    std::chrono::milliseconds limit_{0};
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};

void ClearDirectory(const std::filesystem::path& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::filesystem::remove_all(entry.path(), ec);
    }
}

Watchdog* g_watchdog = nullptr;

std::string FullName(const ::testing::TestInfo& info) {
    return std::string(info.test_suite_name()) + "." + info.name();
}

class FreshStateListener : public ::testing::EmptyTestEventListener {
public:
    explicit FreshStateListener(Watchdog& watchdog) : watchdog_(watchdog) {}

    void OnTestProgramStart(const ::testing::UnitTest& unit) override {
        g_cases.Open();
        for (int i = 0; i < unit.total_test_suite_count(); ++i) {
            const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
            for (int j = 0; j < suite.total_test_count(); ++j) {
                const ::testing::TestInfo& info = *suite.GetTestInfo(j);
                if (info.should_run()) g_cases.Write("listed", FullName(info));
            }
        }
    }
    void OnTestProgramEnd(const ::testing::UnitTest&) override { g_cases.Close(); }

    void OnTestStart(const ::testing::TestInfo& info) override {
        g_cases.Write("started", FullName(info));
        watchdog_.Arm(FullName(info));
        std::filesystem::current_path(g_root / "bin");
        ClearDirectory(g_root / "TMP");
        ClearDirectory(g_root / "userdata");
        platform::InstallClock(std::make_unique<platform::VirtualClock>());
        platform::SetTimeZoneOffset(0);
        ClearLoggedLines();
        platform::SetLogSink([](const std::string& line) {
            std::lock_guard<std::mutex> lock(g_log_mutex);
            g_logged.push_back(line);
        });
        platform::RunResetHooks();
    }

    void OnTestEnd(const ::testing::TestInfo& info) override {
        watchdog_.Disarm();
        const ::testing::TestResult& result = *info.result();
        g_cases.Write(result.Skipped() ? "skipped" : result.Failed() ? "failed" : "passed", FullName(info));
    }

private:
    Watchdog& watchdog_;
};

}  // namespace

const std::filesystem::path& RuntimeRoot() { return g_root; }

void SetTestTimeLimit(std::chrono::milliseconds limit) {
    if (g_watchdog != nullptr) g_watchdog->SetLimit(limit);
}

std::filesystem::path RuntimePath(const std::string& relative) { return g_root / relative; }

const std::vector<std::string>& LoggedLines() { return g_logged; }

void ClearLoggedLines() {
    std::lock_guard<std::mutex> lock(g_log_mutex);
    g_logged.clear();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    // A fixture that was never written would let a test of a missing or bad
    // file pass for the wrong reason.
    if (!out) ADD_FAILURE() << "cannot write the test file " << path;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace testsupport

// fontconfig keeps what it read of the font configuration (for the printer's
// real fonts, and for the screen under the renderer's test) in allocations
// it never frees; they are no leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    char pattern[] = "/tmp/torvan-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    testsupport::g_root = pattern;
    testsupport::MakeRuntimeTree(testsupport::g_root);
    std::filesystem::current_path(testsupport::g_root / "bin");

    int result;
    {
        testsupport::Watchdog watchdog;
        testsupport::g_watchdog = &watchdog;
        ::testing::UnitTest::GetInstance()->listeners().Append(new testsupport::FreshStateListener(watchdog));
        result = RUN_ALL_TESTS();
        testsupport::g_watchdog = nullptr;
    }

    platform::SetLogSink(nullptr);
    if (std::getenv("TORVAN_KEEP_TEST_TREE") == nullptr) {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
        std::filesystem::remove_all(testsupport::g_root, ec);
    } else {
        std::fprintf(stderr, "run-time tree kept in %s\n", testsupport::g_root.c_str());
    }
    return result;
}

// The program run as users run it without a display, against a serial port
// (a pseudo-terminal): a termination signal ends it as its own exit does,
// without asking. The profile is saved and the log closed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/pty_pair.h"
#include "testsupport/runtime_tree.h"
#include "testsupport/test_env.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Generous: the program starts and ends in well under a second when idle.
constexpr auto kBound = std::chrono::seconds(60);

// The program's environment: no display, COM1 on the pseudo-terminal, and
// the tree's root as its home, so the registry store stays in the tree.
std::vector<std::string> ChildEnvironment(const fs::path& root, const std::string& port) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name == "DISPLAY" || name == "WAYLAND_DISPLAY" || name == "HOME" || name == "XDG_CONFIG_HOME" ||
            name.rfind("TORVAN_", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back("HOME=" + root.string());
    env.push_back("TORVAN_COMMAP=COM1=" + port);
    return env;
}

pid_t StartProgram(const fs::path& root, const std::string& port) {
    std::vector<std::string> env = ChildEnvironment(root, port);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = TORVAN_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    const std::string bin = (root / "bin").string();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(bin.c_str()) == 0) execve(argv[0], argv, envp.data());
        _exit(127);
    }
    return pid;
}

// Whether the process has its own handler for the signal (its SigCgt mask).
bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) != 0) continue;
        const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
        return (mask >> (signal - 1) & 1) != 0;
    }
    return false;
}

// Polls `done` until it holds or the bound has passed.
template <typename Condition>
bool WaitFor(Condition done) {
    const auto end = std::chrono::steady_clock::now() + kBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string LastLine(const std::string& text) {
    std::string last, line;
    for (char c : text) {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (!line.empty()) last = line;
        line.clear();
    }
    return line.empty() ? last : line;
}

struct Case {
    int signal;
    // Sent once the program talks on the line (its start-up search, from
    // its main window's run, which nobody answers: the program ends when
    // the search has given up, about 15 s); else as soon as it catches the
    // signal, before its main window exists.
    bool onTheLine;
};

class TerminationSignal : public ::testing::TestWithParam<Case> {};

TEST_P(TerminationSignal, EndsTheHeadlessProgramAsItsOwnExitDoes) {
    testsupport::SetTestTimeLimit(3 * kBound);
    const int signal = GetParam().signal;
    const fs::path root = testsupport::RuntimePath("program");
    testsupport::MakeRuntimeTree(root);
    const std::string profileBefore = testsupport::ReadFile(root / "bin/Torvan.ini");
    ASSERT_EQ(profileBefore.find("[Pos_MainWindow]"), std::string::npos);
    platform::PtyPair port;
    std::string error;
    ASSERT_TRUE(port.Open(&error)) << error;

    const pid_t pid = StartProgram(root, port.SlavePath());
    ASSERT_GT(pid, 0);
    int status = 0;
    const bool caught = WaitFor([&] { return Catches(pid, signal) || waitpid(pid, &status, WNOHANG) == pid; });
    ASSERT_TRUE(caught && Catches(pid, signal)) << "the program did not start";
    if (GetParam().onTheLine) {
        ASSERT_TRUE(WaitFor([&] { return !port.DrainMaster().empty(); }));
    }
    ASSERT_EQ(kill(pid, signal), 0);
    const bool ended = WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the program did not end on signal " << signal;
    }

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    const std::string log = testsupport::ReadFile(root / "TMP/DataLogger.txt");
    EXPECT_EQ(LastLine(log), "\t*** Log out ***") << log;
    EXPECT_NE(log.find("Exit: ended by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")"),
              std::string::npos)
        << log;
    const std::string profile = testsupport::ReadFile(root / "bin/Torvan.ini");
    EXPECT_NE(profile.find("[Pos_MainWindow]"), std::string::npos) << profile;
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal,
                         ::testing::Values(Case{SIGTERM, false}, Case{SIGHUP, false}, Case{SIGINT, true}));

}  // namespace

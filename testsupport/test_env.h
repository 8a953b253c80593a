// What the shared test main gives every test process: its own run-time tree
// (the working directory is <root>/bin), a fresh virtual clock per test, UTC
// time, and the log lines the platform and toolkit layers wrote.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// Root of this process's run-time tree.
const std::filesystem::path& RuntimeRoot();
// <root>/<name>, for example RuntimePath("TMP/DataLogger.txt").
std::filesystem::path RuntimePath(const std::string& relative);

// The watchdog's real-time limit for the running test, counted from its
// start, in place of the 10 s every test gets: only for a test that is long
// by its nature (thousands of windows under the sanitizers), with a bound
// that a loaded 2-core machine keeps.
void SetTestTimeLimit(std::chrono::milliseconds limit);

// Lines written to the platform log sink since the current test began.
const std::vector<std::string>& LoggedLines();
void ClearLoggedLines();

// Writes a file (binary, exactly these bytes), creating its directories.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// Reads a whole file as bytes; empty when it does not exist.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace testsupport

// The default drive of the run command: one virtual drive behind a
// pseudo-terminal on the real clock. It prints the slave's path (the port the
// program opens), serves until SIGTERM or SIGINT, and
// then prints how many parameter descriptions it was asked for, and how many
// of them were for the alias parameter 130.
//   torvan_virtual_drive [table file]
#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <string>

#include "platform/testing/pty_pair.h"
#include "sim/drive_table.h"
#include "sim/pty_drive_link.h"
#include "sim/virtual_drive.h"

namespace {

constexpr int kDriveAddress = 1;
constexpr int32_t kDriveBaud = 9600;
constexpr char kDescriptionCode[] = "30";

volatile sig_atomic_t g_stop = 0;

void OnStop(int) { g_stop = 1; }

// The program asks for the description of its alias parameter whenever it
// lists the devices; every other description read is one of the table.
constexpr char kAliasDescriptionCode[] = "30130";

struct DescriptionRequests {
    int all = 0;
    int alias = 0;
};

// Read requests are EOT, the address character, the code and ENQ.
DescriptionRequests CountDescriptionRequests(const std::string& toDrive) {
    DescriptionRequests count;
    for (size_t at = toDrive.find('\x04'); at != std::string::npos; at = toDrive.find('\x04', at + 1)) {
        if (at + 2 > toDrive.size()) break;
        const std::string code = toDrive.substr(at + 2, 6);
        if (code.size() != 6 || code.compare(0, 2, kDescriptionCode) != 0 || code[5] != '\x05') continue;
        ++count.all;
        if (code.compare(0, 5, kAliasDescriptionCode) == 0) ++count.alias;
    }
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string tablePath = argc > 1 ? argv[1] : sim::StockFixturePath("run_drive.tbl");
    std::string error;
    auto table = sim::DriveTable::Load(tablePath, &error);
    if (!table) {
        std::fprintf(stderr, "torvan_virtual_drive: %s\n", error.c_str());
        return 1;
    }
    platform::PtyPair pair;
    if (!pair.Open(&error)) {
        std::fprintf(stderr, "torvan_virtual_drive: %s\n", error.c_str());
        return 1;
    }
    sim::VirtualDrive drive(std::move(*table), kDriveAddress, kDriveBaud);
    sim::PtyDriveLink link(pair);
    link.Add(&drive);
    link.Start();

    struct sigaction action {};
    action.sa_handler = OnStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    std::printf("%s\n", pair.SlavePath().c_str());
    std::fflush(stdout);

    while (g_stop == 0) ::poll(nullptr, 0, 100);
    link.Stop();
    const DescriptionRequests count = CountDescriptionRequests(drive.Capture().ToDrive());
    std::printf("Parameter descriptions read: %d (the alias parameter's: %d)\n", count.all, count.alias);
    return 0;
}

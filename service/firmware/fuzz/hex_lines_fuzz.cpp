// Fuzz target of the line-by-line transfer of an Intel-HEX file: any file
// goes to the virtual drive's loader over the in-memory line. The transfer
// ends with a code on the virtual clock, no line longer than the limit
// reaches the loader, and a file the check refuses sends it no byte at all.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "bus/serial/striowin.h"
#include "platform/system/clock.h"
#include "platform/system/serial_port.h"
#include "platform/testing/memory_serial_line.h"
#include "service/firmware/hex_file_check.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"
#include "sim/boot_drive.h"

namespace {

constexpr unsigned kPort = 2;
constexpr int32_t kLineBaud = 57600;

struct Bench {
    Bench() : work(std::filesystem::temp_directory_path() / ("torvan_hexlines_fuzz_" + std::to_string(getpid()))) {
        platform::InstallClock(std::make_unique<platform::VirtualClock>());
        std::filesystem::create_directories(work);
        if (chdir(work.c_str()) != 0) std::abort();
        platform::SetSerialPortOpener(line.Opener("COM2"));
    }
    ~Bench() {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
    }
    std::filesystem::path work;
    platform::MemorySerialLine line;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Bench bench;
    {
        std::ofstream out("fw.hex", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    sim::BootDrive drive{sim::BootDriveSetup{}};
    drive.AttachTo(bench.line);
    drive.RunLoader(bench.line);
    const int result = SendHexByLines("fw.hex", kPort, kLineBaud, true, false, 0);
    CloseSerio(false);

    const bool refused = !CheckHexText(std::string_view(reinterpret_cast<const char*>(data), size)).Passed();
    if (refused != (result == line_code::kMalformedFile)) std::abort();
    if (refused && !drive.Capture().ToDrive().empty()) std::abort();

    // The loader frames records by their own length; what it heard of one
    // line is never more than a line may hold.
    for (const std::string& heard : drive.Loader().LinesHeard()) {
        if (heard.size() >= kMaxHexLineLength) std::abort();
    }
    return 0;
}

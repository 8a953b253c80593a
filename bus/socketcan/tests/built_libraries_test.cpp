// The built libraries themselves: what they export, where the install puts
// them, the CANopen bus through them on this machine's kernel with an
// interface that is not there, and, where the kernel has CAN sockets and a
// vcan0 interface, the CANopen bus over it end to end.
#include <gtest/gtest.h>

#include <linux/can.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bus/can/can_peak.h"
#include "bus/can/tests/can_fixture.h"
#include "bus/socketcan/can_interface_name.h"
#include "platform/files/registry_store.h"
#include "platform/system/dynamic_library.h"
#include "platform/tests/scoped_env.h"
#include "sim/can_socket_peer.h"
#include "testsupport/test_env.h"

namespace socketcan_test {
namespace {

using Names = std::set<std::string>;

const Names kParallelExports = {
    "CAN_Close", "CAN_Init", "CAN_Read", "CAN_ReceiveDescriptor", "CAN_Status", "CAN_VersionInfo", "CAN_Write"};

Names WithSpecialFunction(Names names) {
    names.insert("CAN_SpecialFunktion");
    return names;
}

// Output of a command, and whether it ended with 0.
bool RunCommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return false;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    return ::pclose(pipe) == 0;
}

// The names of the defined dynamic symbols, as nm -D shows them.
Names Exports(const std::string& file) {
    std::string output;
    EXPECT_TRUE(RunCommand("nm -D --defined-only '" + file + "'", output)) << output;
    Names names;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(start, end - start);
        const size_t blank = line.rfind(' ');
        if (!line.empty()) names.insert(blank == std::string::npos ? line : line.substr(blank + 1));
        start = end + 1;
    }
    return names;
}

TEST(BuiltLibraries, ExportExactlyTheDriverFunctionSet) {
    EXPECT_EQ(Exports(TORVAN_PCAN_USB_FILE), WithSpecialFunction(kParallelExports));
    EXPECT_EQ(Exports(TORVAN_PCAN_DNG_FILE), kParallelExports);
}

TEST(BuiltLibraries, TheInstallPutsThemIntoBinBesideTheProgram) {
    const std::filesystem::path prefix = testsupport::RuntimePath("install-check");
    std::string output;
    ASSERT_TRUE(RunCommand(std::string("'") + TORVAN_CMAKE_COMMAND + "' --install '" + TORVAN_BUILD_DIR +
                               "' --component torvan_can_adapters --prefix '" + prefix.string() + "'",
                           output))
        << output;
    const std::filesystem::path usb = prefix / "bin" / "libpcan_usb.so";
    const std::filesystem::path parallel = prefix / "bin" / "libpcan_dng.so";
    ASSERT_TRUE(std::filesystem::exists(usb));
    ASSERT_TRUE(std::filesystem::exists(parallel));
    EXPECT_EQ(Exports(usb.string()), WithSpecialFunction(kParallelExports));
    EXPECT_EQ(Exports(parallel.string()), kParallelExports);
    // They find the platform library beside them, where the program's is.
    ASSERT_TRUE(RunCommand("readelf -d '" + usb.string() + "'", output)) << output;
    EXPECT_NE(output.find("[$ORIGIN]"), std::string::npos) << output;
}

// The built libraries under their Windows names, through the registry's
// library map as a program that has them beside itself finds them.
class BuiltLibraryTest : public ::testing::Test {
protected:
    BuiltLibraryTest() {
        platform::TheRegistry().SetValue(platform::kLibraryMapKey, kUsbAdapterLibrary, TORVAN_PCAN_USB_FILE);
        platform::TheRegistry().SetValue(platform::kLibraryMapKey, kParallelAdapterLibrary, TORVAN_PCAN_DNG_FILE);
    }
    static std::vector<std::string> CanLines() {
        std::vector<std::string> lines;
        for (const std::string& line : testsupport::LoggedLines())
            if (line.rfind("CAN ", 0) == 0) lines.push_back(line);
        return lines;
    }
};

TEST_F(BuiltLibraryTest, AnAbsentInterfaceLeavesTheCanOpenBusClosedWithALogLine) {
    platform_test::ScopedEnv interface(socketcan::kCanInterfaceVariable, "vcan9");
    const std::string notFound = "CAN interface vcan9 not found (" + std::string(std::strerror(ENODEV)) +
                                 "); connect the adapter or name its interface in TORVAN_CAN_INTERFACE, and set it "
                                 "up at 125000 bit/s; as root: ip link set vcan9 up type can bitrate 125000";
    {
        const CanAdapterSettings usb = cantest::Settings(kHardwareUsb);
        CCanOpenTarn bus(cantest::kOwnNode, &usb);
        EXPECT_FALSE(bus.IsOpen());
        EXPECT_EQ(bus.GetLastError(), kCanErrorAdapter);
        EXPECT_EQ(CanLines(), std::vector<std::string>{notFound});
        int32_t value = 0;
        EXPECT_FALSE(bus.ReadParameterValue(cantest::kValueParameter, value, 2));
    }
    testsupport::ClearLoggedLines();
    {
        CanAdapterSettings parallel = cantest::Settings(kHardwareParallel);
        parallel.ioPort = kDefaultParallelIoPort;
        parallel.interrupt = kDefaultParallelInterrupt;
        CCanOpenTarn bus(cantest::kOwnNode, &parallel);
        EXPECT_FALSE(bus.IsOpen());
        EXPECT_EQ(bus.GetLastError(), kCanErrorAdapter);
        EXPECT_EQ(CanLines(),
                  (std::vector<std::string>{"CAN adapter on the parallel port (hardware type 5): I/O "
                                            "port 0x378 and interrupt 7 are not used on Linux; it runs "
                                            "on interface vcan9",
                                            notFound}));
    }

    // The driver reads the library's version text through the same exports.
    CCanPeakUSB driver;
    ASSERT_TRUE(driver.LibraryLoaded());
    char text[kCanVersionTextSize] = "";
    driver.GetVersionInfo(text);
    EXPECT_STREQ(text, "libpcan_usb.so 1.0, SocketCAN interface vcan9");
    CanAdapterSettings slow;
    slow.baudRate = 25000;
    EXPECT_EQ(driver.Init(slow), kCanDriverBaudNotSupported);
    EXPECT_FALSE(driver.IsBusOff());
}

// Why the end-to-end test cannot run here; empty when it can.
std::string WhyNoVirtualCanBus() {
    const int probe = ::socket(PF_CAN, SOCK_RAW, CAN_RAW);
    if (probe < 0) return std::string("the kernel has no CAN sockets (") + std::strerror(errno) + ")";
    ::close(probe);
    const int any = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "vcan0", IFNAMSIZ - 1);
    const bool found = any >= 0 && ::ioctl(any, SIOCGIFFLAGS, &request) == 0;
    if (any >= 0) ::close(any);
    if (!found) return "there is no vcan0 interface (ip link add dev vcan0 type vcan)";
    if ((request.ifr_flags & IFF_UP) == 0) return "vcan0 is down (ip link set vcan0 up)";
    return {};
}

class VirtualCanBusEndToEndTest : public cantest::CanBusTest {
protected:
    ~VirtualCanBusEndToEndTest() override { bus_.reset(); }
};

TEST_F(VirtualCanBusEndToEndTest, TheCanOpenBusRunsOverVcan0) {
    const std::string reason = WhyNoVirtualCanBus();
    if (!reason.empty()) GTEST_SKIP() << "not run: " << reason;

    platform::TheRegistry().SetValue(platform::kLibraryMapKey, kUsbAdapterLibrary, TORVAN_PCAN_USB_FILE);
    platform::UnregisterModule(kUsbAdapterLibrary);
    platform_test::ScopedEnv interface(socketcan::kCanInterfaceVariable, "vcan0");
    sim::CanSocketPeer peer(Adapter());
    ASSERT_EQ(peer.JoinInterface("vcan0"), 0);
    peer.StartPumping();
    sim::CanDriveNode& node = AddNode(2);

    const CanAdapterSettings settings = cantest::Settings();
    bus_ = std::make_unique<CCanOpenTarn>(cantest::kOwnNode, &settings, CanWorkerMode::kThread);
    ASSERT_TRUE(bus_->IsOpen()) << ::testing::PrintToString(testsupport::LoggedLines());
    bus_->AddDevice(2, cantest::kTypeNumber, 31.0f);
    ASSERT_TRUE(bus_->WriteParameterText(cantest::kTextParameter, "Spindle 2", 2));
    EXPECT_EQ(node.Table().Find(cantest::kTextParameter)->text, "Spindle 2");
    int32_t value = 0;
    ASSERT_TRUE(bus_->ReadParameterValue(cantest::kTypeParameter, value, 2));
    EXPECT_EQ(value, 5000);
    ASSERT_TRUE(bus_->StartNode());
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (node.NmtState() != sim::kNmtOperational && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
    EXPECT_EQ(node.NmtState(), sim::kNmtOperational);
    bus_.reset();
    peer.StopPumping();
}

}  // namespace
}  // namespace socketcan_test

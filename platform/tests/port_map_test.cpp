#include "platform/system/port_map.h"

#include <gtest/gtest.h>

#include "platform/files/registry_store.h"
#include "platform/tests/scoped_env.h"
#include "testsupport/test_env.h"

namespace {

using platform::SerialPortEntry;
using platform_test::ScopedEnv;

std::vector<std::pair<std::string, std::string>> Ports(const platform::SerialPortMap& map) {
    std::vector<std::pair<std::string, std::string>> ports;
    for (const SerialPortEntry& port : map.ports) ports.emplace_back(port.port_name, port.device_path);
    return ports;
}

void MapInRegistry(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [device, port] : values)
        ASSERT_EQ(platform::TheRegistry().SetValue(platform::kSerialPortMapKey, device, port),
                  platform::RegistryStatus::kOk);
}

TEST(SerialPortMap, WithoutAnyMapTheFirstFourUartsAreThePorts) {
    ScopedEnv no_override("TORVAN_COMMAP", nullptr);
    platform::SerialPortMap map = platform::ReadSerialPortMap();
    EXPECT_EQ(map.error, "");
    EXPECT_EQ(Ports(map),
              (std::vector<std::pair<std::string, std::string>>{
                  {"COM1", "/dev/ttyS0"}, {"COM2", "/dev/ttyS1"}, {"COM3", "/dev/ttyS2"}, {"COM4", "/dev/ttyS3"}}));
    EXPECT_EQ(platform::SerialDevicePath("COM4"), "/dev/ttyS3");
    EXPECT_EQ(platform::SerialDevicePath("COM5"), std::nullopt);
}

TEST(SerialPortMap, RegistryKeyGivesThePortsInStoredOrder) {
    ScopedEnv no_override("TORVAN_COMMAP", nullptr);
    MapInRegistry({{"/dev/ttyUSB0", "COM7"}, {"/dev/ttyS0", "COM1"}, {"/dev/ttyUSB1", "com7"}});
    EXPECT_EQ(Ports(platform::ReadSerialPortMap()),
              (std::vector<std::pair<std::string, std::string>>{{"COM7", "/dev/ttyUSB0"}, {"COM1", "/dev/ttyS0"}}));
    EXPECT_EQ(platform::SerialDevicePath("com7"), "/dev/ttyUSB0");
    EXPECT_EQ(platform::SerialDevicePath("COM2"), std::nullopt);  // the defaults are gone
}

TEST(SerialPortMap, EnvironmentOverridesTheRegistry) {
    MapInRegistry({{"/dev/ttyUSB0", "COM1"}});
    ScopedEnv map("TORVAN_COMMAP", " COM1=/dev/ttyS0, COM3 = /dev/pts/7 ,garbage,,COM3=/dev/other");
    EXPECT_EQ(Ports(platform::ReadSerialPortMap()),
              (std::vector<std::pair<std::string, std::string>>{{"COM1", "/dev/ttyS0"}, {"COM3", "/dev/pts/7"}}));
    EXPECT_EQ(testsupport::LoggedLines(),
              (std::vector<std::string>{"TORVAN_COMMAP: \"garbage\" is not PORT=DEVICE; ignored"}));
    EXPECT_EQ(platform::SerialDevicePath("COM3"), "/dev/pts/7");
}

TEST(SerialPortMap, DamagedStoreIsReportedNotReplacedByDefaults) {
    ScopedEnv no_override("TORVAN_COMMAP", nullptr);
    testsupport::WriteFile(platform::TheRegistry().path(), "not a store\n");
    platform::SerialPortMap map = platform::ReadSerialPortMap();
    EXPECT_TRUE(map.ports.empty());
    EXPECT_EQ(map.error, platform::TheRegistry().LastError());
    EXPECT_NE(map.error.find("is damaged at line 1"), std::string::npos);
    EXPECT_EQ(platform::SerialDevicePath("COM1"), std::nullopt);
}

}  // namespace

// Fuzz target of the port map from TORVAN_COMMAP: any text (up to its first
// zero byte) gives a map whose entries have a port name and a device path,
// each port name once, and lookups that agree with the map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/files/paths.h"
#include "platform/system/port_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    if (text.empty()) return 0;  // an empty override means the registry's map
    setenv("TORVAN_COMMAP", text.c_str(), 1);
    const platform::SerialPortMap map = platform::ReadSerialPortMap();
    if (!map.error.empty()) std::abort();
    for (size_t i = 0; i < map.ports.size(); ++i) {
        const platform::SerialPortEntry& port = map.ports[i];
        if (port.port_name.empty() || port.device_path.empty()) std::abort();
        for (size_t j = 0; j < i; ++j)
            if (platform::EqualNoCase(map.ports[j].port_name, port.port_name)) std::abort();
        const auto path = platform::SerialDevicePath(port.port_name);
        if (!path || *path != port.device_path) std::abort();
    }
    return 0;
}

// The serial port map: environment override, registry key, built-in default.
#include "platform/system/port_map.h"

#include <cstdlib>

#include "platform/base/log_sink.h"
#include "platform/files/paths.h"
#include "platform/files/registry_store.h"

namespace platform {

namespace {

// Without any map, the first four ports are the on-board UARTs.
constexpr int kDefaultPortCount = 4;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

void AddPort(std::vector<SerialPortEntry>& ports, std::string_view name, std::string_view path) {
    for (const SerialPortEntry& port : ports)
        if (EqualNoCase(port.port_name, name)) return;  // the first mapping of a name wins
    ports.push_back({std::string(name), std::string(path)});
}

std::vector<SerialPortEntry> ParseOverride(std::string_view text) {
    std::vector<SerialPortEntry> ports;
    while (!text.empty()) {
        size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        size_t equals = item.find('=');
        std::string_view name = TrimBlanks(item.substr(0, equals));
        std::string_view path =
            equals == std::string_view::npos ? std::string_view{} : TrimBlanks(item.substr(equals + 1));
        if (name.empty() || path.empty()) {
            if (!TrimBlanks(item).empty())
                LogLine("TORVAN_COMMAP: \"" + std::string(item) + "\" is not PORT=DEVICE; ignored");
            continue;
        }
        AddPort(ports, name, path);
    }
    return ports;
}

}  // namespace

SerialPortMap ReadSerialPortMap() {
    SerialPortMap map;
    if (const char* text = std::getenv("TORVAN_COMMAP"); text != nullptr && text[0] != '\0') {
        map.ports = ParseOverride(text);
        return map;
    }
    RegistryTree tree;
    if (TheRegistry().Load(&tree) != RegistryStatus::kOk) {
        map.error = TheRegistry().LastError();
        return map;
    }
    for (const auto& [device_path, port_name] : tree.Values(kSerialPortMapKey)) {
        if (!device_path.empty() && !port_name.empty()) AddPort(map.ports, port_name, device_path);
    }
    if (map.ports.empty()) {
        for (int i = 0; i < kDefaultPortCount; ++i)
            map.ports.push_back({"COM" + std::to_string(i + 1), "/dev/ttyS" + std::to_string(i)});
    }
    return map;
}

std::optional<std::string> SerialDevicePath(std::string_view port_name) {
    SerialPortMap map = ReadSerialPortMap();
    for (const SerialPortEntry& port : map.ports)
        if (EqualNoCase(port.port_name, TrimBlanks(port_name))) return port.device_path;
    return std::nullopt;
}

}  // namespace platform

#include "devicewin/tests/device_control_fixture.h"

namespace devicewintest {

using maintest::FloatBits;

sim::DriveTable MarloTable(uint32_t typeNumber) {
    sim::DriveTable table = maintest::ActivationTable(typeNumber);
    for (int n : {150, 152, 280, 281, 260, 510, 320, 597, 15, 1}) table.PutFullRange(n, "U8", "USIGN8", 7);
    table.PutFullRange(300, "CTRL", "USIGN8", 0);
    sim::DriveParameter* handshake = table.PutFullRange(80, "HSHK", "INT16", 0);
    handshake->minimum = static_cast<uint32_t>(-32768);
    handshake->maximum = 0x7FFF;
    table.PutFullRange(551, "CWORD", "USIGN32", 0x10);
    table.PutFullRange(365, "P365", "USIGN16", 9);
    table.PutFullRange(406, "FREE", "USIGN16", 0);
    table.PutFullRange(91, "TYPE", "USIGN16", typeNumber);
    for (int n :
         {84, 284, 400, 77, 14, 74, 301, 302, 303, 305, 306, 307, 650, 844, 856, 803, 813, 157, 852, 960, 961, 981}) {
        sim::DriveParameter* p = table.PutFullRange(n, "F", "FLOAT32", FloatBits(0.0f));
        p->minimum = FloatBits(-1e6f);
        p->maximum = FloatBits(1e6f);
    }
    table.handshake.enabled = true;
    return table;
}

void DeviceControlTest::SetFloat(int number, float value) { Table().Find(number)->value = FloatBits(value); }

sim::DriveTable& DeviceControlTest::Table() { return const_cast<sim::DriveTable&>(Drive().Table()); }

void DeviceControlTest::SetState(uint32_t state) { Table().Find(kState)->value = state << 12; }

std::vector<std::string> DeviceControlTest::Writes() {
    std::vector<std::string> writes;
    for (const std::string& t : Heard()) {
        if (t.rfind("W ", 0) == 0) writes.push_back(t.substr(2));
    }
    return writes;
}

std::vector<int> Numbers(const std::vector<std::string>& writes) {
    std::vector<int> numbers;
    for (const std::string& w : writes) numbers.push_back(std::stoi(w.substr(0, 5)) - 20000);
    return numbers;
}

bool BoxSays(const std::vector<GwBoxRecord>& boxes, const std::string& text) {
    for (const GwBoxRecord& box : boxes) {
        if (box.text.find(text) != std::string::npos) return true;
    }
    return false;
}

}  // namespace devicewintest

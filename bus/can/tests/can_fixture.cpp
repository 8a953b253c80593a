#include "bus/can/tests/can_fixture.h"

#include "platform/system/clock.h"

namespace cantest {

sim::DriveTable StandardTable(uint32_t typeNumber, uint32_t versionSteps) {
    sim::DriveTable table;
    auto put = [&table](int number, const char* name, const char* type, uint32_t value) {
        return table.PutFullRange(number, name, type, value);
    };
    put(kTypeParameter, "TYPE", "USIGN16", typeNumber)->read_only = true;
    put(kVersionParameter, "VERS", "USIGN16", versionSteps)->read_only = true;
    put(kValueParameter, "SPEED", "INT32", 0);
    put(kTextParameter, "AXNAM", "STRING", 0)->text = "Axis one";
    sim::DriveParameter* array = put(kArrayParameter, "TABLE", "USIGN16", 0);
    array->flags = sim::kFlagArray;
    array->maximum = 0xFFFF;
    for (uint32_t i = 0; i < 40; ++i) array->elements.push_back(3 * i);
    sim::DriveParameter* signedArray = put(kSignedArrayParameter, "OFFS", "INT16", 0);
    signedArray->flags = sim::kFlagArray;
    signedArray->minimum = static_cast<uint32_t>(-300);
    signedArray->maximum = 300;
    signedArray->elements.assign(8, 0);
    sim::DriveParameter* enumerated = put(kEnumParameter, "MODE", "USIGN8", 0);
    enumerated->flags = sim::kFlagValueTexts;
    enumerated->maximum = 1;
    enumerated->value_texts = {{0, "Off"}, {1, "On"}};
    table.type_number = typeNumber;
    table.version = versionSteps;
    return table;
}

CanAdapterSettings Settings(int32_t hardwareId, int32_t baudRateId) {
    CanAdapterSettings settings;
    settings.hardwareId = hardwareId;
    settings.baudRateId = baudRateId;
    return settings;
}

CanBusTest::CanBusTest() { sim::RegisterVirtualCanAdapter(); }

CanBusTest::~CanBusTest() {
    bus_.reset();
    nodes_.clear();
}

sim::CanDriveNode& CanBusTest::AddNode(int node, sim::DriveTable table) {
    nodes_.push_back(std::make_unique<sim::CanDriveNode>(std::move(table), node));
    nodes_.back()->AttachTo(Adapter());
    return *nodes_.back();
}

CCanOpenTarn& CanBusTest::Open(CanWorkerMode mode, std::vector<int> withRecords) {
    const CanAdapterSettings settings = Settings();
    bus_ = std::make_unique<CCanOpenTarn>(kOwnNode, &settings, mode);
    EXPECT_TRUE(bus_->IsOpen());
    for (int node : withRecords) bus_->AddDevice(node, kTypeNumber, 31.0f);
    Adapter().ClearCapture();
    return *bus_;
}

std::vector<std::string> CanBusTest::Written() { return sim::TheVirtualCanBus().Written(); }

uint64_t CanBusTest::NowMs() { return platform::TheClock().NowMs(); }

}  // namespace cantest

// The parameter database over the CANopen bus: the whole table read from the
// virtual drive's node (descriptions and value texts through the request
// registers) and a data set written back under the download handshake.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/services/app_files.h"
#include "bus/can/tests/can_fixture.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "testsupport/test_env.h"

namespace cantest {
namespace {

constexpr int kDriveNode = 5;
constexpr char kSet[] = "..\\userdata\\set.00D";

// Values as raw bits: 3.6f, 1.0f, 100.0f.
constexpr char kDriveTable[] = R"(
drive type=5123 version=72 status=0x0000
param 15  DLEND  USIGN8  max=1
param 80  DLHS   INT16
param 91  TYPE   USIGN16 value=5123 readonly
param 92  VERS   FLOAT32 value=0x40666666 readonly
param 107 UNITS  USIGN8  max=2
text 107 0 -----
text 107 1 rpm
param 120 MODE   USIGN8  max=2 value=1 sc=1
text 120 0 Off
text 120 1 Speed control
text 120 2 Position
param 123 SPEED  INT32   unit=1 min=-6000 max=6000 value=1500 sc=2
param 125 GAIN   FLOAT32 min=0 max=0x42C80000 value=0x3F800000 sc=2
param 130 AXNAME STRING  value="Axis one" sc=3
param 200 TABLE  USIGN16 elements=40 values=1,2,3 sc=4
param 201 OFFS   INT8    elements=8 values=-1,2,-3 sc=4
)";

class ParameterSetTest : public CanBusTest {
protected:
    void SetUp() override {
        OpenApplicationFiles();
        testsupport::WriteFile(DescriptionFile(), "[parameterdescription]\nP001=standard\n");
        std::string error;
        auto table = sim::DriveTable::Parse(kDriveTable, "can set", &error);
        ASSERT_TRUE(table.has_value()) << error;
        node_ = &AddNode(kDriveNode, *table);
        CCanOpenTarn& bus = Open(CanWorkerMode::kStepped);
        bus.AddDevice(kDriveNode, 5123, 3.6f);
        base_ = std::make_unique<ParaBase>(&bus, kDriveNode);
    }
    void TearDown() override {
        base_.reset();
        std::filesystem::remove(DescriptionFile());
        CloseApplicationFiles();
    }
    static std::filesystem::path DescriptionFile() { return testsupport::RuntimePath("LANGUAGE/044/tarn_std.PIT"); }
    sim::DriveParameter& OnDrive(int number) { return *node_->Table().Find(number); }

    sim::CanDriveNode* node_ = nullptr;
    std::unique_ptr<ParaBase> base_;
};

TEST_F(ParameterSetTest, TheWholeTableIsReadAndADataSetWrittenBack) {
    ASSERT_EQ(base_->ReadBusBase(), 0) << base_->MessageBuffer;
    std::vector<int> present;
    for (int i = 0; i < kParameterCount; ++i)
        if (base_->IsPresent(i)) present.push_back(i);
    EXPECT_EQ(present, (std::vector<int>{15, 80, 91, 92, 107, 120, 123, 125, 130, 200, 201}));
    const ParameterEntry& speed = *base_->GetEntry(123);
    EXPECT_STREQ(speed.name, "SPEED");
    EXPECT_STREQ(speed.unit, "rpm");
    EXPECT_EQ(speed.minimum, -6000);
    EXPECT_EQ(speed.maximum, 6000);
    EXPECT_EQ(speed.value, 1500);
    EXPECT_EQ(speed.SCGroup, 2);
    EXPECT_EQ(base_->GetEntry(125)->value, 0x3F800000);
    EXPECT_STREQ(base_->GetTextObject(130)->Text(), "Axis one");
    const darray* table = base_->GetArrayObject(200);
    const darray* offsets = base_->GetArrayObject(201);
    ASSERT_TRUE(table != nullptr && offsets != nullptr);
    EXPECT_EQ(table->GetCount(), 40);
    EXPECT_EQ(offsets->GetCount(), 8);
    int32_t third = 0;
    int32_t last = -1;
    int32_t negative = 0;
    table->GetElement(&third, 2);
    table->GetElement(&last, 39);
    offsets->GetElement(&negative, 2);
    EXPECT_EQ(third, 3);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(negative, -3);
    EXPECT_STREQ(base_->GetPath(kDescriptionFilePath), "..\\LANGUAGE\\044\\tarn_std.PIT");

    // The device's set saved, changed and written back.
    base_->InitFile(kSet);
    ASSERT_EQ(base_->WriteFileBase(), 0) << base_->MessageBuffer;
    ParaBase file{dstring(kSet)};
    ASSERT_EQ(file.TableLoaded, 1) << file.MessageBuffer;
    file.GetEntry(120)->value = 2;
    file.GetEntry(123)->value = -2000;
    file.GetTextObject(130)->AssignText("Axis two, left");
    int16_t element = 9;
    file.GetArrayObject(200)->SetElement(&element, 1);
    node_->Table().handshake = {.enabled = true, .busy_polls = 2, .result = 0};
    Adapter().ClearCapture();

    ASSERT_EQ(base_->WriteBusData(file), 0) << base_->MessageBuffer;
    EXPECT_EQ(OnDrive(120).value, 2u);
    EXPECT_EQ(OnDrive(123).value, static_cast<uint32_t>(-2000));
    EXPECT_EQ(OnDrive(130).text, "Axis two, left");
    EXPECT_EQ(OnDrive(200).elements[1], 9u);
    EXPECT_EQ(OnDrive(201).elements[2], static_cast<uint32_t>(-3));
    EXPECT_EQ(OnDrive(15).value, 1u);

    const std::vector<std::string> written = Written();
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.front(), "605: 22 50 20 00 FF FF FF FF");
    EXPECT_EQ(std::count(written.begin(), written.end(), "605: 22 50 20 00 FE FF FF FF"), 1);
    EXPECT_EQ(std::count(written.begin(), written.end(), "605: 40 50 20 00 00 00 00 00"), 3);
    EXPECT_EQ(written.back(), "605: 22 0F 20 00 01 00 00 00");
}

}  // namespace
}  // namespace cantest

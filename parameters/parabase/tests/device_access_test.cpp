// Reads and writes of single parameters through the serial bus against the
// virtual drive: range checks with the description read again, bus failures,
// arrays and texts, the write lock and uncoupled devices.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/services/program_flags.h"
#include "bus/serial/striowin.h"
#include "bus/serial/tarn_bus.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_write_lock.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/system/serial_port.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"
#include "testsupport/test_env.h"

namespace {

using parabasetest::Define;
using parabasetest::ParaBaseTest;

constexpr int kAddress = 5;
constexpr int kSpeed = 123;  // INT32 SPEED, rpm, -6000 .. 6000
constexpr int kName = 130;   // STRING AXNAME "Axis one"
constexpr int kTable = 200;  // 40 USIGN16 elements, 1, 2, 3, 0, ...
constexpr int kLockOwner = 77;

sim::DriveTable StockTable() {
    std::string error;
    auto table = sim::DriveTable::Load(sim::StockFixturePath("drive.tbl"), &error);
    EXPECT_TRUE(table.has_value()) << error;
    return table ? *table : sim::DriveTable();
}

class DeviceAccessTest : public ParaBaseTest {
protected:
    void SetUp() override {
        ParaBaseTest::SetUp();
        drive_ = std::make_unique<sim::VirtualDrive>(StockTable(), kAddress);
        drive_->AttachTo(line_);
        platform::SetSerialPortOpener(line_.Opener("COM1"));
        bus_ = std::make_unique<TarnBus>(1, 9600);
        ASSERT_TRUE(bus_->IsOpen());
        bus_->AddDevice(kAddress, 5000, 31.0f);
        base_ = std::make_unique<ParaBase>(bus_.get(), kAddress);
        for (int number : {kSpeed, kName, kTable}) Describe(number);
        drive_->ClearCapture();
    }
    void TearDown() override {
        base_.reset();
        bus_.reset();
        CloseSerio(false);
        platform::SetSerialPortOpener(nullptr);
        ParaBaseTest::TearDown();
    }

    // Reads the description as a whole-table read does: the entry is valid
    // when the device has it, and an array gets its array object.
    void Describe(int number) {
        ASSERT_EQ(base_->ReadBusDescription(number), 0) << base_->MessageBuffer;
        ParameterEntry& e = *base_->GetEntry(number);
        e.valid = e.number != 0;
        if (e.flags & kFlagArray) {
            const auto count = static_cast<int>(drive_->Table().Find(number)->elements.size());
            base_->SetArrayObject(number, CreateArrayForType(e.type, count));
        }
    }
    sim::DriveParameter& OnDrive(int number) { return *drive_->Table().Find(number); }
    // How often the drive heard `code`.
    int Heard(const std::string& code) {
        const std::string heard = drive_->Capture().ToDrive();
        int count = 0;
        for (size_t at = heard.find(code); at != std::string::npos; at = heard.find(code, at + 1)) ++count;
        return count;
    }

    platform::MemorySerialLine line_;
    std::unique_ptr<sim::VirtualDrive> drive_;
    std::unique_ptr<TarnBus> bus_;
    std::unique_ptr<ParaBase> base_;
};

TEST_F(DeviceAccessTest, DescriptionsComeFromTheDeviceWithFiveNameCharacters) {
    const ParameterEntry& speed = *base_->GetEntry(kSpeed);
    EXPECT_EQ(speed.type, kTypeInt32);
    EXPECT_EQ(speed.minimum, -6000);
    EXPECT_EQ(speed.maximum, 6000);
    EXPECT_STREQ(base_->GetParameterName(kSpeed), "SPEED");
    EXPECT_STREQ(base_->GetParameterUnit(kSpeed), "rpm");
    EXPECT_STREQ(base_->GetParameterName(kName), "AXNAM");  // "AXNAME" on the drive
}

TEST_F(DeviceAccessTest, ReadersFetchTheValueIntoTheTable) {
    OnDrive(kSpeed).value = static_cast<uint32_t>(-1500);
    double v = 0;
    ASSERT_EQ(base_->ReadValueDouble(kSpeed, &v), 0) << base_->MessageBuffer;
    EXPECT_EQ(v, -1500.0);
    EXPECT_EQ(base_->GetEntry(kSpeed)->value, -1500);
    EXPECT_EQ(Heard("20123"), 1);

    dstring text;
    ASSERT_EQ(base_->ReadValueString(kName, text), 0) << base_->MessageBuffer;
    EXPECT_EQ(text, dstring("Axis one"));
}

TEST_F(DeviceAccessTest, ParameterMissingOnTheDeviceIsNoParameter) {
    ASSERT_EQ(base_->ReadBusDescription(555), 0);
    EXPECT_EQ(base_->GetEntry(555)->number, 0);
    double v = 0;
    EXPECT_EQ(base_->ReadValueDouble(555, &v), kParaNoParameter);
    EXPECT_STREQ(base_->MessageBuffer, "There's no valid parameter on number 555");
    EXPECT_EQ(Heard("20555"), 0);
}

TEST_F(DeviceAccessTest, ValueOutsideTheLimitsIsStoredOnlyWhenTheLimitsReadAgainHoldIt) {
    OnDrive(kSpeed).value = 7000;
    OnDrive(kSpeed).maximum = 8000;
    double v = 0;
    ASSERT_EQ(base_->ReadValueDouble(kSpeed, &v), 0) << base_->MessageBuffer;
    EXPECT_EQ(v, 7000.0);
    EXPECT_EQ(base_->GetEntry(kSpeed)->maximum, 8000);
    EXPECT_EQ(Heard("30123"), 1);

    drive_->ClearCapture();
    OnDrive(kSpeed).value = 9000;
    EXPECT_EQ(base_->ReadValueDouble(kSpeed, &v), kParaOutOfRange);
    EXPECT_STREQ(base_->MessageBuffer, "New Value for parameter 123-SPEED (9000 rpm) is out of valid range");
    EXPECT_EQ(base_->GetEntry(kSpeed)->value, 7000);
    EXPECT_EQ(Heard("30123"), 1);
}

TEST_F(DeviceAccessTest, UncheckedKindStoresAnyValue) {
    base_->GetEntry(kSpeed)->kind = kKindUnchecked;
    OnDrive(kSpeed).value = 9000;
    double v = 0;
    ASSERT_EQ(base_->ReadValueDouble(kSpeed, &v), 0);
    EXPECT_EQ(v, 9000.0);
    EXPECT_EQ(Heard("30123"), 0);
}

TEST_F(DeviceAccessTest, BusFailureNamesTheBusTheParameterAndTheBusText) {
    drive_->AddFault(sim::DriveFault::Silence().Times(sim::kForever));
    double v = 0;
    EXPECT_EQ(base_->ReadValueDouble(kSpeed, &v), kParaBusErrorInParameter);
    const std::string busText = bus_->GetErrorText();
    EXPECT_FALSE(busText.empty());
    EXPECT_EQ(base_->MessageBuffer, "RS232 transmission error in parameter 123-SPEED: \n" + busText);
    EXPECT_EQ(base_->CurrentParameter, 0);

    // A failing description read of a parameter not in the table names none.
    EXPECT_EQ(base_->ReadBusDescription(556), kParaBusError);
    EXPECT_EQ(base_->MessageBuffer, "RS232 transmission error: \n" + busText);
}

TEST_F(DeviceAccessTest, ArraysAreReadWholeOrByElement) {
    dstring text;
    ASSERT_EQ(base_->ReadValueString(kTable, text, 0), 0) << base_->MessageBuffer;
    EXPECT_EQ(Heard("7020000000"), 1);  // from element 0
    EXPECT_EQ(text, dstring("1"));
    uint16_t u = 0;
    ASSERT_EQ(base_->GetValueU16(kTable, &u, 2), 0);
    EXPECT_EQ(u, 3);

    drive_->ClearCapture();
    OnDrive(kTable).elements[3] = 44;
    ASSERT_EQ(base_->ReadValueString(kTable, text, 3), 0) << base_->MessageBuffer;
    EXPECT_EQ(text, dstring("44"));
    EXPECT_EQ(Heard("70200"), 1);
    EXPECT_EQ(Heard("702000000301"), 1);  // element 3 alone
}

TEST_F(DeviceAccessTest, ShortArrayReadKeepsTheStoredArray) {
    base_->SetValueU16(kTable, 9, 0);
    OnDrive(kTable).elements.resize(2);
    dstring text;
    EXPECT_EQ(base_->ReadValueString(kTable, text, 0), kParaShortArray);
    EXPECT_STREQ(base_->MessageBuffer,
                 "Device delivered fewer elements of parameter 200 than asked for (40 asked, 2 delivered)");
    uint16_t u = 0;
    ASSERT_EQ(base_->GetValueU16(kTable, &u, 0), 0);
    EXPECT_EQ(u, 9);

    // An element beyond the array object is not asked for at all.
    double v = 0;
    drive_->ClearCapture();
    std::strcpy(base_->MessageBuffer, "earlier message");
    EXPECT_EQ(base_->ReadValueDouble(kTable, &v, 40), kParaShortArray);
    EXPECT_EQ(Heard("70200"), 0);
    EXPECT_STREQ(base_->MessageBuffer, "earlier message");
}

TEST_F(DeviceAccessTest, WritersSendTheStoredValue) {
    ASSERT_EQ(base_->WriteValueDouble(kSpeed, 1234.0), 0) << base_->MessageBuffer;
    EXPECT_EQ(OnDrive(kSpeed).value, 1234u);
    ASSERT_EQ(base_->WriteValueString(kName, dstring("Axis two")), 0) << base_->MessageBuffer;
    EXPECT_EQ(OnDrive(kName).text, "Axis two");

    // A text write of an array element sends the whole array.
    dstring text;
    ASSERT_EQ(base_->ReadValueString(kTable, text, 0), 0);
    drive_->ClearCapture();
    ASSERT_EQ(base_->WriteValueString(kTable, dstring("7"), 2), 0) << base_->MessageBuffer;
    EXPECT_EQ(OnDrive(kTable).elements[2], 7u);
    EXPECT_EQ(OnDrive(kTable).elements[0], 1u);
    EXPECT_EQ(Heard("7020000000"), 1);
}

TEST_F(DeviceAccessTest, WriterReadsTheLimitsAgainBeforeGivingUp) {
    OnDrive(kSpeed).maximum = 8000;
    ASSERT_EQ(base_->WriteValueS16(kSpeed, 7000), 0) << base_->MessageBuffer;
    EXPECT_EQ(Heard("30123"), 1);
    EXPECT_EQ(OnDrive(kSpeed).value, 7000u);

    drive_->ClearCapture();
    EXPECT_EQ(base_->WriteValueDouble(kSpeed, 9000.0), kParaOutOfRange);
    EXPECT_STREQ(base_->MessageBuffer, "New Value for parameter 123-SPEED (9000 rpm) is out of valid range");
    EXPECT_EQ(Heard("30123"), 1);
    EXPECT_EQ(Heard("20123"), 0);
}

TEST_F(DeviceAccessTest, RefusedWriteLeavesTheNewValueInTheTable) {
    drive_->AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20123").Times(sim::kForever));
    EXPECT_EQ(base_->WriteValueDouble(kSpeed, 100.0), kParaBusErrorInParameter);
    EXPECT_EQ(base_->GetEntry(kSpeed)->value, 100);
    EXPECT_EQ(OnDrive(kSpeed).value, 0u);

    // Parameter 4 is sent without looking at the answer.
    sim::DriveParameter four;
    four.number = kUncheckedWriteParameter;
    four.name = "RESET";
    four.type = sim::FindDriveType("USIGN16");
    four.maximum = 0xFFFF;
    four.read_only = true;
    drive_->Table().Put(four);
    Describe(kUncheckedWriteParameter);
    EXPECT_EQ(base_->WriteValueU16(kUncheckedWriteParameter, 1), 0) << base_->MessageBuffer;
    EXPECT_EQ(OnDrive(kUncheckedWriteParameter).value, 0u);
    EXPECT_GE(Heard("20004"), 1);
}

TEST_F(DeviceAccessTest, UncoupledDevicesChangeOnlyTheTable) {
    DevicesUncoupled = true;
    ASSERT_EQ(base_->WriteValueDouble(kSpeed, 1500.0), 0);
    ASSERT_EQ(base_->WriteValueString(kName, dstring("Offline")), 0);
    ASSERT_EQ(base_->WriteRawValue(kSpeed, 1600), 0);
    double v = 0;
    ASSERT_EQ(base_->ReadValueDouble(kSpeed, &v), 0);
    EXPECT_EQ(v, 1600.0);
    EXPECT_EQ(base_->ReadBusDescription(kSpeed), 0);
    EXPECT_EQ(drive_->Capture().ToDrive(), "");
    EXPECT_EQ(OnDrive(kSpeed).value, 0u);
    // Setting up a base couples the devices again.
    ParaBase other;
    EXPECT_FALSE(DevicesUncoupled);
}

TEST_F(DeviceAccessTest, WriteLockRefusesProtectedParametersButGrantedWrites) {
    ParaWriteLock& lock = TheParaWriteLock();
    ASSERT_TRUE(lock.Acquire(kLockOwner));
    ASSERT_TRUE(lock.Protect(kLockOwner, kSpeed));

    EXPECT_EQ(base_->WriteValueDouble(kSpeed, 10.0), kParaInvalidData);
    EXPECT_STREQ(base_->MessageBuffer, "Parameter 123-SPEED is protected against writing");
    EXPECT_EQ(base_->GetEntry(kSpeed)->value, 10);  // the table took it
    EXPECT_EQ(Heard("20123"), 0);
    ASSERT_EQ(base_->WriteValueString(kName, dstring("Free")), 0);  // not protected

    ASSERT_TRUE(lock.AllowNextWrite(kLockOwner));
    EXPECT_EQ(base_->WriteValueDouble(kSpeed, 20.0), 0);
    EXPECT_EQ(OnDrive(kSpeed).value, 20u);
    EXPECT_EQ(base_->WriteValueDouble(kSpeed, 30.0), kParaInvalidData);
    EXPECT_EQ(OnDrive(kSpeed).value, 20u);

    ASSERT_TRUE(lock.Release(kLockOwner));
    EXPECT_EQ(base_->WriteValueDouble(kSpeed, 40.0), 0);
    EXPECT_EQ(OnDrive(kSpeed).value, 40u);
}

TEST_F(DeviceAccessTest, WriteFromAnotherBaseTakesItsValues) {
    ParaBase source;
    *source.GetEntry(kSpeed) = *base_->GetEntry(kSpeed);
    source.GetEntry(kSpeed)->value = -42;
    ASSERT_EQ(base_->WriteBusParameter(kSpeed, 0, 1, &source), 0) << base_->MessageBuffer;
    EXPECT_EQ(OnDrive(kSpeed).value, static_cast<uint32_t>(-42));
    EXPECT_EQ(base_->GetEntry(kSpeed)->value, 0);

    source.GetEntry(kSpeed)->valid = 0;
    EXPECT_EQ(base_->WriteBusParameter(kSpeed, 0, 1, &source), kParaInvalidData);
    EXPECT_STREQ(base_->MessageBuffer, "Data of parameter 123-SPEED is invalid");
}

TEST_F(DeviceAccessTest, BaseWithoutBusAnswersEveryDeviceOperationWith25) {
    ParaBase offline;
    *offline.GetEntry(kSpeed) = *base_->GetEntry(kSpeed);
    double v = 0;
    EXPECT_EQ(offline.ReadValueDouble(kSpeed, &v), kParaNoBus);
    EXPECT_STREQ(offline.MessageBuffer, "No bus attached to this parameterbase");
    EXPECT_EQ(offline.ReadBusDescription(kSpeed), kParaNoBus);
    EXPECT_EQ(offline.WriteBusParameter(kSpeed, 0, 1), kParaNoBus);
    EXPECT_EQ(offline.CheckBusResult(false), kParaNoBus);
    EXPECT_EQ(offline.CheckBusResult(true), 0);
}

TEST_F(DeviceAccessTest, BitTextForTheValueReadFromTheDevice) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/desc.PIT"),
                           "[parameterdescription]\n"
                           "[5-SPEED=250-Bit-Explorer]\n"
                           "SPEED-0=Bits250\n"
                           "[Bits250]\n"
                           "3=Third bit at 250\n");
    Define(*base_,
           {.number = kDeviceCodeParameter,
            .name = "TYPE",
            .type = kTypeInt32,
            .minimum = 0,
            .maximum = 9999,
            .value = 5000});
    base_->SetDescriptionFile(std::make_unique<ParaDescriptionFile>("..\\TMP\\desc.PIT"));
    OnDrive(kSpeed).value = 250;
    EXPECT_STREQ(base_->GetBitText(kSpeed, 3, 0), "Third bit at 250");
    EXPECT_EQ(Heard("20123"), 1);
    EXPECT_STREQ(base_->GetBitText(kSpeed, 4, 0), "123-SPEED[0] Bit 4");
}

}  // namespace

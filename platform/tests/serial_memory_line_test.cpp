#include "platform/testing/memory_serial_line.h"

#include <gtest/gtest.h>

#include "platform/system/clock.h"

namespace {

using platform::LineCharacter;
using platform::MemorySerialLine;
using platform::SerialPort;
using platform::SerialSettings;
using platform::TheVirtualClock;

// A far-end device that records what it hears and, when told to, answers
// each character with a reply of its own.
class RecordingDevice : public platform::LineDevice {
public:
    std::vector<LineCharacter> heard;
    std::vector<uint8_t> answer;
    SerialSettings answer_settings{9600, 7, 'E', 1};

    void OnCharacter(MemorySerialLine& line, const LineCharacter& character) override {
        heard.push_back(character);
        if (!answer.empty()) line.SendToHost(this, answer, answer_settings, character.end_us);
    }
};

std::unique_ptr<SerialPort> Open(MemorySerialLine& line, SerialSettings settings) {
    std::string error;
    auto port = line.OpenHostPort(&error);
    EXPECT_NE(port, nullptr) << error;
    if (port != nullptr) {
        EXPECT_TRUE(port->Configure(settings)) << port->LastErrorText();
    }
    return port;
}

int Write(SerialPort& port, const std::string& bytes) {
    return port.Write(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

std::string ReadAll(SerialPort& port) {
    uint8_t buffer[256];
    int n = port.Read(buffer, sizeof buffer);
    return n > 0 ? std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(n)) : std::string();
}

void AdvanceTo(uint64_t us) { TheVirtualClock()->AdvanceToUs(us); }

TEST(MemorySerialLine, CharactersTakeTenBitTimesEachWay) {
    struct Case {
        int32_t baud;
        uint64_t character_us;
    } cases[] = {{1200, 8333}, {9600, 1042}, {19200, 521}, {28800, 347}, {57600, 174}, {115200, 87}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        EXPECT_EQ(platform::CharacterTimeUs(c.baud), c.character_us);
        MemorySerialLine line;
        RecordingDevice device;
        device.answer = {'x', 'y'};
        device.answer_settings = {c.baud, 7, 'E', 1};
        auto attached = line.Attach(&device);
        auto port = Open(line, {c.baud, 7, 'E', 1});
        const uint64_t t0 = TheVirtualClock()->NowUs();

        ASSERT_EQ(Write(*port, "ab"), 2);
        AdvanceTo(t0 + c.character_us - 1);
        EXPECT_EQ(port->BytesWaiting(), 0);
        EXPECT_TRUE(device.heard.empty());
        AdvanceTo(t0 + 2 * c.character_us);
        line.Service();
        ASSERT_EQ(device.heard.size(), 2u);
        EXPECT_EQ(device.heard[0].end_us, t0 + c.character_us);
        EXPECT_EQ(device.heard[1].end_us, t0 + 2 * c.character_us);
        EXPECT_EQ(device.heard[1].sent_with.baud, c.baud);

        // The answers to both characters queue one after the other.
        AdvanceTo(t0 + 5 * c.character_us - 1);
        EXPECT_EQ(port->BytesWaiting(), 3);
        AdvanceTo(t0 + 5 * c.character_us);
        EXPECT_EQ(port->BytesWaiting(), 4);
        EXPECT_EQ(ReadAll(*port), "xyxy");
        EXPECT_EQ(port->BytesPending(), 0);
    }
}

TEST(MemorySerialLine, HostDecodesOnlyItsOwnRateAndFraming) {
    struct Case {
        SerialSettings sender;
        std::string read;
    } cases[] = {
        {{9600, 7, 'e', 1}, "A"},  // parity letters compare without case
        {{19200, 7, 'E', 1}, "\x7F"},
        {{9600, 8, 'N', 1}, "\x7F"},
        {{9600, 7, 'O', 1}, "\x7F"},
        {{9600, 7, 'E', 2}, "\x7F"},
    };
    for (const Case& c : cases) {
        MemorySerialLine line;
        RecordingDevice device;
        auto port = Open(line, {9600, 7, 'E', 1});
        line.SendToHost(&device, {'A'}, c.sender, TheVirtualClock()->NowUs());
        TheVirtualClock()->AdvanceMs(10);
        EXPECT_EQ(ReadAll(*port), c.read) << c.sender.baud << c.sender.data_bits << c.sender.parity;
    }
}

TEST(MemorySerialLine, InjectedFaultsSpoilExactlyTheCountedCharacters) {
    MemorySerialLine line;
    RecordingDevice device;
    auto port = Open(line, {9600, 7, 'E', 1});
    line.InjectFaultsToHost(platform::kLineParityError, 2);
    line.SendToHost(&device, {'A', 'B', 'C'}, {9600, 7, 'E', 1}, TheVirtualClock()->NowUs());
    line.InjectFaultsToHost(platform::kLineFramingError, 1);
    line.SendToHost(&device, {'D', 'E'}, {9600, 7, 'E', 1}, TheVirtualClock()->NowUs());
    TheVirtualClock()->AdvanceMs(10);
    EXPECT_EQ(ReadAll(*port), std::string("@CC\0E", 5));

    auto attached = line.Attach(&device);
    line.InjectFaultsToDevices(platform::kLineFramingError, 1);
    Write(*port, "xy");
    TheVirtualClock()->AdvanceMs(10);
    line.Service();
    ASSERT_EQ(device.heard.size(), 2u);
    EXPECT_EQ(device.heard[0].faults, platform::kLineFramingError);
    EXPECT_EQ(device.heard[1].faults, 0);
}

TEST(MemorySerialLine, ReopenAtAnotherRateMidTransfer) {
    MemorySerialLine line;
    RecordingDevice device;
    auto attached = line.Attach(&device);
    auto port = Open(line, {9600, 8, 'N', 1});
    Write(*port, "1");
    // The device answers at the old rate; the host closes before the answer
    // arrives and reopens at the new rate.
    line.SendToHost(&device, {'a'}, {9600, 8, 'N', 1}, TheVirtualClock()->NowUs());
    line.SendToHost(&device, {'b'}, {9600, 8, 'N', 1}, TheVirtualClock()->NowUs() + 5000);
    TheVirtualClock()->AdvanceMs(2);
    port.reset();  // 'a' arrived but was never read: gone with the port
    EXPECT_FALSE(line.HostPortOpen());
    port = Open(line, {57600, 8, 'N', 1});
    Write(*port, "2");
    TheVirtualClock()->AdvanceMs(10);
    EXPECT_EQ(ReadAll(*port), "\x7F");  // 'b', sent at 9600
    line.SendToHost(&device, {'c'}, {57600, 8, 'N', 1}, TheVirtualClock()->NowUs());
    TheVirtualClock()->AdvanceMs(1);
    EXPECT_EQ(ReadAll(*port), "c");
    ASSERT_EQ(device.heard.size(), 2u);
    EXPECT_EQ(device.heard[0].sent_with.baud, 9600);
    EXPECT_EQ(device.heard[1].sent_with.baud, 57600);
}

TEST(MemorySerialLine, PurgeDropsOnlyWhatHasArrived) {
    MemorySerialLine line;
    RecordingDevice device;
    auto port = Open(line, {9600, 7, 'E', 1});
    line.SendToHost(&device, {'a', 'b', 'c'}, {9600, 7, 'E', 1}, TheVirtualClock()->NowUs());
    TheVirtualClock()->AdvanceUs(2 * 1042);
    port->PurgeInput();
    TheVirtualClock()->AdvanceUs(1042);
    EXPECT_EQ(ReadAll(*port), "c");
}

TEST(MemorySerialLine, OneHostEndAtATime) {
    MemorySerialLine line;
    auto port = Open(line, {9600, 7, 'E', 1});
    std::string error;
    EXPECT_EQ(line.OpenHostPort(&error), nullptr);
    EXPECT_EQ(error, "Device or resource busy");
    port.reset();
    EXPECT_NE(line.OpenHostPort(&error), nullptr);
}

TEST(MemorySerialLine, RefusedSettingsCloseThePort) {
    struct Case {
        SerialSettings settings;
        const char* error;
    } cases[] = {
        {{0, 7, 'E', 1}, "baud rate 0: Invalid argument"},
        {{-9600, 7, 'E', 1}, "baud rate -9600: Invalid argument"},
        {{9600, 4, 'E', 1}, "data bits 4: Invalid argument"},
        {{9600, 9, 'E', 1}, "data bits 9: Invalid argument"},
        {{9600, 7, 'x', 1}, "parity 'x': Invalid argument"},
        {{9600, 7, 'E', 3}, "stop bits 3: Invalid argument"},
    };
    MemorySerialLine line;
    for (const Case& c : cases) {
        std::string error;
        auto port = line.OpenHostPort(&error);
        ASSERT_NE(port, nullptr) << error;
        EXPECT_FALSE(port->Configure(c.settings));
        EXPECT_EQ(port->LastErrorText(), c.error);
        EXPECT_FALSE(line.HostPortOpen());
        EXPECT_EQ(port->BytesWaiting(), -1);
        EXPECT_EQ(Write(*port, "x"), -1);
    }
}

TEST(MemorySerialLine, DisconnectFailsEveryCall) {
    auto line = std::make_unique<MemorySerialLine>();
    auto port = Open(*line, {9600, 7, 'E', 1});
    line->SetDisconnected(true);
    uint8_t byte;
    EXPECT_EQ(port->BytesWaiting(), -1);
    EXPECT_EQ(port->Read(&byte, 1), -1);
    EXPECT_EQ(Write(*port, "x"), -1);
    EXPECT_EQ(port->LastErrorText(), "Input/output error");
    line->SetDisconnected(false);
    EXPECT_EQ(port->BytesWaiting(), 0);
    // A port that outlives its line behaves like one whose adapter was pulled.
    line.reset();
    EXPECT_EQ(port->BytesWaiting(), -1);
}

TEST(MemorySerialLine, ScriptedOutputQueueAndShortWrite) {
    MemorySerialLine line;
    auto port = Open(line, {9600, 7, 'E', 1});
    line.SetStuckOutput(3);
    TheVirtualClock()->AdvanceMs(1000);
    EXPECT_EQ(port->BytesPending(), 3);
    line.SetStuckOutput(0);
    EXPECT_EQ(port->BytesPending(), 0);
    line.LimitNextWrite(2);
    EXPECT_EQ(Write(*port, "abcd"), 2);
    EXPECT_EQ(Write(*port, "abcd"), 4);
}

TEST(MemorySerialLine, OpenerHandsOutTheLineByPortName) {
    MemorySerialLine line;
    platform::SetSerialPortOpener(line.Opener("COM2"));
    std::string error;
    EXPECT_NE(platform::OpenSerialPort("com2", &error), nullptr) << error;
    EXPECT_EQ(platform::OpenSerialPort("COM3", &error), nullptr);
    EXPECT_EQ(error, "No such file or directory");
}

}  // namespace

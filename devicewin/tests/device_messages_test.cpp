// The device messages window docked as "AutoMessage" on a virtual drive with
// a fixed clock, and the per-device text file it keeps its log in.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "devicewin/device_messages.h"
#include "devicewin/device_text_file.h"
#include "devicewin/tests/io_state_fixture.h"
#include "parameters/parabase/para_base.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/sound.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace iostatetest {
namespace {

constexpr char kVersionFile[] = "FIRMDATA/4_002_10.ERR";
constexpr char kClassFile[] = "FIRMDATA/4000_ERR.TXT";
constexpr char kMessages[] = "[PREMESSAGE]\nDefault=Message %d\n[DeviceMessages]\n3=first\\nsecond\n";

class DeviceMessagesTest : public StateWindowTest {
public:
    // A Ruvex of version 2.10 with the type text "X4", no alias and the
    // serial number "1234".
    void ConnectX4(const std::function<void(sim::DriveTable&)>& adjust = {}, int32_t baud = 9600) {
        Connect(
            kRuvexType,
            [&adjust](sim::DriveTable& t) {
                Version210(t);
                if (adjust) adjust(t);
            },
            baud);
        Label("X4", "", "1234");
    }
    void Label(const char* typeText, const char* alias, const char* serial) {
        BusDeviceRecord* record = main_->GetActiveBus()->GetDevice(maintest::kAddress);
        record->typeText = typeText;
        record->alias = alias;
        main_->ActiveParaBase()->SetValueString(127, dstring(serial));
    }
    // Opens the frame as the user would from the "View" menu; its log widget
    // with the timer stopped.
    GwCore* Open() {
        EXPECT_TRUE(docking_->OpenDockingFrame("AutoMessage", true));
        window_ = Docked("AutoMessage");
        EXPECT_NE(window_, nullptr);
        if (window_ == nullptr) return nullptr;
        GwCore* log = W("MessageText");
        EXPECT_TRUE(log->is_timer_running());
        EXPECT_EQ(log->timer_interval(), 500u);
        log->stop_timer();
        Heard();
        NewBoxes();
        return log;
    }
    int Tick(GwCore* log) {
        log->start_timer(500);
        return DMSG_Timer(log, nullptr, GwUD());
    }
    static std::string FileText(const std::string& path) { return platform::ReadBinaryFile(path).value_or("<none>"); }
};

TEST_F(DeviceMessagesTest, DeviceTextFileNames) {
    struct Case {
        const char* alias;
        const char* serial;
        bool online;
        const char* path;
    };
    const Case cases[] = {
        {"", "1234", true, "..\\TMP\\X4_1234_V2_10.txt"},
        {"Belt", "1234", true, "..\\TMP\\X4_Belt_1234_V2_10.txt"},
        {"", "1234", false, "..\\TMP\\DefaultName.txt"},
        // Device texts never leave the directory nor give an extension.
        {"../a", "1234", true, "..\\TMP\\X4____a_1234_V2_10.txt"},
        {"", "a:b", true, "..\\TMP\\X4_a_b_V2_10.txt"},
    };
    ConnectX4();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Label("X4", c.alias, c.serial);
        SetActiveOnline(c.online);
        EXPECT_EQ(TheDeviceTextFile().SetToActiveDevice() + ".txt", std::string(c.path).substr(7));
        EXPECT_EQ(TheDeviceTextFile().GetPath(), c.path);
        ASSERT_TRUE(TheDeviceTextFile().Save("log"));
        EXPECT_EQ(FileText(c.path), "log");
        SetActiveOnline(true);
    }
}

TEST_F(DeviceMessagesTest, TheVersionFileComesBeforeTheClassFile) {
    struct Case {
        bool versionFile;
        const char* line;
    };
    for (const Case& c : {Case{true, "From version"}, Case{false, "From class"}}) {
        SCOPED_TRACE(c.line);
        if (c.versionFile) WriteTreeFile(kVersionFile, "[PREMESSAGE]\nDefault=From version\n[DeviceMessages]\n");
        WriteTreeFile(kClassFile, "[PREMESSAGE]\nDefault=From class\n[DeviceMessages]\n");
        ConnectX4([](sim::DriveTable& t) { t.Find(205)->value = 9; });
        GwCore* log = Open();
        EXPECT_EQ(Tick(log), 1);
        EXPECT_NE(log->text().find(std::string("\t") + c.line + "\n"), std::string::npos) << log->text();
        RemoveTreeFile(kVersionFile);
        docking_->CloseDockingFrame("AutoMessage");
        main_->UncoupleAllDevices();
    }
}

TEST_F(DeviceMessagesTest, ATickLogsTheReportedMessage) {
    struct Case {
        uint32_t number;
        bool speaker;
        const char* text;  // null: no line
    };
    const Case cases[] = {
        {17, false, "Message 17"},
        {3, true, "first\nsecond"},
        {0, true, nullptr},
        {0x113, false, "Message 19"},  // the low byte
    };
    WriteTreeFile(kClassFile, kMessages);
    ConnectX4();
    GwCore* log = Open();
    auto* speaker = dynamic_cast<GwToggle*>(W("Speaker"));
    ASSERT_NE(speaker, nullptr);
    const std::regex dateTime(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        log->set_text("old\n");
        speaker->set_checked(c.speaker);
        P(205)->value = c.number;
        const size_t sounds = platform::RecordedSounds().size();
        EXPECT_EQ(Tick(log), 1);
        const std::vector<std::string> heard = Heard();
        if (c.text == nullptr) {
            EXPECT_EQ(log->text(), "old\n");
            EXPECT_EQ(heard, (std::vector<std::string>{"R 20205"}));
            EXPECT_EQ(platform::RecordedSounds().size(), sounds);
            continue;
        }
        const std::string text = log->text();
        ASSERT_GE(text.size(), 20u);
        EXPECT_TRUE(std::regex_match(text.substr(0, 19), dateTime)) << text;
        EXPECT_EQ(text.substr(19), std::string("\t") + c.text + "\nold\n");
        char written[16];
        std::snprintf(written, sizeof written, "W 20205=%X", c.number & 0xFF);  // telegrams carry hexadecimal
        EXPECT_EQ(heard.back(), written);
        EXPECT_EQ(platform::RecordedSounds().size(), sounds + (c.speaker ? 1 : 0));
        if (c.speaker) {
            EXPECT_EQ(platform::RecordedSounds().back().file, ".\\chord.wav");
        }
    }
    EXPECT_TRUE(log->is_timer_running());
    EXPECT_EQ(log->timer_interval(), 2000u);
}

TEST_F(DeviceMessagesTest, AFullLogIsEmptiedBeforeTheNewLine) {
    WriteTreeFile(kClassFile, kMessages);
    ConnectX4([](sim::DriveTable& t) { t.Find(205)->value = 3; });
    auto* log = dynamic_cast<GwEdit*>(Open());
    ASSERT_NE(log, nullptr);
    log->set_max_length(2148);
    const std::string kept(100, 'k');
    log->set_text(kept);
    Tick(log);
    EXPECT_NE(log->text().find(kept), std::string::npos);
    log->set_text(kept + "k");
    Tick(log);
    EXPECT_EQ(log->text().find('k'), std::string::npos);
    EXPECT_EQ(log->text().substr(19), "\tfirst\nsecond\n");
}

TEST_F(DeviceMessagesTest, NoLineWithoutAReadOrAMessageFile) {
    ConnectX4([](sim::DriveTable& t) { t.Find(205)->value = 17; }, 38400);
    GwCore* log = Open();
    log->set_text("old");
    EXPECT_EQ(Tick(log), 0);  // no message file
    EXPECT_EQ(log->text(), "old");
    EXPECT_EQ(log->timer_interval(), 1000u);
    EXPECT_TRUE(NewBoxes().empty());

    RefuseReadsOf(205);
    EXPECT_EQ(Tick(log), 1);
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(log->text(), "old");
    EXPECT_TRUE(log->is_timer_running());
}

TEST_F(DeviceMessagesTest, TheLogLivesInTheDeviceTextFileWhileClosed) {
    const std::string file = "..\\TMP\\X4_1234_V2_10.txt";
    ConnectX4();
    ASSERT_TRUE(platform::ReplaceFile(file, "kept\n"));
    GwCore* log = Open();
    EXPECT_EQ(log->text(), "kept\n");

    log->set_text("");
    Docked("AutoMessage")->parent()->hide();
    EXPECT_EQ(FileText(file), "kept\n");
    EXPECT_FALSE(log->is_timer_running());

    Docked("AutoMessage")->parent()->show();
    EXPECT_EQ(log->text(), "kept\n");
    log->set_text("new\n");
    Docked("AutoMessage")->parent()->hide();
    EXPECT_EQ(FileText(file), "new\n");

    Docked("AutoMessage")->parent()->show();
    DMSG_Reset(W("Reset"), nullptr, GwUD());
    EXPECT_EQ(FileText(file), "");
    EXPECT_EQ(log->text(), "");

    // Another active device ends the frame without hiding it first.
    log->set_text("last\n");
    docking_->CloseDockingFrame("AutoMessage");
    EXPECT_EQ(FileText(file), "last\n");
}

TEST_F(DeviceMessagesTest, SaveAsOffersTextFilesAndRemembersTheFolder) {
    ConnectX4();
    GwCore* log = Open();
    log->set_text("line\n");
    std::filesystem::create_directories(platform::ToNativePath("..\\TMP\\logs"));
    gwtest::AnswerFile("..\\TMP\\logs\\a.txt");
    DMSG_SaveAs(W("SaveAs"), nullptr, GwUD());
    gwtest::AnswerFile("..\\TMP\\logs\\b.txt");
    DMSG_SaveAs(W("SaveAs"), nullptr, GwUD());
    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_GE(requests.size(), 2u);
    const GwFileRequest& first = requests[requests.size() - 2];
    EXPECT_EQ(first.filter, "Text files (*.txt)|*.txt|All files (*.*)|*|");
    EXPECT_EQ(first.directory, GetUserDataDir());
    EXPECT_EQ(requests.back().directory, "..\\TMP\\logs\\");
    EXPECT_EQ(FileText("..\\TMP\\logs\\a.txt"), "line\n");
    EXPECT_EQ(FileText("..\\TMP\\logs\\b.txt"), "line\n");
}

}  // namespace
}  // namespace iostatetest

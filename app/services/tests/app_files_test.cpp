// The run-time profiles, directories and device type names.
#include "app/services/app_files.h"

#include <string>

#include "app/services/message_text.h"
#include "app/services/tests/services_fixture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

class AppFilesTest : public ServicesTest {};

std::string Message(const char* section, const char* key) {
    char buffer[kMessageTextSize];
    return GetMessageText(buffer, section, key, kMessageTextSize);
}

TEST_F(AppFilesTest, LanguageNumberNamesTheDirectoryOfTheMessageAndLabelFiles) {
    WriteTreeFile("LANGUAGE/049/TORVAN.MSG", "[Titles]\nErrorBanner=Fehler\n");
    WriteTreeFile("LANGUAGE/049/BLabel.dat", "[MainWindow]\nTitle=Eins\\nZwei\n");
    WriteTreeFile("bin/Torvan.ini", "[Options]\nLanguage=49\nDeviceSignatureFalseValue=258\n");
    OpenApplicationFiles();
    EXPECT_EQ(GetLanguageDir(), "..\\LANGUAGE\\049");
    EXPECT_EQ(GetLanguageNumber(), 49);
    EXPECT_EQ(GwRcMgr::language(), 49);
    EXPECT_EQ(Message("Titles", "ErrorBanner"), "Fehler");
    EXPECT_STREQ(GetProfileText("MainWindow", "Title"), "Eins\nZwei");
    EXPECT_STREQ(GetProfileText("MainWindow", "Version"), "");
    EXPECT_EQ(GetProfileText("NoSection", "Title"), nullptr);
    // The value is kept as one byte.
    EXPECT_EQ(GetDeviceSignatureFalseValue(), 2);
}

TEST_F(AppFilesTest, WithoutOptionsTheLanguageFilesAreLookedForInTheWorkingDirectory) {
    WriteTreeFile("bin/Torvan.ini", "[AutoStart]\nInitBus=yes\n");
    WriteTreeFile("bin/TORVAN.MSG", "[Titles]\nErrorBanner=Here\n");
    OpenApplicationFiles();
    EXPECT_EQ(GetLanguageDir(), "");
    EXPECT_EQ(Message("Titles", "ErrorBanner"), "Here");
    EXPECT_EQ(LabelProfile(), nullptr);
    EXPECT_EQ(GetProfileText("MainWindow", "Title"), nullptr);
}

TEST_F(AppFilesTest, MissingFilesStayClosedAlthoughTheirDirectoryExists) {
    OpenApplicationFiles();
    EXPECT_EQ(MainProfile(), nullptr);
    EXPECT_EQ(MessageProfile(), nullptr);
    EXPECT_EQ(DeviceNameProfile(), nullptr);
    EXPECT_EQ(Message("Titles", "ErrorBanner"), "ErrorBanner");
}

TEST_F(AppFilesTest, UserDataDirectoryComesFromTheDirectoriesSection) {
    struct Case {
        const char* profile;
        const char* dir;
    };
    const Case cases[] = {
        {"[Options]\nLanguage=7\n", ""},
        {"[Directories]\nUserdataDir=\n", "."},
        {"[Directories]\nUserdataDir=..\\userdata\n", "..\\userdata"},
    };
    for (const Case& c : cases) {
        SetUserDataDir("");
        WriteTreeFile("bin/Torvan.ini", c.profile);
        OpenApplicationFiles();
        SetUserDataDirFromProfile();
        EXPECT_EQ(GetUserDataDir(), c.dir) << c.profile;
    }
}

TEST_F(AppFilesTest, DeviceTypeNames) {
    OpenApplicationFiles();
    EXPECT_STREQ(GetDeviceTypeName(512), "Nesk512");
    EXPECT_STREQ(GetDeviceTypeName(4120), "??4120??");
    EXPECT_STREQ(GetDeviceTypeName(0x10000 + 999), "Nesk999");  // low 16 bits

    WriteTreeFile("bin/dvname.ini", "[DeviceTypName]\n4120=Ruvex Special\n[DeviceClassExtension]\n4=Ruvex\n");
    OpenApplicationFiles();
    EXPECT_STREQ(GetDeviceTypeName(4120), "Ruvex Special");
    EXPECT_STREQ(GetDeviceTypeName(4121), "Ruvex4121");
    EXPECT_STREQ(GetDeviceTypeName(3000), "??3000??");
    EXPECT_STREQ(GetDeviceTypeName(512), "Nesk512");
}

}  // namespace

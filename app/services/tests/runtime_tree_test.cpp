// The shipped run-time tree: the install step and the tree of every test
// process hold the same files, and the shipped files work together.
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/services/app_files.h"
#include "app/services/message_text.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const fs::path& root) {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        entries.insert(fs::relative(entry.path(), root).generic_string() + (entry.is_directory() ? "/" : ""));
    }
    return entries;
}

// Runs the install step's layout into `root`.
void Install(const fs::path& root) {
    const std::string command = std::string("\"") + TORVAN_CMAKE_COMMAND + "\" -DUI_DIR=\"" + TORVAN_UI_DIR +
                                "\" -DROOT=\"" + root.string() + "\" -P \"" + TORVAN_UI_DIR +
                                "/layout_runtime_tree.cmake\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(RuntimeTree, InstallStepLaysOutTheTreeEveryTestProcessStartsFrom) {
    const fs::path installed = testsupport::RuntimePath("TMP/install");
    Install(installed);

    const std::set<std::string> entries = Entries(installed);
    for (const char* expected : {"bin/",
                                 "bin/Torvan.ini",
                                 "bin/dvname.ini",
                                 "bin/torvan.cgw",
                                 "TMP/",
                                 "FIRMDATA/",
                                 "DRIVEDAT/",
                                 "userdata/",
                                 "LANGUAGE/044/TORVAN.MSG",
                                 "LANGUAGE/044/BLabel.dat"}) {
        EXPECT_EQ(entries.count(expected), 1u) << expected;
    }
    for (const std::string& entry : entries) {
        EXPECT_EQ(entry.find(".keep"), std::string::npos) << entry;
        EXPECT_EQ(entry.find("CMakeLists.txt"), std::string::npos) << entry;
        const fs::path own = testsupport::RuntimePath(entry);
        if (entry.back() == '/') {
            EXPECT_TRUE(fs::is_directory(own)) << entry;
        } else {
            EXPECT_EQ(testsupport::ReadFile(own), testsupport::ReadFile(installed / entry)) << entry;
        }
    }
}

TEST(RuntimeTree, InstallingAgainKeepsTheUsersProfiles) {
    const fs::path installed = testsupport::RuntimePath("TMP/install");
    Install(installed);
    testsupport::WriteFile(installed / "bin/Torvan.ini", "[Options]\nLanguage=44\nAnimation=0\n");
    testsupport::WriteFile(installed / "LANGUAGE/044/TORVAN.MSG", "old");
    fs::remove(installed / "bin/dvname.ini");
    Install(installed);
    EXPECT_EQ(testsupport::ReadFile(installed / "bin/Torvan.ini"), "[Options]\nLanguage=44\nAnimation=0\n");
    EXPECT_EQ(testsupport::ReadFile(installed / "LANGUAGE/044/TORVAN.MSG"),
              testsupport::ReadFile(testsupport::RuntimePath("LANGUAGE/044/TORVAN.MSG")));
    EXPECT_TRUE(fs::exists(installed / "bin/dvname.ini"));
}

class ShippedFiles : public ::testing::Test {
protected:
    void SetUp() override { OpenApplicationFiles(); }
    static std::string Text(const char* section, const std::string& key) {
        char buffer[kMessageTextSize];
        return GetMessageText(buffer, section, key.c_str(), kMessageTextSize);
    }
};

TEST_F(ShippedFiles, DefaultProfileNamesTheShippedLanguage) {
    EXPECT_EQ(GetLanguageDir(), "..\\LANGUAGE\\044");
    SetUserDataDirFromProfile();
    EXPECT_EQ(GetUserDataDir(), "..\\userdata");
    EXPECT_EQ(Text("Titles", "ErrorBanner"), "Error");
    EXPECT_EQ(Text("Titles", "QuitText"), "Quit");
    EXPECT_EQ(Text("ParaBase-Messages", "PB_13"), "%s transmission error: \n%s");
    EXPECT_EQ(Text("RS232-Messages", "RS232_M01"), "Transmissionregister of PC is not accessable ");
    EXPECT_EQ(Text("RS232-Messages", "RS232_M30"), "Choosed function isn´t available on this Device");
    EXPECT_STREQ(GetProfileText("MainWindow", "Title"), "Torvan");
    EXPECT_STREQ(GetDeviceTypeName(4120), "Ruvex4120");
}

TEST_F(ShippedFiles, EveryCodeOfEachLayerHasAText) {
    struct Range {
        const char* section;
        const char* format;
        unsigned first;
        unsigned last;
    };
    const Range ranges[] = {
        {"ParaBase-Messages", "PB_%02u", 0, 25},
        {"RS232-Messages", "RS232_M%02u", 0, 30},
        {"CANOpen-Messages", "CANOpen_M%02u", 0, 12},
        {"Main-Messages", "MN_%05u", 1, 2},
        {"Main-Messages", "MN_%05u", 5, 7},
        {"Main-Messages", "MN_%05u", 10, 10},
        {"Main-Messages", "MN_%05u", 141, 143},
        {"Activ-Messages", "AM_%05u", 0, 5},
    };
    for (const Range& range : ranges) {
        for (unsigned n = range.first; n <= range.last; ++n) {
            char key[32];
            std::snprintf(key, sizeof key, range.format, n);
            EXPECT_NE(Text(range.section, key), key) << range.section;
        }
    }
    for (const char* key : {"NotActiv", "UnknownDevice", "BusError"}) EXPECT_NE(Text("Device-States", key), key);
}

TEST_F(ShippedFiles, BoxAndActivityDefinitionsHaveTheirParts) {
    ASSERT_TRUE(GwRcMgr::use("torvan.cgw"));
    struct Box {
        const char* name;
        std::set<int> results;
    };
    for (const Box& box : {Box{"x_ErrorBox", {8, 2}},
                           Box{"x_WarningBox", {6, 7}},
                           Box{"x_InfoBox", {8}},
                           Box{"x_QuestionBox", {6, 7}}}) {
        GwCore* window = GwRcMgr::load(nullptr, box.name);
        ASSERT_NE(window, nullptr) << box.name;
        EXPECT_NE(window->child("Message"), nullptr) << box.name;
        std::set<int> results;
        for (GwCore* child : window->children()) {
            if (auto* button = dynamic_cast<GwPushButton*>(child)) results.insert(button->result_code());
        }
        EXPECT_EQ(results, box.results) << box.name;
        window->destroy();
    }
    struct Activity {
        const char* name;
        bool animated;
        bool progress;
    };
    for (const Activity& a : {Activity{"AnimatedStateMessage", true, false},
                              Activity{"NonAnimatedStateMessage", false, false},
                              Activity{"ProgressMessage", true, true},
                              Activity{"NonAnimatedProgressMessage", false, true}}) {
        GwCore* window = GwRcMgr::load(nullptr, a.name);
        ASSERT_NE(window, nullptr) << a.name;
        EXPECT_NE(window->child("Message"), nullptr) << a.name;
        EXPECT_EQ(dynamic_cast<GwMedia*>(window->child("WaitIcon")) != nullptr, a.animated) << a.name;
        EXPECT_EQ(dynamic_cast<GwSlider*>(window->child("Indicator")) != nullptr, a.progress) << a.name;
        window->destroy();
    }
}

}  // namespace

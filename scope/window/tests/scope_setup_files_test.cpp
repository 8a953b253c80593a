// Saving and loading recorder setups through the setup file chooser.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

constexpr char kSetupDir[] = "TMP/setups";

// The setup the fixture's drive holds: channels 0 and 1 on ("Speed" and
// "Current"), divider 1, 1200 bytes, both edges (the live values 70 to 73,
// which cannot be written back, are left out).
constexpr char kGoldenSetup[] =
    "20=32.000000\r\n22=32.000000\r\n24=0.000000\r\n26=0.000000\r\n"
    "21=0.000000\r\n23=1.000000\r\n25=0.000000\r\n27=0.000000\r\n"
    "36=0.000000\r\n60=1.000000\r\n62=1200.000000\r\n64=0.000000\r\n65=4.000000\r\n66=0.000000\r\n"
    "67=0.000000\r\n";

class ScopeSetupFilesTest : public ScopeWindowTest {
protected:
    void SetUp() override {
        ScopeWindowTest::SetUp();
        std::filesystem::create_directories(testsupport::RuntimePath(kSetupDir));
    }
    void TearDown() override {
        std::filesystem::remove_all(testsupport::RuntimePath(kSetupDir));
        ScopeWindowTest::TearDown();
    }
    static std::filesystem::path SetupPath(const char* name) { return testsupport::RuntimePath(kSetupDir) / name; }
};

TEST_F(ScopeSetupFilesTest, TheChooserOffersSetupFilesAndRemembersItsFolder) {
    ASSERT_NE(OpenScope(), nullptr);
    gwtest::AnswerFile("..\\TMP\\setups\\x");
    ASSERT_TRUE(gwtest::Click(Child("SetupWrite")));
    const GwFileRequest first = GwRecorder::FileRequests().back();
    EXPECT_EQ(first.id, "ScopeFileWrite");
    EXPECT_EQ(first.title, "Oscilloscope setup");
    EXPECT_EQ(first.filter, "Oscilloscope setup files (*.scs)|*.scs|All files (*.*)|*|");
    EXPECT_EQ(first.directory, "");

    gwtest::CancelFile();
    ASSERT_TRUE(gwtest::Click(Child("SetupRead")));
    const GwFileRequest second = GwRecorder::FileRequests().back();
    EXPECT_EQ(second.id, "ScopeFileWrite");
    EXPECT_EQ(second.directory, "..\\TMP\\setups\\");
}

TEST_F(ScopeSetupFilesTest, AChosenNameIsWrittenWithTheSetupExtension) {
    ASSERT_NE(OpenScope(), nullptr);
    gwtest::AnswerFile("..\\TMP\\setups\\x");
    ASSERT_TRUE(gwtest::Click(Child("SetupWrite")));
    EXPECT_EQ(testsupport::ReadFile(SetupPath("x.scs")), kGoldenSetup);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(ScopeSetupFilesTest, AChosenFileIsReadIntoTheDrive) {
    ASSERT_NE(OpenScope(), nullptr);
    testsupport::WriteFile(SetupPath("y.scs"), "60=5.000000\r\n65=2.000000\r\n");
    ClearCaptures();
    gwtest::AnswerFile("..\\TMP\\setups\\y");
    ASSERT_TRUE(gwtest::Click(Child("SetupRead")));
    EXPECT_EQ(OnDrive(60).value, 5u);
    EXPECT_EQ(OnDrive(65).value, 2u);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20060=5", "W 20065=2"}));

    // A cancelled chooser reads nothing.
    ClearCaptures();
    gwtest::CancelFile();
    ASSERT_TRUE(gwtest::Click(Child("SetupRead")));
    EXPECT_TRUE(Heard().empty());
}

}  // namespace
}  // namespace scopewintest

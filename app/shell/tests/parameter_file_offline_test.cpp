#include "app/shell/parameter_file_offline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main/editor_context.h"
#include "app/main/tests/main_fixture.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "parameters/parabase/para_base.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

class ParameterFileTest : public maintest::MainTest {
protected:
    // The drive's cache file set, copied into the user data directory as
    // <stem>.02? and <stem>.00?.
    void MakeFileSets(const std::string& stem) {
        Activate();
        for (const char* letter : {"D", "X", "T"}) {
            for (const char* middle : {"02", "00"}) {
                const std::string target = "userdata/" + stem + "." + middle + letter;
                WriteTreeFile(target, testsupport::ReadFile(CachePath(letter)));
            }
        }
    }

    GwCore* Listed(const std::string& name) {
        for (GwCore* w = TheWindowHandler().First(); w != nullptr; w = TheWindowHandler().Next()) {
            if (w->name() == name) return w;
        }
        return nullptr;
    }
};

TEST_F(ParameterFileTest, ADataSetOfASetupFamilyOpensItsSetupWindowOffline) {
    MakeFileSets("X");
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe 4_SetupMain { }\n", "setup.cgw"));
    EXPECT_EQ(OpenParameterFileOffline("..\\userdata\\X.02D", false), 1);
    GwCore* setup = Listed("4_SetupMain");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->is_visible());
    EXPECT_EQ(setup->user_data().string(), "offline");
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(setup));
    EXPECT_EQ(TheParameterEditorContext().Base, &main_->OwnParaBase());
    EXPECT_EQ(std::string(main_->OwnParaBase().GetPath(kDFilePath)), "..\\userdata\\X.00D");
    EXPECT_EQ(LastParameterFileDirectory(), "..\\userdata\\");
}

TEST_F(ParameterFileTest, KeptFilesOpenInTheParameterEditorWithTheFileInTheTitle) {
    MakeFileSets("X");
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe ParameterEditor { title = \"Parameters [none]\" }\n", "pe.cgw"));
    EXPECT_EQ(OpenParameterFileOffline("..\\userdata\\X.02D", true), 1);
    GwCore* editor = Listed("ParameterEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->user_data().integer(), 2);
    EXPECT_EQ(TheParameterEditorContext().Mode, kEditorModeFile);
    EXPECT_EQ(editor->title(), "Parameters  [..\\userdata\\X.02D]");
    EXPECT_EQ(editor->document_option(), 1);
}

TEST_F(ParameterFileTest, FailuresShowTheirMessagesOrNothing) {
    MakeFileSets("X");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    // No setup window: error 7.
    EXPECT_EQ(OpenParameterFileOffline("..\\userdata\\X.02D", false), 0);
    // A path longer than 260 characters is ignored.
    EXPECT_EQ(OpenParameterFileOffline(("..\\userdata\\" + std::string(249, 'a') + ".00D").c_str(), false), 0);
    // Unreadable.
    EXPECT_EQ(OpenParameterFileOffline("..\\userdata\\missing.00D", false), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{"error: A window or one of its elements could not be loaded!",
                                        "warning: Cannot open file \"..\\userdata\\missing.00D\"!"}));
}

// Offline, the file's access codes set the user level: the highest level
// whose code is 0.
TEST_F(ParameterFileTest, WithoutAnOnlineDeviceTheFilesAccessCodesSetTheUserLevel) {
    sim::DriveTable table = maintest::ActivationTable();
    const std::pair<int, uint32_t> codes[] = {{362, 0}, {363, 0}, {364, 123}, {365, 915}, {366, 372}};
    for (const auto& [number, code] : codes) {
        table.PutFullRange(number, ("PSW" + std::to_string(number - 360)).c_str(), "USIGN32", code);
    }
    AddDrive(maintest::kAddress, std::move(table));
    MakeFileSets("X");
    main_->UncoupleAllDevices();
    ASSERT_FALSE(main_->HasOnlineDevice());
    SetUserLevel(6);
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe ParameterEditor { title = \"Parameters\" }\n", "pe.cgw"));
    EXPECT_EQ(OpenParameterFileOffline("..\\userdata\\X.02D", true), 1);
    EXPECT_EQ(GetUserLevel(), 3);
    EXPECT_EQ(display_.userLevelText, "Commissioning");
}

// A file set of empty records names no device.
TEST_F(ParameterFileTest, AFileWithoutDataGivesMessage13) {
    WriteTreeFile("userdata/Empty.00D", std::string(64000, '\0'));
    WriteTreeFile("userdata/Empty.00X", "");
    WriteTreeFile("userdata/Empty.00T", "");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_EQ(OpenParameterFileOffline("..\\userdata\\Empty.00D", true), 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"info: The parameter file holds no data!"});
}

}  // namespace

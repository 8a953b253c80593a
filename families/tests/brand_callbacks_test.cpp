// The labels and titles that the main profile's [Options] may rename.
#include "families/brand_callbacks.h"

#include <gtest/gtest.h>

#include <string>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

class BrandTest : public maintest::MainTest {
public:
    void SetUp() override {
        MainTest::SetUp();
        ASSERT_TRUE(
            GwRcMgr::use_text("dialogframe BrandDialog {\n title = \"Dialog\"\n button hollin { text = \"Module\" }\n"
                              " button Caller { }\n}\n",
                              "brand.cgw"));
        shippedPath_ = MainProfile()->path();
    }
    void TearDown() override {
        MainProfile()->clear();
        MainProfile()->load(shippedPath_.c_str());
        MainTest::TearDown();
    }
    // The profile's whole text, as "[section]" then "key=value" lines.
    static void Profile(const std::string& options) {
        GwProfile* profile = MainProfile();
        profile->clear();
        if (options == "<none>") return;
        profile->select_section("Options", true);
        size_t start = 0;
        while (start < options.size()) {
            const size_t end = options.find(';', start);
            const std::string entry = options.substr(start, end - start);
            const size_t eq = entry.find('=');
            profile->write(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str());
            start = end == std::string::npos ? options.size() : end + 1;
        }
    }
    GwCore* Open() {
        GwCore* window = GwRcMgr::load(mainWindow_, "BrandDialog", 1);
        window->show();
        return window;
    }
    std::string shippedPath_;
};

TEST_F(BrandTest, OptionsRenameTheButtonAndTheTitles) {
    struct Case {
        const char* options;
        const char* label;  // of "hollin" after CB_BrandInstRMode
        const char* dravo;  // title after CB_BrandDravoDialog
        const char* show;   // title after CB_BrandShowHollin
    };
    const Case cases[] = {
        {"hollin=HX;DravoTitle=KP 9;HollinTitle=HM 3", "HX", "KP 9", "HM 3"},
        {"hollin=;DravoTitle=;HollinTitle=", "", "", ""},
        {"Language=44", "", "", ""},  // a missing key reads empty
        {"<none>", "Module", "Dialog", "Dialog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        Profile(c.options);
        GwCore* window = Open();
        GwCore* caller = window->child("Caller");
        CB_BrandInstRMode(caller, nullptr, GwUD());
        EXPECT_EQ(window->child("hollin")->label(), c.label);
        CB_BrandDravoDialog(caller, nullptr, GwUD());
        EXPECT_EQ(window->title(), c.dravo);
        window->set_title("Dialog");
        CB_BrandShowHollin(caller, nullptr, GwUD());
        EXPECT_EQ(window->title(), c.show);
        window->destroy();
    }
}

TEST_F(BrandTest, TheShippedProfileNamesKeypadAndModule) {
    for (const char* key : {"Dravo", "DravoTitle", "hollin", "HollinTitle"}) {
        const std::optional<std::string> value = BrandOption(key);
        ASSERT_TRUE(value.has_value()) << key;
        EXPECT_FALSE(value->empty()) << key;
    }
}

}  // namespace

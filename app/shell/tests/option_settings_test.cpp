#include "app/shell/option_settings.h"

#include <gtest/gtest.h>

#include "app/main/tests/main_fixture.h"
#include "app/services/plot_tool_setting.h"

namespace {

TEST(BaudCodeTest, CodesBothWays) {
    const uint32_t rates[] = {9600, 4800, 2400, 1200, 19200, 28800, 57600, 115200};
    for (int code = 0; code < 8; ++code) {
        EXPECT_EQ(BaudRateCode(rates[code]), code);
        EXPECT_EQ(BaudRateOfCode(code), rates[code]);
    }
    EXPECT_EQ(BaudRateCode(38400), 0);
    EXPECT_EQ(BaudRateOfCode(8), 9600u);
    EXPECT_EQ(BaudRateOfCode(-1), 9600u);
}

class PlotToolTest : public maintest::MainTest {};

TEST_F(PlotToolTest, MissingKeysAndTheExternalTool) {
    struct Case {
        const char* options;
        const char* tool;
        const char* toUse;
    } cases[] = {
        {"", "intern", "intern"},
        {"PlotTool=extern\n", "extern", ""},
        {"PlotTool=extern\nExternalPlotTool=/opt/plot\n", "extern", "/opt/plot"},
        {"PlotTool=Extern\nExternalPlotTool=/opt/plot\n", "Extern", "Extern"},
    };
    for (const Case& c : cases) {
        UseMainProfile(std::string("[Options]\nLanguage=44\n") + c.options);
        EXPECT_EQ(GetPlotTool(), c.tool) << c.options;
        EXPECT_EQ(GetPlotToolToUse(), c.toUse) << c.options;
    }
    UseMainProfile("[AutoStart]\n");
    SetPlotTool("extern");
    SetExternalPlotTool("/usr/bin/plot");
    EXPECT_EQ(GetPlotToolToUse(), "/usr/bin/plot");
}

}  // namespace

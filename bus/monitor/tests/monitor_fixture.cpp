#include "bus/monitor/tests/monitor_fixture.h"

#include <algorithm>

#include "bus/monitor/bus_monitors.h"
#include "parameters/parabase/para_base.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace monitortest {

void MonitorTest::SetUp() {
    maintest::MainTest::SetUp();
    ASSERT_NE(GwRcMgr::use_func_desc(BusMonitorCallbacks()), 0);
}

GwCore* MonitorTest::OpenWindow(const char* name) {
    GwCore* window = GwRcMgr::load(mainWindow_, name, 1);
    EXPECT_NE(window, nullptr) << name;
    if (window != nullptr) window->show();
    return window;
}

std::string MonitorTest::Field(GwCore* window, const std::string& name) {
    GwCore* field = window->child(name);
    EXPECT_NE(field, nullptr) << name;
    return field != nullptr ? field->text() : std::string("<none>");
}

double MonitorTest::SliderValue(GwCore* window, const std::string& name) {
    auto* slider = dynamic_cast<GwSlider*>(window->child(name));
    EXPECT_NE(slider, nullptr) << name;
    return slider != nullptr ? slider->value() : -1.0;
}

uint32_t MonitorTest::Now() { return platform::TheClock().Tick(); }

void MonitorTest::AdvanceTo(uint32_t tick) {
    const uint32_t now = Now();
    ASSERT_LE(now, tick);
    gwtest::Advance(tick - now);
}

size_t MonitorTest::RateTestReads() {
    const std::vector<std::string> requests = Requests();
    return static_cast<size_t>(std::count(requests.begin(), requests.end(), "R20091"));
}

void MonitorTest::ReadTypeNumber(int count) {
    ParaBase* base = main_->ActiveParaBase();
    ASSERT_NE(base, nullptr);
    for (int i = 0; i < count; ++i) {
        uint16_t value = 0;
        ASSERT_EQ(base->ReadValueU16(91, &value), 0) << base->MessageBuffer;
    }
}

}  // namespace monitortest

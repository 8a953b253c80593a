// Set-up of the monitor windows' tests: the application object's fixture
// (shipped definitions, a shown main window, virtual drives on COM1) with the
// monitors' callbacks registered, and helpers that open the windows and move
// the virtual clock.
#pragma once

#include <string>

#include "app/main/tests/main_fixture.h"

namespace monitortest {

class MonitorTest : public maintest::MainTest {
protected:
    void SetUp() override;

    // Loads the window and shows it (its create and show callbacks run).
    GwCore* OpenWindow(const char* name);
    // Text of a child of a window: OpenWindow's name and the child's.
    static std::string Field(GwCore* window, const std::string& name);
    static double SliderValue(GwCore* window, const std::string& name);
    static uint32_t Now();
    // Moves the virtual clock (and due timers) to `tick`.
    static void AdvanceTo(uint32_t tick);
    // Reads of parameter 91 the drive at kAddress heard since its capture was
    // cleared.
    size_t RateTestReads();
    // `count` reads of parameter 91 through the active base, each asserted.
    void ReadTypeNumber(int count);
};

}  // namespace monitortest

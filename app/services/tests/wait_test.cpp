// Waiting with events processed, and system error entries.
#include "app/services/wait.h"

#include <cerrno>
#include <memory>

#include "app/services/tests/services_fixture.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

int g_ticks = 0;
int CountTick(GwCore*, GwEvent*, GwUD) {
    ++g_ticks;
    return 1;
}

class WaitTest : public ServicesTest {};

TEST_F(WaitTest, RunsTheTimersDueAndEndsAfterTheTime) {
    struct Case {
        uint32_t startTick;  // near the wrap of the 32-bit tick count too
    };
    for (Case c : {Case{0x10000}, Case{0xFFFFFF00u}}) {
        platform::InstallClock(std::make_unique<platform::VirtualClock>(c.startTick));
        g_ticks = 0;
        GwCore* frame = new GwDialogFrame("Timed", nullptr);
        frame->set_callback(GwCB_TIMER, CountTick);
        frame->show();
        frame->start_timer(200);
        const uint32_t start = platform::GetTickCount();
        const uint32_t end = WaitMilliseconds(500);
        EXPECT_EQ(end - start, 500u) << c.startTick;
        EXPECT_EQ(platform::GetTickCount(), end);
        EXPECT_EQ(g_ticks, 2) << c.startTick;
        frame->destroy();
    }
}

TEST_F(WaitTest, SystemErrorTextIsLoggedAfterTheCause) {
    GetWin32ErrorText("Striowin->iInitSerio->CreateFile", ENOENT);
    errno = EACCES;
    GetWin32ErrorText("second");
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("\tStriowin->iInitSerio->CreateFile Cause: " + platform::SystemErrorText(ENOENT) + "\n"),
              std::string::npos);
    EXPECT_NE(log.find("\tsecond Cause: " + platform::SystemErrorText(EACCES) + "\n"), std::string::npos);
}

}  // namespace

// The run command's "TestTool" module: it acts as the user of a headless
// torvan. A few seconds after the start-up sequence has run, once the
// network list shows the devices' states (or has had time to), it prints
// what the main window shows, then ends the program as a user would: a close
// request to the main window, then the button of "ExitTorvel". Start-up that
// does not finish in time fails the run.
#include <cstdio>
#include <string>

#include "app/services/services_hooks.h"
#include "app/shell/startup_sequence.h"
#include "platform/system/clock.h"
#include "platform/system/system_error.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/headless/gw_headless_interaction.h"

namespace {

constexpr uint64_t kStartupLimitUs = 60ull * 1000 * 1000;
// The user looks at the main window a few seconds after start-up, when the
// network list has refreshed its state column a second time (the first
// refresh comes half a second after it opened, the next ones 3 s apart at
// 9600 baud), and waits a little longer for states that are still missing.
constexpr uint64_t kLookAfterUs = 5ull * 1000 * 1000;
constexpr uint64_t kStateLimitUs = 10ull * 1000 * 1000;
constexpr int kStateColumn = 3;
constexpr char kExitWindowName[] = "ExitTorvel";

GwMultiList* DeviceRows(GwCore* frame) {
    GwCore* netList = frame->child("NetList");
    return netList != nullptr ? netList->child<GwMultiList>("DeviceList") : nullptr;
}

bool StatesShown(GwCore* frame) {
    GwMultiList* rows = DeviceRows(frame);
    for (int i = 0; rows != nullptr && i < rows->count(); ++i) {
        if (rows->cell(i, kStateColumn).empty()) return false;
    }
    return true;
}

std::string TextOf(GwCore* frame, const char* name) {
    GwCore* widget = frame != nullptr ? frame->child(name) : nullptr;
    return widget != nullptr ? widget->text() : std::string("(no ") + name + ")";
}

class SmokeUser : public GwHeadlessInteraction {
public:
    SmokeUser() : startUs_(platform::TheClock().NowUs()) {}

    bool ProcessEvents() override {
        if (busy_) return false;
        busy_ = true;
        const bool acted = Act();
        busy_ = false;
        return acted;
    }

private:
    bool Act() {
        GwCore* frame = GetMainWindow();
        const uint64_t now = platform::TheClock().NowUs();
        if (stage_ == Stage::kWaiting) {
            if (!StartupStepsFinished || frame == nullptr) {
                if (now - startUs_ > kStartupLimitUs) {
                    platform::FatalAppExitA("smoke: the start-up sequence did not run in time");
                }
                return false;
            }
            if (startedUs_ == 0) startedUs_ = now;
            const uint64_t waited = now - startedUs_;
            if (waited < kLookAfterUs || (!StatesShown(frame) && waited < kStateLimitUs)) return false;
            Report(frame);
            stage_ = Stage::kClosing;
            // The close request runs "ExitTorvel" modally; its pump calls
            // back here, where the button is pressed.
            busy_ = false;
            frame->close();
            return true;
        }
        if (stage_ == Stage::kClosing && frame != nullptr) {
            if (auto* button = dynamic_cast<GwPushButton*>(ExitButton(frame))) {
                stage_ = Stage::kDone;
                busy_ = false;
                button->click();
                return true;
            }
        }
        return false;
    }

    static GwCore* ExitButton(GwCore* frame) {
        GwCore* window = frame->child(kExitWindowName);
        return window != nullptr && window->is_visible() ? window->child("Button") : nullptr;
    }

    static void Report(GwCore* frame) {
        std::printf("Title: %s\n", frame->title().c_str());
        std::printf("BusState: %s\n", TextOf(frame, "BusState").c_str());
        GwMultiList* rows = DeviceRows(frame);
        if (rows == nullptr) std::printf("NetList: (not open)\n");
        for (int i = 0; rows != nullptr && i < rows->count(); ++i) {
            std::printf("NetList: %s\n", rows->row_text(i).c_str());
        }
        std::printf("UserLevel: %s\n", TextOf(frame, "TB_UserLevel").c_str());
        std::fflush(stdout);
    }

    enum class Stage { kWaiting, kClosing, kDone };
    Stage stage_ = Stage::kWaiting;
    bool busy_ = false;
    uint64_t startUs_;
    uint64_t startedUs_ = 0;  // when the start-up sequence was seen finished
};

}  // namespace

extern "C" int init_test_func() {
    static SmokeUser user;
    GwSetInteraction(&user);
    return 1;
}

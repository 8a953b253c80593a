#include "toolkit/headless/gw_headless_interaction.h"

#include <algorithm>

#include "platform/base/log_sink.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_timers.h"

void GwHeadlessInteraction::set_default_answer(int result, const std::string& kind) { answers_[kind] = result; }

int GwHeadlessInteraction::AnswerBox(const GwBoxRecord& box) {
    int answer = GwRESULT_CANCEL;
    if (auto it = answers_.find(box.kind); it != answers_.end()) {
        answer = it->second;
    } else if (auto all = answers_.find(""); all != answers_.end()) {
        answer = all->second;
    }
    platform::LogLine("headless: " + box.kind + " box \"" + box.caption + "\": " + box.text + " -> answer " +
                      std::to_string(answer));
    return answer;
}

void GwHeadlessInteraction::RunModal(GwCore* window) {
    while (window->is_alive() && !window->modal_ended() && window->is_shown()) {
        GwProcessPendingEvents();
        if (!window->is_alive() || window->modal_ended()) break;
        // Sleep until the next timer is due, but wake now and then anyway.
        uint32_t wait_ms = kGwHeadlessIdleMs;
        if (auto due = GwTimerScheduler::NextDueUs()) {
            uint64_t now = platform::TheClock().NowUs();
            uint64_t until = *due > now ? (*due - now + 999) / 1000 : 0;
            wait_ms = static_cast<uint32_t>(std::min<uint64_t>(until, kGwHeadlessIdleMs));
        }
        platform::Sleep(wait_ms);
    }
}

bool GwHeadlessInteraction::ChooseFile(const GwFileRequest& request, std::string*) {
    platform::LogLine("headless: file selector \"" + request.title + "\" (" + request.id + ") -> cancelled");
    return false;
}

GwPrintDialogAnswer GwHeadlessInteraction::AnswerPrintDialog(const GwPrintDialogRequest& request) {
    platform::LogLine("headless: print dialog" +
                      (request.parent.empty() ? std::string() : " of \"" + request.parent + "\"") + " -> cancelled");
    return GwPrintDialogAnswer{};
}

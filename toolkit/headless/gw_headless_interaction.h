// The interaction of a program that runs without a screen: a modal run pumps
// the toolkit's timers and queued events on the installed clock (the real
// one in a program) until the run ends (the window is hidden or destroyed,
// or end_modal). Nobody answers boxes, file selectors or print dialogs: a
// box takes the configured default answer and each of them writes a log
// line, so a headless program can run its main window. A smoke-test module
// derives from it to act as the user in ProcessEvents (with NextDueUs for
// its own times) or to answer boxes itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_types.h"

// Longest sleep between two pumps while nothing is due.
constexpr uint32_t kGwHeadlessIdleMs = 50;

class GwHeadlessInteraction : public GwInteraction {
public:
    // The answer of boxes of a kind ("error", "question", ...; "" for every
    // kind without an answer of its own). GwRESULT_CANCEL unless set.
    void set_default_answer(int result, const std::string& kind = "");

    int AnswerBox(const GwBoxRecord& box) override;
    void RunModal(GwCore* window) override;
    bool ChooseFile(const GwFileRequest& request, std::string* path) override;
    GwPrintDialogAnswer AnswerPrintDialog(const GwPrintDialogRequest& request) override;

private:
    std::map<std::string, int> answers_;
};

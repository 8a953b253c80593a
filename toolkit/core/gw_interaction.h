// Where the user's answers and input come from: message boxes, modal runs,
// file selectors and print dialogs ask the installed interaction, and the
// event pump lets it process its own events. The test driver installs one
// that answers from the test's script; a headless program installs
// GwHeadlessInteraction; a screen renderer installs its own. Without one,
// every box, modal run and print dialog ends with cancel and every selector
// is cancelled.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/core/gw_recorder.h"

class GwCore;

// The print dialog as the user sees it: where the printed document will be
// written, so the dialog can say so.
struct GwPrintDialogRequest {
    std::string parent;            // identifier of the owner widget; empty for none
    std::string output_directory;  // as GwSetPrintOutputDirectory named it; empty for none
    std::string file_name;         // "print_<n>.pdf" the next document gets; empty for none
};

// What the user chose in the print dialog.
struct GwPrintDialogAnswer {
    bool ok = false;
    int copies = 1;
    bool collate = false;
};

class GwInteraction {
public:
    virtual ~GwInteraction() = default;
    // The result code for a box that is being shown (already recorded).
    virtual int AnswerBox(const GwBoxRecord& box) = 0;
    // Runs a modal window until its run ends (GwCore::modal_ended: a
    // callback ended it, the window was closed, hidden or destroyed); must
    // end it (end_modal) when nothing else did.
    virtual void RunModal(GwCore* window) = 0;
    // Fills `path` and returns true for a choice; false for cancel.
    virtual bool ChooseFile(const GwFileRequest& request, std::string* path) = 0;
    virtual GwPrintDialogAnswer AnswerPrintDialog(const GwPrintDialogRequest&) { return GwPrintDialogAnswer{}; }
    // Called by GwProcessPendingEvents after the toolkit's timers: deliver
    // input that is waiting (a renderer pumps its event loop here). Returns
    // whether anything ran.
    virtual bool ProcessEvents() { return false; }
    // Clock time (microseconds) at which the interaction has something due,
    // if any; the pump hook's next due time takes it into account.
    virtual std::optional<uint64_t> NextDueUs() { return std::nullopt; }
};

// Installs the interaction (not owned); null restores the default.
void GwSetInteraction(GwInteraction* interaction);
GwInteraction& GwGetInteraction();

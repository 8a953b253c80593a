// Where the user's answers come from: message boxes, modal runs and file
// selectors ask the installed interaction. The test driver installs one that
// answers from the test's script; without one, every box and modal run ends
// with GwRESULT_CANCEL and every selector is cancelled (a renderer over a
// real GUI library installs its own).
#pragma once

#include <string>

#include "toolkit/core/gw_recorder.h"

class GwCore;

class GwInteraction {
public:
    virtual ~GwInteraction() = default;
    // The result code for a box that is being shown (already recorded).
    virtual int AnswerBox(const GwBoxRecord& box) = 0;
    // Runs a modal window until its run ends; must end it (end_modal) when
    // nothing else did.
    virtual void RunModal(GwCore* window) = 0;
    // Fills `path` and returns true for a choice; false for cancel.
    virtual bool ChooseFile(const GwFileRequest& request, std::string* path) = 0;
};

// Installs the interaction (not owned); null restores the default.
void GwSetInteraction(GwInteraction* interaction);
GwInteraction& GwGetInteraction();

#include "toolkit/core/gw_interaction.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_types.h"

namespace {

class NoUser : public GwInteraction {
public:
    int AnswerBox(const GwBoxRecord&) override { return GwRESULT_CANCEL; }
    void RunModal(GwCore* window) override { window->end_modal(GwRESULT_CANCEL); }
    bool ChooseFile(const GwFileRequest&, std::string*) override { return false; }
};

NoUser g_no_user;
GwInteraction* g_interaction = nullptr;

}  // namespace

void GwSetInteraction(GwInteraction* interaction) { g_interaction = interaction; }

GwInteraction& GwGetInteraction() { return g_interaction != nullptr ? *g_interaction : g_no_user; }

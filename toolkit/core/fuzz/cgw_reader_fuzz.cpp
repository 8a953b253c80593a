// Fuzz target of the definition-file reader and the window loader: any
// bytes give windows or an error, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    GwParseResult parsed = GwParseDefinitions(text, "fuzz.cgw");
    if (parsed.ok && GwRcMgr::use_text(text, "fuzz.cgw")) {
        GwRcMgr::set_language(49);
        for (const auto& window : parsed.file.windows) {
            GwCore* w = GwRcMgr::load(nullptr, window->name.c_str(), 1);
            if (w == nullptr) continue;
            w->show();
            w->destroy();
        }
    }
    GwRcMgr::reset();
    return 0;
}

// Fuzz target of the definition-file reader: any bytes give a result or an
// error, never a crash; what parses also loads as windows.
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    GwParseResult result = GwParseDefinitions(text, "fuzz.cgw");
    if (!result.ok) return 0;
    for (const auto& window : result.file.windows) {
        (void)window->find("text", 49);
        (void)window->find_all("column");
    }
    return 0;
}

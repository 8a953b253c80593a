#include "app/shell/option_settings.h"

#include <array>

#include "toolkit/core/gw_core.h"

namespace {

constexpr std::array<uint32_t, 8> kBaudOfCode = {9600, 4800, 2400, 1200, 19200, 28800, 57600, 115200};

}  // namespace

int BaudRateCode(uint32_t baud) {
    for (size_t code = 0; code < kBaudOfCode.size(); ++code) {
        if (kBaudOfCode[code] == baud) return static_cast<int>(code);
    }
    return 0;
}

uint32_t BaudRateOfCode(int code) {
    return code >= 0 && code < static_cast<int>(kBaudOfCode.size()) ? kBaudOfCode[static_cast<size_t>(code)]
                                                                    : kBaudOfCode[0];
}

int CB_CancelOption(GwCore* widget, GwEvent*, GwUD) {
    if (GwCore* frame = widget != nullptr ? widget->frame() : nullptr) frame->hide();
    return 1;
}

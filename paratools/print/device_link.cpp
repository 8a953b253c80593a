#include "paratools/print/device_link.h"

#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "parameters/parabase/para_base.h"
#include "platform/format.h"
#include "platform/reset_hooks.h"

namespace {

ParaToolsDeviceLink& Link() {
    static ParaToolsDeviceLink link;
    return link;
}

platform::ResetHook g_reset([] { Link() = ParaToolsDeviceLink{}; });

}  // namespace

void SetParaToolsDeviceLink(ParaToolsDeviceLink link) { Link() = std::move(link); }

ParaBase* ToolsActiveBase() {
    if (Link().activeBase) return Link().activeBase();
    ServicesHooks* hooks = GetServicesHooks();
    return hooks != nullptr ? hooks->ActiveParaBase() : nullptr;
}

bool ToolsHaveOnlineDevice() {
    if (Link().hasOnlineDevice) return Link().hasOnlineDevice();
    ParaBase* base = ToolsActiveBase();
    ServicesHooks* hooks = GetServicesHooks();
    return base != nullptr && base->TableLoaded && hooks != nullptr && hooks->ParaBaseHasBus(base);
}

std::string ToolsDeviceLabel() {
    if (Link().deviceLabel) return Link().deviceLabel();
    ParaBase* base = ToolsActiveBase();
    if (base == nullptr) return {};
    uint16_t code = 0;
    base->GetValueU16(kDeviceCodeParameter, &code);
    return platform::Format("%d-%s", base->GetAddress(), GetDeviceTypeName(code));
}

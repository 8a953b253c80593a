#include "paratools/print/device_link.h"

#include "app/main/main_object.h"
#include "app/services/services_hooks.h"

ParaBase* ToolsActiveBase() {
    ServicesHooks* hooks = GetServicesHooks();
    return hooks != nullptr ? hooks->ActiveParaBase() : nullptr;
}

bool ToolsHaveOnlineDevice() {
    ServicesHooks* hooks = GetServicesHooks();
    return hooks != nullptr && hooks->HasOnlineDevice();
}

std::string ToolsDeviceLabel() {
    Main* main = GetMain();
    return main != nullptr ? main->GetActiveDeviceLabel() : "";
}

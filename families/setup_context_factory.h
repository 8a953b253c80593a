// Making the setup context of a device by its family.
#pragma once

#include <memory>

#include "families/setup_context.h"

// 3 Marlo, 4 Ruvex, 5 to 7 Pesco, 8 Zov; null for any other family.
std::unique_ptr<DeviceSetupContext> CreateSetupContextForFamily(int family, GwCore* window, const ParaBase& base,
                                                                bool online);

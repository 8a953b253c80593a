#include "families/setup_context_factory.h"

#include "families/marlo_setup_context.h"
#include "families/pesco_setup_context.h"
#include "families/ruvex_setup_context.h"
#include "families/zov_setup_context.h"

std::unique_ptr<DeviceSetupContext> CreateSetupContextForFamily(int family, GwCore* window, const ParaBase& base,
                                                                bool online) {
    switch (family) {
        case 3:
            return std::make_unique<MarloSetupContext>(window, base, online);
        case 4:
            return std::make_unique<RuvexSetupContext>(window, base, online);
        case 5:
        case 6:
        case 7:
            return std::make_unique<PescoSetupContext>(window, base, online);
        case 8:
            return std::make_unique<ZovSetupContext>(window, base, online);
        default:
            return nullptr;
    }
}

#include "bus/base/device_kind.h"

#include "bus/base/device_parameters.h"

int DeviceKindFromTypeNumber(uint16_t typeNumber) {
    switch (typeNumber / kDeviceClassDivisor) {
        case 0:
            return 2;
        case 1:
            return 6;
        case 2:
            return 7;
        case 3:
            return 3;
        case 4:
            return 4;
        case 5:
            return 5;
        case 9:
            return 8;
        default:
            return kUnknownDeviceKind;
    }
}

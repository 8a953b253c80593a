// Number and date-time texts of the toolkit's string class.
#include "toolkit/base/gw_string.h"

#include <ctime>

#include "platform/base/format.h"
#include "platform/system/clock.h"

GwString GwString::FromDouble(double value) { return GwString(platform::Format("%g", value)); }

GwString GwString::CurrentDateTime() {
    std::tm t = platform::LocalNow();
    return GwString(platform::Format(
        "%02d.%02d.%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec));
}

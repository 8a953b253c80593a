#include "paratools/print/print_date.h"

#include "app/services/app_files.h"
#include "platform/base/format.h"
#include "platform/system/clock.h"

namespace {
constexpr int kGermanLanguage = 49;
}

std::string PrintDateText() {
    if (GetLanguageNumber() != kGermanLanguage) return platform::CTimeText(platform::TheClock().WallSeconds());
    const std::tm t = platform::LocalNow();
    return platform::Format("%02d.%02d %d %02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min);
}

// Text form of GUIDs.
#include "platform/com/com_types.h"

#include <cstdio>

namespace platform {

std::string GuidToString(const GUID& guid) {
    char text[guid_detail::kTextLength + 1];
    std::snprintf(text,
                  sizeof text,
                  "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1),
                  static_cast<unsigned>(guid.Data2),
                  static_cast<unsigned>(guid.Data3),
                  guid.Data4[0],
                  guid.Data4[1],
                  guid.Data4[2],
                  guid.Data4[3],
                  guid.Data4[4],
                  guid.Data4[5],
                  guid.Data4[6],
                  guid.Data4[7]);
    return text;
}

std::optional<GUID> GuidFromString(std::string_view text) { return guid_detail::Parse(text); }

}  // namespace platform

// Message texts from the language's message profile.
#include "app/services/message_text.h"

#include <cstring>
#include <string>

#include "app/services/app_files.h"
#include "app/services/line_breaks.h"
#include "platform/base/format.h"
#include "toolkit/profile/gw_profile.h"

namespace {

// The stored value of `key` in `section`, or null when there is no message
// profile, no such section or no value.
const char* LookUp(const char* section, const char* key) {
    GwProfile* profile = MessageProfile();
    if (profile == nullptr || section == nullptr || key == nullptr) return nullptr;
    if (!profile->select_section(section)) return nullptr;
    const char* value = profile->read(key);
    return *value != '\0' ? value : nullptr;
}

}  // namespace

char* GetMessageText(char* destination, const char* section, const char* key, int maxLength) {
    if (destination == nullptr || maxLength < 1) return destination;
    const char* value = LookUp(section, key);
    const char* source = value != nullptr ? value : (key != nullptr ? key : "");
    const size_t length = strnlen(source, static_cast<size_t>(maxLength - 1));
    std::memcpy(destination, source, length);
    destination[length] = '\0';
    // A stored "\n" becomes a blank and a line feed: same length, so texts
    // cut to the buffer stay cut at the same place.
    for (size_t i = 0; i + 1 < length; ++i) {
        if (destination[i] == '\\' && destination[i + 1] == 'n') {
            destination[i] = ' ';
            destination[i + 1] = '\n';
        }
    }
    return destination;
}

char* GetMessageTextFrom(char* destination, const char* section, const char* key, int maxLength) {
    return GetMessageText(destination, section, key, maxLength);
}

dstring GetMessageString(unsigned number, const char* section) {
    if (number > kMaxMessageNumber) return dstring("Invalid message ID");
    std::string key = platform::Format("%05u", number);
    if (section != nullptr && std::strcmp(section, kMainMessagesSection) == 0) key.insert(0, "MN_");
    if (section != nullptr && std::strcmp(section, kActivMessagesSection) == 0) key.insert(0, "AM_");
    const char* value = LookUp(section, key.c_str());
    if (value == nullptr) return dstring(key.c_str());
    return dstring(ExpandLineBreaks(value).c_str());
}

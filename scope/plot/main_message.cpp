#include "scope/plot/main_message.h"

#include <cstdio>

#include "app/services/message_text.h"

namespace {
constexpr int kCaptionBytes = 512;
}

std::string MainMessageCaption(int number) {
    char key[16];
    std::snprintf(key, sizeof key, kMainMessageKeyFormat, static_cast<unsigned>(number));
    char text[kCaptionBytes];
    return GetMessageText(text, kMainMessagesSection, key, kCaptionBytes);
}

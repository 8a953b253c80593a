#include "toolkit/hosting/gw_variant.h"

#include <string>

GwString GwStringFromVARIANT(const platform::VARIANT* value) {
    std::string text;
    if (value == nullptr || platform::Failed(platform::VariantToText(*value, &text))) return GwString();
    return GwString(text);
}

bool GwBoolFromVARIANT(const platform::VARIANT* value) {
    bool flag = false;
    return value != nullptr && platform::Succeeded(platform::VariantToBool(*value, &flag)) && flag;
}

bool GwStringToVARIANT(const char* text, platform::VARIANT* value) {
    if (value == nullptr) return false;
    return platform::Succeeded(platform::SetByRefText(*value, text != nullptr ? text : ""));
}

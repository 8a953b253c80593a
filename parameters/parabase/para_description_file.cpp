#include "parameters/parabase/para_description_file.h"

#include <cctype>
#include <cstring>
#include <string_view>

#include "platform/base/format.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kDescriptionSection[] = "parameterdescription";
constexpr char kParaMenuSection[] = "ParaMenu";
constexpr char kScopeIntroductionSection[] = "ScopeEntryIntroduction";
constexpr char kDispatcherSection[] = "ValueTextDispatcher";
constexpr char kBitExplorerSection[] = "MAIN-BIT-EXPLORER";
constexpr char kExplainingParameterKey[] = "EXPLORER-PARA";

std::string WithoutWhiteSpace(const char* text) {
    std::string s = text != nullptr ? text : "";
    s.resize(std::strlen(ParaDescriptionFile::RemoveWhiteSpace(s.data())));
    return s;
}

std::string Trimmed(const char* text) {
    std::string_view s = text != nullptr ? text : "";
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

}  // namespace

ParaDescriptionFile::ParaDescriptionFile(const char* path)
    : profile_(std::make_unique<GwProfile>(path != nullptr ? path : "")) {
    isOpen_ = profile_->is_valid() && profile_->section_exists(kDescriptionSection);
}

ParaDescriptionFile::~ParaDescriptionFile() = default;

const char* ParaDescriptionFile::Lookup(const std::string& section, const std::string& key) {
    if (!profile_->section_exists(section.c_str())) return nullptr;
    profile_->select_section(section.c_str());
    if (!profile_->key_exists(key.c_str())) return nullptr;
    return profile_->read(key.c_str());
}

const char* ParaDescriptionFile::GetDescription(const char* key) {
    return Lookup(kDescriptionSection, key != nullptr ? key : "");
}

const char* ParaDescriptionFile::GetParaMenuText(const char* key) {
    const char* text = Lookup(kParaMenuSection, key != nullptr ? key : "");
    return text != nullptr ? text : key;
}

const char* ParaDescriptionFile::GetScopeEntryIntroduction(const char* key) {
    const char* text = Lookup(kScopeIntroductionSection, key != nullptr ? key : "");
    return text != nullptr ? text : key;
}

const char* ParaDescriptionFile::TranslateValueText(const char* parameterName, const char* valueText, char option,
                                                    int runMode) {
    const std::string name = WithoutWhiteSpace(parameterName);
    const std::string text = WithoutWhiteSpace(valueText);
    const char* section = Lookup(kDispatcherSection, platform::Format("%d_%s", runMode, name));
    if (section == nullptr) section = Lookup(kDispatcherSection, name);
    if (section == nullptr) return valueText;
    // The section name lives in the profile; keep a copy across the lookups.
    const std::string dispatched = section;
    if (option != 0) {
        const char* t = Lookup(platform::Format("RunMode%c-%s", option, dispatched), text);
        if (t != nullptr) return t;
    }
    const char* t = Lookup(dispatched, text);
    return t != nullptr ? t : valueText;
}

ParaDescriptionFile::BitLookup ParaDescriptionFile::LookupBit(const char* name, int bit, int extra, int runMode,
                                                              const char** text, int* explainingParameter) {
    *text = nullptr;
    *explainingParameter = 0;
    const std::string n = Trimmed(name);
    const char* section = Lookup(kBitExplorerSection, platform::Format("%d_%s-%d", runMode, n, extra));
    if (section == nullptr) section = Lookup(kBitExplorerSection, platform::Format("%s-%d", n, extra));
    if (section == nullptr) return BitLookup::kNone;
    const std::string bitSection = section;
    if (const char* para = Lookup(bitSection, kExplainingParameterKey)) {
        *explainingParameter = GwAtoi(para);
        return BitLookup::kExplainedElsewhere;
    }
    *text = Lookup(bitSection, platform::Format("%d", bit));
    return *text != nullptr ? BitLookup::kText : BitLookup::kNone;
}

const char* ParaDescriptionFile::FindBitExplorerText(const char* name, int bit, int extra, int runMode) {
    const char* text = nullptr;
    int explaining = 0;
    LookupBit(name, bit, extra, runMode, &text, &explaining);
    return text;
}

const char* ParaDescriptionFile::GetBitExplorerText(int number, const char* name, int bit, int* explainingParameter,
                                                    int extra, int runMode) {
    static std::string fallback;
    const char* text = nullptr;
    int explaining = 0;
    const BitLookup found = LookupBit(name, bit, extra, runMode, &text, &explaining);
    if (explainingParameter != nullptr) *explainingParameter = explaining;
    if (found != BitLookup::kNone) return text;
    fallback = BitFallbackText(number, name, extra, bit);
    return fallback.c_str();
}

const char* ParaDescriptionFile::GetBitExplorerTextForValue(int runMode, const char* parameterName,
                                                            const char* displayText, int number, const char* name,
                                                            int bit, int extra) {
    static std::string fallback;
    const std::string valueSection = platform::Format(
        "%d-%s=%s-Bit-Explorer", runMode, Trimmed(parameterName), displayText != nullptr ? displayText : "");
    if (const char* section = Lookup(valueSection, platform::Format("%s-%d", Trimmed(name), extra))) {
        const std::string bitSection = section;
        if (const char* text = Lookup(bitSection, platform::Format("%d", bit))) return text;
    }
    fallback = BitFallbackText(number, name, extra, bit);
    return fallback.c_str();
}

std::string ParaDescriptionFile::BitFallbackText(int number, const char* name, int extra, int bit) {
    return platform::Format("%d-%s[%d] Bit %d", number, Trimmed(name), extra, bit);
}

char* ParaDescriptionFile::RemoveWhiteSpace(char* text) {
    if (text == nullptr) return text;
    char* out = text;
    for (const char* p = text; *p != '\0'; ++p) {
        if (std::isspace(static_cast<unsigned char>(*p)) == 0) *out++ = *p;
    }
    *out = '\0';
    return text;
}

// The per-firmware, per-language description profile of a parameter table:
// parameter descriptions, menu texts, scope introductions, translations of
// value texts by device class and option, and the bit explorer's texts.
#pragma once

#include <memory>
#include <string>

class GwProfile;

class ParaDescriptionFile {
public:
    // Opens the profile; it counts as open when it is valid and has the
    // section "parameterdescription".
    explicit ParaDescriptionFile(const char* path);
    ~ParaDescriptionFile();
    ParaDescriptionFile(const ParaDescriptionFile&) = delete;
    ParaDescriptionFile& operator=(const ParaDescriptionFile&) = delete;

    bool IsOpen() const { return isOpen_; }

    // The value of `key` in "parameterdescription", or null.
    const char* GetDescription(const char* key);
    // The value of `key` in "ParaMenu" / "ScopeEntryIntroduction", else the
    // key itself.
    const char* GetParaMenuText(const char* key);
    const char* GetScopeEntryIntroduction(const char* key);

    // The translation of a value text of the parameter `parameterName` for
    // device class `runMode` and `option` (0 for none), found through the
    // section "ValueTextDispatcher"; the text itself when there is none.
    const char* TranslateValueText(const char* parameterName, const char* valueText, char option, int runMode);
    // The explanation of `bit` of a parameter from "MAIN-BIT-EXPLORER". Null,
    // with *explainingParameter set, when the bits are explained by another
    // parameter; a text naming the bit when there is no explanation.
    const char* GetBitExplorerText(int number, const char* name, int bit, int* explainingParameter, int extra,
                                   int runMode);
    // The explanation of `bit` for the value shown as `displayText`, from the
    // section runMode-parameterName=displayText-Bit-Explorer; a text naming
    // the bit when there is none.
    const char* GetBitExplorerTextForValue(int runMode, const char* parameterName, const char* displayText, int number,
                                           const char* name, int bit, int extra);

    // The text naming a bit when no explanation is found: "403-STAT[0] Bit 4".
    static std::string BitFallbackText(int number, const char* name, int extra, int bit);
    // Removes every white-space character in place; returns `text`.
    static char* RemoveWhiteSpace(char* text);

    // The explanation of GetBitExplorerText without the fallback: null when
    // there is none or another parameter explains the bits.
    const char* FindBitExplorerText(const char* name, int bit, int extra, int runMode);

private:
    enum class BitLookup { kText, kExplainedElsewhere, kNone };
    BitLookup LookupBit(const char* name, int bit, int extra, int runMode, const char** text, int* explainingParameter);
    // The value of `key` in `section`, or null when either is missing.
    const char* Lookup(const std::string& section, const std::string& key);

    std::unique_ptr<GwProfile> profile_;
    bool isOpen_ = false;
};

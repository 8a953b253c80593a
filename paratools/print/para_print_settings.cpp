#include "paratools/print/para_print_settings.h"

#include <algorithm>

#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "bus/base/device_parameters.h"
#include "platform/base/format.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kDefaultFormatNameKey[] = "049";
constexpr char kDefaultFormatName[] = "Benutzerdefiniert";
// A stored level 5 means "the highest level there is" to a level-6 user.
constexpr int kExpandableUserLevel = 5;

std::string LanguageKey() { return platform::Format("%03d", GetLanguageNumber()); }

// A format's name key: the language number in three digits.
bool IsLanguageKey(const std::string& key) {
    return key.size() == 3 && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ColumnKey(int i) { return "PProp" + std::to_string(i); }
std::string GroupKey(int g) { return "Group" + std::to_string(g); }

std::unique_ptr<ParaPrintSettings>& ProgramSettings() {
    static std::unique_ptr<ParaPrintSettings> settings;
    return settings;
}

}  // namespace

ParaPrintSettings::ParaPrintSettings(const std::string& profilePath)
    : profile_(std::make_unique<GwProfile>(profilePath)) {
    if (!profile_->is_valid()) {
        profile_.reset();
        return;
    }
    if (profile_->section_count() <= 1) {
        WriteDefaultFormat();
        profile_->save();
    }
    valid_ = true;
}

ParaPrintSettings::~ParaPrintSettings() = default;

void ParaPrintSettings::WriteDefaultFormat() {
    GwProfile& p = *profile_;
    p.select_section(kUserDefinedFormat, true);
    p.write(kDefaultFormatNameKey, kDefaultFormatName);
    p.write_int("UserLevel", GetUserLevel());
    p.write_int("EditableOnly", 1);
    p.write_int("ChangedOnly", 0);
    p.write_int("SortByName", 0);
    p.write_int("ClusterByGroup", 1);
    p.write_int("MarkChanged", 1);
    p.write_int("PaperFormat", 0);
    p.write_int("FontSize", 0);
    for (int i = 0; i < kPrintColumnCount; ++i) p.write_int(ColumnKey(i).c_str(), 1);
    for (int g = 0; g < kPrintGroupCount; ++g) p.write_int(GroupKey(g).c_str(), 1);
}

std::string ParaPrintSettings::DisplayNameOf(int section) {
    if (!profile_->select_section(section)) return {};
    const std::string own = profile_->read(LanguageKey().c_str());
    if (!own.empty() || section == 0) return own;
    // A format without a name in the program's language shows its name in
    // the first language that has one, and one without any name its section
    // name: an empty name would hide it and every format after it.
    for (int k = 0; k < profile_->key_count(); ++k) {
        const std::string key = profile_->key(k);
        if (!IsLanguageKey(key)) continue;
        const std::string name = profile_->read(key.c_str());
        if (!name.empty()) return name;
    }
    return profile_->section_name(section);
}

std::string ParaPrintSettings::FirstFormatName() {
    if (!valid_) return {};
    cursor_ = 1;
    return DisplayNameOf(cursor_);
}

std::string ParaPrintSettings::NextFormatName() {
    if (!valid_ || cursor_ + 1 >= profile_->section_count()) return {};
    ++cursor_;
    return DisplayNameOf(cursor_);
}

bool ParaPrintSettings::SelectFormat(const std::string& name) {
    if (!valid_) return false;
    // The head (section 0) is no format: under a language whose key no format
    // carries, its empty "name" would match an empty display name.
    for (int s = 1; s < profile_->section_count(); ++s) {
        if (DisplayNameOf(s) != name) continue;
        GwProfile& p = *profile_;
        DisplayName = name;
        SectionName = p.section_name(s);
        int level = p.read_int("UserLevel");
        EditableOnly = p.read_int("EditableOnly");
        ChangedOnly = p.read_int("ChangedOnly");
        SortByName = p.read_int("SortByName");
        ClusterByGroup = p.read_int("ClusterByGroup");
        MarkChanged = p.read_int("MarkChanged");
        PaperFormat = p.read_int("PaperFormat");
        FontSize = p.read_int("FontSize");
        for (int i = 0; i < kPrintColumnCount; ++i) PProp[i] = p.read_int(ColumnKey(i).c_str());
        for (int g = 0; g < kPrintGroupCount; ++g) Group[g] = p.read_int(GroupKey(g).c_str());
        const int current = GetUserLevel();
        if (level == kExpandableUserLevel && current > kExpandableUserLevel) level = current;
        if (current < level) level = current;
        UserLevel = static_cast<uint16_t>(level);
        return true;
    }
    return false;
}

bool ParaPrintSettings::SaveFormat() {
    if (!valid_ || !profile_->select_section(SectionName.c_str(), false)) return false;
    GwProfile& p = *profile_;
    p.write_int("UserLevel", UserLevel);
    p.write_int("EditableOnly", EditableOnly);
    p.write_int("ChangedOnly", ChangedOnly);
    p.write_int("SortByName", SortByName);
    p.write_int("ClusterByGroup", ClusterByGroup);
    p.write_int("MarkChanged", MarkChanged);
    p.write_int("PaperFormat", PaperFormat);
    p.write_int("FontSize", FontSize);
    for (int i = 0; i < kPrintColumnCount; ++i) p.write_int(ColumnKey(i).c_str(), PProp[i]);
    for (int g = 0; g < kPrintGroupCount; ++g) p.write_int(GroupKey(g).c_str(), Group[g]);
    return p.save();
}

std::string DeviceClassPrintProfile(int deviceCode) {
    return platform::Format(kDeviceClassPrintProfileFormat, deviceCode / kDeviceClassDivisor);
}

void OpenProgramPrintSettings() { ProgramSettings() = std::make_unique<ParaPrintSettings>(kProgramPrintProfile); }

void CloseProgramPrintSettings() { ProgramSettings().reset(); }

ParaPrintSettings* ProgramPrintSettings() { return ProgramSettings().get(); }

#include "plceditor/adapter/private_profile.h"

#include "toolkit/profile/gw_profile.h"

namespace sindel {

int PrivateProfile::GetInt(const std::string& section, const std::string& key, int default_value) const {
    GwProfile profile(path_);
    if (!profile.select_section(section.c_str())) return default_value;
    return profile.read_int(key.c_str(), default_value);
}

std::string PrivateProfile::GetString(const std::string& section, const std::string& key,
                                      const std::string& default_value) const {
    GwProfile profile(path_);
    if (!profile.select_section(section.c_str()) || !profile.key_exists(key.c_str())) return default_value;
    return profile.read(key.c_str());
}

bool PrivateProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
    GwProfile profile(path_);
    return profile.is_valid() && profile.select_section(section.c_str(), true) &&
           profile.write(key.c_str(), value.c_str()) && profile.save();
}

bool PrivateProfile::WriteInt(const std::string& section, const std::string& key, int value) const {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace sindel

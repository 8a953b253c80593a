// The control's profile calls: each read opens the profile file afresh and
// each write goes to the file at once, so what one part of the editor writes
// the next read sees, and nothing is lost when the control goes away.
#pragma once

#include <string>

namespace sindel {

class PrivateProfile {
public:
    explicit PrivateProfile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The value as a 32-bit integer (an unparsable value reads 0);
    // `default_value` when the section or key is missing.
    int GetInt(const std::string& section, const std::string& key, int default_value) const;
    std::string GetString(const std::string& section, const std::string& key, const std::string& default_value) const;
    // False when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    bool WriteInt(const std::string& section, const std::string& key, int value) const;

private:
    std::string path_;
};

}  // namespace sindel

// One print format of the parameter print and the profile of formats it comes
// from ("PPrn_<class>.ini" per device class, "ParaPrint.INi" program-wide):
// which columns, groups and parameters are printed, how they are ordered and
// how the page looks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class GwProfile;

inline constexpr int kPrintColumnCount = 21;
// Keypad groups a format can select; higher group numbers are never printed.
inline constexpr int kPrintGroupCount = 128;
inline constexpr char kUserDefinedFormat[] = "UserDefined";
inline constexpr char kProgramPrintProfile[] = "ParaPrint.INi";
inline constexpr char kDeviceClassPrintProfileFormat[] = "PPrn_%d.ini";

class ParaPrintSettings {
public:
    // Opens the profile; one that holds no format gets the "UserDefined"
    // format and is saved at once. A profile that cannot be opened leaves the
    // settings invalid.
    explicit ParaPrintSettings(const std::string& profilePath);
    ~ParaPrintSettings();
    ParaPrintSettings(const ParaPrintSettings&) = delete;
    ParaPrintSettings& operator=(const ParaPrintSettings&) = delete;

    bool IsValid() const { return valid_; }
    // Display names of the formats in section order, in the current
    // language; "" at the end (and when invalid).
    std::string FirstFormatName();
    std::string NextFormatName();
    // Takes the first format (section 1 on) whose display name is `name` and
    // reads its keys; the stored user level is fitted to the current one.
    bool SelectFormat(const std::string& name);
    // Writes the current format's keys into its section and saves the file.
    bool SaveFormat();

    std::string DisplayName;
    std::string SectionName;
    std::array<int, kPrintColumnCount> PProp{};
    std::array<int, kPrintGroupCount> Group{};
    uint16_t UserLevel = 0;
    int EditableOnly = 0;
    int ChangedOnly = 0;
    int SortByName = 0;
    int ClusterByGroup = 0;
    int MarkChanged = 0;
    int PaperFormat = 0;
    int FontSize = 0;
    int IncludeComment = 0;
    std::string Comment;

    // Whether a keypad group byte is selected; groups from 128 on never are.
    bool IsGroupSelected(int group) const { return group >= 0 && group < kPrintGroupCount && Group[group] != 0; }

private:
    std::string DisplayNameOf(int section);
    void WriteDefaultFormat();

    bool valid_ = false;
    std::unique_ptr<GwProfile> profile_;
    int cursor_ = 0;
};

// "PPrn_<n>.ini" for a base whose parameter 91 holds `deviceCode`.
std::string DeviceClassPrintProfile(int deviceCode);

// The program-wide settings over "ParaPrint.INi", made at program start and
// released at its end.
void OpenProgramPrintSettings();
void CloseProgramPrintSettings();
ParaPrintSettings* ProgramPrintSettings();

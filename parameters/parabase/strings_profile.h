// The X file of a parameter base file set: the values that the 64-byte
// entries cannot hold, as a profile. "ParaStrings" has one key per STRING
// parameter ("%u" = text); "Field%d" per array parameter has "Size" and one
// key per element ("%u" = the element as a signed decimal number).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class GwProfile;
class darray;
class dstring;

class StringsProfile {
public:
    // Opens `path` (Open).
    explicit StringsProfile(const char* path);
    ~StringsProfile();
    StringsProfile(const StringsProfile&) = delete;
    StringsProfile& operator=(const StringsProfile&) = delete;

    // Closes what was held and opens the profile on `path`; false (holding
    // nothing) when the toolkit does not call it valid.
    bool Open(const char* path);
    bool IsValid() const;
    // False when nothing valid is held.
    bool Close();
    // Writes the profile to the path it was opened with; false when not valid
    // or not written.
    bool Save();
    // Forgets every section, so a save writes only what is written after.
    void Clear();

    bool WriteString(int number, const char* text);
    // The text of `number`, "" when it has none; always true.
    bool ReadString(int number, dstring& out);
    // Fills the array from "Field%d": false when the section is missing, its
    // size differs from the array's count, or an element cannot be set.
    bool ReadArray(int number, darray& array);
    // "Size" of "Field%d" as written (not cut to 16 bits, so a size no array
    // can hold is seen as such); 1 when the section is missing.
    int32_t ReadArraySize(int number);
    bool WriteArray(int number, const darray& array);

private:
    std::string path_;
    std::unique_ptr<GwProfile> profile_;
};

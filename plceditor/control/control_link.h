// What the editor window needs of the control that owns it: the two texts
// the host set, and one firing operation per event. The two events that ask
// the host for a file name return its answer and whether it was not empty.
#pragma once

#include <string>

namespace sindel {

class ControlLink {
public:
    virtual ~ControlLink() = default;

    // The programme file name and the project path; true when not empty.
    virtual bool GetTmpFileName(std::string* name) const = 0;
    virtual bool GetPlcProjPath(std::string* path) const = 0;

    virtual void FirePlcFileToArchiv(const std::string& file) = 0;
    // The host's answer up to its first NUL; " " when it left the name alone.
    virtual bool FirePlcFileFromArchiv(std::string* file) = 0;
    virtual void FirePlcOnCancel() = 0;
    virtual bool FirePlcFileFromDevice(std::string* file) = 0;
    virtual void FirePlcFileToDevice(const std::string& file) = 0;
    virtual void FirePlcUpDateProjName(const std::string& name, bool online) = 0;
};

}  // namespace sindel

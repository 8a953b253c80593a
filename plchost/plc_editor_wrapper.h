// The program's one wrapper of the PLC editor control: the toolkit creates
// the control named by its class id when the editor window is loaded, and
// the host calls the control's methods through it by dispatch number.
#pragma once

#include <string>

#include "toolkit/hosting/gw_ole_control.h"

// The name the editor window's OLE-control slot gives ("wrapper = PlcEditorX").
inline constexpr char kPlcEditorWrapperName[] = "PlcEditorX";

class PlcEditorX : public GwOleControlWrapper {
public:
    PlcEditorX() : GwOleControlWrapper(kPlcEditorWrapperName) {}

    // The control's class id as text.
    std::string GetClassId() const override;

    platform::BOOL PlcCreate();
    platform::BOOL PlcSetOnline();
    platform::BOOL PlcSetOffline();
    platform::BOOL PlcFileOpen(const std::string& file);
    platform::BOOL PlcDestroy();
    platform::BOOL PlcSetFocus();
    void PlcSetTmpFileName(const std::string& file);
    void PlcSetPlcProjPath(const std::string& directory);
    platform::BOOL PlcBinaryFileOpen(const std::string& file);
    platform::BOOL PlcSetVersion(double version, int32_t arrayLength);
};

// The wrapper of the run, made at its first use; the program makes it before
// the user interface starts.
PlcEditorX& ThePlcEditorX();

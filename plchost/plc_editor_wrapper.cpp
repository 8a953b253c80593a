#include "plchost/plc_editor_wrapper.h"

#include "platform/com/com_types.h"
#include "platform/com/com_variant.h"
#include "plceditor/interface/sindel_ids.h"

std::string PlcEditorX::GetClassId() const { return platform::GuidToString(sindel::CLSID_Sindel); }

platform::BOOL PlcEditorX::PlcCreate() { return InvokeBool(sindel::kPlcCreate); }
platform::BOOL PlcEditorX::PlcSetOnline() { return InvokeBool(sindel::kPlcSetOnline); }
platform::BOOL PlcEditorX::PlcSetOffline() { return InvokeBool(sindel::kPlcSetOffline); }
platform::BOOL PlcEditorX::PlcFileOpen(const std::string& file) {
    return InvokeBool(sindel::kPlcFileOpen, {platform::VariantFromString(file)});
}
platform::BOOL PlcEditorX::PlcDestroy() { return InvokeBool(sindel::kPlcDestroy); }
platform::BOOL PlcEditorX::PlcSetFocus() { return InvokeBool(sindel::kPlcSetFocus); }
void PlcEditorX::PlcSetTmpFileName(const std::string& file) {
    InvokeVoid(sindel::kPlcSetTmpFileName, {platform::VariantFromString(file)});
}
void PlcEditorX::PlcSetPlcProjPath(const std::string& directory) {
    InvokeVoid(sindel::kPlcSetPlcProjPath, {platform::VariantFromString(directory)});
}
platform::BOOL PlcEditorX::PlcBinaryFileOpen(const std::string& file) {
    return InvokeBool(sindel::kPlcBinaryFileOpen, {platform::VariantFromString(file)});
}
platform::BOOL PlcEditorX::PlcSetVersion(double version, int32_t arrayLength) {
    return InvokeBool(sindel::kPlcSetVersion,
                      {platform::VariantFromDouble(version), platform::VariantFromLong(arrayLength)});
}

PlcEditorX& ThePlcEditorX() {
    static PlcEditorX wrapper;
    return wrapper;
}

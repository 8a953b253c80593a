// The fixed identifiers that the PLC editor control and its host share: the
// control's type library, interfaces, classes, and the dispatch numbers and
// argument types of its methods and events. Header-only: the control and
// every host include it, and no lower layer knows it.
#pragma once

#include <array>

#include "platform/com/com_objects.h"

namespace sindel {

inline constexpr platform::GUID LIBID_SINDELLib = platform::GuidLiteral("{9B8BFB5E-F6AA-44FF-B639-61BCEF4F7C61}");
inline constexpr platform::IID DIID__DSindel = platform::GuidLiteral("{46C33905-8DC2-40D1-AC13-C0EF1CD184E0}");
inline constexpr platform::IID DIID__DSindelEvents = platform::GuidLiteral("{8DDB9CB9-FE98-4413-BBFA-B21255A12EEC}");
inline constexpr platform::CLSID CLSID_Sindel = platform::GuidLiteral("{43F3343B-9143-4288-B37D-C24462B36189}");
inline constexpr platform::CLSID CLSID_SindelPropPage = platform::GuidLiteral("{F3E1984F-5F97-4016-8EA0-FA600C14E64D}");

// Methods of _DSindel.
enum SindelMethod : platform::DISPID {
    kPlcCreate = 1,
    kPlcSetOnline = 2,
    kPlcSetOffline = 3,
    kPlcFileOpen = 4,
    kPlcDestroy = 5,
    kPlcSetFocus = 6,
    kPlcSetTmpFileName = 7,
    kPlcSetPlcProjPath = 8,
    kPlcBinaryFileOpen = 9,
    kPlcSetVersion = 10,
};

// Events of _DSindelEvents.
enum SindelEvent : platform::DISPID {
    kPlcFileToArchiv = 1,
    kPlcFileFromArchiv = 2,
    kPlcOnCancel = 3,
    kPlcFileFromDevice = 4,
    kPlcFileToDevice = 5,
    kPlcUpDateProjName = 6,
};

inline constexpr std::array<platform::DispatchMember, 10> kSindelMethods = {{
    {kPlcCreate, "PlcCreate", 0, {}, platform::VT_BOOL},
    {kPlcSetOnline, "PlcSetOnline", 0, {}, platform::VT_BOOL},
    {kPlcSetOffline, "PlcSetOffline", 0, {}, platform::VT_BOOL},
    {kPlcFileOpen, "PlcFileOpen", 1, {platform::VT_BSTR}, platform::VT_BOOL},
    {kPlcDestroy, "PlcDestroy", 0, {}, platform::VT_BOOL},
    {kPlcSetFocus, "PlcSetFocus", 0, {}, platform::VT_BOOL},
    {kPlcSetTmpFileName, "PlcSetTmpFileName", 1, {platform::VT_BSTR}, platform::VT_EMPTY},
    {kPlcSetPlcProjPath, "PlcSetPlcProjPath", 1, {platform::VT_BSTR}, platform::VT_EMPTY},
    {kPlcBinaryFileOpen, "PlcBinaryFileOpen", 1, {platform::VT_BSTR}, platform::VT_BOOL},
    {kPlcSetVersion, "PlcSetVersion", 2, {platform::VT_R8, platform::VT_I4}, platform::VT_BOOL},
}};

inline constexpr std::array<platform::DispatchMember, 6> kSindelEvents = {{
    {kPlcFileToArchiv, "PlcFileToArchiv", 1, {platform::VT_BSTR}, platform::VT_EMPTY},
    {kPlcFileFromArchiv, "PlcFileFromArchiv", 1, {platform::VT_BSTR_BYREF}, platform::VT_EMPTY},
    {kPlcOnCancel, "PlcOnCancel", 0, {}, platform::VT_EMPTY},
    {kPlcFileFromDevice, "PlcFileFromDevice", 1, {platform::VT_BSTR_BYREF}, platform::VT_EMPTY},
    {kPlcFileToDevice, "PlcFileToDevice", 1, {platform::VT_BSTR}, platform::VT_EMPTY},
    {kPlcUpDateProjName, "PlcUpDateProjName", 2, {platform::VT_BSTR, platform::VT_BOOL}, platform::VT_EMPTY},
}};

}  // namespace sindel

#include "paratools/tree/para_tree_entry.h"

#include <map>
#include <memory>
#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/draw/gw_bitmap.h"

namespace {

constexpr const char* kPopupNames[] = {
    "TP_None", "TP_File", "TP_Bus", "TP_ActiveDevice", "TP_Device", "TP_Menu", "TP_Field", "TP_Para"};

// Flags of an USIGN8 entry that make its value a choice of value texts.
constexpr uint16_t kChoiceFlags = 0x04 | kFlagValueTexts;

// One popup per kind, loaded on first use under the program's top widget and
// shared by every node of that kind; loaded again once it is gone.
GwCore* PopupOfKind(int kind) {
    static GwRef<> popups[std::size(kPopupNames)];
    if (kind < 0 || kind >= static_cast<int>(std::size(kPopupNames))) return nullptr;
    GwRef<>& popup = popups[kind];
    if (popup == nullptr) {
        popup = GwRcMgr::exists(kPopupNames[kind]) ? GwRcMgr::load(GetMainWindow(), kPopupNames[kind], 1) : nullptr;
    }
    return popup;
}

// The icons, each made on first use and kept for the whole run.
GwBitmap* Icon(const char* name) {
    static std::map<std::string, std::unique_ptr<GwBitmap>> icons;
    std::unique_ptr<GwBitmap>& icon = icons[name];
    if (icon == nullptr) icon = std::make_unique<GwBitmap>(name);
    return icon.get();
}

std::string NodeName(ParaBase* base, int number) {
    const char* name = base != nullptr ? base->GetParameterName(number) : "";
    return name != nullptr ? name : "";
}

std::string Description(ParaBase* base, int number) {
    const char* text = base != nullptr ? base->GetParameterDescription(number) : "";
    return text != nullptr ? text : "";
}

std::string TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

int ParaTreeEditKindOf(char type, uint16_t flags) {
    switch (type) {
        case kTypeUsign8:
            return (flags & kChoiceFlags) != 0 ? kEditChoice : kEditInteger;
        case kTypeUsign16:
        case kTypePassword:
        case kTypeInt16:
        case kTypeInt8:
        case kTypeInt32:
        case kTypeUsign32:
            return kEditInteger;
        case kTypeFixpt16:
        case kTypeInt32Q16:
        case kTypeFloat32:
            return kEditDecimal;
        case kTypeErrStruc:
        case kTypeString:
            return kEditText;
        default:
            return kEditNone;  // BEGRIFF, BINARY8, BINARY16, unknown codes
    }
}

ParaTreeEntry::ParaTreeEntry(const ParaTreeEntry& other)
    : GwTreeEntry(GwUD(), other.text().c_str(), 1),
      deviceIndex_(other.deviceIndex_),
      number_(other.number_),
      element_(other.element_),
      kind_(other.kind_),
      allDevices_(other.allDevices_),
      reserved_(other.reserved_),
      editable_(other.editable_),
      fileBase_(other.fileBase_) {
    set_id(other.id().c_str());
    SetPopupAndFont();
    set_font(other.font());
}

ParaTreeEntry::ParaTreeEntry(const char* rootText) : GwTreeEntry(GwUD(), rootText, 1), kind_(kParaTreeFile) {
    set_id("File");
    SetPopupAndFont();
}

ParaTreeEntry::ParaTreeEntry(const char* rootText, bool allDevices)
    : GwTreeEntry(GwUD(), rootText, 1), kind_(kParaTreeBus), allDevices_(allDevices ? 1 : 0) {
    set_id("Bus");
    SetPopupAndFont();
}

ParaTreeEntry::ParaTreeEntry(int deviceIndex, const char* text, ParaBase* fileBase)
    : GwTreeEntry(GwUD(), text, 1), deviceIndex_(deviceIndex), fileBase_(fileBase) {
    Main* main = GetMain();
    const bool active = deviceIndex >= 0 && main != nullptr && deviceIndex == main->GetActiveAddress();
    kind_ = active ? kParaTreeActiveDevice : kParaTreeDevice;
    set_id(("Device_" + std::to_string(deviceIndex)).c_str());
    if (active) {
        set_text((std::string(text != nullptr ? text : "") + " (" + main->ReadActiveDeviceInfoText() + ")").c_str());
    }
    SetPopupAndFont();
}

ParaTreeEntry::ParaTreeEntry(const char* text, int deviceIndex, int group, ParaBase* fileBase)
    : GwTreeEntry(GwUD(), text, 0),
      deviceIndex_(deviceIndex),
      element_(group),
      kind_(kParaTreeMenu),
      fileBase_(fileBase) {
    set_id(("Menu_" + std::to_string(group)).c_str());
    SetPopupAndFont();
}

ParaTreeEntry::ParaTreeEntry(int deviceIndex, int number, ParaBase* fileBase)
    : GwTreeEntry(GwUD(), "", 1),
      deviceIndex_(deviceIndex),
      number_(static_cast<uint16_t>(number)),
      kind_(kParaTreeField),
      fileBase_(fileBase) {
    set_id(("Field_" + std::to_string(number)).c_str());
    ParaBase* base = GetBase();
    const std::string id = std::to_string(number) + "-" + NodeName(base, number);
    set_id(id.c_str());
    set_text((id + " " + Description(base, number)).c_str());
    SetPopupAndFont();
}

ParaTreeEntry::ParaTreeEntry(int deviceIndex, int number, int element, ParaBase* fileBase)
    : GwTreeEntry(GwUD(), "", 1),
      deviceIndex_(deviceIndex),
      number_(static_cast<uint16_t>(number)),
      element_(element),
      kind_(kParaTreePara),
      fileBase_(fileBase) {
    set_id(("Para_" + std::to_string(number) + "_" + std::to_string(element)).c_str());
    ParaBase* base = GetBase();
    const ParameterEntry* e = base != nullptr ? base->GetEntry(number) : nullptr;
    const bool isElement = e != nullptr && (e->flags & kFlagArray) != 0;
    std::string id = std::to_string(number) + "-" + NodeName(base, number);
    if (isElement) {
        id += "-" + std::to_string(element);
        set_text(id.c_str());
    } else {
        set_text((id + " " + Description(base, number)).c_str());
    }
    set_id(id.c_str());
    UpdateEditable();
    SetPopupAndFont();
}

ParaTreeEntry::~ParaTreeEntry() = default;

void ParaTreeEntry::SetPopupAndFont() {
    set_popup(PopupOfKind(kind_));
    set_font(kParaTreeFont);
}

GwBitmap* ParaTreeEntry::Bitmap() {
    switch (kind_) {
        case kParaTreeActiveDevice:
            return Icon("tr_acdev.bmp");
        case kParaTreeDevice: {
            const auto* up = dynamic_cast<const ParaTreeEntry*>(parent());
            return Icon(up != nullptr && up->kind_ == kParaTreeFile ? "tr_acdev.bmp" : "tr_icdev.bmp");
        }
        case kParaTreePara:
            return Icon(editable_ != 0 ? "tr_para.bmp" : "tr_nepar.bmp");
        default:
            return Icon(is_shown() ? "foldo" : "foldc");
    }
}

ParaBase* ParaTreeEntry::GetBase() const {
    if (deviceIndex_ >= 0) {
        Main* main = GetMain();
        return main != nullptr ? main->GetCachedParaBase(deviceIndex_) : nullptr;
    }
    return fileBase_;
}

int ParaTreeEntry::GetEditKind() const {
    if (number_ == 0) return kEditNone;
    ParaBase* base = GetBase();
    const ParameterEntry* e = base != nullptr ? base->GetEntry(number_) : nullptr;
    return e != nullptr ? ParaTreeEditKindOf(e->type, e->flags) : kEditNone;
}

std::string ParaTreeEntry::GetDescriptionText() {
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->GetParameterDescription(number_) : "");
}

std::string ParaTreeEntry::GetDispatchedText() {
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->GetDispatchedValueText(number_, element_) : "");
}

std::string ParaTreeEntry::GetUnitText() {
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->GetParameterUnit(number_) : "");
}

double ParaTreeEntry::Checked(int code, double value) {
    if (code == 0) return value;
    ShowErrorMessageFor(kParaBaseErrorMessage, GetBase());
    return 0.0;
}

double ParaTreeEntry::GetMinimum() {
    ParaBase* base = GetBase();
    const ParameterEntry* e = base != nullptr ? base->GetEntry(number_) : nullptr;
    if (e == nullptr) return 0.0;
    double v = 0.0;
    const int code = base->RawToDouble(number_, e->minimum, &v);
    return Checked(code, v);
}

double ParaTreeEntry::GetMaximum() {
    ParaBase* base = GetBase();
    const ParameterEntry* e = base != nullptr ? base->GetEntry(number_) : nullptr;
    if (e == nullptr) return 0.0;
    double v = 0.0;
    const int code = base->RawToDouble(number_, e->maximum, &v);
    return Checked(code, v);
}

double ParaTreeEntry::GetDefault() {
    ParaBase* base = GetBase();
    const ParameterEntry* e = base != nullptr ? base->GetEntry(number_) : nullptr;
    if (e == nullptr) return 0.0;
    double v = 0.0;
    const int code = base->RawToDouble(number_, e->defaultValue, &v);
    return Checked(code, v);
}

double ParaTreeEntry::GetValue() {
    ParaBase* base = GetBase();
    if (base == nullptr) return 0.0;
    double v = 0.0;
    const int code =
        deviceIndex_ < 0 ? base->GetValueDouble(number_, &v, element_) : base->ReadValueDouble(number_, &v, element_);
    return Checked(code, v);
}

int ParaTreeEntry::SetValue(double v) {
    ParaBase* base = GetBase();
    if (base == nullptr) return 1;
    const int code =
        deviceIndex_ < 0 ? base->SetValueDouble(number_, v, element_) : base->WriteValueDouble(number_, v, element_);
    if (code != 0) ShowErrorMessageFor(kParaBaseErrorMessage, base);
    return 1;
}

int ParaTreeEntry::SetValueText(const char* text) {
    ParaBase* base = GetBase();
    if (base == nullptr) return 0;
    const dstring value(text != nullptr ? text : "");
    const int code =
        deviceIndex_ < 0 ? base->SetValueString(number_, value, 0) : base->WriteValueString(number_, value, 0);
    if (code == 0) return 1;
    ShowErrorMessageFor(kParaBaseErrorMessage, base);
    return 0;
}

void ParaTreeEntry::UpdateEditable() {
    ParaBase* base = GetBase();
    editable_ = base != nullptr && base->IsWriteAllowed(number_, GetUserLevel()) ? 1 : 0;
}

void ParaTreeEntry::SetUsed(bool used) {
    ParaBase* base = GetBase();
    ParameterEntry* e = base != nullptr ? base->GetEntry(number_) : nullptr;
    if (e != nullptr) e->transfer = used && base->IsPresent(number_) ? 1 : 0;
}

std::string ParaTreeEntry::GetValueText() {
    ParaBase* base = GetBase();
    if (base == nullptr) return TextOrEmpty("");
    if (GetEditKind() == kEditText) {
        if (deviceIndex_ >= 0) base->ReadBusParameter(number_, element_, 1);
        return TextOrEmpty(base->FormatStoredValue(number_, element_, false));
    }
    const double v = GetValue();
    return TextOrEmpty(base->FormatDoubleValue(number_, v, false));
}

std::string ParaTreeEntry::GetMinimumText() {
    const double v = GetMinimum();
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->FormatDoubleValue(number_, v, false) : "");
}

std::string ParaTreeEntry::GetMaximumText() {
    const double v = GetMaximum();
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->FormatDoubleValue(number_, v, false) : "");
}

std::string ParaTreeEntry::GetDefaultText() {
    const double v = GetDefault();
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->FormatDoubleValue(number_, v, false) : "");
}

std::string ParaTreeEntry::FormatValue(double v) {
    ParaBase* base = GetBase();
    return TextOrEmpty(base != nullptr ? base->FormatDoubleValue(number_, v, false) : "");
}

#include "families/copen_norm_windows.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>

#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "devicewin/conditions.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/local_parameter_list.h"
#include "devicewin/take_over.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_take.h"
#include "families/copen_units.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr int kMissingWidgetMessage = 7;
constexpr int kNoFactorMessage = 121;
constexpr int kExponentsLoweredMessage = 122;
constexpr double kLargestFactorTerm = 4294967295.0;
constexpr double kLargestFactorRatio = 65535.0;

constexpr int kPositionExponent = 780;
constexpr int kPositionUnitCode = 781;
constexpr int kVelocityExponent = 782;
constexpr int kVelocityUnitCode = 783;
constexpr int kAccelerationExponent = 784;
constexpr int kAccelerationUnitCode = 785;
constexpr int kPositionFactorBase = 786;
constexpr int kVelocityRatio = 787;
constexpr int kCommonRatio = 788;
constexpr int kLengthRatio = 789;
constexpr int kPositionFactor = 790;
constexpr int kVelocityFactor = 791;
constexpr int kVelocityFactorCopy = 794;
constexpr int kPositionText = 792;
constexpr int kVelocityText = 793;
constexpr int kAccelerationText = 796;
constexpr int kTuningBase = 803;
constexpr int kTuningPercent = 852;

constexpr const char* kUnitTextNames[] = {kPositionTextName, kVelocityTextName, kAccelerationTextName};

GwCore* FrameOf(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

GwCombo* ListOf(GwCore* widget, const char* name) {
    return widget != nullptr ? widget->frame_child<GwCombo>(name) : nullptr;
}

int SelectedRow(GwCombo* list) { return list != nullptr ? list->first_selected() : -1; }

// Reads the parameter numbered by the list's auxiliary text. Nothing when
// the text is empty (*result 0) or the read failed (error shown, *result 1).
std::optional<double> ReadAuxParameter(DeviceSetupContext* context, GwCore* list, int* result) {
    *result = 0;
    if (list->aux_text().empty()) return std::nullopt;
    *result = 1;
    double value = 0.0;
    if (context->ReadDouble(std::atoi(list->aux_text().c_str()), &value) != kParaOk) {
        ShowDeviceError(kDeviceErrorMessage, context->Base.get(), FrameOf(list));
        return std::nullopt;
    }
    return value;
}

void SetEditable(GwCore* frame, bool editable) {
    for (const char* name : kUnitTextNames) {
        if (GwCore* field = frame->frame_child(name)) field->set_editable(editable);
    }
}

}  // namespace

std::string GetCopenUnitDimensionText(const char* key) {
    char text[kMessageTextSize] = {};
    GetMessageText(text, kCopenDimensionSection, key, kMessageTextSize);
    return text;
}

void ShowCopenUnitNote(GwCore* frame, const std::string& noteName, int row) {
    GwCore* note = frame != nullptr ? frame->frame_child(noteName) : nullptr;
    if (note == nullptr || row < 0 || row >= kCopenUnitRows) return;
    note->set_text(GetCopenUnitDimensionText(CopenUnitTable[row].Dimension));
}

void ShowCopenExponentNote(GwCore* frame, const std::string& noteName, int row) {
    GwCore* note = frame != nullptr ? frame->frame_child(noteName) : nullptr;
    if (note == nullptr || row < 0 || row >= kCopenExponentRows) return;
    note->set_text(CopenExponentTable[row].Name);
}

int CB_ShowNorm1(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    GwCore* unitList = widget != nullptr ? widget->frame_child(kPositionUnitName) : nullptr;
    if (context == nullptr || unitList == nullptr) return 1;
    int result = 0;
    const std::optional<double> code = ReadAuxParameter(context, unitList, &result);
    if (!code) return result;
    SetEditable(FrameOf(widget), std::trunc(*code) == kCopenUserUnitCode);
    for (std::string name : {std::string(kAccelerationIndexName), std::string(kAccelerationIndexName) + kNoteSuffix}) {
        if (GwCore* hidden = widget->frame_child(name)) hidden->hide();
    }
    CB_DvFctShowStandard(widget, event, userData);
    return 1;
}

int CB_CopenUnitShow(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* list = dynamic_cast<GwCombo*>(widget);
    if (context == nullptr || list == nullptr) return 1;
    int result = 0;
    const std::optional<double> code = ReadAuxParameter(context, list, &result);
    if (!code) return result;
    list->delete_all();
    for (const CopenUnit& unit : CopenUnitTable) list->append(unit.Text);
    const int row = CopenUnitRowOf(static_cast<int>(std::trunc(*code)));
    list->select_item(row);
    ShowCopenUnitNote(FrameOf(widget), list->name() + kNoteSuffix, row);
    return 1;
}

int CB_CopenIndexShow(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* list = dynamic_cast<GwCombo*>(widget);
    if (context == nullptr || list == nullptr) return 1;
    int result = 0;
    const std::optional<double> exponent = ReadAuxParameter(context, list, &result);
    if (!exponent) return result;
    list->delete_all();
    for (const CopenExponent& row : CopenExponentTable) list->append(row.Text);
    const int row = CopenExponentRowOf(static_cast<int>(std::trunc(*exponent)));
    list->select_item(row);
    ShowCopenExponentNote(FrameOf(widget), list->name() + kNoteSuffix, row);
    return 1;
}

void ComposeCopenUnitTexts(GwCore* widget) {
    GwCore* frame = FrameOf(widget);
    if (frame == nullptr) return;
    GwCombo* unitList = ListOf(widget, kPositionUnitName);
    GwCombo* lists[] = {
        ListOf(widget, kPositionIndexName), ListOf(widget, kVelocityIndexName), ListOf(widget, kVelocityIndexName)};
    GwCore* fields[3] = {};
    bool complete = unitList != nullptr;
    for (int i = 0; i < 3; ++i) {
        fields[i] = frame->frame_child(kUnitTextNames[i]);
        complete = complete && fields[i] != nullptr && lists[i] != nullptr;
    }
    if (!complete) {
        ShowErrorMessage(kMissingWidgetMessage, frame);
        return;
    }
    const int unitRow = SelectedRow(unitList);
    SetEditable(frame, unitRow == kCopenUserUnitRow);
    const CopenQuantity quantities[] = {CopenQuantity::Position, CopenQuantity::Velocity, CopenQuantity::Acceleration};
    for (int i = 0; i < 3; ++i) {
        fields[i]->set_text(ComposeCopenUnitText(unitRow, SelectedRow(lists[i]), quantities[i]));
    }
}

int CB_CopenUnitSelect(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    ShowCopenUnitNote(FrameOf(widget), widget->name() + kNoteSuffix, SelectedRow(dynamic_cast<GwCombo*>(widget)));
    ComposeCopenUnitTexts(widget);
    for (const char* name : kUnitTextNames) {
        if (GwCore* field = widget->frame_child(name)) SetWidgetChanged(field, true);
    }
    return 1;
}

int CB_CopenIndexSelect(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    ShowCopenExponentNote(FrameOf(widget), widget->name() + kNoteSuffix, SelectedRow(dynamic_cast<GwCombo*>(widget)));
    ComposeCopenUnitTexts(widget);
    const std::string& name = widget->name();
    const char* changed = name.find("Position") != std::string::npos       ? kPositionTextName
                          : name.find("Velocity") != std::string::npos     ? kVelocityTextName
                          : name.find("Acceleration") != std::string::npos ? kAccelerationTextName
                                                                           : nullptr;
    if (GwCore* field = changed != nullptr ? widget->frame_child(changed) : nullptr) SetWidgetChanged(field, true);
    return 1;
}

int CB_CopenIndexSelect_Velocity(GwCore* widget, GwEvent* event, GwUD userData) {
    GwCombo* acceleration = ListOf(widget, kAccelerationIndexName);
    if (DeviceContextOf(widget) == nullptr || acceleration == nullptr) return 1;
    acceleration->select_item(SelectedRow(dynamic_cast<GwCombo*>(widget)));
    if (GwCore* field = widget->frame_child(kAccelerationTextName)) SetWidgetChanged(field, true);
    return CB_CopenIndexSelect(widget, event, userData);
}

int CB_CopenTakeIt(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 0;
    GwCore* frame = FrameOf(widget);
    auto stored = [&](std::initializer_list<int> numbers, double value) {
        for (int number : numbers) {
            if (context->StoreDouble(number, value) != kParaOk) {
                ShowDeviceError(kDeviceErrorMessage, context->Base.get(), frame);
                return false;
            }
        }
        return true;
    };
    GwCombo* unitList = ListOf(widget, kPositionUnitName);
    if (unitList != nullptr) {
        const int row = SelectedRow(unitList);
        if (row <= 0 || row >= kCopenUnitRows) {
            ShowErrorTextBox("No position unit selected!", frame);
            return 0;
        }
        const double code = CopenUnitTable[row].Code;
        if (!stored({kPositionUnitCode, kVelocityUnitCode, kAccelerationUnitCode}, code)) return 0;
    }
    if (GwCombo* list = ListOf(widget, kPositionIndexName)) {
        const int row = SelectedRow(list);
        if (row <= 0 || row >= kCopenExponentRows) {
            ShowErrorTextBox("No position exponent selected!", frame);
            return 0;
        }
        if (!stored({kPositionExponent}, CopenExponentTable[row].Exponent)) return 0;
    }
    if (GwCombo* list = ListOf(widget, kVelocityIndexName)) {
        const int row = SelectedRow(list);
        if (row <= 0 || row >= kCopenExponentRows) {
            ShowErrorTextBox("No velocity exponent selected!", frame);
            return 0;
        }
        if (!stored({kVelocityExponent, kAccelerationExponent}, CopenExponentTable[row].Exponent)) return 0;
    }
    if (unitList != nullptr && SelectedRow(unitList) != kCopenUserUnitRow) {
        for (const char* name : kUnitTextNames) {
            // A taken text is not taken again with the window's other values.
            GwCore* field = widget->frame_child(name);
            if (field != nullptr && TakeWidgetValue(context->Base.get(), field, false) != 0) {
                SetWidgetChanged(field, false);
            }
        }
    }
    return CB_DvFctTakeIt(widget, event, userData);
}

int CopenTakeItAndHide(GwCore* widget, GwEvent* event, GwUD userData) {
    GwRef<> frame = FrameOf(widget);
    const int result = CB_CopenTakeIt(widget, event, userData);
    if (result != 0 && frame) frame->hide();
    return result;
}

int CB_CopenOK_AndChangeDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData) {
    CopenTakeItAndHide(widget, event, userData);
    return CB_ChangeDeviceWindow(widget, event, userData);
}

int CB_ChangeDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData) {
    GwCore* frame = FrameOf(widget);
    if (frame == nullptr) return 1;
    GwRef<> caller = widget;
    if (frame->parent() != nullptr) CB_CallDeviceWindow(frame->parent(), event, userData);
    if (caller) CB_CloseDeviceWindow(caller, event, userData);
    return 1;
}

void UpdateCopenUnitTexts(ParaBase* base, GwCore* parent) {
    auto read = [&](int number, double* value) {
        const int result =
            base->IsOnline() ? base->ReadValueDouble(number, value) : base->GetValueDouble(number, value);
        return result == kParaOk;
    };
    auto store = [&](int number, const std::string& text) {
        const dstring value(text.c_str());
        const int result =
            base->IsOnline() ? base->WriteValueString(number, value) : base->SetValueString(number, value);
        return result == kParaOk;
    };
    double code = 0.0;
    double positionExponent = 0.0;
    double velocityExponent = 0.0;
    bool ok = read(kPositionUnitCode, &code);
    if (ok && static_cast<int>(std::trunc(code)) == kCopenUserUnitCode) return;
    const int unit = static_cast<int>(std::trunc(code));
    ok = ok && read(kPositionExponent, &positionExponent) &&
         store(kPositionText,
               CopenUnitTextFromCodes(unit, static_cast<int>(std::trunc(positionExponent)), CopenQuantity::Position));
    ok = ok && read(kVelocityExponent, &velocityExponent);
    const int velocity = static_cast<int>(std::trunc(velocityExponent));
    ok = ok && store(kVelocityText, CopenUnitTextFromCodes(unit, velocity, CopenQuantity::Velocity)) &&
         store(kAccelerationText, CopenUnitTextFromCodes(unit, velocity, CopenQuantity::Acceleration));
    if (!ok) ShowDeviceError(kDeviceErrorMessage, base, parent);
}

namespace {

const LocalParameter kNormParameters[] = {
    {kVelocityRatio, 0},
    {kVelocityRatio, 1},
    {kCommonRatio, 0},
    {kCommonRatio, 1},
    {kLengthRatio, 0},
    {kLengthRatio, 1},
    {kPositionFactor, 0},
    {kPositionFactor, 1},
    {kVelocityFactor, 0},
    {kVelocityFactor, 1},
    {kVelocityFactorCopy, 0},
    {kVelocityFactorCopy, 1},
    {kPositionFactorBase, 0},
    {kVelocityExponent, 0},
    {kPositionExponent, 0},
    {432, 0},
    {482, 0},
    {476, 0},
};

// One factor calculation over the list, storing into the drive and reading
// each stored value back.
class NormCheck {
public:
    NormCheck(DeviceSetupContext* context, GwCore* frame)
        : context_(context),
          frame_(frame),
          list_(context->Base.get(), kNormParameters, static_cast<int>(std::size(kNormParameters))) {}

    // The list reads itself when made; a failed read (error 5 shown) leaves
    // it empty.
    bool Read() const { return list_.Count() == static_cast<int>(std::size(kNormParameters)); }

    // 1: the factors were stored as they are; 0: an error, or exponents
    // were lowered (message 122 shown).
    int Run() {
        bool adapted = false;
        for (;;) {
            const std::optional<ReducedFraction> position =
                ReduceFraction(P(kLengthRatio, 1) * P(kCommonRatio, 0) * P(kPositionFactorBase, 0),
                               0,
                               P(kCommonRatio, 1) * P(kLengthRatio, 0),
                               0);
            if (!position) return NoFactor();
            if (!Fits(*position)) {
                adapted = true;
                if (!LowerPositionExponent()) return 0;
                continue;
            }
            // A failed store is reported and the calculation goes on.
            Store(kPositionFactor, 0, position->Numerator);
            Store(kPositionFactor, 1, position->Denominator);
            const std::optional<ReducedFraction> velocity =
                ReduceFraction(P(kLengthRatio, 1) * P(kCommonRatio, 0) * P(kVelocityRatio, 0),
                               static_cast<int>(std::trunc(P(kVelocityExponent, 0))),
                               P(kCommonRatio, 1) * P(kVelocityRatio, 1) * P(kLengthRatio, 0),
                               static_cast<int>(std::trunc(P(kPositionExponent, 0))));
            if (!velocity) return NoFactor();
            if (!Fits(*velocity)) {
                adapted = true;
                if (!LowerVelocityExponent()) return 0;
                continue;
            }
            Store(kVelocityFactor, 0, velocity->Numerator);
            Store(kVelocityFactor, 1, velocity->Denominator);
            Store(kVelocityFactorCopy, 0, velocity->Numerator);
            Store(kVelocityFactorCopy, 1, velocity->Denominator);
            if (!adapted) return 1;
            ShowInfoMessage(kExponentsLoweredMessage, frame_);
            UpdateCopenUnitTexts(context_->Base.get(), frame_);
            return 0;
        }
    }

private:
    double P(int number, int element) const { return list_.Value(list_.IndexOf(number, element)); }

    static bool Fits(const ReducedFraction& f) {
        return f.Numerator <= kLargestFactorTerm && f.Denominator <= kLargestFactorTerm &&
               f.Numerator / f.Denominator <= kLargestFactorRatio;
    }

    int NoFactor() {
        ShowErrorMessage(kNoFactorMessage, frame_);
        return 0;
    }

    // Stores and reads the value back; a refusal is reported (message 5).
    bool Store(int number, int element, double value) {
        if (context_->StoreDouble(number, value, element) != kParaOk) {
            ShowErrorMessageFor(kDeviceErrorMessage, context_->Base.get(), frame_);
            return false;
        }
        list_.ReadValue(number, element);
        return true;
    }

    // The next finer named position exponent, with 789[0] rescaled; false
    // (message 121 or a failed store) ends the calculation. The rescaled
    // length is checked before the exponent is stored.
    bool LowerPositionExponent() {
        const double exponent = P(kPositionExponent, 0);
        const std::optional<int> finer = NextFinerCopenExponent(static_cast<int>(std::trunc(exponent)));
        if (!finer) return NoFactor() != 0;
        const double scale = std::pow(10.0, std::trunc(exponent - *finer));
        const double length = P(kLengthRatio, 0);
        if (kLargestFactorTerm / scale < length) return NoFactor() != 0;
        return Store(kPositionExponent, 0, *finer) && Store(kLengthRatio, 0, scale * length);
    }

    bool LowerVelocityExponent() {
        const std::optional<int> finer = NextFinerCopenExponent(static_cast<int>(std::trunc(P(kVelocityExponent, 0))));
        if (!finer) return NoFactor() != 0;
        return Store(kVelocityExponent, 0, *finer);
    }

    DeviceSetupContext* context_;
    GwCore* frame_;
    LocalParameterList list_;
};

}  // namespace

int CB_TakeAndCheckNorm(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    CB_DvFctTakeIt(widget, event, userData);
    NormCheck check(context, FrameOf(widget));
    if (!check.Read()) return 1;
    return check.Run();
}

int CB_OkAndCheckNorm(GwCore* widget, GwEvent* event, GwUD userData) {
    GwRef<> frame = FrameOf(widget);
    if (CB_TakeAndCheckNorm(widget, event, userData) != 0) {
        if (frame) CB_CloseDeviceWindow_Update_Parent(frame, event, userData);
        return 1;
    }
    if (!frame) return 1;
    if (frame->parent() != nullptr) CB_CallDeviceWindow(frame->parent(), event, GwUD(kNorm1WindowName));
    if (frame) CB_CloseDeviceWindow(frame, event, userData);
    return 1;
}

int CB_1_200_ShowCalcTREFvalue(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr) return 1;
    if (userData.is_text()) CB_ShowIf(widget, event, userData);
    std::string text = "???";
    DeviceSetupContext* context = DeviceContextOf(widget);
    ParaBase* base = context != nullptr ? context->Base.get() : nullptr;
    double reference = 0.0;
    double percent = 0.0;
    if (base != nullptr && base->IsPresent(kTuningBase) && base->IsPresent(kTuningPercent) &&
        context->ReadDouble(kTuningBase, &reference) == kParaOk &&
        context->ReadDouble(kTuningPercent, &percent) == kParaOk) {
        text = platform::Format("%lf", reference * percent * 0.01);
    }
    widget->set_text(text);
    return 1;
}

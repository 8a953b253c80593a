#include "families/setup_main_window.h"

#include <cmath>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_text.h"
#include "app/services/window_handler.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/run_mode_window.h"
#include "families/brand_callbacks.h"
#include "families/setup_context_factory.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kFirstFamily = 3;
constexpr int kLastFamily = 5;

std::array<SetupMainFamilyState, kLastFamily - kFirstFamily + 1>& States() {
    static std::array<SetupMainFamilyState, kLastFamily - kFirstFamily + 1> states;
    return states;
}

const platform::ResetHook kResetSetupMainState([] {
    for (SetupMainFamilyState& state : States()) {
        delete state.Context;
        state = SetupMainFamilyState{};
    }
});

DeviceSetupContext* ContextOfWindow(const GwCore* window) {
    if (window == nullptr || !window->user_data().is_pointer()) return nullptr;
    return window->user_data().pointer_as<DeviceSetupContext>();
}

// A side window keeps the context in its user data; it must not outlive it.
void CloseWindowsOf(const DeviceSetupContext* context) {
    WindowHandler& windows = TheWindowHandler();
    std::vector<GwCore*> holders;
    for (GwCore* w = windows.First(); w != nullptr; w = windows.Next()) {
        if (ContextOfWindow(w) == context) holders.push_back(w);
    }
    for (GwCore* w : holders) windows.Close(w);
}

std::string FillTitle(const std::string& format, const char* text) {
    if (format.empty()) return "";
    return platform::FormatChecked(format, {std::string(text != nullptr ? text : "")}).text;
}

int CreateSetupMain(int family, GwCore* window) {
    SetupMainFamilyState& state = *TheSetupMainState(family);
    const bool online = window->user_data().is_text() && window->user_data().string() == kSetupOnlineUserData;
    ParaBase* base = TheParameterEditorContext().Base;
    if (state.Context != nullptr) {
        CloseWindowsOf(state.Context);
        delete state.Context;
        state.Context = nullptr;
    }
    if (base == nullptr) return 1;
    state.Context = CreateSetupContextForFamily(family, window, *base, online).release();

    GwCore* first = window->first_control();
    const std::string format = first != nullptr ? first->aux_text() : std::string();
    GwCore* save = window->frame_child(kSaveButtonName);
    GwCore* offlineState = window->frame_child(kOfflineStateName);
    std::string title;
    if (online) {
        Main* main = GetMain();
        title = FillTitle(format, main != nullptr ? main->GetActiveDeviceLabel() : "");
        if (save != nullptr && !state.SaveLabel.empty()) save->set_label(state.SaveLabel);
        if (offlineState != nullptr) offlineState->hide();
    } else {
        title = FillTitle(format, base->GetPath(kDFilePath));
        if (save != nullptr) {
            if (state.SaveLabel.empty()) state.SaveLabel = save->label();
            save->set_label(GetMessageString(kOfflineSaveLabelMessage, kMainMessagesSection).Text());
        }
        if (offlineState != nullptr) offlineState->show();
    }
    window->set_title(title);
    window->set_user_data(GwUD(static_cast<void*>(state.Context)));
    return 1;
}

void ShowDravoLabel(GwCore* window) {
    const std::optional<std::string> label = BrandOption(kDravoKey);
    if (!label) return;
    if (GwCore* button = window->frame_child(kDravoButtonName)) button->set_label(*label);
}

void ApplyCompactLayout(SetupMainFamilyState& state, GwCore* window, DeviceSetupContext* context) {
    if (!state.RectsRecorded) {
        const GwCore* parts[4] = {window->frame_child(kContFuncName),
                                  window->first_control(),
                                  window->frame_child(kContValName),
                                  window->frame_child(kContSaveName)};
        for (size_t i = 0; i < state.Rects.size(); ++i) {
            if (parts[i] != nullptr) state.Rects[i] = parts[i]->rect();
        }
        state.RectsRecorded = true;
    }
    context->Rects = state.Rects;
    context->LayoutRecorded = true;
    SetCompactLayout(window, state.Rects);
    context->Expanded = false;
}

// Families 3 and 5.
int ShowSetupMainCompact(int family, GwCore* window) {
    DeviceSetupContext* context = ContextOfWindow(window);
    if (context == nullptr) return 1;
    context->Modified = false;
    double runMode = 0.0;
    if (context->ReadDouble(context->RunModeParameter, &runMode) != 0) {
        ShowDeviceError(kRunModeReadError, context->Base.get(), window);
        return 1;
    }
    if (GwCore* setup = context->SetupControl.get()) {
        setup->set_sensitive(context->SetupPageOf(static_cast<int>(std::trunc(runMode))) != 0);
    }
    ShowDravoLabel(window);
    ApplyCompactLayout(*TheSetupMainState(family), window, context);
    return 1;
}

bool CanRead(const std::string& path) {
    const std::optional<std::string> native = platform::FindExisting(path);
    return native && platform::FileExists(*native) && std::ifstream(*native).good();
}

std::string WithExtension(const char* path, const char* extension) {
    GwString drive, dir, name;
    GwSplitpath(path, &drive, &dir, &name, nullptr);
    return GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), extension).c_str();
}

}  // namespace

SetupMainFamilyState* TheSetupMainState(int family) {
    if (family < kFirstFamily || family > kLastFamily) return nullptr;
    return &States()[static_cast<size_t>(family - kFirstFamily)];
}

int Create_CB_3_SetupMain(GwCore* widget, GwEvent*, GwUD) { return widget ? CreateSetupMain(3, widget) : 1; }
int Create_CB_4_SetupMain(GwCore* widget, GwEvent*, GwUD) { return widget ? CreateSetupMain(4, widget) : 1; }
int Create_CB_5_SetupMain(GwCore* widget, GwEvent*, GwUD) { return widget ? CreateSetupMain(5, widget) : 1; }
int Show_CB_3_SetupMain(GwCore* widget, GwEvent*, GwUD) { return widget ? ShowSetupMainCompact(3, widget) : 1; }
int Show_CB_5_SetupMain(GwCore* widget, GwEvent*, GwUD) { return widget ? ShowSetupMainCompact(5, widget) : 1; }

int Show_CB_4_SetupMain(GwCore* window, GwEvent*, GwUD) {
    DeviceSetupContext* context = ContextOfWindow(window);
    if (context == nullptr) return 1;
    context->Modified = false;
    ShowRunModeSelection(window, context);
    if (context->Base->IsOnline()) return 1;
    if (GwCore* hand = window->frame_child(kPositioningHandModeName)) hand->disable();
    const char* path = context->Base->GetPath(kDFilePath);
    GwCore* dataEditor = window->frame_child(kPosModDataEditorName);
    if (GwCore* programEditor = window->frame_child(kPosModProgramEditorName)) {
        programEditor->set_sensitive(CanRead(WithExtension(path, "prg")));
    }
    if (dataEditor == nullptr) return 1;
    dataEditor->set_sensitive(CanRead(WithExtension(path, "01d")));
    return 1;
}

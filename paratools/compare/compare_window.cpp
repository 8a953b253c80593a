#include "paratools/compare/compare_window.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "parameters/values/dstring.h"
#include "paratools/compare/para_compare_base.h"
#include "paratools/print/device_link.h"
#include "paratools/print/print_date.h"
#include "paratools/print/text_output_file.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/system/program_start.h"
#include "platform/system/system_error.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kDeviceReadActivity = 3;
constexpr int kWindowMissingMessage = 7;
constexpr char kDeviceCopyFileSet[] = "..\\TMP\\Compare.00D";
enum Label : int {
    kReportTitle = 90,
    kSet1 = 91,
    kSet2 = 92,
    kDeviceSide = 94,
    kFileSide = 95,
    kDefaults = 96,
    kDifferences = 97
};

// The directories the three file choosers remember for the program's run.
struct CompareWindowState {
    std::string ParaBaseDirectory;
    std::string FileDirectory;
    std::string EditorDirectory;
};
CompareWindowState& State() {
    static CompareWindowState state;
    return state;
}
platform::ResetHook ResetState([] { State() = CompareWindowState{}; });

GwToggle* Toggle(GwCore* frame, const char* name) { return dynamic_cast<GwToggle*>(frame->child(name)); }
bool IsOn(GwCore* frame, const char* name) {
    GwToggle* t = Toggle(frame, name);
    return t != nullptr && t->is_checked();
}
std::string TextOf(GwCore* frame, const char* name) {
    GwCore* w = frame->child(name);
    return w != nullptr ? w->text() : std::string();
}

std::string TitleText(const char* key) {
    char text[kMessageTextSize];
    GetMessageText(text, kTitlesSection, key, kMessageTextSize);
    return text;
}

// A file chooser whose choice goes into the widget named by the caller's
// user data.
int ChooseInto(GwCore* widget, const GwUD& userData, const char* titleKey, const char* filter, std::string& remembered,
               const std::string& firstDir) {
    GwFileSelector chooser(widget->frame());
    chooser.set_title(TitleText(titleKey));
    chooser.set_filter(filter);
    chooser.set_directory(remembered.empty() ? firstDir : remembered);
    if (!chooser.go() || !chooser.selection_ok()) return 0;
    remembered = chooser.directory();
    if (GwCore* target = widget->frame()->child(userData.string())) target->set_text(chooser.selection());
    return 1;
}

std::string TypeName(ParaBase& base) {
    uint16_t type = 0;
    base.GetValueU16(kDeviceCodeParameter, &type);
    return GetDeviceTypeName(type);
}
std::string Version(ParaBase& base) { return base.FormatStoredValue(kFirmwareVersionParameter, 0, false); }
std::string Label(int n, const std::vector<platform::FormatArg>& args) {
    return platform::FormatChecked(MainMessageText(n), args).text;
}

// Writes the report; false when it ended early.
bool WriteReport(GwCore* frame, TextOutputFile& out) {
    ParaCompareBase& side1 = TheCompareBase();
    out.Put(MainMessageText(kReportTitle) + " " + PrintDateText() + "\n\n");
    if (IsOn(frame, "Toggle1_Device")) {
        // Nothing is read from a device that is not there.
        ParaBase* active = ToolsActiveBase();
        if (!ToolsHaveOnlineDevice() || active == nullptr) return ShowErrorMessage(kNoParaBaseMessage, frame), false;
        {
            ActivMessage activity(kDeviceReadActivity, frame);
            if (active->ReadBusData(false) != kParaOk)
                return ShowErrorMessageFor(kParaBaseErrorMessage, active, frame), false;
        }
        // The copy writes the device's value texts and strings into the compare
        // base's own file set: never into a file set compared before.
        side1.InitFile(kDeviceCopyFileSet);
        if (side1.CopyBase(*active) != kParaOk) return ShowErrorMessageFor(kParaBaseErrorMessage, &side1, frame), false;
        out.Put(MainMessageText(kSet1) + ":\t\t" + Label(kDeviceSide, {TypeName(side1), Version(side1)}) + "\n");
    } else {
        const std::string path = TextOf(frame, "File1");
        if (path.empty()) return false;
        side1.InitFile(path.c_str());
        if (side1.ReadFileBase() != kParaOk) return ShowErrorMessageFor(kParaBaseErrorMessage, &side1, frame), false;
        out.Put(MainMessageText(kSet1) + ":\t\t" + Label(kFileSide, {path, TypeName(side1), Version(side1)}) + "\n");
    }
    auto side2 = std::make_unique<ParaBase>();
    const std::string differences = "\n\n" + MainMessageText(kDifferences) + ":\n-------------\n";
    if (IsOn(frame, "Toggle2_DeviceDefault")) {
        ParaBase* active = ToolsActiveBase();
        if (!ToolsHaveOnlineDevice() || active == nullptr) return ShowErrorMessage(kNoParaBaseMessage, frame), false;
        side2 = std::make_unique<ParaBase>(*active);
        if (!side2->TableLoaded) return ShowErrorMessageFor(kParaBaseErrorMessage, side2.get(), frame), false;
        out.Put(MainMessageText(kSet2) + ":\t\t" + Label(kDefaults, {TypeName(*side2), Version(*side2)}) + differences);
        return CompareWithDefaults(side1, *side2, out.get());
    }
    const std::string path = TextOf(frame, "File2");
    if (path.empty()) return false;
    side2->InitFile(path.c_str());
    if (side2->ReadFileBase() != kParaOk) return ShowErrorMessageFor(kParaBaseErrorMessage, side2.get(), frame), false;
    out.Put(MainMessageText(kSet2) + ":\t\t" + Label(kFileSide, {path, TypeName(*side2), Version(*side2)}) +
            differences);
    return CompareBases(side1, *side2, out.get());
}

void ShowReport(GwCore* frame) {
    const CompareOptions& o = TheCompareBase().Options;
    if (o.ExternEditor) {
        if (platform::StartProgram(o.Editor, {"\"" + o.Editor + "\"", "\"" + o.OutFile + "\""}, false) != 0)
            ShowErrorTextBox(std::strerror(errno), frame);
        return;
    }
    TheWindowHandler().CloseByName(kCompareResultWindow);
    GwCore* window = GwRcMgr::load(GetMainWindow(), kCompareResultWindow);
    if (window == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, frame);
        return;
    }
    if (auto* text = dynamic_cast<GwEdit*>(window->child("Report"))) text->set_text_file(o.OutFile);
    TheWindowHandler().Add(window, 1);
    window->show();
}

void ShowOptions(GwCore* frame) {
    const CompareOptions& o = TheCompareBase().Options;
    const char* names[] = {"ActualValues",
                           "FixValues",
                           "NonFixValues",
                           "OnlyDataSetPara",
                           "Level4",
                           "Level5",
                           "Level6",
                           "OutFile",
                           "Editor",
                           "ExternEditor",
                           "TextWindow"};
    for (const char* name : names)
        if (frame->child(name) == nullptr) {
            ShowErrorMessage(kWindowMissingMessage, frame);
            return;
        }
    Toggle(frame, "ActualValues")->set_checked(o.ActualValues != 0);
    Toggle(frame, "FixValues")->set_checked(o.FixValues != 0);
    Toggle(frame, "NonFixValues")->set_checked(o.NonFixValues != 0);
    Toggle(frame, "OnlyDataSetPara")->set_checked(o.OnlyDataSetPara != 0);
    const char* level = o.Level == 5 ? "Level5" : o.Level == 6 ? "Level6" : "Level4";
    for (const char* l : {"Level4", "Level5", "Level6"}) Toggle(frame, l)->set_checked(std::strcmp(l, level) == 0);
    frame->child("OutFile")->set_text(o.OutFile);
    frame->child("Editor")->set_text(o.Editor);
    Toggle(frame, "ExternEditor")->set_checked(o.ExternEditor != 0);
    Toggle(frame, "TextWindow")->set_checked(o.TextWindow != 0);
    if (GwCore* editor = frame->child("ContEditor")) o.ExternEditor ? editor->show() : editor->hide();
    frame->child("FixValues")->disable();
}

}  // namespace

int CB_ShowCompare(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget->frame();
    GwToggle* device1 = Toggle(frame, "Toggle1_Device");
    GwToggle* file1 = Toggle(frame, "Toggle1_File");
    GwCore* cont1 = frame->child("ContFile1");
    GwToggle* defaults2 = Toggle(frame, "Toggle2_DeviceDefault");
    GwToggle* file2 = Toggle(frame, "Toggle2_File");
    GwCore* cont2 = frame->child("ContFile2");
    if (!device1 || !file1 || !cont1 || !defaults2 || !file2 || !cont2) {
        GwCore::set_global_cursor(0);
        ShowErrorMessage(kWindowMissingMessage, frame);
        return 1;
    }
    if (ToolsHaveOnlineDevice()) {
        device1->set_checked(true);
        file1->set_checked(false);
        cont1->hide();
        device1->enable();
        defaults2->enable();
    } else {
        device1->disable();
        defaults2->disable();
        file1->set_checked(true);
        cont1->show();
    }
    defaults2->set_checked(false);
    file2->set_checked(true);
    cont2->show();
    LoadCompareOptions(TheCompareBase().Options, MainProfile(), kCompareSettingsSection);
    GwCore::set_global_cursor(0);
    return 1;
}

int CB_SearchParaBase(GwCore* widget, GwEvent*, GwUD userData) {
    return ChooseInto(widget, userData, "ChooseParaBaseFile", "*.00d", State().ParaBaseDirectory, GetUserDataDir());
}

int CB_SearchFile(GwCore* widget, GwEvent*, GwUD userData) {
    return ChooseInto(widget, userData, "ChooseFile", "*.txt", State().FileDirectory, "..\\TMP");
}

int CB_SearchEditor(GwCore* widget, GwEvent*, GwUD userData) {
    return ChooseInto(widget, userData, "ChooseCompareEditor", "*.*", State().EditorDirectory, ".\\");
}

int CB_CompareOk(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget->frame();
    if (IsOn(frame, "Toggle2_File") && TextOf(frame, "File2").empty()) return 1;
    const std::string path = TheCompareBase().Options.OutFile;
    TextOutputFile out(path);
    if (!out.IsOpen()) {
        // A report that cannot be written is said, not skipped in silence.
        ShowErrorTextBox(platform::ErrorWithCause("\"" + path + "\"", errno).c_str(), frame);
        return 1;
    }
    const bool complete = WriteReport(frame, out);
    out.Close();
    if (complete) ShowReport(frame);
    return 1;
}

int CB_HideCompare(GwCore* widget, GwEvent*, GwUD) {
    TheWindowHandler().DeleteWindow(widget->frame());
    GwProfile* profile = MainProfile();
    SaveCompareOptions(TheCompareBase().Options, profile, kCompareSettingsSection);
    return 1;
}

int CB_ShowCompareOptions(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget->frame();
    if (frame->name() != kCompareOptionsWindow) {
        // Called from the compare window: open its options window.
        GwCore* options = GwRcMgr::load(frame, kCompareOptionsWindow);
        if (options == nullptr) {
            ShowErrorMessage(kWindowMissingMessage, frame);
            return 0;
        }
        TheWindowHandler().Add(options, 0);
        ShowOptions(options);
        options->show();
        return 1;
    }
    ShowOptions(frame);
    return 1;
}

int CB_SetCompareOptions(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget->frame();
    CompareOptions& o = TheCompareBase().Options;
    o.ActualValues = IsOn(frame, "ActualValues");
    o.FixValues = IsOn(frame, "FixValues");
    o.NonFixValues = IsOn(frame, "NonFixValues");
    o.OnlyDataSetPara = IsOn(frame, "OnlyDataSetPara");
    if (IsOn(frame, "Level4")) o.Level = 4;
    if (IsOn(frame, "Level5")) o.Level = 5;
    if (IsOn(frame, "Level6")) o.Level = 6;
    o.OutFile = TextOf(frame, "OutFile");
    o.Editor = TextOf(frame, "Editor");
    o.ExternEditor = IsOn(frame, "ExternEditor");
    o.TextWindow = IsOn(frame, "TextWindow");
    frame->hide();
    return 1;
}

int CB_ResetCompareOptions(GwCore* widget, GwEvent*, GwUD) {
    TheCompareBase().Options = CompareOptions{};
    ShowOptions(widget->frame());
    return 1;
}

int CB_HideCompareOptions(GwCore* widget, GwEvent*, GwUD) {
    TheWindowHandler().DeleteWindow(widget->frame());
    return 1;
}

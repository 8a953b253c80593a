#include "paratools/print/print_wizard.h"

#include <algorithm>

#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "app/services/wait.h"
#include "parameters/parabase/para_base.h"
#include "paratools/print/external_viewers.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kNoDataMessage = 6;
constexpr int kWindowMissingMessage = 7;
constexpr int kSettingsFileMessage = 12343;
constexpr int kDeviceReadActivity = 3;
constexpr int kPrintingActivity = 12;
constexpr int kLogoFrameEntry = 7;
constexpr uint32_t kPageWaitMs = 100;
constexpr int kHighestUserLevel = 6;
constexpr int kExpandableUserLevel = 5;

constexpr char kPage1[] = "PrintPara1";
constexpr char kPage2[] = "PrintPara2";
constexpr char kPage3[] = "PrintPara3";
constexpr char kCommentWindow[] = "ParaComment";
constexpr char kPreviewWindow[] = "ShowParaPrint";
constexpr char kFrameDefinition[] = "PrintFrame";
constexpr char kPropertiesDefinition[] = "ParaProperties";

PrintWizardState& State() {
    static PrintWizardState state;
    return state;
}

platform::ResetHook ResetState([] { State() = PrintWizardState{}; });

template <typename T>
T* Find(GwCore* frame, const char* name) {
    return frame != nullptr ? dynamic_cast<T*>(frame->child(name)) : nullptr;
}

bool IsOn(GwCore* frame, const char* name) {
    auto* t = Find<GwToggle>(frame, name);
    return t != nullptr && t->is_checked();
}

void ClosePage(GwCore* page) {
    if (page != nullptr && GwRcMgr::is_valid_child(page)) page->destroy();
}

// Error message 7 and the page closed.
int Refuse(GwCore* page) {
    ShowErrorMessage(kWindowMissingMessage, page);
    ClosePage(page);
    return 1;
}

// Loads the next page with the base as its user data instead of `page`.
int GoToPage(GwCore* page, const char* next) {
    GwCore* window = GwRcMgr::load(page->parent(), next);
    if (window == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, page);
        return 1;
    }
    window->set_user_data(GwUD(static_cast<void*>(State().base)));
    ClosePage(page);
    window->show();
    return 1;
}

// Child 0 of a hidden definition; null when it cannot be loaded.
GwCore* LoadDefinitionContent(const char* name, GwCore** window) {
    *window = GwRcMgr::load(nullptr, name);
    return *window != nullptr ? (*window)->child(0) : nullptr;
}

bool LoadFrameAndProperties() {
    PrintWizardState& s = State();
    GwCore* frameWindow = nullptr;
    GwCore* propertiesWindow = nullptr;
    GwCore* texts = LoadDefinitionContent(kFrameDefinition, &frameWindow);
    GwCore* entries = LoadDefinitionContent(kPropertiesDefinition, &propertiesWindow);
    const bool ok = texts != nullptr && entries != nullptr;
    if (ok) {
        s.frame = PrintFrameTexts{};
        for (GwCore* child : texts->children()) s.frame.texts.push_back(child->text());
        if (GwCore* logo = texts->child(kLogoFrameEntry)) s.frame.logoBitmap = logo->attribute_text("bitmap");
        s.properties.clear();
        for (GwCore* child : entries->children())
            s.properties.push_back({child->text(), std::atoi(child->attribute_text("print_width").c_str())});
    }
    if (frameWindow != nullptr) frameWindow->destroy();
    if (propertiesWindow != nullptr) propertiesWindow->destroy();
    return ok;
}

std::unique_ptr<ParaPrintJob> NewJob() {
    PrintWizardState& s = State();
    return std::make_unique<ParaPrintJob>(s.settings.get(), s.base, s.properties, s.frame);
}

// The body font of the chosen size must exist: a page measured without it
// has no text height to divide by.
bool BodyFontExists() {
    const int size = State().settings != nullptr ? State().settings->FontSize : 0;
    return GwRcMgr::value(platform::Format(kBodyFontFormat, size).c_str()) != nullptr;
}

std::string TitleText(const char* key) {
    char text[kMessageTextSize];
    GetMessageText(text, kTitlesSection, key, kMessageTextSize);
    return text;
}

// A device's stored values are read anew when they are printed, so the page
// shows what the device holds; false, with the warning shown, when the read
// fails.
bool ReadDeviceValues(GwCore* page) {
    PrintWizardState& s = State();
    if (s.base->GetBus() == nullptr || !s.settings->PProp[kStoredValueColumn]) return true;
    ActivMessage activity(kDeviceReadActivity, page);
    if (s.base->ReadBusData(false) == kParaOk) return true;
    ShowWarningMessageFor(kParaBaseErrorMessage, s.base, page);
    return false;
}

void Preview(GwCore* page) {
    PrintWizardState& s = State();
    if (s.settings == nullptr || !BodyFontExists()) {
        ShowErrorMessage(kWindowMissingMessage, page);
        return;
    }
    // The preview shows what a print would: the device's values of now.
    if (s.base == nullptr || !ReadDeviceValues(page)) return;
    GwCore* window = GwRcMgr::load(page, kPreviewWindow);
    if (window == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, page);
        return;
    }
    s.previewJob = NewJob();
    window->go();
    if (GwRcMgr::is_valid_child(window)) window->destroy();
}

// Values of the page of groups and levels.
void StorePage2(GwCore* page) {
    ParaPrintSettings& st = *State().settings;
    if (auto* levels = Find<GwToggleList>(page, "Levels")) {
        int last = -1;
        for (int i = 0; i < levels->row_count(); ++i)
            if (levels->item_on(i)) last = i;
        if (last >= 0) {
            int level = last + 1;
            if (level == kExpandableUserLevel && GetUserLevel() == kHighestUserLevel) level = kHighestUserLevel;
            st.UserLevel = static_cast<uint16_t>(level);
        }
    }
    st.EditableOnly = IsOn(page, "Editable");
    st.ChangedOnly = IsOn(page, "Changed");
}

void StorePage3(GwCore* page) {
    ParaPrintSettings& st = *State().settings;
    if (auto* sort = Find<GwToggleList>(page, "Sort")) st.SortByName = sort->item_on(1);
    if (auto* cluster = Find<GwToggleList>(page, "Cluster")) st.ClusterByGroup = cluster->item_on(1);
    st.MarkChanged = IsOn(page, "MarkChanged");
}

void StoreFontSize(GwCore* page) {
    if (auto* font = Find<GwCombo>(page, "Font")) State().settings->FontSize = std::max(font->selected_index(), 0);
}

int GroupRows() {
    ParaBase* base = State().base;
    // Only groups 0 to 127 can be chosen: the format keeps 128 group flags.
    return base != nullptr ? std::min(base->GetKPGroupCount(), kPrintGroupCount) : 0;
}

// The chosen file, with the extension "txt"; false when cancelled.
bool ChooseOutputFile(GwCore* page) {
    PrintWizardState& s = State();
    GwFileSelector chooser(page);
    chooser.set_title(TitleText("ChooseParaPrintFile"));
    chooser.set_filter("*.TXT");
    chooser.set_directory(s.rememberedDirectory.empty() ? GetUserDataDir() : s.rememberedDirectory);
    if (!chooser.go() || !chooser.selection_ok()) return false;
    GwString drive, dir, name;
    GwSplitpath(chooser.selection().c_str(), &drive, &dir, &name, nullptr);
    s.rememberedDirectory = drive.str() + dir.str();
    s.outputPath = GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), "txt").str();
    return true;
}

void PrintPages(ParaPrintJob& job) {
    // Printed pages go to the user data folder, whoever started the program.
    const std::string& userData = GetUserDataDir();
    GwSetPrintOutputDirectory(userData.empty() ? "." : userData);
    GwPrinterContext printer(GetMainWindow());
    if (!printer.print_dialog()) return;
    ActivMessage activity(kPrintingActivity);
    job.SetupPrintDevice(printer);
    if (!printer.start_document(kPrintDocumentName)) return;
    bool more = false;
    if (printer.start_page()) {
        more = job.DrawFirstPage(printer, nullptr);
        printer.end_page();
        char text[kMessageTextSize];
        GetMessageText(text,
                       kActivMessagesSection,
                       platform::Format(kActivMessageKeyFormat, kPrintingActivity).c_str(),
                       kMessageTextSize);
        for (int n = 2; more; ++n) {
            if (!printer.start_page()) break;
            activity.SetMessageText((std::string(text) + " " + std::to_string(n)).c_str());
            WaitMilliseconds(kPageWaitMs);
            more = job.DrawNextPage(printer);
            printer.end_page();
        }
    }
    if (!printer.end_document() && !printer.last_error().empty()) ShowErrorTextBox(printer.last_error().c_str());
}

}  // namespace

PrintWizardState& ThePrintWizard() { return State(); }

void RunParaPrint(GwCore* page) {
    PrintWizardState& s = State();
    if (s.settings == nullptr || s.base == nullptr) return;
    ParaPrintSettings& st = *s.settings;
    if (s.destination == 0 && !BodyFontExists()) {
        ShowErrorMessage(kWindowMissingMessage, page);
        return;
    }
    if (!ReadDeviceValues(page)) return;
    if (GwProfile* profile = MainProfile();
        profile != nullptr && profile->select_section(kUserPrintDefinesSection, true)) {
        profile->write_int("ParaPrintFormat", s.formatIndex);
        profile->write_int("ParaPrintComment", st.IncludeComment);
        profile->write_int("Destination", s.destination);
    }
    if ((s.destination == 1 || s.destination == 2) && !ChooseOutputFile(page)) return;
    if (st.IncludeComment) {
        st.Comment.clear();
        if (GwCore* comment = GwRcMgr::load(page, kCommentWindow)) {
            comment->go();
            if (GwRcMgr::is_valid_child(comment)) comment->destroy();
        } else {
            ShowErrorMessage(kWindowMissingMessage, page);
        }
    }
    s.printJob = NewJob();
    ClosePage(page);
    ParaPrintJob& job = *s.printJob;
    if (s.destination == 2) {
        if (job.WriteTextFile(s.outputPath)) OpenInTextViewer(s.outputPath);
    } else if (s.destination == 1) {
        if (job.WriteSpreadsheetFile(s.outputPath) && !OpenInSpreadsheetProgram(s.outputPath))
            ShowErrorText(kSpreadsheetStartFailedText);
    } else {
        PrintPages(job);
    }
}

int CB0_CreatePrintPara0(GwCore* widget, GwEvent*, GwUD) {
    GwCore* page = widget->frame();
    PrintWizardState& s = State();
    auto* base = page->user_data().pointer_as<ParaBase>();
    if (base == nullptr || !base->TableLoaded) {
        ShowErrorMessage(kNoDataMessage, page);
        ClosePage(page);
        return 1;
    }
    s.base = base;
    uint16_t code = 0;
    base->GetValueU16(kDeviceCodeParameter, &code);
    s.settings = std::make_unique<ParaPrintSettings>(DeviceClassPrintProfile(code));
    for (const char* name : {"Format", "Comment", "Printer", "Ascii", "Excel", "Assi"})
        if (page->child(name) == nullptr) return Refuse(page);
    if (!s.settings->IsValid()) {
        ShowErrorMessage(kSettingsFileMessage, page);
        ClosePage(page);
        return 1;
    }
    auto* formats = Find<GwCombo>(page, "Format");
    formats->delete_all();
    for (std::string name = s.settings->FirstFormatName(); !name.empty(); name = s.settings->NextFormatName())
        formats->append(name);
    if (GwProfile* profile = MainProfile(); profile != nullptr && profile->select_section(kUserPrintDefinesSection)) {
        s.formatIndex = profile->read_int("ParaPrintFormat");
        s.settings->IncludeComment = profile->read_int("ParaPrintComment");
        s.destination = profile->read_int("Destination");
    }
    if (!LoadFrameAndProperties()) return Refuse(page);
    return 1;
}

int CB0_ShowPrintPara0(GwCore* widget, GwEvent*, GwUD) {
    GwCore* page = widget->frame();
    PrintWizardState& s = State();
    if (s.settings == nullptr) return 0;
    auto* formats = Find<GwCombo>(page, "Format");
    if (formats == nullptr) return 0;
    if (s.formatIndex >= 0 && s.formatIndex < formats->count()) formats->select_item(s.formatIndex);
    const int selected = formats->selected_index();
    s.settings->SelectFormat(formats->item_text(selected >= 0 ? selected : 0));
    if (auto* comment = Find<GwToggle>(page, "Comment")) comment->set_checked(s.settings->IncludeComment != 0);
    const bool spreadsheet = IsSpreadsheetProgramRegistered();
    if (GwCore* excel = page->child("Excel")) excel->set_sensitive(spreadsheet);
    const char* radio = s.destination == 2 || (s.destination == 1 && !spreadsheet) ? "Ascii"
                        : s.destination == 1                                       ? "Excel"
                                                                                   : "Printer";
    if (auto* on = Find<GwToggle>(page, radio)) on->set_checked(true);
    if (GwCore* assi = page->child("Assi"))
        assi->set_sensitive(s.settings->SectionName == kUserDefinedFormat || GetUserLevel() > kExpandableUserLevel);
    return 1;
}

int CB0_NewFormat(GwCore* widget, GwEvent*, GwUD) {
    PrintWizardState& s = State();
    auto* formats = dynamic_cast<GwCombo*>(widget);
    if (formats == nullptr || s.settings == nullptr) return 0;
    s.formatIndex = formats->selected_index();
    s.settings->SelectFormat(formats->item_text(s.formatIndex));
    if (GwCore* assi = widget->frame()->child("Assi"))
        assi->set_sensitive(s.settings->SectionName == kUserDefinedFormat);
    return 1;
}

static int SetDestination(GwCore* widget, int destination) {
    if (auto* t = dynamic_cast<GwToggle*>(widget); t != nullptr && t->is_checked()) State().destination = destination;
    return 1;
}
int CB0_SetPrinter(GwCore* widget, GwEvent*, GwUD) { return SetDestination(widget, 0); }
int CB0_SetExcel(GwCore* widget, GwEvent*, GwUD) { return SetDestination(widget, 1); }
int CB0_SetAscii(GwCore* widget, GwEvent*, GwUD) { return SetDestination(widget, 2); }

int CB0_IncludeComment(GwCore* widget, GwEvent*, GwUD) {
    auto* t = dynamic_cast<GwToggle*>(widget);
    if (t == nullptr || State().settings == nullptr) return 0;
    State().settings->IncludeComment = t->is_checked();
    return 1;
}

int CB0_SetComment(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = widget->frame();
    if (State().settings != nullptr)
        if (GwCore* text = window->child("Comment")) State().settings->Comment = text->text();
    window->end_modal(1);
    return 1;
}

int CB0_StartAssi(GwCore* widget, GwEvent*, GwUD) { return GoToPage(widget->frame(), kPage1); }

int CB0_StartPrint(GwCore* widget, GwEvent*, GwUD) {
    RunParaPrint(widget->frame());
    return 1;
}

int CB0_ShowPrint(GwCore* widget, GwEvent*, GwUD) {
    Preview(widget->frame());
    return 1;
}

int CB1_CreatePrintPara1(GwCore* widget, GwEvent*, GwUD) {
    GwCore* page = widget->frame();
    auto* list = Find<GwToggleList>(page, "PropList");
    auto* font = Find<GwCombo>(page, "Font");
    if (list == nullptr || font == nullptr || State().settings == nullptr) return Refuse(page);
    list->set_row_count(static_cast<int>(State().properties.size()));
    font->select_item(State().settings->FontSize);
    if (State().properties.size() != kPrintColumnCount) ShowErrorMessage(kWindowMissingMessage, page);
    return 1;
}

int CB1_ShowPrintPara1(GwCore* widget, GwEvent*, GwUD) {
    auto* font = Find<GwCombo>(widget->frame(), "Font");
    if (font == nullptr || State().settings == nullptr) return 0;
    font->select_item(State().settings->FontSize);
    return 1;
}

int CB1_SetRowProp(GwCore* widget, GwEvent* event, GwUD) {
    auto* row = dynamic_cast<GwToggle*>(widget);
    const int i = event != nullptr ? event->row : -1;
    PrintWizardState& s = State();
    if (row == nullptr || s.settings == nullptr || i < 0 || i >= static_cast<int>(s.properties.size())) return 0;
    row->set_text(s.properties[i].caption);
    row->set_checked(i < kPrintColumnCount && s.settings->PProp[i] != 0);
    row->set_callback(GwCB_CHANGE, CB1_SaveRowProp);
    return 1;
}

static int SelectAllColumns(GwCore* widget, int on) {
    auto* list = Find<GwToggleList>(widget->frame(), "PropList");
    PrintWizardState& s = State();
    if (list == nullptr || s.settings == nullptr) return 0;
    const int count = std::min(static_cast<int>(s.properties.size()), kPrintColumnCount);
    for (int i = 0; i < count; ++i) {
        s.settings->PProp[i] = on;
        list->update_row(i);
    }
    return 1;
}
int CB1_SelectAll(GwCore* widget, GwEvent*, GwUD) { return SelectAllColumns(widget, 1); }
int CB1_SelectNone(GwCore* widget, GwEvent*, GwUD) { return SelectAllColumns(widget, 0); }

int CB1_SaveRowProp(GwCore* widget, GwEvent*, GwUD) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    PrintWizardState& s = State();
    if (toggle == nullptr || s.settings == nullptr) return 0;
    const int count = std::min(static_cast<int>(s.properties.size()), kPrintColumnCount);
    for (int i = count - 1; i >= 0; --i)
        if (s.properties[i].caption == toggle->text()) {
            s.settings->PProp[i] = toggle->is_checked();
            return 1;
        }
    return 0;
}

int CB1_Next(GwCore* widget, GwEvent*, GwUD) {
    if (State().settings == nullptr) return 0;
    StoreFontSize(widget->frame());
    return GoToPage(widget->frame(), kPage2);
}

int CB1_ShowPrint(GwCore* widget, GwEvent*, GwUD) {
    if (State().settings == nullptr) return 0;
    StoreFontSize(widget->frame());
    Preview(widget->frame());
    return 1;
}

int CB2_CreatePrintPara2(GwCore* widget, GwEvent*, GwUD) {
    GwCore* page = widget->frame();
    auto* groups = Find<GwToggleList>(page, "Groups");
    auto* levels = Find<GwToggleList>(page, "Levels");
    auto* changed = Find<GwToggle>(page, "Changed");
    auto* editable = Find<GwToggle>(page, "Editable");
    PrintWizardState& s = State();
    if (!groups || !levels || !changed || !editable || s.settings == nullptr) return Refuse(page);
    ParaPrintSettings& st = *s.settings;
    groups->set_row_count(GroupRows());
    const int current = GetUserLevel();
    st.UserLevel = static_cast<uint16_t>(std::min<int>(st.UserLevel, current));
    for (int i = 0; i < levels->row_count(); ++i) {
        levels->set_item_on(i, st.UserLevel == i + 1 && i < current);
        levels->enable_item(i, i < current);
    }
    if (st.UserLevel == kHighestUserLevel && levels->row_count() > 0)
        levels->set_item_on(levels->row_count() - 1, true);
    editable->set_checked(st.EditableOnly != 0);
    changed->set_checked(st.ChangedOnly != 0);
    return 1;
}

int CB2_SetRowGroup(GwCore* widget, GwEvent* event, GwUD) {
    auto* row = dynamic_cast<GwToggle*>(widget);
    const int g = event != nullptr ? event->row : -1;
    PrintWizardState& s = State();
    if (row == nullptr || s.settings == nullptr || s.base == nullptr || g < 0 || g >= GroupRows()) return 0;
    row->set_text(TranslatedGroupName(*s.base, g));
    row->set_checked(s.settings->Group[g] != 0);
    row->set_callback(GwCB_CHANGE, CB2_SaveRowGroup);
    return 1;
}

static int SelectAllGroups(GwCore* widget, int on) {
    auto* list = Find<GwToggleList>(widget->frame(), "Groups");
    PrintWizardState& s = State();
    if (list == nullptr || s.settings == nullptr) return 0;
    for (int g = 0; g < GroupRows(); ++g) {
        s.settings->Group[g] = on;
        list->update_row(g);
    }
    return 1;
}
int CB2_SelectAll(GwCore* widget, GwEvent*, GwUD) { return SelectAllGroups(widget, 1); }
int CB2_SelectNone(GwCore* widget, GwEvent*, GwUD) { return SelectAllGroups(widget, 0); }

int CB2_SaveRowGroup(GwCore* widget, GwEvent*, GwUD) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    PrintWizardState& s = State();
    if (toggle == nullptr || s.settings == nullptr || s.base == nullptr) return 0;
    for (int g = GroupRows() - 1; g >= 0; --g)
        if (TranslatedGroupName(*s.base, g) == toggle->text()) {
            s.settings->Group[g] = toggle->is_checked();
            return 1;
        }
    return 0;
}

int CB2_Next(GwCore* widget, GwEvent*, GwUD) {
    if (State().settings == nullptr) return 0;
    StorePage2(widget->frame());
    return GoToPage(widget->frame(), kPage3);
}

int CB2_ShowPrint(GwCore* widget, GwEvent*, GwUD) {
    if (State().settings == nullptr) return 0;
    StorePage2(widget->frame());
    Preview(widget->frame());
    return 1;
}

int CB2_Back(GwCore* widget, GwEvent*, GwUD) { return GoToPage(widget->frame(), kPage1); }

int CB3_CreatePrintPara3(GwCore* widget, GwEvent*, GwUD) {
    GwCore* page = widget->frame();
    auto* sort = Find<GwToggleList>(page, "Sort");
    auto* cluster = Find<GwToggleList>(page, "Cluster");
    auto* mark = Find<GwToggle>(page, "MarkChanged");
    if (!sort || !cluster || !mark || page->child("SaveFormat") == nullptr || State().settings == nullptr)
        return Refuse(page);
    const ParaPrintSettings& st = *State().settings;
    sort->set_item_on(st.SortByName ? 1 : 0, true);
    cluster->set_item_on(st.ClusterByGroup ? 1 : 0, true);
    mark->set_checked(st.MarkChanged != 0);
    return 1;
}

int CB3_Next(GwCore* widget, GwEvent*, GwUD) {
    GwCore* page = widget->frame();
    if (State().settings == nullptr) return 0;
    StorePage3(page);
    if (IsOn(page, "SaveFormat")) State().settings->SaveFormat();
    RunParaPrint(page);
    return 1;
}

int CB3_Back(GwCore* widget, GwEvent*, GwUD) {
    if (State().settings == nullptr) return 0;
    StorePage3(widget->frame());
    return GoToPage(widget->frame(), kPage2);
}

int CB3_ShowPrint(GwCore* widget, GwEvent*, GwUD) {
    if (State().settings == nullptr) return 0;
    StorePage3(widget->frame());
    Preview(widget->frame());
    return 1;
}

int CB4_Create(GwCore* widget, GwEvent*, GwUD) {
    auto* drawing = dynamic_cast<GwDrawing*>(widget);
    ParaPrintJob* job = State().previewJob.get();
    if (drawing == nullptr || job == nullptr) return 0;
    GwDeviceContext* dc = drawing->device_context();
    dc->lock();
    job->SetupPrintDevice(*dc);
    dc->unlock();
    return 1;
}

int CB4_Expose(GwCore* widget, GwEvent*, GwUD) {
    auto* drawing = dynamic_cast<GwDrawing*>(widget);
    PrintWizardState& s = State();
    if (drawing == nullptr || s.previewJob == nullptr) return 0;
    GwDeviceContext* dc = drawing->device_context();
    // Every repaint draws the page anew.
    dc->clear();
    ParaPrintJob measuring(s.settings.get(), s.base, s.properties, s.frame);
    GwPrinterContext printer;
    printer.use_default_printer();
    const auto measure = measuring.MeasurePreviewPage(printer);
    if (!measure) return 1;
    s.previewJob->SetupPrintDevice(*dc);
    // The whole page is drawn; the window scrolls over it.
    drawing->set_picture_size(s.previewJob->PreviewPictureSize(*dc, *measure));
    s.previewJob->DrawFirstPage(*dc, &*measure);
    return 1;
}

int CB4_Close(GwCore* widget, GwEvent*, GwUD) {
    widget->frame()->end_modal(0);
    return 1;
}

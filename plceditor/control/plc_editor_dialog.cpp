// The editor window: building it, start-up, layout, the status timer, and
// what the control asks of it.
#include "plceditor/control/plc_editor_dialog.h"

#include "platform/base/format.h"
#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/list_box.h"
#include "plceditor/adapter/status_bar.h"
#include "plceditor/control/editor_settings.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/source_text.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"

namespace sindel {

namespace {

// The window's template in pixels: its client area and where the edit
// control and the message list sit before the first layout.
constexpr GwRect kTemplateClient{0, 0, 536, 387};
constexpr GwRect kTemplateEdit{0, 30, 536, 230};
constexpr GwRect kTemplateList{0, 264, 536, 103};
constexpr int kToolButtonHeight = 22;
constexpr int kStatusParts = 5;
constexpr int kStatusInfoPart = 1;
constexpr int kStatusGeneratorPart = 3;
constexpr int kStatusLinePart = 4;
constexpr char kWindowIcon[] = "201";
constexpr char kToolBitmap[] = "201";
constexpr char kStartFolder[] = "..\\userdata\\";

constexpr const char* kGeneratorLabels[kGeneratorCount] = {" PLC V1.xx", " PLC V2.xx", " PLC V3.xx"};

// Device PLC versions from which on the later generators apply.
constexpr double kFirstV210Version = 2.0;
constexpr double kFirstV310Version = 3.0;

struct ToolButton {
    int id;
    bool separator_after;
};
constexpr ToolButton kToolButtons[] = {
    {ids::kCmdNew, false},          {ids::kCmdOpen, false},      {ids::kCmdSave, true},
    {ids::kCmdCut, false},          {ids::kCmdCopy, false},      {ids::kCmdPaste, true},
    {ids::kCmdCommentOut, false},   {ids::kCmdCommentIn, true},  {ids::kCmdUndo, false},
    {ids::kCmdSearchReplace, true}, {ids::kCmdPrint, true},      {ids::kCmdHelp, true},
    {ids::kCmdCheckSyntax, false},  {ids::kCmdRenum, false},     {ids::kCmdInsertProgram, true},
    {ids::kCmdReadFromFile, false}, {ids::kCmdSaveInFile, true}, {ids::kCmdReadFromDevice, false},
    {ids::kCmdSaveInDevice, false},
};

struct MenuEntry {
    int id;  // 0: separator
    const char* text;
};
struct MenuDefinition {
    const char* name;
    const char* text;
    std::initializer_list<MenuEntry> entries;
};

}  // namespace

PlcEditorDialog::PlcEditorDialog(ControlLink& control, std::string profile_path)
    : control_(control),
      profile_(std::move(profile_path)),
      open_dialog_(FileDialog::Mode::kOpen, std::string(LoadString(ids::kSourceFileFilter)), kStartFolder),
      save_dialog_(FileDialog::Mode::kSave, std::string(LoadString(ids::kSourceFileFilter)), kStartFolder) {
    extensions_ = MakeEditorExtensions(*this);
    SetMemorySize(kDefaultMemorySize);
}

PlcEditorDialog::~PlcEditorDialog() { DestroyWindow(); }

PlcEditorDialog* PlcEditorDialog::FromWindow(GwCore* window) {
    if (window == nullptr || !GwRcMgr::is_valid_child(window)) return nullptr;
    return dynamic_cast<PlcEditorDialog*>(window->user_data().pointer_as<CommandSink>());
}

bool PlcEditorDialog::IsOpen() const { return window_ != nullptr; }
GwCore* PlcEditorDialog::Window() const { return IsOpen() ? window_ : nullptr; }
EditControl* PlcEditorDialog::Edit() const { return IsOpen() ? edit_ : nullptr; }
ListBox* PlcEditorDialog::Messages() const { return IsOpen() ? list_ : nullptr; }
StatusBar* PlcEditorDialog::Status() const { return IsOpen() ? status_ : nullptr; }

void PlcEditorDialog::ForgetWindow() {
    window_.reset();
    edit_.reset();
    list_.reset();
    status_.reset();
    toolbar_.reset();
    ready_ = false;
}

bool PlcEditorDialog::Create(GwCore* owner) {
    if (IsOpen()) {
        window_->show();
        SetFocus();
        return true;
    }
    ready_ = false;
    BuildWindow(owner);
    StartUp();
    window_->show();
    return IsOpen();
}

bool PlcEditorDialog::DestroyWindow() {
    if (!IsOpen()) return false;
    window_->destroy();
    ForgetWindow();
    return true;
}

bool PlcEditorDialog::SetFocus() {
    if (!IsOpen()) return false;
    edit_->set_focus();
    return true;
}

void PlcEditorDialog::BuildWindow(GwCore* owner) {
    window_ = new GwDialogFrame(kWindowName, owner, false, kTitle);
    window_->set_rect(kTemplateClient);
    window_->set_close_mode(GwCLOSE_DESTROY);
    SetSink(window_, this);
    const GwUD self(static_cast<void*>(this));
    window_->set_callback(GwCB_TIMER, &PlcEditorDialog::OnTimer, self);
    window_->set_callback(GwCB_RESIZE, &PlcEditorDialog::OnResize, self);
    window_->set_callback(GwCB_CLOSE, &PlcEditorDialog::OnClose, self);
    window_->set_callback(GwCB_DESTROY, &PlcEditorDialog::OnDestroy, self);
    shown_title_.clear();

    BuildMenu();
    edit_ = new EditControl("Edit", window_);
    edit_->set_rect(kTemplateEdit);
    edit_->SetNotify([this](EditNotification n) { OnEditNotification(n); });
    edit_->SetKeyHandler([this](int key) { OnEditKey(key); });
    list_ = new ListBox("MessageList", window_);
    list_->set_rect(kTemplateList);
    list_->SetDoubleClickHandler([this](int row) { OnMessageDoubleClick(row); });
}

void PlcEditorDialog::BuildMenu() {
    using namespace ids;
    // clang-format off
    const MenuDefinition menus[] = {
        {"MenuFile",
         "&File",
         {{kCmdNew, "&New\tCtrl+N"},
          {kCmdOpen, "&Open...\tCtrl+O"},
          {kCmdSave, "&Save\tCtrl+S"},
          {kCmdSaveAs, "Save &as..."},
          {0, nullptr},
          {kCmdPageSetup, "Page set&up..."},
          {kCmdPrint, "&Print..."},
          {0, nullptr},
          {kCmdRecentFile, kNoRecentFile},
          {0, nullptr},
          {kCmdExit, "&Exit"}}},
        {"MenuEdit",
         "&Edit",
         {{kCmdUndo, "&Undo\tCtrl+Z"},
          {0, nullptr},
          {kCmdCut, "Cu&t\tCtrl+X"},
          {kCmdCopy, "&Copy\tCtrl+C"},
          {kCmdPaste, "&Paste\tCtrl+V"},
          {kCmdSelectAll, "Select a&ll\tCtrl+A"},
          {0, nullptr},
          {kCmdSearchReplace, "&Search/Replace...\tCtrl+F"},
          {0, nullptr},
          {kCmdCommentOut, "Comment out marked lines"},
          {kCmdCommentIn, "Comment in marked lines"}}},
        {"MenuPlc",
         "&PLC",
         {{kCmdCheckSyntax, "Check syntax"},
          {kCmdRenum, "R&enum"},
          {kCmdInsertProgram, "Insert &Program"},
          {0, nullptr},
          {kCmdSaveInFile, "Save &in file (device setting)"},
          {kCmdReadFromFile, "Read &from file (device setting)"},
          {0, nullptr},
          {kCmdSaveInDevice, "&Save in device"},
          {kCmdReadFromDevice, "&Read from device"},
          {0, nullptr},
          {kCmdCodeGenerator, "&Codegenerator..."}}},
        {"MenuHelp", "&?", {{kCmdHelp, "&Help..."}, {kCmdInfo, "&Info..."}}},
    };
    // clang-format on
    GwCore* bar = MakeMenuBar(window_);
    for (const MenuDefinition& definition : menus) {
        GwCore* menu = AddMenu(bar, definition.name, definition.text);
        for (const MenuEntry& entry : definition.entries) {
            if (entry.id == 0)
                AddMenuSeparator(menu);
            else
                AddMenuItem(menu, entry.id, entry.text);
        }
    }
}

void PlcEditorDialog::BuildToolBar() {
    toolbar_ = MakeToolBar(window_, "ToolBar");
    toolbar_->set_icon(kToolBitmap);
    int image = 0;
    for (const ToolButton& button : kToolButtons) {
        AddToolButton(toolbar_, button.id, image++, std::string(LoadString(button.id)));
        if (button.separator_after) AddToolSeparator(toolbar_);
    }
    toolbar_->set_rect({0, 0, window_->width(), kToolButtonHeight});
}

void PlcEditorDialog::StartUp() {
    window_->set_icon(kWindowIcon);
    BuildToolBar();
    status_ = new StatusBar("StatusBar", window_, kStatusParts);
    status_->SetText(kStatusInfoPart, "", true);

    const GwRect window_rect = window_->rect();
    const GwRect edit_rect = edit_->rect();
    const GwRect list_rect = list_->rect();
    metrics_.status_height = window_rect.height - (list_rect.y + list_rect.height);
    metrics_.gap = list_rect.y - (edit_rect.y + edit_rect.height);
    metrics_.toolbar_band = kToolButtonHeight + 2 * metrics_.gap;
    edit_->LimitText(kMaxTextChars);
    modified_ = false;

    int generator = profile_.GetInt(profile_keys::kCodeGenerator, profile_keys::kVersion, kGeneratorV110);
    generator_ = generator >= 0 && generator < kGeneratorCount ? generator : kGeneratorV110;
    SetMemorySize(profile_.GetInt(profile_keys::kCodeGenerator, profile_keys::kMemorySize, kDefaultMemorySize));

    const std::string last_path = profile_.GetString(profile_keys::kMenu, profile_keys::kLastPath, kNoRecentFile);
    if (GwCore* recent = FindMenuItem(window_, ids::kCmdRecentFile)) {
        recent->set_text(last_path);
        recent->set_sensitive(last_path != kNoRecentFile);
    }

    // The device commands wait for the host to go online; the menu follows
    // the toolbar so that neither offers them before.
    EnableCommand(ids::kCmdSaveInDevice, true, true, false);
    EnableCommand(ids::kCmdReadFromDevice, true, true, false);
    SetGenerator(generator_);

    edit_->SetLogFont(EditorFontFromProfile(profile_));

    current_path_ = kNoFile;
    window_->start_timer(kStatusTimerMs);
    ready_ = true;
    Layout();
}

void PlcEditorDialog::Layout() {
    if (!IsOpen() || !ready_) return;
    const int cx = window_->width();
    const int cy = window_->height();
    toolbar_->set_rect({0, 0, cx, kToolButtonHeight});
    status_->PlaceAtBottom(cx, cy);
    status_->SetParts(StatusPartEdges(cx));
    const EditorLayout layout = LayoutEditor(cx, cy, metrics_);
    edit_->set_rect(layout.edit);
    list_->set_rect(layout.list);
}

void PlcEditorDialog::UpdateStatus() {
    if (!IsOpen()) return;
    if (!edit_->is_visible()) {
        status_->SetText(kStatusLinePart, "");
        return;
    }
    const EditBuffer& buffer = edit_->Buffer();
    const int32_t line = buffer.LineFromChar(buffer.SelStart()) + 1;
    status_->SetText(kStatusLinePart, platform::Format("%4ld", line));
    status_->SetText(kStatusGeneratorPart, kGeneratorLabels[generator_]);
    const std::string title = "PlcEdit [" + current_path_ + (modified_ ? "*]" : "]");
    if (title != shown_title_) {
        window_->set_title(title);
        shown_title_ = title;
    }
}

void PlcEditorDialog::EnableCommand(int id, bool menu, bool tool, bool on) {
    if (!IsOpen()) return;
    if (GwCore* item = menu ? FindMenuItem(window_, id) : nullptr) item->set_sensitive(on);
    if (GwCore* button = tool ? FindToolButton(window_, id) : nullptr) button->set_sensitive(on);
}

bool PlcEditorDialog::SetOnline(bool online) {
    online_ = online;
    EnableCommand(ids::kCmdSaveInDevice, true, true, online);
    EnableCommand(ids::kCmdReadFromDevice, true, true, online);
    return IsOpen();
}

void PlcEditorDialog::SetGenerator(int index) {
    if (index < 0 || index >= kGeneratorCount) return;
    generator_ = index;
    EnableCommand(ids::kCmdInsertProgram, true, true, index != kGeneratorV110);
}

void PlcEditorDialog::SetMemorySize(int words) {
    memory_size_ = words;
    generators_.v210.setMemorySize(words);
    generators_.v310.setMemorySize(words);
}

bool PlcEditorDialog::SetVersion(double version_number, int32_t array_length) {
    if (!(version_number > 0)) return false;
    SetGenerator(version_number < kFirstV210Version   ? kGeneratorV110
                 : version_number < kFirstV310Version ? kGeneratorV210
                                                      : kGeneratorV310);
    if (array_length > 0) SetMemorySize(array_length);
    return true;
}

int PlcEditorDialog::ShowMessage(const std::string& text, BoxButtons buttons, BoxIcon icon) {
    return ShowMessageBox(Window(), text, kBoxCaption, buttons, icon);
}

int PlcEditorDialog::OnTimer(GwCore*, GwEvent*, GwUD ud) {
    ud.pointer_as<PlcEditorDialog>()->UpdateStatus();
    return 1;
}

int PlcEditorDialog::OnResize(GwCore*, GwEvent*, GwUD ud) {
    ud.pointer_as<PlcEditorDialog>()->Layout();
    return 1;
}

int PlcEditorDialog::OnClose(GwCore*, GwEvent*, GwUD ud) {
    return ud.pointer_as<PlcEditorDialog>()->CloseWindow() ? 1 : 0;
}

int PlcEditorDialog::OnDestroy(GwCore* widget, GwEvent*, GwUD ud) {
    auto* self = ud.pointer_as<PlcEditorDialog>();
    if (widget == self->window_) self->ForgetWindow();
    return 1;
}

}  // namespace sindel

// Message boxes by number or text.
#include "app/services/message_box.h"

#include <cstring>
#include <string>

#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_message_box.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

struct BoxKind {
    const char* definition;  // window definition of the box
    const char* captionKey;  // caption in section "Titles"
    const char* ending;      // appended to a numbered text
    const char* answerLine;  // log line before the answer, or null
};

constexpr BoxKind kKinds[] = {
    {"x_ErrorBox", "ErrorBanner", "!", "ShowErrorMessage answer = "},
    {"x_WarningBox", "WarningBanner", "!", "ShowWarningMessage answer = "},
    {"x_InfoBox", "InfoBanner", "!", nullptr},
    {"x_QuestionBox", "QuestionBanner", "?", "ShowQuestionMessage answer = "},
};

// Callers pass only the four kinds; anything else is shown as an error box
// rather than read past the table.
const BoxKind& KindOf(int kind) { return kKinds[kind >= kErrorBox && kind <= kQuestionBox ? kind : kErrorBox]; }

// Re-entrance flags of the warning, info and question kinds; the error kind
// uses the program-wide ErrorBoxFlag, which the timer guard reads.
struct MessageBoxState {
    bool WarningOpen = false;
    bool InfoOpen = false;
    bool QuestionOpen = false;
};

MessageBoxState& State() {
    static MessageBoxState state;
    return state;
}

platform::ResetHook ResetState([] { State() = MessageBoxState(); });

bool& OpenFlag(int kind) {
    switch (kind) {
        case kWarningBox:
            return State().WarningOpen;
        case kInfoBox:
            return State().InfoOpen;
        case kQuestionBox:
            return State().QuestionOpen;
        default:
            return ErrorBoxFlag;
    }
}

// Modality of every box: modal over the whole application.
constexpr int kBoxModality = 2;
// Button set of the toolkit's own box: a single cancel button.
constexpr int kCancelButtonOnly = 0x10000;

// Largest text a box shows: the 512-byte buffers with their terminator.
constexpr size_t kMaxBoxText = kMessageTextSize - 1;

std::string MainMessage(int number) {
    char buffer[kMessageTextSize];
    const std::string key = platform::Format(kMainMessageKeyFormat, static_cast<unsigned>(number));
    return GetMessageText(buffer, kMainMessagesSection, key.c_str(), kMessageTextSize);
}

std::string Cut(std::string text, size_t length) {
    if (text.size() > length) text.resize(length);
    return text;
}

std::string ParaBaseErrorText(ParaBase* base) {
    ServicesHooks* hooks = GetServicesHooks();
    const char* text = hooks != nullptr && base != nullptr ? hooks->ParaBaseErrorText(base) : nullptr;
    return text != nullptr ? text : "";
}

ParaBase* ActiveParaBase() {
    ServicesHooks* hooks = GetServicesHooks();
    return hooks != nullptr ? hooks->ActiveParaBase() : nullptr;
}

void LogAnswer(int kind, bool answer) {
    if (const char* line = KindOf(kind).answerLine) TheDataLogger().WriteLine(std::string(line) + (answer ? "1" : "0"));
}

// Steps shared by every entry function: the re-entrance check, the box and
// the answer line. `busy` is what a request returns while its kind is open.
template <typename Show>
bool Enter(int kind, bool busy, Show show) {
    bool& open = OpenFlag(kind);
    if (open) return busy;
    open = true;
    const bool answer = show();
    LogAnswer(kind, answer);
    open = false;
    return answer;
}

bool Numbered(int kind, int number, ParaBase* base, GwCore* parent, bool busy) {
    return Enter(kind, busy, [&] { return ShowMessageByNumber(number, base, kind, parent); });
}

bool Text(int kind, const char* text, GwCore* parent) {
    return Enter(kind, true, [&] { return ShowMessageBox(text, kind, parent, nullptr); });
}

// The label of a box's quit button, in the message file under [Titles];
// without the key the lookup gives the key itself.
constexpr char kQuitTextKey[] = "QuitText";

// The toolkit's own box, for a kind whose window definition is missing.
int RunFallbackBox(const std::string& text, const std::string& caption, GwCore* parent) {
    char quit[kMessageTextSize];
    GetMessageText(quit, kTitlesSection, kQuitTextKey, kMessageTextSize);
    GwCore* main = GetMainWindow();
    GwPosition position = main != nullptr && GwRcMgr::is_valid_child(main) ? main->position() : GwPosition{};
    GwMessageBox box(caption, parent, position);
    box.set_modality(kBoxModality);
    box.set_buttons(kCancelButtonOnly);
    box.set_button_text(GwBUTTONBOX_CANCEL_TEXT, quit);
    box.set_bitmap("mb_stop");
    box.set_text(text);
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    const int result = box.go();
    box.destroy();
    return result;
}

}  // namespace

bool IsPositiveBoxResult(int resultCode) {
    return resultCode == 6 || resultCode == 8 || resultCode == 9 || resultCode == 10;
}

// Only ShowErrorMessageFor answers false while an error box is open; the
// other entry functions of the kind answer true.
bool ShowErrorMessage(int number, GwCore* parent) {
    return Numbered(kErrorBox, number, ActiveParaBase(), parent, true);
}
bool ShowErrorMessageFor(int number, ParaBase* paraBase, GwCore* parent) {
    return Numbered(kErrorBox, number, paraBase, parent, false);
}
bool ShowErrorTextBox(const char* text, GwCore* parent) { return Text(kErrorBox, text, parent); }
bool ShowErrorText(const char* text, GwCore* parent) { return ShowErrorTextBox(text, parent); }

bool ShowWarningMessage(int number, GwCore* parent) { return ShowWarningMessageFor(number, ActiveParaBase(), parent); }
bool ShowWarningMessageFor(int number, ParaBase* paraBase, GwCore* parent) {
    return Numbered(kWarningBox, number, paraBase, parent, true);
}
bool ShowWarningTextBox(const char* text, GwCore* parent) { return Text(kWarningBox, text, parent); }
bool ShowWarningText(const char* text, GwCore* parent) { return ShowWarningTextBox(text, parent); }

bool ShowInfoMessage(int number, GwCore* parent) { return ShowInfoMessageFor(number, ActiveParaBase(), parent); }
bool ShowInfoMessageFor(int number, ParaBase* paraBase, GwCore* parent) {
    return Numbered(kInfoBox, number, paraBase, parent, true);
}
void ShowInfoTextBox(const char* text, GwCore* parent) { Text(kInfoBox, text, parent); }
void ShowInfoText(const char* text, GwCore* parent) { ShowInfoTextBox(text, parent); }

bool ShowQuestionMessage(int number, GwCore* parent) {
    return ShowQuestionMessageFor(number, ActiveParaBase(), parent);
}
bool ShowQuestionMessageFor(int number, ParaBase* paraBase, GwCore* parent) {
    return Numbered(kQuestionBox, number, paraBase, parent, true);
}
bool ShowQuestionTextBox(const char* text, GwCore* parent) { return Text(kQuestionBox, text, parent); }
bool ShowQuestionText(const char* text, GwCore* parent) { return ShowQuestionTextBox(text, parent); }

bool IsMessageBoxOpen() { return ErrorBoxFlag || State().WarningOpen || State().InfoOpen || State().QuestionOpen; }

bool ShowMessageByNumber(int number, ParaBase* paraBase, int kind, GwCore* parent) {
    ServicesHooks* hooks = GetServicesHooks();
    std::string text;
    std::string caption;
    bool hasCaption = false;
    const char* busName = hooks != nullptr ? hooks->ActiveBusName() : nullptr;
    if (number == kBusErrorMessage && busName != nullptr) {
        caption = MainMessage(kBusErrorMessage) + " " + busName;
        const char* busError = hooks->ActiveBusErrorText();
        text = busError != nullptr ? busError : "";
        hasCaption = true;
    } else if (number == kBusErrorMessage) {
        text = MainMessage(kNoBusMessage);
    } else if (number == kParaBaseErrorMessage) {
        caption = MainMessage(kParaBaseErrorMessage);
        text = paraBase != nullptr ? ParaBaseErrorText(paraBase) : MainMessage(kNoParaBaseMessage);
        hasCaption = true;
    } else if (number == kWorkingBaseErrorMessage) {
        caption = MainMessage(kWorkingBaseErrorMessage);
        text = ParaBaseErrorText(hooks != nullptr ? hooks->WorkingParaBase() : nullptr);
        hasCaption = true;
    } else {
        text = MainMessage(number);
    }
    const std::string ending = KindOf(kind).ending;
    text = Cut(text, kMaxBoxText - ending.size()) + ending;
    caption = Cut(caption, kMaxBoxText);
    return ShowMessageBox(text.c_str(), kind, parent, hasCaption ? caption.c_str() : nullptr);
}

bool ShowMessageBox(const char* text, int kind, GwCore* parent, const char* caption) {
    const BoxKind& boxKind = KindOf(kind);
    const std::string message = Cut(text != nullptr ? text : "", kMaxBoxText);
    // Every timer guard refuses its work while a box is open: through the
    // modal flag and the bus-transfer flag, each lowered only by whoever
    // raised it.
    const bool raisedBusy = !BusTransferFlag;
    const bool raisedModal = !ModalFlag;
    BusTransferFlag = true;
    ModalFlag = true;
    MessageBoxOpenFlag = true;
    auto lowerFlags = [raisedBusy, raisedModal] {
        MessageBoxOpenFlag = false;
        if (raisedModal) ModalFlag = false;
        if (raisedBusy) BusTransferFlag = false;
    };

    char captionBuffer[kMessageTextSize];
    GetMessageText(captionBuffer, kTitlesSection, boxKind.captionKey, kMessageTextSize);
    const std::string title = caption != nullptr ? Cut(caption, kMaxBoxText) : std::string(captionBuffer);
    if (parent == nullptr || !GwRcMgr::is_valid_child(parent)) parent = GetMainWindow();
    if (parent != nullptr && !GwRcMgr::is_valid_child(parent)) parent = nullptr;

    if (!MessageBoxesEnabled) {
        lowerFlags();
        return true;
    }
    const int savedCursor = GwCore::global_cursor();
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    TheDataLogger().WriteEntry((parent != nullptr ? parent->identifier() : std::string()) + "-> " + title + " -> " +
                               message);
    int result = 0;
    if (GwCore* box = GwRcMgr::load(parent, boxKind.definition, 1)) {
        box->set_modality(kBoxModality);
        box->set_title(title);
        if (GwCore* child = box->child("Message")) child->set_text(message);
        if (GwCore* quit = box->child("Quit")) {
            char label[kMessageTextSize];
            GetMessageText(label, kTitlesSection, kQuitTextKey, kMessageTextSize);
            if (std::strcmp(label, kQuitTextKey) != 0) quit->set_label(label);
        }
        GwCore::set_global_cursor(GwCURSOR_ARROW);
        result = box->go();
        box->destroy();
    } else {
        result = RunFallbackBox(message, title, parent);
    }
    GwCore::set_global_cursor(savedCursor);
    lowerFlags();
    return IsPositiveBoxResult(result);
}

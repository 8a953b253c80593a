#include "toolkit/testdriver/gw_test_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>

#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace gwtest {

namespace {

// User events that one instant may run before Advance calls it an endless
// repost.
constexpr int kMaxRunsAtOneInstant = 10000;

struct FileAnswer {
    bool chosen;
    std::string path;
};

struct BoxAnswer {
    int result;
    std::function<void(const GwBoxRecord&)> while_open;
};

struct TimedAction {
    uint64_t due_us;
    uint64_t sequence;
    std::function<void()> action;
};

struct Script {
    std::deque<BoxAnswer> boxes;
    std::map<std::string, int> default_box;  // by kind; "" for all
    std::deque<ModalScript> modals;
    std::optional<int> default_modal;
    std::deque<FileAnswer> files;
    std::optional<std::optional<std::string>> default_file;
    std::function<void(const std::string&)> reporter;
    std::vector<TimedAction> timed;  // in due order
    uint64_t timed_sequence = 0;
};

// Observers attached in every test; the recorder first.
struct Recording {
    std::vector<GwObserver*> observers{GwRecorder::Observer()};
    std::function<GwPrintDialogAnswer(const GwPrintDialogRequest&)> print_dialogs;
};

Recording& R() {
    static Recording recording;
    return recording;
}

Script& S() {
    static Script script;
    return script;
}

class ScriptedUser : public GwInteraction {
public:
    int AnswerBox(const GwBoxRecord& box) override {
        auto& s = S();
        if (!s.boxes.empty()) {
            BoxAnswer answer = std::move(s.boxes.front());
            s.boxes.pop_front();
            if (answer.while_open) {
                GwDispatchGuard guard;
                answer.while_open(box);
            }
            return answer.result;
        }
        if (auto it = s.default_box.find(box.kind); it != s.default_box.end()) return it->second;
        if (auto it = s.default_box.find(""); it != s.default_box.end()) return it->second;
        Fail("unscripted " + box.kind + " box \"" + box.caption + "\": " + box.text);
        return GwRESULT_CANCEL;
    }

    void RunModal(GwCore* window) override {
        auto& s = S();
        if (s.modals.empty()) {
            if (s.default_modal) {
                window->end_modal(*s.default_modal);
            } else {
                Fail("unscripted modal run of \"" + window->name() + "\"");
                window->end_modal(GwRESULT_CANCEL);
            }
            return;
        }
        ModalScript script = std::move(s.modals.front());
        s.modals.pop_front();
        if (!script.window.empty() && script.window != window->name()) {
            Fail("modal run of \"" + window->name() + "\" where the script expected \"" + script.window + "\"");
            window->end_modal(GwRESULT_CANCEL);
            return;
        }
        GwDispatchGuard guard;  // the window stays readable while the script runs
        if (script.actions) script.actions(window);
        if (!window->is_alive() || window->modal_ended()) return;
        if (script.result) {
            window->end_modal(*script.result);
        } else {
            Fail("the script did not end the modal run of \"" + window->name() + "\"");
            window->end_modal(GwRESULT_CANCEL);
        }
    }

    bool ChooseFile(const GwFileRequest& request, std::string* path) override {
        auto& s = S();
        if (!s.files.empty()) {
            FileAnswer a = s.files.front();
            s.files.pop_front();
            *path = a.path;
            return a.chosen;
        }
        if (s.default_file) {
            if (!*s.default_file) return false;
            *path = **s.default_file;
            return true;
        }
        Fail("unscripted file selector \"" + request.title + "\" (" + request.id + ")");
        return false;
    }

    GwPrintDialogAnswer AnswerPrintDialog(const GwPrintDialogRequest& request) override {
        if (R().print_dialogs) return R().print_dialogs(request);
        Fail("unscripted print dialog");
        return GwPrintDialogAnswer{};
    }

    // The actions of At that are due, in due order; those they add wait for
    // the next call.
    bool ProcessEvents() override {
        auto& timed = S().timed;
        uint64_t now = platform::TheClock().NowUs();
        std::vector<TimedAction> due;
        while (!timed.empty() && timed.front().due_us <= now) {
            due.push_back(std::move(timed.front()));
            timed.erase(timed.begin());
        }
        for (auto& t : due) t.action();
        return !due.empty();
    }

    std::optional<uint64_t> NextDueUs() override {
        if (S().timed.empty()) return std::nullopt;
        return S().timed.front().due_us;
    }
};

ScriptedUser g_user;

void AttachRecording(bool on) {
    for (GwObserver* o : R().observers) on ? GwAttachObserver(o) : GwDetachObserver(o);
}

void Install() {
    S() = Script{};
    GwSetInteraction(&g_user);
    AttachRecording(true);
}

struct InstallAtLoad {
    InstallAtLoad() {
        GwSetInteraction(&g_user);
        AttachRecording(true);
        InstallKindScripts();
    }
} g_install;

platform::ResetHook ResetState([] { Install(); });

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return parts;
}

GwCore* FindAnywhere(const std::string& name) {
    for (GwCore* top : GwWidgetStore::Get().toplevel) {
        if (!top->is_alive()) continue;
        if (top->name() == name && !top->id_cleared()) return top;
        if (GwCore* found = top->child(name)) return found;
    }
    return nullptr;
}

}  // namespace

bool Refused(const Target& target, const std::string& action) {
    Fail(target.Describe() + " refused " + action);
    return false;
}

GwCore* Target::Resolve() const {
    if (widget_ != nullptr) {
        if (!GwRcMgr::is_valid_child(widget_)) {
            Fail("the widget is no longer valid");
            return nullptr;
        }
        return widget_;
    }
    return Get(path_);
}

std::string Target::Describe() const {
    if (widget_ != nullptr)
        return GwRcMgr::is_valid_child(widget_) ? "\"" + widget_->identifier() + "\"" : "a destroyed widget";
    return "\"" + path_ + "\"";
}

GwCore* Find(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    GwCore* w = FindAnywhere(parts.front());
    for (size_t i = 1; w != nullptr && i < parts.size(); ++i) w = w->child(parts[i]);
    return w;
}

GwCore* Get(const std::string& path) {
    GwCore* w = Find(path);
    if (w == nullptr) Fail("no widget \"" + path + "\"");
    return w;
}

bool PressKey(const Target& target, int key) {
    GwCore* w = target.Resolve();
    return w != nullptr && w->press_key(key);
}

bool Type(const Target& target, const std::string& text) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return false;
    if (auto* combo = dynamic_cast<GwCombo*>(w)) {
        if (!combo->is_editable() || !combo->is_sensitive()) return Refused(target, "typing");
        combo->set_text(combo->text() + text);
        GwEvent ev;
        combo->fire(GwCB_CHANGE, ev);
        return true;
    }
    auto* edit = As<GwEdit>(target, "an edit");
    if (edit == nullptr) return false;
    bool all = true;
    for (char c : text) {
        int key = c == '\n' ? GwKEY_RETURN : c == '\b' ? GwKEY_BACKSPACE : static_cast<unsigned char>(c);
        if (!GwRcMgr::is_valid_child(edit)) return false;
        all = edit->type_key(key) && all;
    }
    return all;
}

bool Replace(const Target& target, const std::string& text) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return false;
    if (auto* combo = dynamic_cast<GwCombo*>(w)) {
        combo->set_text(std::string());
        return Type(w, text);
    }
    auto* edit = As<GwEdit>(w, "an edit");
    if (edit == nullptr) return false;
    edit->select_all();
    if (text.empty()) return edit->type_key(GwKEY_BACKSPACE);
    return Type(w, text);
}

bool Click(const Target& target) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return false;
    if (auto* button = dynamic_cast<GwPushButton*>(w)) return button->click() || Refused(target, "a click");
    if (auto* toggle = dynamic_cast<GwToggle*>(w)) return toggle->click() || Refused(target, "a click");
    if (!w->is_sensitive() || !w->is_visible()) return Refused(target, "a click");
    GwEvent ev;
    w->fire(GwCB_ACTIVATE, ev);
    return true;
}

bool Toggle(const Target& target) {
    auto* toggle = As<GwToggle>(target, "a toggle");
    return toggle != nullptr && (toggle->click() || Refused(target, "a click"));
}

bool PressButton(const Target& target) {
    auto* button = As<GwPushButton>(target, "a push button");
    return button != nullptr && (button->press() || Refused(target, "a press"));
}

bool ReleaseButton(const Target& target) {
    auto* button = As<GwPushButton>(target, "a push button");
    return button != nullptr && (button->release() || Refused(target, "a release"));
}

bool Select(const Target& target, int index) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return false;
    if (auto* list = dynamic_cast<GwItemList*>(w))
        return list->user_select(index) || Refused(target, "selecting row " + std::to_string(index));
    GwToggle* item = nullptr;
    if (auto* group = dynamic_cast<GwRadioGroup*>(w)) item = group->item(index);
    if (auto* rows = dynamic_cast<GwToggleList*>(w)) item = rows->row(index);
    if (item == nullptr) {
        Fail(target.Describe() + " has no item " + std::to_string(index));
        return false;
    }
    return item->click() || Refused(target, "selecting item " + std::to_string(index));
}

bool SelectText(const Target& target, const std::string& text) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return false;
    int index = -1;
    if (auto* combo = dynamic_cast<GwCombo*>(w)) {
        index = combo->find(text);
    } else if (auto* list = dynamic_cast<GwMultiList*>(w)) {
        for (int i = 0; i < list->row_count() && index < 0; ++i)
            if (list->row_text(i) == text || list->cell(i, 0) == text) index = i;
    } else {
        Fail(target.Describe() + " is not a list or combo");
        return false;
    }
    if (index < 0) {
        Fail(target.Describe() + " has no row \"" + text + "\"");
        return false;
    }
    return Select(w, index);
}

bool DoubleClick(const Target& target, int row) {
    auto* list = As<GwItemList>(target, "a list");
    return list != nullptr && (list->user_activate(row) || Refused(target, "a double click"));
}

bool MoveSlider(const Target& target, double value) {
    auto* slider = As<GwSlider>(target, "a slider");
    return slider != nullptr && (slider->move_to(value) || Refused(target, "a move"));
}

int Fire(const Target& target, const std::string& event, GwEvent event_data) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return 0;
    GwCallbackType type = GwCallbackTypeFromName(event);
    bool bound = type != GwCB_NONE ? w->has_binding(type) : w->lookup_named_callback(event) != nullptr;
    if (!bound) {
        Fail(target.Describe() + " has no \"" + event + "\" binding");
        return 0;
    }
    return type != GwCB_NONE ? w->fire(type, event_data) : w->fire_named(event, event_data);
}

bool Close(const Target& target) {
    GwCore* w = target.Resolve();
    return w != nullptr && w->close();
}

bool ResizeWindow(const Target& window, GwDimension size) {
    GwCore* w = window.Resolve();
    return w != nullptr && (GwUserResizeWindow(w, size) || Refused(window, "resizing"));
}

bool LeaveField(const Target& field) {
    auto* edit = As<GwEdit>(field, "an edit");
    if (edit == nullptr) return false;
    edit->user_focus_out();
    return true;
}

bool OpenMenu(const Target& menu) {
    GwCore* w = menu.Resolve();
    return w != nullptr && (w->open_menu() || Refused(menu, "opening"));
}

bool Scroll(const Target& target, int first) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return false;
    if (auto* scrolled = dynamic_cast<GwScrolledContainer*>(w))
        return scrolled->user_scroll(first) || Refused(target, "scrolling");
    if (auto* list = dynamic_cast<GwItemList*>(w)) {
        if (!list->is_sensitive() || !list->is_visible() || first < 0 || first >= list->count())
            return Refused(target, "scrolling to " + std::to_string(first));
        list->set_first_visible(first);
        GwEvent ev;
        ev.value = list->first_visible();
        list->fire(GwCB_SCROLL, ev);
        return true;
    }
    Fail(target.Describe() + " does not scroll");
    return false;
}

void AnswerBox(int result) { S().boxes.push_back({result, nullptr}); }

void AnswerBox(int result, std::function<void(const GwBoxRecord& box)> while_open) {
    S().boxes.push_back({result, std::move(while_open)});
}

void SetDefaultBoxAnswer(int result, const std::string& kind) { S().default_box[kind] = result; }

void ScriptModal(ModalScript script) { S().modals.push_back(std::move(script)); }

void ScriptModal(const std::string& window, std::function<void(GwCore* window)> actions, std::optional<int> result) {
    ScriptModal(ModalScript{window, std::move(actions), result});
}

void AnswerModal(int result, const std::string& window) { ScriptModal({window, nullptr, result}); }

void SetDefaultModalResult(int result) { S().default_modal = result; }

void AnswerFile(const std::string& path) { S().files.push_back({true, path}); }

void CancelFile() { S().files.push_back({false, std::string()}); }

void SetDefaultFileAnswer(std::optional<std::string> path) { S().default_file = std::move(path); }

int UnusedAnswers() {
    auto& s = S();
    return static_cast<int>(s.boxes.size() + s.modals.size() + s.files.size() + s.timed.size());
}

void Advance(uint32_t ms) {
    platform::VirtualClock* clock = platform::TheVirtualClock();
    if (clock == nullptr) {
        Fail("Advance needs the virtual clock");
        return;
    }
    uint64_t target = clock->NowUs() + uint64_t{ms} * 1000;
    uint64_t instant = clock->NowUs();
    int runs_at_instant = 0;
    while (true) {
        std::optional<uint64_t> due = GwTimerScheduler::NextDueUs();
        if (!due || *due > target) break;
        clock->AdvanceToUs(*due);
        if (clock->NowUs() != instant) {
            instant = clock->NowUs();
            runs_at_instant = 0;
        } else if (++runs_at_instant > kMaxRunsAtOneInstant) {
            GwCore* w = GwTimerScheduler::NextUserEventWidget();
            Fail("Advance: " +
                 (w != nullptr ? "a user event of \"" + w->identifier() + "\"" : std::string("something")) +
                 " keeps posting itself at " + std::to_string(instant / 1000) + " ms without end");
            GwTimerScheduler::ClearTimers();
            return;
        }
        GwProcessPendingEvents();
    }
    clock->AdvanceToUs(target);
    GwProcessPendingEvents();
}

void At(uint32_t ms_from_now, std::function<void()> action) {
    auto& s = S();
    TimedAction t{platform::TheClock().NowUs() + uint64_t{ms_from_now} * 1000, ++s.timed_sequence, std::move(action)};
    auto at = std::upper_bound(s.timed.begin(), s.timed.end(), t, [](const TimedAction& a, const TimedAction& b) {
        return a.due_us < b.due_us || (a.due_us == b.due_us && a.sequence < b.sequence);
    });
    s.timed.insert(at, std::move(t));
}

void SetRecording(bool on) { AttachRecording(on); }

void AddRecordingObserver(GwObserver* observer) {
    auto& observers = R().observers;
    if (std::find(observers.begin(), observers.end(), observer) == observers.end()) observers.push_back(observer);
    GwAttachObserver(observer);
}

void SetPrintDialogScript(std::function<GwPrintDialogAnswer(const GwPrintDialogRequest&)> script) {
    R().print_dialogs = std::move(script);
}

std::string Text(const Target& target) {
    GwCore* w = target.Resolve();
    return w != nullptr ? w->text() : std::string();
}

bool IsEnabled(const Target& target) {
    GwCore* w = target.Resolve();
    return w != nullptr && w->is_sensitive();
}

bool IsVisible(const Target& target) {
    GwCore* w = target.Resolve();
    return w != nullptr && w->is_visible();
}

const std::vector<GwBoxRecord>& Boxes() { return GwRecorder::Boxes(); }

std::vector<GwEffect> Effects(const std::string& what) { return GwRecorder::EffectsOf(what); }

void SetFailureReporter(std::function<void(const std::string&)> reporter) { S().reporter = std::move(reporter); }

void Fail(const std::string& message) {
    if (S().reporter) {
        S().reporter(message);
    } else {
        ADD_FAILURE() << "toolkit test driver: " << message;
    }
}

}  // namespace gwtest

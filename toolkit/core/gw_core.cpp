#include "toolkit/core/gw_core.h"

#include <algorithm>

#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

// The "rect" attribute of a definition, or `if_missing`.
GwRect DefinitionRect(const GwDefinition& def, int language, const GwRect& if_missing) {
    const GwAttribute* a = def.find("rect", language);
    if (a == nullptr || a->values.size() != 4) return if_missing;
    return {static_cast<int>(GwDefinitionNumber(a->values[0], 0)),
            static_cast<int>(GwDefinitionNumber(a->values[1], 0)),
            static_cast<int>(GwDefinitionNumber(a->values[2], 10)),
            static_cast<int>(GwDefinitionNumber(a->values[3], 10))};
}

uint64_t NextSerial() {
    static uint64_t last = 0;
    return ++last;
}

}  // namespace

GwCore::GwCore(GwKind kind, const std::string& name, GwCore* parent)
    : kind_(kind), serial_(NextSerial()), name_(name), definition_name_(name) {
    if (parent != nullptr && !parent->alive_) parent = nullptr;
    GwWidgetStore::Get().Adopt(this, parent);
    GwNotifyCreated(this);
}

GwCore::~GwCore() {
    for (GwCore* c : children_) GwCoreDeleter()(c);
}

void GwCore::record(const std::string& what, const std::string& value) const {
    if (GwHasObservers()) GwRecorder::Record(what, identifier(), value);
}

void GwCore::notify(GwProperty property) {
    if (alive_) GwNotifyProperty(this, property);
}

void GwCore::notify_content(const GwContentChange& change) {
    if (alive_) GwNotifyContent(this, change);
}

std::string GwCore::identifier() const {
    std::string id = name_;
    for (const GwCore* p = parent_; p != nullptr; p = p->parent_) id = p->name_ + "." + id;
    return id;
}

const std::vector<std::string>* GwCore::attribute(const std::string& attr_name) const {
    if (definition_node_ == nullptr || !alive_) return nullptr;
    const GwAttribute* a = definition_node_->find(attr_name, language_);
    return a != nullptr ? &a->values : nullptr;
}

std::string GwCore::attribute_text(const std::string& attr_name) const {
    const auto* values = attribute(attr_name);
    return values != nullptr && !values->empty() ? values->front() : std::string();
}

// --- navigation -------------------------------------------------------------

GwCore* GwCore::frame() const {
    const GwCore* w = this;
    while (!w->is_frame() && w->parent_ != nullptr) w = w->parent_;
    return const_cast<GwCore*>(w);
}

GwCore* GwCore::owner() const {
    GwCore* f = frame();
    return f->parent_ != nullptr ? f->parent_->frame() : nullptr;
}

GwCore* GwCore::find_descendant(const std::string& wanted) const {
    for (GwCore* c : children_) {
        if (c->disconnected_) continue;
        if (!c->id_cleared_ && c->name_ == wanted) return c;
        if (GwCore* found = c->find_descendant(wanted)) return found;
    }
    return nullptr;
}

GwCore* GwCore::child(const std::string& wanted) const { return alive_ ? find_descendant(wanted) : nullptr; }

GwCore* GwCore::frame_child(const std::string& wanted) const { return frame()->child(wanted); }

GwCore* GwCore::child(int index) const {
    if (index < 0 || index >= static_cast<int>(children_.size())) return nullptr;
    return children_[index];
}

int GwCore::walk_through_children(int (*fn)(GwCore*, GwUD), GwUD ud) {
    if (!alive_ || fn == nullptr) return 1;
    GwDispatchGuard guard;
    // A snapshot: callbacks may add or destroy widgets during the walk.
    for (GwCore* w : subtree(false)) {
        if (!w->alive_) continue;
        if (fn(w, ud) == 0) return 0;
    }
    return 1;
}

std::vector<GwCore*> GwCore::subtree(bool with_self) {
    std::vector<GwCore*> all;
    std::vector<GwCore*> stack;
    if (with_self) {
        stack.push_back(this);
    } else {
        stack.assign(children_.rbegin(), children_.rend());
    }
    while (!stack.empty()) {
        GwCore* w = stack.back();
        stack.pop_back();
        all.push_back(w);
        stack.insert(stack.end(), w->children_.rbegin(), w->children_.rend());
    }
    return all;
}

bool GwCore::is_descendant_of(const GwCore* ancestor) const {
    for (const GwCore* w = this; w != nullptr; w = w->parent_)
        if (w == ancestor) return true;
    return false;
}

// --- texts --------------------------------------------------------------------

void GwCore::set_text(const std::string& text) { store_text(text, text); }

void GwCore::store_text(const std::string& text, const std::string& shown) {
    if (!alive_) return;
    text_ = text;
    notify(GwProperty::kText);
    record("text", shown);
}

void GwCore::set_title(const std::string& title) {
    title_ = title;
    notify(GwProperty::kTitle);
    record("title", title);
}

void GwCore::set_help_text(const std::string& text) {
    help_text_ = text;
    notify(GwProperty::kHelpText);
}

void GwCore::show_help_text() {
    if (alive_) record("help text", help_text_);
}

// --- visibility ---------------------------------------------------------------

bool GwCore::is_visible() const {
    if (!alive_) return false;
    for (const GwCore* w = this; w != nullptr; w = w->parent_) {
        if (!w->shown_) return false;
        if (w->is_frame()) return true;
    }
    return true;
}

void GwCore::collect_realised(std::vector<GwCore*>* out, bool newly_only) {
    if (!newly_only || !created_) out->push_back(this);
    for (GwCore* c : children_)
        if (c->shown_ && c->alive_) c->collect_realised(out, newly_only);
}

void GwCore::fire_create_and_show() {
    GwDispatchGuard guard;
    std::vector<GwCore*> fresh;
    collect_realised(&fresh, true);
    for (GwCore* w : fresh) {
        if (!w->alive_ || w->created_) continue;
        w->created_ = true;
        w->OnCreate();
        if (!w->alive_) continue;
        GwEvent ev;
        w->fire(GwCB_CREATE, ev);
        if (!alive_) return;
    }
    std::vector<GwCore*> shown;
    collect_realised(&shown, false);
    for (GwCore* w : shown) {
        if (!w->alive_ || !w->is_visible()) continue;
        GwEvent ev;
        w->fire(GwCB_SHOW, ev);
        if (!alive_) return;
    }
    for (GwCore* w : fresh) {
        if (w->alive_ && w->is_visible()) w->OnFirstShown();
        if (!alive_) return;
    }
}

void GwCore::show() {
    if (!alive_) return;
    shown_ = true;
    notify(GwProperty::kShown);
    record("show", "");
    if (is_frame()) raise();
    if (is_visible()) fire_create_and_show();
}

void GwCore::hide() {
    if (!alive_) return;
    GwDispatchGuard guard;
    bool was_visible = is_visible();
    std::vector<GwCore*> hidden;
    if (was_visible) collect_realised(&hidden, false);
    shown_ = false;
    notify(GwProperty::kShown);
    record("hide", "");
    if (GwWidgetStore::Get().focus != nullptr && GwWidgetStore::Get().focus->is_descendant_of(this))
        GwWidgetStore::Get().focus = nullptr;
    for (GwCore* w : hidden) {
        if (!w->alive_) continue;
        GwEvent ev;
        w->fire(GwCB_HIDE, ev);
    }
    if (alive_ && modal_running_) modal_ended_ = true;
}

void GwCore::set_enabled(bool on) {
    if (!alive_) return;
    enabled_ = on;
    notify(GwProperty::kEnabled);
    record("enable", on ? "1" : "0");
}

bool GwCore::is_sensitive() const {
    if (!alive_) return false;
    for (const GwCore* w = this; w != nullptr; w = w->parent_)
        if (!w->enabled_) return false;
    return true;
}

int GwCore::state() const {
    int bits = 0;
    if (alive_ && enabled_) bits |= GwSTATE_BIT_ENABLED;
    if (is_visible() && created_) bits |= GwSTATE_BIT_VISIBLE;
    return bits;
}

void GwCore::set_focus() {
    if (!alive_) return;
    auto& store = GwWidgetStore::Get();
    GwCore* old = store.focus;
    if (old == this) return;
    store.focus = this;
    if (old != nullptr && store.IsLive(old)) old->notify(GwProperty::kFocus);
    notify(GwProperty::kFocus);
    record("focus", "");
    raise();
    GwDispatchGuard guard;
    if (old != nullptr && store.IsLive(old)) {
        GwEvent lost;
        lost.value = 0;
        old->fire(GwCB_FOCUS, lost);
        if (store.IsLive(old)) old->OnFocusLost();
    }
    if (alive_) {
        GwEvent gained;
        gained.value = 1;
        fire(GwCB_FOCUS, gained);
    }
}

bool GwCore::has_focus() const { return alive_ && GwWidgetStore::Get().focus == this; }

GwCore* GwCore::focus_widget() { return GwWidgetStore::Get().focus; }

void GwCore::beep() { record("beep", ""); }

// --- geometry -------------------------------------------------------------------

void GwCore::set_rect(const GwRect& r) {
    if (!alive_) return;
    rect_ = r;
    if (frame_state_ == GwSTATE_NORMAL) normal_rect_ = r;
    keep_client_area_size();
    notify(GwProperty::kRect);
    GwDispatchGuard guard;
    GwEvent ev;
    fire(GwCB_RESIZE, ev);
    if (alive_) OnResized();
}

GwRect GwCore::definition_rect() const {
    if (definition_node_ == nullptr) return rect_;
    return DefinitionRect(*definition_node_, language_, {0, 0, 10, 10});
}

GwCore* GwCore::client_area() const {
    if (!alive_ || !is_frame() || definition_node_ == nullptr) return nullptr;
    GwCore* first = first_control();
    if (first == nullptr || !first->alive_ || first->definition_node_ == nullptr) return nullptr;
    // Both rectangles given: a first control that merely keeps the starting
    // size of a frame that has none is no client area.
    if (definition_node_->find("rect", language_) == nullptr ||
        first->definition_node_->find("rect", first->language_) == nullptr)
        return nullptr;
    const GwRect own = definition_rect();
    return first->definition_rect() == GwRect{0, 0, own.width, own.height} ? first : nullptr;
}

GwDimension GwCore::least_usable_size() const {
    const GwRect own = definition_rect();
    return {own.width / 2, own.height / 2};
}

void GwCore::keep_client_area_size() {
    const GwDimension size = dimension();
    if (GwCore* area = client_area()) {
        if (area->dimension() != size) area->set_dimension(size);
    } else if (parent_ != nullptr && parent_->client_area() == this && parent_->dimension() != size) {
        parent_->set_dimension(size);
    }
}

int GwCore::text_width(const std::string& text) const { return static_cast<int>(text.size()) * GwCHAR_WIDTH_UNITS; }

// --- frames ---------------------------------------------------------------------

void GwCore::set_frame_state(int state, const char* shown) {
    if (!alive_) return;
    frame_state_ = state;
    notify(GwProperty::kFrameState);
    record("frame state", shown);
}

void GwCore::maximize() {
    if (!alive_) return;
    if (frame_state_ == GwSTATE_NORMAL) normal_rect_ = rect_;
    set_frame_state(GwSTATE_MAXIMIZED, "maximized");
    GwDimension screen = GwScreenSize();
    set_rect({0, 0, screen.width, screen.height});
}

void GwCore::minimize() {
    if (!alive_) return;
    if (frame_state_ == GwSTATE_NORMAL) normal_rect_ = rect_;
    set_frame_state(GwSTATE_MINIMIZED, "minimized");
}

void GwCore::restore() {
    if (!alive_) return;
    int before = frame_state_;
    set_frame_state(GwSTATE_NORMAL, "normal");
    if (before == GwSTATE_NORMAL) return;
    GwDispatchGuard guard;
    if (rect_ != normal_rect_) set_rect(normal_rect_);
    if (alive_ && before == GwSTATE_MINIMIZED && is_visible()) fire_create_and_show();
}

void GwCore::center() {
    if (!alive_) return;
    record("center", "");
    // A frame centres on the screen, or on its owner's frame; any other
    // widget in its parent.
    GwDimension area = GwScreenSize();
    GwPosition origin;
    if (!is_frame()) {
        if (parent_ != nullptr) area = parent_->dimension();
    } else if (GwCore* o = owner()) {
        area = o->dimension();
        origin = o->position();
    }
    set_rect({origin.x + (area.width - rect_.width) / 2,
              origin.y + (area.height - rect_.height) / 2,
              rect_.width,
              rect_.height});
}

void GwCore::raise() {
    if (!alive_) return;
    GwCore* f = frame();
    auto& stacking = GwWidgetStore::Get().stacking;
    if (!stacking.empty() && stacking.back() == f) return;
    stacking.erase(std::remove(stacking.begin(), stacking.end(), f), stacking.end());
    stacking.push_back(f);
    f->notify(GwProperty::kStacking);
}

bool GwCore::set_parent(GwCore* new_parent) {
    auto& store = GwWidgetStore::Get();
    if (!alive_ || destroying_) return false;
    if (new_parent != nullptr &&
        (!store.IsLive(new_parent) || new_parent->destroying_ || new_parent->is_descendant_of(this)))
        return false;
    store.Detach(this);
    store.Adopt(this, new_parent);
    notify(GwProperty::kParent);
    record("parent", new_parent != nullptr ? new_parent->identifier() : std::string());
    return true;
}

// --- keys -------------------------------------------------------------------

bool GwCore::press_key(int key) {
    if (!alive_ || !is_sensitive()) return false;
    GwDispatchGuard guard;
    GwEvent ev;
    ev.key = key;
    if (fire(GwCB_KEY, ev) == 0 || !alive_) return false;
    bool taken = KindKey(key);
    if (key == GwKEY_F1 && alive_) {
        GwEvent help;
        help.key = key;
        fire(GwCB_HELP, help);
        taken = true;
    }
    return taken;
}

bool GwCore::KindKey(int key) {
    if (key != GwKEY_RETURN && key != GwKEY_ESCAPE) return false;
    return frame()->FrameKey(key);
}

bool GwCore::FrameKey(int key) {
    if (!is_frame()) return false;
    // Escape closes dialogs only; a key binding may have hidden it already.
    if (key == GwKEY_ESCAPE) return is_class(GwDIALOGFRAME_CLASS) && is_visible() && close();
    // Return clicks the default button, with its result code in a modal run.
    auto* button = dynamic_cast<GwPushButton*>(default_button());
    return button != nullptr && button->click();
}

void GwCore::set_waiting(bool on) {
    if (!alive_) return;
    waiting_ = on;
    notify(GwProperty::kWaiting);
    record("waiting", on ? "1" : "0");
}

GwCore* GwCore::default_button() const {
    if (!alive_) return nullptr;
    if (default_button_ != nullptr) return default_button_;
    if (!default_button_name_.empty()) return child(default_button_name_);
    return nullptr;
}

void GwCore::set_default_button(GwCore* button) {
    default_button_ = button;
    default_button_name_.clear();
}

void GwCore::set_icon(const std::string& icon_name) {
    icon_ = icon_name;
    notify(GwProperty::kIcon);
    record("icon", icon_name);
}

int GwCore::go() {
    if (!alive_) return result_;
    GwDispatchGuard guard;
    result_ = 0;
    modal_running_ = true;
    modal_ended_ = false;
    show();
    if (alive_ && !modal_ended_) {
        std::string box_kind = attribute_text("box");
        if (!box_kind.empty()) {
            GwBoxRecord box;
            box.kind = box_kind;
            box.caption = title_;
            GwCore* message = child("Message");
            box.text = message != nullptr ? message->text() : std::string();
            box.parent = parent_ != nullptr ? parent_->identifier() : std::string();
            box.window = definition_name_;
            box.answer = GwGetInteraction().AnswerBox(box);
            GwRecorder::RecordBox(box);
            // A box whose button the user clicked on the screen has ended its
            // run already; ending it again would end the run of its owner.
            if (alive_ && !modal_ended_) end_modal(box.answer);
        } else {
            GwGetInteraction().RunModal(this);
            if (alive_ && !modal_ended_) end_modal(GwRESULT_CANCEL);
        }
    }
    modal_running_ = false;
    return result_;
}

void GwCore::end_modal(int result) {
    if (!alive_) return;
    // The innermost window in a modal run that holds this widget; else its frame.
    GwCore* run = frame();
    for (GwCore* w = this; w != nullptr; w = w->parent_) {
        if (w->modal_running_ && !w->modal_ended_) {
            run = w;
            break;
        }
    }
    run->result_ = result;
    run->modal_ended_ = true;
}

bool GwCore::close() {
    if (!alive_) return false;
    GwDispatchGuard guard;
    GwCore* f = frame();
    GwEvent ev;
    if (f->fire(GwCB_CLOSE, ev) == 0) {
        f->record("close refused", "");
        return false;
    }
    if (!f->alive_) return true;
    if (f->modal_running_) {
        f->result_ = GwRESULT_CANCEL;
        f->modal_ended_ = true;
    }
    if (f->close_mode_ == GwCLOSE_DESTROY) {
        f->destroy();
    } else {
        f->stop_timers_within();
        f->hide();
    }
    return true;
}

void GwCore::mark_dead() {
    auto& store = GwWidgetStore::Get();
    for (GwCore* c : children_) c->mark_dead();
    if (!alive_) return;
    GwNotifyDestroyed(this);
    alive_ = false;
    store.live.erase(this);
    if (store.focus == this) store.focus = nullptr;
    store.stacking.erase(std::remove(store.stacking.begin(), store.stacking.end(), this), store.stacking.end());
    GwTimerScheduler::Cancel(this);
    bindings_.clear();
    if (modal_running_) modal_ended_ = true;
    on_destroyed();
}

void GwCore::destroy() {
    if (!alive_ || destroying_) return;
    GwDispatchGuard guard;
    destroying_ = true;
    for (GwCore* w : subtree(true)) {
        if (!w->alive_) continue;
        GwEvent ev;
        w->fire(GwCB_DESTROY, ev);
    }
    if (!alive_) return;
    record("destroy", "");
    mark_dead();
    auto& store = GwWidgetStore::Get();
    store.Detach(this);
    store.Bury(this);
}

// --- appearance and help ----------------------------------------------------------

void GwCore::set_foreground(const std::string& colour) {
    foreground_ = colour;
    notify(GwProperty::kColour);
    record("foreground", colour);
}

void GwCore::set_background(const std::string& colour) {
    background_ = colour;
    notify(GwProperty::kColour);
    record("background", colour);
}

void GwCore::set_tip_text(const std::string& text) {
    tip_text_ = text;
    notify(GwProperty::kToolTip);
}

GwFontInfo GwCore::font_info() const {
    GwFontInfo info;
    GwRcMgr::font(font_, &info);
    return info;
}

void GwCore::set_font(const std::string& name) {
    font_ = name;
    notify(GwProperty::kFont);
}

bool GwCore::open_menu() {
    if (!alive_ || !is_sensitive()) return false;
    if (!is_class(GwPOPUP_CLASS) && !is_visible()) return false;
    GwDispatchGuard guard;
    record("menu open", "");
    if (!created_) {
        created_ = true;
        OnCreate();
        GwEvent create;
        if (alive_) fire(GwCB_CREATE, create);
    }
    GwEvent ev;
    if (alive_) fire(GwCB_SHOW, ev);
    return alive_;
}

void GwCore::show_help(int help_kind) {
    record("help", std::to_string(help_kind) + " " + help_file_ + " " + help_topic_);
}

// --- timers ---------------------------------------------------------------------

void GwCore::start_timer(uint32_t interval_ms) {
    if (!alive_) return;
    GwTimerScheduler::Start(this, interval_ms);
    record("timer start", std::to_string(timer_interval_ms_));
}

void GwCore::start_timer() { start_timer(definition_timer_ms_); }

void GwCore::stop_timer() {
    if (!alive_ || !timer_running_) return;
    GwTimerScheduler::Cancel(this);
    record("timer stop", "");
}

void GwCore::stop_timers_within() {
    for (GwCore* widget : subtree(true)) widget->stop_timer();
}

// --- callbacks ------------------------------------------------------------------

const GwCore::Binding* GwCore::binding(const std::string& event) const {
    auto it = bindings_.find(event);
    return it != bindings_.end() && it->second.bound() ? &it->second : nullptr;
}

GwCallback GwCore::lookup_callback(GwCallbackType type) const {
    const char* event = GwCallbackTypeName(type);
    if (event == nullptr) return nullptr;
    const Binding* b = binding(event);
    return b != nullptr ? b->fn : nullptr;
}

void GwCore::bind(GwCallbackType type, GwCallbackFunction fn) {
    const char* event = GwCallbackTypeName(type);
    if (event == nullptr || !alive_) return;
    Binding b;
    b.function = std::move(fn);
    bindings_[event] = std::move(b);
}

bool GwCore::has_binding(GwCallbackType type) const {
    const char* event = GwCallbackTypeName(type);
    return event != nullptr && binding(event) != nullptr;
}

void GwCore::set_callback(GwCallbackType type, GwCallback fn, const GwUD& ud) {
    const char* event = GwCallbackTypeName(type);
    if (event == nullptr || !alive_) return;
    bindings_[event] = Binding{fn, ud, std::string(), nullptr};
}

GwCallback GwCore::lookup_named_callback(const std::string& event) const {
    const Binding* b = binding(event);
    return b != nullptr ? b->fn : nullptr;
}

void GwCore::set_named_callback(const std::string& event, GwCallback fn, const GwUD& ud) {
    if (!alive_) return;
    bindings_[event] = Binding{fn, ud, std::string(), nullptr};
}

std::string GwCore::callback_name(GwCallbackType type) const {
    const char* event = GwCallbackTypeName(type);
    if (event == nullptr) return std::string();
    auto it = bindings_.find(event);
    return it != bindings_.end() ? it->second.callback_name : std::string();
}

int GwCore::fire(GwCallbackType type, GwEvent& event, int if_unbound) {
    const char* event_name = GwCallbackTypeName(type);
    if (event_name == nullptr) return if_unbound;
    event.type = type;
    return fire_named(event_name, event, if_unbound);
}

int GwCore::fire_named(const std::string& event_name, GwEvent& event, int if_unbound) {
    if (!alive_) return if_unbound;
    const Binding* b = binding(event_name);
    if (b == nullptr) return if_unbound;
    if (event.type == GwCB_NONE) event.name = event_name;
    return call_binding(*b, this, event);
}

int GwCore::fire_for(GwCallbackType type, GwCore* target, GwEvent& event, int if_unbound) {
    const char* event_name = GwCallbackTypeName(type);
    if (!alive_ || event_name == nullptr) return if_unbound;
    const Binding* b = binding(event_name);
    if (b == nullptr) return if_unbound;
    event.type = type;
    return call_binding(*b, target, event);
}

int GwCore::call_binding(const Binding& b, GwCore* target, GwEvent& event) {
    event.widget = target;
    // Copies: the callback may rebind or destroy the widget.
    GwDispatchGuard guard;
    if (b.fn == nullptr) {
        GwCallbackFunction function = b.function;
        return function(target, &event);
    }
    GwCallback fn = b.fn;
    GwUD ud = b.ud;
    return fn(target, &event, ud);
}

void GwCore::post_user_event(int user1, int user2) {
    if (!alive_) return;
    GwTimerScheduler::PostUserEvent(this, user1, user2);
}

void GwCore::peek_event() { GwProcessPendingEvents(); }

int GwCore::global_cursor() { return GwWidgetStore::Get().cursor; }

void GwCore::set_global_cursor(int cursor) {
    GwWidgetStore::Get().cursor = cursor;
    GwNotifyProperty(nullptr, GwProperty::kCursor);
    GwRecorder::Record("cursor",
                       "",
                       cursor == GwCURSOR_WAIT    ? "wait"
                       : cursor == GwCURSOR_ARROW ? "arrow"
                                                  : std::to_string(cursor));
}

// --- copying ----------------------------------------------------------------------

void GwCore::copy_state_to(GwCore* copy) const {
    copy->definition_name_ = definition_name_;
    copy->definition_ = definition_;
    copy->definition_node_ = definition_node_;
    copy->language_ = language_;
    copy->text_ = text_;
    copy->title_ = title_;
    copy->aux_text_ = aux_text_;
    copy->help_text_ = help_text_;
    copy->user_data_ = user_data_;
    copy->user_type_ = user_type_;
    copy->shown_ = shown_;
    copy->enabled_ = enabled_;
    copy->editable_ = editable_;
    copy->focusable_ = focusable_;
    copy->rect_ = rect_;
    copy->decoration_ = decoration_;
    copy->modality_ = modality_;
    copy->close_mode_ = close_mode_;
    copy->default_button_name_ = default_button_name_;
    copy->icon_ = icon_;
    copy->foreground_ = foreground_;
    copy->background_ = background_;
    copy->tip_text_ = tip_text_;
    copy->font_ = font_;
    copy->help_file_ = help_file_;
    copy->help_topic_ = help_topic_;
    copy->definition_timer_ms_ = definition_timer_ms_;
    copy->bindings_ = bindings_;
}

void GwCore::copy_tree_into(GwCore* copy) const {
    copy_state_to(copy);
    for (const GwCore* c : children_) {
        if (!c->alive_) continue;
        GwCore* child_copy = GwMakeWidget(c->kind_, c->name_, copy);
        c->copy_tree_into(child_copy);
    }
}

GwCore* GwCore::copy_to(GwCore* new_parent) const {
    if (!alive_) return nullptr;
    if (new_parent != nullptr && !GwWidgetStore::Get().IsLive(new_parent)) return nullptr;
    GwCore* copy = GwMakeWidget(kind_, name_, new_parent);
    copy_tree_into(copy);
    GwAnnounceCreatedWidgets();
    return copy;
}

// --- definition -------------------------------------------------------------------

void GwCore::apply_definition(const GwDefinition& def, int language) {
    text_ = def.text("text", language, text_);
    title_ = def.text("title", language, title_);
    aux_text_ = def.text("aux_text", language, aux_text_);
    help_text_ = def.text("help_text", language, help_text_);
    help_file_ = def.text("help_file", language, help_file_);
    help_topic_ = def.text("help_topic", language, help_topic_);
    font_ = def.text("font", language, font_);
    foreground_ = def.text("foreground", language, foreground_);
    background_ = def.text("background", language, background_);
    tip_text_ = def.text("tip", language, tip_text_);
    icon_ = def.text("icon", language, icon_);
    user_type_ = def.text("user_type", language, user_type_);
    default_button_name_ = def.text("default_button", language, default_button_name_);
    if (const GwAttribute* a = def.find("user_data", language)) user_data_ = GwUD(a->values.front());
    shown_ = def.flag("visible", language, true);
    enabled_ = def.flag("enabled", language, true);
    editable_ = def.flag("editable", language, true);
    focusable_ = def.flag("focusable", language, true);
    rect_ = DefinitionRect(def, language, rect_);
    normal_rect_ = rect_;
    modality_ = def.number("modality", language, modality_);
    close_mode_ = def.number("close_mode", language, close_mode_);
    decoration_ = def.number("decoration", language, decoration_);
    int timer = def.number("timer", language, 0);
    definition_timer_ms_ = timer > 0 ? static_cast<uint32_t>(timer) : 0;
}

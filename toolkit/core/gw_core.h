// GwCore: the generic widget of the headless toolkit. Every window and
// control is a GwCore (or a class of its kind derived from it) in a tree
// owned by the toolkit. Widgets are handles: after `destroy` the object stays
// readable as an empty shell for a while, so GwRcMgr::is_valid_child can
// answer for a stale pointer without touching freed memory, and the memory
// is not handed to a new widget while stale pointers may still be around.
// Program code never deletes a widget; `destroy` ends it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_kind.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/core/gw_ud.h"

struct GwDefinition;

class GwCore {
public:
    GwCore(GwKind kind, const std::string& name, GwCore* parent);
    GwCore(const GwCore&) = delete;
    GwCore& operator=(const GwCore&) = delete;

    // --- identity ---------------------------------------------------------
    GwKind kind() const { return kind_; }
    bool is_class(GwKind kind) const { return GwKindIsA(kind_, kind); }
    bool is_frame() const { return GwKindIsFrame(kind_); }
    const std::string& name() const { return name_; }
    // Renaming rebinds: lookups find the widget under its new name.
    void set_name(const std::string& name) {
        name_ = name;
        id_cleared_ = false;
    }
    // After this, lookups by name no longer find the widget.
    void clear_id() { id_cleared_ = true; }
    bool id_cleared() const { return id_cleared_; }
    // Dotted names from the top-level window ("MainWindow.MainContainer.State1"),
    // for log lines and recorded effects.
    std::string identifier() const;
    // Name of the definition the widget was loaded from (its own name for
    // widgets made in code).
    const std::string& definition_name() const { return definition_name_; }
    // The definition's attribute of that name for the current language
    // (attributes the toolkit does not interpret stay readable here); null
    // when absent or for widgets made in code.
    const std::vector<std::string>* attribute(const std::string& name) const;
    std::string attribute_text(const std::string& name) const;
    // Whether the widget still exists (false after destroy).
    bool is_alive() const { return alive_; }
    // A number no other widget of the process has, before or after (what a
    // GwRef tells its widget by, whatever the address).
    uint64_t serial() const { return serial_; }

    // --- navigation -------------------------------------------------------
    GwCore* parent() const { return parent_; }
    // The nearest frame at or above the widget; the top-level widget when
    // there is no frame.
    GwCore* frame() const;
    // The widget a frame belongs to (the frame of its parent), or null.
    GwCore* owner() const;
    // First descendant of that exact name (depth first, in order); null
    // when there is none. frame_child searches from the widget's frame.
    GwCore* child(const std::string& name) const;
    GwCore* frame_child(const std::string& name) const;
    // The same, typed: null when there is none or it is of another class.
    template <typename T>
    T* child(const std::string& name) const {
        return dynamic_cast<T*>(child(name));
    }
    template <typename T>
    T* frame_child(const std::string& name) const {
        return dynamic_cast<T*>(frame_child(name));
    }
    GwCore* child(int index) const;
    int child_count() const { return static_cast<int>(children_.size()); }
    const std::vector<GwCore*>& children() const { return children_; }
    GwCore* first_control() const { return child(0); }
    // Calls fn on every descendant, depth first; stops when fn returns 0 and
    // then returns 0, else 1.
    int walk_through_children(int (*fn)(GwCore* child, GwUD ud), GwUD ud);
    // True when `ancestor` is this widget or one of its ancestors.
    bool is_descendant_of(const GwCore* ancestor) const;
    // Moves the widget (with its subtree) to the end of another parent's
    // children; null makes it a top-level window. Refused (false, nothing
    // changed) for a destroyed widget or parent and for a parent inside the
    // widget's own subtree.
    bool set_parent(GwCore* parent);

    // --- texts ------------------------------------------------------------
    virtual std::string text() const { return text_; }
    virtual void set_text(const std::string& text);
    // Buttons and labels call their text a label.
    std::string label() const { return text(); }
    void set_label(const std::string& text) { set_text(text); }
    const std::string& title() const { return title_; }
    void set_title(const std::string& title);
    const std::string& aux_text() const { return aux_text_; }
    void set_aux_text(const std::string& text) { aux_text_ = text; }
    // The widget's short help ("help_text" in a definition) and its display
    // as the user sees it (recorded as "help text").
    const std::string& help_text() const { return help_text_; }
    void set_help_text(const std::string& text);
    void show_help_text();

    // --- user data --------------------------------------------------------
    const GwUD& user_data() const { return user_data_; }
    void set_user_data(const GwUD& ud) { user_data_ = ud; }
    // The user type atom ("ParaChanged" or empty).
    const std::string& user_type() const { return user_type_; }
    void set_user_type(const std::string& atom) { user_type_ = atom; }

    // --- visibility, enablement, focus ------------------------------------
    // The first show of a widget fires its create callback and those of its
    // descendants (never inside load), then show callbacks; every show fires
    // show callbacks again. Hiding a window in a modal run ends the run.
    void show();
    void hide();
    // Shown itself and, up to its frame, every ancestor shown too.
    bool is_visible() const;
    // The widget's own show flag.
    bool is_shown() const { return shown_; }
    void set_considered(bool on) { on ? show() : hide(); }
    void enable() { set_enabled(true); }
    void disable() { set_enabled(false); }
    void set_sensitive(bool on) { set_enabled(on); }
    bool is_enabled() const { return enabled_; }
    // Enabled itself and every ancestor.
    bool is_sensitive() const;
    // Bit 0 enabled, bit 1 realised and visible.
    int state() const;
    void set_focus();
    bool has_focus() const;
    static GwCore* focus_widget();
    void set_editable(bool on) { editable_ = on; }
    bool is_editable() const { return editable_; }
    void set_focusable(bool on) { focusable_ = on; }
    bool is_focusable() const { return focusable_; }
    // A key as the user presses it on this widget: the key binding runs first
    // and refuses the key with 0; then the kind handles it (edits type, lists
    // activate the selected row on Return, frames click the default button on
    // Return and dialogs close on Escape); F1 that was not refused fires the
    // help binding. Returns whether the key was taken.
    bool press_key(int key);
    void beep();

    // --- geometry ---------------------------------------------------------
    // Every set counts as a relayout and fires the resize callback, also
    // when the value does not change.
    GwRect rect() const { return rect_; }
    void set_rect(const GwRect& r);
    GwPosition position() const { return {rect_.x, rect_.y}; }
    void set_position(const GwPosition& p) { set_rect({p.x, p.y, rect_.width, rect_.height}); }
    GwDimension dimension() const { return {rect_.width, rect_.height}; }
    void set_dimension(const GwDimension& d) { set_rect({rect_.x, rect_.y, d.width, d.height}); }
    // The rectangle the widget's definition gives it (its current one for a
    // widget made in code).
    GwRect definition_rect() const;
    // A frame's client area: its first control when the definitions place it
    // at the frame's origin with the frame's own size (both rectangles
    // given). The two keep one size:
    // resizing either resizes the other, so the client area's size is the
    // window's. Null when the frame has none.
    GwCore* client_area() const;
    // The least size at which a frame stays usable: half its definition's
    // size in each direction.
    GwDimension least_usable_size() const;
    int width() const { return rect_.width; }
    int height() const { return rect_.height; }
    void set_width(int w) { set_rect({rect_.x, rect_.y, w, rect_.height}); }
    void set_height(int h) { set_rect({rect_.x, rect_.y, rect_.width, h}); }
    void move(int x, int y) { set_rect({x, y, rect_.width, rect_.height}); }
    // Width of a text in the widget's font (fixed headless metrics: every
    // character is GwCHAR_WIDTH_UNITS wide).
    int text_width(const std::string& text) const;

    // --- frames -----------------------------------------------------------
    // On the virtual screen (GwScreenSize): maximising fills it, restoring
    // gives back the rectangle from before, and both fire resize; restoring
    // a minimised frame shows it again (show callbacks).
    void maximize();
    void minimize();
    void restore();
    int frame_state() const { return frame_state_; }
    int decoration() const { return decoration_; }
    void set_decoration(int bits) { decoration_ = bits; }
    void set_modality(int modality) { modality_ = modality; }
    int modality() const { return modality_; }
    void set_close_mode(int mode) { close_mode_ = mode; }
    int close_mode() const { return close_mode_; }
    // Centres the frame on the screen (a child frame on its owner); fires
    // resize.
    void center();
    // Puts the widget's frame on top of the top-level windows and makes it
    // the active window; showing a frame and focusing a widget raise too.
    void raise();
    // The frame's waiting state (disabled, busy cursor) around outside work.
    void set_waiting(bool on);
    bool is_waiting() const { return waiting_; }
    void set_document_option(int value) { document_option_ = value; }
    int document_option() const { return document_option_; }
    GwCore* default_button() const;
    void set_default_button(GwCore* button);
    void set_icon(const std::string& name);
    const std::string& icon() const { return icon_; }

    // Runs the widget's window modally: shows it and returns its result when
    // a callback, a button with a result code or the test script ends the
    // run. A message-box definition is answered as a box.
    int go();
    int result() const { return result_; }
    bool in_modal_run() const { return modal_running_; }
    // Whether the current modal run has been ended (by end_modal, a close,
    // a hide or destroy).
    bool modal_ended() const { return modal_ended_; }
    // Ends the modal run of the innermost window in a run that holds the
    // widget (its frame when none is running) with a result code.
    void end_modal(int result);
    // A close request as by the user: the close callback may refuse it by
    // returning 0; else the close mode decides (hide, destroy) and a modal
    // run ends with GwRESULT_CANCEL. Returns whether the window closed.
    bool close();
    // Ends the widget and its descendants: destroy callbacks, timers
    // cancelled, no longer found or valid. Safe to call twice.
    void destroy();

    // --- appearance -------------------------------------------------------
    // Colours by name ("green", "DarkSlateGrey", "default") or "#rrggbb".
    void set_foreground(const std::string& colour);
    void set_background(const std::string& colour);
    const std::string& foreground() const { return foreground_; }
    const std::string& background() const { return background_; }
    void set_tip_text(const std::string& text);
    const std::string& tip_text() const { return tip_text_; }
    // A font by its definition-database name whose value is "Face,points"
    // (or such a text itself); see GwRcMgr::font.
    void set_font(const std::string& name);
    const std::string& font() const { return font_; }
    // The font resolved through the definition database ("Face,points"),
    // as device contexts resolve theirs; an empty face when none is set.
    GwFontInfo font_info() const;

    // --- help -------------------------------------------------------------
    const std::string& help_file() const { return help_file_; }
    const std::string& help_topic() const { return help_topic_; }
    void set_help_file(const std::string& f) { help_file_ = f; }
    void set_help_topic(const std::string& t) { help_topic_ = t; }
    // Shows the toolkit's own help of the widget (recorded) with a kind.
    void show_help(int kind);

    // --- menus ------------------------------------------------------------
    // The user opens a menu (or a popup is shown for him): recorded as "menu
    // open"; its create binding runs the first time, its show binding every
    // time, so the program can fill it (a window list). A popup opens while
    // hidden; any other menu only when visible and enabled.
    bool open_menu();

    // --- timer ------------------------------------------------------------
    // One periodic timer per widget; its callback is the widget's "timer"
    // binding. Restarting replaces the period. Timers run only from the event
    // pump, keep running while hidden and end with the widget; a close
    // request that hides the window stops those inside it.
    void start_timer(uint32_t interval_ms);
    // Starts with the definition's "timer" interval.
    void start_timer();
    void stop_timer();
    // Stops the timers of the widget and of every widget inside it: a window
    // that is closed (hidden or destroyed) leaves none running.
    void stop_timers_within();
    uint32_t timer_interval() const { return timer_interval_ms_; }
    bool is_timer_running() const { return timer_running_; }

    // --- callbacks and events ---------------------------------------------
    GwCallback lookup_callback(GwCallbackType type) const;
    void set_callback(GwCallbackType type, GwCallback fn, const GwUD& ud = GwUD());
    // Bindings of named (control) events.
    GwCallback lookup_named_callback(const std::string& event) const;
    void set_named_callback(const std::string& event, GwCallback fn, const GwUD& ud = GwUD());
    // Binds a callable (a dialog built in code keeps its state in it).
    void bind(GwCallbackType type, GwCallbackFunction fn);
    bool has_binding(GwCallbackType type) const;
    // Name under which the binding was made in the definition ("" when none
    // or set in code).
    std::string callback_name(GwCallbackType type) const;
    // Fires a binding with the event; returns the callback's result, or
    // `if_unbound` when there is no callback.
    int fire(GwCallbackType type, GwEvent& event, int if_unbound = 1);
    int fire_named(const std::string& event_name, GwEvent& event, int if_unbound = 1);
    // Fires this widget's binding but hands `target` to the callback as its
    // widget (a list's row-fill callback receives the row).
    int fire_for(GwCallbackType type, GwCore* target, GwEvent& event, int if_unbound = 1);
    // Queues a user event for the widget; it runs from the event pump.
    void post_user_event(int user1, int user2);
    // Lets the toolkit run what is pending (queued events, due timers).
    void peek_event();

    // --- cursor -------------------------------------------------------------
    static int global_cursor();
    static void set_global_cursor(int cursor);

    // --- copying ------------------------------------------------------------
    // Makes a deep copy of the widget (names, texts, states, bindings) as a
    // child of `new_parent`.
    GwCore* copy_to(GwCore* new_parent) const;

    // Called by the resource manager after making the widget from its
    // definition: kind classes read their own attributes here.
    virtual void apply_definition(const GwDefinition& def, int language);

protected:
    virtual ~GwCore();
    // Runs at the widget's first show, before its create callback; classes
    // made in code put their set-up here.
    virtual void OnCreate() {}
    // Runs at the widget's first show, after its create and show callbacks
    // (a drawing widget exposes itself here).
    virtual void OnFirstShown() {}
    // Runs after every geometry set, after the resize callback.
    virtual void OnResized() {}
    // Runs when the widget has lost the focus, after its focus callback.
    virtual void OnFocusLost() {}
    // The kind's own handling of a key the key binding let through; true
    // when taken.
    virtual bool KindKey(int key);
    // Kind classes copy their own state into a copy made by copy_to.
    virtual void copy_state_to(GwCore* copy) const;
    // Kind classes drop their content when the widget is destroyed.
    virtual void on_destroyed() {}
    // Stores the text and records `shown` as what the user sees.
    void store_text(const std::string& text, const std::string& shown);
    // Records one visible effect of this widget.
    void record(const std::string& what, const std::string& value) const;
    // Tells the observers that a property changed.
    void notify(GwProperty property);
    void notify_content(const GwContentChange& change);

private:
    friend struct GwWidgetStore;
    friend struct GwCoreDeleter;
    struct Binding {
        GwCallback fn = nullptr;
        GwUD ud;
        std::string callback_name;
        GwCallbackFunction function;  // bound in code; used when fn is null
        bool bound() const { return fn != nullptr || function != nullptr; }
    };

    void set_enabled(bool on);
    // Gives a frame's client area the frame's size, or the frame its client
    // area's size, whichever of the two was just set.
    void keep_client_area_size();
    void set_frame_state(int state, const char* shown);
    // Return and Escape as a frame handles them.
    bool FrameKey(int key);
    void fire_create_and_show();
    void collect_realised(std::vector<GwCore*>* out, bool newly_only);
    // The widget's descendants (and itself first, when asked), depth first.
    std::vector<GwCore*> subtree(bool with_self);
    void mark_dead();
    GwCore* find_descendant(const std::string& name) const;
    void set_binding(const std::string& event, const Binding& b) { bindings_[event] = b; }
    const Binding* binding(const std::string& event) const;
    static int call_binding(const Binding& b, GwCore* target, GwEvent& event);
    void copy_tree_into(GwCore* copy) const;

    GwKind kind_;
    uint64_t serial_;
    std::string name_;
    std::string definition_name_;
    std::shared_ptr<const GwDefinition> definition_;
    const GwDefinition* definition_node_ = nullptr;
    int language_ = 0;
    bool id_cleared_ = false;
    bool alive_ = true;
    bool destroying_ = false;
    bool disconnected_ = false;
    GwCore* parent_ = nullptr;
    std::vector<GwCore*> children_;  // owned

    std::string text_;
    std::string title_;
    std::string aux_text_;
    std::string help_text_;
    GwUD user_data_;
    std::string user_type_;
    bool shown_ = true;
    bool created_ = false;
    bool enabled_ = true;
    bool editable_ = true;
    bool focusable_ = true;
    GwRect rect_{0, 0, 10, 10};
    int frame_state_ = GwSTATE_NORMAL;
    GwRect normal_rect_{0, 0, 10, 10};  // the rectangle restore gives back
    int decoration_ = GwDECORATION_MOVABLE | GwDECORATION_SIZABLE;
    int modality_ = 0;
    int close_mode_ = GwCLOSE_HIDE;
    bool waiting_ = false;
    int document_option_ = 0;
    GwRef<> default_button_;
    std::string default_button_name_;
    std::string icon_;
    std::string foreground_ = "default";
    std::string background_ = "default";
    std::string tip_text_;
    std::string font_;
    std::string help_file_;
    std::string help_topic_;

    bool modal_running_ = false;
    bool modal_ended_ = false;
    int result_ = 0;

    bool timer_running_ = false;
    bool timer_in_callback_ = false;
    uint32_t timer_interval_ms_ = 0;
    uint32_t definition_timer_ms_ = 0;
    uint64_t timer_due_us_ = 0;
    uint64_t timer_sequence_ = 0;

    std::map<std::string, Binding> bindings_;

    friend class GwRcMgr;
    friend class GwTimerScheduler;
    friend void GwApplyBindings(GwCore* widget, const GwDefinition& def);
};

// Deletes widgets for the toolkit; program code never deletes a widget.
struct GwCoreDeleter {
    void operator()(GwCore* widget) const { delete widget; }
};

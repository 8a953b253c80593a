// The screen renderer: it follows the toolkit's widget model as an observer
// and shows every widget as a Qt widget, and it is the installed interaction,
// so the user's input reaches the model through the model's own entry points
// and Qt's event loop runs the modal windows. The model is the only source of
// truth; the renderer keeps nothing but the map from model widgets to their
// Qt counterparts.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class QAction;
class QDialog;
class QEventLoop;
class QMenu;

namespace screen {

class Adapter;

// Height of the tab row of a tab book.
constexpr int kTabRowHeight = 24;

// Sets a flag for a scope and restores it.
class FlagScope {
public:
    explicit FlagScope(bool& flag, bool value = true) : flag_(flag), old_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

// What stands for one model widget: a Qt widget, or a menu entry (an action,
// with the submenu it opens for a menu).
struct Shown {
    QPointer<QWidget> widget;
    QPointer<QAction> action;
    QPointer<QMenu> menu;
    // Qt widget the model widget's children go into (a frame's client area).
    QPointer<QWidget> inner;
    // What makes and follows the widget (null for menu entries).
    const Adapter* adapter = nullptr;
};

class Screen : public GwObserver, public GwInteraction {
public:
    Screen();
    ~Screen() override;

    // --- GwObserver ------------------------------------------------------
    void WidgetCreated(GwCore* widget) override;
    void WidgetDestroyed(GwCore* widget) override;
    void PropertyChanged(GwCore* widget, GwProperty property) override;
    void ContentChanged(GwCore* widget, const GwContentChange& change) override;
    void DrawingChanged(GwCore* widget) override;
    void EffectNoted(const GwEffect& effect) override;

    // --- GwInteraction ---------------------------------------------------
    int AnswerBox(const GwBoxRecord& box) override;
    void RunModal(GwCore* window) override;
    bool ChooseFile(const GwFileRequest& request, std::string* path) override;
    GwPrintDialogAnswer AnswerPrintDialog(const GwPrintDialogRequest& request) override;
    bool ProcessEvents() override;

    // The Qt counterpart of a model widget (null when it has none).
    const Shown* Find(const GwCore* widget) const;
    const std::map<GwCore*, Shown>& All() const { return shown_; }
    // The model widget of a Qt widget (null when none).
    GwCore* ModelOf(const QWidget* widget) const;
    // Runs a modal window of the model in a Qt event loop of its own, which
    // ends when the model ends the run (a callback, a close, a hide, the
    // window's end).
    void RunModalLoop(GwCore* window);
    // Runs a dialog of the renderer's own; its timers keep running.
    int RunDialog(QDialog& dialog);
    // Brings the Qt side up to date with the model widget.
    void Sync(GwCore* widget);
    // Whether the renderer is applying the model to the screen (Qt signals
    // that follow are not the user's).
    bool Syncing() const { return syncing_ > 0; }
    // While alive, the renderer applies the model: Qt signals are its own.
    class Applying {
    public:
        Applying();
        ~Applying();
        Applying(const Applying&) = delete;
        Applying& operator=(const Applying&) = delete;
    };
    // Program code opens a popup the renderer shows itself (the model's
    // "menu open" then shows nothing more).
    class OpeningPopup : public FlagScope {
    public:
        OpeningPopup() : FlagScope(Instance()->openingPopup_) {}
    };

    static Screen* Instance();
    // Where the middle of a docking container starts, beside its panes:
    // its other children lie there.
    QPoint Middle(const GwCore* container) const;
    // Where a model widget's Qt widget lies in its parent: the model's
    // rectangle, below a tab row or beside the panes, and as wide as its
    // text needs on this screen's font.
    QRect Place(GwCore* widget, QWidget* q) const;
    // The Qt widget a model widget's Qt widget goes into.
    QWidget* ParentWidgetFor(GwCore* widget);

    // Docking panes (screen_docking.cpp).
    QWidget* CreateDockingFrame(GwCore* widget);
    void SyncDockingFrame(GwCore* widget, QWidget* q);
    void LayoutDockingAreas(GwCore* container);

private:
    // Whenever Qt's loop is about to wait: the toolkit's timers are armed
    // and the modal loops whose run the model ended are left.
    void BeforeWait();
    void EndFinishedModals();
    void ArmPump();
    void Pump();
    void Create(GwCore* widget);
    void CreateWidget(GwCore* widget);
    void SyncCommon(GwCore* widget, QWidget* q);
    void SyncStacking();
    void PlaceDockingContent(GwCore* widget);
    // Menus, their entries and popups (screen_menus.cpp): actions of a
    // menu bar or menu rather than widgets.
    static bool IsMenuEntry(const GwCore* widget);
    void CreateMenuEntry(GwCore* widget);
    void CreatePopup(GwCore* popup);
    void ConnectMenuEntry(GwCore* widget, const Shown& shown);
    void SyncMenuEntry(GwCore* widget, const Shown& shown);
    void ShowPopup(GwCore* popup);
    GwCore* FromIdentifier(const std::string& identifier) const;

    std::map<GwCore*, Shown> shown_;
    std::map<const QWidget*, GwCore*> models_;
    struct ModalRun {
        GwRef<> window;
        QEventLoop* loop;
    };
    std::vector<ModalRun> modals_;
    std::map<GwCore*, QPoint> middles_;
    QTimer pumpTimer_;
    int syncing_ = 0;
    bool inPump_ = false;
    bool inProcessEvents_ = false;
    bool openingPopup_ = false;
};

}  // namespace screen

#include "app/mainwindow/docking_manager.h"

#include <memory>
#include <utility>

#include "app/main/app_context.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kNewFrameRegion = GwDOCK_LEFT;
// Regions in the order their frames are saved.
constexpr int kSavedRegions[] = {GwDOCK_LEFT, GwDOCK_RIGHT, GwDOCK_TOP, GwDOCK_BOTTOM};
constexpr char kSplitterUserData[] = "splitter";
constexpr char kTogglePrefix[] = "Ti";

// The toggle follows the frame: the user may close a frame by its own button.
GwCallbackFunction FrameShownOrHidden(GwRef<GwToggleItem> toggle, int value) {
    return [toggle, value](GwCore*, GwEvent*) {
        if (toggle != nullptr) toggle->set_value(value);
        return 1;
    };
}

GwCallbackFunction ToggleChanged(GwRef<> frameRef) {
    return [frameRef](GwCore* widget, GwEvent*) {
        GwCore* frame = frameRef;
        auto* toggle = dynamic_cast<GwToggleItem*>(widget);
        if (frame == nullptr || toggle == nullptr) return 1;
        if (toggle->value() == 1) {
            frame->show();
        } else {
            frame->hide();
        }
        return 1;
    };
}

bool ReadRectangle(const GwProfile& profile, const char* key, GwRect& rect) {
    return profile.read_rectangle(key, rect.x, rect.y, rect.width, rect.height);
}

}  // namespace

DockingManager* SetDockingManager(std::unique_ptr<DockingManager> manager) {
    return App().SetDockingManager(
        AppContext::DockingOwner(manager.release(), [](DockingManager* ended) { delete ended; }));
}

DockingManager::DockingManager(GwCore* mainWindow, const char* workArea, const char* viewMenu,
                               const char* dockingTemplates, const char* stateTemplates)
    : mainWindow_(mainWindow), workAreaName_(workArea), viewMenuName_(viewMenu) {
    GwCore* oldArea = mainWindow_ != nullptr ? mainWindow_->child(workAreaName_) : nullptr;
    if (oldArea != nullptr) {
        auto* container = new GwDockingContainer(oldArea->name(), oldArea->parent(), oldArea->rect());
        oldArea->destroy();
        container->set_border(false);
        auto* normal = new GwContainer(kNormalContainerName, container, GwRect{10, 10, 20, 20});
        normal->set_border(false);
        normal->set_background("#808080");
    }
    dockingTemplates_ = GwRcMgr::load(nullptr, dockingTemplates, 1);
    stateTemplates_ = GwRcMgr::load(nullptr, stateTemplates, 1);
}

DockingManager::~DockingManager() = default;

GwDockingContainer* DockingManager::Container() const {
    return mainWindow_ != nullptr ? dynamic_cast<GwDockingContainer*>(mainWindow_->child(workAreaName_)) : nullptr;
}

void DockingManager::CreateDockingFrames() {
    if (dockingTemplates_ == nullptr) return;
    GwCore* panes = dockingTemplates_->child(0);
    if (panes == nullptr) return;
    for (GwCore* pane : panes->children()) {
        GwDockingFrame* frame = MakeFrame(pane);
        if (frame == nullptr) continue;
        frame->set_splitter(pane->user_data().string() == kSplitterUserData);
        const bool shown = LoadFrameLayout(frame) != 0 || !UserStateFlag;
        if (shown) frame->show();
        AddToggle(frame, shown);
    }
    if (GwCore* view = mainWindow_ != nullptr ? mainWindow_->child(viewMenuName_) : nullptr) {
        (new GwMenuItem("", view))->show();
    }
}

bool DockingManager::OpenDockingFrame(const char* name, bool forceShow) {
    if (stateTemplates_ == nullptr || name == nullptr) return false;
    GwCore* panes = stateTemplates_->child(0);
    GwCore* pane = nullptr;
    if (panes != nullptr) {
        for (GwCore* candidate : panes->children()) {
            GwCore* content = candidate->child(0);
            if (content != nullptr && content->name() == name) pane = candidate;
        }
    }
    GwDockingFrame* frame = pane != nullptr ? MakeFrame(pane) : nullptr;
    if (frame == nullptr) return false;
    const bool shown = LoadFrameLayout(frame) != 0 || forceShow;
    if (shown) frame->show();
    AddToggle(frame, shown);
    return true;
}

void DockingManager::CloseDockingFrame(const char* name) {
    if (mainWindow_ == nullptr || name == nullptr) return;
    GwCore* frame = mainWindow_->child(name);
    if (frame == nullptr) return;
    frame->destroy();
    if (GwCore* view = mainWindow_->child(viewMenuName_)) {
        if (GwCore* toggle = view->child(std::string(kTogglePrefix) + name)) toggle->destroy();
    }
}

int DockingManager::LoadFrameLayout(GwDockingFrame* frame) {
    GwProfile* profile = MainProfile();
    if (frame == nullptr || profile == nullptr || !profile->section_exists(frame->name().c_str())) return 0;
    profile->select_section(frame->name().c_str());
    const int visible = profile->read_int("visible");
    GwRect attachedRect = frame->attached_rect();
    GwRect standaloneRect = frame->standalone_rect();
    const bool hasAttached = ReadRectangle(*profile, "attached_rect", attachedRect);
    const bool hasStandalone = ReadRectangle(*profile, "standalone_rect", standaloneRect);
    const int alignment = profile->read_int("alignment");
    const int attached = profile->read_int("attached");
    const int placement = profile->read_int("placement");
    frame->set_placement(placement);
    if (hasAttached) frame->set_attached_rect(attachedRect);
    if (hasStandalone) frame->set_standalone_rect(standaloneRect);
    frame->set_alignment(alignment);
    frame->set_attached(attached != 0);
    return visible;
}

void DockingManager::SaveLayout() {
    GwDockingContainer* container = Container();
    GwProfile* profile = MainProfile();
    if (container == nullptr || profile == nullptr) return;
    for (int number : kSavedRegions) {
        GwDockingRegion* region = container->region(number);
        if (region == nullptr) continue;
        for (GwCore* child : region->children()) {
            auto* frame = dynamic_cast<GwDockingFrame*>(child);
            if (frame == nullptr || !frame->is_alive()) continue;
            profile->select_section(frame->name().c_str(), true);
            const bool visible = frame->is_visible();
            profile->write_int("visible", visible ? 1 : 0);
            if (!visible) continue;
            const GwRect a = frame->attached_rect();
            const GwRect s = frame->standalone_rect();
            profile->write_rectangle("attached_rect", a.x, a.y, a.width, a.height);
            profile->write_rectangle("standalone_rect", s.x, s.y, s.width, s.height);
            profile->write_int("alignment", frame->alignment());
            profile->write_int("attached", frame->is_attached() ? 1 : 0);
            profile->write_int("placement", frame->placement());
        }
    }
}

GwDockingFrame* DockingManager::MakeFrame(GwCore* paneTemplate) {
    GwDockingContainer* container = Container();
    GwCore* region = container != nullptr ? container->region(kNewFrameRegion) : nullptr;
    GwCore* content = paneTemplate != nullptr ? paneTemplate->child(0) : nullptr;
    if (region == nullptr || content == nullptr) return nullptr;
    if (auto* box = dynamic_cast<GwContainer*>(content)) box->set_border(false);
    auto* frame = new GwDockingFrame(region, content->name(), content->rect());
    frame->copy(content);
    frame->set_user_data(paneTemplate->user_data());
    if (!paneTemplate->title().empty()) frame->set_text(paneTemplate->title());
    return frame;
}

void DockingManager::AddToggle(GwDockingFrame* frame, bool checked) {
    GwCore* view = mainWindow_ != nullptr ? mainWindow_->child(viewMenuName_) : nullptr;
    if (view == nullptr) return;
    auto* toggle = new GwToggleItem(kTogglePrefix + frame->name(), view);
    if (frame->text().empty()) return;
    toggle->set_text(frame->text());
    toggle->bind(GwCB_CHANGE, ToggleChanged(frame));
    toggle->set_value(checked ? 1 : 0);
    toggle->show();
    frame->bind(GwCB_SHOW, FrameShownOrHidden(toggle, 1));
    frame->bind(GwCB_HIDE, FrameShownOrHidden(toggle, 0));
}

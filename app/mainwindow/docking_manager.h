// The main window's docking work area: tool panes made from the template
// windows "DockingTemplates" (at start-up) and "StateTemplates" (by name, for
// the active device), each with a toggle "Ti<frame>" in the "View" menu, and
// their layout kept in the main profile in one section per frame.
#pragma once

#include <memory>
#include <string>

#include "toolkit/core/gw_ref.h"

class GwCore;
class GwDockingContainer;
class GwDockingFrame;

inline constexpr char kWorkAreaName[] = "WorkArea";
inline constexpr char kViewMenuName[] = "View";
inline constexpr char kDockingTemplatesName[] = "DockingTemplates";
inline constexpr char kStateTemplatesName[] = "StateTemplates";
// The empty container put into the docking container.
inline constexpr char kNormalContainerName[] = "NormalerContainer";

class DockingManager {
public:
    // Replaces the main window's child `workArea` by a docking container of
    // the same name, parent and rectangle, and loads the template windows.
    // The layout lives in the services' main profile.
    DockingManager(GwCore* mainWindow, const char* workArea = kWorkAreaName, const char* viewMenu = kViewMenuName,
                   const char* dockingTemplates = kDockingTemplatesName,
                   const char* stateTemplates = kStateTemplatesName);
    ~DockingManager();
    DockingManager(const DockingManager&) = delete;
    DockingManager& operator=(const DockingManager&) = delete;

    // The frames of "DockingTemplates", once at start-up: shown when their
    // stored layout says so, or always while UserStateFlag is clear.
    void CreateDockingFrames();
    // The frame of the "StateTemplates" pane `name`; shown when its stored
    // layout says so or `forceShow`. False when there is no such pane.
    bool OpenDockingFrame(const char* name, bool forceShow);
    // Ends the frame `name` and its toggle.
    void CloseDockingFrame(const char* name);
    // Applies the frame's stored layout; its "visible" value, 0 without a
    // section.
    int LoadFrameLayout(GwDockingFrame* frame);
    // Writes every frame's layout into the main profile (regions 8, 16, 1,
    // 2); the caller saves the file.
    void SaveLayout();

    GwDockingContainer* Container() const;

private:
    GwDockingFrame* MakeFrame(GwCore* paneTemplate);
    void AddToggle(GwDockingFrame* frame, bool checked);

    GwRef<> mainWindow_;
    std::string workAreaName_;
    std::string viewMenuName_;
    GwRef<> dockingTemplates_;
    GwRef<> stateTemplates_;
};

// The program's docking manager is made by the start-up over the main frame
// and ended after its run; the application context (`App()`) holds it.
// Takes `manager` as the program's one (ending the one before); null ends it.
// Returns the manager now held.
DockingManager* SetDockingManager(std::unique_ptr<DockingManager> manager);

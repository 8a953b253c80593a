// The state of the one parameter editor window: the edited base and how it is
// edited, the keypad-group records of its tree, the list source and the search
// criteria, the children of its window and the dialogs it opened.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class DeviceSetupContext;
class GwCore;
class GwMultiList;
class GwToggle;
class GwTree;
class ParaBase;
struct ParameterEntry;

// Slots of the keypad-group table; a base that reports more groups has the
// first 128 in the tree and the group lists.
inline constexpr int kMaxKeypadGroupRecords = 128;
inline constexpr int kListColumns = 7;
// Where the editor list takes its parameters from.
inline constexpr int kSourceKeypadGroup = 0;
inline constexpr int kSourceSearch = 1;
inline constexpr int kSourceEmpty = 2;
inline constexpr int kSourceUserGroup = 3;
// Poll record of the list timer: maximum, interval at 9600 baud, minimum.
inline constexpr uint32_t kListPollMaximumMs = 100000;
inline constexpr uint32_t kListPollWeightMs = 400;
inline constexpr uint32_t kListPollMinimumMs = 150;
inline constexpr uint32_t kFirstTickMs = 500;

struct KeypadGroupRecord {
    char Name[20] = {};
    char MenuText[128] = {};
    int32_t GroupNumber = 0;
};

struct ParameterEditorState {
    ParameterEditorState();
    ~ParameterEditorState();
    ParameterEditorState(const ParameterEditorState&) = delete;
    ParameterEditorState& operator=(const ParameterEditorState&) = delete;

    std::array<KeypadGroupRecord, kMaxKeypadGroupRecords> Groups{};
    uint16_t GroupCount = 0;
    uint16_t LastGroup = 0;
    uint16_t GroupIndex = 0;
    int Source = kSourceKeypadGroup;
    int PreviousSource = kSourceKeypadGroup;
    int KeypadGroup = 0;
    int OnlyEditable = 0;
    int CyclicUpdate = 0;
    ParaBase* Base = nullptr;
    DeviceSetupContext* Context = nullptr;
    std::unique_ptr<DeviceSetupContext> OwnContext;  // Offline and File mode
    // Online, the editor works on the active device's setup context, which
    // an activation of the device replaces: takes the present one (and its
    // base) when it is another.
    void FollowActiveContext();
    uint8_t ValueTextOption = 0;
    bool WholeList = false;
    bool Initialised = false;
    int UserGroup = 0;
    std::string DialogName = "ParaEdit";
    ParameterEntry* Selected = nullptr;
    int SelectedElement = 0;
    bool DialogEditable = false;

    // Search criteria and the search window.
    int16_t SearchSCGroup = -1;
    int16_t SearchKPGroup = -1;
    char SearchName[6] = {};
    char SearchNumber[4] = {};
    bool SearchConfirmed = false;
    int IsNumberState = 0;
    int IsNameState = 0;
    int IsKPGroupState = 0;
    int IsSCGroupState = 0;
    GwRef<> SearchWindow;
    bool FirstSearchShow = true;
    bool SearchListUsed = false;

    // Children of the editor window.
    GwRef<> Window;
    GwRef<GwMultiList> ParaList;
    GwRef<GwTree> GroupTree;
    GwRef<> ParaGroup;
    GwRef<GwToggle> OnlyEditablePara;
    GwRef<GwToggle> ParaUpdate;
    GwRef<> ValueTextLang;
    GwRef<> UserGroupItem;
    GwRef<> StoreDevice;
    GwRef<> Save;
    GwRef<> SaveAsDevice;
    GwRef<> StateOnline;
    GwRef<> StateUpdate;
    GwRef<> StateOnlyEditable;
    GwRef<> StateLevel;
    GwRef<> StateChanged;

    GwRef<> EditDialog;
    GwRef<> FieldDialog;
    std::array<int, kListColumns> SavedSorting{};
    int SavedSortColumn = 0;
    int ExpandFields = 0;
    int Mode = 0;
    bool Changed = false;

    // Device access of the editor: nothing outside Online mode; a failure
    // stops the list timer while its box is shown. True on success.
    bool ReadFromDevice(GwCore* parent, int number, int element, int count);
    bool RefreshDescription(GwCore* parent, int number);
    bool WriteToDevice(int number, GwCore* parent, int element, int count);
    void StopListTimer();
    void StartListTimer();
    // Marks what the list source lists, saves the source and fills the list.
    void RebuildSelection();
    void FillList();
    // Rewrites the value texts of the visible rows that changed.
    void RefreshVisibleValues();
    // The device class of the edited base (parameter 91 rounded down to a
    // multiple of 1000).
    unsigned DeviceClass() const;
    // The keypad-group records and the tree.
    void BuildGroupTree();
    // Writes the list source into "PCHOOSE_LIST_<class>" and names it in
    // ParaGroup.
    void SaveListSource();
    // The "ParaEdit" text of `key` (at most 64 characters).
    static std::string EditText(const char* key);
};

// The stored device code (parameter 91) of a base; 0 without one.
uint32_t StoredDeviceCode(ParaBase* base);

// The editor of the program, null while none is open.
ParameterEditorState* GetParameterEditor();
// Index of the next list row the list timer reads.
extern uint16_t NextListRow;
// Ends an open editor's state without closing windows (tests).
void ResetParameterEditorState();
// Makes a new state (replacing an old one); the editor callbacks own it.
ParameterEditorState* MakeParameterEditorState();
void DropParameterEditorState();

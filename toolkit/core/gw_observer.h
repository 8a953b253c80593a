// Change notifications of the widget model. The model stays the only source
// of truth: an observer learns which widget changed and what kind of change
// it was, and reads the new state from the widget itself. A screen renderer
// follows the model this way; the recorder is the tests' observer. Several
// observers may be attached; with none the model works the same and keeps no
// log of its own.
#pragma once

#include <string>

class GwCore;
class GwTreeEntry;
struct GwBoxRecord;
struct GwEffect;
struct GwFileRequest;
struct GwPrintDocument;

// The property of a widget that changed; read it back through the widget's
// own getters.
enum class GwProperty {
    kText,
    kShown,
    kEnabled,
    kFocus,  // gained or lost: compare with GwCore::has_focus
    kRect,   // relative to the parent; a frame's to the screen
    kChecked,
    kValue,
    kRange,
    kBitmap,
    kFont,
    kColour,  // foreground or background
    kReadOnly,
    kToolTip,
    kTitle,
    kSelection,   // the selected row, item, page or tree entry
    kFrameState,  // normal, minimised, maximised
    kIcon,
    kWaiting,
    kPlacement,  // a docking frame's region
    kFirstVisible,
    kParent,    // moved under another parent (set_parent)
    kStacking,  // the order of the top-level windows or the active one
    kCursor,    // the global cursor (no widget)
    kMedia,
    kHelpText,
};

// Name of a property for log lines ("text", "rect", ...).
const char* GwPropertyName(GwProperty property);

// What changed in a widget's content.
enum class GwContentKind {
    kRowsAdded,  // list rows, combo items: `index`, `count`
    kRowsRemoved,
    kRowsChanged,  // rows resorted or rewritten
    kCleared,
    kCellSet,        // list or spreadsheet cell: `index` row, `column`
    kTableResized,   // spreadsheet rows or columns
    kEntryAdded,     // tree entries: `entry`
    kEntryRemoved,   // `entry` is on its way out: do not read it
    kEntryExpanded,  // opened or closed: GwTreeEntry::is_shown
    kEntrySelected,
    kEntriesReplaced,
    kPagesChanged,  // tab pages included or left out
};

const char* GwContentKindName(GwContentKind kind);

struct GwContentChange {
    GwContentKind kind = GwContentKind::kRowsChanged;
    int index = -1;
    int column = -1;
    int count = 0;
    const GwTreeEntry* entry = nullptr;
};

class GwObserver {
public:
    virtual ~GwObserver() = default;
    // A new widget, also one made by program code. Announced once its
    // constructor and (for loaded windows) its definition are done, parents
    // before children, before any other notification about it.
    virtual void WidgetCreated(GwCore* /*widget*/) {}
    // The widget ends; it is still readable during the call.
    virtual void WidgetDestroyed(GwCore* /*widget*/) {}
    // `widget` is null for global properties (the cursor).
    virtual void PropertyChanged(GwCore* /*widget*/, GwProperty /*property*/) {}
    virtual void ContentChanged(GwCore* /*widget*/, const GwContentChange& /*change*/) {}
    // A drawing widget has a new picture (an expose callback or a lock and
    // unlock bracket ended); its device context holds it.
    virtual void DrawingChanged(GwCore* /*widget*/) {}
    // What the user would notice beyond the widgets' state (a beep, a help
    // display, a print dialog) and every visible change as one line, as the
    // recorder keeps it.
    virtual void EffectNoted(const GwEffect& /*effect*/) {}
    virtual void BoxShown(const GwBoxRecord& /*box*/) {}
    virtual void FileSelectorShown(const GwFileRequest& /*request*/) {}
    virtual void DocumentPrinted(const GwPrintDocument& /*document*/) {}
};

// Attaching twice attaches once; observers are not owned.
void GwAttachObserver(GwObserver* observer);
void GwDetachObserver(GwObserver* observer);
bool GwHasObservers();

// The model's side: each call reaches every attached observer in the order
// they were attached. Widgets made since the last notification are announced
// first.
void GwNotifyCreated(GwCore* widget);
void GwAnnounceCreatedWidgets();
void GwNotifyDestroyed(GwCore* widget);
void GwNotifyProperty(GwCore* widget, GwProperty property);
void GwNotifyContent(GwCore* widget, const GwContentChange& change);
void GwNotifyDrawing(GwCore* widget);
void GwNotifyEffect(const std::string& what, const std::string& widget, const std::string& value);
void GwNotifyBox(const GwBoxRecord& box);
void GwNotifyFileSelector(const GwFileRequest& request);
void GwNotifyDocument(const GwPrintDocument& document);

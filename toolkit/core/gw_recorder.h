// The recorder of everything a user would see: texts, states, timers,
// message boxes, file selectors, cursors, beeps, help requests. It is an
// observer of the model that keeps what it is told only while attached (the
// test driver attaches it in tests; a program keeps no such log). Cleared
// between tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One visible effect: what happened ("text", "show", "enable", "timer start",
// "cursor", "beep", "help", ...), to which widget (its identifier; empty for
// global effects) and the value shown.
struct GwEffect {
    std::string what;
    std::string widget;
    std::string value;
};

// A message box as the user saw it. Kinds: "error", "warning", "question",
// "info" (box definitions), "message" (GwMessageBox), "system".
struct GwBoxRecord {
    std::string kind;
    std::string caption;
    std::string text;
    std::string parent;  // identifier of the owner widget, empty for none
    std::string window;  // definition name of the box window, empty for GwMessageBox
    int answer = 0;
};

// What a file selector lets the user do: open an existing file, name a file
// to write (a dialog asks before it replaces one), or choose a folder.
enum class GwFileAction { kOpen, kSave, kFolder };

// A file selector as the user saw it, with the answer given.
struct GwFileRequest {
    std::string id;  // the selector's name ("id", "ScopeFileWrite")
    std::string title;
    std::string filter;  // "desc|pattern|desc|pattern|"
    std::string directory;
    std::string preset;
    int mode = 0;  // GwFileSelector: 0 open, 1 save; control: 1 existing source, 0 target
    bool folder_mode = false;
    std::string parent;
    bool chosen = false;
    std::string answer;  // chosen path
    // Set with the mode (and the folder mode), in one meaning for both kinds
    // of selector.
    GwFileAction action = GwFileAction::kOpen;
};

class GwObserver;

// Records of each kind kept at most; beyond it the older half goes, so a
// test or tool that records all day keeps its memory.
constexpr size_t kGwRecorderLimit = 100000;

class GwRecorder {
public:
    // The recorder as an observer, for GwAttachObserver.
    static GwObserver* Observer();
    // Tells the attached observers of an effect (the recorder keeps it when
    // it is one of them).
    static void Record(const std::string& what, const std::string& widget, const std::string& value);
    static void RecordBox(const GwBoxRecord& box);
    static void RecordFileRequest(const GwFileRequest& request);

    static const std::vector<GwEffect>& Effects();
    // The effects of one kind, in order.
    static std::vector<GwEffect> EffectsOf(const std::string& what);
    static const std::vector<GwBoxRecord>& Boxes();
    static const std::vector<GwFileRequest>& FileRequests();
    static void Clear();
};

// GwRcMgr: the resource manager. It reads definition files, keeps the
// registered callback tables, makes windows from their definitions, answers
// whether a widget pointer is still valid, and holds the definition
// database (named values) and the known bitmap names.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_types.h"

class GwCore;

// The definition-database value that names the test module, and the
// environment variable it comes from before any file gives it.
constexpr const char* kGwTestToolValue = "TestTool";
constexpr const char* kGwTestToolVariable = "TORVAN_TESTTOOL";

class GwRcMgr {
public:
    // Reads a definition file (found regardless of letter case). False, with
    // a log line naming the file (and the line of a syntax error), when it
    // is missing or malformed; nothing of a malformed file is kept. A window
    // defined again replaces the earlier definition.
    static bool use(const char* file);
    // The same for a text already in memory; `path` names it in messages.
    static bool use_text(const std::string& text, const std::string& path);
    // Files read so far, in order.
    static const std::vector<std::string>& used_files();

    // Registers a table ended by {null, null}. Several tables may hold one
    // name; the first registration of a name wins. Returns 0, registering
    // nothing, for a malformed table (null, an entry with only a name or only
    // a function, an empty name, no end within kGwMaxTableEntries).
    static int use_func_desc(const GwFuncDesc* table);
    // The function registered under a name, or null.
    static GwCallback lookup_function(const std::string& name);

    // A fresh window made from its definition, hidden, as a child of
    // `parent` when one is given; null for an unknown name. Bindings to names
    // that no table holds are logged and left empty. No callback runs here.
    static GwCore* load(GwCore* parent, const char* name, int flag = 1);
    // Whether a window definition of that name exists; no side effect.
    static bool exists(const char* name);

    // False for destroyed, disconnected and foreign pointers; never
    // dereferences the pointer unless it is a live widget.
    static bool is_valid_child(const GwCore* widget);
    // Valid, and `parent` itself or one of its ancestors.
    static bool is_valid_child(const GwCore* parent, const GwCore* widget);
    // Detaches a frame before it is hidden or destroyed: it is no longer
    // valid and lookups by name no longer find it.
    static void disconnect_frame(GwCore* frame);

    // Selects the language variant ("text.49") of definition texts for
    // windows loaded from now on.
    static void set_language(int language);
    static int language();

    // A definition-database value ("TestTool", "Graph1", "AxisFont"), or null.
    // "TestTool" is the environment variable TORVAN_TESTTOOL until a file
    // gives another value.
    static const char* value(const char* name);
    // A font by its database name whose value is "Face,points" (a name the
    // database does not hold is read as such a text itself). False when the
    // database has no such value; `font` is filled either way.
    static bool font(const std::string& name, GwFontInfo* font);

    // Known bitmap names (case-insensitive) and their pixel sizes.
    static void add_bitmap(const std::string& name, int width, int height);
    static bool bitmap_size(const std::string& name, GwBitmapSize* size);
    // The image file of a bitmap (beside the definition file that named
    // it); empty when unknown or none was given.
    static std::string bitmap_image(const std::string& name);
    // Every known bitmap name, in name order.
    static std::vector<std::string> bitmap_names();

    static GwCallback lookup_callback(const GwCore* widget, GwCallbackType type);
    static void set_callback(GwCore* widget, GwCallbackType type, GwCallback fn);

    // Forgets every definition, table, value and bitmap.
    static void reset();

private:
    static GwCore* instantiate(const GwDefinition& def, const std::shared_ptr<const GwDefinition>& root,
                               GwCore* parent);
};

// Entries a callback table may hold before its end entry.
constexpr int kGwMaxTableEntries = 65536;

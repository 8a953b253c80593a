// The parsed form of a user-interface definition file: window definitions
// (nested widget definitions with attributes and event bindings), the
// definition-database values and the bitmap names. See toolkit/README.md for
// the text format.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/core/gw_kind.h"

// One "name = value, value, ..." line. A name may carry a language suffix
// ("text.49") that replaces the plain attribute for that language.
struct GwAttribute {
    std::string name;
    std::vector<std::string> values;
    int line = 0;
};

// One "on event = callback [user data]" line.
struct GwBindingDef {
    std::string event;
    std::string callback;
    bool has_user_data = false;
    std::string user_data;
    int line = 0;
};

struct GwDefinition {
    GwKind kind = GwGENERIC_CLASS;
    std::string name;
    std::string file;
    int line = 0;
    std::vector<GwAttribute> attributes;
    std::vector<GwBindingDef> bindings;
    std::vector<GwDefinition> children;

    // The attribute of that name for a language (its ".<language>" variant
    // first), or null. Repeated attributes: the first one.
    const GwAttribute* find(std::string_view name, int language = 0) const;
    // Every attribute of that name (no language variants), in file order.
    std::vector<const GwAttribute*> find_all(std::string_view name) const;

    // The first value of an attribute read as text, number, flag or real;
    // `if_missing` when it is absent or does not read as that.
    std::string text(std::string_view name, int language, const std::string& if_missing) const;
    int number(std::string_view name, int language, int if_missing) const;
    bool flag(std::string_view name, int language, bool if_missing) const;
    double real(std::string_view name, int language, double if_missing) const;
};

// Reads a definition value as a boolean ("yes", "true", "on", "1" and their
// opposites); `if_unknown` for anything else.
bool GwDefinitionFlag(const std::string& value, bool if_unknown);
// Reads a definition value as a 32-bit integer (decimal or 0x hex);
// `if_invalid` when it is not one.
long GwDefinitionNumber(const std::string& value, long if_invalid);

struct GwBitmapSize {
    int width = 0;
    int height = 0;
    // The picture's image file ("led_on.png"), relative to the definition
    // file as written there and resolved by GwRcMgr; empty when not given.
    std::string image;
};

struct GwDefinitionFile {
    std::string path;
    std::vector<std::shared_ptr<const GwDefinition>> windows;
    std::vector<std::pair<std::string, std::string>> values;  // definition database
    std::vector<std::pair<std::string, GwBitmapSize>> bitmaps;
};

struct GwParseResult {
    bool ok = false;
    int error_line = 0;
    std::string error;  // what is wrong, without file and line
    GwDefinitionFile file;
};

// Deepest nesting of widget definitions that a file may use.
constexpr int kGwMaxDefinitionDepth = 64;

// Parses the text of a definition file; `path` is only kept for messages.
GwParseResult GwParseDefinitions(std::string_view text, const std::string& path);

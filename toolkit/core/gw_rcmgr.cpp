#include "toolkit/core/gw_rcmgr.h"

#include <cstdlib>
#include <map>
#include <memory>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            int ca = std::tolower(static_cast<unsigned char>(a[i]));
            int cb = std::tolower(static_cast<unsigned char>(b[i]));
            if (ca != cb) return ca < cb;
        }
        return a.size() < b.size();
    }
};

struct Resources {
    std::map<std::string, std::shared_ptr<const GwDefinition>> windows;
    std::map<std::string, std::string> values;
    std::map<std::string, GwBitmapSize, NoCaseLess> bitmaps;
    std::map<std::string, GwCallback> functions;
    std::vector<std::string> used_files;
    int language = 0;
    std::string environment_test_tool;
};

Resources& Res() {
    static Resources res;
    return res;
}

platform::ResetHook ResetState([] { GwRcMgr::reset(); });

// A file named relative to a definition file, in the definition file's
// directory; an absolute name stays as it is.
std::string BesideFile(const std::string& definition_path, const std::string& name) {
    bool absolute = name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':');
    size_t slash = definition_path.find_last_of("/\\");
    if (absolute || slash == std::string::npos) return name;
    return definition_path.substr(0, slash + 1) + name;
}

// Kinds whose classes live in the libraries beside the core, by kind.
const char* KindLibrary(GwKind kind) {
    switch (kind) {
        case GwMENUITEM_CLASS:
        case GwTOGGLEITEM_CLASS:
        case GwTOOL_CLASS:
            return "menus";
        case GwTREE_CLASS:
            return "tree";
        case GwSPREADSHEET_CLASS:
            return "spreadsheet";
        case GwTABBOOK_CLASS:
        case GwDOCKINGCONTAINER_CLASS:
        case GwDOCKINGFRAME_CLASS:
        case GwDOCKINGREGION_CLASS:
            return "docking";
        case GwDRAWING_CLASS:
            return "draw";
        case GwOLECONTROL_CLASS:
            return "hosting";
        default:
            return nullptr;
    }
}

}  // namespace

// Binds the definition's "on ..." lines to registered functions; a name that
// no table holds is logged and stays unbound.
void GwApplyBindings(GwCore* widget, const GwDefinition& def) {
    for (const auto& b : def.bindings) {
        GwCallback fn = GwRcMgr::lookup_function(b.callback);
        if (fn == nullptr) {
            platform::LogLine("GwRcMgr::load: callback \"" + b.callback + "\" of \"" + widget->identifier() + "\" (" +
                              def.file + " line " + std::to_string(b.line) + ") is not registered");
            continue;
        }
        GwCore::Binding binding{fn, b.has_user_data ? GwUD(b.user_data) : GwUD(), b.callback, nullptr};
        widget->set_binding(b.event, binding);
    }
}

GwCore* GwRcMgr::instantiate(const GwDefinition& def, const std::shared_ptr<const GwDefinition>& root, GwCore* parent) {
    if (const char* library = KindLibrary(def.kind); library != nullptr && !GwHasKindFactory(def.kind))
        platform::LogLine("GwRcMgr::load: \"" + def.name + "\" (" + def.file + " line " + std::to_string(def.line) +
                          ") is a " + GwKindName(def.kind) + " but the toolkit's " + library +
                          " library is not loaded; it is made as a plain widget");
    GwCore* w = GwMakeWidget(def.kind, def.name, parent);
    w->definition_ = root;
    w->definition_node_ = &def;
    w->definition_name_ = def.name;
    w->language_ = Res().language;
    w->apply_definition(def, Res().language);
    GwApplyBindings(w, def);
    for (const auto& child : def.children) instantiate(child, root, w);
    return w;
}

bool GwRcMgr::use(const char* file) {
    std::string path = file != nullptr ? file : "";
    auto text = platform::ReadTextFile(path);
    if (!text) {
        platform::LogLine("GwRcMgr::use: cannot read \"" + path + "\"");
        return false;
    }
    return use_text(*text, path);
}

bool GwRcMgr::use_text(const std::string& text, const std::string& path) {
    GwParseResult parsed = GwParseDefinitions(text, path);
    if (!parsed.ok) {
        platform::LogLine("GwRcMgr::use: " + path + " line " + std::to_string(parsed.error_line) + ": " + parsed.error);
        return false;
    }
    auto& res = Res();
    for (auto& w : parsed.file.windows) {
        auto [it, inserted] = res.windows.emplace(w->name, w);
        if (!inserted) {
            platform::LogLine("GwRcMgr::use: " + path + " line " + std::to_string(w->line) + ": \"" + w->name +
                              "\" replaces the definition from " + it->second->file);
            it->second = w;
        }
    }
    for (auto& [name, value] : parsed.file.values) res.values[name] = value;
    for (auto& [name, size] : parsed.file.bitmaps) {
        GwBitmapSize resolved = size;
        if (!resolved.image.empty()) resolved.image = BesideFile(path, resolved.image);
        res.bitmaps[name] = resolved;
    }
    res.used_files.push_back(path);
    return true;
}

const std::vector<std::string>& GwRcMgr::used_files() { return Res().used_files; }

int GwRcMgr::use_func_desc(const GwFuncDesc* table) {
    if (table == nullptr) return 0;
    int n = 0;
    for (;; ++n) {
        if (n >= kGwMaxTableEntries) return 0;
        const GwFuncDesc& e = table[n];
        if (e.name == nullptr && e.fn == nullptr) break;
        if (e.name == nullptr || e.fn == nullptr || e.name[0] == '\0') return 0;
    }
    auto& functions = Res().functions;
    for (int i = 0; i < n; ++i) functions.emplace(table[i].name, table[i].fn);  // first one wins
    return 1;
}

GwCallback GwRcMgr::lookup_function(const std::string& name) {
    auto& functions = Res().functions;
    auto it = functions.find(name);
    return it != functions.end() ? it->second : nullptr;
}

GwCore* GwRcMgr::load(GwCore* parent, const char* name, int) {
    if (name == nullptr) return nullptr;
    auto& res = Res();
    auto it = res.windows.find(name);
    if (it == res.windows.end()) return nullptr;
    if (parent != nullptr && !is_valid_child(parent)) parent = nullptr;
    std::shared_ptr<const GwDefinition> root = it->second;
    GwCore* w = instantiate(*root, root, parent);
    // A loaded window waits hidden until the program shows it, so no
    // create callback runs inside load.
    w->shown_ = false;
    GwAnnounceCreatedWidgets();
    return w;
}

bool GwRcMgr::exists(const char* name) { return name != nullptr && Res().windows.count(name) != 0; }

bool GwRcMgr::is_valid_child(const GwCore* widget) {
    return widget != nullptr && GwWidgetStore::Get().IsLive(widget) && !widget->disconnected_;
}

bool GwRcMgr::is_valid_child(const GwCore* parent, const GwCore* widget) {
    return is_valid_child(widget) && is_valid_child(parent) && widget->is_descendant_of(parent);
}

void GwRcMgr::disconnect_frame(GwCore* frame) {
    if (frame != nullptr && GwWidgetStore::Get().IsLive(frame)) frame->disconnected_ = true;
}

void GwRcMgr::set_language(int language) { Res().language = language; }

int GwRcMgr::language() { return Res().language; }

const char* GwRcMgr::value(const char* name) {
    if (name == nullptr) return nullptr;
    auto& values = Res().values;
    auto it = values.find(name);
    if (it != values.end()) return it->second.c_str();
    // The test module's name comes from the environment, so it is known
    // before any definition file is read.
    if (std::string(name) == kGwTestToolValue) {
        const char* env = std::getenv(kGwTestToolVariable);
        if (env == nullptr) return nullptr;
        Res().environment_test_tool = env;
        return Res().environment_test_tool.c_str();
    }
    return nullptr;
}

bool GwRcMgr::font(const std::string& name, GwFontInfo* font) {
    if (name.empty()) return false;
    const char* stored = value(name.c_str());
    std::string text = stored != nullptr ? stored : name;
    GwFontInfo out;
    size_t comma = text.find(',');
    if (comma != std::string::npos) {
        int read = std::atoi(text.c_str() + comma + 1);
        if (read > 0 && read < 1000) out.points = read;
        text.erase(comma);
    }
    out.face = text;
    if (font != nullptr) *font = out;
    return stored != nullptr;
}

std::string GwRcMgr::bitmap_image(const std::string& name) {
    GwBitmapSize size;
    return bitmap_size(name, &size) ? size.image : std::string();
}

std::vector<std::string> GwRcMgr::bitmap_names() {
    std::vector<std::string> names;
    for (const auto& entry : Res().bitmaps) names.push_back(entry.first);
    return names;
}

void GwRcMgr::add_bitmap(const std::string& name, int width, int height) {
    Res().bitmaps[name] = {width, height, std::string()};
}

bool GwRcMgr::bitmap_size(const std::string& name, GwBitmapSize* size) {
    auto& bitmaps = Res().bitmaps;
    auto it = bitmaps.find(name);
    if (it == bitmaps.end()) return false;
    if (size != nullptr) *size = it->second;
    return true;
}

GwCallback GwRcMgr::lookup_callback(const GwCore* widget, GwCallbackType type) {
    return is_valid_child(widget) ? widget->lookup_callback(type) : nullptr;
}

void GwRcMgr::set_callback(GwCore* widget, GwCallbackType type, GwCallback fn) {
    if (is_valid_child(widget)) widget->set_callback(type, fn);
}

void GwRcMgr::reset() {
    auto& res = Res();
    res.windows.clear();
    res.values.clear();
    res.bitmaps.clear();
    res.functions.clear();
    res.used_files.clear();
    res.language = 0;
}

#include "toolkit/core/gw_rcmgr.h"

#include <map>
#include <memory>

#include "platform/base/log_sink.h"
#include "platform/files/paths.h"
#include "platform/base/reset_hooks.h"
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
};

Resources& Res() {
    static Resources res;
    return res;
}

platform::ResetHook g_reset([] { GwRcMgr::reset(); });

}  // namespace

// Binds the definition's "on ..." lines to registered functions; a name that
// no table holds is logged and stays unbound.
void GwApplyBindings(GwCore* widget, const GwDefinition& def) {
    for (const auto& b : def.bindings) {
        GwCallback fn = GwRcMgr::lookup_function(b.callback);
        if (fn == nullptr) {
            platform::LogLine("GwRcMgr::load: callback \"" + b.callback + "\" of \"" + widget->identifier() +
                              "\" (" + def.file + " line " + std::to_string(b.line) + ") is not registered");
            continue;
        }
        GwCore::Binding binding{fn, b.has_user_data ? GwUD(b.user_data) : GwUD(), b.callback};
        widget->set_binding(b.event, binding);
    }
}

GwCore* GwRcMgr::instantiate(const GwDefinition& def, const std::shared_ptr<const GwDefinition>& root,
                             GwCore* parent) {
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
        platform::LogLine("GwRcMgr::use: " + path + " line " + std::to_string(parsed.error_line) + ": " +
                          parsed.error);
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
    for (auto& [name, size] : parsed.file.bitmaps) res.bitmaps[name] = size;
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
    return it != values.end() ? it->second.c_str() : nullptr;
}

void GwRcMgr::add_bitmap(const std::string& name, int width, int height) { Res().bitmaps[name] = {width, height}; }

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

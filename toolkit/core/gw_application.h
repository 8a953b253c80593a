// Application start and end, the start and end hooks, the toolkit's string
// duplicates of the argument vector, and the module class that loads a
// library by name (the "TestTool" test module).
#pragma once

#include <string>

#include "toolkit/core/gw_event.h"

// Starts the toolkit; headless it always succeeds. The installed interaction
// and pump hook stay as they are (a renderer installs them before).
bool GwInitApplication(void* instance, void* previous_instance, int show);
// Ends the toolkit: destroys the remaining windows (with their destroy
// callbacks) and stops every timer.
void GwCleanupApplication(int flag);

// Start and end hooks of optional toolkit parts; null ones are skipped by
// the caller. Ours are null; tests may set them.
extern void (*inter_init)();
extern void (*gwsql_init)();
extern void (*gwsql_exit)();
extern void (*inter_exit)();

// The callback the program's tables name "interpreter": the toolkit's own
// script interpreter, which this toolkit does not have. It does nothing and
// returns 0.
int interpreter(GwCore* widget, GwEvent* event, GwUD user_data);

// A string the toolkit allocates and GwStrDelete frees (null stays null).
char* GwStrDup(const char* text);
void GwStrDelete(char* text);

// A library loaded by name. Destroying the object unloads the library only
// when it was marked for unloading.
class GwModule {
public:
    explicit GwModule(const std::string& name);
    ~GwModule();
    GwModule(const GwModule&) = delete;
    GwModule& operator=(const GwModule&) = delete;

    bool is_loaded() const { return handle_ != nullptr; }
    // A function or object of the library; null when missing or not loaded.
    void* symbol(const std::string& name) const;
    void set_unload(bool on) { unload_ = on; }

private:
    void* handle_ = nullptr;
    bool unload_ = false;
};

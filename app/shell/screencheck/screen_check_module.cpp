// The screen check's "TestTool" module: test equipment that the check script
// drives while torvan runs with the screen renderer under a virtual X server.
// The script writes a command file; a toolkit timer reads it, acts in the
// model (fixture windows, boxes, a print) and writes the reply beside it. What
// the user does comes from synthetic X input, never from here: the module
// only reports what the model holds and where the renderer shows it.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/shell/startup_sequence.h"
#include "platform/system/clock.h"
#include "platform/system/dynamic_library.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/menus/gw_menu_item.h"

namespace {

constexpr uint32_t kPollMs = 50;
constexpr char kFixtureWindow[] = "ScreenFixture";

using WalkFunction = int (*)(const char*);
using LocateFunction = int (*)(const char*, int*);
using TextFunction = int (*)(const char*, char*, int);

// The renderer that torvan loaded (the same handle again).
template <typename T>
T Renderer(const char* name) {
    static platform::ModuleHandle module = platform::LoadLibraryA("torvan_screen");
    return reinterpret_cast<T>(platform::GetProcAddress(module, name));
}

uint64_t NowMs() { return platform::TheClock().NowUs() / 1000; }

void WriteFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
    }
    std::rename(temporary.c_str(), path.c_str());
}

class Watcher : public GwObserver {
public:
    void PropertyChanged(GwCore* widget, GwProperty property) override;
    // Items of the device menu, also those the program makes again when the
    // menu opens, record the address their click runs with.
    void WidgetCreated(GwCore* widget) override;
    void EffectNoted(const GwEffect& effect) override {
        if (effect.what == "beep") ++beeps;
    }
    int beeps = 0;
};

struct ScreenCheckState {
    std::string Dir;
    std::map<std::string, std::string> Values;
    int LastCommand = 0;
    GwRef<> Ticker;
    GwRef<> Runner;
    GwRef<> Fixture;
    std::string Pending;  // a command that runs a box or dialog
    uint64_t FirstShowMs = 0;
    Watcher ShowWatcher;
    int Clicks = 0;
    std::vector<long> Chosen;
    // The start-up sequence begins when the main window's timer (started at
    // its first show) has run and stopped itself.
    bool MainTimerSeen = false;
};

// No reset hook: the module is loaded only into the program the screen check
// runs (never into a test), and may be unloaded again, which a registered
// hook would outlive.
ScreenCheckState& State() {
    static ScreenCheckState state;
    return state;
}

void Watcher::PropertyChanged(GwCore* widget, GwProperty property) {
    if (property == GwProperty::kShown && State().FirstShowMs == 0 && widget != nullptr &&
        widget->name() == "MainWindow" && widget->is_shown()) {
        State().FirstShowMs = NowMs();
    }
}

int RecordChoice(GwCore* widget, GwEvent* event, GwUD address) {
    State().Chosen.push_back(address.integer());
    GwCallback program = GwRcMgr::lookup_function("CB_ChooseDevice");
    return program != nullptr ? program(widget, event, address) : 1;
}

void RecordChoices(GwCore* item) {
    GwCallback program = GwRcMgr::lookup_function("CB_ChooseDevice");
    if (program != nullptr && item->parent() != nullptr && item->parent()->name() == "M_ChooseDevice" &&
        item->lookup_callback(GwCB_ACTIVATE) == program)
        item->set_callback(GwCB_ACTIVATE, RecordChoice, GwUD(std::atol(item->name().c_str())));
}

void Watcher::WidgetCreated(GwCore* widget) { RecordChoices(widget); }

GwCore* VisibleFrame(const std::string& definition) {
    GwCore* found = nullptr;
    for (GwCore* frame : GwStackingOrder()) {
        if (frame->definition_name() == definition && frame->is_visible()) found = frame;
    }
    return found;
}

std::string Status() {
    std::ostringstream out;
    GwCore* main = GetMainWindow();
    out << "startup=" << (StartupStepsFinished ? 1 : 0) << "\n";
    out << "first_show_ms=" << State().FirstShowMs << "\n";
    for (const auto& [key, value] : State().Values) out << key << "=" << value << "\n";
    if (main != nullptr) {
        const GwRect r = main->rect();
        out << "title=" << main->title() << "\n";
        out << "main_rect=" << r.x << "," << r.y << "," << r.width << "," << r.height << "\n";
        out << "main_visible=" << (main->is_visible() ? 1 : 0) << "\n";
    }
    GwCore* exitWindow = VisibleFrame("ExitTorvel");
    out << "exit_visible=" << (exitWindow != nullptr ? 1 : 0) << "\n";
    if (exitWindow != nullptr) out << "exit_title=" << exitWindow->title() << "\n";
    for (const char* box : {"x_QuestionBox", "x_InfoBox"}) {
        GwCore* frame = VisibleFrame(box);
        out << box << "=" << (frame != nullptr ? frame->identifier() : std::string()) << "\n";
    }
    if (GwCore* net = VisibleFrame("NetList")) {
        const GwRect r = net->rect();
        out << "netlist=" << net->title() << "\n";
        out << "netlist_pos=" << r.x << "," << r.y << "\n";
        out << "netlist_size=" << r.width << "," << r.height << "\n";
    }
    if (GwCore* compare = VisibleFrame("ParaCompare")) out << "compare=" << compare->title() << "\n";
    // The panes the View menu holds shown.
    if (GwCore* view = main != nullptr ? main->child("View") : nullptr) {
        int checked = 0;
        for (GwCore* item : view->children()) {
            auto* toggle = dynamic_cast<GwToggleItem*>(item);
            if (toggle != nullptr && item->is_shown() && toggle->value() != 0) ++checked;
        }
        out << "view_checked=" << checked << "\n";
    }
    if (GwCore* net = VisibleFrame("NetList")) {
        GwCore* alias = net->child("AD_Alias");
        out << "alias=" << (alias != nullptr ? alias->text() : std::string()) << "\n";
    }
    if (GwCore* dialog = VisibleFrame("ParaEdit")) {
        GwCore* number = dialog->child("Number");
        out << "paraedit=" << (number != nullptr ? number->text() : std::string()) << "\n";
        out << "paraedit_title=" << dialog->title() << "\n";
    }
    out << "beeps=" << State().ShowWatcher.beeps << "\n";
    out << "clicks=" << State().Clicks << "\n";
    out << "chosen=";
    for (long a : State().Chosen) out << a << " ";
    out << "\n";
    if (State().Fixture != nullptr) {
        out << "hex=" << State().Fixture->child("HexEdit")->text() << "\n";
        out << "timer_label=" << State().Fixture->child("TimerLabel")->text() << "\n";
        out << "fixture_rect=";
        const GwRect r = State().Fixture->rect();
        out << r.x << "," << r.y << "," << r.width << "," << r.height << "\n";
        const GwPosition scrolled = static_cast<GwDrawing*>(State().Fixture->child("Plot"))->scroll_position();
        out << "plot_scroll=" << scrolled.x << "," << scrolled.y << "\n";
    }
    return out.str();
}

void ExposePlot(GwCore* plot) {
    GwDeviceContext* dc = static_cast<GwDrawing*>(plot)->device_context();
    dc->set_pen("red", 0, 3);
    const GwDimension size = dc->size();
    dc->draw_line(10, 20, size.width - 10, 20);
}

bool ShowFixture() {
    if (State().Fixture != nullptr) {
        State().Fixture->show();
        return true;
    }
    const char* file = std::getenv("TORVAN_SCREENCHECK_FIXTURE");
    if (file == nullptr || !GwRcMgr::use(file)) return false;
    State().Fixture = GwRcMgr::load(GetMainWindow(), kFixtureWindow, 1);
    if (State().Fixture == nullptr) return false;
    // A text from another tool's file, in Windows-1252.
    State().Fixture->child("Foreign")->set_text("Buskapazit\xE4t");
    State().Fixture->child("Press")->bind(GwCB_ACTIVATE, [](GwCore*, GwEvent*) {
        ++State().Clicks;
        return 1;
    });
    State().Fixture->child("Plot")->bind(GwCB_EXPOSE, [](GwCore* plot, GwEvent*) {
        ExposePlot(plot);
        return 1;
    });
    State().Fixture->child("TimerLabel")->bind(GwCB_TIMER, [](GwCore* label, GwEvent*) {
        label->stop_timer();
        label->set_text("after");
        return 1;
    });
    // The device menu's items record the address their click runs with.
    if (GwCore* menu = GetMainWindow() != nullptr ? GetMainWindow()->child("M_ChooseDevice") : nullptr) {
        for (GwCore* item : menu->children()) RecordChoices(item);
    }
    State().Fixture->show();
    return true;
}

// Commands that open a box or dialog run from a timer of their own, so the
// command timer goes on answering while they are up.
void RunPending() {
    const std::string command = State().Pending;
    State().Pending.clear();
    if (command == "question") {
        State().Values["question"] = "open";
        const bool yes = ShowQuestionTextBox("Go on with the check?", State().Fixture);
        State().Values["question"] = yes ? "true" : "false";
    } else if (command == "timerbox") {
        State().Values["timerbox"] = "open";
        State().Fixture->child("TimerLabel")->set_text("before");
        State().Fixture->child("TimerLabel")->start_timer(300);
        ShowInfoTextBox("The label changes while this box is open.", State().Fixture);
        State().Values["timerbox"] = "closed";
    } else if (command == "print") {
        State().Values["print"] = "open";
        GwPrinterContext printer(State().Fixture);
        if (!printer.print_dialog()) {
            State().Values["print"] = "cancelled";
            return;
        }
        bool ok = printer.start_document("Screen check") && printer.start_page();
        printer.draw_text(200, 200, "Screen check");
        ok = printer.end_page() && ok;
        ok = printer.end_document() && ok;
        State().Values["print"] = ok ? "printed" : "failed " + printer.last_error();
    }
}

// "ScreenFixture.Press" names a widget of the fixture window wherever the
// fixture hangs in the tree.
std::string Resolve(const std::string& name) {
    const std::string prefix = std::string(kFixtureWindow) + ".";
    if (State().Fixture == nullptr || name.rfind(prefix, 0) != 0) return name;
    return State().Fixture->identifier() + name.substr(std::string(kFixtureWindow).size());
}

std::string Execute(const std::string& line) {
    std::istringstream in(line);
    std::string verb, argument;
    in >> verb;
    std::getline(in >> std::ws, argument);
    argument = Resolve(argument);
    if (verb == "status") return Status();
    if (verb == "fixture") return ShowFixture() ? "ok\n" : "failed\n";
    if (verb == "walk") {
        auto walk = Renderer<WalkFunction>("torvan_screen_walk");
        const int differences = walk != nullptr ? walk((State().Dir + "/walk.txt").c_str()) : -1;
        return "differences=" + std::to_string(differences) + "\n";
    }
    if (verb == "locate" || verb == "locatein") {
        // locatein DEFINITION CHILD: a child of the visible window of a definition.
        std::string name = argument;
        if (verb == "locatein") {
            std::istringstream parts(argument);
            std::string definition, child;
            parts >> definition >> child;
            GwCore* frame = VisibleFrame(definition);
            GwCore* widget = frame != nullptr ? (child.empty() ? frame : frame->child(child)) : nullptr;
            if (widget == nullptr) return "none\n";
            name = widget->identifier();
        }
        auto locate = Renderer<LocateFunction>("torvan_screen_locate");
        int r[4] = {};
        if (locate == nullptr || locate(name.c_str(), r) == 0) return "none\n";
        return std::to_string(r[0]) + " " + std::to_string(r[1]) + " " + std::to_string(r[2]) + " " +
               std::to_string(r[3]) + "\n";
    }
    if (verb == "text") {
        auto text = Renderer<TextFunction>("torvan_screen_text");
        char shown[512] = {};
        if (text == nullptr || text(argument.c_str(), shown, sizeof shown) == 0) return "none\n";
        return std::string(shown) + "\n";
    }
    if (verb == "resize") {
        int width = 0, height = 0;
        std::istringstream(argument) >> width >> height;
        if (State().Fixture == nullptr) return "failed\n";
        State().Fixture->set_dimension({width, height});
        GwCore* plot = State().Fixture->child("Plot");
        plot->set_dimension({width - 20, height - 130});
        return "ok\n";
    }
    if (verb == "picture") {
        // The plot's picture larger than the plot (0 0: the plot's own size).
        int width = 0, height = 0;
        std::istringstream(argument) >> width >> height;
        if (State().Fixture == nullptr) return "failed\n";
        auto* plot = static_cast<GwDrawing*>(State().Fixture->child("Plot"));
        plot->set_picture_size({width, height});
        plot->invalidate();
        return "ok\n";
    }
    if (verb == "question" || verb == "timerbox" || verb == "print") {
        if (State().Fixture == nullptr || !State().Pending.empty()) return "failed\n";
        State().Pending = verb;
        State().Values[verb] = "starting";
        State().Runner->start_timer(1);
        return "ok\n";
    }
    return "unknown\n";
}

int Poll(GwCore*, GwEvent*, GwUD) {
    GwCore* main = GetMainWindow();
    if (main != nullptr && main->is_timer_running()) State().MainTimerSeen = true;
    if (main != nullptr && State().MainTimerSeen && !main->is_timer_running() &&
        State().Values.count("startup_ms") == 0)
        State().Values["startup_ms"] = std::to_string(NowMs());
    std::ifstream in(State().Dir + "/command");
    int number = 0;
    std::string line;
    if (!(in >> number) || number <= State().LastCommand) return 1;
    std::getline(in >> std::ws, line);
    State().LastCommand = number;
    WriteFile(State().Dir + "/reply." + std::to_string(number), Execute(line));
    return 1;
}

}  // namespace

extern "C" int init_test_func() {
    const char* dir = std::getenv("TORVAN_SCREENCHECK_DIR");
    if (dir == nullptr || *dir == '\0') return 0;
    State().Dir = dir;
    GwAttachObserver(&State().ShowWatcher);
    State().Ticker = new GwContainer("ScreenCheckCommands", nullptr);
    State().Ticker->hide();
    State().Ticker->set_callback(GwCB_TIMER, Poll);
    State().Ticker->start_timer(kPollMs);
    State().Runner = new GwContainer("ScreenCheckRunner", nullptr);
    State().Runner->hide();
    State().Runner->bind(GwCB_TIMER, [](GwCore* runner, GwEvent*) {
        runner->stop_timer();
        RunPending();
        return 1;
    });
    return 1;
}

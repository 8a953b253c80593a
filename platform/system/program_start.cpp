// Program starts: recording, alias table, argument conversion and spawning.
#include "platform/system/program_start.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/files/registry_store.h"

extern char** environ;

namespace platform {

namespace {

constexpr std::string_view kWindowsProgramSuffix = ".exe";
constexpr std::string_view kEditorAlias = "notepad.exe";
constexpr std::string_view kOpenerAliases[] = {"hh.exe", "explorer", "explorer.exe"};
constexpr std::string_view kExplorer = "explorer";

std::mutex g_mutex;
std::vector<ProgramStart> g_recorded;
std::function<int(const ProgramStart&)> g_handler;  // empty: really start
std::vector<pid_t> g_running;                       // started without waiting, not reaped yet

const ResetHook kRecordOnlyInTests([] {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_recorded.clear();
    g_handler = [](const ProgramStart&) { return 0; };
});

std::string Unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return std::string(text);
}

std::string_view LastComponent(std::string_view path) {
    size_t sep = path.find_last_of("/\\");
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

// Words of a configured command: blanks separate, double quotes group.
std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, in_word = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            in_word = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (in_word) words.push_back(word);
            word.clear();
            in_word = false;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word) words.push_back(word);
    return words;
}

// A Windows path becomes native when it names something that exists or a new
// file in an existing directory; any other argument stays as it is.
std::string NativeArgument(std::string_view argument) {
    std::string text = Unquote(argument);
    if (text.find('\\') == std::string::npos) return text;
    if (std::optional<std::string> found = FindExisting(text)) return *found;
    std::string native = ToNativePath(text);
    size_t slash = native.rfind('/');
    std::string directory = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    return DirectoryExists(directory) ? ResolveForWrite(text) : text;
}

std::optional<std::vector<std::string>> ConfiguredAlias(std::string_view name) {
    RegistryTree tree;
    if (TheRegistry().Load(&tree) != RegistryStatus::kOk) return std::nullopt;
    for (const auto& [alias, command] : tree.Values(kProgramAliasKey)) {
        if (!alias.empty() && EqualNoCase(alias, name)) {
            std::vector<std::string> words = SplitWords(command);
            if (!words.empty()) return words;
        }
    }
    return std::nullopt;
}

std::vector<std::string> EditorCommand() {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr) continue;
        std::vector<std::string> words = SplitWords(value);
        if (!words.empty()) return words;
    }
    return {std::string(kDesktopOpener)};
}

void ReapFinished() {
    for (auto it = g_running.begin(); it != g_running.end();) {
        int status = 0;
        pid_t done = ::waitpid(*it, &status, WNOHANG);
        it = done == 0 ? it + 1 : g_running.erase(it);
    }
}

// -1 with errno set, or the child's process id.
pid_t Spawn(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int error = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (error == 0) return pid;
    // Windows program names often carry ".exe"; the Linux program does not.
    std::string_view name = command[0];
    if (error == ENOENT && name.size() > kWindowsProgramSuffix.size() &&
        EqualNoCase(name.substr(name.size() - kWindowsProgramSuffix.size()), kWindowsProgramSuffix)) {
        std::string bare(name.substr(0, name.size() - kWindowsProgramSuffix.size()));
        argv[0] = bare.data();
        error = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
        if (error == 0) return pid;
    }
    errno = error;
    return -1;
}

int RunStart(const ProgramStart& start) {
    std::vector<std::string> command = NativeCommand(start);
    if (command.empty() || command[0].empty()) {
        errno = ENOENT;
        return -1;
    }
    pid_t pid = Spawn(command);
    if (pid < 0) return -1;
    if (!start.wait) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_running.push_back(pid);
        return 0;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    errno = EINTR;  // ended by a signal
    return -1;
}

}  // namespace

std::vector<std::string> NativeCommand(const ProgramStart& start) {
    std::string program = Unquote(start.program);
    std::string_view name = LastComponent(program);

    // Arguments the child sees: all but its own name, or the one argument of
    // a start that passes nothing else.
    std::vector<std::string> arguments;
    for (size_t i = 1; i < start.args.size(); ++i) arguments.push_back(NativeArgument(start.args[i]));
    if (start.args.size() == 1 && !EqualNoCase(LastComponent(Unquote(start.args[0])), name))
        arguments.push_back(NativeArgument(start.args[0]));

    std::vector<std::string> command;
    bool opener = false;
    if (std::optional<std::vector<std::string>> alias = ConfiguredAlias(name)) {
        command = *alias;
    } else if (EqualNoCase(name, kEditorAlias)) {
        command = EditorCommand();
    } else {
        for (std::string_view alias : kOpenerAliases) opener = opener || EqualNoCase(name, alias);
        if (opener)
            command = {std::string(kDesktopOpener)};
        else
            command = {program.find_first_of("/\\") != std::string::npos ? NativeArgument(program) : program};
    }
    if (opener || command[0] == kDesktopOpener) {
        // The opener takes one file; viewer options such as "-mapid" mean nothing to it.
        if (!arguments.empty()) command.push_back(arguments.back());
    } else {
        command.insert(command.end(), arguments.begin(), arguments.end());
    }
    return command;
}

int StartProgram(std::string_view program, const std::vector<std::string>& args, bool wait) {
    ProgramStart start{std::string(program), args, wait};
    std::function<int(const ProgramStart&)> handler;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_recorded.push_back(start);
        handler = g_handler;
        ReapFinished();
    }
    if (handler) return handler(start);
    return RunStart(start);
}

int OpenWithDesktop(std::string_view target) {
    return StartProgram(kExplorer, {std::string(kExplorer), std::string(target)}, false);
}

std::vector<ProgramStart> RecordedProgramStarts() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_recorded;
}

void SetProgramStartHandler(std::function<int(const ProgramStart&)> handler) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handler = std::move(handler);
}

void UseRealProgramStarts() { SetProgramStartHandler(nullptr); }

void WaitForStartedPrograms() {
    std::vector<pid_t> running;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        running.swap(g_running);
    }
    for (pid_t pid : running) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }
}

}  // namespace platform

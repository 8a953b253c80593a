#include "app/shell/command_line.h"

#include <unistd.h>

#include "parameters/values/dstring.h"
#include "platform/system/dynamic_library.h"
#include "toolkit/core/gw_application.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Appends a word while the vector has room; further words are dropped so the
// fixed vector never overflows.
void AppendWord(char** argv, int& count, const std::string& word) {
    if (count < kMaxArguments) {
        argv[count++] = GwStrDup(word.c_str());
    }
}

}  // namespace

std::string ModulePathForArguments() {
    std::string path = platform::ExecutablePath();
    if (path.size() > kMaxModulePathLength) {
        path.resize(kMaxModulePathLength);
    }
    return path;
}

int SplitCommandLine(char** argv, const char* commandLine) {
    return SplitCommandLine(argv, commandLine, ModulePathForArguments());
}

int SplitCommandLine(char** argv, const char* commandLine, const std::string& modulePath) {
    int count = 0;
    AppendWord(argv, count, modulePath.empty() ? kFallbackModuleName : modulePath);
    const char* p = commandLine != nullptr ? commandLine : "";
    while (*p == ' ') {
        ++p;
    }
    std::string word;
    bool quoted = false;
    for (; *p != '\0'; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (!quoted && IsSeparator(*p)) {
            if (!word.empty()) {
                AppendWord(argv, count, word);
                word.clear();
            }
        } else {
            word += *p;
        }
    }
    if (!word.empty()) {
        AppendWord(argv, count, word);
    }
    return count;
}

bool ApplyCommandLineArguments(int argc, char** argv, dstring& startFile) {
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument == nullptr) {
            continue;
        }
        if (argument[0] == '/' || argument[0] == '-') {
            if (argument[1] == 'W' || argument[1] == 'w') {
                if (::chdir(argument + 2) != 0) {
                    ok = false;
                }
            }
            continue;
        }
        startFile.AssignText(argument);
    }
    return ok;
}

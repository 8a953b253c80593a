// Starting other programs (editors, help and document viewers, tools) from
// the argument vector as the program builds it in its Windows form: quoted
// paths, backslashes, "notepad.exe". Every start is recorded in that form;
// the system then starts the Linux equivalent with posix_spawnp, never
// through a shell.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Registry key whose values name the Linux command (words separated by
// blanks, double quotes group) for a Windows program name ("notepad.exe").
inline constexpr std::string_view kProgramAliasKey = "HKEY_CURRENT_USER\\Software\\Torvan\\Programs";
// The desktop's opener: files, folders and documents with their usual program.
inline constexpr std::string_view kDesktopOpener = "xdg-open";

// One start as the program asked for it. `args` is the whole argument
// vector, its first element (the child's own name) included.
struct ProgramStart {
    std::string program;
    std::vector<std::string> args;
    bool wait = false;
    bool operator==(const ProgramStart&) const = default;
};

// Starts `program`. Without waiting: 0 when it started, else -1 with errno
// set. Waiting: the child's exit code, or -1 with errno set when it could not
// start or was ended by a signal.
int StartProgram(std::string_view program, const std::vector<std::string>& args, bool wait);

// Opens a file, folder or document with the desktop's opener, without
// waiting; this is what "explorer <text>" and the shell's open did. Recorded
// as the program "explorer" with the arguments "explorer" and `target`.
// (The command processor's other use, "del <file>", is platform::RemoveFile.)
int OpenWithDesktop(std::string_view target);

// The Linux argument vector that a start runs (element 0 is the program):
// - Aliases: "notepad.exe" is $VISUAL or $EDITOR (else the desktop opener);
//   "hh.exe" and "explorer" are the desktop opener, which gets the last
//   argument only; a value under kProgramAliasKey overrides any of these.
//   Names are matched by their last path component, without regard to case.
// - The first Windows argument is the child's own name and is replaced by
//   the program; a start whose only argument differs from the program's
//   name hands that argument on, as such children read their whole command
//   line.
// - One pair of surrounding double quotes is removed from every argument and
//   from the program; a backslash path becomes the native path when it names
//   an existing file or one in an existing directory.
std::vector<std::string> NativeCommand(const ProgramStart& start);

// Starts recorded since the last reset, in order.
std::vector<ProgramStart> RecordedProgramStarts();

// Test seam: with a handler set, starts are recorded and answered by it and
// nothing is run. Before every test the handler is reset to one that answers
// 0, so no test starts a real program unless it asks with UseRealProgramStarts.
void SetProgramStartHandler(std::function<int(const ProgramStart&)> handler);
void UseRealProgramStarts();

// Waits until every program started without waiting has ended.
void WaitForStartedPrograms();

}  // namespace platform

// The positioning-program editor dialog of the main menu: the active
// device's programs edited through the exchange file, or a program file
// chosen by the user, in the configured editor program.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <cstdint>

class GwCore;
struct GwEvent;
class GwUD;

// Relative to the working directory.
inline constexpr char kPosProgramExchangeFile[] = "..\\tmp\\TmpPosProg.prg";
inline constexpr char kOnlineEditorMode[] = "Online";

// The user data text selects the mode: empty does nothing, "Online" edits
// the active device's programs, any other text a chosen file. Returns 1.
int PosModEditorDialogCB(GwCore* widget, GwEvent* event, GwUD userData);

// The drive and directory of the last chosen program file; empty at start.
std::string& RememberedPosProgramDirectory();

// Starts the positioning-program editor with `arguments` after its name and
// waits for it, the main window minimised meanwhile and maximised after.
void RunPosProgEditorWaiting(const std::vector<std::string>& arguments);

// A file's last-write time in nanoseconds since 1970, none when it is
// missing.
std::optional<int64_t> FileWriteTimeNs(const std::string& path);
// Whether an editor changed the file whose write time was `before`: it
// exists and is newer, or it did not exist before.
bool FileChangedSince(const std::string& path, const std::optional<int64_t>& before);

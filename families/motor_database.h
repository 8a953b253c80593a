// The motor database browser of families 4 and 5: a tree of the motor data
// files below the motor directory, a properties window over one motor file
// read offline, and the take of the motor's data group into the device of
// the setup window that built the tree last.
#pragma once

#include <memory>
#include <string>

#include "families/tmp_base_context.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwTree;
class GwTreeEntry;
class GwUD;
class OnOffBase;
struct GwEvent;

inline constexpr char kMotorStartDirectory[] = "..\\DRIVEDAT";
inline constexpr char kMotorTreeName[] = "MotorTree";
// The main file of a motor's data set, compared exactly.
inline constexpr char kMotorFileExtension[] = "00D";
inline constexpr char kChooseDirTitleKey[] = "ChooseDir";
inline constexpr char kMotorDirSelectorId[] = "id";
// The SC group of the motor data.
inline constexpr int kMotorDataGroup = 5;
// Device error for a motor file that cannot be read or a failed take.
inline constexpr int kMotorDeviceError = 5;

// What one family's browser keeps for the program's life.
struct MotorDatabaseState {
    std::string Directory = kMotorStartDirectory;
    // The properties context; its base is the family's motor parameter base,
    // offline, into which the motor files are read.
    std::unique_ptr<TmpBaseContext> Context;
    // The context of the window that built the tree last, and the watch on
    // its end: a destroyed context counts as no target.
    DeviceSetupContext* Target = nullptr;
    std::weak_ptr<const void> TargetAlive;
    GwRef<> FolderPopup;
    GwRef<> MotorPopup;
};

// The state of family 4 or 5 (its context made on first use); null for
// another family.
MotorDatabaseState* TheMotorDatabaseState(int family);
// The family's motor parameter base.
OnOffBase& MotorParameterBase(int family);

// Whether the directory or one of its subdirectories, at any depth, holds a
// motor file; false when it cannot be listed.
bool DirectoryHasMotors(const std::string& directory);
// Appends the motors and the subdirectories holding motors of `directory`
// to `folder`, in the listing's order, subdirectories filled in turn.
void AddMotorDirectory(const MotorDatabaseState& state, const std::string& directory, GwTreeEntry* folder);
// Remembers the context of the tree's window as the target and gives the
// tree a new root for `directory`; nothing without a context.
void BuildMotorTree(MotorDatabaseState& state, GwTree* tree, const std::string& directory);

// Load the popups (under the caller's frame) and build "MotorTree" of the
// calling widget. Return 1.
int M4_ShowMotorTree(GwCore* widget, GwEvent* event, GwUD userData);
int M5_ShowMotorTree(GwCore* widget, GwEvent* event, GwUD userData);
// Let the user choose another motor directory; 0 when cancelled, else 1.
int M4_SetNewDir(GwCore* widget, GwEvent* event, GwUD userData);
int M5_SetNewDir(GwCore* widget, GwEvent* event, GwUD userData);
// Open the properties window named by the user data for the selected motor.
// Return 1.
int M4_ShowMotorProperties(GwCore* widget, GwEvent* event, GwUD userData);
int M5_ShowMotorProperties(GwCore* widget, GwEvent* event, GwUD userData);
// Write the motor data group of the selected (or last read) motor into the
// target device; 0 when the selected motor file cannot be read, else 1.
int CB_4_TakeMotor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_TakeMotor(GwCore* widget, GwEvent* event, GwUD userData);

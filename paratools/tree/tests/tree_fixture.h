// Set-up of the parameter tree and partial base tests: the application object
// with a shown main window and drives on the serial line (maintest), small
// file bases defined entry by entry, and a shown window holding trees.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "parameters/parabase/para_base.h"

class GwTree;
class GwTreeEntry;

namespace treetest {

// Keypad groups of the fixture bases (parameter 8) and SC groups
// (parameter 11); "Control" has the menu text "Control loop".
inline constexpr int kMotorGroup = 0;
inline constexpr int kControlGroup = 1;
inline constexpr int kIoGroup = 2;
inline constexpr int kBasicSC = 1;
inline constexpr int kDriveSC = 2;

// One parameter of a fixture base: present, with keypad and SC group, and
// marked used unless said otherwise.
struct Param {
    int number = 0;
    const char* name = "";
    char type = kTypeUsign16;
    int32_t value = 0;
    int32_t maximum = 0xFFFF;
    uint8_t kpGroup = kMotorGroup;
    uint8_t scGroup = kBasicSC;
    uint16_t flags = 0;
    uint8_t access = 0x11;
    bool used = true;
    int elements = 0;
    char kind = '2';
    int32_t minimum = 0;
    int32_t defaultValue = 0;
};

// A loaded file base of device type `typeNumber` (91) with the keypad and SC
// groups and the parameters given; its description file names parameters
// 100 "Speed limit", 101 "Torque", 200 "Array ABC".
std::unique_ptr<ParaBase> FixtureBase(const std::vector<Param>& params, uint16_t typeNumber = 4120);
void Define(ParaBase& base, const Param& p);
// A drive table whose run mode (151) reads "Speed".
sim::DriveTable DriveTable();

// Each node depth first as "<two blanks per level><id>".
std::vector<std::string> Outline(GwTree* tree);

class TreeTest : public maintest::MainTest {
protected:
    void SetUp() override;
    // A shown window "TreeHost" with one tree "Tree".
    GwTree* MakeTree();
    // Expands every node of the tree as the user.
    static void ExpandAll(GwTree* tree);
};

}  // namespace treetest

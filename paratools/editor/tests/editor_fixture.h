// The parameter editor's tests: the application object with a shown main
// window (boxes recorded), a virtual Ruvex drive with a small parameter set
// on the serial line, and the editor's callbacks registered by name.
#pragma once

#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"

class GwCore;
class GwMultiList;
class ParaBase;

namespace editortest {

// The fixture's parameters beyond those the activation reads.
inline constexpr int kByteParameter = 100;       // "MODE1" USIGN8, writable
inline constexpr int kSignedParameter = 101;     // "MODUL" INT16, keypad group 1
inline constexpr int kUncheckedParameter = 102;  // "SPEED" kind '1'
inline constexpr int kArrayParameter = 103;      // "ARRAY" USIGN16 x 8
inline constexpr int kLockedParameter = 104;     // "LOCKD" write level 15
inline constexpr int kHexParameter = 105;        // "HEXW" USIGN16 hexadecimal
inline constexpr int kGroupedParameter = 123;    // "USER" USIGN16

sim::DriveTable EditorTable();

class EditorTest : public maintest::MainTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The drive's table; tests that need more parameters add them here.
    virtual sim::DriveTable Table() { return EditorTable(); }

    // Opens "ParameterEditor" on the active device's base in `mode`.
    GwCore* OpenEditor(int mode);
    // Opens it on a base of its own (a copy of the active device's base).
    GwCore* OpenEditorOn(ParaBase* base, int mode);
    GwMultiList* List();
    std::vector<std::string> Rows();
    // Parameter numbers of the rows, in list order.
    std::vector<int> Numbers();
    int RowOf(int number, int element = 0);
    // Saves the main profile and returns the text of one section of it.
    std::string ProfileSection(const std::string& name);

    GwCore* editor_ = nullptr;
    std::unique_ptr<ParaBase> ownBase_;
};

}  // namespace editortest

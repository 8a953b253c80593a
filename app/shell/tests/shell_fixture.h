// Set-up of the shell's callback tests: the application object's fixture
// with the program's callback tables registered and the shipped "MainWindow"
// loaded and shown (its display installed), its timers stopped so that only
// the test moves the program on.
#pragma once

#include <string>

#include "app/main/tests/main_fixture.h"

namespace shelltest {

class ShellTest : public maintest::MainTest {
protected:
    void SetUp() override;

    // The listed window of that name, or null.
    static GwCore* Listed(const std::string& name);
    // Window definitions of the test, in the definition format.
    static void Define(const std::string& text);
    // The drive's cache file set copied as "userdata/<stem>.00?" (after
    // activating it).
    void MakeFileSet(const std::string& stem);
    // The same file set with parameter 91 set to `type`.
    void MakeFileSetOfType(const std::string& stem, uint16_t type);
    // "kind: text" of the boxes shown since the last call.
    std::vector<std::string> NewBoxes();

    GwCore* frame_ = nullptr;

private:
    size_t boxesSeen_ = 0;
};

}  // namespace shelltest

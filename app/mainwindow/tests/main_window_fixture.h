// Set-up of the main window's tests: the application object's fixture with
// the shipped "MainWindow" loaded and shown (so its create callback kept its
// widgets and installed its display), the callbacks its windows bind, and a
// docking manager of the test's own.
#pragma once

#include <memory>
#include <string>

#include "app/main/tests/main_fixture.h"
#include "app/mainwindow/docking_manager.h"

namespace mainwindowtest {

// Registers the callbacks the main window's windows bind by name.
void RegisterMainWindowCallbacks();

class MainWindowTest : public maintest::MainTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A child of the shipped main window.
    GwCore* Child(const std::string& name);
    // The drive at the address activated, asserting success.
    void ActivateAt(int address);

    GwCore* frame_ = nullptr;
    DockingManager* docking_ = nullptr;
};

}  // namespace mainwindowtest

// What the toolkit tests share: the fixture definition file copied into the
// run-time tree, and the callbacks its windows name, which record each call.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"

namespace toolkit_test {

struct Call {
    std::string callback;
    GwCore* widget;
    GwCallbackType type;
    std::string user_data;
};

// Calls of the fixture callbacks since the test began.
std::vector<Call>& Calls();
std::vector<std::string> CallNames();

// The fixture's callbacks: CB_Create, CB_Show, CB_Tick, CB_Save.
extern const GwFuncDesc kFixtureTable[];

// Writes a definition file into the working directory.
void WriteDefinitionFile(const std::string& name, const std::string& text);

// Copies the fixture in, reads it and registers kFixtureTable.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
};

}  // namespace toolkit_test

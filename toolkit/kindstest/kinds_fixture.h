// What the tests of the toolkit's further kinds share: the fixture definition
// file read into the run-time tree with its callbacks, which note each call,
// and the main window shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"

namespace kinds_test {

// One line per fixture callback call: "<callback> <widget> <event> <user data>"
// and, by event, " value=<v>", " reason=<r> cell=<row>,<column>".
std::vector<std::string>& Notes();

// The callback of a binding as a fixture table entry returns this value;
// tests change it to refuse events.
extern int g_callback_result;

class KindsTest : public ::testing::Test {
protected:
    void SetUp() override;
    GwCore* main_ = nullptr;
};

}  // namespace kinds_test

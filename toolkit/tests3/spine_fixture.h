// What the tests of the model's notifications, exposes, keys, help, window
// management and the headless interaction share: the fixture definition file
// read into the run-time tree, and the callback its windows name, which notes
// each call.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"

namespace spine_test {

// One line per call of CB_Spine: "<widget> <event>" and, by event, " key=<k>",
// " row=<r>", " value=<v>", " entry=<id>", " state=<bits>". A binding with
// the user data "refuse" returns 0.
std::vector<std::string>& Notes();

class SpineTest : public ::testing::Test {
protected:
    void SetUp() override;
    // A fresh window of the fixture, shown, with the notes of its showing
    // cleared.
    GwCore* Show(const char* name);
};

}  // namespace spine_test

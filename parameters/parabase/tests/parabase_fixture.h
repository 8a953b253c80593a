// Shared set-up of the parameter base tests: the shipped message texts, and
// entries defined directly in a base's table.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "parameters/parabase/para_base.h"

namespace parabasetest {

// One parameter as a test defines it; present and in the data set.
struct Param {
    int number = 0;
    const char* name = "";
    char type = kTypeUsign16;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t value = 0;
    uint16_t flags = 0;
    const char* unit = "";
    uint8_t access = 0;
    int32_t defaultValue = 0;
};

// Defines the entry (name blank-padded to five characters, valid, transfer
// flag set); an array parameter (flag 0x400) gets an array object of
// `elements` elements of its type's class.
ParameterEntry& Define(ParaBase& base, const Param& p, int elements = 0);

class ParaBaseTest : public ::testing::Test {
protected:
    // Opens the shipped language files, so messages have their real texts.
    void SetUp() override;
    void TearDown() override;

    static std::string ProgramLog();
};

}  // namespace parabasetest
